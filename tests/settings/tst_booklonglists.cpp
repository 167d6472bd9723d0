// The Book's lists with many stored items, against the demo unit: a list makes the rows that are
// seen, not one per item, and every item can still be found and opened.

#include "tests/settings/settingspagerig.h"

#include "settings/settingsids.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"

#include <QTest>

namespace {

constexpr int kItems = 300;
// The demo unit gives the added items ids from 20 on, after its own few.
constexpr int kLastAddedRow = kFirstStoredRow + 20 + kItems - 1;

} // namespace

class TestBookLongLists : public QObject, public SettingsPageRig
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void listsMakeTheRowsThatAreSeen_data();
    void listsMakeTheRowsThatAreSeen();
};

void TestBookLongLists::init()
{
    qputenv("FAKE_QUORIX_BOOK_ITEMS", QByteArray::number(kItems));
    const bool started = startDemoUnit(AccessLevel::Expert);
    qunsetenv("FAKE_QUORIX_BOOK_ITEMS");
    QVERIFY(started);
    QVERIFY(connectPage(refreshDevice));
}

void TestBookLongLists::cleanup()
{
    stopUnit();
}

void TestBookLongLists::listsMakeTheRowsThatAreSeen_data()
{
    // The demo unit's own items of the kind come on top of the added ones.
    QTest::addColumn<int>("listId");
    QTest::addColumn<int>("own");
    QTest::newRow("presets") << kPagePresets << 3;
    QTest::newRow("SIP profiles") << kPageSipProfiles << 2;
    QTest::newRow("snapshots") << kPageSnapshots << 1;
    QTest::newRow("call profiles") << kPageCallProfiles << 2;
}

void TestBookLongLists::listsMakeTheRowsThatAreSeen()
{
    QFETCH(int, listId);
    QFETCH(int, own);
    m_page->entryClicked(m_page->entries()->findEntry(kPageBook));
    m_fake->clearLog();
    m_page->itemClicked(m_page->currentPage()->findItem(listId));
    QVantelMenuItems *list = m_page->currentPage();
    QVERIFY(list && list->id() == listId);
    QCoreApplication::processEvents();
    const int made = int(list->findChildren<QVantelMenuItem *>().size());
    QVERIFY2(made < 60, qPrintable(QString::number(made)));
    // A call profile is opened once to describe its row, and nothing more is asked.
    if (listId == kPageCallProfiles)
        QCOMPARE(requestsWhere([](const FakeRequest &r) {
                     return r.isCommand(QStringLiteral("open"));
                 }).size(),
                 qsizetype(kItems + own));

    // The last item, far below the view, opens its page and Back returns to the list.
    QVantelMenuItem *last = list->findItem(kLastAddedRow, listId);
    QVERIFY(last);
    QCOMPARE(last->titleText(), QStringLiteral("Item %1").arg(kItems, 5, 10, QLatin1Char('0')));
    m_page->itemClicked(last);
    QVantelMenuItems *item = m_page->currentPage();
    QVERIFY(item && item->id() == kPageStoredItem && item->data() == listId);
    m_page->backClicked();
    QCOMPARE(m_page->currentPage(), list);
    // The New row and the spacer above the items.
    QCOMPARE(list->items().size(), qsizetype(2 + own + kItems));
}

QTEST_MAIN(TestBookLongLists)
#include "tst_booklonglists.moc"
