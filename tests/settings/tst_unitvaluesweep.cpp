// Values out of every range: the demo unit answers every key the audio and headphone pages and
// the settings sections read with one extreme value at a time, and the program logs in, opens
// every page, every section, every page a row leads to and every choice popup. Run under the
// sanitizers, a report ends the run; besides that, no choice may offer more entries than its
// range allows, and nothing may be written to the unit.

#include "frontpanel/qvantelloginpage.h"
#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "pages/pageregistration.h"
#include "pages/qvantelheadphonepositionpage.h"
#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "tests/support/demoarea.h"
#include "tests/support/demounit.h"
#include "tests/support/fakematrixdemo.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelaudiobutton.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelvirtual.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

// The most entries any choice or wheel of the menu may offer; the rows whose range follows from
// a value of the unit have their own, smaller bounds below.
constexpr int kMostEntries = 64;

struct RowBound
{
    int page;
    int row;
    int most;
};
constexpr RowBound kRowBounds[] = {
    {kPageAudio, kRowLimiterThreshold, 19}, // limiter threshold, -20 to -2
    {kPageAudio,
     kRowCompressorThreshold,
     38}, // compressor threshold, -40 up to one below the limiter
};

// Megabyte texts per answer at most (a frame holds up to 16 MiB).
constexpr int kBigTextsPerAnswer = 12;

// The rows one run of the sweep takes, so that the long sweep can be spread over several runs
// (TALLYDESK_SWEEP_ROWS): "short" for the short values only, "megabyte P/N" for the megabyte
// texts of the shares whose number leaves P when divided by N; every row when it is not set.
struct SweepRows
{
    bool shortValues = true;
    // No megabyte texts when 0.
    int parts = 1;
    int part = 0;

    [[nodiscard]] bool takesShare(int share) const { return parts > 0 && share % parts == part; }
};

SweepRows sweepRowsOfThisRun()
{
    const QString chosen = qEnvironmentVariable("TALLYDESK_SWEEP_ROWS");
    if (chosen.isEmpty())
        return {};
    if (chosen == QLatin1String("short"))
        return {true, 0, 0};
    static const QRegularExpression megabyte(QStringLiteral("^megabyte ([0-9]+)/([0-9]+)$"));
    const QRegularExpressionMatch match = megabyte.match(chosen);
    const int part = match.captured(1).toInt();
    const int parts = match.captured(2).toInt();
    if (!match.hasMatch() || parts < 1 || part >= parts) {
        qFatal("TALLYDESK_SWEEP_ROWS is \"short\" or \"megabyte P/N\" with P below N, not \"%s\"",
               qPrintable(chosen));
    }
    return {false, parts, part};
}

// Keys the login itself stands on: without them there is no session to look at.
const QSet<QString> kLoginKeys = {QStringLiteral("device"),
                                  QStringLiteral("version"),
                                  QStringLiteral("password_al"),
                                  QStringLiteral("password_el"),
                                  QStringLiteral("password_ol")};

// Keys that decide which pages exist, the unit's networks and options, keep the demo's values:
// without an audio-over-IP network a unit never loads, and without the options half the menu is
// closed. The model reads them, and its own tests take them to their extremes.
const QSet<QString> kShapeKeys = {QStringLiteral("network"), QStringLiteral("device_opts")};

// How an extreme takes the place of a value the unit holds.
enum class Put {
    // Every number inside the value ("16", "101/2/Studio A", "eth.0") becomes the extreme;
    // words stay, so that the pages they open are opened; a value the unit does not hold at all
    // becomes the extreme.
    Numbers,
    // The whole value becomes the extreme.
    Whole,
};

QString withExtreme(const QString &normal, const QString &extreme, Put put)
{
    static const QRegularExpression number(QStringLiteral("-?[0-9]+"));
    if (put == Put::Whole || normal.isEmpty())
        return extreme;
    QString result = normal;
    result.replace(number, extreme);
    return result;
}

// What a request sets on the unit: each "key=value" pair of a PARAM that reads nothing, or the
// action of a command that is not one of the reads and subscriptions a session makes, with its
// pairs. Empty for a read.
QStringList writtenValues(const FakeRequest &request)
{
    static const QSet<QString> routing = {QStringLiteral("target"),
                                          QStringLiteral("network"),
                                          QStringLiteral("controller_id"),
                                          QStringLiteral("cat"),
                                          QStringLiteral("type")};
    static const QSet<QString> reads = {QStringLiteral("subscribe"),
                                        QStringLiteral("unsubscribe"),
                                        QStringLiteral("request"),
                                        QStringLiteral("open")};
    const auto pairs = [&request] {
        QStringList found;
        for (const auto &pair : request.message.params) {
            if (!routing.contains(pair.first))
                found << pair.first + QLatin1Char('=') + pair.second;
        }
        return found;
    };
    if (request.message.type == FakeMessage::Param && request.gets().isEmpty()
        && request.lists().isEmpty()) {
        return pairs();
    }
    if (request.message.type == FakeMessage::Do && !reads.contains(request.action()))
        return {QStringLiteral("DO ") + pairs().join(QLatin1Char(';'))};
    return {};
}

} // namespace

class TestUnitValueSweep : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void extremeValues_data();
    void extremeValues();

private:
    // A demo unit whose answers pass through filter, and an Administrator logged in to it in a
    // front-panel window with every page.
    [[nodiscard]] bool logIn(const FakeReplyFilter &filter);
    void stop();
    // The rows of the numbers, the empty value and letters, each in every key at once.
    static void addShortValueRows();
    // Opens every page, section, page behind a row and choice popup; returns the pages visited.
    QStringList visitEverything();
    void visitMenuPage(QVantelSettingsPage *menu, QStringList &visited);
    void checkEntries(const QVantelMenuItems *page, const QVantelMenuItem *row);
    void closePopups();
    // The requests that set a value other than the one a session with the demo's own values sets.
    QStringList writes() const;
    // Whether written ("key=value") is a headphone mix that the start-up of a page in the
    // standard mode writes over the unit's reported row: only the hidden PROGRAM and COORD
    // strips' bytes (inputs 20 and 21) differ.
    [[nodiscard]] bool isStartupMixReset(const QString &written) const;

    std::unique_ptr<FakeQuorix> m_fake;
    std::unique_ptr<QVantelWindow> m_window;
    // Every key the pages read from the demo unit, with the value it holds there.
    QHash<QString, QString> m_keys;
    QSet<QString> m_visitedIds;
    int m_baselinePages = 0;
    // What a session sets with the demo's own values, "key=value" (the headphone pages' start-up
    // mixes). Another value of one of these keys is a write like any other.
    QSet<QString> m_sessionWrites;
    // The values the unit reports in the current sweep, by key.
    QHash<QString, QString> m_reported;
    // How many shares the keys are cut into for the megabyte texts, and the share of each key.
    int m_shares = 1;
    QHash<QString, int> m_shareOf;
};

void TestUnitValueSweep::initTestCase()
{
    registerPages();
    QVantelSettingsPage::registerPage();
    // The demo's own values: learn which keys are read, what the demo holds in them and what a
    // session writes of its own.
    QHash<QString, QString> heard;
    QVERIFY(logIn([&heard](const FakeRequest &, QList<FakeReply> &replies) {
        for (const FakeReply &reply : replies) {
            for (const auto &[key, value] : reply.body.params)
                heard.insert(key, value);
        }
    }));
    const QStringList pages = visitEverything();
    m_baselinePages = int(pages.size());
    QVERIFY2(m_baselinePages > 40, qPrintable(pages.join(QLatin1Char(' '))));
    for (const FakeRequest &request : m_fake->requests()) {
        for (const QString &written : writtenValues(request))
            m_sessionWrites.insert(written);
        for (const QString &name : request.gets() + request.lists()) {
            if (!kLoginKeys.contains(name))
                m_keys.insert(name, heard.value(name));
        }
    }
    QVERIFY(m_keys.size() > 100);
    // The megabyte texts go to one share of the keys at a time. The requests that ask for the
    // most keys are dealt out first, each over all shares, so that none gets too many of them.
    QList<QStringList> asked;
    for (const FakeRequest &request : m_fake->requests()) {
        QStringList names;
        for (const QString &name : request.gets() + request.lists()) {
            if (m_keys.contains(name))
                names << name;
        }
        asked << names;
    }
    std::sort(asked.begin(), asked.end(), [](const QStringList &a, const QStringList &b) {
        return a.size() > b.size();
    });
    const int most = asked.isEmpty() ? 0 : int(asked.front().size());
    m_shares = std::max(1, (most + kBigTextsPerAnswer - 1) / kBigTextsPerAnswer);
    int next = 0;
    for (const QStringList &names : std::as_const(asked)) {
        for (const QString &name : names) {
            if (!m_shareOf.contains(name))
                m_shareOf.insert(name, next++ % m_shares);
        }
    }
    stop();
}

void TestUnitValueSweep::cleanup()
{
    stop();
}

void TestUnitValueSweep::stop()
{
    closePopups();
    m_window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    destroySharedObjects();
    m_fake.reset();
    firmwareVersion = kFirmwareVersionUnknown;
    accessLevel = AccessLevel::Operator;
}

bool TestUnitValueSweep::logIn(const FakeReplyFilter &filter)
{
    m_fake = std::make_unique<FakeQuorix>();
    installDemoUnit(*m_fake);
    // The demo unit is the fake's hook; the filter goes on its chain.
    auto *demo = m_fake->findChild<DemoUnit *>();
    if (!demo)
        return false;
    demo->addFilter(filter);
    if (!m_fake->listen())
        return false;
    m_window = std::make_unique<QVantelWindow>();
    m_window->setTiming({10, 400, 400});
    m_window->resize(800, 480);
    m_window->show();
    if (!comClient()->connect(QStringLiteral("127.0.0.1"), m_fake->port(), 1)
        || !QTest::qWaitFor([] { return comClient()->state() == RpcConnection::Connected; },
                            10000)) {
        return false;
    }
    QVantelLoginPage *login = m_window->loginPage();
    login->switchClicked(int(AccessLevel::Administrator));
    login->loginButton()->click();
    QVantelVirtual *keyboard = login->keyboard();
    if (!keyboard)
        return false;
    keyboard->lineEdit()->setText(QStringLiteral("admin"));
    keyboard->key(31)->click();
    return QTest::qWaitFor([] { return comDevice()->loaded(); }, 20000)
           && m_window->currentPage() == QVantel::MainPage;
}

void TestUnitValueSweep::closePopups()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *popup = qobject_cast<QVantelPopup *>(widget); popup && popup->isVisible())
            popup->close();
    }
    if (m_window) {
        if (QVantelMessage *message = m_window->messagePopup())
            message->close();
        if (auto *menu = qobject_cast<QVantelMenuWidget *>(m_window->settingsPage()))
            menu->closeMessage();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool TestUnitValueSweep::isStartupMixReset(const QString &written) const
{
    static const QRegularExpression mix(QStringLiteral("^matrix_hp([1-4])=(.*)$"));
    const QRegularExpressionMatch match = mix.match(written);
    if (!match.hasMatch())
        return false;
    const int headphone = match.captured(1).toInt() - 1;
    const QString unitRow = m_reported.value(QStringLiteral("matrix_hp%1").arg(headphone + 1));
    for (int input : changedMixInputs(headphone, unitRow, match.captured(2))) {
        if (input != 20 && input != 21)
            return false;
    }
    return true;
}

QStringList TestUnitValueSweep::writes() const
{
    QStringList found;
    for (const FakeRequest &request : m_fake->requests()) {
        for (const QString &written : writtenValues(request)) {
            if (!m_sessionWrites.contains(written) && !isStartupMixReset(written)) {
                found << QString::fromUtf8(request.body.left(200));
                break;
            }
        }
    }
    return found;
}

void TestUnitValueSweep::checkEntries(const QVantelMenuItems *page, const QVantelMenuItem *row)
{
    int most = kMostEntries;
    for (const RowBound &bound : kRowBounds) {
        if (bound.page == page->id() && bound.row == row->id())
            most = bound.most;
    }
    QVERIFY2(row->values().size() <= most,
             qPrintable(QStringLiteral("page %1 row %2 offers %3 entries")
                            .arg(page->id())
                            .arg(row->id())
                            .arg(row->values().size())));
}

QStringList TestUnitValueSweep::visitEverything()
{
    QStringList visited;
    m_visitedIds.clear();
    // The audio and headphone pages, with the popups of the headphone positions.
    for (int page = QVantel::AudioPage; page <= QVantel::Headphone4Page; ++page) {
        m_window->pageActivated(QVantel::Page(page));
        QCoreApplication::processEvents();
        visited << QStringLiteral("p%1").arg(page);
        if (auto *positions = qobject_cast<QVantelHeadphonePositionPage *>(m_window->page(page))) {
            for (int k = 1; k < QVantelHeadphonePositionPage::kPositionCount; ++k) {
                QVantelAudioButton *button = positions->positionButton(k);
                if (!button)
                    continue;
                positions->buttonClicked(button);
                QCoreApplication::processEvents();
                closePopups();
                positions->rightButtonClicked(button);
                QCoreApplication::processEvents();
                closePopups();
            }
        }
    }
    // Every section of the settings menu, and everything it leads to.
    m_window->pageActivated(QVantel::SettingsPage);
    auto *menu = qobject_cast<QVantelSettingsPage *>(m_window->settingsPage());
    if (!menu)
        return visited;
    QVantelMenuEntries *entries = menu->entries();
    for (int id = kPageNetwork; id <= kPageStatus; ++id) {
        QVantelMenuEntry *entry = entries->findEntry(id);
        if (!entry)
            continue;
        entries->childClicked(entry->titleLabel());
        closePopups();
        visitMenuPage(menu, visited);
        if (QTest::currentTestFailed())
            return visited;
    }
    return visited;
}

void TestUnitValueSweep::visitMenuPage(QVantelSettingsPage *menu, QStringList &visited)
{
    QVantelMenuItems *page = menu->currentPage();
    if (!page)
        return;
    const QString name = QStringLiteral("%1/%2").arg(page->id()).arg(page->data());
    visited << name;
    m_visitedIds.insert(name);
    const QList<QVantelMenuItem *> rows = page->items();
    QList<QPointer<QVantelMenuItem>> guarded;
    for (QVantelMenuItem *row : rows)
        guarded << row;
    for (const QPointer<QVantelMenuItem> &row : guarded) {
        if (!row || menu->currentPage() != page)
            continue;
        checkEntries(page, row);
        if (QTest::currentTestFailed() || row->isReadOnly() || row->isHidden())
            continue;
        if (row->kind() == QVantelMenuItem::Choice && !row->values().isEmpty()) {
            page->childClicked(row->titleLabel());
            auto *select = page->findChild<QVantelMenuSelect *>();
            if (select)
                QVERIFY(select->list()->column()->count() <= kMostEntries);
            closePopups();
        } else if (row->kind() == QVantelMenuItem::Navigation) {
            page->childClicked(row->titleLabel());
            closePopups();
            QVantelMenuItems *opened = menu->currentPage();
            if (!opened || opened == page)
                continue;
            const QString openedName
                = QStringLiteral("%1/%2").arg(opened->id()).arg(opened->data());
            if (!m_visitedIds.contains(openedName))
                visitMenuPage(menu, visited);
            if (QTest::currentTestFailed())
                return;
            // Back from wherever the row led.
            while (menu->currentPage() && menu->currentPage() != page
                   && menu->findPage(page->id(), page->data())) {
                menu->backClicked();
                closePopups();
            }
            if (menu->currentPage() != page)
                return;
        }
    }
}

void TestUnitValueSweep::extremeValues_data()
{
    QTest::addColumn<QString>("extreme");
    QTest::addColumn<int>("put");
    // -1 for every key at once; otherwise the keys of one share of m_shares.
    QTest::addColumn<int>("share");
    const SweepRows rows = sweepRowsOfThisRun();
    if (rows.shortValues)
        addShortValueRows();
    // A megabyte in every key at once would make answers larger than a frame may be: a share
    // of the keys at a time, so that no answer carries more than a few.
    const QString megabyte(1024 * 1024, QLatin1Char('x'));
    for (int share = 0; share < m_shares; ++share) {
        if (rows.takesShare(share))
            QTest::addRow("1 MB text, share %d", share) << megabyte << int(Put::Whole) << share;
    }
}

void TestUnitValueSweep::addShortValueRows()
{
    QTest::newRow("INT_MAX") << QStringLiteral("2147483647") << int(Put::Numbers) << -1;
    QTest::newRow("INT_MIN") << QStringLiteral("-2147483648") << int(Put::Numbers) << -1;
    QTest::newRow("past 64 bits") << QStringLiteral("123456789012345678901234567890")
                                  << int(Put::Numbers) << -1;
    QTest::newRow("past 64 bits, negative")
        << QStringLiteral("-123456789012345678901234567890") << int(Put::Numbers) << -1;
    QTest::newRow("-1") << QStringLiteral("-1") << int(Put::Numbers) << -1;
    QTest::newRow("empty") << QString() << int(Put::Whole) << -1;
    QTest::newRow("letters") << QStringLiteral("abc") << int(Put::Whole) << -1;
}

void TestUnitValueSweep::extremeValues()
{
    QFETCH(QString, extreme);
    QFETCH(int, put);
    QFETCH(int, share);
    QHash<QString, QString> values;
    for (auto it = m_keys.constBegin(); it != m_keys.constEnd(); ++it) {
        if (!kShapeKeys.contains(it.key()) && (share < 0 || m_shareOf.value(it.key()) == share))
            values.insert(it.key(), withExtreme(it.value(), extreme, Put(put)));
    }
    m_reported = values;
    QVERIFY(logIn(overrideValues(values)));
    const QStringList pages = visitEverything();
    if (QTest::currentTestFailed())
        return;
    // Values out of range close some pages (an unknown interface, a module without streams),
    // never most of them.
    QVERIFY2(pages.size() * 4 >= m_baselinePages * 3, qPrintable(pages.join(QLatin1Char(' '))));
    QVERIFY2(writes().isEmpty(), qPrintable(writes().join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestUnitValueSweep)
#include "tst_unitvaluesweep.moc"
