#include "tests/frontpanel/windowfixture.h"

#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuheader.h"

#include <QLabel>

// The settings menu in the running front panel, logged in against the fake unit.
class TestSettingsMenu : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { f.stop(); }

    void rootEntriesOpenAndLeave_data();
    void rootEntriesOpenAndLeave();

private:
    WindowFixture f;
};

void TestSettingsMenu::rootEntriesOpenAndLeave_data()
{
    QTest::addColumn<int>("level");
    QTest::newRow("operator") << 0;
    QTest::newRow("administrator") << 2;
}

void TestSettingsMenu::rootEntriesOpenAndLeave()
{
    QFETCH(int, level);
    QVERIFY(f.start());
    f.pressLogin(level);
    QTRY_COMPARE(f.window->currentPage(), int(QVantel::MainPage));
    QCOMPARE(int(accessLevel), level);

    // Opened from the panel's Network shortcut; the menu remembers the page it came from.
    f.window->pageActivated(QVantel::SettingsNetwork);
    QCOMPARE(f.window->currentPage(), int(QVantel::SettingsPage));
    auto *menu = qobject_cast<QVantelSettingsPage *>(f.window->settingsPage());
    QVERIFY(menu);
    QCOMPARE(menu->currentEntry, 1);

    // Tap every root entry in turn. Audio stays closed to an Operator.
    QVantelMenuEntries *entries = menu->entries();
    for (int id = QVantelSettingsPage::NetworkSection; id <= QVantelSettingsPage::StatusSection;
         ++id) {
        QVantelMenuEntry *entry = entries->findEntry(id);
        QVERIFY(entry);
        entries->childClicked(entry->titleLabel());
        const bool closed = id == QVantelSettingsPage::AudioSection && level == 0;
        QCOMPARE(entry->state() == QVantelMenuEntry::Disabled, closed);
        if (closed)
            continue;
        QCOMPARE(menu->currentEntry, id);
        QCOMPARE(menu->lastSectionId(), id);
        QCOMPARE(menu->titlePath(), QStringList{entry->titleLabel()->text()});
        QVERIFY(!menu->header()->isModified());
        // Back on a section's own page leaves the menu where it is.
        menu->backClicked();
        QCOMPARE(menu->currentEntry, id);
    }

    // Exit returns to the page the menu was opened from; page 11 reopens the last section.
    entries->childClicked(entries->findEntry(QVantelSettingsPage::ExitSection)->titleLabel());
    QCOMPARE(f.window->currentPage(), int(QVantel::MainPage));
    f.window->pageActivated(QVantel::SettingsPage);
    QCOMPARE(f.window->currentPage(), int(QVantel::SettingsPage));
    QCOMPARE(menu->currentEntry, int(QVantelSettingsPage::StatusSection));
}

QTEST_MAIN(TestSettingsMenu)
#include "tst_settingsmenu.moc"
