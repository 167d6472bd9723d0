// What the Status section reads of the interfaces: the mobile modem's operator, radio
// technology, signal level and data service (shown once its SIM PIN is entered), the Wi-Fi
// signal level, and the state of the remote access service (connected, though switched off, so
// the Status page shows "Disabled" until the service is switched on in the Tools section). The
// Ethernet ports report their address mode, address and negotiated link in the network demo.

#include "demoarea.h"

namespace {

const QString kNetwork = QStringLiteral("network");

} // namespace

void installDemoStatus(DemoUnit &demo)
{
    FakeQuorix &fake = demo.fake();
    const QString mobile = QStringLiteral("mobile.0");
    const std::pair<const char *, const char *> modem[] = {
        {"operator_long", "Demo Telecom"},
        {"operator_short", "DEMO"},
        {"technology", "LTE"},
        {"signal_quality_dbm", "-71 dBm"},
    };
    for (const auto &[key, value] : modem)
        fake.setValue(QLatin1String(key), QLatin1String(value), kNetwork, mobile);
    fake.setValue(QStringLiteral("signal_quality_dbm"),
                  QStringLiteral("-67 dBm"),
                  kNetwork,
                  QStringLiteral("wifi.0"));
    fake.setValue(QStringLiteral("remote_access_status"),
                  QStringLiteral("connected"),
                  QStringLiteral("general"));
}
