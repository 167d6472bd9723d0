#include "model/audiosettings.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/rpcconnection.h"
#include "link/sharedobjects.h"
#include "model/firmwareversion.h"
#include "tests/model/linkedfake.h"
#include "tests/support/fakequorix.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const QString kAudio = QStringLiteral("audio");

// The stored value of a parameter, as a QVariant of the field's type.
QVariant valueOf(const TAudioSettings &s, int param)
{
    switch (param) {
    case TAudioSettings::Input1Gain:
        return s.input1Gain();
    case TAudioSettings::Input1Power:
        return s.input1Power();
    case TAudioSettings::Input1Limiter:
        return s.input1Limiter();
    case TAudioSettings::Input2Gain:
        return s.input2Gain();
    case TAudioSettings::Input2Power:
        return s.input2Power();
    case TAudioSettings::Input2Limiter:
        return s.input2Limiter();
    case TAudioSettings::Input2Pair:
        return s.input2Pair();
    case TAudioSettings::Input3Gain:
        return s.input3Gain();
    case TAudioSettings::Input3Power:
        return s.input3Power();
    case TAudioSettings::Input3Level:
        return s.input3Level();
    case TAudioSettings::Input3Limiter:
        return s.input3Limiter();
    case TAudioSettings::Input3Filter:
        return s.input3Filter();
    case TAudioSettings::Input3Pad:
        return s.input3Pad();
    case TAudioSettings::Input4Gain:
        return s.input4Gain();
    case TAudioSettings::Input4Level:
        return s.input4Level();
    case TAudioSettings::Input4Limiter:
        return s.input4Limiter();
    case TAudioSettings::Input4Filter:
        return s.input4Filter();
    case TAudioSettings::Input4Pad:
        return s.input4Pad();
    case TAudioSettings::Input4Pair:
        return s.input4Pair();
    case TAudioSettings::LineOutputLevel:
        return s.lineOutputLevel();
    case TAudioSettings::LineOutput2Level:
        return s.lineOutput2Level();
    case TAudioSettings::LimiterThreshold:
        return s.limiterThreshold();
    case TAudioSettings::InputSource:
        return s.inputSource();
    case TAudioSettings::WaveFile:
        return QString::fromStdString(s.waveFile());
    case TAudioSettings::WaveScut:
        return s.waveScut();
    case TAudioSettings::DrcState:
        return s.drcState();
    case TAudioSettings::DrcLimThreshold:
        return s.drcLimThreshold();
    case TAudioSettings::DrcThresholdCmp:
        return s.drcThresholdCmp();
    case TAudioSettings::DrcRatioCmp:
        return s.drcRatioCmp();
    case TAudioSettings::DrcAttack:
        return s.drcAttack();
    case TAudioSettings::AuxPair:
        return s.auxPair();
    case TAudioSettings::AesPair:
        return s.aesPair();
    case TAudioSettings::RavInPair:
        return s.ravInPair();
    case TAudioSettings::RavOuPair:
        return s.ravOuPair();
    case TAudioSettings::LinePair:
        return s.linePair();
    default:
        return {};
    }
}

// Calls the typed setter of a parameter.
bool setValue(TAudioSettings &s, int param, const QVariant &v, bool send)
{
    switch (param) {
    case TAudioSettings::Input1Gain:
        return s.setInput1Gain(v.toInt(), send);
    case TAudioSettings::Input1Power:
        return s.setInput1Power(v.toBool(), send);
    case TAudioSettings::Input3Pad:
        return s.setInput3Pad(v.toBool(), send);
    case TAudioSettings::LineOutputLevel:
        return s.setLineOutputLevel(v.toInt(), send);
    case TAudioSettings::LineOutput2Level:
        return s.setLineOutput2Level(v.toInt(), send);
    case TAudioSettings::LimiterThreshold:
        return s.setLimiterThreshold(v.toInt(), send);
    case TAudioSettings::InputSource:
        return s.setInputSource(v.toInt(), send);
    case TAudioSettings::WaveFile:
        return s.setWaveFile(v.toString().toStdString(), send);
    case TAudioSettings::WaveScut:
        return s.setWaveScut(v.toBool(), send);
    case TAudioSettings::DrcRatioCmp:
        return s.setDrcRatioCmp(v.toFloat(), send);
    case TAudioSettings::DrcAttack:
        return s.setDrcAttack(v.toInt(), send);
    case TAudioSettings::DrcLimThreshold:
        return s.setDrcLimThreshold(v.toInt(), send);
    case TAudioSettings::LinePair:
        return s.setLinePair(v.toBool(), send);
    default:
        return false;
    }
}

} // namespace

class tst_AudioSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void defaults();
    void fromText_data();
    void fromText();
    void deviceOnlyKeys();
    void writeWords_data();
    void writeWords();
    void unchangedValueSendsNothing();
    void refusedWriteKeepsValue();
    void audioProfileHasNoSignal();
    void readAllKeys_data();
    void readAllKeys();
    void readAppliesReportedValues();
    void startReadsSilently();
    void startFailsWhenReadFails();
    void resetRestoresDefaults();
    void infoChangeset();
    void accessorIsShared();

private:
    LinkedFake m_link;
};

void tst_AudioSettings::init()
{
    firmwareVersion = kFirmwareVersionUnknown;
    QVERIFY(m_link.start());
}

void tst_AudioSettings::cleanup()
{
    m_link.stop();
}

void tst_AudioSettings::defaults()
{
    TAudioSettings s(nullptr);
    QCOMPARE(s.state(), int(TComController::StateUnknown));
    QCOMPARE(s.type(), int(TComController::GeneralController));
    QCOMPARE(s.lineOutputLevel(), 16);
    QCOMPARE(s.lineOutput2Level(), 16);
    QCOMPARE(s.limiterThreshold(), -9);
    QCOMPARE(s.drcLimThreshold(), -2);
    QCOMPARE(s.drcThresholdCmp(), -3);
    QCOMPARE(s.drcRatioCmp(), 2.0F);
    QCOMPARE(s.inputSource(), int(TAudioSettings::SourceAnalog));
    QVERIFY(!s.auxiliaryBoard());
    QVERIFY(s.audioProfile().empty());
    QCOMPARE(TAudioSettings::paramKey(TAudioSettings::LinePair), std::string("line_pair"));
    QVERIFY(TAudioSettings::paramKey(35).empty());
    QVERIFY(TAudioSettings::paramKey(-1).empty());
}

void tst_AudioSettings::fromText_data()
{
    QTest::addColumn<int>("param");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<QString>("before"); // a text applied first, so that the result is a change

    using A = TAudioSettings;
    QTest::newRow("gain") << int(A::Input1Gain) << "12" << QVariant(12) << QString();
    QTest::newRow("gain negative") << int(A::Input3Gain) << "-6" << QVariant(-6) << QString();
    QTest::newRow("gain empty") << int(A::Input2Gain) << "" << QVariant(0) << QStringLiteral("4");
    QTest::newRow("gain not a number")
        << int(A::Input4Gain) << "abc" << QVariant(0) << QStringLiteral("4");
    QTest::newRow("level empty") << int(A::LineOutputLevel) << "" << QVariant(16)
                                 << QStringLiteral("3");
    QTest::newRow("level not a number")
        << int(A::LineOutputLevel) << "abc" << QVariant(0) << QStringLiteral("3");
    QTest::newRow("level2 empty") << int(A::LineOutput2Level) << "" << QVariant(16)
                                  << QStringLiteral("3");
    QTest::newRow("limiter threshold empty")
        << int(A::LimiterThreshold) << "" << QVariant(-9) << QStringLiteral("1");
    QTest::newRow("drc limit empty")
        << int(A::DrcLimThreshold) << "" << QVariant(-2) << QStringLiteral("1");
    QTest::newRow("drc threshold empty")
        << int(A::DrcThresholdCmp) << "" << QVariant(-3) << QStringLiteral("1");
    QTest::newRow("ratio") << int(A::DrcRatioCmp) << "1.5" << QVariant(1.5F) << QString();
    QTest::newRow("ratio empty") << int(A::DrcRatioCmp) << "" << QVariant(2.0F)
                                 << QStringLiteral("3");
    QTest::newRow("attack 1") << int(A::DrcAttack) << "1" << QVariant(1) << QString();
    QTest::newRow("attack 2") << int(A::DrcAttack) << "2" << QVariant(2) << QString();
    QTest::newRow("attack 3") << int(A::DrcAttack) << "3" << QVariant(0) << QStringLiteral("2");
    QTest::newRow("attack empty") << int(A::DrcAttack) << "" << QVariant(0) << QStringLiteral("1");
    QTest::newRow("power 48V") << int(A::Input1Power) << "48V" << QVariant(true) << QString();
    QTest::newRow("power on") << int(A::Input1Power) << "on" << QVariant(false)
                              << QStringLiteral("48V");
    QTest::newRow("power empty") << int(A::Input3Power) << "" << QVariant(false)
                                 << QStringLiteral("48V");
    QTest::newRow("switch on") << int(A::Input3Limiter) << "on" << QVariant(true) << QString();
    QTest::newRow("switch ON") << int(A::Input3Limiter) << "ON" << QVariant(false)
                               << QStringLiteral("on");
    QTest::newRow("switch off") << int(A::Input4Pad) << "off" << QVariant(false)
                                << QStringLiteral("on");
    QTest::newRow("pair on") << int(A::LinePair) << "on" << QVariant(true) << QString();
    QTest::newRow("source digital") << int(A::InputSource) << "digital" << QVariant(1) << QString();
    QTest::newRow("source DIGITAL")
        << int(A::InputSource) << "DIGITAL" << QVariant(0) << QStringLiteral("digital");
    QTest::newRow("source analog")
        << int(A::InputSource) << "analog" << QVariant(0) << QStringLiteral("digital");
    QTest::newRow("wave file") << int(A::WaveFile) << "take 1.wav"
                               << QVariant(QStringLiteral("take 1.wav")) << QString();
    QTest::newRow("wave file empty")
        << int(A::WaveFile) << "" << QVariant(QString()) << QStringLiteral("w");
}

void tst_AudioSettings::fromText()
{
    QFETCH(int, param);
    QFETCH(QString, text);
    QFETCH(QVariant, expected);
    QFETCH(QString, before);

    TAudioSettings s(nullptr);
    const std::string key = TAudioSettings::paramKey(param);
    if (!before.isEmpty())
        QVERIFY(s.applyParams({{key, before.toStdString()}}));
    QVERIFY(valueOf(s, param) != expected);
    QSignalSpy spy(&s, &TAudioSettings::controllerParamChanged);

    QVERIFY(s.applyParams({{key, text.toStdString()}}));
    QCOMPARE(valueOf(s, param), expected);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(1).value<TAudioSettings::CtlrParam>(), TAudioSettings::CtlrParam(param));
}

void tst_AudioSettings::deviceOnlyKeys()
{
    TAudioSettings s(nullptr);
    QSignalSpy spy(&s, &TAudioSettings::controllerParamChanged);
    QVERIFY(
        s.applyParams({{"auxiliary_board", "yes"}, {"audio_profile", "Studio"}, {"bogus", "1"}}));
    QVERIFY(s.auxiliaryBoard());
    QCOMPARE(s.audioProfile(), std::string("Studio"));
    QVERIFY(s.applyParams({{"auxiliary_board", "Yes"}}));
    QVERIFY(!s.auxiliaryBoard());
    QCOMPARE(spy.count(), 0);
}

void tst_AudioSettings::writeWords_data()
{
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<int>("param");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("wire"); // null: nothing is sent

    using A = TAudioSettings;
    const quint32 any = kFirmwareVersionUnknown;
    QTest::newRow("gain") << any << int(A::Input1Gain) << QVariant(5) << "5";
    QTest::newRow("threshold") << any << int(A::LimiterThreshold) << QVariant(-12) << "-12";
    QTest::newRow("phantom power") << any << int(A::Input1Power) << QVariant(true) << "48V";
    QTest::newRow("switch") << any << int(A::Input3Pad) << QVariant(true) << "on";
    QTest::newRow("pair") << any << int(A::LinePair) << QVariant(true) << "on";
    QTest::newRow("ratio whole") << any << int(A::DrcRatioCmp) << QVariant(4.0F) << "4";
    QTest::newRow("ratio fraction") << any << int(A::DrcRatioCmp) << QVariant(2.5F) << "2.5";
    QTest::newRow("attack") << any << int(A::DrcAttack) << QVariant(2) << "2";
    QTest::newRow("level2 on 1.6.255")
        << 0x106ffU << int(A::LineOutput2Level) << QVariant(12) << QString();
    QTest::newRow("level2 on 1.7.0")
        << 0x10700U << int(A::LineOutput2Level) << QVariant(12) << "12";
    QTest::newRow("source 1 on 1.6.255")
        << 0x106ffU << int(A::InputSource) << QVariant(1) << QString();
    QTest::newRow("source 1") << 0x10700U << int(A::InputSource) << QVariant(1) << "digital";
    QTest::newRow("source 2") << 0x10700U << int(A::InputSource) << QVariant(2) << "analog";
    QTest::newRow("wave file old")
        << 0x10600U << int(A::WaveFile) << QVariant(QStringLiteral("a.wav")) << QString();
    QTest::newRow("wave file") << 0x10700U << int(A::WaveFile) << QVariant(QStringLiteral("a.wav"))
                               << "a.wav";
    QTest::newRow("wave scut on 1.9.255")
        << 0x109ffU << int(A::WaveScut) << QVariant(true) << QString();
    QTest::newRow("wave scut on 1.10.0") << 0x10a00U << int(A::WaveScut) << QVariant(true) << "on";
}

void tst_AudioSettings::writeWords()
{
    QFETCH(quint32, firmware);
    QFETCH(int, param);
    QFETCH(QVariant, value);
    QFETCH(QString, wire);

    firmwareVersion = firmware;
    TAudioSettings s(m_link.com.get());
    QSignalSpy spy(&s, &TAudioSettings::controllerParamChanged);

    QVERIFY(setValue(s, param, value, true));
    QCOMPARE(valueOf(s, param), value);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(1).value<TAudioSettings::CtlrParam>(), TAudioSettings::CtlrParam(param));

    const QList<FakeRequest> requests = m_link.fake->requests();
    if (wire.isNull()) {
        QCOMPARE(requests.size(), 0);
        return;
    }
    QCOMPARE(requests.size(), 1);
    const FakeRequest &request = requests.first();
    QCOMPARE(request.message.params.size(), 2);
    QCOMPARE(request.target(), kAudio);
    QVERIFY(request.isSetOf(QString::fromStdString(TAudioSettings::paramKey(param)), wire));
    QCOMPARE(m_link.fake->value(QString::fromStdString(TAudioSettings::paramKey(param)), kAudio),
             wire);
}

void tst_AudioSettings::unchangedValueSendsNothing()
{
    TAudioSettings s(m_link.com.get());
    QSignalSpy spy(&s, &TAudioSettings::controllerParamChanged);
    QVERIFY(s.setLineOutputLevel(16, true));
    QVERIFY(s.setInput1Power(false, true));
    QVERIFY(s.setDrcRatioCmp(2.0F, true));
    QVERIFY(s.setWaveFile(std::string(), true));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(m_link.fake->requestCount(), 0);
}

void tst_AudioSettings::refusedWriteKeepsValue()
{
    TAudioSettings s(m_link.com.get());
    QSignalSpy spy(&s, &TAudioSettings::controllerParamChanged);
    m_link.fake->refuseKey(QStringLiteral("input2_gain"), QStringLiteral("015-not allowed"));
    m_link.fake->refuseKey(QStringLiteral("wave_file"), QStringLiteral("015-not allowed"));

    QVERIFY(!s.setInput2Gain(7, true));
    QCOMPARE(s.input2Gain(), 0);
    QVERIFY(!s.setWaveFile("x.wav", true));
    QVERIFY(s.waveFile().empty());
    QCOMPARE(spy.count(), 0);

    // Without a connection the write fails the same way.
    m_link.com->disconnect();
    QVERIFY(!s.setInput1Limiter(true, true));
    QVERIFY(!s.input1Limiter());
    QCOMPARE(spy.count(), 0);

    // Without sending the value is stored whatever the link does.
    QVERIFY(s.setInput1Limiter(true, false));
    QVERIFY(s.input1Limiter());
    QCOMPARE(spy.count(), 1);
}

void tst_AudioSettings::audioProfileHasNoSignal()
{
    TAudioSettings s(m_link.com.get());
    QSignalSpy spy(&s, &TAudioSettings::controllerParamChanged);
    firmwareVersion = 0x10000; // no gate applies to the profile
    QVERIFY(s.setAudioProfile("Speech", true));
    QCOMPARE(s.audioProfile(), std::string("Speech"));
    QCOMPARE(m_link.fake->value(QStringLiteral("audio_profile"), kAudio), QStringLiteral("Speech"));
    QCOMPARE(spy.count(), 0);

    m_link.fake->refuseKey(QStringLiteral("audio_profile"), QStringLiteral("015-not allowed"));
    QVERIFY(!s.setAudioProfile("Music", true));
    QCOMPARE(s.audioProfile(), std::string("Speech"));
}

void tst_AudioSettings::readAllKeys_data()
{
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    QTest::newRow("unknown") << kFirmwareVersionUnknown << 37
                             << QStringList{"wave_scut", "line_pair", "input2_pair"}
                             << QStringList{};
    QTest::newRow("1.6.255") << 0x106ffU << 26 << QStringList{"drc_attack", "auxiliary_board"}
                             << QStringList{"line_output2_level", "input_source"};
    QTest::newRow("1.7.0") << 0x10700U << 29
                           << QStringList{"line_output2_level", "input_source", "wave_file"}
                           << QStringList{"wave_scut"};
    QTest::newRow("1.9.3") << 0x10903U << 29 << QStringList{"wave_file"}
                           << QStringList{"wave_scut", "aux_pair"};
    QTest::newRow("1.10.0") << 0x10a00U << 30 << QStringList{"wave_scut"}
                            << QStringList{"line_pair"};
    QTest::newRow("1.255.255") << 0x1ffffU << 30 << QStringList{} << QStringList{"rav_ou_pair"};
    QTest::newRow("2.0.0") << 0x20000U << 37 << QStringList{"rav_ou_pair", "input4_pair"}
                           << QStringList{};
}

void tst_AudioSettings::readAllKeys()
{
    QFETCH(quint32, firmware);
    QFETCH(int, count);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);

    firmwareVersion = firmware;
    TAudioSettings s(m_link.com.get());
    m_link.fake->setValue(QStringLiteral("input1_gain"), QStringLiteral("3"), kAudio);
    QVERIFY(s.readAll());

    QCOMPARE(m_link.fake->requestCount(), 1);
    const FakeRequest request = m_link.fake->lastRequest();
    QCOMPARE(request.target(), kAudio);
    const QStringList gets = request.gets();
    QCOMPARE(gets.size(), count);
    QCOMPARE(gets.first(), QStringLiteral("auxiliary_board"));
    for (const QString &key : present)
        QVERIFY2(gets.contains(key), qPrintable(key));
    for (const QString &key : absent)
        QVERIFY2(!gets.contains(key), qPrintable(key));
    QCOMPARE(s.input1Gain(), 3);
}

void tst_AudioSettings::readAppliesReportedValues()
{
    TAudioSettings s(m_link.com.get());
    QVERIFY(s.setLineOutputLevel(4, false));
    QVERIFY(s.setInput3Gain(9, false));
    m_link.fake->setValue(QStringLiteral("input1_gain"), QStringLiteral("7"), kAudio);
    m_link.fake->setValue(QStringLiteral("input1_power"), QStringLiteral("48V"), kAudio);
    m_link.fake->setValue(QStringLiteral("auxiliary_board"), QStringLiteral("yes"), kAudio);
    m_link.fake->refuseKey(QStringLiteral("input3_gain"), QStringLiteral("015-not allowed"));
    QSignalSpy spy(&s, &TAudioSettings::controllerParamChanged);

    QVERIFY(s.read(
        {"input1_gain", "input1_power", "auxiliary_board", "line_output_level", "input3_gain"}));
    QCOMPARE(s.input1Gain(), 7);
    QVERIFY(s.input1Power());
    QVERIFY(s.auxiliaryBoard());
    QCOMPARE(s.lineOutputLevel(), 16); // reported as not set: back to the default
    QCOMPARE(s.input3Gain(), 9);       // refused: left alone
    QCOMPARE(spy.count(), 3);

    QVERIFY(!s.read({}));
    m_link.fake->setSilent(true);
    m_link.com->disconnect();
    QVERIFY(!s.read({"input1_gain"}));
    QVERIFY(!s.write({"input1_gain"}));
}

void tst_AudioSettings::startReadsSilently()
{
    TAudioSettings s(m_link.com.get());
    m_link.fake->setValue(QStringLiteral("input2_gain"), QStringLiteral("11"), kAudio);
    QSignalSpy paramSpy(&s, &TAudioSettings::controllerParamChanged);
    QSignalSpy stateSpy(&s, &TComController::controllerStateChanged);

    QVERIFY(s.start(true));
    QCOMPARE(s.input2Gain(), 11);
    QCOMPARE(s.state(), int(TComController::StateReady));
    QCOMPARE(paramSpy.count(), 0);
    QCOMPARE(stateSpy.count(), 1);
    QVERIFY(!s.signalsBlocked());
    QTRY_VERIFY(m_link.fake->isSubscribed(QStringLiteral("audio_changeset")));

    // A second start resets first: unknown, then ready again.
    stateSpy.clear();
    QVERIFY(s.start(false));
    QCOMPARE(stateSpy.count(), 2);
    QCOMPARE(s.input2Gain(), 0);
}

void tst_AudioSettings::startFailsWhenReadFails()
{
    TAudioSettings s(m_link.com.get());
    QSignalSpy stateSpy(&s, &TComController::controllerStateChanged);
    m_link.com->disconnect();
    QVERIFY(!s.start(true));
    QCOMPARE(s.state(), int(TComController::StateUnknown));
    QCOMPARE(stateSpy.count(), 0);
    QVERIFY(!s.signalsBlocked());
}

void tst_AudioSettings::resetRestoresDefaults()
{
    TAudioSettings s(m_link.com.get());
    QVERIFY(s.start(false));
    QVERIFY(s.applyParams({{"auxiliary_board", "yes"},
                           {"audio_profile", "P"},
                           {"input1_gain", "5"},
                           {"drc_ratio_cmp", "3"},
                           {"line_pair", "on"},
                           {"line_output2_level", "2"}}));
    QTRY_VERIFY(m_link.fake->isSubscribed(QStringLiteral("audio_changeset")));
    m_link.fake->clearLog();
    QSignalSpy paramSpy(&s, &TAudioSettings::controllerParamChanged);
    QSignalSpy stateSpy(&s, &TComController::controllerStateChanged);

    s.reset();
    QVERIFY(s.auxiliaryBoard());
    QVERIFY(s.audioProfile().empty());
    QCOMPARE(s.input1Gain(), 0);
    QCOMPARE(s.drcRatioCmp(), 2.0F);
    QVERIFY(!s.linePair());
    QCOMPARE(s.lineOutput2Level(), 16);
    QCOMPARE(s.state(), int(TComController::StateUnknown));
    QCOMPARE(paramSpy.count(), 0);
    QCOMPARE(stateSpy.count(), 1);
    // The only request is the end of the subscription.
    QCOMPARE(m_link.fake->requestCount(), 1);
    QVERIFY(m_link.fake->lastRequest().isCommand(QStringLiteral("unsubscribe")));
    QVERIFY(!m_link.fake->isSubscribed(QStringLiteral("audio_changeset")));
}

void tst_AudioSettings::infoChangeset()
{
    TAudioSettings s(nullptr);
    QSignalSpy spy(&s, &TAudioSettings::controllerParamChanged);

    ksm::CMsg info(ksm::CMsg::Info);
    info.setParam("info_type", "audio_changeset");
    info.setParam("line_pair", "on");
    QVERIFY(s.handleInfo(info));
    QVERIFY(s.linePair());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(1).value<TAudioSettings::CtlrParam>(), TAudioSettings::LinePair);

    ksm::CMsg other(ksm::CMsg::Info);
    other.setParam("info_type", "config_changeset");
    other.setParam("input1_gain", "4");
    QVERIFY(!s.handleInfo(other));
    ksm::CMsg untyped(ksm::CMsg::Info);
    untyped.setParam("input1_gain", "4");
    QVERIFY(!s.handleInfo(untyped));
    QCOMPARE(s.input1Gain(), 0);
    QVERIFY(!s.handleEvent(info));
}

void tst_AudioSettings::accessorIsShared()
{
    TAudioSettings *first = audioSettings();
    QVERIFY(first);
    QCOMPARE(audioSettings(), first);
    QCOMPARE(first->request().com(), comClient());
    destroySharedObjects();
}

QTEST_GUILESS_MAIN(tst_AudioSettings)
#include "tst_audiosettings.moc"
