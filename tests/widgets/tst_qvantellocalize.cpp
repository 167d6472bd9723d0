#include "widgets/qvantellocalize.h"

#include "link/codecconfig.h"
#include "link/protocolkeys.h"
#include "link/sharedobjects.h"
#include "model/deviceoptionword.h"

#include <QBuffer>
#include <QFile>
#include <QResource>
#include <QTest>

namespace {

QVantelLocalize::TextMap parse(const QByteArray &text)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    QVantelLocalize::TextMap texts;
    QVantelLocalize::readLocale(buffer, texts);
    return texts;
}

} // namespace

class TestQVantelLocalize : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        destroySharedObjects();
        deviceOptionWord = 0;
    }

    void readsRows_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");

        QTest::newRow("plain") << QByteArray("on:On\n") << QByteArray("on") << QByteArray("On");
        QTest::newRow("two colons")
            << QByteArray("time:at 12:30\n") << QByteArray("time") << QByteArray("at 12:30");
        QTest::newRow("blanks simplified")
            << QByteArray("   select  line! :   two   blanks\there  \n")
            << QByteArray("select line! ") << QByteArray(" two blanks here");
        QTest::newRow("blank after colon kept")
            << QByteArray("138-error display line2: account not usable")
            << QByteArray("138-error display line2") << QByteArray(" account not usable");
        QTest::newRow("empty text")
            << QByteArray("empty:\n") << QByteArray("empty") << QByteArray();
        QTest::newRow("crlf") << QByteArray("idle:Idle\r\n") << QByteArray("idle")
                              << QByteArray("Idle");
        QTest::newRow("non-ascii bytes kept")
            << QByteArray("quote:\xe2\x80\x9cx\xe2\x80\x9d\n") << QByteArray("quote")
            << QByteArray("\xe2\x80\x9cx\xe2\x80\x9d");
    }

    void readsRows()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        const QVantelLocalize::TextMap texts = parse(text);
        QCOMPARE(texts.size(), size_t(1));
        QCOMPARE(QByteArray::fromStdString(texts.begin()->first), key);
        QCOMPARE(QByteArray::fromStdString(texts.begin()->second), value);
    }

    void skipsLinesWithoutRows()
    {
        const QVantelLocalize::TextMap texts
            = parse("   \n\n# comment:with colon\nno colon here\n\t\nkey:text");
        QCOMPARE(texts.size(), size_t(1));
        QCOMPARE(texts.at("key"), std::string("text"));
    }

    void firstRowOfAKeyWins()
    {
        const QVantelLocalize::TextMap texts
            = parse("output_level:Line Out Level\nother:x\noutput_level:Output Level\n");
        QCOMPARE(texts.at("output_level"), std::string("Line Out Level"));
    }

    void resourceHoldsEveryRow()
    {
        QFile file(QStringLiteral(":/locale/English.locale"));
        QVERIFY(localize());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray all = file.readAll();
        QCOMPARE(all.count('\n'), 1224);
        QVERIFY(all.endsWith('\n'));
        QVERIFY(!all.contains('\r'));
        for (const char c : all)
            QVERIFY2(static_cast<unsigned char>(c) < 0x80, "the table is ASCII");
        // Stored as it is, so that the table can be read straight from the program image.
        QCOMPARE(QResource(QStringLiteral(":/locale/English.locale")).compressionAlgorithm(),
                 QResource::NoCompression);
        // One duplicate key: 1223 distinct keys.
        QCOMPARE(localize()->texts().size(), size_t(1223));
    }

    void quotedTexts_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        const char *const rows[][2] = {
            {"codec_mode", "Codec Mode"},
            {"on", "On"},
            {"117-timeout", "Timeout"},
            {"121-no incoming call pending", "Call aborted"},
            {"131-mobile data service processing", "Mob data processing"},
            {"103-parameter set error", "103 Internal"},
            {"204-unknown command", "204 Internal"},
            {"protocol_klem", "KLEM Protocol"},
            {"output_level", "Line Out Level"},
            {"138-error display line1", "Factory SIP"},
            {"138-error display line2", " account not usable"},
            {"139-error display line2", "compatible with SIP 1"},
            {"140-error display line2", "consistent with SIP 2"},
            {"141-error display line1", "SIP 1"},
            {"data connected", "Mobile Connected"},
            {"wifi disconnected", "Wi-Fi Disconnected"},
            {"release connection?", "Release Connection?"},
            {"call sent", "Call sent"},
            {"http_system_update_text", "System update started ... Do not turn off the unit!"},
        };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
    }

    void quotedTexts()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QCOMPARE(localize()->localizedText(key.toStdString()), text);
    }

    void unknownKeysShowThemselves()
    {
        QCOMPARE(localize()->localizedText(std::string("no such key")),
                 QStringLiteral("no such key"));
        // No trimming and no case folding.
        QCOMPARE(localize()->localizedText(std::string("On")), QStringLiteral("On"));
        QCOMPARE(localize()->localizedText(std::string(" on")), QStringLiteral(" on"));
        // Device text is UTF-8: a two-byte Latin-1 character comes out as one character.
        QCOMPARE(localize()->localizedText(std::string("caf\xc3\xa9")),
                 QString::fromLatin1("caf\xe9"));
    }

    void everyCauseHasItsRow()
    {
        for (int code = -1; code <= 206; ++code) {
            const std::string &key = causeText(code);
            QVERIFY2(localize()->texts().count(key) == 1, key.c_str());
        }
        QCOMPARE(localize()->localizedText(117), QStringLiteral("Timeout"));
        QCOMPARE(localize()->localizedText(0), QStringLiteral("200 Internal"));
        QCOMPARE(localize()->localizedText(99), QStringLiteral("200 Internal"));
        QCOMPARE(localize()->localizedText(205), QStringLiteral("200 Internal"));
    }

    void accessorIsOneInstanceUntilReset()
    {
        QVantelLocalize *first = localize();
        QCOMPARE(localize(), first);
        QVERIFY(sharedObjectCount() >= 1);
        destroySharedObjects();
        QCOMPARE(sharedObjectCount(), 0);
        QVERIFY(!localize()->texts().empty());
    }

    void interfaceNames_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<quint32>("options");
        QTest::addColumn<QString>("name");
        const quint32 internal = QVantelLocalize::kOptionInternalMobile;
        QTest::newRow("eth 0") << 0x100 << 0u << "Ethernet";
        QTest::newRow("eth aux") << 0x101 << 0u << "Ethernet (aux)";
        QTest::newRow("eth ext") << 0x102 << 0u << "Ethernet (ext 1)";
        QTest::newRow("eth ext 3") << 0x104 << 0u << "Ethernet (ext 3)";
        QTest::newRow("isdn") << 0x205 << 0u << "ISDN";
        QTest::newRow("mobile") << 0x300 << 0u << "Mobile";
        QTest::newRow("mobile ext") << 0x302 << 0u << "Mobile (ext 2)";
        QTest::newRow("mobile int 1") << 0x300 << internal << "Mobile (int 1)";
        QTest::newRow("mobile int 2") << 0x301 << internal << "Mobile (int 2)";
        QTest::newRow("mobile int ext") << 0x302 << internal << "Mobile (ext 1)";
        QTest::newRow("wifi") << 0x401 << 0u << "Wi-Fi (ext 2)";
        QTest::newRow("none") << 0xFFFF << 0u << "Invalid";
        QTest::newRow("aoip") << 0 << 0u << "Invalid";
        QTest::newRow("negative") << -1 << 0u << "Invalid";
    }

    void interfaceNames()
    {
        QFETCH(int, code);
        QFETCH(quint32, options);
        QFETCH(QString, name);
        QCOMPARE(QVantelLocalize::interfaceName(code, options), name);
        deviceOptionWord = options;
        QCOMPARE(QVantelLocalize::interfaceName(code), name);
    }

    void codecAndModeNames()
    {
        QCOMPARE(QVantelLocalize::codecName(0), QStringLiteral("G.711 A-Law"));
        QCOMPARE(QVantelLocalize::codecName(13), QStringLiteral("Celp"));
        QCOMPARE(QVantelLocalize::codecName(17), QStringLiteral("Mobile Voice"));
        QCOMPARE(QVantelLocalize::codecName(18), QStringLiteral("Phone"));
        QCOMPARE(QVantelLocalize::codecName(28), QStringLiteral("AAC ELD"));
        QCOMPARE(QVantelLocalize::codecName(29), QStringLiteral("Invalid"));
        QCOMPARE(QVantelLocalize::codecName(-1), QStringLiteral("Invalid"));
        QCOMPARE(QVantelLocalize::channelModeName(3), QStringLiteral("J-Stereo"));
        QCOMPARE(QVantelLocalize::channelModeName(4), QStringLiteral("Invalid"));
    }

    void codingSummary_data()
    {
        QTest::addColumn<int>("algorithm");
        QTest::addColumn<int>("sampleRate");
        QTest::addColumn<int>("channelMode");
        QTest::addColumn<int>("bitRate");
        QTest::addColumn<int>("fec");
        QTest::addColumn<QString>("summary");
        QTest::newRow("mpeg l2") << 9 << 48000 << 2 << 256000 << 1
                                 << "MPEG L2 48kHz Stereo 256kbit/s FEC:1";
        QTest::newRow("bare g722") << 3 << 48000 << 2 << 64000 << 1 << "G.722";
        QTest::newRow("celp without fec") << 13 << 16000 << 0 << 24000 << -1 << "Celp";
        QTest::newRow("celp with fec")
            << 13 << 16000 << 0 << 24000 << 2 << "Celp 16kHz Mono 24kbit/s FEC:P2";
        QTest::newRow("j52 negative fec")
            << 8 << 32000 << 1 << 64000 << -1 << "MPEG L2 J.52 32kHz Dual Mono 64kbit/s FEC:-1";
        QTest::newRow("mpeg l2 no fec")
            << 9 << 48000 << 0 << 128000 << -1 << "MPEG L2 48kHz Mono 128kbit/s";
        QTest::newRow("odd bit rate")
            << 14 << 44100 << 2 << 64500 << -1 << "AAC LC 44kHz Stereo 64500bit/s";
        QTest::newRow("no rates") << 19 << 0 << 7 << 0 << -1 << "Opus Invalid";
    }

    void codingSummary()
    {
        QFETCH(int, algorithm);
        QFETCH(int, sampleRate);
        QFETCH(int, channelMode);
        QFETCH(int, bitRate);
        QFETCH(int, fec);
        QFETCH(QString, summary);
        TCodecConfig config;
        config.algorithm = algorithm;
        config.sampleRate = sampleRate;
        config.channelMode = channelMode;
        config.bitRate = bitRate;
        config.fec = qint16(fec);
        QCOMPARE(QVantelLocalize::codingSummary(config), summary);
    }

    void inputNames_data()
    {
        QTest::addColumn<int>("input");
        QTest::addColumn<quint32>("options");
        QTest::addColumn<QString>("name");
        QTest::newRow("input 1") << 0 << 0u << "INPUT 1";
        QTest::newRow("aux 2") << 5 << 0u << "AUX 2";
        QTest::newRow("usb") << 8 << 0u << "USB";
        QTest::newRow("rav 1") << 9 << 0u << "RAV. 1";
        QTest::newRow("dante 1") << 9 << 0x400u << "DNT. 1";
        QTest::newRow("rav 3") << 14 << 0u << "RAV. 3";
        QTest::newRow("dante 6") << 18 << 0x400u << "DNT. 6";
        QTest::newRow("mobile") << 11 << 0u << "MOBILE";
        QTest::newRow("program return") << 12 << 0u << "PROGRAM\nRETURN";
        QTest::newRow("program return 19") << 19 << 0u << "PROGRAM\nRETURN";
        QTest::newRow("coord return") << 13 << 0u << "COORD\nRETURN";
        QTest::newRow("program 24") << 24 << 0u << "PROGRAM";
        QTest::newRow("coord") << 21 << 0u << "COORD";
        QTest::newRow("side tone") << 29 << 0u << "SIDE\nTONE";
        QTest::newRow("17") << 17 << 0u << "Invalid";
        QTest::newRow("25") << 25 << 0u << "Invalid";
        QTest::newRow("30") << 30 << 0u << "Invalid";
        QTest::newRow("negative") << -1 << 0x400u << "Invalid";
    }

    void inputNames()
    {
        QFETCH(int, input);
        QFETCH(quint32, options);
        QFETCH(QString, name);
        QCOMPARE(QVantelLocalize::inputName(input, options), name);
        deviceOptionWord = options;
        QCOMPARE(QVantelLocalize::inputName(input), name);
    }
};

QTEST_MAIN(TestQVantelLocalize)
#include "tst_qvantellocalize.moc"
