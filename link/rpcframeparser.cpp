#include "link/rpcframeparser.h"

#include "link/rpcframe.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {
// A buffer grown for a large frame is released after it; smaller ones are kept for the next.
constexpr quint32 kKeptCapacity = 64u * 1024u;
} // namespace

RpcFrameParser::RpcFrameParser(Owner *owner)
    : m_owner(owner)
{}

RpcFrameParser::~RpcFrameParser() = default;

void RpcFrameParser::reset()
{
    ++m_generation;
    m_buffer.reset();
    m_capacity = 0;
    m_state = Idle;
    m_filled = 0;
    m_expected = 0;
}

bool RpcFrameParser::reserve(quint32 size)
{
    if (m_capacity >= size)
        return true;
    std::unique_ptr<char[]> grown(new (std::nothrow) char[size]);
    if (!grown)
        return false;
    if (m_filled > 0)
        std::memcpy(grown.get(), m_buffer.get(), m_filled);
    m_buffer = std::move(grown);
    m_capacity = size;
    return true;
}

void RpcFrameParser::fail(State state)
{
    m_buffer.reset();
    m_capacity = 0;
    m_filled = 0;
    m_expected = 0;
    m_state = state;
    m_owner->parserFailed();
}

// Hands one frame to the owner; false when the owner reset the parser meanwhile.
bool RpcFrameParser::deliver(const char *frame, quint32 size)
{
    const quint64 generation = m_generation;
    m_owner->parserReady(frame, size);
    return generation == m_generation;
}

// Hands the gathered frame to the owner. The buffer is held locally during the call so that a
// reset() from the owner cannot free the frame under it.
bool RpcFrameParser::deliverBuffer(quint32 size)
{
    std::unique_ptr<char[]> frame = std::move(m_buffer);
    const quint32 capacity = m_capacity;
    m_capacity = 0;
    m_state = Idle;
    m_filled = 0;
    m_expected = 0;
    if (!deliver(frame.get(), size))
        return false;
    if (capacity <= kKeptCapacity && !m_buffer) {
        m_buffer = std::move(frame);
        m_capacity = capacity;
    }
    return true;
}

void RpcFrameParser::feedChunk(const char *data, qint64 size)
{
    if (!data || size <= 0 || m_state < 0)
        return;

    while (size > 0) {
        if (m_state == Idle) {
            // A whole frame at hand is handed over straight from the chunk, without copying.
            if (size >= qint64(RpcFrame::kHeaderSize)) {
                if (!RpcFrame::hasMagic(data)) {
                    fail(BadMagic);
                    return;
                }
                const quint32 length = RpcFrame::length(data);
                if (length > RpcFrame::kMaxFrameSize) {
                    fail(FrameTooLarge);
                    return;
                }
                const quint32 frameSize = std::max(length, RpcFrame::kHeaderSize);
                if (qint64(frameSize) <= size) {
                    if (!deliver(data, frameSize))
                        return;
                    data += frameSize;
                    size -= frameSize;
                    continue;
                }
                // The header is at hand and checked: gather the body straight away.
                if (!reserve(frameSize)) {
                    fail(OutOfMemory);
                    return;
                }
                std::memcpy(m_buffer.get(), data, size_t(size));
                m_state = ReadingBody;
                m_filled = quint32(size);
                m_expected = frameSize;
                return;
            }
            if (!reserve(RpcFrame::kHeaderSize)) {
                fail(OutOfMemory);
                return;
            }
            m_state = ReadingHeader;
            m_filled = 0;
            m_expected = RpcFrame::kHeaderSize;
        }

        const quint32 take = quint32(std::min<qint64>(m_expected - m_filled, size));
        std::memcpy(m_buffer.get() + m_filled, data, take);
        m_filled += take;
        data += take;
        size -= take;
        if (m_filled < m_expected)
            return;

        if (m_state == ReadingHeader) {
            if (!RpcFrame::hasMagic(m_buffer.get())) {
                fail(BadMagic);
                return;
            }
            const quint32 length = RpcFrame::length(m_buffer.get());
            if (length > RpcFrame::kMaxFrameSize) {
                fail(FrameTooLarge);
                return;
            }
            if (length <= RpcFrame::kHeaderSize) {
                if (!deliverBuffer(RpcFrame::kHeaderSize))
                    return;
                continue;
            }
            if (!reserve(length)) {
                fail(OutOfMemory);
                return;
            }
            m_expected = length;
            m_state = ReadingBody;
            continue;
        }

        if (!deliverBuffer(m_filled))
            return;
    }
}
