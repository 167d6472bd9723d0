// Feeds arbitrary datagram payloads to the discovery answer parser.
#include "shell/briskdiscovery.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The payload is read as the socket path reads it: Latin-1 up to the first zero byte.
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    const QString text = QString::fromLatin1(bytes);

    BriskDiscovery discovery(0, nullptr);
    const QString address = QStringLiteral("127.0.0.1");
    int added = 0;
    QObject::connect(&discovery,
                     &BriskDiscovery::deviceAdded,
                     &discovery,
                     [&added](const BriskDiscovery::DeviceInfo &) { ++added; });
    discovery.parseResponse(address, 2382, text);
    discovery.parseResponse(address, 2382, text); // a repeated answer adds nothing

    if (discovery.devices().size() != added || added > 1)
        abort();
    if (added == 1) {
        const BriskDiscovery::DeviceInfo info = discovery.devices().value(address);
        if (info.address != address || info.model != QLatin1String("Quorix")
            || info.macAddress != info.macAddress.toUpper()
            || info.firmware != info.firmware.trimmed()
            || info.serialNumber != info.serialNumber.trimmed() || !info.name.isEmpty()
            || !text.startsWith(QLatin1String("TolvDiscoveryResponse;")))
            abort();
    }
    return 0;
}
