#include "settings/qvantelsettingspage.h"

#include "link/ccom.h"
#include "link/comclient.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/comravennacontroller.h"
#include "model/matrixsettings.h"
#include "model/passwordtext.h"
#include "settings/settingsids.h"
#include "tests/settings/settingspagerig.h"
#include "tests/support/demounit.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QTest>

#include <memory>

namespace {

// The unit answers writes after the program gave up on them, though it applies them at once:
// later than any write waits unshortened (the settings record's ten seconds).
constexpr int kWriteTimeoutMs = 1000;
constexpr int kWriteDelayMs = 11000;

const QString kFailed = QStringLiteral("Failed to apply changes!");

} // namespace

// Writes of the settings menu that the unit answers only after the program gave up on them:
// the unit may well have applied them, so the program reads the setting back and shows what
// the unit holds, instead of putting the row back and saying the write failed. Against the demo
// unit, for the rows written as soon as they are committed and for the pages written by Apply.
class TestLateWrites : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // The rows written at once, each in two tables: read back, and read-back failed too.
    void immediateRowsReadBack_data() { immediateRows_data(true); }
    void immediateRowsReadBack() { immediateRows(); }
    void immediateRowsUnknown_data() { immediateRows_data(false); }
    void immediateRowsUnknown() { immediateRows(); }
    void applyPages_data();
    void applyPages();
    void passwordReadBackDeciphered_data();
    void passwordReadBackDeciphered();
    void defaultNetworkUnknownUntilRead();

private:
    static void immediateRows_data(bool readBack);
    void immediateRows();
    // Gives the row another value as an operator would: a switch flips, a choice takes its
    // next entry, an entry row takes text. Not committed.
    static void edit(QVantelMenuItem *row, const QString &text);
    // What the row shows.
    [[nodiscard]] static QString shown(const QVantelMenuItem *row);
    // From now on the unit answers writes late (and the program gives up on them early).
    void answerWritesLate();
    // Whether a read was sent after the first write from the log's start.
    [[nodiscard]] bool readAfterWrite() const;
};

void TestLateWrites::init()
{
    QVERIFY(startDemoUnit());
    QVERIFY(connectPage([] {
        return comDevice()->refresh() && audioSettings()->start(true)
               && matrixSettings()->start(true);
    }));
    QVERIFY(ravennaController()->startWithIdentity());
}

void TestLateWrites::cleanup()
{
    comClient()->setTickInterval(0);
    stopUnit();
}

void TestLateWrites::edit(QVantelMenuItem *row, const QString &text)
{
    switch (row->kind()) {
    case QVantelMenuItem::Switch:
        row->setChecked(!row->isChecked());
        break;
    case QVantelMenuItem::Choice:
    case QVantelMenuItem::WheelOnRelease:
    case QVantelMenuItem::WheelOnStep:
        QVERIFY(row->values().size() > 1);
        QVERIFY(chooseNextValue(row));
        break;
    default:
        row->setValueText(text);
        break;
    }
}

QString TestLateWrites::shown(const QVantelMenuItem *row)
{
    if (row->kind() == QVantelMenuItem::Switch && !row->values().isEmpty())
        return row->valueText();
    if (row->kind() == QVantelMenuItem::Switch)
        return row->isChecked() ? QStringLiteral("on") : QStringLiteral("off");
    return row->valueText();
}

void TestLateWrites::answerWritesLate()
{
    comClient()->setTickInterval(50);
    comDevice()->setWriteTimeoutMs(kWriteTimeoutMs);
    m_fake->setWriteDelay(kWriteDelayMs);
    m_fake->clearLog();
}

bool TestLateWrites::readAfterWrite() const
{
    bool written = false;
    for (const FakeRequest &request : m_fake->requests()) {
        const bool read = !request.gets().isEmpty();
        if (written && read)
            return true;
        written = written || (request.typeWord() == QLatin1String("PARAM") && !read);
    }
    return false;
}

void TestLateWrites::immediateRows_data(bool readBack)
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QList<int>>("path");
    QTest::addColumn<int>("rowId");
    QTest::addColumn<QString>("text");  // for rows that take text
    QTest::addColumn<bool>("readBack"); // false: the read after the write fails too

    struct Row
    {
        const char *name;
        int entry;
        QList<int> path;
        int row;
        QString text;
    };
    const QList<Row> rows = {
        {"audio, dynamics", kPageAudio, {}, kRowDynamics, {}},
        {"audio, attack time", kPageAudio, {}, kRowAttackTime, {}},
        {"audio, channel knob", kPageAudio, {}, kRowChannelKnob, {}},
        {"sound ID shortcut", kPageTools, {kPageSoundId}, kRowSoundIdShortcut, {}},
        {"operator password", kPageTools, {kPagePasswords}, kRowOperatorPassword, "4711"},
        {"input label", kPageTools, {kPageLabels}, kRowFirstInputLabel, "Guest"},
        {"network, default interface", kPageNetwork, {}, kRowDefaultNetwork, {}},
        {"module name", kPageAudio, {kPageRavenna}, kRowRavennaDeviceName, "Studio 7"},
        {"receiver delay",
         kPageAudio,
         {kPageRavenna, kPageRavennaInputs},
         kRowReceiverDelay,
         "1024"},
    };
    for (const Row &row : rows)
        QTest::newRow(row.name) << row.entry << row.path << row.row << row.text << readBack;
}

// A row written at once whose write the unit answers too late: read back, the row keeps the
// value the unit took, and nothing is said; when the read fails too, the row claims no value
// (it is locked and shows none) and the failure is said.
void TestLateWrites::immediateRows()
{
    QFETCH(int, entry);
    QFETCH(QList<int>, path);
    QFETCH(int, rowId);
    QFETCH(QString, text);
    QFETCH(bool, readBack);

    QVantelMenuItems *page = openPath(entry, path);
    QVERIFY(page);
    QVantelMenuItem *row = page->findItem(rowId);
    QVERIFY(row);
    QVERIFY(!row->isReadOnly());
    const QString before = shown(row);

    answerWritesLate();
    if (!readBack) {
        m_fake->setReplyHook([](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
            if (request.gets().isEmpty())
                return std::nullopt;
            return QList<FakeReply>{FakeReply::errorReply(3)};
        });
    }
    edit(row, text);
    const QString edited = shown(row);
    QVERIFY(edited != before);
    m_page->itemCommitted(row);
    QVERIFY(page->findItem(rowId) == row);
    if (readBack) {
        QCOMPARE(shown(row), edited);
        QVERIFY(!row->isReadOnly());
        QVERIFY(shownMessage() != kFailed);
    } else {
        // Neither the value it had nor the one sent: the unit may hold either.
        QVERIFY(row->isReadOnly());
        QVERIFY2(shown(row).isEmpty() || shown(row) == QLatin1String("Unknown"),
                 qPrintable(shown(row)));
        QCOMPARE(shownMessage(), kFailed);
    }
    QVERIFY(readAfterWrite());
}

void TestLateWrites::applyPages_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QList<int>>("path");
    QTest::addColumn<int>("rowId");
    QTest::addColumn<QString>("text");

    QTest::newRow("Ethernet interface")
        << int(kPageNetwork) << QList<int>{kPageEthernetFirst} << kRowEthernetLinkMode << QString();
    QTest::newRow("SIP") << int(kPageNetwork) << QList<int>{kPageSip} << kRowSipJitterBuffer
                         << QString();
    QTest::newRow("SIP account") << int(kPageNetwork) << QList<int>{kPageSip, kPageSipAccount1}
                                 << kRowSipAccountUser << "studio7";
    QTest::newRow("codec") << int(kPageCoding) << QList<int>{kPageCodec1} << kRowCodecBitRate
                           << QString();
    QTest::newRow("monitoring") << int(kPageAudio) << QList<int>{kPageMonitoring} << kRowSideTone
                                << QString();
    QTest::newRow("module output")
        << int(kPageAudio) << QList<int>{kPageRavenna, kPageRavennaOutput} << kRowOutputStreamName
        << "Studio 7 out";
    QTest::newRow("remote assistance")
        << int(kPageTools) << QList<int>{kPageRemoteAssistance} << kRowRemoteAccess << QString();
}

// An Apply whose write the unit answers too late: read back, the unit holds what was applied,
// so the Apply succeeded: nothing is said and nothing is left marked as changed.
void TestLateWrites::applyPages()
{
    QFETCH(int, entry);
    QFETCH(QList<int>, path);
    QFETCH(int, rowId);
    QFETCH(QString, text);

    QVantelMenuItems *page = openPath(entry, path);
    QVERIFY(page);
    QVantelMenuItem *row = page->findItem(rowId);
    QVERIFY(row);
    QVERIFY(!row->isReadOnly());
    edit(row, text);
    m_page->itemCommitted(row);
    const QString edited = shown(row);
    QVERIFY(m_page->header()->isModified());

    answerWritesLate();
    m_page->applyClicked();
    QVERIFY(shownMessage() != kFailed);
    QVERIFY(!m_page->header()->isModified());
    QVERIFY(!pageHasChanges(m_page->currentPage()));
    if (QVantelMenuItem *after = m_page->currentPage()->findItem(rowId))
        QCOMPARE(shown(after), edited);
    QVERIFY(readAfterWrite());
}

void TestLateWrites::passwordReadBackDeciphered_data()
{
    QTest::addColumn<QString>("unitHolds");
    QTest::addColumn<bool>("taken");

    QTest::newRow("the password typed") << "4711" << true;
    QTest::newRow("another password") << "0815" << false;
}

// A password read back after a late write comes as a cipher text of its own: what counts is the
// password it holds, which the cache and the row take.
void TestLateWrites::passwordReadBackDeciphered()
{
    QFETCH(QString, unitHolds);
    QFETCH(bool, taken);

    QVantelMenuItems *page = openPath(kPageTools, {kPagePasswords});
    QVERIFY(page);
    QVantelMenuItem *row = page->findItem(kRowOperatorPassword);
    QVERIFY(row);
    answerWritesLate();
    const QString cipher = QString::fromStdString(encryptPassword(unitHolds.toStdString()));
    m_fake->setReplyHook([cipher](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        const QString key = QStringLiteral("password_ol");
        if (!request.isGetOf(key))
            return std::nullopt;
        FakeMessage answer(FakeMessage::Param);
        answer.set(key, cipher);
        answer.set(QStringLiteral("return"), QStringLiteral("OK"));
        return QList<FakeReply>{FakeReply::reply(answer)};
    });
    row->setValueText(QStringLiteral("4711"));
    m_page->itemCommitted(row);
    QCOMPARE(m_page->password(0), unitHolds);
    QCOMPARE(row->valueText(), unitHolds);
    QCOMPARE(shownMessage() == kFailed, !taken);
    QVERIFY(readAfterWrite());
}

// The outgoing network written late, its read-back failed: the unit may hold the old network or
// the new one, so the page shows neither, now nor when it is opened again, as long as the unit's
// cannot be read; once it can, the page shows it, and choosing another one writes that.
void TestLateWrites::defaultNetworkUnknownUntilRead()
{
    const QString key = QStringLiteral("default_network");
    const auto failing = std::make_shared<bool>(true);
    m_fake->findChild<DemoUnit *>()->addFirstHandler(
        [failing, key](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
            if (*failing && request.isGetOf(key))
                return QList<FakeReply>{FakeReply::errorReply(3)};
            return std::nullopt;
        });
    const auto row = [this]() -> QVantelMenuItem * {
        QVantelMenuItems *page = m_page->currentPage();
        return page && page->id() == kPageNetwork ? page->findItem(kRowDefaultNetwork) : nullptr;
    };
    const auto reopen = [this] {
        m_page->backClicked();
        return openPath(kPageNetwork, {}) != nullptr;
    };
    const auto unknown = [](const QVantelMenuItem *r) {
        return r->isReadOnly() && r->valueText() == QLatin1String("Unknown");
    };

    QVERIFY(openPath(kPageNetwork, {}));
    QCOMPARE(row()->valueText(), QStringLiteral("Ethernet"));
    answerWritesLate();
    // The second interface, which the unit takes though it answers too late.
    row()->selectValue(0x101, true, false);
    m_page->itemCommitted(row());
    QCOMPARE(m_fake->value(key, QStringLiteral("network")), QStringLiteral("eth.1"));
    QVERIFY2(unknown(row()), qPrintable(row()->valueText()));

    // Left and opened again: the unit is asked, in vain, and nothing is claimed.
    QVERIFY(reopen());
    QVERIFY2(unknown(row()), qPrintable(row()->valueText()));

    // Once the unit answers, its network is shown, and choosing the one it had before writes it.
    *failing = false;
    comDevice()->setWriteTimeoutMs(TComRequest::DefaultTimeoutMs);
    m_fake->setWriteDelay(0);
    QVERIFY(reopen());
    QCOMPARE(row()->valueText(), QStringLiteral("Ethernet (aux)"));
    QVERIFY(!row()->isReadOnly());
    m_fake->clearLog();
    row()->selectValue(0x100, true, false);
    m_page->itemCommitted(row());
    QCOMPARE(requestsWhere([&key](const FakeRequest &r) { return r.isSetOf(key); }).size(), 1);
    QCOMPARE(m_fake->value(key, QStringLiteral("network")), QStringLiteral("eth.0"));
    QCOMPARE(row()->valueText(), QStringLiteral("Ethernet"));
}

QTEST_MAIN(TestLateWrites)
#include "tst_latewrites.moc"
