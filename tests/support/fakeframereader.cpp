#include "fakeframereader.h"

#include <QtEndian>

#include <cstring>

QList<FakeFrame> FakeFrameReader::feed(const QByteArray &bytes)
{
    QList<FakeFrame> frames;
    if (m_failed)
        return frames;
    m_buffer.append(bytes);

    qsizetype pos = 0;
    while (m_buffer.size() - pos >= FakeFrame::kHeaderSize) {
        const char *header = m_buffer.constData() + pos;
        if (memcmp(header, FakeFrame::magic().constData(), 8) != 0) {
            m_failed = true;
            m_errorText = QStringLiteral("bad magic");
            break;
        }
        const auto length = qFromLittleEndian<quint32>(header + 8);
        if (length > FakeFrame::kMaxFrameLength) {
            m_failed = true;
            m_errorText = QStringLiteral("frame length %1 too large").arg(length);
            break;
        }
        const qsizetype frameSize = length < quint32(FakeFrame::kHeaderSize)
                                        ? qsizetype(FakeFrame::kHeaderSize)
                                        : qsizetype(length);
        if (m_buffer.size() - pos < frameSize)
            break; // wait for the rest
        FakeFrame frame;
        frame.length = length;
        frame.id = qFromLittleEndian<qint32>(header + 12);
        frame.type = qFromLittleEndian<qint32>(header + 16);
        frame.code = qFromLittleEndian<qint32>(header + 20);
        frame.body = m_buffer.mid(pos + FakeFrame::kHeaderSize, frameSize - FakeFrame::kHeaderSize);
        frames.append(frame);
        pos += frameSize;
    }
    if (m_failed)
        m_buffer.clear();
    else
        m_buffer.remove(0, pos);
    return frames;
}

void FakeFrameReader::reset()
{
    m_buffer.clear();
    m_failed = false;
    m_errorText.clear();
}
