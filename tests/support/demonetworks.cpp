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

    // What the device reads of the network carrying the calls.
    const QString eth = QStringLiteral("eth.0");
    fake.setValue(QStringLiteral("mode"), QStringLiteral("dhcp"), network, eth);
    fake.setValue(QStringLiteral("cable"), QStringLiteral("plugged"), network, eth);

    // The audio-over-IP module: its version and SIP accounts are read without naming the module
    // as the network, its jitter-buffer setting naming it.
    fake.setValue(QStringLiteral("aoip_version"), QStringLiteral("3.4.1"), network);
    fake.setValue(QStringLiteral("sip_state"), QStringLiteral("registered"), network);
    fake.setValue(QStringLiteral("sip_state2"), QStringLiteral("unregistered"), network);
    fake.setValue(
        QStringLiteral("jitterab"), QStringLiteral("on"), network, QStringLiteral("aoip"));
}
