// The networks: the audio-over-IP module and one Ethernet port that carries the calls.

#include "demoarea.h"

void installDemoNetworks(DemoUnit &demo)
{
    FakeQuorix &fake = demo.fake();
    const QString network = QStringLiteral("network");
    // A unit always lists its audio-over-IP module; without it the device never finishes
    // loading.
    fake.setList(network, {QStringLiteral("aoip"), QStringLiteral("eth.0")}, network);
    fake.setValue(QStringLiteral("default_network"), QStringLiteral("eth.0"), network);
}
