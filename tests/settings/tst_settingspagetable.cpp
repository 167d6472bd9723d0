#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "settings/settingspagetable.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <map>
#include <set>
#include <utility>

// The settings menu's page table, as the sections declare it: the core's hooks find a page by
// its id and data alone, so two rows must never claim one page, and a page must not be built
// in two ways.
class TestSettingsPageTable : public QObject
{
    Q_OBJECT

private slots:
    void eachPageHasOneRowPerData();
    void pagesStayBelowTheStoredRows();
    void lookUpPrefersTheRowOfThePagesData();
    void everyApplierHasAChangeTest();
    void everyRowBuildsItsPageInOneWay();
    void noRowSharesThePageIdOfAPageThatOpens();
};

namespace {

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

// The names whose tap would open a page they do not name: a second name for the id of a page
// that opens, or an id inside a range of pages.
QStringList rowsThatOpenAPage(const std::map<int, QStringList> &ids, const SettingsPageTable &table)
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

// A tap on a row whose id is a page's id opens that page, whatever the row is for; the core
// cannot tell them apart, so no two names may share an id that opens a page.
void TestSettingsPageTable::noRowSharesThePageIdOfAPageThatOpens()
{
    QFile header(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../../settings/settingsids.h"));
    QVERIFY(header.open(QIODevice::ReadOnly));
    const std::map<int, QStringList> ids = namedIds(QString::fromUtf8(header.readAll()));
    QVERIFY(ids.count(kPageSip) && ids.count(kPageEthernetLast));
    QCOMPARE(rowsThatOpenAPage(ids, QVantelSettingsPage::pageTable()), QStringList());

    // A switch given the id of a single page, and one inside the Ethernet pages.
    SettingsPageTable table;
    const auto open = [](QVantelSettingsPage &, int) {};
    table.push_back(SettingsPageRow(kPageSip).opens(open));
    table.push_back(SettingsPageRow(kPageEthernetFirst, kPageEthernetLast).opens(open));
    table.push_back(SettingsPageRow(kRowEthernetDhcp));
    const QString clashing = QStringLiteral("inline constexpr int kPageSip = 10;\n"
                                            "inline constexpr int kRowNewSwitch = 10;\n"
                                            "inline constexpr int kPageEthernetFirst = 12;\n"
                                            "inline constexpr int kRowOtherSwitch = 13;\n"
                                            "inline constexpr int kPageEthernetLast = 15;\n"
                                            "inline constexpr int kRowEthernetDhcp = 24;\n");
    QCOMPARE(rowsThatOpenAPage(namedIds(clashing), table),
             QStringList({QStringLiteral("kRowNewSwitch"), QStringLiteral("kRowOtherSwitch")}));
}

QTEST_MAIN(TestSettingsPageTable)
#include "tst_settingspagetable.moc"
