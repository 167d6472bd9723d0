// The figures of the demo unit's quality reports: a call's counters grow with its running time
// and lose a few packets now and then, so that the status pages' statistics move by hand. The
// receive side also reports reordering, duplicates and its jitter buffer.

#include "demoarea.h"

FakePairs demoQualityFigures(bool transmit, int seconds, int quality)
{
    // 50 packets a second each way; the receive side misses a few more than the far end.
    const int sent = seconds * 50;
    const auto number = [](int value) { return QString::number(value); };
    FakePairs pairs{{QStringLiteral("net-quality"), number(quality)},
                    {QStringLiteral("duration"), number(seconds)},
                    {QStringLiteral("jtr-avg"), number(3 + seconds % 3)},
                    {QStringLiteral("jtr-max"), number(12 + (100 - quality) / 4)}};
    if (transmit) {
        pairs << qMakePair(QStringLiteral("pkts-total"), number(sent))
              << qMakePair(QStringLiteral("pkts-lost"), number(seconds / 7));
        return pairs;
    }
    const int lost = seconds / 5;
    pairs << qMakePair(QStringLiteral("pkts-total"), number(sent - lost))
          << qMakePair(QStringLiteral("pkts-lost"), number(lost))
          << qMakePair(QStringLiteral("pkts-discarded"), number(seconds / 11))
          << qMakePair(QStringLiteral("pkts-duplicated"), number(seconds / 13))
          // The unit's own spelling.
          << qMakePair(QStringLiteral("pkts-reorderd"), number(seconds / 17))
          << qMakePair(QStringLiteral("jb-curr"), number(60 + (seconds % 4) * 5))
          << qMakePair(QStringLiteral("jb-mark"), QStringLiteral("40"));
    return pairs;
}
