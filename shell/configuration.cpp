#include "shell/configuration.h"

#include "link/logtext.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <limits>

namespace {
constexpr int kMissPort = 7001;
constexpr int kMaxPort = 65535;

// A plain decimal number of ASCII digits that fits in an int; anything else (signs, blanks,
// overflow, an empty text) counts as 0.
int decimalOrZero(QStringView text)
{
    if (text.isEmpty())
        return 0;
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
        value = value * 10 + (c.unicode() - '0');
        if (value > std::numeric_limits<int>::max())
            return 0;
    }
    return int(value);
}

bool isPort(int value)
{
    return value >= 1 && value <= kMaxPort;
}

// Sets `target` from the attribute when it holds a decimal integer above 0 (and, for ports, at
// most 65535); otherwise the present value stays.
void takePositive(const QXmlStreamAttributes &attributes,
                  QLatin1String name,
                  int &target,
                  int upperBound = std::numeric_limits<int>::max())
{
    const int value = decimalOrZero(attributes.value(name));
    if (value >= 1 && value <= upperBound)
        target = value;
}

// The text without the characters an XML 1.0 document cannot hold (control characters other
// than tab, line feed and carriage return, U+FFFE, U+FFFF and unpaired surrogates). Qt's writer
// would drop the first and, for an unpaired surrogate, break the rest of the document, so that
// every device after such a name would be lost at the next read.
QString xmlText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            continue;
        }
        if (c.isSurrogate() || u == 0xFFFE || u == 0xFFFF)
            continue;
        if (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r')
            continue;
        out += c;
    }
    return out;
}

QHostAddress addressFrom(const QXmlStreamAttributes &attributes)
{
    QHostAddress address;
    if (!address.setAddress(attributes.value(QLatin1String("address")).toString()))
        return QHostAddress();
    return address;
}
} // namespace

Configuration::Configuration(const QString &fileName)
    : m_fileName(fileName)
{}

RecentDevice Configuration::findRecentDevice(const QHostAddress &address) const
{
    for (const RecentDevice &device : recentDevices) {
        if (device.address == address)
            return device;
    }
    RecentDevice miss;
    miss.port = kMissPort;
    miss.datagramPort = 0;
    return miss;
}

KnownDevice Configuration::findKnownDevice(const QHostAddress &address) const
{
    const auto it = knownDevices.constFind(address.toString());
    if (it != knownDevices.constEnd())
        return it.value();
    KnownDevice miss;
    miss.port = kMissPort;
    return miss;
}

bool Configuration::updateKnownDevice(const RecentDevice &device)
{
    if (!device.isValid())
        return false;
    const auto it = knownDevices.find(device.address.toString());
    if (it == knownDevices.end())
        return false;
    it->port = device.port;
    it->audioLevels = device.datagramPort == 1;
    return true;
}

bool Configuration::addKnownDevice(const RecentDevice &device)
{
    if (!device.isValid())
        return false;
    KnownDevice known;
    known.address = device.address;
    known.port = device.port;
    known.audioLevels = device.datagramPort == 1;
    return addKnownDevice(known);
}

bool Configuration::addKnownDevice(const KnownDevice &device)
{
    if (device.address.isNull() || device.port < 1)
        return false;
    const QString key = device.address.toString();
    if (knownDevices.contains(key))
        return false;
    knownDevices.insert(key, device);
    return true;
}

int Configuration::nextDatagramPort() const
{
    int port = baseDatagramPort;
    bool used = true;
    while (used) {
        used = false;
        for (const RecentDevice &device : recentDevices) {
            if (device.datagramPort == port) {
                used = true;
                ++port;
                break;
            }
        }
    }
    return port;
}

bool Configuration::addRecentDevice(const RecentDevice &device)
{
    if (!device.isValid())
        return false;
    recentDevices.erase(std::remove_if(recentDevices.begin(),
                                       recentDevices.end(),
                                       [&device](const RecentDevice &entry) {
                                           return entry.address == device.address;
                                       }),
                        recentDevices.end());
    recentDevices.prepend(device);
    if (maxDevices >= 1) {
        while (recentDevices.size() > maxDevices)
            recentDevices.removeLast();
    }
    return true;
}

bool Configuration::readConfiguration()
{
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        logCritical(QStringLiteral("%1(filename=%2) failed to open file with error %3")
                        .arg(QStringLiteral("readConfiguration"), m_fileName, file.errorString()));
        return false;
    }
    readConfiguration(file);
    file.close();
    return true;
}

void Configuration::readConfiguration(QIODevice &device)
{
    knownDevices.clear();
    recentDevices.clear();

    QXmlStreamReader xml(&device);
    if (!xml.readNextStartElement() || xml.name() != u"settings")
        return;
    if (xml.attributes().value(QLatin1String("version")) != u"1")
        return;

    // Reading stops at the end of "settings" or at the first XML error; what was taken stays.
    while (xml.readNextStartElement()) {
        if (xml.name() == u"applicationSettings") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"logger") {
                    const QXmlStreamAttributes attributes = xml.attributes();
                    takePositive(attributes, QLatin1String("logMaxSize"), logMaxSize);
                    takePositive(attributes, QLatin1String("logMaxFiles"), logMaxFiles);
                }
                xml.skipCurrentElement();
            }
        } else if (xml.name() == u"knownDevices") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"device") {
                    const QXmlStreamAttributes attributes = xml.attributes();
                    KnownDevice known;
                    known.address = addressFrom(attributes);
                    known.port = decimalOrZero(attributes.value(QLatin1String("port")));
                    known.name = attributes.value(QLatin1String("name")).toString();
                    known.audioLevels = attributes.value(QLatin1String("audioLevels")) == u"TCP";
                    const QString key = known.address.toString();
                    if (!known.address.isNull() && isPort(known.port)
                        && !knownDevices.contains(key))
                        knownDevices.insert(key, known);
                }
                xml.skipCurrentElement();
            }
        } else if (xml.name() == u"recentDevices") {
            const QXmlStreamAttributes listAttributes = xml.attributes();
            takePositive(listAttributes, QLatin1String("maxDevices"), maxDevices);
            takePositive(listAttributes, QLatin1String("defaultPort"), defaultPort, kMaxPort);
            takePositive(
                listAttributes, QLatin1String("baseDatagramPort"), baseDatagramPort, kMaxPort);
            while (xml.readNextStartElement()) {
                if (xml.name() == u"device" && recentDevices.size() < maxDevices) {
                    const QXmlStreamAttributes attributes = xml.attributes();
                    RecentDevice recent;
                    recent.address = addressFrom(attributes);
                    recent.port = decimalOrZero(attributes.value(QLatin1String("port")));
                    recent.datagramPort
                        = decimalOrZero(attributes.value(QLatin1String("datagramPort")));
                    if (!recent.address.isNull() && isPort(recent.port)
                        && isPort(recent.datagramPort)
                        && findRecentDevice(recent.address).address.isNull())
                        recentDevices.append(recent);
                }
                xml.skipCurrentElement();
            }
        } else {
            xml.skipCurrentElement();
        }
    }
}

QByteArray Configuration::toXml() const
{
    QByteArray document;
    QXmlStreamWriter xml(&document);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();

    xml.writeStartElement(QStringLiteral("settings"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));

    xml.writeStartElement(QStringLiteral("applicationSettings"));
    xml.writeEmptyElement(QStringLiteral("logger"));
    xml.writeAttribute(QStringLiteral("logMaxSize"), QString::number(logMaxSize));
    xml.writeAttribute(QStringLiteral("logMaxFiles"), QString::number(logMaxFiles));
    xml.writeEndElement();

    if (knownDevices.isEmpty()) {
        xml.writeEmptyElement(QStringLiteral("knownDevices"));
    } else {
        xml.writeStartElement(QStringLiteral("knownDevices"));
        for (auto it = knownDevices.cbegin(); it != knownDevices.cend(); ++it) {
            xml.writeEmptyElement(QStringLiteral("device"));
            xml.writeAttribute(QStringLiteral("address"), xmlText(it->address.toString()));
            xml.writeAttribute(QStringLiteral("port"), QString::number(it->port));
            xml.writeAttribute(QStringLiteral("name"), xmlText(it->name));
            xml.writeAttribute(QStringLiteral("audioLevels"),
                               it->audioLevels ? QStringLiteral("TCP") : QStringLiteral("UDP"));
        }
        xml.writeEndElement();
    }

    if (recentDevices.isEmpty())
        xml.writeEmptyElement(QStringLiteral("recentDevices"));
    else
        xml.writeStartElement(QStringLiteral("recentDevices"));
    xml.writeAttribute(QStringLiteral("maxDevices"), QString::number(maxDevices));
    xml.writeAttribute(QStringLiteral("defaultPort"), QString::number(defaultPort));
    xml.writeAttribute(QStringLiteral("baseDatagramPort"), QString::number(baseDatagramPort));
    if (!recentDevices.isEmpty()) {
        for (const RecentDevice &device : recentDevices) {
            xml.writeEmptyElement(QStringLiteral("device"));
            xml.writeAttribute(QStringLiteral("address"), xmlText(device.address.toString()));
            xml.writeAttribute(QStringLiteral("port"), QString::number(device.port));
            xml.writeAttribute(QStringLiteral("datagramPort"),
                               QString::number(device.datagramPort));
        }
        xml.writeEndElement();
    }

    xml.writeEndElement(); // settings
    xml.writeEndDocument();
    return document;
}

bool Configuration::writeConfiguration()
{
    const QByteArray document = toXml();
    // The new content goes to a temporary file that replaces the old one only once it is whole,
    // so a failed write never leaves a cut-off configuration behind.
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        logCritical(QStringLiteral("%1(filename=%2) failed to write file with error %3")
                        .arg(QStringLiteral("writeConfiguration"), m_fileName, file.errorString()));
        return false;
    }
    if (file.write(document) != document.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
