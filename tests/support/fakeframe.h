#pragma once

#include <QByteArray>
#include <QtGlobal>

// One frame of the device link as the fake unit writes and reads it: a 24-byte header
// ("TolvRpcM", then four little-endian 32-bit words: total length including the header,
// message id, type, code) followed by the body text.
struct FakeFrame
{
    enum Type : qint32 { None = 0, Request = 1, Reply = 2, ErrorReply = 3, Signal = 4 };

    static constexpr int kHeaderSize = 24;
    // Frames announcing more than this are taken as a framing fault, not waited for.
    static constexpr quint32 kMaxFrameLength = 16u * 1024u * 1024u;
    static const QByteArray &magic();

    qint32 id = -1;
    qint32 type = None;
    qint32 code = 0;
    // Declared total length as read from a header; encode() always writes the true length.
    quint32 length = kHeaderSize;
    QByteArray body;

    // Header and body, with length = 24 + body size.
    QByteArray encode() const;
    // A header with an arbitrary length word, for scripting frames that lie about their size.
    static QByteArray header(quint32 length, qint32 id, qint32 type, qint32 code);
};
