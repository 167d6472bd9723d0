#include "settings/qvantelsettingspage.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "model/comravennacontroller.h"
#include "settings/settingsids.h"
#include "tests/settings/settingspagerig.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelpagestack.h"

#include <QLabel>
#include <QPointer>
#include <QTest>

// The steps of the settings pages that wait for the unit (every request runs a nested event
// loop): while the unit is slow to answer, the menu is moved under them (Back, then another
// section of the menu), and the step must neither touch a page that is gone nor put a page, a
// title or a modified mark where the menu no longer is. Under the sanitizer build a step that
// used its deleted page ends the test.
class TestSettingsWaits : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { stopUnit(); }

    void menuMovedDuringAStep_data();
    void menuMovedDuringAStep();

private:
    // Gives the row of the current page a new text (a switch is turned over) and commits it.
    void edit(int rowId, const QString &text);
    // On the first request that names key (any request when key is empty): Back, then the
    // other section.
    void moveMenuOn(const QString &key, int otherSection);

    // How many requests the unit had received when the menu moved on.
    int m_movedAt = -1;
};

void TestSettingsWaits::init()
{
    QVERIFY(startDemoUnit());
    QVERIFY(connectPage(refreshDevice));
    QVERIFY(ravennaController()->startWithIdentity());
}

void TestSettingsWaits::edit(int rowId, const QString &text)
{
    QVantelMenuItem *row = m_page->currentPage()->findItem(rowId);
    QVERIFY(row);
    if (row->kind() == QVantelMenuItem::Switch)
        row->setChecked(!row->isChecked());
    else
        row->setValueText(text);
    m_page->itemCommitted(row);
}

void TestSettingsWaits::moveMenuOn(const QString &key, int otherSection)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(m_fake.get(),
                          &FakeQuorix::requestReceived,
                          this,
                          [this, key, otherSection, connection](const FakeRequest &request) {
                              if (!key.isEmpty() && !request.isGetOf(key) && !request.isListOf(key)
                                  && !request.isSetOf(key))
                                  return;
                              disconnect(*connection);
                              m_movedAt = m_fake->requests().size();
                              m_page->backClicked();
                              QVantelMenuEntries *entries = m_page->entries();
                              entries->childClicked(entries->findEntry(otherSection)->titleLabel());
                          });
}

void TestSettingsWaits::menuMovedDuringAStep_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QList<int>>("path");
    QTest::addColumn<int>("editedRow"); // -1: nothing edited first
    QTest::addColumn<QString>("editedText");
    QTest::addColumn<QString>("slowKey"); // the request during which the menu moves
    QTest::addColumn<QString>("step");    // back, refresh, apply, notice, commit, tap or enter
    QTest::addColumn<int>("stepRow");

    const int audio = kPageAudio;
    const int profile = kFirstStoredRow + 1;
    // On-return steps: Back from the page above runs the page's refresh.
    QTest::newRow("module page on return")
        << audio << QList<int>{kPageRavenna, kPageRavennaAddress1} << -1 << QString()
        << "rav_device_name"
        << "back" << -1;
    QTest::newRow("input streams on return")
        << audio << QList<int>{kPageRavenna, kPageRavennaInputs, kPageStreamFirst} << -1
        << QString() << "rav_stream_in0"
        << "back" << -1;
    // Refresh steps.
    QTest::newRow("module page refresh")
        << audio << QList<int>{kPageRavenna} << -1 << QString() << "rav_device_name"
        << "refresh" << -1;
    QTest::newRow("stream page refresh")
        << audio << QList<int>{kPageRavenna, kPageRavennaInputs, kPageStreamFirst} << -1
        << QString() << "rav_stream_in"
        << "refresh" << -1;
    // Apply steps.
    QTest::newRow("wi-fi apply") << int(kPageNetwork) << QList<int>{kPageWifiFirst}
                                 << kRowWifiActive << QString() << "data_connection"
                                 << "apply" << -1;
    QTest::newRow("mobile PIN apply")
        << int(kPageNetwork) << QList<int>{kPageMobileFirst} << kRowMobilePin << "0000"
        << "pin"
        << "apply" << -1;
    QTest::newRow("remote access apply") << int(kPageTools) << QList<int>{kPageRemoteAssistance}
                                         << kRowRemoteServer << "relay.example"
                                         << "remote_access"
                                         << "apply" << -1;
    QTest::newRow("call profile apply, list built again")
        << int(kPageBook) << QList<int>{kPageCallProfiles, profile} << kRowStoredItemName
        << "Studio C"
        << "remote_profile"
        << "apply" << -1;
    // Commit and tap steps.
    QTest::newRow("call profile commit")
        << int(kPageBook) << QList<int>{kPageCallProfiles, profile} << -1 << QString() << "alg"
        << "commit" << kRowProfileAlgorithm;
    QTest::newRow("call profile list opened")
        << int(kPageBook) << QList<int>{} << -1 << QString() << "remote_profile"
        << "tap" << kPageCallProfiles;
    // Pages that read the unit several times.
    QTest::newRow("status page entered") << int(kPageTools) << QList<int>{} << -1 << QString()
                                         << QString() << "enter" << int(kPageStatus);
    QTest::newRow("mobile status opened") << int(kPageStatus) << QList<int>{} << -1 << QString()
                                          << QString() << "tap" << int(kPageMobileStatusFirst);
    // Notification steps.
    QTest::newRow("status page notice")
        << int(kPageStatus) << QList<int>{} << -1 << QString() << QString() << "notice" << -1;
}

void TestSettingsWaits::menuMovedDuringAStep()
{
    QFETCH(int, entry);
    QFETCH(QList<int>, path);
    QFETCH(int, editedRow);
    QFETCH(QString, editedText);
    QFETCH(QString, slowKey);
    QFETCH(QString, step);
    QFETCH(int, stepRow);

    QVERIFY(openPath(entry, path));
    if (editedRow != -1)
        edit(editedRow, editedText);
    QList<QPointer<QVantelMenuItems>> before;
    for (int i = 0; i < m_page->pageStack()->count(); ++i)
        before << qobject_cast<QVantelMenuItems *>(m_page->pageStack()->widget(i));

    const int other = entry == kPageCoding ? kPageTools : kPageCoding;
    m_fake->setReplyDelay(50);
    moveMenuOn(slowKey, other);
    QVantelMenuItems *page = m_page->currentPage();
    if (step == QLatin1String("back")) {
        m_page->backClicked();
    } else if (step == QLatin1String("refresh")) {
        m_page->refreshClicked();
    } else if (step == QLatin1String("apply")) {
        m_page->applyClicked();
    } else if (step == QLatin1String("commit")) {
        m_page->itemCommitted(page->findItem(stepRow));
    } else if (step == QLatin1String("tap")) {
        QVERIFY(page->findItem(stepRow));
        m_page->itemClicked(page->findItem(stepRow));
    } else if (step == QLatin1String("enter")) {
        QVERIFY(m_page->showEntry(stepRow, -1));
    } else {
        ksm::CMsg event(ksm::CMsg::Event);
        event.setParam(kKeyEventType, kEventDefaultNetwork);
        m_page->configurationEvent(event);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The menu is where it was moved to, and nothing of the step shows there.
    QCOMPARE(m_page->currentEntry, other);
    QCOMPARE(m_page->pageStack()->count(), 1);
    QCOMPARE(m_page->titlePath(),
             QStringList{m_page->entries()->findEntry(other)->titleLabel()->text()});
    QCOMPARE(m_page->currentPage()->id(), other);
    QVERIFY(!m_page->header()->isModified());
    for (const QPointer<QVantelMenuItems> &left : std::as_const(before))
        QVERIFY(left.isNull());
    // Nor did the step read anything more for the pages it was left with; what it was writing
    // is the operator's and went on.
    QVERIFY(m_movedAt > 0);
    const QList<FakeRequest> requests = m_fake->requests();
    for (int i = m_movedAt; i < requests.size(); ++i) {
        const FakeRequest &request = requests.at(i);
        QVERIFY2(request.gets().isEmpty() && request.lists().isEmpty(),
                 qPrintable(QStringLiteral("read after the menu moved on: ")
                            + QString::fromUtf8(request.body)));
    }
}

QTEST_MAIN(TestSettingsWaits)
#include "tst_settingswaits.moc"
