#include "frontpanel/headphonepositioninputs.h"
#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/deviceoptionword.h"
#include "model/firmwareversion.h"
#include "model/matrixsettings.h"
#include "pages/pageregistration.h"
#include "pages/qvantelheadphone1page.h"
#include "pages/qvantelheadphone2page.h"
#include "pages/qvantelheadphone3page.h"
#include "pages/qvantelheadphone4page.h"
#include "pages/qvantelheadphoneaudio.h"
#include "pages/qvantelheadphoneselect.h"
#include "tests/pages/pagefixture.h"
#include "tests/support/fakematrixdemo.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelaudio.h"
#include "widgets/qvantelaudiobutton.h"
#include "widgets/qvantelaudioinput.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelswitch.h"

#include <QFrame>
#include <QMouseEvent>
#include <QTest>

#include <functional>
#include <memory>
#include <set>
#include <string>

namespace {

const QString kAudio = QStringLiteral("audio");

// Page 1 with its scroll state within reach.
struct ScrollPage : QVantelHeadphone1Page
{
    using QVantelHeadphoneWidget::showScreen;
};

void mouse(QWidget *page, QEvent::Type type, int y)
{
    const QPointF at(400, y);
    QMouseEvent event(type,
                      at,
                      page->mapToGlobal(at),
                      Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(page, &event);
}

// The page of headphone 1 to 4 (index 0 to 3).
std::unique_ptr<QVantelHeadphoneWidget> makeHeadphonePage(int headphone)
{
    switch (headphone) {
    case 0:
        return std::make_unique<QVantelHeadphone1Page>();
    case 1:
        return std::make_unique<QVantelHeadphone2Page>();
    case 2:
        return std::make_unique<QVantelHeadphone3Page>();
    default:
        return std::make_unique<QVantelHeadphone4Page>();
    }
}

// The mix row a unit of the latest firmware reports for record: two digits per input 0 to 24,
// leaving out 11, 22, 23 and the headphone's own input.
std::string unitMixRow(int headphone, const TMatrixSettings::HeadphoneMix &record)
{
    QString row;
    for (int input = 0; input <= 24; ++input) {
        if (input != 11 && input != 22 && input != 23 && input != headphone)
            row += QStringLiteral("%1").arg(record[size_t(input)], 2, 16, QLatin1Char('0'));
    }
    return row.toUpper().toStdString();
}

std::string mixKey(int headphone)
{
    return "matrix_hp" + std::to_string(headphone + 1);
}

} // namespace

// The headphone pages against the routing matrix of a fake unit: what they write for each
// action, and what they show of the matrix.
class tst_QVantelHeadphonePages : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void oneMixWritePerAction_data();
    void oneMixWritePerAction();
    void nodeChangesShown();
    void copyOntoHiddenPage();
    void dragThresholds_data();
    void dragThresholds();
    void scrollingFollowsOptions_data();
    void scrollingFollowsOptions();
    void monitoringEndsInExtendedMode();
    void switchStatesOutlastDeviceReports_data();
    void switchStatesOutlastDeviceReports();
    void resetViewForgetsSwitches_data();
    void resetViewForgetsSwitches();
    void assignedSourceKeepsNodeGains();
    void positionShowsItsNewSource_data();
    void positionShowsItsNewSource();
    void sourceListOffersPlainSources_data();
    void sourceListOffersPlainSources();
    void positionsFollowTheAudioConfiguration();
    void extendedModeMovesReturnsOffPositions();
    void compactUnitLayout();
    void mixKeptByTheDemoUnit();
    void programResetWritesOnlyItsOwnInputs_data();
    void programResetWritesOnlyItsOwnInputs();
    void programResetNeedsTheUnitsMix_data();
    void programResetNeedsTheUnitsMix();
    void programAndCoordDragTheirReturns_data();
    void programAndCoordDragTheirReturns();
    void windowCarriesCopiesAndPageBar();

private:
    void connectUnit();
    // The matrix ready with its rows as the unit's, but for the keys of unsent.
    static void makeReady(const std::set<std::string> &unsent = {})
    {
        PageFixture::matrixRowsReported(unsent);
        matrixSettings()->setState(TComController::StateReady);
    }
    int mixWrites(int headphone) const
    {
        return writes(QStringLiteral("matrix_hp%1").arg(headphone + 1));
    }
    // The number of writes of key the unit received.
    int writes(const QString &key) const;
    void setDeviceOptions(const QStringList &words);

    std::unique_ptr<FakeQuorix> m_fake;
};

void tst_QVantelHeadphonePages::init()
{
    firmwareVersion = kFirmwareVersionUnknown;
    accessLevel = AccessLevel::Administrator;
    headphonePositionInputs = kDefaultHeadphonePositionInputs;
    m_fake = std::make_unique<FakeQuorix>();
    QVERIFY(m_fake->listen());
    connectUnit();
}

void tst_QVantelHeadphonePages::cleanup()
{
    destroySharedObjects();
    m_fake.reset();
    accessLevel = AccessLevel::Operator;
    deviceOptionWord = 0;
    firmwareVersion = kFirmwareVersionUnknown;
}

void tst_QVantelHeadphonePages::connectUnit()
{
    QVERIFY(comClient()->connect(QStringLiteral("127.0.0.1"), m_fake->port(), 0));
    QTRY_VERIFY_WITH_TIMEOUT(comClient()->state() == RpcConnection::Connected, 15000);
}

int tst_QVantelHeadphonePages::writes(const QString &key) const
{
    int count = 0;
    for (const FakeRequest &request : m_fake->requests()) {
        if (request.isSetOf(key))
            ++count;
    }
    return count;
}

void tst_QVantelHeadphonePages::setDeviceOptions(const QStringList &words)
{
    m_fake->setList(QStringLiteral("device_opts"), words, QStringLiteral("general"));
    QVERIFY(comDevice()->readDeviceOptions());
}

using PageAction = std::function<void(QVantelHeadphoneWidget *)>;

// Each routing or balance action of the operator reaches the unit as one headphone-mix write.
void tst_QVantelHeadphonePages::oneMixWritePerAction_data()
{
    QTest::addColumn<int>("headphone");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<PageAction>("action");

    const auto panning = [](int input, int pan) {
        return PageAction([input, pan](QVantelHeadphoneWidget *page) {
            page->strip(input)->setPanning(QVantel::PanCtrl(pan));
        });
    };
    QTest::newRow("page 1 strip routing") << 0 << false << panning(8, QVantel::PanLeft);
    QTest::newRow("page 1 programme split") << 0 << true << panning(20, QVantel::PanStereo);
    QTest::newRow("page 1 coordination routing") << 0 << true << panning(21, QVantel::PanRight);
    QTest::newRow("page 1 position routing")
        << 0 << false << PageAction([](QVantelHeadphoneWidget *page) {
               static_cast<QVantelHeadphonePositionPage *>(page)->positionButton(2)->setPanning(
                   QVantel::PanNone);
           });
    QTest::newRow("page 1 position popup")
        << 0 << false << PageAction([](QVantelHeadphoneWidget *page) {
               auto *hp = static_cast<QVantelHeadphonePositionPage *>(page);
               QVantelHeadphoneAudio *popup = hp->rightButtonClicked(hp->positionButton(1));
               popup->strip()->setGain(-7);
               popup->strip()->setPanning(QVantel::PanRight);
               popup->okClicked();
           });
    QTest::newRow("page 2 strip routing") << 1 << false << panning(4, QVantel::PanRight);
    QTest::newRow("page 3 programme split") << 2 << true << panning(20, QVantel::PanStereo);
    QTest::newRow("page 4 coordination routing") << 3 << true << panning(21, QVantel::PanLeft);
    QTest::newRow("page 4 strip routing") << 3 << false << panning(0, QVantel::PanNone);
}

void tst_QVantelHeadphonePages::oneMixWritePerAction()
{
    QFETCH(int, headphone);
    QFETCH(bool, extended);
    QFETCH(PageAction, action);

    const std::unique_ptr<QVantelHeadphoneWidget> page = makeHeadphonePage(headphone);
    QVERIFY(comDevice()->setOperationMode(extended ? 1 : 0, false));
    makeReady();
    m_fake->clearLog();

    action(page.get());
    QCOMPARE(mixWrites(headphone), 1);
    for (int other = 0; other < 4; ++other) {
        if (other != headphone)
            QCOMPARE(mixWrites(other), 0);
    }
}

void tst_QVantelHeadphonePages::nodeChangesShown()
{
    QVantelHeadphone3Page page;
    QVERIFY(comDevice()->setOperationMode(1, false));
    makeReady();
    TMatrixSettings *matrix = matrixSettings();

    // The split pattern: 20 and 12 on the left only, 24 on the right only (set first: the page
    // has no strip of its own for 24).
    matrix->setNodeOn(24, 6, false);
    matrix->setNodeOn(24, 7, true);
    for (int input : {12, 20, 4}) {
        matrix->setNodeOn(input, 6, true);
        matrix->setNodeOn(input, 7, false);
    }
    QCOMPARE(page.strip(20)->panning(), int(QVantel::PanStereo));
    // The same pattern on a strip that admits no split is the left ear.
    QCOMPARE(page.strip(4)->panning(), int(QVantel::PanLeft));

    // Gains are shown truncated; the other headphones' outputs change nothing.
    matrix->setNodeGain(8, 7, -4.7F);
    QCOMPARE(page.strip(8)->gain(), -4);
    matrix->setNodeGain(8, 4, 9.0F);
    matrix->setNodeOn(8, 8, false);
    QCOMPARE(page.strip(8)->gain(), -4);
    QCOMPARE(page.strip(8)->panning(), int(QVantel::PanBoth));
}

// The target of a copy may be a page not shown: its strips still write the matrix.
void tst_QVantelHeadphonePages::copyOntoHiddenPage()
{
    QVantelHeadphone1Page source;
    QVantelHeadphone3Page target;
    makeReady();
    TMatrixSettings *matrix = matrixSettings();
    source.strip(8)->setGain(5);
    source.strip(8)->setPanning(QVantel::PanLeft);
    source.positionButton(1)->setPanning(QVantel::PanRight); // INPUT 2
    matrix->setNodeGain(1, 2, -9.0F);
    matrix->setNodeGain(0, 2, -12.0F); // headphone 1's side tone
    QVERIFY(!target.isVisible());
    m_fake->clearLog();

    target.copySettingsFrom(&target);
    target.copySettingsFrom(nullptr);
    QCOMPARE(m_fake->requestCount(), 0);

    target.copySettingsFrom(&source);
    QCOMPARE(matrix->node(8, 6).gain, 5.0F);
    QVERIFY(matrix->node(8, 6).isOn());
    QVERIFY(!matrix->node(8, 7).isOn());
    // INPUT 2 sits on a position of page 1: its panning and gain come over.
    QCOMPARE(target.strip(1)->panning(), int(QVantel::PanRight));
    QVERIFY(!matrix->node(1, 6).isOn());
    QVERIFY(matrix->node(1, 7).isOn());
    // INPUT 1 has no strip on page 1: its side-tone level, on both ears.
    QCOMPARE(target.strip(0)->gain(), -12);
    QCOMPARE(matrix->node(0, 7).gain, -12.0F);
    QVERIFY(matrix->node(0, 6).isOn() && matrix->node(0, 7).isOn());
    QVERIFY(mixWrites(2) >= 1);
}

// A swipe in the band pages the grid: steps of more than 9 pixels move the marker, 64 pixels
// from the press change the screen. Moves are listed as y values after a press at `from`.
void tst_QVantelHeadphonePages::dragThresholds_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("middle");
    QTest::addColumn<int>("from");
    QTest::addColumn<QList<int>>("moves");
    QTest::addColumn<int>("endState");
    QTest::addColumn<int>("markerY");

    QTest::newRow("9 px does nothing") << 1 << false << 300 << QList<int>{291} << 1 << 104;
    QTest::newRow("10 px drags") << 1 << false << 300 << QList<int>{290} << 1 << 114;
    QTest::newRow("63 px still drags") << 1 << false << 300 << QList<int>{237} << 1 << 167;
    QTest::newRow("64 px to the last screen") << 1 << false << 300 << QList<int>{236} << 3 << 280;
    QTest::newRow("64 px to the middle") << 1 << true << 300 << QList<int>{236} << 2 << 192;
    QTest::newRow("first screen, finger down") << 1 << true << 200 << QList<int>{260} << 1 << 104;
    QTest::newRow("last screen, finger up") << 3 << true << 300 << QList<int>{240} << 3 << 280;
    QTest::newRow("last back to middle") << 3 << true << 200 << QList<int>{264} << 2 << 192;
    QTest::newRow("last back to first") << 3 << false << 200 << QList<int>{264} << 1 << 104;
    QTest::newRow("middle forward") << 2 << true << 300 << QList<int>{250, 236} << 3 << 280;
    QTest::newRow("middle back") << 2 << true << 200 << QList<int>{264} << 1 << 104;
    QTest::newRow("one change per press")
        << 1 << true << 300 << QList<int>{236, 170, 120} << 2 << 192;
    QTest::newRow("leaving the band ends it")
        << 1 << false << 300 << QList<int>{390, 200} << 1 << 104;
    QTest::newRow("press outside the band") << 1 << false << 90 << QList<int>{150, 200} << 1 << 104;
    QTest::newRow("no scrolling") << 0 << false << 300 << QList<int>{200} << 0 << 104;
}

void tst_QVantelHeadphonePages::dragThresholds()
{
    QFETCH(int, state);
    QFETCH(bool, middle);
    QFETCH(int, from);
    QFETCH(QList<int>, moves);
    QFETCH(int, endState);
    QFETCH(int, markerY);

    ScrollPage page;
    page.showScreen(state, middle);
    mouse(&page, QEvent::MouseButtonPress, from);
    for (int y : moves)
        mouse(&page, QEvent::MouseMove, y);
    QCOMPARE(page.scrollState(), endState);
    QCOMPARE(page.scrollMarker()->y(), markerY);

    // A release puts the marker on the resting place of its screen.
    mouse(&page, QEvent::MouseButtonRelease, moves.last());
    const int rest = endState == 2 ? 192 : (endState == 3 ? 280 : 104);
    QCOMPARE(page.scrollMarker()->y(), rest);
}

// Whether the grid scrolls, and over two or three screens, follows the unit's options, the
// side-tone option and the firmware; switching the side tone later moves the page along.
void tst_QVantelHeadphonePages::scrollingFollowsOptions_data()
{
    QTest::addColumn<int>("headphone");
    QTest::addColumn<quint32>("options");
    QTest::addColumn<bool>("sideTone");
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<int>("scroll");
    QTest::addColumn<bool>("middle");
    QTest::addColumn<int>("scrollWithout");

    const quint32 v124 = TComDevice::OptionHardware124;
    const quint32 v113 = firmwareVersionOf(1, 13);
    const quint32 v112 = firmwareVersionOf(1, 12, 9);
    QTest::newRow("page 1, three screens") << 0 << v124 << true << v113 << 1 << true << 1;
    QTest::newRow("page 1, before 1.13") << 0 << v124 << true << v112 << 1 << false << 1;
    QTest::newRow("page 2, no side tone") << 1 << v124 << false << v113 << 1 << false << 1;
    QTest::newRow("page 3, two screens") << 2 << v124 << true << v113 << 1 << false << 1;
    QTest::newRow("no 0x200, side tone") << 0 << 0U << true << v113 << 1 << false << 0;
    QTest::newRow("no 0x200, no side tone") << 3 << 0U << false << v113 << 0 << false << 0;
}

void tst_QVantelHeadphonePages::scrollingFollowsOptions()
{
    QFETCH(int, headphone);
    QFETCH(quint32, options);
    QFETCH(bool, sideTone);
    QFETCH(quint32, firmware);
    QFETCH(int, scroll);
    QFETCH(bool, middle);
    QFETCH(int, scrollWithout);

    deviceOptionWord = options;
    firmwareVersion = firmware;
    TMatrixSettings *matrix = matrixSettings();
    QVERIFY(matrix->setMatrixOptions(sideTone ? TMatrixSettings::OptionSideTone : 0, false));
    std::unique_ptr<QVantelHeadphoneWidget> page;
    if (headphone < 2)
        page = std::make_unique<QVantelHeadphonePositionPage>(headphone, nullptr);
    else
        page = std::make_unique<QVantelHeadphoneFollowPage>(headphone, nullptr);
    audioSettings()->setState(TComController::StateReady);

    QCOMPARE(page->scrollState(), scroll);
    QCOMPARE(page->middleAllowed(), middle);
    QCOMPARE(page->scrollMarker()->isVisibleTo(page.get()), scroll != 0);
    QCOMPARE(page->sideToneStrip()->isEnabled(), sideTone);

    QVERIFY(matrix->setMatrixOptions(sideTone ? 0 : TMatrixSettings::OptionSideTone, false));
    if (sideTone) {
        QCOMPARE(page->scrollState(), scrollWithout);
        QCOMPARE(page->middleAllowed(), false);
        QVERIFY(!page->sideToneStrip()->isEnabled());
    } else {
        QVERIFY(page->sideToneStrip()->isEnabled());
        QCOMPARE(page->scrollState(), 1);
    }
}

// Entering the extended mode with a monitoring switch on ends the monitoring, restoring the
// follow state, since the switch is then hidden.
void tst_QVantelHeadphonePages::monitoringEndsInExtendedMode()
{
    QVantelHeadphone3Page page;
    makeReady();
    TMatrixSettings *matrix = matrixSettings();
    QVERIFY(comDevice()->setOperationMode(1, false));
    QVERIFY(comDevice()->setOperationMode(0, false));
    QVERIFY(page.followSwitch(3)->isVisibleTo(&page));

    page.followSwitch(2)->click(); // follow headphone 2
    QCOMPARE(matrix->copySource(6), 4);
    page.followSwitch(3)->click(); // monitor the programme
    QCOMPARE(matrix->copySource(6), 0);
    QVERIFY(!page.followSwitch(4)->isEnabled());

    QVERIFY(comDevice()->setOperationMode(1, false));
    QVERIFY(!page.followSwitch(3)->isChecked());
    QVERIFY(!page.followSwitch(3)->isVisibleTo(&page));
    QCOMPARE(matrix->copySource(6), 4);
    QCOMPARE(matrix->copySource(7), 5);
    QCOMPARE(page.followedHeadphone(), 1);
    for (int n = 1; n <= 4; ++n)
        QVERIFY(page.followSwitch(n)->isEnabled());
}

// While headphone 4 follows headphone 1 only INPUT 1 can be turned, and while it monitors the
// programme nothing can, whichever of the device's reports come after the switch: the audio
// controller (the input source decides AUX 2 and the AES inputs), a mode change (the
// programme strips), a new input source.
void tst_QVantelHeadphonePages::switchStatesOutlastDeviceReports_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("live");

    QTest::newRow("follow, then the audio controller")
        << QStringList{"follow", "audio"} << QList<int>{0};
    QTest::newRow("audio controller, then follow")
        << QStringList{"audio", "follow"} << QList<int>{0};
    QTest::newRow("follow, then the extended mode")
        << QStringList{"audio", "follow", "extended"} << QList<int>{0};
    QTest::newRow("follow, then back to the standard mode")
        << QStringList{"audio", "follow", "extended", "standard"} << QList<int>{0};
    QTest::newRow("follow, then the digital input source")
        << QStringList{"audio", "follow", "digital"} << QList<int>{0};
    QTest::newRow("monitor, then the audio controller")
        << QStringList{"follow", "monitor", "audio"} << QList<int>{};
    QTest::newRow("follow ended") << QStringList{"audio", "follow", "unfollow"}
                                  << QList<int>{0, 1, 2, 4, 5, 8, 9, 10, 12, 13, 14, 15, 16, 18};
}

void tst_QVantelHeadphonePages::switchStatesOutlastDeviceReports()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, live);

    QVantelHeadphone4Page page;
    // AUX 2 and the AES inputs share a connection: the analogue source makes AUX 2 live.
    setDeviceOptions({QStringLiteral("hardware_1"), QStringLiteral("ravenna")});
    QVERIFY(audioSettings()->applyParams({{"auxiliary_board", "yes"}, {"input_source", "analog"}}));
    makeReady();
    PageFixture::refreshed(0);
    TMatrixSettings::AudioConfig config{};
    for (const QString &step : steps) {
        if (step == QLatin1String("audio")) {
            PageFixture::audioReady();
        } else if (step == QLatin1String("follow") || step == QLatin1String("unfollow")) {
            config[0] = step == QLatin1String("follow") ? 1 : 0;
            QVERIFY(matrixSettings()->setAudioConfig(3, config, false));
        } else if (step == QLatin1String("monitor")) {
            page.followSwitch(3)->click();
        } else if (step == QLatin1String("extended") || step == QLatin1String("standard")) {
            QVERIFY(
                comDevice()->setOperationMode(step == QLatin1String("extended") ? 1 : 0, false));
        } else if (step == QLatin1String("digital")) {
            QVERIFY(audioSettings()->setInputSource(1, false));
        }
    }
    for (const auto &[input, s] : page.strips()) {
        if (s->state() == 2)
            continue;
        QVERIFY2(s->state() == (live.contains(input) ? 0 : 1),
                 qPrintable(QStringLiteral("input %1 in state %2").arg(input).arg(s->state())));
    }
}

// The reset after a login forgets the switches and the copies they made: the next device's
// configuration starts from the independent state, and other pages may copy onto this one.
void tst_QVantelHeadphonePages::resetViewForgetsSwitches_data()
{
    QTest::addColumn<int>("monitor");
    QTest::newRow("following headphone 1") << 0;
    QTest::newRow("and monitoring the programme") << 3;
    QTest::newRow("and monitoring the coordination") << 4;
}

void tst_QVantelHeadphonePages::resetViewForgetsSwitches()
{
    QFETCH(int, monitor);

    QVantelHeadphone1Page first;
    QVantelHeadphone4Page page;
    makeReady();
    TMatrixSettings *matrix = matrixSettings();
    page.followSwitch(1)->click();
    if (monitor != 0)
        page.followSwitch(monitor)->click();
    QCOMPARE(page.followedHeadphone(), 0);
    QVERIFY(matrix->isCopyTarget(8) && matrix->isCopyTarget(9));
    QVERIFY(!first.copyClicked(2)); // position 4 is a copy
    m_fake->clearLog();

    page.resetView();
    for (int n = 1; n <= 4; ++n) {
        QVERIFY(!page.followSwitch(n)->isChecked());
        QVERIFY(page.followSwitch(n)->isEnabled());
    }
    QCOMPARE(page.followedHeadphone(), -1);
    QCOMPARE(m_fake->requestCount(), 0);
    QVERIFY(!matrix->isCopyTarget(8));
    QVERIFY(!matrix->isCopyTarget(9));
    QCOMPARE(first.copyButton(2)->palette().color(QPalette::Window), QColor(Qt::white));
    QVantelMessage *message = first.copyClicked(2);
    QVERIFY(message);
    message->close();

    // The next device's configuration byte starts from the independent state.
    TMatrixSettings::AudioConfig config{};
    config[0] = 2;
    QVERIFY(matrixSettings()->setAudioConfig(3, config, false));
    QVERIFY(page.followSwitch(2)->isChecked());
    QCOMPARE(page.followedHeadphone(), 1);
}

// A position shows its new input's gain, so an unchanged OK in its gain popup writes nothing.
void tst_QVantelHeadphonePages::assignedSourceKeepsNodeGains()
{
    QVantelHeadphone1Page page;
    makeReady();
    TMatrixSettings *matrix = matrixSettings();
    matrix->setNodeGain(8, 2, -5.0F);
    matrix->setNodeGain(8, 3, -5.0F);
    matrix->setNodeGain(1, 2, 3.0F);
    matrix->setNodeGain(1, 3, 3.0F);
    matrix->setNodeGain(3, 2, -2.0F);
    matrix->setNodeGain(3, 3, -2.0F);
    QVantelAudioButton *first = page.positionButton(1);
    QCOMPARE(first->gain(), 3);

    // From the grid: USB goes to position 1, INPUT 2 takes the USB strip.
    QVantelHeadphoneSelect *select = page.buttonClicked(first);
    QVERIFY(first->isSelected());
    select->setCurrent(8);
    select->okClicked();
    QVERIFY(!first->isSelected());
    QCOMPARE(first->input(), 8);
    QCOMPARE(first->gain(), -5);
    QCOMPARE(page.strip(1)->gain(), 3);
    QVERIFY(!page.strip(8));
    QCOMPARE(headphonePositionInputs[0], 8);
    QCOMPARE(m_fake->value(QStringLiteral("matrix_po1"), kAudio), QStringLiteral("0903040E"));

    // Between positions: 1 and 3 exchange USB and INPUT 4.
    select = page.buttonClicked(first);
    select->setCurrent(3);
    select->okClicked();
    QCOMPARE(first->input(), 3);
    QCOMPARE(first->gain(), -2);
    QCOMPARE(page.positionButton(3)->input(), 8);
    QCOMPARE(page.positionButton(3)->gain(), -5);
    QCOMPARE(headphonePositionInputs[2], 8);

    m_fake->clearLog();
    for (int position : {1, 3}) {
        QVantelHeadphoneAudio *popup = page.rightButtonClicked(page.positionButton(position));
        popup->okClicked();
    }
    QCOMPARE(matrix->node(3, 2).gain, -2.0F);
    QCOMPARE(matrix->node(8, 2).gain, -5.0F);
    QCOMPARE(matrix->node(1, 2).gain, 3.0F);
    QCOMPARE(mixWrites(0), 0);

    // A page that goes while its popups are open takes them along without running its handlers.
    auto *going = new QVantelHeadphone2Page;
    QVERIFY(going->buttonClicked(going->positionButton(1)));
    QVERIFY(going->rightButtonClicked(going->positionButton(2)));
    delete going;
}

// A position that takes a new source, from the grid or from another position, shows that
// source's gain and routing as the unit holds them, and so does the source it gave away; only a
// routing the operator changed in the popup is written.
void tst_QVantelHeadphonePages::positionShowsItsNewSource_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("chosenPanning"); // -1: the popup's routing left as it opened
    QTest::addColumn<int>("panning");
    QTest::addColumn<int>("gain");
    QTest::addColumn<int>("writes");

    // USB is on the right ear at -5 dB, COORD RETURN on the left at -3 dB.
    QTest::newRow("from the grid") << 8 << -1 << int(QVantel::PanRight) << -5 << 0;
    QTest::newRow("from the grid, routing changed")
        << 8 << int(QVantel::PanLeft) << int(QVantel::PanLeft) << -5 << 1;
    QTest::newRow("from the grid, its own routing chosen")
        << 8 << int(QVantel::PanRight) << int(QVantel::PanRight) << -5 << 0;
    QTest::newRow("swap") << 13 << -1 << int(QVantel::PanLeft) << -3 << 0;
    QTest::newRow("swap, routing changed")
        << 13 << int(QVantel::PanNone) << int(QVantel::PanNone) << -3 << 1;
}

void tst_QVantelHeadphonePages::positionShowsItsNewSource()
{
    QFETCH(int, source);
    QFETCH(int, chosenPanning);
    QFETCH(int, panning);
    QFETCH(int, gain);
    QFETCH(int, writes);

    QVantelHeadphone1Page page;
    makeReady();
    TMatrixSettings *matrix = matrixSettings();
    const auto hold = [matrix](int input, bool left, bool right, float dB) {
        for (int output : {2, 3}) {
            matrix->setNodeGain(input, output, dB);
            matrix->setNodeOn(input, output, output == 2 ? left : right);
        }
    };
    hold(1, true, true, 3.0F);    // INPUT 2, position 1
    hold(8, false, true, -5.0F);  // USB, grid
    hold(13, true, false, -3.0F); // COORD RETURN, position 4
    QVERIFY(matrix->setInputName(8, QStringLiteral("Laptop")));
    QVantelAudioButton *first = page.positionButton(1);
    QCOMPARE(first->panning(), int(QVantel::PanBoth));
    m_fake->clearLog();

    QVantelHeadphoneSelect *select = page.buttonClicked(first);
    select->setCurrent(source);
    select->display()->setPanning(first->panning());
    if (chosenPanning >= 0)
        select->display()->setPanning(chosenPanning);
    select->okClicked();
    QCOMPARE(first->input(), source);
    QCOMPARE(first->gain(), gain);
    QCOMPARE(first->panning(), panning);
    QCOMPARE(mixWrites(0), writes);
    QCOMPARE(matrix->node(source, 2).isOn(), (panning & QVantel::PanLeft) != 0);
    QCOMPARE(matrix->node(source, 3).isOn(), (panning & QVantel::PanRight) != 0);

    // INPUT 2, given away, shows and keeps what the unit holds.
    QVantelAudioBase *given
        = source == 8 ? static_cast<QVantelAudioBase *>(page.strip(1)) : page.positionButton(4);
    QCOMPARE(given->input(), 1);
    QCOMPARE(given->gain(), 3);
    QCOMPARE(given->panning(), int(QVantel::PanBoth));
    QVERIFY(matrix->node(1, 2).isOn() && matrix->node(1, 3).isOn());

    // An untouched OK in the position's gain popup writes nothing. The popup names the source
    // as the position does, the unit's name under the fixed one.
    m_fake->clearLog();
    QVantelHeadphoneAudio *popup = page.rightButtonClicked(first);
    QCOMPARE(popup->strip()->panning(), panning);
    QCOMPARE(popup->strip()->displayName(), first->displayName());
    QCOMPARE(popup->strip()->label(), source == 8 ? QStringLiteral("Laptop") : QString());
    popup->okClicked();
    QCOMPARE(mixWrites(0), 0);
}

// The source list offers the positions and the grid's plain strips in the normal state, in the
// display order; never PROGRAM, COORD, a greyed strip or the side tone. An Operator only gets the
// position's own source, whose routing they may still change.
void tst_QVantelHeadphonePages::sourceListOffersPlainSources_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("level");
    QTest::addColumn<QList<int>>("sources");

    const QStringList module = {QStringLiteral("ravenna")};
    QTest::newRow("expert") << module << int(AccessLevel::Expert)
                            << QList<int>{1, 2, 3, 12, 13, 8, 4, 5, 6, 7, 9, 10};
    QTest::newRow("no audio-over-IP module") << QStringList() << int(AccessLevel::Administrator)
                                             << QList<int>{1, 2, 3, 12, 13, 8, 4, 5, 6, 7};
    QTest::newRow("operator") << module << int(AccessLevel::Operator) << QList<int>{1};
}

void tst_QVantelHeadphonePages::sourceListOffersPlainSources()
{
    QFETCH(QStringList, options);
    QFETCH(int, level);
    QFETCH(QList<int>, sources);

    QVantelHeadphone1Page page;
    setDeviceOptions(options);
    PageFixture::refreshed(0);
    makeReady();
    accessLevel = AccessLevel(level);
    QVantelHeadphoneSelect *select = page.buttonClicked(page.positionButton(1));
    QList<int> offered;
    for (const QVantelHeadphoneSelect::Choice &choice : select->items())
        offered << choice.value;
    QCOMPARE(offered, sources);
    QCOMPARE(select->items().constFirst().text, QStringLiteral("INPUT 2"));
    select->cancelClicked();
}

// The unit's audio configuration puts the sources on the positions, from the grid or from
// another position, without a word to the unit; another headphone's configuration and a byte
// that names no source of the page change nothing.
void tst_QVantelHeadphonePages::positionsFollowTheAudioConfiguration()
{
    QVantelHeadphone1Page page;
    makeReady();
    TMatrixSettings *matrix = matrixSettings();
    matrix->setNodeOn(8, 2, false);
    matrix->setNodeGain(8, 2, -5.0F);
    matrix->setNodeGain(8, 3, -5.0F);
    m_fake->clearLog();

    const auto configure = [matrix](int headphone, std::array<quint8, 4> bytes) {
        TMatrixSettings::AudioConfig config{};
        std::copy(bytes.begin(), bytes.end(), config.begin());
        QVERIFY(matrix->setAudioConfig(headphone, config, false));
    };
    // Position 1 takes USB from the grid; then it takes COORD RETURN from position 4, which
    // gets USB.
    configure(0, {0x09, 0x03, 0x04, 0x0E});
    QVantelAudioButton *first = page.positionButton(1);
    QCOMPARE(first->input(), 8);
    QCOMPARE(first->gain(), -5);
    QCOMPARE(first->panning(), int(QVantel::PanRight));
    QVERIFY(page.strip(1));
    QCOMPARE(headphonePositionInputs[0], 8);
    configure(0, {0x0E, 0x03, 0x04, 0x09});
    QCOMPARE(first->input(), 13);
    QCOMPARE(page.positionButton(4)->input(), 8);
    QCOMPARE(headphonePositionInputs[3], 8);

    // Headphone 2's configuration, and bytes naming no source here (none, input 17, the side
    // tone), leave the positions.
    configure(1, {0x09, 0x02, 0x03, 0x04});
    configure(0, {0x00, 0x12, 0x01, 0x09});
    QCOMPARE(first->input(), 13);
    QCOMPARE(page.positionButton(2)->input(), 2);
    QCOMPARE(page.positionButton(3)->input(), 3);
    QCOMPARE(page.positionButton(4)->input(), 8);
    QCOMPARE(m_fake->requestCount(), 0);
}

// Entering the extended mode gives each position that holds PROGRAM RETURN or COORD RETURN the
// first plain grid strip (by input) and writes the configuration; back in the standard mode the
// positions stay.
void tst_QVantelHeadphonePages::extendedModeMovesReturnsOffPositions()
{
    QVantelHeadphone1Page page;
    setDeviceOptions({QStringLiteral("ravenna")});
    PageFixture::refreshed(0);
    makeReady();
    TMatrixSettings::AudioConfig config = {0x02, 0x0D, 0x04, 0x0E}; // 2: PROGRAM RETURN
    QVERIFY(matrixSettings()->setAudioConfig(0, config, false));
    QCOMPARE(page.positionButton(2)->input(), 12);
    QVERIFY(page.strip(2)); // INPUT 3 went to the grid
    m_fake->clearLog();

    QVERIFY(comDevice()->setOperationMode(1, false));
    QCOMPARE(page.positionButton(2)->input(), 2);
    QCOMPARE(page.positionButton(4)->input(), 4);
    QCOMPARE(page.strip(12)->state(), 2);
    QCOMPARE(page.strip(13)->state(), 2);
    QCOMPARE(m_fake->value(QStringLiteral("matrix_po1"), kAudio), QStringLiteral("02030405"));
    QCOMPARE(mixWrites(0), 0);

    m_fake->clearLog();
    QVERIFY(comDevice()->setOperationMode(0, false));
    QCOMPARE(page.positionButton(2)->input(), 2);
    QCOMPARE(page.positionButton(4)->input(), 4);
    QCOMPARE(writes(QStringLiteral("matrix_po1")), 0);
}

// The compact unit (hardware variant 2) has no positions: their inputs join the grid until the
// next login's reset.
void tst_QVantelHeadphonePages::compactUnitLayout()
{
    QVantelHeadphone1Page first;
    QVantelHeadphone3Page third;
    setDeviceOptions({QStringLiteral("hardware_2")});
    makeReady();

    for (int position = 1; position <= 4; ++position)
        QVERIFY(first.positionButton(position)->isHidden());
    QVERIFY(first.pageButton(3)->isHidden());
    QVERIFY(first.copyButton(2)->isHidden());
    QVERIFY(!first.copyButton(0)->isHidden());
    QVERIFY(third.pageButton(3)->isHidden());
    for (int input : {1, 2, 13})
        QVERIFY(first.strip(input) && first.strip(input)->isEnabled());
    // INPUT 4, USB, AUX 2 and the AES inputs are not fitted.
    for (int input : {8, 5, 6, 7})
        QVERIFY(!first.strip(input)->isEnabled());
    QVERIFY(!third.strip(3)->isEnabled());

    first.resetView();
    third.resetView();
    for (int position = 1; position <= 4; ++position)
        QVERIFY(!first.positionButton(position)->isHidden());
    QVERIFY(!first.pageButton(3)->isHidden());
    QVERIFY(!third.pageButton(3)->isHidden());
    for (int input : {1, 2, 13})
        QVERIFY(!first.strip(input));
    QVERIFY(first.strip(8)->isEnabled());
}

// The demo unit holds the matrix it is sent: a mix built on a page is there after a reconnect.
void tst_QVantelHeadphonePages::mixKeptByTheDemoUnit()
{
    fillMatrixDemoValues(*m_fake);
    {
        QVantelHeadphone3Page page;
        QVERIFY(matrixSettings()->start(true));
        QCOMPARE(page.strip(0)->gain(), -6);
        QCOMPARE(page.strip(8)->gain(), -160);
        QCOMPARE(page.strip(4)->panning(), int(QVantel::PanBoth));
        page.strip(8)->setGain(4);
        page.strip(4)->setPanning(QVantel::PanRight);
    }
    destroySharedObjects();
    connectUnit();

    QVantelHeadphone3Page page;
    QVERIFY(matrixSettings()->start(true));
    QCOMPARE(page.strip(8)->gain(), 4);
    QCOMPARE(page.strip(4)->panning(), int(QVantel::PanRight));
    QCOMPARE(page.strip(0)->gain(), -6);
}

// When the matrix becomes ready in the standard mode, the hidden PROGRAM and COORD strips start
// at 0 dB on no ear. Only their own cells are written, as one mix write; the returns and the
// stereo programme keep what the unit holds, and a second start writes nothing.
void tst_QVantelHeadphonePages::programResetWritesOnlyItsOwnInputs_data()
{
    QTest::addColumn<int>("headphone");
    for (int headphone = 0; headphone < 4; ++headphone)
        QTest::addRow("page %d", headphone + 1) << headphone;
}

void tst_QVantelHeadphonePages::programResetWritesOnlyItsOwnInputs()
{
    QFETCH(int, headphone);

    const std::unique_ptr<QVantelHeadphoneWidget> page = makeHeadphonePage(headphone);
    TMatrixSettings *matrix = matrixSettings();
    // The unit's mix: the programme inputs at -6 dB on both ears, COORD RETURN at -3 dB on the
    // left ear only.
    TMatrixSettings::HeadphoneMix before = matrix->headphoneMix(headphone);
    for (int input : {20, 21, 12, 19, 24})
        before[size_t(input)] = 0xDA;
    before[13] = 0x5D;
    QVERIFY(matrix->applyParams({{mixKey(headphone), unitMixRow(headphone, before)}}));
    QCOMPARE(matrix->headphoneMix(headphone), before);
    m_fake->clearLog();

    makeReady();
    QCOMPARE(mixWrites(headphone), 1);
    const TMatrixSettings::HeadphoneMix after = matrix->headphoneMix(headphone);
    for (int input = 0; input < TMatrixSettings::InputCount; ++input) {
        if (input == 20 || input == 21)
            QCOMPARE(after[size_t(input)], quint8(0x20)); // 0 dB, no ear
        else
            QCOMPARE(after[size_t(input)], before[size_t(input)]);
    }
    QCOMPARE(page->strip(20)->gain(), 0);
    QCOMPARE(page->strip(21)->panning(), int(QVantel::PanNone));
    // COORD RETURN shows what the unit holds, on its position (pages 1, 2) or its strip.
    QVantelAudioBase *coordReturn = page->strip(13);
    if (!coordReturn)
        coordReturn = page->sourceButtons().at(13);
    QCOMPARE(coordReturn->gain(), -3);
    QCOMPARE(coordReturn->panning(), int(QVantel::PanLeft));

    // The unit now holds what the reset sets: the next start writes no mix.
    matrix->setState(TComController::StateUnknown);
    m_fake->clearLog();
    makeReady();
    QCOMPARE(mixWrites(headphone), 0);
    // Back from the extended mode likewise.
    QVERIFY(comDevice()->setOperationMode(1, false));
    QVERIFY(comDevice()->setOperationMode(0, false));
    QCOMPARE(mixWrites(headphone), 0);
}

// Without a valid mix row of the unit's the matrix holds defaults: a reset would write them over
// the unit's whole mix of that headphone, so none is made.
void tst_QVantelHeadphonePages::programResetNeedsTheUnitsMix_data()
{
    QTest::addColumn<int>("headphone");
    QTest::addColumn<QString>("row");
    QTest::newRow("no row, page 1") << 0 << QString();
    QTest::newRow("no row, page 4") << 3 << QString();
    QTest::newRow("megabyte text") << 1 << QString(1024 * 1024, QLatin1Char('x'));
    QTest::newRow("last byte not hex") << 2 << QStringLiteral("DA").repeated(20) + "Dx";
    QTest::newRow("too short") << 0 << QStringLiteral("DA").repeated(11);
}

void tst_QVantelHeadphonePages::programResetNeedsTheUnitsMix()
{
    QFETCH(int, headphone);
    QFETCH(QString, row);

    const std::unique_ptr<QVantelHeadphoneWidget> page = makeHeadphonePage(headphone);
    TMatrixSettings *matrix = matrixSettings();
    if (!row.isEmpty())
        QVERIFY(matrix->applyParams({{mixKey(headphone), row.toStdString()}}));
    QVERIFY(!matrix->isRowKnown(TMatrixSettings::Row::Mix, headphone));
    m_fake->clearLog();
    makeReady({mixKey(headphone)});
    QCOMPARE(mixWrites(headphone), 0);
    QVERIFY(comDevice()->setOperationMode(1, false));
    QVERIFY(comDevice()->setOperationMode(0, false));
    QCOMPARE(mixWrites(headphone), 0);
}

// What turning PROGRAM's gain and COORD's panning drags along: pages 1 and 2 always drag the
// returns on both ears; pages 3 and 4 only in the extended mode, where the stereo programme's
// right channel (24, 19) takes the gain on the right ear only.
void tst_QVantelHeadphonePages::programAndCoordDragTheirReturns_data()
{
    QTest::addColumn<int>("headphone");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<QStringList>("gainNodes");
    QTest::addColumn<bool>("coordDragsReturn");

    const QStringList both = {"12L", "12R", "24L", "24R", "19L", "19R"};
    QTest::newRow("page 1 standard") << 0 << false << both << true;
    QTest::newRow("page 2 extended") << 1 << true << both << true;
    QTest::newRow("page 3 standard") << 2 << false << QStringList() << false;
    QTest::newRow("page 4 extended")
        << 3 << true << QStringList{"12L", "12R", "24R", "19R"} << true;
}

void tst_QVantelHeadphonePages::programAndCoordDragTheirReturns()
{
    QFETCH(int, headphone);
    QFETCH(bool, extended);
    QFETCH(QStringList, gainNodes);
    QFETCH(bool, coordDragsReturn);

    const std::unique_ptr<QVantelHeadphoneWidget> page = makeHeadphonePage(headphone);
    QVERIFY(comDevice()->setOperationMode(extended ? 1 : 0, false));
    makeReady();
    TMatrixSettings *matrix = matrixSettings();
    const int left = page->leftOutput();
    const int right = page->rightOutput();
    for (int input : {12, 13, 19, 24}) {
        for (int output : {left, right}) {
            matrix->setNodeGain(input, output, 0.0F);
            matrix->setNodeOn(input, output, true);
        }
    }

    page->strip(20)->setGain(-5);
    for (int input : {12, 19, 24}) {
        for (const auto &[output, ear] : {std::pair{left, 'L'}, std::pair{right, 'R'}}) {
            const QString name = QString::number(input) + QLatin1Char(ear);
            QCOMPARE(matrix->node(input, output).gain, gainNodes.contains(name) ? -5.0F : 0.0F);
        }
    }

    page->strip(21)->setPanning(QVantel::PanLeft);
    QVERIFY(matrix->node(13, left).isOn());
    QCOMPARE(matrix->node(13, right).isOn(), !coordDragsReturn);
}

// Registered with the window, page 1 asks it for copies and for other pages by type.
void tst_QVantelHeadphonePages::windowCarriesCopiesAndPageBar()
{
    registerHeadphonePages();
    auto window = std::make_unique<QVantelWindow>();
    auto *first = qobject_cast<QVantelHeadphone1Page *>(window->page(QVantel::Headphone1Page));
    auto *third = qobject_cast<QVantelHeadphone3Page *>(window->page(QVantel::Headphone3Page));
    QVERIFY(first && third);
    QVERIFY(qobject_cast<QVantelHeadphone2Page *>(window->page(QVantel::Headphone2Page)));
    QVERIFY(qobject_cast<QVantelHeadphone4Page *>(window->page(QVantel::Headphone4Page)));

    first->strip(8)->setGain(7);
    QVantelMessage *message = first->copyClicked(1);
    QVERIFY(message);
    QCOMPARE(message->text(), QStringLiteral("Copy gain and routing settings to position 3?"));
    message->okButton()->click();
    QCOMPARE(third->strip(8)->gain(), 7);
    QCOMPARE(matrixSettings()->node(8, 6).gain, 7.0F);

    // An Operator may not copy from page 1.
    accessLevel = AccessLevel::Operator;
    first->strip(8)->setGain(2);
    message = first->copyClicked(1);
    QCOMPARE(message->text(), QStringLiteral("Operator is not allowed to perform this operation"));
    QVERIFY(!message->okButton());
    message->cancelButton()->click();
    QCOMPARE(third->strip(8)->gain(), 7);

    window->pageActivated(QVantel::MainPage);
    first->pageButton(1)->click();
    QCOMPARE(window->currentPage(), int(QVantel::Headphone3Page));
    third->pageButton(0)->click();
    QCOMPARE(window->currentPage(), int(QVantel::Headphone1Page));

    window.reset();
    for (int page = QVantel::Headphone1Page; page <= QVantel::Headphone4Page; ++page)
        QVantelWindow::setPageFactory(QVantel::Page(page), nullptr);
}

QTEST_MAIN(tst_QVantelHeadphonePages)
#include "tst_qvantelheadphonepages.moc"
