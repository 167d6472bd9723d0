// Pages of a unit that cannot be read: every settings page is opened once on the demo unit to
// learn what it reads, then opened again on a unit that fails every one of those reads, or only
// some of them for a page that reads its rows apart. The page must say "Failed to read the
// settings!" rather than show defaults as if the unit held them, and must go on saying nothing
// of the unread rows after its Apply and its refresh.

#include "settings/qvantelsettingspage.h"

#include "frontpanel/qvantelsoftkeys.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/comravennacontroller.h"
#include "model/matrixsettings.h"
#include "settings/settingsids.h"
#include "tests/settings/settingspagerig.h"
#include "tests/support/demoarea.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelswitch.h"

#include <QPointer>
#include <QSet>
#include <QTest>

namespace {

const QString kFailedRead = QStringLiteral("Failed to read the settings!");

} // namespace

// A step of the way to a page that stands for the first stored item of the list shown.
constexpr int kFirstStored = -1;

class TestUnreadPages : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void cleanup() { stopUnit(); }
    void pageSaysItCouldNotRead_data();
    void pageSaysItCouldNotRead();

private:
    [[nodiscard]] bool start();
    // Taps the way to a page as an operator would: a root entry, then a row of each page.
    // Returns the page the last tap opened.
    QVantelMenuItems *tap(int step);
};

bool TestUnreadPages::start()
{
    // The model as a login leaves it.
    return startDemoUnit() && connectPage([] {
               return comDevice()->refresh() && audioSettings()->start(true)
                      && matrixSettings()->start(true) && (softkeys()->readAll(), true)
                      && ravennaController()->startWithIdentity();
           });
}

QVantelMenuItems *TestUnreadPages::tap(int step)
{
    QVantelMenuItems *shown = m_page->currentPage();
    if (!shown) {
        QVantelMenuEntry *entry = m_page->entries()->findEntry(step);
        if (!entry)
            return nullptr;
        m_page->entries()->childClicked(entry->titleLabel());
        return m_page->currentPage();
    }
    QVantelMenuItem *row = nullptr;
    for (QVantelMenuItem *item : shown->items()) {
        if (step == kFirstStored ? item->id() >= kFirstStoredRow : item->id() == step) {
            row = item;
            break;
        }
    }
    if (!row)
        return nullptr;
    m_page->itemClicked(row);
    QVantelMenuItems *opened = m_page->currentPage();
    return opened != shown ? opened : nullptr;
}

void TestUnreadPages::pageSaysItCouldNotRead_data()
{
    QTest::addColumn<QList<int>>("way");
    // The settings whose reads fail; none named: every one the page reads.
    QTest::addColumn<QStringList>("failing");
    // Rows that would otherwise show a default as the unit's value: locked, showing "Unknown" or
    // nothing, a switch without its switch.
    QTest::addColumn<QList<int>>("unread");
    struct Page
    {
        const char *name;
        QList<int> way;
        QList<int> unread;
        QStringList failing = {};
    };
    const QList<Page> pages = {
        {"Network", {kPageNetwork}, {}},
        {"SIP", {kPageNetwork, kPageSip}, {}},
        {"SIP account", {kPageNetwork, kPageSip, kPageSipAccount1}, {}},
        {"ISDN", {kPageNetwork, kPageIsdn}, {kRowIsdn5as, kRowIsdnProtocol, kRowIsdnSpid}},
        // The interface's settings and the 5AS switch are read apart.
        {"ISDN interface",
         {kPageNetwork, kPageIsdn},
         {kRowIsdnProtocol,
          kRowIsdnLocalNumber1,
          kRowIsdnLocalNumber2,
          kRowIsdnSubAddress1,
          kRowIsdnSubAddress2,
          kRowIsdnSpid},
         {QStringLiteral("protocol")}},
        {"ISDN 5AS", {kPageNetwork, kPageIsdn}, {kRowIsdn5as}, {QStringLiteral("5as")}},
        {"Ethernet", {kPageNetwork, kPageEthernetFirst}, {kRowEthernetDhcp, kRowEthernetLinkMode}},
        {"Mobile",
         {kPageNetwork, kPageMobileFirst},
         {kRowMobilePinSave,
          kRowMobileRat,
          kRowMobileDataService,
          kRowMobileAuthentication,
          kRowMobileSubscriber}},
        {"Wi-Fi", {kPageNetwork, kPageWifiFirst}, {kRowWifiActive, kRowWifiList, kRowWifiSecurity}},
        // The settings and the list of networks are read apart.
        {"Wi-Fi settings",
         {kPageNetwork, kPageWifiFirst},
         {kRowWifiActive, kRowWifiSecurity},
         {QStringLiteral("data_connection")}},
        {"Coding", {kPageCoding}, {}},
        {"Codec 1", {kPageCoding, kPageCodec1}, {}},
        {"Auto bit rate",
         {kPageCoding, kPageAutoBitRate},
         {kRowAutoAdapt, kRowAdaptPolicy, kRowMinBitRate, kRowMaxBitRate}},
        {"Audio", {kPageAudio}, {}},
        {"Monitoring", {kPageAudio, kPageMonitoring}, {}},
        {"RAVENNA",
         {kPageAudio, kPageRavenna},
         {kRowRavennaDeviceName,
          kRowRavennaSampleRate,
          kRowRavennaResolution,
          kRowRavennaPtpDomain,
          kRowRavennaNetMode,
          kRowRavennaLockState}},
        {"RAVENNA addressing",
         {kPageAudio, kPageRavenna, kPageRavennaAddress1},
         {kRowRavennaDhcp, kRowRavennaIpAddress, kRowRavennaSubnet, kRowRavennaGateway}},
        {"RAVENNA inputs", {kPageAudio, kPageRavenna, kPageRavennaInputs}, {kRowReceiverDelay}},
        {"RAVENNA input stream",
         {kPageAudio, kPageRavenna, kPageRavennaInputs, kPageStreamFirst},
         {kRowStreamId, kRowStreamChannel}},
        {"RAVENNA output",
         {kPageAudio, kPageRavenna, kPageRavennaOutput},
         {kRowOutputStreamName,
          kRowOutputTransmit,
          kRowOutputInterfaces,
          kRowOutputAutoconf1,
          kRowOutputMcAddr1,
          kRowOutputMcPort1}},
        {"Book", {kPageBook}, {}},
        {"Call profiles", {kPageBook, kPageCallProfiles}, {}},
        {"Presets", {kPageBook, kPagePresets}, {}},
        {"SIP profiles", {kPageBook, kPageSipProfiles}, {}},
        {"Snapshots", {kPageBook, kPageSnapshots}, {}},
        {"Call profile", {kPageBook, kPageCallProfiles, kFirstStored}, {}},
        {"Preset", {kPageBook, kPagePresets, kFirstStored}, {}},
        {"Tools", {kPageTools}, {}},
        {"Sound ID", {kPageTools, kPageSoundId}, {}},
        {"Soft keys", {kPageTools, kPageSoftkeys}, {}},
        {"Soft key", {kPageTools, kPageSoftkeys, kPageSoftkeyFirst}, {}},
        {"Labels", {kPageTools, kPageLabels}, {}},
        {"Miscellaneous",
         {kPageTools, kPageMiscellaneous},
         {kRowInput1,
          kRowRelay2,
          kRowAutoRedial1,
          kRowRedialAttempts,
          kRowRedialTime,
          kRowNtpServer,
          kRowCustomNtpServer}},
        {"Troubleshooting", {kPageTools, kPageTroubleshooting}, {kRowLogLevel, kRowLogAddr}},
        {"Remote assistance", {kPageTools, kPageRemoteAssistance}, {}},
        {"Passwords", {kPageTools, kPagePasswords}, {}},
        {"Status", {kPageStatus}, {kRowStatusWifiFirst}},
        {"Call state", {kPageStatus, kPageConnections}, {}},
        {"AoIP status", {kPageStatus, kPageAoipStatus}, {}},
        {"Mobile status",
         {kPageStatus, kPageMobileStatusFirst},
         {kRowMobileStatusTechnology,
          kRowMobileStatusOperator,
          kRowMobileStatusSignal,
          kRowMobileStatusDataService}},
    };
    for (const Page &page : pages)
        QTest::newRow(page.name) << page.way << page.failing << page.unread;
}

void TestUnreadPages::pageSaysItCouldNotRead()
{
    QFETCH(QList<int>, way);
    QFETCH(QStringList, failing);
    QFETCH(QList<int>, unread);

    if (failing.isEmpty()) {
        // What the last page of the way reads from a unit that answers.
        QVERIFY(start());
        for (int i = 0; i + 1 < way.size(); ++i)
            QVERIFY(tap(way.at(i)));
        m_fake->clearLog();
        QVERIFY(tap(way.last()));
        QSet<QString> keys;
        for (const FakeRequest &request : m_fake->requests()) {
            for (const QString &name : request.gets() + request.lists())
                keys.insert(name);
        }
        QCOMPARE(messageText(), QString());
        stopUnit();
        if (keys.isEmpty())
            QSKIP("The page asks the unit for no setting of its own.");
        failing = QStringList(keys.cbegin(), keys.cend());
    }

    // The same way on a unit that fails those reads at the last step.
    QVERIFY(start());
    for (int i = 0; i + 1 < way.size(); ++i)
        QVERIFY(tap(way.at(i)));
    auto *demo = m_fake->findChild<DemoUnit *>();
    QVERIFY(demo);
    demo->addFirstHandler(failReadOf(failing));
    const QPointer<QVantelMenuItems> page = tap(way.last());
    QVERIFY(page);
    QCOMPARE(messageText(), kFailedRead);
    const auto checkUnread = [&page, &unread](const char *after) {
        for (const int id : unread) {
            const QVantelMenuItem *row = page->findItem(id);
            const QString where = QStringLiteral("row %1 (%2)").arg(id).arg(after);
            QVERIFY2(row, qPrintable(where));
            const QString shown = row->valueText();
            QVERIFY2(shown.isEmpty() || shown == QLatin1String("Unknown"),
                     qPrintable(QStringLiteral("%1: %2").arg(where, shown)));
            QVERIFY2(row->isReadOnly(), qPrintable(where));
            if (row->switchButton())
                QVERIFY2(!row->switchButton()->isVisibleTo(row), qPrintable(where));
        }
    };
    checkUnread("opened");
    if (QTest::currentTestFailed() || unread.isEmpty())
        return;

    // Nothing the unit did not send comes back with the page's Apply or its refresh.
    m_page->applyClicked();
    QVERIFY(page && m_page->currentPage() == page);
    checkUnread("after Apply");
    if (QTest::currentTestFailed())
        return;
    m_page->refreshClicked();
    QVERIFY(page && m_page->currentPage() == page);
    checkUnread("after refresh");
}

QTEST_MAIN(TestUnreadPages)
#include "tst_unreadpages.moc"
