#include "fakeframe.h"

#include <QtEndian>

#include <cstring>

const QByteArray &FakeFrame::magic()
{
    static const QByteArray bytes("TolvRpcM", 8);
    return bytes;
}

QByteArray
FakeFrame::header(quint32 frameLength, qint32 frameId, qint32 frameType, qint32 frameCode)
{
    // offset 0: magic (8 bytes), 8: length, 12: id, 16: type, 20: code; all little-endian.
    QByteArray out(kHeaderSize, '\0');
    char *p = out.data();
    memcpy(p, magic().constData(), 8);
    qToLittleEndian<quint32>(frameLength, p + 8);
    qToLittleEndian<qint32>(frameId, p + 12);
    qToLittleEndian<qint32>(frameType, p + 16);
    qToLittleEndian<qint32>(frameCode, p + 20);
    return out;
}

QByteArray FakeFrame::encode() const
{
    const auto total = quint32(kHeaderSize + body.size());
    return header(total, id, type, code) + body;
}
