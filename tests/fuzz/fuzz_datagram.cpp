// Decodes arbitrary datagrams; whatever decodes must encode back to a frame that decodes alike.
#include "link/rpcmessage.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray datagram(reinterpret_cast<const char *>(data), qsizetype(size));
    const RpcMessage message = RpcMessage::fromDatagram(datagram);
    if (message.type() == RpcMessage::None)
        return 0;
    if (message.type() < RpcMessage::Request || message.type() > RpcMessage::Signal)
        std::abort();
    const QByteArray frame = message.encode();
    if (frame.isEmpty())
        std::abort();
    const RpcMessage again = RpcMessage::fromDatagram(frame);
    if (again.type() != message.type() || again.id() != message.id()
        || again.code() != message.code() || again.body().type() != message.body().type())
        std::abort();
    return 0;
}
