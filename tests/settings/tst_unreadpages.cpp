// Pages of a unit that cannot be read: every settings page is opened once on the demo unit to
// learn what it reads, then opened again on a unit that fails every one of those reads, or only
// some of them for a page that reads its rows apart. The page must say "Failed to read the
// settings!" rather than show defaults as if the unit held them, and must go on saying nothing
// of the unread rows after its Apply and its refresh. Then again on units whose answers each
// lack one of the settings the page asks for: the rows that setting would fill show no value
// as the unit's and are never written.

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

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QTest>

namespace {

const QString kFailedRead = QStringLiteral("Failed to read the settings!");

// What a row shows: its text, or for a switch without texts of its own its position.
QString shownBy(const QVantelMenuItem *row)
{
    if (row->kind() == QVantelMenuItem::Switch && row->valueText().isEmpty())
        return row->isChecked() ? QStringLiteral("on") : QStringLiteral("off");
    return row->valueText();
}

// Whether a row that shows whole on a unit that answers everything claims no value of its own
// with shown: it shows nothing, says the value is unknown or missing, or shows only parts of
// whole (a status row that leaves out what it was not sent).
bool claimsNoValue(const QString &shown, const QString &whole)
{
    if (shown.isEmpty() || shown.contains(QLatin1String("Unknown"))
        || shown.compare(QLatin1String("Not Available"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    const QStringList parts = whole.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &part : shown.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!parts.contains(part))
            return false;
    }
    return true;
}

} // namespace

// A step of the way to a page that stands for the first stored item of the list shown.
constexpr int kFirstStored = -1;

namespace {

// A settings page: the taps that open it and the rows it shows no value on when its reads
// fail (those of failing only, when named); and the settings it reads that an Apply writes
// with the value the operator chose on another row, whether or not the unit sent them.
struct Page
{
    const char *name;
    QList<int> way;
    QList<int> unread;
    QStringList failing = {};
    QStringList writtenWithOthers = {};
};
const QList<Page> &settingsPages()
{
    static const QList<Page> pages = {
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
        // A security other than automatic is the custom network's security too.
        {"Wi-Fi",
         {kPageNetwork, kPageWifiFirst},
         {kRowWifiActive, kRowWifiList, kRowWifiSecurity},
         {},
         {QStringLiteral("authentication_custom")}},
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
    return pages;
}

} // namespace

class TestUnreadPages : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void cleanup() { stopUnit(); }
    void pageSaysItCouldNotRead_data();
    void pageSaysItCouldNotRead();
    void rowsWithoutTheirSetting_data();
    void rowsWithoutTheirSetting();
    void isdnProtocolNotSent_data();
    void isdnProtocolNotSent();

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
    for (const Page &page : settingsPages())
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

void TestUnreadPages::rowsWithoutTheirSetting_data()
{
    QTest::addColumn<QList<int>>("way");
    // Values the unit holds besides the demo's, each "target/network/name=value".
    QTest::addColumn<QStringList>("unit");
    QTest::addColumn<QStringList>("writtenWithOthers");
    for (const Page &page : settingsPages()) {
        // The pages that read their rows apart are taken whole here.
        if (page.failing.isEmpty())
            QTest::newRow(page.name) << page.way << QStringList() << page.writtenWithOthers;
    }
    // Past the PIN, where the modem's settings are shown.
    QTest::newRow("Mobile, SIM ready")
        << QList<int>{kPageNetwork, kPageMobileFirst} << QStringList{"network/mobile.0/pin=ready"}
        << QStringList();
}

// Each setting the page reads, left out of the unit's answer in turn: a row that shows anything
// else than on a unit that answers it all is locked and claims no value, before and after the
// page's Apply and refresh, and the setting is never written, whatever the rows are changed to.
void TestUnreadPages::rowsWithoutTheirSetting()
{
    QFETCH(QList<int>, way);
    QFETCH(QStringList, unit);
    QFETCH(QStringList, writtenWithOthers);

    struct Shown
    {
        QString text;
        bool readOnly;
    };
    const auto open = [&](const QStringList &missing) -> QPointer<QVantelMenuItems> {
        if (!start())
            return nullptr;
        for (const QString &setting : unit) {
            const QStringList parts
                = setting.section(QLatin1Char('='), 0, 0).split(QLatin1Char('/'));
            m_fake->setValue(
                parts.at(2), setting.section(QLatin1Char('='), 1), parts.at(0), parts.at(1));
        }
        for (int i = 0; i + 1 < way.size(); ++i) {
            if (!tap(way.at(i)))
                return nullptr;
        }
        if (!missing.isEmpty())
            m_fake->findChild<DemoUnit *>()->addFilter(leaveOutKeys(missing));
        m_fake->clearLog();
        return tap(way.last());
    };

    // What the page reads and shows on a unit that answers it all.
    QPointer<QVantelMenuItems> page = open({});
    QVERIFY(page);
    QSet<QString> asked;
    for (const FakeRequest &request : m_fake->requests()) {
        for (const QString &name : request.gets())
            asked.insert(name);
    }
    QHash<int, QString> whole;
    for (const QVantelMenuItem *row : page->items())
        whole.insert(row->id(), shownBy(row));
    stopUnit();
    QStringList keys(asked.cbegin(), asked.cend());
    // Names that address a request rather than a setting.
    keys.removeAll(QStringLiteral("network"));
    keys.removeAll(QStringLiteral("target"));
    if (keys.isEmpty())
        QSKIP("The page asks the unit for no setting of its own.");
    keys.sort();

    QStringList faults;
    for (const QString &key : std::as_const(keys)) {
        page = open({key});
        QVERIFY2(page, qPrintable(key));
        // The rows the missing setting changed, by id.
        QList<int> changed;
        const auto check = [&](const char *when) {
            for (const QVantelMenuItem *row : page->items()) {
                const int kind = row->kind();
                if (!whole.contains(row->id()) || kind == QVantelMenuItem::Caption
                    || kind == QVantelMenuItem::Navigation) {
                    continue;
                }
                if (qstrcmp(when, "opened") == 0 && shownBy(row) != whole.value(row->id()))
                    changed << row->id();
                if (changed.contains(row->id())
                    && (!row->isReadOnly()
                        || !claimsNoValue(shownBy(row), whole.value(row->id())))) {
                    faults << QStringLiteral("%1 missing, %2: row %3 shows \"%4\"%5")
                                  .arg(key, QLatin1String(when))
                                  .arg(row->id())
                                  .arg(shownBy(row),
                                       row->isReadOnly() ? QString()
                                                         : QStringLiteral(", editable"));
                }
            }
        };
        check("opened");
        changeEveryRow(page);
        m_page->applyClicked();
        for (const FakeRequest &request : m_fake->requests()) {
            if (request.isSetOf(key) && !writtenWithOthers.contains(key))
                faults << QStringLiteral("%1 missing: written by Apply").arg(key);
        }
        if (page && m_page->currentPage() == page) {
            check("after Apply");
            m_page->refreshClicked();
        }
        if (page && m_page->currentPage() == page)
            check("after refresh");
        stopUnit();
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void TestUnreadPages::isdnProtocolNotSent_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("left out") << QString();
    QTest::newRow("not set") << QStringLiteral("101-parameter not set");
    QTest::newRow("refused") << QStringLiteral("015-not allowed");
}

// The ISDN interface's protocol, which decides which number rows are open, answered with no
// word: the row shows "Unknown" and is locked, the numbers with it, and no Apply writes it.
void TestUnreadPages::isdnProtocolNotSent()
{
    QFETCH(QString, answer);
    const QString key = QStringLiteral("protocol");
    QVERIFY(start());
    if (answer.isEmpty())
        m_fake->findChild<DemoUnit *>()->addFilter(leaveOutKeys({key}));
    else if (answer.startsWith(QLatin1String("101")))
        m_fake->removeValue(key, QStringLiteral("network"), QStringLiteral("isdn.0"));
    else
        m_fake->refuseKey(key, answer);
    QVERIFY(tap(kPageNetwork));
    QVantelMenuItems *page = tap(kPageIsdn);
    QVERIFY(page);
    const auto check = [page](const char *when) {
        const QVantelMenuItem *protocol = page->findItem(kRowIsdnProtocol);
        QVERIFY2(
            protocol->valueText() == QLatin1String("Unknown"),
            qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(when), protocol->valueText())));
        QCOMPARE(protocol->values().size(), 1);
        for (const int id : {kRowIsdnProtocol,
                             kRowIsdnLocalNumber1,
                             kRowIsdnLocalNumber2,
                             kRowIsdnSubAddress1,
                             kRowIsdnSubAddress2,
                             kRowIsdnSpid}) {
            QVERIFY2(page->findItem(id)->isReadOnly(),
                     qPrintable(QStringLiteral("%1: row %2").arg(QLatin1String(when)).arg(id)));
        }
    };
    check("opened");
    changeEveryRow(page);
    m_fake->clearLog();
    m_page->applyClicked();
    for (const FakeRequest &request : m_fake->requests())
        QVERIFY2(!request.isSetOf(key), qPrintable(QString::fromUtf8(request.body)));
    check("applied");
}

QTEST_MAIN(TestUnreadPages)
#include "tst_unreadpages.moc"
