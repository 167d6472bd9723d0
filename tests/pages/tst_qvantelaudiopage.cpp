#include "pages/qvantelaudiopage.h"

#include "frontpanel/ivantelmeterpage.h"
#include "tests/pages/pagefixture.h"
#include "widgets/qvantelbars.h"
#include "widgets/qvantelknob.h"
#include "widgets/qvantelpair.h"

#include <QLabel>
#include <QTest>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(std::function<void()>)

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
    void microphoneGainsClearedInTheStandardMode_data();
    void microphoneGainsClearedInTheStandardMode();
    void lineLevelPlusStoredGain_data();
    void lineLevelPlusStoredGain();
    void pairButtons_data();
    void pairButtons();
    void inputSourceSwapsAux2AndAes_data();
    void inputSourceSwapsAux2AndAes();

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

using ModelStep = std::function<void()>;

// The standard mode, and switching the side-tone option off, clear the microphones' matrix input
// gains and the four stored gains; the extended mode and other option changes keep them.
void TestQVantelAudioPage::microphoneGainsClearedInTheStandardMode_data()
{
    QTest::addColumn<ModelStep>("before");
    QTest::addColumn<ModelStep>("step");
    QTest::addColumn<bool>("cleared");

    const auto mode
        = [](int value) { return ModelStep([value] { PageFixture::setOperationMode(value); }); };
    const auto options = [](quint32 value) {
        return ModelStep([value] { QVERIFY(matrixSettings()->setMatrixOptions(value, false)); });
    };
    const quint32 sideTone = TMatrixSettings::OptionSideTone;
    QTest::newRow("to the standard mode") << mode(1) << mode(0) << true;
    QTest::newRow("to the extended mode") << mode(0) << mode(1) << false;
    QTest::newRow("side tone off") << options(sideTone) << options(0) << true;
    QTest::newRow("side tone on") << options(0) << options(sideTone) << false;
    QTest::newRow("another option")
        << options(sideTone) << options(sideTone | TMatrixSettings::OptionPriorityMutes) << false;
}

void TestQVantelAudioPage::microphoneGainsClearedInTheStandardMode()
{
    QFETCH(ModelStep, before);
    QFETCH(ModelStep, step);
    QFETCH(bool, cleared);

    QVERIFY(showPage());
    before();
    TMatrixSettings *matrix = matrixSettings();
    for (int input = 0; input < 4; ++input) {
        matrix->setInputGain(input, -5.0F - float(input));
        matrix->setStoredGain(input, 3.0F + float(input));
    }
    step();
    for (int input = 0; input < 4; ++input) {
        QCOMPARE(matrix->inputGain(input), cleared ? 0.0F : -5.0F - float(input));
        QCOMPARE(matrix->auxGain(input), cleared ? 0.0F : 3.0F + float(input));
    }
}

// INPUT 3 and INPUT 4 at line level (pad on) reach the matrix at their level plus the stored
// gain; INPUT 4 paired follows INPUT 3, and in the extended mode a paired INPUT 4 level leaves
// its gain alone.
void TestQVantelAudioPage::lineLevelPlusStoredGain_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("input"); // 2 or 3 (INPUT 3 or INPUT 4), whose level changes
    QTest::addColumn<bool>("pad");
    QTest::addColumn<bool>("pair"); // input4_pair
    QTest::addColumn<float>("input3Gain");
    QTest::addColumn<float>("input4Gain");

    // Stored gains 2 and 3 are 4 and 2 dB; the levels go to -6 (INPUT 3) or 5 (INPUT 4); the
    // matrix starts at -20 dB on both inputs.
    QTest::newRow("INPUT 3") << 0 << 2 << true << false << -2.0F << -20.0F;
    QTest::newRow("INPUT 3 paired") << 0 << 2 << true << true << -2.0F << -2.0F;
    QTest::newRow("INPUT 3 at mic level") << 0 << 2 << false << false << -20.0F << -20.0F;
    QTest::newRow("INPUT 4") << 0 << 3 << true << false << -20.0F << 7.0F;
    QTest::newRow("INPUT 4 paired, standard") << 0 << 3 << true << true << -20.0F << 7.0F;
    QTest::newRow("INPUT 4 paired, extended") << 1 << 3 << true << true << -20.0F << -20.0F;
}

void TestQVantelAudioPage::lineLevelPlusStoredGain()
{
    QFETCH(int, mode);
    QFETCH(int, input);
    QFETCH(bool, pad);
    QFETCH(bool, pair);
    QFETCH(float, input3Gain);
    QFETCH(float, input4Gain);

    QVERIFY(showPage());
    PageFixture::setOperationMode(mode);
    TAudioSettings *audio = audioSettings();
    QVERIFY(audio->setInput3Pad(pad, false));
    QVERIFY(audio->setInput4Pad(pad, false));
    QVERIFY(audio->setInput4Pair(pair, false));
    TMatrixSettings *matrix = matrixSettings();
    matrix->setStoredGain(2, 4.0F);
    matrix->setStoredGain(3, 2.0F);
    matrix->setInputGain(2, -20.0F);
    matrix->setInputGain(3, -20.0F);

    if (input == 2)
        QVERIFY(audio->setInput3Level(-6, false));
    else
        QVERIFY(audio->setInput4Level(5, false));
    QCOMPARE(matrix->inputGain(2), input3Gain);
    QCOMPARE(matrix->inputGain(3), input4Gain);
}

// A pair button writes its pair; the unit's pair shows on the button and, in the extended mode,
// locks the right member's knob. In the standard mode the pair buttons are hidden and the knobs
// stay free, except INPUT 2 and INPUT 4 while the side-tone option is set.
void TestQVantelAudioPage::pairButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("knob");
    QTest::addColumn<bool>("lockedBySideTone");

    QTest::newRow("INPUT 1/2") << "pair12Button"
                               << "input2_pair"
                               << "input2Knob" << true;
    QTest::newRow("INPUT 3/4") << "pair34Button"
                               << "input4_pair"
                               << "input4GainKnob" << true;
    QTest::newRow("AUX") << "auxPairButton"
                         << "aux_pair"
                         << "aux2Knob" << false;
    QTest::newRow("audio over IP") << "aoipPairButton"
                                   << "rav_in_pair"
                                   << "aoip2Knob" << false;
}

void TestQVantelAudioPage::pairButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, key);
    QFETCH(QString, knob);
    QFETCH(bool, lockedBySideTone);

    // AUX 2 and the AES inputs share a connection (hardware 1), the analogue side in use.
    QVERIFY(m_fixture.setDeviceOptions({QStringLiteral("ravenna"), QStringLiteral("hardware_1")}));
    QVERIFY(audioSettings()->applyParams({{"auxiliary_board", "yes"}}));
    QVERIFY(showPage());
    PageFixture::refreshed(1);
    PageFixture::audioReady();
    auto *pair = m_page->findChild<QVantelPair *>(button);
    auto *locked = m_page->findChild<QVantelKnob *>(knob);
    QVERIFY(pair && locked);
    QVERIFY(pair->isVisible());
    QVERIFY(locked->isEnabled());

    m_fixture.fake->clearLog();
    QTest::mouseClick(pair, Qt::LeftButton);
    QCOMPARE(m_fixture.writesOf(key), QStringList{"on"});
    QVERIFY(!locked->isEnabled());

    // The unit's own change of the pair.
    const std::string name = key.toStdString();
    QVERIFY(audioSettings()->applyParams({{name, "off"}}));
    QVERIFY(!pair->isChecked());
    QVERIFY(locked->isEnabled());
    QVERIFY(audioSettings()->applyParams({{name, "on"}}));
    QVERIFY(pair->isChecked());
    QVERIFY(!locked->isEnabled());

    // The standard mode hides the pairs and frees the knobs; a pair reported then locks INPUT 2
    // and INPUT 4 only while the side tone is set.
    PageFixture::setOperationMode(0);
    QVERIFY(!pair->isVisible());
    QVERIFY(locked->isEnabled());
    QVERIFY(matrixSettings()->setMatrixOptions(TMatrixSettings::OptionSideTone, false));
    QVERIFY(audioSettings()->applyParams({{name, "off"}}));
    QVERIFY(audioSettings()->applyParams({{name, "on"}}));
    QCOMPARE(locked->isEnabled(), !lockedBySideTone);
    QVERIFY(m_fixture.writesOf(key) == QStringList{"on"});
}

// With the auxiliary board and a shared AUX 2/AES connection, the input source decides which
// side is live; a unit without the shared connection ignores it.
void TestQVantelAudioPage::inputSourceSwapsAux2AndAes_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("source");
    QTest::addColumn<bool>("aux2");
    QTest::addColumn<bool>("aes");
    QTest::addColumn<bool>("auxPair");
    QTest::addColumn<bool>("aesPair");

    const QStringList shared = {QStringLiteral("hardware_1")};
    QTest::newRow("standard, analogue") << shared << 0 << 0 << true << false << false << false;
    QTest::newRow("standard, digital") << shared << 0 << 1 << false << true << false << false;
    QTest::newRow("extended, analogue") << shared << 1 << 0 << true << false << true << false;
    QTest::newRow("extended, digital") << shared << 1 << 1 << false << true << false << true;
    QTest::newRow("no shared connection")
        << QStringList() << 0 << 1 << true << true << false << false;
}

void TestQVantelAudioPage::inputSourceSwapsAux2AndAes()
{
    QFETCH(QStringList, options);
    QFETCH(int, mode);
    QFETCH(int, source);
    QFETCH(bool, aux2);
    QFETCH(bool, aes);
    QFETCH(bool, auxPair);
    QFETCH(bool, aesPair);

    QVERIFY(m_fixture.setDeviceOptions(options));
    QVERIFY(audioSettings()->applyParams({{"auxiliary_board", "yes"}}));
    QVERIFY(showPage());
    PageFixture::refreshed(mode);
    PageFixture::audioReady();
    const QColor normal = child<QLabel>("usbLabel")->palette().color(QPalette::WindowText);
    // Reported the other way first, so that the change is the unit's.
    QVERIFY(audioSettings()->setInputSource(1 - source, false));
    QVERIFY(audioSettings()->setInputSource(source, false));

    QCOMPARE(child<QVantelKnob>("aux2Knob")->isEnabled(), aux2);
    QCOMPARE(child<QLabel>("aux2Label")->palette().color(QPalette::WindowText) == normal, aux2);
    QCOMPARE(m_page->meters().at(5)->isEnabled(), aux2);
    QCOMPARE(child<QVantelKnob>("aes1Knob")->isEnabled(), aes);
    QCOMPARE(child<QVantelKnob>("aes2Knob")->isEnabled(), aes);
    QCOMPARE(child<QLabel>("aesLabel")->palette().color(QPalette::WindowText) == normal, aes);
    QCOMPARE(m_page->meters().at(6)->isEnabled(), aes);
    QCOMPARE(child<QVantelPair>("auxPairButton")->isVisible(), auxPair);
    QCOMPARE(child<QVantelPair>("aesPairButton")->isVisible(), aesPair);
}

QTEST_MAIN(TestQVantelAudioPage)
#include "tst_qvantelaudiopage.moc"
