#pragma once

#include <QtEndian>
#include <QtGlobal>

#include <cstring>

// The wire layout of one RPC frame, shared by the encoder, the stream parser and the datagram
// decoder. All integers are little-endian:
//
//   offset  size  field
//        0     8  magic "TolvRpcM" (no terminator)
//        8     4  length: unsigned, whole frame including this header (24 + body size)
//       12     4  id:     signed message id, -1 for none
//       16     4  type:   signed RpcMessage::Type, 1 to 4 on the wire
//       20     4  code:   signed message code
//       24     n  body:   the device message text, not terminated; absent when length is 24
namespace RpcFrame {

inline constexpr char kMagic[8] = {'T', 'o', 'l', 'v', 'R', 'p', 'c', 'M'};
inline constexpr quint32 kHeaderSize = 24;
// Larger length fields are taken as a broken stream rather than waited for.
inline constexpr quint32 kMaxFrameSize = 16u * 1024u * 1024u;

inline constexpr int kLengthOffset = 8;
inline constexpr int kIdOffset = 12;
inline constexpr int kTypeOffset = 16;
inline constexpr int kCodeOffset = 20;

inline bool hasMagic(const char *header)
{
    return std::memcmp(header, kMagic, sizeof kMagic) == 0;
}

inline quint32 length(const char *header)
{
    return qFromLittleEndian<quint32>(header + kLengthOffset);
}

inline qint32 id(const char *header)
{
    return qFromLittleEndian<qint32>(header + kIdOffset);
}

inline qint32 type(const char *header)
{
    return qFromLittleEndian<qint32>(header + kTypeOffset);
}

inline qint32 code(const char *header)
{
    return qFromLittleEndian<qint32>(header + kCodeOffset);
}

// Writes the 24 header bytes to out.
inline void
writeHeader(char *out, quint32 frameLength, qint32 frameId, qint32 frameType, qint32 frameCode)
{
    std::memcpy(out, kMagic, sizeof kMagic);
    qToLittleEndian<quint32>(frameLength, out + kLengthOffset);
    qToLittleEndian<qint32>(frameId, out + kIdOffset);
    qToLittleEndian<qint32>(frameType, out + kTypeOffset);
    qToLittleEndian<qint32>(frameCode, out + kCodeOffset);
}

} // namespace RpcFrame
