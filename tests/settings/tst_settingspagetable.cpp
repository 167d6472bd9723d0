#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "settings/settingspagetable.h"
#include "settings/settingsrows.h"

#include "frontpanel/qvantelsoftkeys.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/comravennacontroller.h"
#include "model/matrixsettings.h"
#include "tests/settings/settingspagerig.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>

#include <map>
#include <set>
#include <utility>

namespace {

// A row as a page's builder made it: where it stands and what a tap on it would look up.
struct BuiltRow
{
    int page;
    int pageData;
    int id;
    int data;
    int kind;
    QString title;
};

QList<BuiltRow> rowsOf(const QVantelMenuItems *page)
{
    QList<BuiltRow> rows;
    for (const QVantelMenuItem *row : page->items()) {
        rows << BuiltRow{page->id(),
                         page->data(),
                         row->id(),
                         row->data(),
                         row->kind(),
                         row->titleLabel() ? row->titleLabel()->text() : QString()};
    }
    return rows;
}

// The rows that carry the id of a page that opens but are no navigation row, whatever name,
// number or sum their builder spelled it with. A tap on one opens nothing (only a navigation row
// leads to a page), but rows and pages share one id space, so a look-up by id would take the one
// for the other. The id of a root page is kept for its section too.
QStringList rowsThatOpenAPage(const QList<BuiltRow> &rows, const SettingsPageTable &table)
{
    QStringList clashes;
    for (const BuiltRow &row : rows) {
        const SettingsPageRow *opened = QVantelSettingsPage::pageRow(table, row.id, row.data);
        if (opened && (opened->open || opened->enter) && row.kind != QVantelMenuItem::Navigation)
            clashes << QStringLiteral("row %1 \"%2\" of page %3/%4")
                           .arg(row.id)
                           .arg(row.title)
                           .arg(row.page)
                           .arg(row.pageData);
    }
    clashes.removeDuplicates();
    return clashes;
}

// The names settingsids.h gives each id, from its text.
std::map<int, QStringList> namedIds(const QString &text)
{
    std::map<int, QStringList> ids;
    static const QRegularExpression declaration(
        QStringLiteral(R"(inline constexpr int (\w+) = (\d+);)"));
    for (auto it = declaration.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        ids[match.captured(2).toInt()] << match.captured(1);
    }
    return ids;
}

// The names that hold the id of a page that opens without naming it: a second name for the id of
// a page, or an id inside a range of pages.
QStringList namesThatOpenAPage(const std::map<int, QStringList> &ids,
                               const SettingsPageTable &table)
{
    QStringList clashes;
    for (const SettingsPageRow &row : table) {
        if (!row.open && !row.enter)
            continue;
        for (auto it = ids.lower_bound(row.first); it != ids.end() && it->first <= row.last; ++it) {
            const bool bound = it->first == row.first || it->first == row.last;
            for (qsizetype i = bound ? 1 : 0; i < it->second.size(); ++i)
                clashes << it->second.at(i);
        }
    }
    clashes.removeDuplicates();
    return clashes;
}

} // namespace

// The settings menu's page table, as the sections declare it: the core's hooks find a page by
// its id and data alone, so two rows must never claim one page, and a page must not be built
// in two ways.
class TestSettingsPageTable : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void cleanup() { stopUnit(); }

    void eachPageHasOneRowPerData();
    void pagesStayBelowTheStoredRows();
    void lookUpPrefersTheRowOfThePagesData();
    void everyApplierHasAChangeTest();
    void everyRowBuildsItsPageInOneWay();
    void noRowSharesThePageIdOfAPageThatOpens();
    void theGuardFindsEachPlantedRow();
    void onlyANavigationRowOpensAPage_data();
    void onlyANavigationRowOpensAPage();

private:
    // The rows of every page the menu builds on the demo unit for an Administrator: every root
    // page and every page of the table under each of its ids, and the pages a tap on their
    // other navigation rows opens (a stored item's, a new call profile's). The ids of the table
    // under which no page was built go to unbuilt.
    QList<BuiltRow> buildEveryPage(QList<int> &unbuilt);
};

void TestSettingsPageTable::eachPageHasOneRowPerData()
{
    std::set<std::pair<int, int>> claimed;
    for (const SettingsPageRow &row : QVantelSettingsPage::pageTable()) {
        QVERIFY2(row.first <= row.last, qPrintable(QString::number(row.first)));
        for (int id = row.first; id <= row.last; ++id)
            QVERIFY2(claimed.insert({id, row.data}).second,
                     qPrintable(QStringLiteral("page %1, data %2").arg(id).arg(row.data)));
    }
    // Every root entry but Exit opens a page of its own.
    for (int id = kPageNetwork; id <= kPageStatus; ++id) {
        const SettingsPageRow *row = QVantelSettingsPage::pageRow(id, SettingsPageRow::kAnyData);
        QVERIFY2(row && row->enter, qPrintable(QString::number(id)));
    }
}

void TestSettingsPageTable::pagesStayBelowTheStoredRows()
{
    // A stored row's tap must never be taken for a page's row.
    for (const SettingsPageRow &row : QVantelSettingsPage::pageTable())
        QVERIFY2(row.first > 0 && row.last < kFirstStoredRow,
                 qPrintable(QString::number(row.first)));
    QCOMPARE(QVantelSettingsPage::pageRow(kFirstStoredRow, kPagePresets), nullptr);
}

void TestSettingsPageTable::lookUpPrefersTheRowOfThePagesData()
{
    // The stored-item page serves every kind; only a call profile's is applied.
    const SettingsPageRow *profile
        = QVantelSettingsPage::pageRow(kPageStoredItem, kPageCallProfiles);
    const SettingsPageRow *preset = QVantelSettingsPage::pageRow(kPageStoredItem, kPagePresets);
    QVERIFY(profile && preset);
    QVERIFY(profile != preset);
    QCOMPARE(profile->data, kPageCallProfiles);
    QVERIFY(profile->apply);
    QCOMPARE(preset->data, SettingsPageRow::kAnyData);
    QVERIFY(!preset->apply);

    // A statistics row opens the statistics page of its link's part only.
    for (const int data : {kConnectionsLink1, kConnectionsLink2})
        QVERIFY(QVantelSettingsPage::pageRow(kRowDetailedStatistics, data)->open);
    QCOMPARE(QVantelSettingsPage::pageRow(kRowDetailedStatistics, kPageConnections), nullptr);

    // A range answers for each page in it, and nothing outside it.
    QCOMPARE(QVantelSettingsPage::pageRow(kPageEthernetLast, 0),
             QVantelSettingsPage::pageRow(kPageEthernetFirst, 0));
    QCOMPARE(QVantelSettingsPage::pageRow(kPageWifiLast + 1, 0), nullptr);
}

void TestSettingsPageTable::everyApplierHasAChangeTest()
{
    for (const SettingsPageRow &row : QVantelSettingsPage::pageTable()) {
        if (!row.apply)
            continue;
        // A call profile's commits keep its page's mark themselves, as the profile changes.
        if (row.first == kPageStoredItem && row.data == kPageCallProfiles)
            continue;
        QVERIFY2(row.hasChanges, qPrintable(QString::number(row.first)));
    }
}

void TestSettingsPageTable::everyRowBuildsItsPageInOneWay()
{
    for (const SettingsPageRow &row : QVantelSettingsPage::pageTable()) {
        QVERIFY2(!(row.enter && row.open), qPrintable(QString::number(row.first)));
        // Only a root page has entry targets, and a root page is a single page.
        if (row.entryRow)
            QVERIFY(row.enter);
        if (row.enter)
            QCOMPARE(row.first, row.last);
    }
}

QList<BuiltRow> TestSettingsPageTable::buildEveryPage(QList<int> &unbuilt)
{
    QList<BuiltRow> rows;
    const auto built = [&](QVantelMenuItems *before) {
        QVantelMenuItems *page = m_page->currentPage();
        if (!page || page == before)
            return false;
        rows << rowsOf(page);
        return true;
    };
    for (const SettingsPageRow &row : QVantelSettingsPage::pageTable()) {
        for (int id = row.first; id <= row.last && (row.open || row.enter); ++id) {
            QVantelMenuItems *before = m_page->currentPage();
            if (row.enter)
                row.enter(*m_page);
            else
                row.open(*m_page, id);
            if (!built(before)) {
                unbuilt << id;
                continue;
            }
            // The navigation rows that open a page through their page's own tap; going back may
            // build the page anew.
            QPointer<QVantelMenuItems> page = m_page->currentPage();
            QList<QPointer<QVantelMenuItem>> items;
            for (QVantelMenuItem *item : page->items())
                items << item;
            for (const QPointer<QVantelMenuItem> &item : items) {
                if (!item || !page || m_page->currentPage() != page)
                    break;
                const SettingsPageRow *opens
                    = QVantelSettingsPage::pageRow(item->id(), item->data());
                if (item->kind() != QVantelMenuItem::Navigation || (opens && opens->open))
                    continue;
                m_page->itemClicked(item);
                if (built(page))
                    m_page->backClicked();
            }
        }
    }
    return rows;
}

// No row but the one that leads to a page carries its id: rows and pages share one id space, and
// a look-up by id must find the one it means. Judged on the rows the builders make, and on the
// names settingsids.h gives.
void TestSettingsPageTable::noRowSharesThePageIdOfAPageThatOpens()
{
    QVERIFY(startDemoUnit());
    QVERIFY(connectPage([] {
        return comDevice()->refresh() && audioSettings()->start(true)
               && matrixSettings()->start(true) && (softkeys()->readAll(), true)
               && ravennaController()->startWithIdentity();
    }));
    QList<int> unbuilt;
    const QList<BuiltRow> rows = buildEveryPage(unbuilt);
    // Every builder of the table has made its page, so none of their rows went unjudged.
    QCOMPARE(unbuilt, QList<int>());
    const QStringList clashes = rowsThatOpenAPage(rows, QVantelSettingsPage::pageTable());
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral("; "))));

    QFile header(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../../settings/settingsids.h"));
    QVERIFY(header.open(QIODevice::ReadOnly));
    const std::map<int, QStringList> ids = namedIds(QString::fromUtf8(header.readAll()));
    QVERIFY(ids.count(kPageSip) && ids.count(kPageEthernetLast));
    QCOMPARE(namesThatOpenAPage(ids, QVantelSettingsPage::pageTable()), QStringList());
}

// Each kind of id a builder may plant on a row that is no navigation row: another name for a
// page's id, a bare number and a sum. The guard finds them all by the ids the rows carry; the
// names alone tell only the first.
void TestSettingsPageTable::theGuardFindsEachPlantedRow()
{
    constexpr int kRowPlantedSwitch = 10;
    static_assert(kRowPlantedSwitch == kPageSip && kPageRavennaInputs == 137);
    SettingsPageTable table;
    const auto open = [](QVantelSettingsPage &, int) {};
    table.push_back(SettingsPageRow(kPageSip).opens(open));
    table.push_back(SettingsPageRow(kPageRavennaInputs).opens(open));
    table.push_back(SettingsPageRow(kPageEthernetFirst, kPageEthernetLast).opens(open));
    table.push_back(SettingsPageRow(kPageNetwork).entered([](QVantelSettingsPage &) {}));

    QVantelSettingsPage menu;
    QVantelMenuItems page(kPageNetwork, &menu);
    const auto add = [&page](int id, int kind, const char *title) {
        addSettingsRow(&page, id, kind, QString::fromLatin1(title));
    };
    add(kPageSip, QVantelMenuItem::Navigation, "SIP");
    add(kPageEthernetFirst + 1, QVantelMenuItem::Navigation, "Ethernet 2");
    add(kRowEthernetDhcp, QVantelMenuItem::Switch, "DHCP");
    add(kRowPlantedSwitch, QVantelMenuItem::Switch, "another name");
    add(137, QVantelMenuItem::NumericEntry, "a bare number");
    add(kPageEthernetFirst + 1, QVantelMenuItem::Choice, "a sum");
    add(kPageNetwork, QVantelMenuItem::TextEntry, "a root page's id");
    QCOMPARE(rowsThatOpenAPage(rowsOf(&page), table),
             QStringList({QStringLiteral("row 10 \"another name\" of page 1/-1"),
                          QStringLiteral("row 137 \"a bare number\" of page 1/-1"),
                          QStringLiteral("row 13 \"a sum\" of page 1/-1"),
                          QStringLiteral("row 1 \"a root page's id\" of page 1/-1")}));

    // The same rows by their names in a header: only the second name shows.
    const QString declared = QStringLiteral("inline constexpr int kPageSip = 10;\n"
                                            "inline constexpr int kRowPlantedSwitch = 10;\n"
                                            "inline constexpr int kPageEthernetFirst = 12;\n"
                                            "inline constexpr int kPageEthernetLast = 15;\n"
                                            "inline constexpr int kPageRavennaInputs = 137;\n");
    QCOMPARE(namesThatOpenAPage(namedIds(declared), table),
             QStringList({QStringLiteral("kRowPlantedSwitch")}));
}

void TestSettingsPageTable::onlyANavigationRowOpensAPage_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("data");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("opened");

    using Item = QVantelMenuItem;
    constexpr int none = SettingsPageRow::kAnyData;
    QTest::newRow("switch") << kPageSip << none << int(Item::Switch) << -1;
    QTest::newRow("action") << kPageSoftkeyFirst + 2 << none << int(Item::Action) << -1;
    QTest::newRow("read-only value") << kPageLabels << none << int(Item::ReadOnlyValue) << -1;
    QTest::newRow("wheel") << kPageEthernetFirst + 1 << none << int(Item::WheelOnStep) << -1;
    QTest::newRow("caption of a link's part")
        << kRowDetailedStatistics << kConnectionsLink1 << int(Item::Caption) << -1;
    QTest::newRow("navigation") << kPageSip << none << int(Item::Navigation) << kPageSip;
    QTest::newRow("navigation of a link's part") << kRowDetailedStatistics << kConnectionsLink1
                                                 << int(Item::Navigation) << kPageCallStatistics1;
}

// A row that is no navigation row opens no page, whatever id it carries: one planted in a branch
// the demo unit never builds is tapped as the row it is, and the page it is on stays.
void TestSettingsPageTable::onlyANavigationRowOpensAPage()
{
    QFETCH(int, id);
    QFETCH(int, data);
    QFETCH(int, kind);
    QFETCH(int, opened);

    QVERIFY(startDemoUnit());
    QVERIFY(connectPage(refreshDevice));
    QVERIFY(m_page->showEntry(kPageTools, -1));
    QVantelMenuItems *tools = m_page->currentPage();
    QVERIFY(tools && tools->id() == kPageTools);
    auto *row = new QVantelMenuItem(id, data, kind, tools);
    row->titleLabel()->setText(QStringLiteral("planted"));
    tools->addItem(row);

    m_page->itemClicked(row);
    QVantelMenuItems *shown = m_page->currentPage();
    QVERIFY(shown);
    QCOMPARE(shown->id(), opened < 0 ? kPageTools : opened);
}

QTEST_MAIN(TestSettingsPageTable)
#include "tst_settingspagetable.moc"
