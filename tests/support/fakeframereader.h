#pragma once

#include "fakeframe.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Reassembles frames from a TCP byte stream fed in chunks of any size.
//
// A header with the wrong magic, or announcing a frame longer than FakeFrame::kMaxFrameLength,
// puts the reader into a failed state: the rest of the input is ignored until reset(). A length
// word below 24 is read as a header-only frame of 24 bytes.
class FakeFrameReader
{
public:
    // Takes a chunk and returns every frame it completes, oldest first.
    QList<FakeFrame> feed(const QByteArray &bytes);
    void reset();

    bool hasFailed() const { return m_failed; }
    QString errorText() const { return m_errorText; }
    int bufferedBytes() const { return int(m_buffer.size()); }

private:
    QByteArray m_buffer;
    bool m_failed = false;
    QString m_errorText;
};
