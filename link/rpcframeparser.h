#pragma once

#include <QtGlobal>

#include <cstring>
#include <memory>

// Reassembles RPC frames (see link/rpcframe.h) from a byte stream that arrives in chunks of any
// size and split.
//
// For every complete frame the owner's parserReady() is called with the whole frame: the 24
// header bytes followed by the body, `size` bytes in all (24 for a frame whose length field is
// 24 or less). The frame memory is valid only during that call.
//
// The parser checks only the magic and the length field; the type and the body are the owner's
// to judge. A bad magic, a length field above RpcFrame::kMaxFrameSize or a buffer that cannot be
// allocated is reported once through parserFailed(); afterwards all input is ignored until
// reset().
//
// The owner may call reset() from inside parserReady() or parserFailed(): the rest of the chunk
// being fed then belongs to the old stream and is dropped. The owner must outlive the parser's
// feed() call; it must not destroy the parser from inside a callback.
class RpcFrameParser
{
public:
    class Owner
    {
    public:
        virtual void parserReady(const char *frame, quint32 size) = 0;
        virtual void parserFailed() = 0;

    protected:
        virtual ~Owner() = default;
    };

    enum State : qint32 {
        Idle = 0,
        ReadingHeader = 1,
        ReadingBody = 2,
        OutOfMemory = -1,
        BadMagic = -2,
        FrameTooLarge = -3,
    };

    explicit RpcFrameParser(Owner *owner);
    ~RpcFrameParser();
    Q_DISABLE_COPY_MOVE(RpcFrameParser)

    // Consumes one chunk of received bytes. More of a frame that does not complete it (small
    // chunks of a long frame) is only copied, inline; everything else takes the full path.
    void feed(const char *data, qint64 size)
    {
        if (m_state > Idle && data && size > 0 && quint64(size) < quint64(m_expected - m_filled)) {
            std::memcpy(m_buffer.get() + m_filled, data, size_t(size));
            m_filled += quint32(size);
            return;
        }
        feedChunk(data, size);
    }
    // Frees the buffer and starts over with an empty stream.
    void reset();

    State state() const { return m_state; }
    quint32 filled() const { return m_filled; }
    quint32 expected() const { return m_expected; }

private:
    void feedChunk(const char *data, qint64 size);
    bool reserve(quint32 size);
    bool deliver(const char *frame, quint32 size);
    bool deliverBuffer(quint32 size);
    void fail(State state);

    Owner *m_owner;
    State m_state = Idle;
    quint32 m_filled = 0;
    quint32 m_expected = 0;
    std::unique_ptr<char[]> m_buffer;
    quint32 m_capacity = 0;
    // Counts resets so that feed() notices one made by the owner during a callback.
    quint64 m_generation = 0;
};
