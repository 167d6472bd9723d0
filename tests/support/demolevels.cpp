// Level reports: moving meters at the subscribed period once the program asks for them, as UDP
// datagrams or, when the program subscribed port 1, over the TCP link. FAKE_QUORIX_LEVEL_PERIOD
// (milliseconds, 10 to 10000) sets another period, to see how the program copes with a faster or
// slower flow.

#include "demoarea.h"
#include "demoaudio.h"

#include <QTimer>

#include <cmath>
#include <memory>

void installDemoLevels(DemoUnit &demo)
{
    auto *timer = new QTimer(&demo);
    timer->setInterval(150); // when the subscription names no period
    bool forced = false;
    const int forcedPeriod = qEnvironmentVariableIntValue("FAKE_QUORIX_LEVEL_PERIOD", &forced);
    forced = forced && forcedPeriod >= 10 && forcedPeriod <= 10000;
    if (forced)
        timer->setInterval(forcedPeriod);
    auto tick = std::make_shared<int>(0);
    FakeQuorix *fake = &demo.fake();
    QObject::connect(timer, &QTimer::timeout, &demo, [timer, tick, fake, forced] {
        if (fake->levelPort() == 0)
            return;
        if (!forced && fake->levelPeriod() > 0 && timer->interval() != fake->levelPeriod())
            timer->setInterval(fake->levelPeriod());
        ++*tick;
        FakePairs pairs;
        const auto level = [&](int phase) {
            return QString::number(int(40 + 30 * std::sin((*tick + phase) / 8.0)));
        };
        for (const char *key : {"txL", "txR", "rxL", "rxR", "ou1", "ou2"})
            pairs.append({QString::fromLatin1(key), level(int(pairs.size()) * 3)});
        for (int i = 1; i <= 11; ++i)
            pairs.append({QStringLiteral("in%1").arg(i), demoInputLevel(i, *tick)});
        (void)fake->sendLevels(pairs);
    });
    timer->start();
}
