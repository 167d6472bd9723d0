// Feeds arbitrary bytes to the stream frame parser in chunks whose sizes the input chooses, and
// checks what it hands over.
#include "link/rpcframe.h"
#include "link/rpcframeparser.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

class CheckingOwner : public RpcFrameParser::Owner
{
public:
    void parserReady(const char *frame, quint32 size) override
    {
        // Every frame is whole: a header with the magic, and exactly the bytes its length says.
        if (size < RpcFrame::kHeaderSize || !RpcFrame::hasMagic(frame))
            std::abort();
        const quint32 length = RpcFrame::length(frame);
        if (size != (length < RpcFrame::kHeaderSize ? RpcFrame::kHeaderSize : length))
            std::abort();
        // Touch every byte so the sanitizer sees any read beyond the frame.
        volatile char sum = 0;
        for (quint32 i = 0; i < size; ++i)
            sum = char(sum + frame[i]);
        ++frames;
    }
    void parserFailed() override
    {
        if (++failures > 1)
            std::abort();
    }

    int frames = 0;
    int failures = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks the chunk size (1 to 256); the rest is the stream.
    const size_t chunk = size_t(data[0]) + 1;
    const char *stream = reinterpret_cast<const char *>(data + 1);
    const size_t streamSize = size - 1;

    CheckingOwner owner;
    RpcFrameParser parser(&owner);
    for (size_t at = 0; at < streamSize; at += chunk) {
        const size_t n = streamSize - at < chunk ? streamSize - at : chunk;
        parser.feed(stream + at, qint64(n));
    }
    // The same stream in one piece gives the same frames.
    CheckingOwner whole;
    RpcFrameParser single(&whole);
    single.feed(stream, qint64(streamSize));
    if (whole.frames != owner.frames || whole.failures != owner.failures)
        std::abort();
    return 0;
}
