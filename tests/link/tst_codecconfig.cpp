#include "link/codecconfig.h"

#include <QTest>

Q_DECLARE_METATYPE(TCodecConfig)

char *toString(const TCodecConfig &config)
{
    return qstrdup(QByteArray("{" + QByteArray::number(config.algorithm) + ", "
                              + QByteArray::number(config.sampleRate) + ", "
                              + QByteArray::number(config.channelMode) + ", "
                              + QByteArray::number(config.bitRate) + ", "
                              + QByteArray::number(config.fec) + "}")
                       .constData());
}

namespace {

TCodecConfig config(int algorithm, int sampleRate, int channelMode, int bitRate, int fec)
{
    TCodecConfig result;
    result.algorithm = algorithm;
    result.sampleRate = sampleRate;
    result.channelMode = channelMode;
    result.bitRate = bitRate;
    result.fec = static_cast<qint16>(fec);
    return result;
}

std::string bytes(const QByteArray &data)
{
    return std::string(data.constData(), static_cast<size_t>(data.size()));
}

} // namespace

class tst_CodecConfig : public QObject
{
    Q_OBJECT

private slots:
    void names();
    void channelModesAndFec();
    void write_data();
    void write();
    void read_data();
    void read();
    void equality();
};

void tst_CodecConfig::names()
{
    const char *expected[]
        = {"PCMA",        "PCMU",          "G711",    "G722",   "G722-SRT", "G722-H242",
           "G722-H221",   "4SB",           "MPA2",    "MPA2P",  "TDAC",     "TDAC_G722",
           "G722_TDAC",   "CELP",          "AAC-lbr", "AAC-he", "AAC-hev2", "GSM",
           "Phone",       "OPUS",          "L16",     "L20",    "L24",      "AAC-lbr-loas",
           "AAC-he-loas", "AAC-hev2-loas", "MPA3",    "AAC-ld", "AAC-eld"};
    for (int id = 0; id < 29; ++id) {
        QCOMPARE(codecToString(id), std::string(expected[id]));
        QCOMPARE(codecFromString(expected[id]), id);
    }
    QCOMPARE(codecToString(-1), std::string());
    QCOMPARE(codecToString(29), std::string());
    QCOMPARE(codecFromString("mpa2"), -1);
    QCOMPARE(codecFromString(""), -1);
    QCOMPARE(codecFromString("MPA2 "), -1);
}

void tst_CodecConfig::channelModesAndFec()
{
    const char *words[] = {"mono", "dmono", "stereo", "jstereo"};
    for (int mode = 0; mode < 4; ++mode) {
        QCOMPARE(channelModeToString(mode), std::string(words[mode]));
        QCOMPARE(channelModeFromString(words[mode]), mode);
    }
    QCOMPARE(channelModeToString(-1), std::string());
    QCOMPARE(channelModeToString(4), std::string());
    QCOMPARE(channelModeFromString("Stereo"), -1);

    QCOMPARE(fecFromString("P3"), qint16(3));
    QCOMPARE(fecFromString("3"), qint16(3));
    QCOMPARE(fecFromString("PP3"), qint16(0));
    QCOMPARE(fecFromString(""), qint16(0));
    QCOMPARE(fecFromString("P"), qint16(0));
}

void tst_CodecConfig::write_data()
{
    QTest::addColumn<TCodecConfig>("config");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("MPA2 with fec 0")
        << config(8, 48000, 2, 256000, 0) << QByteArray("MPA2/48000/stereo/256000/0");
    QTest::newRow("MPA2 with fec -1")
        << config(8, 48000, 2, 256000, -1) << QByteArray("MPA2/48000/stereo/256000/-1");
    QTest::newRow("CELP with fec")
        << config(13, 16000, 0, 24000, 3) << QByteArray("CELP/16000/mono/24000/P3");
    QTest::newRow("CELP without fec") << config(13, 16000, 0, 24000, -1) << QByteArray("CELP");
    QTest::newRow("MPA2P fec 0 dropped")
        << config(9, 48000, 3, 128000, 0) << QByteArray("MPA2P/48000/jstereo/128000");
    QTest::newRow("MPA2P fec 2") << config(9, 48000, 3, 128000, 2)
                                 << QByteArray("MPA2P/48000/jstereo/128000/2");
    QTest::newRow("4SB") << config(7, 32000, 1, 64000, 5) << QByteArray("4SB/32000/dmono/64000");
    QTest::newRow("AAC-hev2") << config(16, 48000, 2, 48000, -1)
                              << QByteArray("AAC-hev2/48000/stereo/48000");
    QTest::newRow("OPUS") << config(19, 48000, 0, 64000, -1) << QByteArray("OPUS/48000/mono/64000");
    QTest::newRow("AAC-eld") << config(28, 48000, 2, 128000, -1)
                             << QByteArray("AAC-eld/48000/stereo/128000");
    QTest::newRow("G722 name alone") << config(3, 48000, 0, 64000, 2) << QByteArray("G722");
    QTest::newRow("TDAC name alone") << config(10, 32000, 2, 64000, -1) << QByteArray("TDAC");
    QTest::newRow("GSM name alone") << config(17, 8000, 0, 13000, -1) << QByteArray("GSM");
    QTest::newRow("Phone name alone") << config(18, -1, 0, -1, -1) << QByteArray("Phone");
    QTest::newRow("no algorithm") << config(-1, 48000, 0, 64000, -1) << QByteArray();
}

void tst_CodecConfig::write()
{
    QFETCH(TCodecConfig, config);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(codecConfigToString(config)), text);
}

void tst_CodecConfig::read_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<TCodecConfig>("config");

    const TCodecConfig start = config(-1, -1, 0, -1, -1);
    QTest::newRow("empty") << QByteArray() << start;
    QTest::newRow("slashes only") << QByteArray("///") << start;
    QTest::newRow("G722 defaults") << QByteArray("G722") << config(3, 48000, 0, 64000, -1);
    QTest::newRow("PCMA defaults") << QByteArray("PCMA") << config(0, 48000, 0, 64000, -1);
    QTest::newRow("TDAC defaults") << QByteArray("TDAC") << config(10, 32000, 0, 64000, -1);
    QTest::newRow("TDAC_G722 defaults") << QByteArray("TDAC_G722") << config(11, -1, 0, 64000, -1);
    QTest::newRow("CELP defaults") << QByteArray("CELP") << config(13, 16000, 0, 24000, -1);
    QTest::newRow("OPUS has no defaults") << QByteArray("OPUS") << config(19, -1, 0, -1, -1);
    QTest::newRow("MPA2 full") << QByteArray("MPA2/48000/stereo/256000/0")
                               << config(8, 48000, 2, 256000, 0);
    QTest::newRow("MPA2 too few fields") << QByteArray("MPA2/48000") << config(8, -1, 0, -1, -1);
    QTest::newRow("unknown algorithm") << QByteArray("XYZ/48000/stereo/256000") << start;
    QTest::newRow("CELP fec drops its first character")
        << QByteArray("CELP/16000/mono/24000/P3") << config(13, 16000, 0, 24000, 3);
    QTest::newRow("other fec read whole")
        << QByteArray("MPA2P/48000/jstereo/128000/P3") << config(9, 48000, 3, 128000, 0);
    QTest::newRow("unknown channel word")
        << QByteArray("OPUS/48000/quad/64000") << config(19, 48000, -1, 64000, -1);
    QTest::newRow("empty fields vanish")
        << QByteArray("/OPUS//48000/mono//64000/") << config(19, 48000, 0, 64000, -1);
    QTest::newRow("extra fields ignored")
        << QByteArray("MPA2/48000/stereo/256000/1/9/9") << config(8, 48000, 2, 256000, 1);
    QTest::newRow("bad numbers read as 0")
        << QByteArray("AAC-ld/48k/mono/x") << config(27, 0, 0, 0, -1);
}

void tst_CodecConfig::read()
{
    QFETCH(QByteArray, text);
    QFETCH(TCodecConfig, config);
    QCOMPARE(codecConfigFromString(bytes(text)), config);
}

void tst_CodecConfig::equality()
{
    const TCodecConfig base = config(8, 48000, 2, 256000, 0);
    QVERIFY(base == config(8, 48000, 2, 256000, 0));
    QVERIFY(base != config(9, 48000, 2, 256000, 0));
    QVERIFY(base != config(8, 44100, 2, 256000, 0));
    QVERIFY(base != config(8, 48000, 3, 256000, 0));
    QVERIFY(base != config(8, 48000, 2, 128000, 0));
    QVERIFY(base != config(8, 48000, 2, 256000, 1));

    // A written setting reads back, except that MPA2P loses a fec of 0.
    for (const TCodecConfig &written : {base,
                                        config(13, 16000, 0, 24000, 3),
                                        config(19, 48000, 2, 96000, -1),
                                        config(3, 48000, 0, 64000, -1)}) {
        QCOMPARE(codecConfigFromString(codecConfigToString(written)), written);
    }
    QCOMPARE(codecConfigFromString(codecConfigToString(config(9, 48000, 2, 256000, 0))),
             config(9, 48000, 2, 256000, -1));
}

QTEST_GUILESS_MAIN(tst_CodecConfig)
#include "tst_codecconfig.moc"
