#include "pages/qvantelaudiopage.h"

#include "frontpanel/ivantelmeterpage.h"
#include "tests/pages/pagefixture.h"
#include "widgets/qvantelbars.h"
#include "widgets/qvantelknob.h"
#include "widgets/qvantelpair.h"

#include <QLabel>
#include <QTest>

#include <memory>

class TestQVantelAudioPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void masterScale_data();
    void masterScale();
    void masterGainFromTheModel_data();
    void masterGainFromTheModel();
    void padSwitchingWritesTheKeyOfTheTurnedKnob();
    void modelValuesAreNeverWrittenBack();
    void metersAreFedThroughTheMeterInterface();
    void firmwareGates_data();
    void firmwareGates();
    void compactUnitLayoutAndReset();
    void aoipGroupLabel();
    void boardlessUnitLocksBoardSources();

private:
    QVantelAudioPage *showPage();
    template<typename T>
    T *child(const char *name) const
    {
        return m_page->findChild<T *>(QLatin1String(name));
    }

    PageFixture m_fixture;
    std::unique_ptr<QVantelAudioPage> m_page;
};

void TestQVantelAudioPage::init()
{
    QVERIFY(m_fixture.start());
}

void TestQVantelAudioPage::cleanup()
{
    m_page.reset();
    m_fixture.stop();
}

QVantelAudioPage *TestQVantelAudioPage::showPage()
{
    m_page = std::make_unique<QVantelAudioPage>();
    m_page->resetView();
    m_page->show();
    if (!QTest::qWaitForWindowExposed(m_page.get()))
        return nullptr;
    return m_page.get();
}

void TestQVantelAudioPage::masterScale_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("turnTo");
    QTest::addColumn<int>("knobValue");
    QTest::addColumn<float>("gain");
    QTest::addColumn<QString>("shown");

    QTest::newRow("extended -13 is -20 dB") << 1 << -13 << -13 << -20.0F << "-20";
    QTest::newRow("extended -16 is -50 dB") << 1 << -16 << -16 << -50.0F << "-50";
    QTest::newRow("extended minimum is -120 dB") << 1 << -40 << -17 << -120.0F << "Off";
    QTest::newRow("extended -12 is a number") << 1 << -12 << -12 << -12.0F << "-12";
    QTest::newRow("extended top") << 1 << 12 << 12 << 12.0F << "12";
    QTest::newRow("standard stops at -12") << 0 << -17 << -12 << -12.0F << "-12";
    QTest::newRow("standard top") << 0 << 30 << 12 << 12.0F << "12";
}

void TestQVantelAudioPage::masterScale()
{
    QFETCH(int, mode);
    QFETCH(int, turnTo);
    QFETCH(int, knobValue);
    QFETCH(float, gain);
    QFETCH(QString, shown);

    QVERIFY(showPage());
    PageFixture::refreshed(mode);
    QVantelKnob *program = child<QVantelKnob>("programKnob");
    QVantelKnob *coord = child<QVantelKnob>("coordKnob");
    QCOMPARE(program->minimum(), mode ? -17 : -12);

    program->setValue(turnTo);
    coord->setValue(turnTo);
    QCOMPARE(program->value(), knobValue);
    QCOMPARE(program->displayText(), shown);
    QCOMPARE(matrixSettings()->outputGain(0), gain);
    QCOMPARE(matrixSettings()->outputGain(18), gain);
    QCOMPARE(matrixSettings()->outputGain(1), gain);
}

void TestQVantelAudioPage::masterGainFromTheModel_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<float>("gain");
    QTest::addColumn<int>("knobValue");

    QTest::newRow("extended -50 dB is its step") << 1 << -50.0F << -16;
    QTest::newRow("extended -120 dB is Off") << 1 << -120.0F << -17;
    QTest::newRow("extended -3.5 dB cut toward zero") << 1 << -3.5F << -3;
    QTest::newRow("extended -25 dB not in the list") << 1 << -25.0F << -17;
    QTest::newRow("standard -50 dB clamped") << 0 << -50.0F << -12;
}

void TestQVantelAudioPage::masterGainFromTheModel()
{
    QFETCH(int, mode);
    QFETCH(float, gain);
    QFETCH(int, knobValue);

    QVERIFY(showPage());
    PageFixture::refreshed(mode);
    matrixSettings()->setState(TComController::StateReady);
    m_fixture.fake->clearLog();
    matrixSettings()->setMasterGain(quint32(int(gain) + 128) << 24, false);
    matrixSettings()->setOutputGain(0, gain);
    matrixSettings()->setState(TComController::StateUnknown);
    matrixSettings()->setState(TComController::StateReady);
    QCOMPARE(child<QVantelKnob>("programKnob")->value(), knobValue);
    // Showing the device's gain sends nothing back, even where the knob cannot show it exactly.
    QVERIFY(m_fixture.writesOf(QStringLiteral("matrix_mgn")).isEmpty());
}

void TestQVantelAudioPage::padSwitchingWritesTheKeyOfTheTurnedKnob()
{
    QVERIFY(showPage());
    PageFixture::audioReady();
    QVantelKnob *gain = child<QVantelKnob>("input3GainKnob");
    QVantelKnob *level = child<QVantelKnob>("input3LevelKnob");
    QVERIFY(gain->isVisible());
    QVERIFY(!level->isVisible());

    QVERIFY(audioSettings()->setInput3Pad(true, true));
    QVERIFY(!gain->isVisible());
    QVERIFY(level->isVisible());
    m_fixture.fake->clearLog();
    level->setValue(-7);
    QCOMPARE(m_fixture.writesOf(QStringLiteral("input3_level")), QStringList{"-7"});
    QVERIFY(m_fixture.writesOf(QStringLiteral("input3_gain")).isEmpty());
    QCOMPARE(matrixSettings()->inputGain(2), -7.0F);

    // The pad's switch-off puts the gain knob back; the gain knob writes the gain.
    QVERIFY(audioSettings()->setInput3Pad(false, true));
    QCOMPARE(matrixSettings()->inputGain(2), 0.0F);
    gain->setValue(31);
    QCOMPARE(m_fixture.writesOf(QStringLiteral("input3_gain")), QStringList{"31"});

    // INPUT 4 likewise.
    QVERIFY(audioSettings()->setInput4Pad(true, true));
    m_fixture.fake->clearLog();
    child<QVantelKnob>("input4LevelKnob")->setValue(5);
    QCOMPARE(m_fixture.writesOf(QStringLiteral("input4_level")), QStringList{"5"});
    QVERIFY(m_fixture.writesOf(QStringLiteral("input4_gain")).isEmpty());
}

void TestQVantelAudioPage::modelValuesAreNeverWrittenBack()
{
    QVERIFY(showPage());
    m_fixture.fake->clearLog();

    // Out of range on a shown page: shown clamped, the unit keeps its value.
    QVERIFY(audioSettings()->setInput1Gain(70, false));
    QCOMPARE(child<QVantelKnob>("input1Knob")->value(), 50);
    QVERIFY(audioSettings()->setInput3Level(-40, false));
    matrixSettings()->setInputGain(4, -3.5F);
    QCOMPARE(child<QVantelKnob>("aux1Knob")->value(), -3);

    // A hidden page takes every value without a word to the unit.
    m_page->hide();
    QVERIFY(audioSettings()->setInput2Gain(12, false));
    QVERIFY(audioSettings()->setInput1Gain(20, false));
    matrixSettings()->setInputGain(8, -40.0F);
    QCOMPARE(child<QVantelKnob>("input2Knob")->value(), 12);
    QCOMPARE(child<QVantelKnob>("usbKnob")->value(), -30);

    for (const char *key :
         {"input1_gain", "input2_gain", "input3_level", "matrix_in5", "matrix_in9"}) {
        QVERIFY2(m_fixture.writesOf(QLatin1String(key)).isEmpty(), key);
    }
    QCOMPARE(audioSettings()->input1Gain(), 20);
    QCOMPARE(matrixSettings()->inputGain(4), -3.5F);
}

void TestQVantelAudioPage::metersAreFedThroughTheMeterInterface()
{
    QVERIFY(showPage());
    IVantelMeterPage *meters = m_page.get();
    const int levels[] = {0, 1, 2, 3, 99, 5, 6, 7, 8, 9, 10};
    meters->setMeterLevels(levels, 11, true);
    // The meters in input order: in5 is AUX 1 (input 4), in9 is USB (input 8).
    const auto &map = m_page->meters();
    QCOMPARE(int(map.size()), 11);
    QCOMPARE(map.at(0)->level(), 0);
    QCOMPARE(map.at(3)->level(), 3);
    QCOMPARE(map.at(4)->level(), map.at(4)->maximum()); // missing value: silence
    QCOMPARE(map.at(8)->level(), 8);
    QCOMPARE(map.at(10)->level(), 10);

    // Fewer values than meters stop early; none at all does nothing.
    const int two[] = {20, 21};
    meters->setMeterLevels(two, 2, true);
    QCOMPARE(map.at(0)->level(), 20);
    QCOMPARE(map.at(1)->level(), 21);
    QCOMPARE(map.at(2)->level(), 2);
    meters->setMeterLevels(nullptr, 11, true);
    meters->setMeterLevels(levels, 0, true);
    QCOMPARE(map.at(0)->level(), 20);
}

void TestQVantelAudioPage::firmwareGates_data()
{
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<bool>("masterEnabled");
    QTest::addColumn<bool>("metersShown");

    QTest::newRow("1.5.255") << quint32(0x105ff) << false << false;
    QTest::newRow("1.6.0") << quint32(0x10600) << true << false;
    QTest::newRow("1.7.255") << quint32(0x107ff) << true << false;
    QTest::newRow("1.8.0") << quint32(0x10800) << true << true;
    QTest::newRow("unknown") << kFirmwareVersionUnknown << true << true;
}

void TestQVantelAudioPage::firmwareGates()
{
    QFETCH(quint32, firmware);
    QFETCH(bool, masterEnabled);
    QFETCH(bool, metersShown);

    firmwareVersion = firmware;
    QVERIFY(showPage());
    QCOMPARE(child<QVantelKnob>("programKnob")->isEnabled(), masterEnabled);
    QCOMPARE(child<QVantelKnob>("coordKnob")->isEnabled(), masterEnabled);
    for (const auto &[input, meter] : m_page->meters()) {
        QCOMPARE(meter->isVisible(), metersShown);
        QCOMPARE(meter->level(), meter->maximum());
    }
    // Hidden meters still take their levels.
    const int levels[11] = {4};
    m_page->setMeterLevels(levels, 1, true);
    QCOMPARE(m_page->meters().at(0)->level(), 4);
}

void TestQVantelAudioPage::compactUnitLayoutAndReset()
{
    QVERIFY(showPage());
    QVERIFY(m_fixture.setDeviceOptions({QStringLiteral("hardware_2"), QStringLiteral("ravenna")}));
    PageFixture::refreshed(1);

    for (const char *name : {"input4GainKnob",
                             "input4LevelKnob",
                             "usbKnob",
                             "aux2Knob",
                             "aes1Knob",
                             "aes2Knob",
                             "input4Label",
                             "usbLabel",
                             "aesLabel"}) {
        QVERIFY2(!child<QWidget>(name)->isVisible(), name);
    }
    for (const char *name :
         {"pair12Button", "pair34Button", "auxPairButton", "aesPairButton", "aoipPairButton"}) {
        QVERIFY2(!child<QWidget>(name)->isVisible(), name);
    }
    QCOMPARE(child<QWidget>("aux1Knob")->pos(), QPoint(362, 171));
    QCOMPARE(child<QWidget>("aoip1Knob")->pos(), QPoint(26, 347));
    QCOMPARE(child<QWidget>("aoipLabel")->pos(), QPoint(26, 315));

    m_page->resetView();
    for (const char *name : {"input4GainKnob", "usbKnob", "aux2Knob", "aes1Knob", "aesLabel"})
        QVERIFY2(child<QWidget>(name)->isVisible(), name);
    QCOMPARE(child<QWidget>("aux1Knob")->pos(), QPoint(586, 171));
    QCOMPARE(child<QWidget>("aoip1Knob")->pos(), QPoint(250, 347));
}

void TestQVantelAudioPage::aoipGroupLabel()
{
    QVERIFY(m_fixture.setDeviceOptions({QStringLiteral("ravenna_2"), QStringLiteral("ravenna")}));
    QVERIFY(showPage());
    QCOMPARE(child<QLabel>("aoipLabel")->text(), QStringLiteral("DANTE"));
    m_page->hide();
    QVERIFY(m_fixture.setDeviceOptions({}));
    m_page->show();
    QCOMPARE(child<QLabel>("aoipLabel")->text(), QStringLiteral("RAVENNA"));
}

// Without the auxiliary board its sources are greyed and their knobs locked; the reset after the
// next login gives them back.
void TestQVantelAudioPage::boardlessUnitLocksBoardSources()
{
    QVERIFY(showPage());
    QVERIFY(!audioSettings()->auxiliaryBoard());
    PageFixture::audioReady();

    const QColor normal = child<QLabel>("usbLabel")->palette().color(QPalette::WindowText);
    const char *const boardLabels[] = {"aux1Label",
                                       "aux2Label",
                                       "aesLabel",
                                       "aes1Label",
                                       "aes2Label",
                                       "aoipLabel",
                                       "aoip1Label",
                                       "aoip2Label"};
    const char *const boardKnobs[]
        = {"aux1Knob", "aux2Knob", "aes1Knob", "aes2Knob", "aoip1Knob", "aoip2Knob"};
    for (const char *name : boardLabels)
        QVERIFY2(child<QLabel>(name)->palette().color(QPalette::WindowText) != normal, name);
    for (const char *name : boardKnobs)
        QVERIFY2(!child<QWidget>(name)->isEnabled(), name);
    QVERIFY(child<QWidget>("usbKnob")->isEnabled());

    m_page->resetView();
    for (const char *name : boardLabels)
        QVERIFY2(child<QLabel>(name)->palette().color(QPalette::WindowText) == normal, name);
    for (const char *name : boardKnobs)
        QVERIFY2(child<QWidget>(name)->isEnabled(), name);
}

QTEST_MAIN(TestQVantelAudioPage)
#include "tst_qvantelaudiopage.moc"
