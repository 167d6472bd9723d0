#include "shell/configuration.h"

#include "link/logtext.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <limits>

namespace {
constexpr int kMissPort = 7001;
constexpr int kMaxPort = 65535;
// Datagram port 1 stands for level meters over TCP: the lowest UDP port handed out is 2.
constexpr int kMinDatagramPort = 2;
// Where the search for a free datagram port goes on past 65535: ports below need privileges.
constexpr int kFirstUnprivilegedPort = 1024;

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
    QSet<int> used;
    used.reserve(recentDevices.size());
    for (const RecentDevice &device : recentDevices)
        used.insert(device.datagramPort);
    // A base from a hand-edited file may sit right at the top: the search wraps instead of
    // running past 65535 into a port no socket can have.
    const int base = std::clamp(baseDatagramPort, kMinDatagramPort, kMaxPort);
    for (int port = base; port <= kMaxPort; ++port) {
        if (!used.contains(port))
            return port;
    }
    for (int port = kFirstUnprivilegedPort; port < base; ++port) {
        if (!used.contains(port))
            return port;
    }
    // Only one device is connected at a time: sharing a port with a recent one is harmless.
    return base;
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
    // A FIFO, a device or a directory in its place would block or fail the read: such a path
    // counts as no file at all.
    const QFileInfo info(m_fileName);
    if (info.exists() && !info.isFile()) {
        m_readError.clear();
        logCritical(QStringLiteral("%1(filename=%2) is not a regular file")
                        .arg(QStringLiteral("readConfiguration"), m_fileName));
        return false;
    }
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        // A file that is there (unreadable by its mode, say) holds what this store does not: it
        // must not be written over. A missing one is simply made by the next write.
        m_readError.clear();
        if (info.exists()) {
            m_readError = file.errorString();
            if (m_readError.isEmpty())
                m_readError = QStringLiteral("Unknown error");
        }
        logCritical(QStringLiteral("%1(filename=%2) failed to open file with error %3")
                        .arg(QStringLiteral("readConfiguration"), m_fileName, file.errorString()));
        return false;
    }
    m_readError.clear();
    readConfiguration(file);
    file.close();
    return true;
}

namespace {

// The device's bytes up to one beyond kMaxFileBytes. Read in pieces: asking for the whole cap
// at once would allocate all of it for every small file.
QByteArray readCapped(QIODevice &device)
{
    constexpr qint64 kPiece = 64 * 1024;
    const qint64 cap = Configuration::kMaxFileBytes + 1;
    QByteArray bytes;
    while (bytes.size() < cap) {
        const QByteArray piece = device.read(std::min(kPiece, cap - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    return bytes;
}

// Where the reader stands in the document: inside which list a device element belongs.
enum class Section { None, Settings, Known, Recent };

// The name of the element a tag text ("<name ...>" or "<name .../>") opens.
QStringView tagName(QStringView tag)
{
    qsizetype end = 1;
    while (end < tag.size() && !tag.at(end).isSpace() && tag.at(end) != u'/' && tag.at(end) != u'>')
        ++end;
    return tag.mid(1, end - 1);
}

} // namespace

void Configuration::takeLogger(const QXmlStreamAttributes &attributes)
{
    takePositive(attributes, QLatin1String("logMaxSize"), logMaxSize);
    takePositive(attributes, QLatin1String("logMaxFiles"), logMaxFiles);
}

void Configuration::takeKnownDevice(const QXmlStreamAttributes &attributes)
{
    KnownDevice known;
    known.address = addressFrom(attributes);
    known.port = decimalOrZero(attributes.value(QLatin1String("port")));
    known.name = attributes.value(QLatin1String("name")).toString();
    known.audioLevels = attributes.value(QLatin1String("audioLevels")) == u"TCP";
    const QString key = known.address.toString();
    if (!known.address.isNull() && isPort(known.port) && !knownDevices.contains(key))
        knownDevices.insert(key, known);
}

void Configuration::takeRecentList(const QXmlStreamAttributes &attributes)
{
    takePositive(attributes, QLatin1String("maxDevices"), maxDevices);
    takePositive(attributes, QLatin1String("defaultPort"), defaultPort, kMaxPort);
    takePositive(attributes, QLatin1String("baseDatagramPort"), baseDatagramPort, kMaxPort);
}

void Configuration::takeRecentDevice(const QXmlStreamAttributes &attributes,
                                     QSet<QString> &addresses)
{
    if (recentDevices.size() >= maxDevices)
        return;
    RecentDevice recent;
    recent.address = addressFrom(attributes);
    recent.port = decimalOrZero(attributes.value(QLatin1String("port")));
    recent.datagramPort = decimalOrZero(attributes.value(QLatin1String("datagramPort")));
    if (recent.address.isNull() || !isPort(recent.port) || !isPort(recent.datagramPort))
        return;
    // A set of the addresses taken keeps a long list linear to read.
    const QString key = recent.address.toString();
    if (addresses.contains(key))
        return;
    addresses.insert(key);
    recentDevices.append(recent);
}

void Configuration::readConfiguration(QIODevice &device)
{
    knownDevices.clear();
    recentDevices.clear();
    m_unreadableDigest.clear();

    QByteArray bytes = readCapped(device);
    bool failed = bytes.size() > kMaxFileBytes;
    if (failed)
        bytes.truncate(kMaxFileBytes);
    // Decoded whole before parsing: a bad byte becomes one replacement character where it
    // stands, so the records before it and after it are read as they are.
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    failed = failed || decoder.hasError();

    QXmlStreamReader xml(text);
    QSet<QString> recentAddresses;
    Section section = Section::None;
    bool accepted = false;
    if (xml.readNextStartElement()) {
        if (xml.name() != u"settings" || xml.attributes().value(QLatin1String("version")) != u"1")
            return; // someone else's document: nothing in it is ours
        accepted = true;
        while (xml.readNextStartElement()) {
            if (xml.name() == u"applicationSettings") {
                section = Section::Settings;
                while (xml.readNextStartElement()) {
                    if (xml.name() == u"logger")
                        takeLogger(xml.attributes());
                    xml.skipCurrentElement();
                }
            } else if (xml.name() == u"knownDevices") {
                section = Section::Known;
                while (xml.readNextStartElement()) {
                    if (xml.name() == u"device")
                        takeKnownDevice(xml.attributes());
                    xml.skipCurrentElement();
                }
            } else if (xml.name() == u"recentDevices") {
                section = Section::Recent;
                takeRecentList(xml.attributes());
                while (xml.readNextStartElement()) {
                    if (xml.name() == u"device")
                        takeRecentDevice(xml.attributes(), recentAddresses);
                    xml.skipCurrentElement();
                }
            } else {
                section = Section::None;
                xml.skipCurrentElement();
            }
            if (!xml.hasError())
                section = Section::None;
        }
    }

    if (xml.hasError()) {
        failed = true;
        // The reader stops at the first fault; every whole element tag behind it is still
        // looked at on its own, so one broken record costs only that record.
        recoverFrom(
            text, qsizetype(xml.characterOffset()), int(section), accepted, recentAddresses);
    }
    if (failed)
        m_unreadableDigest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

void Configuration::recoverFrom(const QString &text,
                                qsizetype position,
                                int startSection,
                                bool accepted,
                                QSet<QString> &recentAddresses)
{
    auto section = Section(startSection);
    qsizetype pos = std::clamp<qsizetype>(position, 0, text.size());
    while (true) {
        const qsizetype open = text.indexOf(u'<', pos);
        if (open < 0)
            return;
        const QStringView rest = QStringView(text).mid(open);
        // Comments and character data may hold anything, tags included.
        if (rest.startsWith(u"<!--") || rest.startsWith(u"<![CDATA[")) {
            const bool comment = rest.startsWith(u"<!--");
            const qsizetype close
                = text.indexOf(comment ? QStringLiteral("-->") : QStringLiteral("]]>"), open + 4);
            if (close < 0)
                return;
            pos = close + 3;
            continue;
        }
        const qsizetype close = text.indexOf(u'>', open + 1);
        if (close < 0)
            return;
        pos = close + 1;
        const QStringView tag = QStringView(text).mid(open, close - open + 1);
        if (tag.startsWith(u"</")) {
            const QStringView name = tagName(tag.mid(1));
            if (name == u"knownDevices" || name == u"recentDevices"
                || name == u"applicationSettings")
                section = Section::None;
            continue;
        }
        if (tag.startsWith(u"<?") || tag.startsWith(u"<!"))
            continue;

        const QStringView name = tagName(tag);
        if (name != u"settings" && name != u"applicationSettings" && name != u"logger"
            && name != u"knownDevices" && name != u"recentDevices" && name != u"device")
            continue;
        // The tag alone, as an empty element, so that the reader judges just this record.
        const bool empty = tag.endsWith(u"/>");
        QString fragment = tag.toString();
        if (!empty)
            fragment.insert(fragment.size() - 1, u'/');
        QXmlStreamReader reader(fragment);
        if (!reader.readNextStartElement())
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        reader.skipCurrentElement();
        if (reader.hasError())
            continue;

        if (name == u"settings") {
            accepted = attributes.value(QLatin1String("version")) == u"1";
            section = Section::None;
        } else if (!accepted) {
            continue;
        } else if (name == u"applicationSettings") {
            section = empty ? Section::None : Section::Settings;
        } else if (name == u"knownDevices") {
            section = empty ? Section::None : Section::Known;
        } else if (name == u"recentDevices") {
            takeRecentList(attributes);
            section = empty ? Section::None : Section::Recent;
        } else if (name == u"logger" && section == Section::Settings) {
            takeLogger(attributes);
        } else if (name == u"device" && section == Section::Known) {
            takeKnownDevice(attributes);
        } else if (name == u"device" && section == Section::Recent) {
            takeRecentDevice(attributes, recentAddresses);
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

bool Configuration::keepUnreadableFile()
{
    if (m_unreadableDigest.isEmpty())
        return true;
    // Only the very file that was read: another store may have replaced it meanwhile.
    QFile current(m_fileName);
    if (!QFileInfo(m_fileName).isFile() || !current.open(QIODevice::ReadOnly)
        || QCryptographicHash::hash(readCapped(current).left(kMaxFileBytes),
                                    QCryptographicHash::Sha256)
               != m_unreadableDigest) {
        m_unreadableDigest.clear();
        return true;
    }
    current.close();
    const QString kept = unreadableFileName();
    QFile::remove(kept);
    if (!QFile::copy(m_fileName, kept)) {
        m_writeError = QStringLiteral("could not keep the file as %1").arg(kept);
        logCritical(QStringLiteral("%1(filename=%2) failed to keep the unreadable file as %3")
                        .arg(QStringLiteral("writeConfiguration"), m_fileName, kept));
        return false;
    }
    logWarning(QStringLiteral("%1(filename=%2) the file had errors, kept it as %3")
                   .arg(QStringLiteral("writeConfiguration"), m_fileName, kept));
    m_unreadableDigest.clear();
    return true;
}

bool Configuration::writeConfiguration()
{
    // A file that could not be opened for reading cannot be kept as a copy either: it is left
    // alone until a read succeeds. Once it is gone there is nothing left to lose.
    if (!m_readError.isEmpty()) {
        if (QFileInfo::exists(m_fileName)) {
            m_writeError = QStringLiteral("it could not be read: %1").arg(m_readError);
            logCritical(QStringLiteral("%1(filename=%2) not written, %3")
                            .arg(QStringLiteral("writeConfiguration"), m_fileName, m_writeError));
            return false;
        }
        m_readError.clear();
    }
    // What could not be read is not overwritten without a copy.
    if (!keepUnreadableFile())
        return false;
    const QByteArray document = toXml();
    // The new content goes to a temporary file that replaces the old one only once it is whole,
    // so a failed write never leaves a cut-off configuration behind.
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        m_writeError = file.errorString();
        logCritical(QStringLiteral("%1(filename=%2) failed to write file with error %3")
                        .arg(QStringLiteral("writeConfiguration"), m_fileName, m_writeError));
        return false;
    }
    if (file.write(document) != document.size()) {
        m_writeError = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        m_writeError = file.errorString();
        return false;
    }
    m_writeError.clear();
    return true;
}
