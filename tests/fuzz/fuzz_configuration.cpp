// Reads arbitrary bytes as a configuration file, then checks that what was read survives being
// written and read again.
#include "shell/configuration.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {
QtMessageHandler s_quiet = [](QtMsgType, const QMessageLogContext &, const QString &) {};

void readInto(Configuration &configuration, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        abort();
    configuration.readConfiguration(buffer);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    qInstallMessageHandler(s_quiet);
    Configuration first(QStringLiteral("unused.xml"));
    readInto(first, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));

    for (const RecentDevice &device : first.recentDevices) {
        if (!device.isValid() || device.port > 65535 || device.datagramPort > 65535)
            abort();
    }
    for (auto it = first.knownDevices.cbegin(); it != first.knownDevices.cend(); ++it) {
        if (it->address.isNull() || it->port < 1 || it->port > 65535
            || it.key() != it->address.toString())
            abort();
    }
    if (first.logMaxSize < 1 || first.logMaxFiles < 1 || first.maxDevices < 1
        || first.defaultPort < 1 || first.defaultPort > 65535 || first.baseDatagramPort < 1
        || first.baseDatagramPort > 65535)
        abort();

    const QByteArray written = first.toXml();
    Configuration second(QStringLiteral("unused.xml"));
    readInto(second, written);
    const QByteArray rewritten = second.toXml();
    // A later, smaller "maxDevices" in the input may leave more recent entries than the limit;
    // the written file then keeps only the first ones, and from there on the form is stable.
    if (first.recentDevices.size() <= first.maxDevices) {
        if (rewritten != written)
            abort();
    } else {
        Configuration third(QStringLiteral("unused.xml"));
        readInto(third, rewritten);
        if (third.toXml() != rewritten)
            abort();
    }
    return 0;
}
