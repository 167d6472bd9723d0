#include "filemodes.h"
#include "shell/configuration.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {
QStringList s_messages; // critical lines
QStringList s_lines;    // every line
void captureHandler(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtCriticalMsg)
        s_messages << text;
    s_lines << text;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && file.write(bytes) == bytes.size();
}

QString goldenPath(const char *name)
{
    return QStringLiteral(TALLYDESK_SHELL_TEST_DATA "/") + QLatin1String(name);
}

// The store's content in a comparable text form.
QStringList knownList(const Configuration &c)
{
    QStringList out;
    for (auto it = c.knownDevices.cbegin(); it != c.knownDevices.cend(); ++it) {
        out << QStringLiteral("%1=%2:%3:%4:%5")
                   .arg(it.key(),
                        it->address.toString(),
                        QString::number(it->port),
                        it->name,
                        it->audioLevels ? QStringLiteral("TCP") : QStringLiteral("UDP"));
    }
    return out;
}

QStringList recentList(const Configuration &c)
{
    QStringList out;
    for (const RecentDevice &d : c.recentDevices) {
        out << QStringLiteral("%1:%2:%3")
                   .arg(d.address.toString(),
                        QString::number(d.port),
                        QString::number(d.datagramPort));
    }
    return out;
}

QList<int> settingsList(const Configuration &c)
{
    return {c.logMaxSize, c.logMaxFiles, c.maxDevices, c.defaultPort, c.baseDatagramPort};
}

RecentDevice recent(const char *address, int port, int datagramPort)
{
    RecentDevice d;
    d.address = QHostAddress(QLatin1String(address));
    d.port = port;
    d.datagramPort = datagramPort;
    return d;
}

KnownDevice known(const char *address, int port, const QString &name, bool audioLevels)
{
    KnownDevice d;
    d.address = QHostAddress(QLatin1String(address));
    d.port = port;
    d.name = name;
    d.audioLevels = audioLevels;
    return d;
}

// The store that the full golden file holds.
void fillFull(Configuration &c)
{
    c.logMaxSize = 2048;
    c.logMaxFiles = 7;
    c.maxDevices = 4;
    c.defaultPort = 7002;
    c.baseDatagramPort = 3100;
    // Added out of order: the file lists known devices by address text.
    QVERIFY(
        c.addKnownDevice(known("9.1.1.1", 65535, QStringLiteral("Übertragungswagen 2"), false)));
    QVERIFY(c.addKnownDevice(recent("192.168.0.2", 7100, 3100)));
    QVERIFY(c.addKnownDevice(known("10.0.0.5", 7001, QStringLiteral("Studio \"A\" & <B>"), true)));
    QVERIFY(c.addRecentDevice(recent("fe80::1", 7001, 3101)));
    QVERIFY(c.addRecentDevice(recent("10.0.0.5", 7001, 1)));
    QVERIFY(c.addRecentDevice(recent("192.168.0.2", 7100, 3100)));
}

const QList<int> kDefaults{512, 25, 10, 7001, 3000};
const QByteArray kHead("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<settings version=\"1\">\n");
} // namespace

class TestConfiguration : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        s_messages.clear();
        s_lines.clear();
        QVERIFY(m_dir.isValid());
    }

    void writesTheDefaultFile()
    {
        Configuration c(m_dir.filePath(QStringLiteral("Tallydesk.xml")));
        QVERIFY(c.writeConfiguration());
        QCOMPARE(readAll(c.fileName()), readAll(goldenPath("default.xml")));
    }

    void writesAndReadsTheFullFile()
    {
        Configuration c(m_dir.filePath(QStringLiteral("Tallydesk.xml")));
        fillFull(c);
        QVERIFY(c.writeConfiguration());
        QCOMPARE(readAll(c.fileName()), readAll(goldenPath("full.xml")));

        Configuration back(goldenPath("full.xml"));
        QVERIFY(back.readConfiguration());
        QCOMPARE(settingsList(back), settingsList(c));
        QCOMPARE(knownList(back), knownList(c));
        QCOMPARE(recentList(back), recentList(c));
        QCOMPARE(recentList(back).first(), QStringLiteral("192.168.0.2:7100:3100"));
        QCOMPARE(back.findKnownDevice(QHostAddress(QStringLiteral("10.0.0.5"))).name,
                 QStringLiteral("Studio \"A\" & <B>"));
    }

    void readingReplacesTheListsButKeepsUngivenSettings()
    {
        const QString path = m_dir.filePath(QStringLiteral("partial.xml"));
        QVERIFY(writeAll(path,
                         kHead
                             + "<knownDevices><device address=\"1.2.3.4\" port=\"1\"/>"
                               "</knownDevices></settings>\n"));
        Configuration c(path);
        c.logMaxSize = 99;
        QVERIFY(c.addRecentDevice(recent("5.5.5.5", 7001, 3000)));
        QVERIFY(c.addKnownDevice(recent("6.6.6.6", 7001, 3000)));
        QVERIFY(c.readConfiguration());
        QCOMPARE(c.logMaxSize, 99);
        QCOMPARE(knownList(c), QStringList{QStringLiteral("1.2.3.4=1.2.3.4:1::UDP")});
        QVERIFY(c.recentDevices.isEmpty());
    }

    void readsMalformedFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("known");
        QTest::addColumn<QStringList>("recent");
        QTest::addColumn<QList<int>>("settings");

        const QByteArray oneKnown = "<knownDevices><device address=\"1.2.3.4\" port=\"7001\" "
                                    "name=\"x\" audioLevels=\"TCP\"/></knownDevices>";
        const QStringList oneKnownList{QStringLiteral("1.2.3.4=1.2.3.4:7001:x:TCP")};
        auto knownWith = [](const QByteArray &attributes) {
            return kHead + "<knownDevices><device " + attributes + "/></knownDevices></settings>";
        };
        auto recentWith = [](const QByteArray &attributes) {
            return kHead + "<recentDevices><device " + attributes + "/></recentDevices></settings>";
        };
        const QStringList none;

        QTest::newRow("empty file") << QByteArray() << none << none << kDefaults;
        QTest::newRow("not xml") << QByteArray("\x00\xff garbage <<<", 15) << none << none
                                 << kDefaults;
        QTest::newRow("other root") << QByteArray("<config version=\"1\">" + oneKnown + "</config>")
                                    << none << none << kDefaults;
        QTest::newRow("version 2")
            << QByteArray("<settings version=\"2\">" + oneKnown + "</settings>") << none << none
            << kDefaults;
        QTest::newRow("no version")
            << QByteArray("<settings>" + oneKnown + "</settings>") << none << none << kDefaults;
        QTest::newRow("version with blank")
            << QByteArray("<settings version=\" 1\">" + oneKnown + "</settings>") << none << none
            << kDefaults;
        QTest::newRow("well formed")
            << QByteArray(kHead + oneKnown + "</settings>") << oneKnownList << none << kDefaults;
        QTest::newRow("cut in known devices")
            << QByteArray(kHead
                          + "<knownDevices><device address=\"1.2.3.4\" port=\"7001\" "
                            "name=\"x\" audioLevels=\"TCP\"/><device addr")
            << oneKnownList << none << kDefaults;
        QTest::newRow("records behind an error are kept")
            << QByteArray(kHead + oneKnown + "<oops></wrong>"
                          + "<recentDevices><device address=\"2.2.2.2\" port=\"1\" "
                            "datagramPort=\"1\"/></recentDevices></settings>")
            << oneKnownList << QStringList{QStringLiteral("2.2.2.2:1:1")} << kDefaults;
        QTest::newRow("duplicate known keeps first")
            << QByteArray(kHead
                          + "<knownDevices><device address=\"1.2.3.4\" port=\"7001\" name=\"x\" "
                            "audioLevels=\"TCP\"/><device address=\"1.2.3.4\" port=\"9\" "
                            "name=\"second\"/></knownDevices></settings>")
            << oneKnownList << none << kDefaults;
        QTest::newRow("audioLevels lower case")
            << knownWith("address=\"1.2.3.4\" port=\"7\" audioLevels=\"tcp\"")
            << QStringList{QStringLiteral("1.2.3.4=1.2.3.4:7::UDP")} << none << kDefaults;
        QTest::newRow("attributes in any order, unknown ones ignored")
            << knownWith(
                   "extra=\"1\" audioLevels=\"TCP\" name=\"n\" port=\"7\" address=\"1.2.3.4\"")
            << QStringList{QStringLiteral("1.2.3.4=1.2.3.4:7:n:TCP")} << none << kDefaults;
        for (const char *port :
             {"0", "-1", "65536", "4294967303", "abc", "", " 7001", "+7001", "7001x", "0x10"}) {
            QTest::addRow("known port \"%s\"", port)
                << knownWith("address=\"1.2.3.4\" port=\"" + QByteArray(port) + "\"") << none
                << none << kDefaults;
            QTest::addRow("recent port \"%s\"", port) << recentWith(
                "address=\"1.2.3.4\" port=\"" + QByteArray(port) + "\" datagramPort=\"3000\"")
                                                      << none << none << kDefaults;
            QTest::addRow("recent datagram port \"%s\"", port) << recentWith(
                "address=\"1.2.3.4\" port=\"7001\" datagramPort=\"" + QByteArray(port) + "\"")
                                                               << none << none << kDefaults;
        }
        QTest::newRow("known missing port")
            << knownWith("address=\"1.2.3.4\"") << none << none << kDefaults;
        QTest::newRow("known missing address")
            << knownWith("port=\"7001\"") << none << none << kDefaults;
        QTest::newRow("known bad address")
            << knownWith("address=\"1.2.3.400\" port=\"7001\"") << none << none << kDefaults;
        QTest::newRow("known host name")
            << knownWith("address=\"quorix.local\" port=\"7001\"") << none << none << kDefaults;
        QTest::newRow("recent missing datagram port")
            << recentWith("address=\"1.2.3.4\" port=\"7001\"") << none << none << kDefaults;
        QTest::newRow("recent over tcp")
            << recentWith("address=\"1.2.3.4\" port=\"7001\" datagramPort=\"1\"") << none
            << QStringList{QStringLiteral("1.2.3.4:7001:1")} << kDefaults;
        QTest::newRow("recent duplicate keeps first")
            << QByteArray(kHead
                          + "<recentDevices><device address=\"1.2.3.4\" port=\"1\" "
                            "datagramPort=\"2\"/><device address=\"1.2.3.4\" port=\"3\" "
                            "datagramPort=\"4\"/></recentDevices></settings>")
            << none << QStringList{QStringLiteral("1.2.3.4:1:2")} << kDefaults;
        QTest::newRow("recent limit from the file")
            << QByteArray(kHead
                          + "<recentDevices maxDevices=\"3\">"
                            "<device address=\"1.1.1.1\" port=\"1\" datagramPort=\"1\"/>"
                            "<device address=\"bad\" port=\"1\" datagramPort=\"1\"/>"
                            "<device address=\"2.2.2.2\" port=\"1\" datagramPort=\"1\"/>"
                            "<device address=\"3.3.3.3\" port=\"1\" datagramPort=\"1\"/>"
                            "<device address=\"4.4.4.4\" port=\"1\" datagramPort=\"1\"/>"
                            "<device address=\"5.5.5.5\" port=\"1\" datagramPort=\"1\"/>"
                            "</recentDevices></settings>")
            << none
            << QStringList{QStringLiteral("1.1.1.1:1:1"),
                           QStringLiteral("2.2.2.2:1:1"),
                           QStringLiteral("3.3.3.3:1:1")}
            << QList<int>{512, 25, 3, 7001, 3000};
        for (const char *value : {"0", "-5", "abc", "", "99999999999"}) {
            QTest::addRow("settings \"%s\" keep their values", value) << QByteArray(
                kHead + "<applicationSettings><logger logMaxSize=\"" + value + "\" logMaxFiles=\""
                + value + "\"/></applicationSettings><recentDevices maxDevices=\"" + value
                + "\" defaultPort=\"" + value + "\" baseDatagramPort=\"" + value
                + "\"/></settings>") << none << none << kDefaults;
        }
        QTest::newRow("setting ports above 65535")
            << QByteArray(kHead
                          + "<recentDevices defaultPort=\"65536\" baseDatagramPort=\"70000\""
                            "/></settings>")
            << none << none << kDefaults;
        QTest::newRow("settings taken")
            << QByteArray(kHead
                          + "<applicationSettings><other/><logger logMaxSize=\"1\" "
                            "logMaxFiles=\"2\"><x/></logger></applicationSettings>"
                            "<recentDevices maxDevices=\"3\" defaultPort=\"65535\" "
                            "baseDatagramPort=\"5\"/></settings>")
            << none << none << QList<int>{1, 2, 3, 65535, 5};
        QTest::newRow("unknown elements skipped whole")
            << QByteArray(kHead
                          + "<extra><knownDevices><device address=\"9.9.9.9\" port=\"1\"/>"
                            "</knownDevices></extra><knownDevices><group><device "
                            "address=\"8.8.8.8\" port=\"1\"/></group></knownDevices>"
                          + oneKnown + "</settings>")
            << oneKnownList << none << kDefaults;
        QTest::newRow("entity expansion bomb")
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE settings [<!ENTITY a "
                          "\"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\"><!ENTITY b "
                          "\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c "
                          "\"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d "
                          "\"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\"><!ENTITY e "
                          "\"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">]>"
                          "<settings version=\"1\">"
                          + oneKnown
                          + "<knownDevices><device address=\"2.2.2.2\" port=\"1\" "
                            "name=\"&e;&e;&e;&e;&e;&e;\"/></knownDevices></settings>")
            << oneKnownList << none << kDefaults;
    }

    void readsMalformedFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, known);
        QFETCH(QStringList, recent);
        QFETCH(QList<int>, settings);

        const QString path = m_dir.filePath(QStringLiteral("case.xml"));
        QVERIFY(writeAll(path, content));
        Configuration c(path);
        QVERIFY(c.readConfiguration());
        QCOMPARE(knownList(c), known);
        QCOMPARE(recentList(c), recent);
        QCOMPARE(settingsList(c), settings);
    }

    void rewritesAWrongVersionAsVersionOne()
    {
        const QString path = m_dir.filePath(QStringLiteral("v2.xml"));
        QVERIFY(writeAll(path,
                         "<settings version=\"2\"><knownDevices><device address=\"1.2.3.4\" "
                         "port=\"1\"/></knownDevices></settings>"));
        Configuration c(path);
        QVERIFY(c.readConfiguration());
        QVERIFY(c.writeConfiguration());
        QCOMPARE(readAll(path), readAll(goldenPath("default.xml")));
    }

    void missingFileLeavesTheStoreAlone()
    {
        const QString path = m_dir.filePath(QStringLiteral("absent.xml"));
        Configuration c(path);
        QVERIFY(c.addRecentDevice(recent("1.2.3.4", 7001, 3000)));
        auto previous = qInstallMessageHandler(captureHandler);
        const bool ok = c.readConfiguration();
        qInstallMessageHandler(previous);
        QVERIFY(!ok);
        QCOMPARE(recentList(c), QStringList{QStringLiteral("1.2.3.4:7001:3000")});
        QCOMPARE(s_messages.size(), 1);
        QVERIFY(s_messages.first().startsWith(
            QStringLiteral("\"readConfiguration(filename=%1) failed to open file with error ")
                .arg(path)));
        QVERIFY(s_messages.first().endsWith(QStringLiteral("\" ")));
    }

    // One bad byte in a name and one broken tag: only the broken record is lost, and the first
    // save keeps the file as it was beside the new one.
    void faultsCostOnlyTheirRecordAndTheFileIsKept()
    {
        QByteArray content = kHead + "<knownDevices>\n";
        for (int i = 1; i <= 40; ++i) {
            QByteArray name = "unit " + QByteArray::number(i);
            if (i == 20)
                name += "\xff\xfe";
            const QByteArray port = i == 30 ? "7001" : "\"7001\""; // unquoted: not XML
            content += "<device address=\"10.0.0." + QByteArray::number(i) + "\" port=" + port
                       + " name=\"" + name + "\" audioLevels=\"UDP\"/>\n";
        }
        content += "</knownDevices>\n<recentDevices maxDevices=\"5\">\n";
        for (int i = 1; i <= 5; ++i)
            content += "<device address=\"10.0.1." + QByteArray::number(i)
                       + "\" port=\"7001\" datagramPort=\"" + QByteArray::number(3000 + i)
                       + "\"/>\n";
        content += "</recentDevices>\n</settings>\n";

        const QString path = m_dir.filePath(QStringLiteral("damaged.xml"));
        QVERIFY(writeAll(path, content));
        Configuration c(path);
        QVERIFY(c.readConfiguration());
        QCOMPARE(c.knownDevices.size(), 39);
        QVERIFY(!c.knownDevices.contains(QStringLiteral("10.0.0.30")));
        QCOMPARE(c.knownDevices.value(QStringLiteral("10.0.0.20")).name,
                 QStringLiteral("unit 20\uFFFD\uFFFD"));
        QCOMPARE(c.knownDevices.value(QStringLiteral("10.0.0.40")).name, QStringLiteral("unit 40"));
        QCOMPARE(c.recentDevices.size(), 5);
        QCOMPARE(c.maxDevices, 5);
        QVERIFY(c.keepsUnreadableFile());

        auto previous = qInstallMessageHandler(captureHandler);
        QVERIFY(c.writeConfiguration());
        qInstallMessageHandler(previous);
        QCOMPARE(readAll(c.unreadableFileName()), content);
        QCOMPARE(s_lines.filter(QStringLiteral("kept it as ") + c.unreadableFileName()).size(), 1);
        Configuration back(path);
        QVERIFY(back.readConfiguration());
        QCOMPARE(back.knownDevices.size(), 39);
        QVERIFY(!back.keepsUnreadableFile());

        // Later saves leave the kept copy alone.
        QVERIFY(c.addKnownDevice(recent("10.0.0.30", 7001, 1)));
        QVERIFY(c.writeConfiguration());
        QCOMPARE(readAll(c.unreadableFileName()), content);

        // A store that read the damaged file before another one replaced it does not take the
        // repaired file for the damaged one.
        QVERIFY(writeAll(path, content));
        Configuration first(path);
        Configuration second(path);
        QVERIFY(first.readConfiguration());
        QVERIFY(second.readConfiguration());
        QVERIFY(QFile::remove(c.unreadableFileName()));
        previous = qInstallMessageHandler(captureHandler);
        QVERIFY(first.writeConfiguration());
        QVERIFY(second.writeConfiguration());
        qInstallMessageHandler(previous);
        QCOMPARE(readAll(c.unreadableFileName()), content);
    }

    // Reading is linear in the recent list: eight times the entries take about eight times as
    // long, not sixty-four (compared with the best of three runs, so that a busy machine does
    // not decide).
    void longRecentListReadsInLinearTime()
    {
        const auto document = [](int count) {
            QByteArray content
                = kHead + "<recentDevices maxDevices=\"" + QByteArray::number(count) + "\">";
            for (int i = 0; i < count; ++i)
                content += "<device address=\"10." + QByteArray::number(i / 65536) + "."
                           + QByteArray::number(i / 256 % 256) + "." + QByteArray::number(i % 256)
                           + "\" port=\"7001\" datagramPort=\"" + QByteArray::number(3000 + i)
                           + "\"/>";
            return content + "</recentDevices></settings>";
        };
        const auto bestTime = [](QByteArray content, int count) {
            qint64 best = std::numeric_limits<qint64>::max();
            for (int run = 0; run < 3; ++run) {
                QBuffer buffer(&content);
                if (!buffer.open(QIODevice::ReadOnly))
                    return qint64(-1);
                Configuration c(QStringLiteral("unused.xml"));
                QElapsedTimer timer;
                timer.start();
                c.readConfiguration(buffer);
                best = std::min(best, timer.nsecsElapsed());
                if (c.recentDevices.size() != count || c.nextDatagramPort() != 3000 + count)
                    return qint64(-1);
            }
            return best;
        };
        constexpr int kSmall = 1000;
        const qint64 small = bestTime(document(kSmall), kSmall);
        const qint64 large = bestTime(document(8 * kSmall), 8 * kSmall);
        QVERIFY(small > 0 && large > 0);
        QVERIFY2(large < 24 * small,
                 qPrintable(QStringLiteral("%1 ns for %2 entries, %3 ns for %4")
                                .arg(small)
                                .arg(kSmall)
                                .arg(large)
                                .arg(8 * kSmall)));
    }

#ifdef Q_OS_UNIX
    // A FIFO in place of the file would block the read for ever.
    void pathThatIsNoRegularFileCountsAsMissing()
    {
        const QString path = m_dir.filePath(QStringLiteral("fifo.xml"));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        Configuration c(path);
        QVERIFY(c.addRecentDevice(recent("1.2.3.4", 7001, 3000)));
        auto previous = qInstallMessageHandler(captureHandler);
        const bool ok = c.readConfiguration();
        qInstallMessageHandler(previous);
        QVERIFY(!ok);
        QCOMPARE(recentList(c), QStringList{QStringLiteral("1.2.3.4:7001:3000")});
        QCOMPARE(s_messages,
                 QStringList{QStringLiteral("\"readConfiguration(filename=%1) is not a regular "
                                            "file\" ")
                                 .arg(path)});
    }
#endif

    void failedWriteKeepsTheOldFile()
    {
        // A name at the file system's length limit can exist, but the new content cannot be
        // put in its place under that name's temporary sibling (this holds even for root).
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QString(255, QLatin1Char('c')));
        const QByteArray old = readAll(goldenPath("full.xml"));
        QVERIFY(writeAll(path, old));
        Configuration c(path);
        QVERIFY(!c.writeConfiguration());
        QCOMPARE(readAll(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void unopenableFileIsReported()
    {
        const QString path = m_dir.filePath(QStringLiteral("missing/Tallydesk.xml"));
        Configuration c(path);
        auto previous = qInstallMessageHandler(captureHandler);
        const bool ok = c.writeConfiguration();
        qInstallMessageHandler(previous);
        QVERIFY(!ok);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(s_messages.size(), 1);
        QVERIFY(s_messages.first().startsWith(
            QStringLiteral("\"writeConfiguration(filename=%1) failed to write file with error ")
                .arg(path)));
        QVERIFY(s_messages.first().endsWith(QStringLiteral("\" ")));
    }

    // A file the program may write but not read (mode 0200) holds devices the store never saw:
    // it is not written over, and the store keeps its changes in memory. Once the file reads
    // again, or is gone, saving goes on.
    void unreadableFileIsNeverWrittenOver()
    {
#ifndef Q_OS_UNIX
        QSKIP("File modes cannot make a file unreadable here.");
#else
        const QString path = m_dir.filePath(QStringLiteral("unreadable.xml"));
        const QByteArray content = readAll(goldenPath("full.xml"));
        QVERIFY(writeAll(path, content));
        const auto readable = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        auto restore = qScopeGuard([&] { QFile::setPermissions(path, readable); });
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        Configuration c(path);
        QVERIFY(c.addRecentDevice(recent("10.9.9.9", 7001, 3000)));
        {
            FileModesApply modes;
            if (!modes.applies() || QFile(path).open(QIODevice::ReadOnly))
                QSKIP("This process reads a file of mode 0200: it cannot be made unreadable.");
            auto previous = qInstallMessageHandler(captureHandler);
            const bool read = c.readConfiguration();
            const bool written = c.writeConfiguration();
            qInstallMessageHandler(previous);
            QVERIFY(!read);
            QVERIFY(!written);
            QVERIFY(!c.readError().isEmpty());
            QCOMPARE(s_messages.size(), 2);
            QVERIFY(s_messages.last().startsWith(
                QStringLiteral("\"writeConfiguration(filename=%1) not written, it could not be "
                               "read: ")
                    .arg(path)));
        }
        QCOMPARE(recentList(c), QStringList{QStringLiteral("10.9.9.9:7001:3000")});
        QVERIFY(!QFile::exists(c.unreadableFileName()));
        QVERIFY(QFile::setPermissions(path, readable));
        QCOMPARE(readAll(path), content);

        // Readable again: the file's devices replace the store's, and saving goes on.
        QVERIFY(c.readConfiguration());
        QVERIFY(c.readError().isEmpty());
        QCOMPARE(c.recentDevices.size(), 3);
        QVERIFY(c.writeConfiguration());
        QCOMPARE(readAll(path), content);

        // Gone while it could not be read: nothing is left to lose.
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        {
            FileModesApply modes;
            auto previous = qInstallMessageHandler(captureHandler);
            const bool read = c.readConfiguration();
            qInstallMessageHandler(previous);
            QVERIFY(!read);
            QVERIFY(QFile::remove(path));
            QVERIFY(c.writeConfiguration());
        }
        QCOMPARE(readAll(path), content);
#endif
    }

    void roundTripAfterEdits()
    {
        Configuration c(m_dir.filePath(QStringLiteral("Tallydesk.xml")));
        fillFull(c);
        c.knownDevices[QStringLiteral("192.168.0.2")].name = QStringLiteral("tab\tnew\nline ;&");
        c.knownDevices.remove(QStringLiteral("9.1.1.1"));
        QVERIFY(c.writeConfiguration());
        Configuration back(c.fileName());
        QVERIFY(back.readConfiguration());
        QCOMPARE(knownList(back), knownList(c));
        QCOMPARE(recentList(back), recentList(c));
        QCOMPARE(settingsList(back), settingsList(c));
    }

    void namesXmlCannotHoldLoseOnlyThoseCharacters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("control characters")
            << QStringLiteral("A") + QChar(0x01) + QStringLiteral("B") + QChar(0x1f)
                   + QStringLiteral("C")
            << QStringLiteral("ABC");
        QTest::newRow("unpaired high surrogate")
            << QStringLiteral("A") + QChar(0xD800) + QStringLiteral("B") << QStringLiteral("AB");
        QTest::newRow("unpaired low surrogate at the end")
            << QStringLiteral("A") + QChar(0xDC00) << QStringLiteral("A");
        QTest::newRow("non-characters")
            << QStringLiteral("A") + QChar(0xFFFE) + QChar(0xFFFF) << QStringLiteral("A");
        const QString emoji = QString::fromUtf8("\xf0\x9f\x8e\xa7");
        QTest::newRow("paired surrogates stay") << emoji << emoji;
    }

    void namesXmlCannotHoldLoseOnlyThoseCharacters()
    {
        QFETCH(QString, name);
        QFETCH(QString, readBack);
        Configuration c(m_dir.filePath(QStringLiteral("Tallydesk.xml")));
        fillFull(c);
        // The first device in the file carries the name; everything after it must survive.
        c.knownDevices[QStringLiteral("10.0.0.5")].name = name;
        QVERIFY(c.writeConfiguration());

        Configuration back(c.fileName());
        QVERIFY(back.readConfiguration());
        c.knownDevices[QStringLiteral("10.0.0.5")].name = readBack;
        QCOMPARE(knownList(back), knownList(c));
        QCOMPARE(recentList(back), recentList(c));
        QCOMPARE(settingsList(back), settingsList(c));
    }

    void lookupsMissWithFixedPort()
    {
        Configuration c(QStringLiteral("unused.xml"));
        c.defaultPort = 8000;
        QVERIFY(c.addRecentDevice(recent("1.2.3.4", 9000, 3000)));
        QVERIFY(c.addKnownDevice(known("1.2.3.4", 9000, QStringLiteral("n"), true)));

        const RecentDevice r = c.findRecentDevice(QHostAddress(QStringLiteral("4.3.2.1")));
        QVERIFY(r.address.isNull());
        QCOMPARE(r.port, 7001);
        QCOMPARE(r.datagramPort, 0);
        const KnownDevice k = c.findKnownDevice(QHostAddress(QStringLiteral("4.3.2.1")));
        QVERIFY(k.address.isNull());
        QCOMPARE(k.port, 7001);
        QVERIFY(k.name.isEmpty());
        QVERIFY(!k.audioLevels);

        QCOMPARE(c.findRecentDevice(QHostAddress(QStringLiteral("1.2.3.4"))).port, 9000);
        QCOMPARE(c.findKnownDevice(QHostAddress(QStringLiteral("1.2.3.4"))).name,
                 QStringLiteral("n"));
    }

    void nextDatagramPortSkipsUsedPorts()
    {
        Configuration c(QStringLiteral("unused.xml"));
        QCOMPARE(c.nextDatagramPort(), 3000);
        // Out of order on purpose: a single pass over the list would miss 3001 after 3000.
        QVERIFY(c.addRecentDevice(recent("1.1.1.1", 1, 3000)));
        QVERIFY(c.addRecentDevice(recent("1.1.1.2", 1, 3003)));
        QVERIFY(c.addRecentDevice(recent("1.1.1.3", 1, 3001)));
        QVERIFY(c.addRecentDevice(recent("1.1.1.4", 1, 1)));
        QCOMPARE(c.nextDatagramPort(), 3002);
    }

    // The proposed port is one a UDP socket can have, whatever the base and the recent list:
    // past 65535 the search wraps to 1024, the first port bound without privileges.
    void nextDatagramPortStaysInRange_data()
    {
        QTest::addColumn<int>("base");
        QTest::addColumn<QList<int>>("usedRanges"); // first and last port of each range
        QTest::addColumn<int>("expected");
        QTest::newRow("top port free") << 65535 << QList<int>{65534, 65534} << 65535;
        QTest::newRow("top ports used") << 65534 << QList<int>{65534, 65535} << 1024;
        QTest::newRow("used low ports skipped")
            << 65535 << QList<int>{65535, 65535, 1024, 1025} << 1026;
        QTest::newRow("every port used") << 40000 << QList<int>{2, 65535} << 40000;
        QTest::newRow("base 1 stands for TCP") << 1 << QList<int>{} << 2;
        QTest::newRow("base beyond 16 bits") << 70000 << QList<int>{} << 65535;
        QTest::newRow("negative base") << -5 << QList<int>{2, 2} << 3;
    }

    void nextDatagramPortStaysInRange()
    {
        QFETCH(int, base);
        QFETCH(QList<int>, usedRanges);
        QFETCH(int, expected);
        Configuration c(QStringLiteral("unused.xml"));
        c.baseDatagramPort = base;
        quint32 address = 0x0a000000;
        for (qsizetype i = 0; i + 1 < usedRanges.size(); i += 2) {
            for (int port = usedRanges.at(i); port <= usedRanges.at(i + 1); ++port) {
                RecentDevice d;
                d.address = QHostAddress(++address);
                d.port = 7001;
                d.datagramPort = port;
                c.recentDevices.append(d);
            }
        }
        QCOMPARE(c.nextDatagramPort(), expected);
    }

    void addRecentDeviceOrdersAndTrims()
    {
        Configuration c(QStringLiteral("unused.xml"));
        QVERIFY(!c.addRecentDevice(recent("1.1.1.1", 0, 3000)));
        QVERIFY(!c.addRecentDevice(recent("1.1.1.1", 7001, 0)));
        QVERIFY(!c.addRecentDevice(RecentDevice()));
        for (int i = 1; i <= 10; ++i)
            QVERIFY(
                c.addRecentDevice(recent(qPrintable(QStringLiteral("10.0.0.%1").arg(i)), i, i)));
        QVERIFY(c.addRecentDevice(recent("10.0.0.5", 77, 1)));
        QCOMPARE(c.recentDevices.size(), 10);
        QCOMPARE(recentList(c).first(), QStringLiteral("10.0.0.5:77:1"));
        QCOMPARE(recentList(c).last(), QStringLiteral("10.0.0.1:1:1"));

        QVERIFY(c.addRecentDevice(recent("10.0.0.11", 11, 11)));
        QCOMPARE(c.recentDevices.size(), 10);
        QCOMPARE(recentList(c).first(), QStringLiteral("10.0.0.11:11:11"));
        QCOMPARE(recentList(c).last(), QStringLiteral("10.0.0.2:2:2"));

        c.maxDevices = 0;
        QVERIFY(c.addRecentDevice(recent("10.0.0.12", 12, 12)));
        QCOMPARE(c.recentDevices.size(), 11);
    }

    void knownDeviceUpdatesAndAdds()
    {
        Configuration c(QStringLiteral("unused.xml"));
        QVERIFY(!c.updateKnownDevice(recent("1.2.3.4", 7001, 3000)));
        QVERIFY(c.addKnownDevice(known("1.2.3.4", 7001, QStringLiteral("n"), false)));
        QVERIFY(!c.addKnownDevice(known("1.2.3.4", 1, QString(), true)));
        QVERIFY(!c.addKnownDevice(recent("1.2.3.4", 1, 1)));
        QVERIFY(!c.addKnownDevice(known("2.2.2.2", 0, QString(), true)));
        QVERIFY(!c.addKnownDevice(KnownDevice()));
        QVERIFY(!c.addKnownDevice(recent("2.2.2.2", 1, 0)));

        QVERIFY(c.updateKnownDevice(recent("1.2.3.4", 7100, 1)));
        QCOMPARE(knownList(c), QStringList{QStringLiteral("1.2.3.4=1.2.3.4:7100:n:TCP")});
        QVERIFY(c.updateKnownDevice(recent("1.2.3.4", 7200, 3001)));
        QCOMPARE(knownList(c), QStringList{QStringLiteral("1.2.3.4=1.2.3.4:7200:n:UDP")});
        QVERIFY(!c.updateKnownDevice(recent("1.2.3.4", 7300, 0)));

        QVERIFY(c.addKnownDevice(recent("2.2.2.2", 7001, 1)));
        QCOMPARE(c.findKnownDevice(QHostAddress(QStringLiteral("2.2.2.2"))),
                 known("2.2.2.2", 7001, QString(), true));
    }

    void readsFromAnyDevice()
    {
        Configuration c(QStringLiteral("unused.xml"));
        QByteArray bytes = readAll(goldenPath("full.xml"));
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        c.readConfiguration(buffer);
        QCOMPARE(c.toXml(), readAll(goldenPath("full.xml")));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestConfiguration)
#include "tst_configuration.moc"
