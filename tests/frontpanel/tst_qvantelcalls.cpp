#include "tests/frontpanel/windowfixture.h"

#include "frontpanel/qvantelbanner.h"
#include "frontpanel/qvantelconnectionpage.h"
#include "frontpanel/qvantelmainpage.h"
#include "frontpanel/qvantelsoftkeys.h"
#include "link/codecconfig.h"
#include "model/audiosettings.h"
#include "model/comaudioconnection.h"
#include "model/comdevice.h"
#include "widgets/qvantelconninfo.h"
#include "widgets/qvantelconnpanel.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuselectable.h"
#include "widgets/qvantelstatuspanel.h"
#include "widgets/qvantelswitch.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

namespace {

const QString kEth = QStringLiteral("eth.0");

FakeRequestPredicate commandOf(const QString &action, const FakePairs &pairs)
{
    return [action, pairs](const FakeRequest &r) {
        if (!r.isCommand(action))
            return false;
        for (const auto &[key, value] : pairs) {
            if (r.value(key) != value)
                return false;
        }
        return true;
    };
}

FakeRequestPredicate remoteNumber(const QString &key, const QString &number)
{
    return [key, number](const FakeRequest &r) {
        return r.typeWord() == QLatin1String("INFO")
               && r.value(QStringLiteral("info_type")) == QLatin1String("remote_numbers")
               && r.value(key) == number;
    };
}

QString codingText(const char *codec)
{
    return QVantelLocalize::codingSummary(codecConfigFromString(codec));
}

} // namespace

class TestQVantelCalls : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void dialFromTheConnectionPage();
    void incomingCallAndHangUp();
    void callLost();
    void dialRefused();
    void coordinationLine();
    void addressHistory();
    void autoRedial();
    void bitRateChoices_data();
    void bitRateChoices();
    void bitRateChoiceSendsItsCommand();
    void codingButtonWithoutOpus();
    void modelEventsReachBannerAndMainPage();
    void remoteNumbersFromTheDevice();

private:
    // Logs in without password at level and waits until the model and the controllers are up.
    void loginAndLoad(int level = 0);
    void showConnectionPage();
    QVantelConnectionPage *page() const { return f.window->connectionPage(); }
    QVantelConnPanel *panel(int link) const { return page()->panel(link); }
    QVantelStatusPanel *status() const { return page()->statusPanel(); }
    QVantelBanner *banner() const { return f.window->mainPage()->banner(); }
    // Types text on the link's dial pad and presses OK.
    void typeAddress(int link, const QString &text);
    // Dials link 1 to address; the fake names the call id.
    void dialLink1(const QString &address, int id);
    void push(const QString &eventType, const FakePairs &pairs);

    WindowFixture f;
};

void TestQVantelCalls::cleanup()
{
    f.stop();
}

void TestQVantelCalls::loginAndLoad(int level)
{
    QVERIFY(f.start());
    f.pressLogin(level);
    QCOMPARE(f.window->currentPage(), int(QVantel::MainPage));
    QTRY_VERIFY_WITH_TIMEOUT(comDevice()->loaded(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(audioSettings()->state() == TComController::StateReady, 10000);
    QTRY_VERIFY(comClient()->isReady());
}

void TestQVantelCalls::showConnectionPage()
{
    f.window->pageActivated(QVantel::ConnectionPage);
    QCOMPARE(f.window->currentPage(), int(QVantel::ConnectionPage));
}

void TestQVantelCalls::typeAddress(int link, const QString &text)
{
    panel(link)->dialButton()->click();
    auto *keyboard = qobject_cast<QVantelVirtual *>(page()->openPopup());
    QVERIFY(keyboard);
    QCOMPARE(keyboard->titleLabel()->text(), QStringLiteral("Dial Number"));
    QCOMPARE(keyboard->mode(), 0);
    keyboard->lineEdit()->setText(text);
    keyboard->key(31)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!page()->openPopup());
}

void TestQVantelCalls::dialLink1(const QString &address, int id)
{
    typeAddress(1, address);
    f.fake->setCommandReply(QStringLiteral("con"), {{QStringLiteral("id"), QString::number(id)}});
    QTest::mouseClick(panel(1)->connInfo(), Qt::LeftButton);
    QVERIFY(comDevice()->audioConnection(1));
}

void TestQVantelCalls::push(const QString &eventType, const FakePairs &pairs)
{
    QVERIFY(f.fake->pushEvent(eventType, pairs));
}

void TestQVantelCalls::dialFromTheConnectionPage()
{
    loginAndLoad();
    showConnectionPage();
    const QString idleCoding = QVantelLocalize::codingSummary(comDevice()->coder1());
    QCOMPARE(panel(1)->connInfo()->stateLabel()->text(),
             QStringLiteral("Ethernet / ") + idleCoding);
    QCOMPARE(status()->linkState(1), 1);

    // The dial pad stores the address on the panel, on the device and on the banner.
    typeAddress(1, QStringLiteral("10.0.0.9"));
    QVERIFY(f.received(remoteNumber(QStringLiteral("remote_aoip1"), QStringLiteral("10.0.0.9"))));
    QCOMPARE(panel(1)->remoteAddress(QVantelConnPanel::IpAddress), QStringLiteral("10.0.0.9"));
    QCOMPARE(status()->linkState(1), 2);
    QCOMPARE(panel(1)->connInfo()->state(), 2);
    QCOMPARE(banner()->record(1).detailText, QStringLiteral("10.0.0.9"));

    // A tap on the tile dials it.
    f.fake->setCommandReply(QStringLiteral("con"), {{QStringLiteral("id"), QStringLiteral("5")}});
    QTest::mouseClick(panel(1)->connInfo(), Qt::LeftButton);
    QVERIFY(f.received(commandOf(QStringLiteral("con"),
                                 {{QStringLiteral("remote_addr"), QStringLiteral("10.0.0.9")},
                                  {QStringLiteral("network"), kEth},
                                  {QStringLiteral("comm_link"), QStringLiteral("audio")}})));
    TComAudioConnection *call = comDevice()->audioConnection(1);
    QVERIFY(call);
    QCOMPARE(call->id(), 5);
    QCOMPARE(panel(1)->stateLabel()->text(), QStringLiteral("Call in progress..."));
    QCOMPARE(status()->linkState(1), 3);
    QCOMPARE(panel(1)->connInfo()->state(), 3);

    const FakePairs ids{{QStringLiteral("id"), QStringLiteral("5")},
                        {QStringLiteral("network"), kEth}};
    push(QStringLiteral("0100-call proceeding"), ids);
    QTRY_COMPARE(call->status(), int(TComAudioConnection::StatusProceeding));
    QCOMPARE(panel(1)->stateLabel()->text(), QStringLiteral("Call in progress..."));

    const char *opus = "OPUS/48000/stereo/64000";
    push(QStringLiteral("1000-call active"),
         ids
             + FakePairs{{QStringLiteral("codec_rx"), QLatin1String(opus)},
                         {QStringLiteral("codec_tx"), QLatin1String(opus)},
                         {QStringLiteral("remote_addr"), QStringLiteral("10.0.0.9")}});
    QTRY_COMPARE(panel(1)->stateLabel()->text(), QStringLiteral("Call in progress (negociating)"));
    QCOMPARE(status()->linkState(1), 3);

    push(QStringLiteral("dsp_status"),
         ids + FakePairs{{QStringLiteral("state"), QStringLiteral("sync")}});
    QTRY_COMPARE(panel(1)->stateLabel()->text(), QStringLiteral("Call established (synchronized)"));
    QCOMPARE(status()->linkState(1), 4);
    QCOMPARE(panel(1)->connInfo()->state(), 4);
    QCOMPARE(panel(1)->connInfo()->stateLabel()->text(),
             QStringLiteral("Ethernet\n") + codingText(opus));
    QCOMPARE(panel(1)->connInfo()->addressLabel()->text(), QStringLiteral("10.0.0.9"));
    QCOMPARE(banner()->record(1).interfaceText, QStringLiteral("Ethernet"));
    QCOMPARE(banner()->record(1).codingText, codingText(opus));
    // An IP call shows its link quality.
    QVERIFY(status()->isLinkEnabled(1));

    push(QStringLiteral("1900-call released"), ids);
    QTRY_COMPARE(panel(1)->stateLabel()->text(), QStringLiteral("Call released"));
    QTRY_VERIFY(!comDevice()->audioConnection(1));
    QCOMPARE(status()->linkState(1), 2);
    QVERIFY(!status()->isLinkEnabled(1));
    QCOMPARE(panel(1)->connInfo()->addressLabel()->text(), QStringLiteral("10.0.0.9"));
    QCOMPARE(banner()->record(1).codingText, idleCoding);
}

void TestQVantelCalls::incomingCallAndHangUp()
{
    loginAndLoad();
    showConnectionPage();

    // The unit rings: the call appears on link 1 with the caller's number.
    const FakePairs ids{{QStringLiteral("id"), QStringLiteral("9")},
                        {QStringLiteral("network"), kEth},
                        {QStringLiteral("comm_link"), QStringLiteral("audio")}};
    push(QStringLiteral("0600-call received"), ids);
    push(QStringLiteral("call ring"),
         ids + FakePairs{{QStringLiteral("remote_addr"), QStringLiteral("0041790001122")}});
    QTRY_COMPARE(panel(1)->connInfo()->addressLabel()->text(), QStringLiteral("0041790001122"));
    QCOMPARE(panel(1)->stateLabel()->text(), QStringLiteral("Incoming call..."));
    QCOMPARE(banner()->record(1).detailText, QStringLiteral("0041790001122"));
    QCOMPARE(status()->linkState(1), 3);
    TComAudioConnection *call = comDevice()->audioConnection(1);
    QVERIFY(call);
    QCOMPARE(call->direction(), int(TComAudioConnection::DirectionIncoming));

    // Answered at the unit: the call runs.
    push(QStringLiteral("1000-call active"),
         ids + FakePairs{{QStringLiteral("codec_rx"), QStringLiteral("G722")}});
    push(QStringLiteral("dsp_status"),
         ids + FakePairs{{QStringLiteral("state"), QStringLiteral("sync")}});
    QTRY_COMPARE(status()->linkState(1), 4);

    // A tap asks first; Cancel keeps the call.
    f.fake->clearLog();
    QTest::mouseClick(panel(1)->connInfo(), Qt::LeftButton);
    auto *question = qobject_cast<QVantelMessage *>(page()->openPopup());
    QVERIFY(question);
    QCOMPARE(question->text(), QStringLiteral("Are you sure you want to hang up?"));
    QCOMPARE(question->kind(), int(QVantelMessage::CancelAndOk));
    question->cancelButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::qWait(50);
    QCOMPARE(f.countOf([](const FakeRequest &r) { return r.isCommand(QStringLiteral("dcon")); }),
             0);

    // OK hangs up.
    QTest::mouseClick(panel(1)->connInfo(), Qt::LeftButton);
    question = qobject_cast<QVantelMessage *>(page()->openPopup());
    QVERIFY(question);
    question->okButton()->click();
    QVERIFY(f.received(commandOf(
        QStringLiteral("dcon"),
        {{QStringLiteral("id"), QStringLiteral("9")}, {QStringLiteral("network"), kEth}})));
    QTRY_COMPARE(panel(1)->stateLabel()->text(), QStringLiteral("Releasing call..."));
    QCOMPARE(status()->linkState(1), 6);
    QVERIFY(!status()->isLinkEnabled(1));

    push(QStringLiteral("1900-call released"),
         ids + FakePairs{{QStringLiteral("cause"), QStringLiteral("normal clearing")}});
    QTRY_COMPARE(panel(1)->stateLabel()->text(), QStringLiteral("Call released (normal clearing)"));
    QTRY_VERIFY(!comDevice()->audioConnection(1));
    QCOMPARE(status()->linkState(1), 1);
}

void TestQVantelCalls::callLost()
{
    loginAndLoad();
    showConnectionPage();
    dialLink1(QStringLiteral("studio.example"), 12);
    const FakePairs ids{{QStringLiteral("id"), QStringLiteral("12")},
                        {QStringLiteral("network"), kEth}};
    push(QStringLiteral("1000-call active"), ids);
    QTRY_COMPARE(status()->linkState(1), 3);
    push(QStringLiteral("1901-call lost"),
         ids + FakePairs{{QStringLiteral("cause"), QStringLiteral("link timeout")}});
    QTRY_COMPARE(panel(1)->stateLabel()->text(), QStringLiteral("Call released (link timeout)"));
    QTRY_VERIFY(!comDevice()->audioConnection(1));
    QCOMPARE(status()->linkState(1), 2);
    QCOMPARE(panel(1)->connInfo()->state(), 2);
}

void TestQVantelCalls::dialRefused()
{
    loginAndLoad();
    showConnectionPage();
    typeAddress(1, QStringLiteral("10.0.0.77"));
    f.fake->refuseCommand(QStringLiteral("con"), QStringLiteral("409-remote busy"));
    QTest::mouseClick(panel(1)->connInfo(), Qt::LeftButton);
    QVERIFY(f.message().startsWith(QStringLiteral("Failed to initiate call\n(")));
    QVERIFY(!comDevice()->audioConnection(1));
    QVERIFY(comDevice()->connections().empty());
    QCOMPARE(panel(1)->remoteAddress(QVantelConnPanel::IpAddress), QStringLiteral("10.0.0.77"));
    f.closeMessage();

    // Without an address nothing is dialled at all.
    f.fake->clearLog();
    typeAddress(1, QString());
    QCOMPARE(status()->linkState(1), 1);
    QTest::mouseClick(panel(1)->connInfo(), Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(f.countOf([](const FakeRequest &r) { return r.isCommand(QStringLiteral("con")); }), 0);
    QVERIFY(f.message().isEmpty());
}

void TestQVantelCalls::coordinationLine()
{
    QVERIFY(f.start());
    const QString audio = QStringLiteral("audio");
    f.fake->setValue(QStringLiteral("codec_mode"), QStringLiteral("cmode_normal"), audio);
    f.fake->setValue(QStringLiteral("coord_mode"), QStringLiteral("enabled"), audio);
    f.fake->setValue(QStringLiteral("codec"), QStringLiteral("G722"), audio);
    f.pressLogin(0);
    QTRY_VERIFY_WITH_TIMEOUT(comDevice()->loaded(), 10000);
    QTRY_VERIFY(comClient()->isReady());
    QVERIFY(comDevice()->hasCoordinationLine());
    showConnectionPage();

    const QString voice = QVantelLocalize::codecName(TComDevice::GsmAlgorithm);
    QCOMPARE(panel(2)->connInfo()->stateLabel()->text(), QStringLiteral("Mobile / ") + voice);
    QCOMPARE(panel(2)->connInfo()->titleLabel()->text(), QStringLiteral("Coordination"));

    typeAddress(2, QStringLiteral("+41790001122"));
    QVERIFY(
        f.received(remoteNumber(QStringLiteral("remote_voice"), QStringLiteral("+41790001122"))));
    QCOMPARE(panel(2)->remoteAddress(QVantelConnPanel::VoiceAddress),
             QStringLiteral("+41790001122"));

    f.fake->setCommandReply(QStringLiteral("con"), {{QStringLiteral("id"), QStringLiteral("6")}});
    QTest::mouseClick(panel(2)->connInfo(), Qt::LeftButton);
    QVERIFY(f.received(commandOf(QStringLiteral("con"),
                                 {{QStringLiteral("remote_addr"), QStringLiteral("+41790001122")},
                                  {QStringLiteral("network"), QStringLiteral("mobile.0")},
                                  {QStringLiteral("comm_link"), QStringLiteral("coord_line")}})));
    TComAudioConnection *call = comDevice()->audioConnection(2);
    QVERIFY(call);
    QCOMPARE(call->type(), int(TComBaseConnection::CoordinationLine));
    QCOMPARE(status()->linkState(2), 3);

    const FakePairs ids{{QStringLiteral("id"), QStringLiteral("6")},
                        {QStringLiteral("network"), QStringLiteral("mobile.0")}};
    push(QStringLiteral("1000-call active"), ids);
    QTRY_COMPARE(status()->linkState(2), 4);
    QCOMPARE(panel(2)->stateLabel()->text(), QStringLiteral("Call established (synchronized)"));
    // Its statistics never reach the status strip.
    push(QStringLiteral("rx-quality-report"),
         ids + FakePairs{{QStringLiteral("net-quality"), QStringLiteral("40")}});
    QTRY_COMPARE(call->rxStatistics(0).netQuality, 40);
    QVERIFY(!status()->isLinkEnabled(2));

    // When it ends the link's mobile voice description and remembered number come back.
    push(QStringLiteral("1900-call released"), ids);
    QTRY_COMPARE(panel(2)->stateLabel()->text(), QStringLiteral("Call released"));
    QCOMPARE(banner()->record(2).interfaceText, QStringLiteral("Mobile"));
    QCOMPARE(banner()->record(2).codingText, voice);
    QCOMPARE(banner()->record(2).detailText, QStringLiteral("+41790001122"));
    QTRY_COMPARE(status()->linkState(2), 2);
}

void TestQVantelCalls::addressHistory()
{
    loginAndLoad();
    showConnectionPage();
    const QString db = QStringLiteral("db");
    f.fake->setList(
        QStringLiteral("addr-history"),
        {QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.2"), QStringLiteral("10.0.0.3")},
        db);
    typeAddress(1, QStringLiteral("10.0.0.2"));

    // The row of the current address is preselected; OK takes the chosen one.
    panel(1)->historyButton()->click();
    QVERIFY(f.received([](const FakeRequest &r) {
        return r.isListOf(QStringLiteral("addr-history")) && r.target() == QLatin1String("db");
    }));
    auto *list = qobject_cast<QVantelMenuSelect *>(page()->openPopup());
    QVERIFY(list);
    QVERIFY(list->currentSelectable());
    QCOMPARE(list->currentSelectable()->id(), 1);
    list->setCurrentSelectable(list->findSelectable(2));
    list->okButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(panel(1)->remoteAddress(QVantelConnPanel::IpAddress), QStringLiteral("10.0.0.3"));
    QVERIFY(f.received(remoteNumber(QStringLiteral("remote_aoip1"), QStringLiteral("10.0.0.3"))));

    // Without a match the first row is preselected; Cancel changes nothing.
    typeAddress(1, QStringLiteral("192.168.1.1"));
    panel(1)->historyButton()->click();
    list = qobject_cast<QVantelMenuSelect *>(page()->openPopup());
    QVERIFY(list);
    QCOMPARE(list->currentSelectable()->id(), 0);
    list->cancelButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(panel(1)->remoteAddress(QVantelConnPanel::IpAddress), QStringLiteral("192.168.1.1"));

    // An empty history still opens an empty list; OK there does nothing.
    f.fake->setList(QStringLiteral("addr-history"), {}, db);
    panel(1)->historyButton()->click();
    list = qobject_cast<QVantelMenuSelect *>(page()->openPopup());
    QVERIFY(list);
    QVERIFY(!list->currentSelectable());
    list->okButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(panel(1)->remoteAddress(QVantelConnPanel::IpAddress), QStringLiteral("192.168.1.1"));
}

void TestQVantelCalls::autoRedial()
{
    QVERIFY(f.start());
    const QString network = QStringLiteral("network");
    f.fake->setValue(QStringLiteral("auto_redial_link1"), QStringLiteral("on"), network);
    f.fake->setValue(QStringLiteral("auto_redial_link2"), QStringLiteral("off"), network);
    f.pressLogin(1);
    QTRY_VERIFY_WITH_TIMEOUT(comDevice()->loaded(), 10000);
    QTRY_VERIFY(comClient()->isReady());
    showConnectionPage();
    QVERIFY(panel(1)->autoRedialSwitch()->isChecked());
    QVERIFY(!panel(2)->autoRedialSwitch()->isChecked());
    QVERIFY(panel(1)->autoRedialSwitch()->isEnabled());

    panel(2)->autoRedialSwitch()->setChecked(true);
    page()->autoRedialClicked(panel(2));
    QVERIFY(f.received([](const FakeRequest &r) {
        return r.isSetOf(QStringLiteral("auto_redial_link2"), QStringLiteral("on"))
               && r.target() == QLatin1String("network");
    }));
    QCOMPARE(f.fake->value(QStringLiteral("auto_redial_link2"), network), QStringLiteral("on"));

    // An Operator sees the switches but cannot use them.
    f.window->pageActivated(QVantel::MainPage);
    accessLevel = AccessLevel::Operator;
    showConnectionPage();
    QVERIFY(!panel(1)->autoRedialSwitch()->isEnabled());
    QVERIFY(panel(2)->autoRedialSwitch()->isChecked());
}

void TestQVantelCalls::bitRateChoices_data()
{
    QTest::addColumn<QList<int>>("rates");
    QTest::addColumn<int>("current");
    QTest::addColumn<QList<int>>("choices");

    QTest::newRow("between") << QList<int>{32000, 64000} << 48000
                             << QList<int>{32000, 48000, 64000};
    QTest::newRow("above all") << QList<int>{32000, 64000} << 128000
                               << QList<int>{32000, 64000, 128000};
    QTest::newRow("below all") << QList<int>{32000, 64000} << 16000
                               << QList<int>{16000, 32000, 64000};
    QTest::newRow("listed once") << QList<int>{32000, 64000} << 64000 << QList<int>{32000, 64000};
    QTest::newRow("empty list") << QList<int>{} << 64000 << QList<int>{};
}

void TestQVantelCalls::bitRateChoices()
{
    QFETCH(QList<int>, rates);
    QFETCH(int, current);
    QFETCH(QList<int>, choices);
    const std::vector<int> result = QVantelConnectionPage::bitRateChoices(
        std::vector<int>(rates.cbegin(), rates.cend()), current);
    QCOMPARE(QList<int>(result.cbegin(), result.cend()), choices);
}

void TestQVantelCalls::bitRateChoiceSendsItsCommand()
{
    loginAndLoad(1);
    showConnectionPage();
    f.fake->setList(QStringLiteral("bitrate"),
                    {QStringLiteral("32000"), QStringLiteral("64000")},
                    QStringLiteral("audio"));
    dialLink1(QStringLiteral("10.0.0.9"), 5);
    const FakePairs ids{{QStringLiteral("id"), QStringLiteral("5")},
                        {QStringLiteral("network"), kEth}};
    push(QStringLiteral("1000-call active"),
         ids
             + FakePairs{{QStringLiteral("codec_rx"), QStringLiteral("OPUS/48000/stereo/48000")},
                         {QStringLiteral("codec_tx"), QStringLiteral("OPUS/48000/stereo/48000")},
                         {QStringLiteral("auto_bitrate"), QStringLiteral("off")}});
    QTRY_COMPARE(comDevice()->audioConnection(1)->status(), int(TComAudioConnection::StatusActive));

    panel(1)->codingButton()->click();
    QVERIFY(f.received([](const FakeRequest &r) {
        return r.isListOf(QStringLiteral("bitrate")) && r.value(QStringLiteral("alg")) == "OPUS"
               && r.value(QStringLiteral("samplerate")) == "48000";
    }));
    auto *list = qobject_cast<QVantelMenuSelect *>(page()->openPopup());
    QVERIFY(list);
    QVERIFY(list->findSelectable(32000));
    QVERIFY(list->findSelectable(64000));
    QCOMPARE(list->findSelectable(48000)->label()->text(), QStringLiteral("48 kbit/s"));
    QCOMPARE(list->currentSelectable()->id(), 48000);
    QCOMPARE(f.window->currentPage(), int(QVantel::ConnectionPage));
    list->setCurrentSelectable(list->findSelectable(64000));
    list->okButton()->click();
    QVERIFY(
        f.received(commandOf(QStringLiteral("send_user_info"),
                             {{QStringLiteral("id"), QStringLiteral("5")},
                              {QStringLiteral("info"), QStringLiteral("AT#TXBITRATE=64000;")}})));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // With the automatic bit rate on, the button only tells the current rates.
    push(QStringLiteral("1000-call active"),
         ids + FakePairs{{QStringLiteral("auto_bitrate"), QStringLiteral("on")}});
    QTRY_VERIFY(comDevice()->audioConnection(1)->autoBitrate());
    panel(1)->codingButton()->click();
    QCOMPARE(f.message(),
             QStringLiteral("Auto bit rate is active\n\nTx: %1 %2 48kbit/s\nRx: %1 %2 48kbit/s")
                 .arg(QVantelLocalize::codecName(19), QVantelLocalize::channelModeName(2)));
    QVERIFY(!page()->openPopup());
}

void TestQVantelCalls::codingButtonWithoutOpus()
{
    loginAndLoad(0);
    showConnectionPage();
    // An Operator without a call cannot open the link's coding settings.
    panel(1)->codingButton()->click();
    QCOMPARE(f.window->currentPage(), int(QVantel::ConnectionPage));

    dialLink1(QStringLiteral("10.0.0.9"), 5);
    push(QStringLiteral("1000-call active"),
         {{QStringLiteral("id"), QStringLiteral("5")},
          {QStringLiteral("network"), kEth},
          {QStringLiteral("codec_tx"), QStringLiteral("G722")}});
    QTRY_COMPARE(comDevice()->audioConnection(1)->status(), int(TComAudioConnection::StatusActive));
    f.fake->clearLog();
    panel(1)->codingButton()->click();
    panel(1)->bookButton()->click();
    QVERIFY(!page()->openPopup());
    QVERIFY(f.message().isEmpty());
    QCOMPARE(f.fake->requestCount(), 0);
    QCOMPARE(f.window->currentPage(), int(QVantel::ConnectionPage));
}

void TestQVantelCalls::modelEventsReachBannerAndMainPage()
{
    loginAndLoad();
    QVantelMainPage *main = f.window->mainPage();
    QCOMPARE(main->banner()->roleLabel(1)->text(), QStringLiteral("Program"));
    QVERIFY(f.window->keepAliveTimer()->isActive());

    // Double codec with a stereo coder 1: both rows are used.
    push(QStringLiteral("default_codec"),
         {{QStringLiteral("codec_mode"), QStringLiteral("cmode_double")},
          {QStringLiteral("dcodec_1"), QStringLiteral("OPUS/48000/stereo/64000")},
          {QStringLiteral("dcodec_2"), QStringLiteral("G722")}});
    QTRY_COMPARE(main->statusPanel()->codecMode(), 32);
    QCOMPARE(main->banner()->roleLabel(2)->text(), QStringLiteral("Coord"));
    QVERIFY(main->banner()->linkLabel(2)->isVisibleTo(main));
    QCOMPARE(main->banner()->record(2).codingText, codingText("G722"));

    // The operation mode is the coordination argument of the codec mode.
    push(QStringLiteral("default_codec"),
         {{QStringLiteral("operation_mode"), QStringLiteral("extended")}});
    QTRY_COMPARE(main->statusPanel()->coordinationMode(), 1);
    QCOMPARE(main->banner()->roleLabel(1)->text(), QStringLiteral("Prog. L/R"));

    // Relay inputs light the contact lamps; the soft keys follow "hcc" change-sets.
    push(QStringLiteral("relay_in"),
         {{QStringLiteral("relay1"), QStringLiteral("on")},
          {QStringLiteral("relay2"), QStringLiteral("off")}});
    QTRY_VERIFY(QVantelMainPage::isLampOn(main->contactLamp(0)));
    QVERIFY(!QVantelMainPage::isLampOn(main->contactLamp(1)));
    QCOMPARE(main->contactLamp(0)->text(), QStringLiteral("Contact 1\nOn"));

    QVERIFY(f.fake->pushInfo(QStringLiteral("config_changeset"),
                             {{QStringLiteral("info_source"), QStringLiteral("hcc")},
                              {QStringLiteral("softkey2"), QStringLiteral("C06F04B03")},
                              {QStringLiteral("info_label1"), QStringLiteral("ON AIR")}}));
    QTRY_COMPARE(main->softkeyButton(1)->text(), QStringLiteral("Network"));
    QCOMPARE(main->infoLamp(0)->text(), QStringLiteral("ON AIR"));
    // Another source is not the soft keys'.
    QVERIFY(f.fake->pushInfo(QStringLiteral("config_changeset"),
                             {{QStringLiteral("info_source"), QStringLiteral("web")},
                              {QStringLiteral("softkey2"), QStringLiteral("C04F01B02")}}));
    QVERIFY(f.fake->pushEvent(QStringLiteral("marker")));
    QTRY_COMPARE(f.window->deferredMessageCount(), 0);
    QTest::qWait(50);
    QCOMPARE(main->softkeyButton(1)->text(), QStringLiteral("Network"));

    // A link-1 call's relay outputs light the info lamps.
    f.fake->setCommandReply(QStringLiteral("con"), {{QStringLiteral("id"), QStringLiteral("3")}});
    const FakePairs ids{{QStringLiteral("id"), QStringLiteral("3")},
                        {QStringLiteral("network"), kEth},
                        {QStringLiteral("comm_link"), QStringLiteral("audio")}};
    push(QStringLiteral("0100-call proceeding"), ids);
    QTRY_VERIFY(comDevice()->audioConnection(1));
    QCOMPARE(main->banner()->record(1).state, 3);
    push(QStringLiteral("relay_out"),
         ids + FakePairs{{QStringLiteral("relay2"), QStringLiteral("on")}});
    QTRY_VERIFY(QVantelMainPage::isLampOn(main->infoLamp(1)));
    QVERIFY(!QVantelMainPage::isLampOn(main->infoLamp(0)));
}

void TestQVantelCalls::remoteNumbersFromTheDevice()
{
    QVERIFY(f.start());
    const QString ui = QStringLiteral("ui");
    f.fake->setValue(QStringLiteral("remote_aoip1"), QStringLiteral("10.1.1.1"), ui);
    f.fake->setValue(QStringLiteral("remote_voice"), QStringLiteral("+4179"), ui);
    f.pressLogin(0);
    QTRY_VERIFY_WITH_TIMEOUT(comDevice()->loaded(), 10000);
    QTRY_VERIFY(comClient()->isReady());
    QVERIFY(f.fake->isSubscribed(QStringLiteral("remote_numbers")));
    QCOMPARE(panel(1)->remoteAddress(QVantelConnPanel::IpAddress), QStringLiteral("10.1.1.1"));
    QCOMPARE(panel(2)->remoteAddress(QVantelConnPanel::VoiceAddress), QStringLiteral("+4179"));
    QCOMPARE(banner()->record(1).detailText, QStringLiteral("10.1.1.1"));
    QCOMPARE(f.window->mainPage()->statusPanel()->linkState(1), 2);

    // Another client changes them.
    QVERIFY(f.fake->pushInfo(QStringLiteral("remote_numbers"),
                             {{QStringLiteral("remote_aoip1"), QStringLiteral("10.2.2.2")},
                              {QStringLiteral("remote_isdn2"), QStringLiteral("0221")}}));
    QTRY_COMPARE(panel(1)->remoteAddress(QVantelConnPanel::IpAddress), QStringLiteral("10.2.2.2"));
    QCOMPARE(panel(2)->remoteAddress(QVantelConnPanel::IsdnAddress), QStringLiteral("0221"));
    QCOMPARE(banner()->record(1).detailText, QStringLiteral("10.2.2.2"));
}

QTEST_MAIN(TestQVantelCalls)
#include "tst_qvantelcalls.moc"
