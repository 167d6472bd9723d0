#include "settings/qvantelsettingspage.h"

#include "frontpanel/qvantelsoftkey.h"
#include "frontpanel/qvantelsoftkeys.h"
#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "model/matrixsettings.h"
#include "model/passwordtext.h"
#include "settings/settingsids.h"
#include "tests/settings/settingspagerig.h"
#include "tests/support/fakematrixdemo.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelvirtual.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

const QString kDb = QStringLiteral("db");
const QString kPanel = QStringLiteral("vn_frontpanel");
const QString kSoundId = QStringLiteral("/mnt/datax/sound_ID.wav");

} // namespace

// The Tools section of the settings menu against the fake unit: the Tools page, its access
// rules, the access-level choice, restart, sound ID and the passwords page.
class TestSettingsTools : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void toolsRows_data();
    void toolsRows();
    void accessRules_data();
    void accessRules();
    void accessLevelChoice_data();
    void accessLevelChoice();
    void confirmingTheGrantedLevelAsksNothing();
    void restart();
    void soundIdPage();
    void passwordChange();
    void softkeyAssigned();
    void refusedSoftkeyGoesBack();
    void labelsCommitted();
    void refusedInputLabelGoesBack();
    void refusedInfoAndContactLabelsGoBack();
    void miscellaneousPage_data();
    void miscellaneousPage();
    void miscellaneousCommits();
    void refusedMiscellaneousRowsGoBack();
    void lateWritesAreReadBack();
    void halfRefusedCustomServerReadBack();

private:
    QVantelMenuItems *openTools();
    QVantelMenuItems *openPage(QVantelMenuItems *from, int rowId);
    // The Miscellaneous page, for an Expert, on a unit whose NTP server and custom server are
    // these.
    QVantelMenuItems *openMiscellaneous(const QString &server, const QString &custom);
    void setPassword(const char *key, const char *plain);
    QString storedPassword(const char *key) const;
    int openRequests() const;
};

void TestSettingsTools::init()
{
    QVERIFY(startUnit({}, AccessLevel::Operator));
    showPage();
    QVERIFY(connectClient());
}

void TestSettingsTools::cleanup()
{
    stopUnit();
}

QVantelMenuItems *TestSettingsTools::openTools()
{
    if (!m_page->showEntry(kPageTools, 0))
        return nullptr;
    QVantelMenuItems *page = m_page->currentPage();
    return page && page->id() == kPageTools ? page : nullptr;
}

QVantelMenuItems *TestSettingsTools::openPage(QVantelMenuItems *from, int rowId)
{
    QVantelMenuItem *row = from ? from->findItem(rowId) : nullptr;
    if (!row)
        return nullptr;
    m_page->itemClicked(row);
    QVantelMenuItems *page = m_page->currentPage();
    return page && page->id() == rowId ? page : nullptr;
}

QVantelMenuItems *TestSettingsTools::openMiscellaneous(const QString &server, const QString &custom)
{
    const QString general = QStringLiteral("general");
    m_fake->setValue(QStringLiteral("ntp_addr"), server, general);
    m_fake->setValue(QStringLiteral("ntp_addr_custom"), custom, general);
    accessLevel = AccessLevel::Expert;
    return openPage(openTools(), kPageMiscellaneous);
}

void TestSettingsTools::setPassword(const char *key, const char *plain)
{
    m_fake->setValue(
        QLatin1String(key), QString::fromLatin1(encryptPassword(plain).c_str()), kDb, kPanel);
}

QString TestSettingsTools::storedPassword(const char *key) const
{
    const QString stored = m_fake->value(QLatin1String(key), kDb, kPanel);
    return stored.isEmpty() ? QString()
                            : QString::fromStdString(decryptPassword(stored.toStdString()));
}

int TestSettingsTools::openRequests() const
{
    int count = 0;
    for (const FakeRequest &request : m_fake->requests())
        count += request.isCommand(QStringLiteral("open")) ? 1 : 0;
    return count;
}

void TestSettingsTools::toolsRows_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("remoteLabel");
    QTest::addColumn<QString>("miscText");

    const QString assistance = QStringLiteral("Remote Assistance");
    const QString access = QStringLiteral("Remote Access");
    const QString gpio = QStringLiteral("GPIO, Auto redialing and NTP server");
    const QString noGpio = QStringLiteral("Auto redialing and NTP server");
    const QList<int> plain{kRowReboot,
                           kRowAccessLevel,
                           kPageSoftkeys,
                           kPageLabels,
                           kPageMiscellaneous,
                           kPageTroubleshooting,
                           kPageRemoteAssistance,
                           kPagePasswords};
    const QList<int> withPage{kRowReboot,
                              kRowAccessLevel,
                              kPageSoundId,
                              kPageSoftkeys,
                              kPageLabels,
                              kPageMiscellaneous,
                              kPageTroubleshooting,
                              kPageRemoteAssistance,
                              kPagePasswords};
    const QList<int> withSwitch{kRowReboot,
                                kRowAccessLevel,
                                kRowPlaySoundId,
                                kPageSoftkeys,
                                kPageLabels,
                                kPageMiscellaneous,
                                kPageTroubleshooting,
                                kPageRemoteAssistance,
                                kPagePasswords};

    QTest::newRow("no options") << QStringList() << quint32(0x20000) << plain << assistance << gpio;
    QTest::newRow("record, 1.9.255") << QStringList{QStringLiteral("record_1")} << quint32(0x109ff)
                                     << withSwitch << assistance << gpio;
    QTest::newRow("record, 1.10.0") << QStringList{QStringLiteral("record_1")} << quint32(0x10a00)
                                    << withPage << assistance << gpio;
    QTest::newRow("record, unknown firmware")
        << QStringList{QStringLiteral("record_2")} << kFirmwareVersionUnknown << withPage
        << assistance << gpio;
    QTest::newRow("remote access 1, hardware 2")
        << QStringList{QStringLiteral("remote_access_1"), QStringLiteral("hardware_2")}
        << quint32(0x20000) << plain << access << noGpio;
    QTest::newRow("remote access 0, hardware 18")
        << QStringList{QStringLiteral("remote_access_0"), QStringLiteral("hardware_18")}
        << quint32(0x20000) << plain << assistance << noGpio;
}

void TestSettingsTools::toolsRows()
{
    QFETCH(QStringList, options);
    QFETCH(quint32, firmware);
    QFETCH(QList<int>, rows);
    QFETCH(QString, remoteLabel);
    QFETCH(QString, miscText);

    m_fake->setList(QStringLiteral("device_opts"), options, QStringLiteral("general"));
    QVERIFY(comDevice()->readDeviceOptions());
    firmwareVersion = firmware;
    m_fake->clearLog();

    QVantelMenuItems *tools = openTools();
    QVERIFY(tools);
    QList<int> shown;
    for (QVantelMenuItem *row : tools->findChildren<QVantelMenuItem *>())
        shown.append(row->id());
    std::sort(shown.begin(), shown.end());
    QCOMPARE(shown, rows);
    QCOMPARE(tools->findItem(kPageRemoteAssistance)->titleText(), remoteLabel);
    QCOMPARE(tools->findItem(kPageMiscellaneous)->valueText(), miscText);
    // Only the switch row asks the unit for the sound ID file.
    QCOMPARE(openRequests(), rows.contains(kRowPlaySoundId) ? 1 : 0);
    QCOMPARE(tools->findItem(kRowReboot)->valueText(), QStringLiteral("Restart the system"));
}

void TestSettingsTools::accessRules_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("panelRowsLocked");
    QTest::addColumn<bool>("passwordsLocked");

    QTest::newRow("Operator") << 0 << true << true;
    QTest::newRow("Expert") << 1 << false << true;
    QTest::newRow("Administrator") << 2 << false << false;
}

void TestSettingsTools::accessRules()
{
    QFETCH(int, level);
    QFETCH(bool, panelRowsLocked);
    QFETCH(bool, passwordsLocked);

    accessLevel = AccessLevel(level);
    QVantelMenuItems *tools = openTools();
    QVERIFY(tools);
    for (const int id : {kPageSoftkeys, kPageLabels, kPageMiscellaneous, kPageTroubleshooting})
        QCOMPARE(tools->findItem(id)->isReadOnly(), panelRowsLocked);
    QCOMPARE(tools->findItem(kPagePasswords)->isReadOnly(), passwordsLocked);
    QCOMPARE(tools->findItem(kRowReboot)->isReadOnly(), false);
    QCOMPARE(tools->findItem(kPageRemoteAssistance)->isReadOnly(), false);
    QCOMPARE(tools->findItem(kRowAccessLevel)->currentValue()->value, level);
    QCOMPARE(m_page->entries()->findEntry(kPageAudio)->state(),
             level == 0 ? int(QVantelMenuEntry::Disabled) : 0);
}

void TestSettingsTools::accessLevelChoice_data()
{
    QTest::addColumn<QString>("stored");  // the Expert password on the unit
    QTest::addColumn<bool>("readBefore"); // the passwords were read once before the choice
    QTest::addColumn<bool>("unreadable"); // the password read fails
    QTest::addColumn<QString>("typed");   // entered on the keyboard, when it opens
    QTest::addColumn<int>("level");       // the level afterwards
    QTest::addColumn<QString>("message");

    const QString refused = QStringLiteral("The unit refuses to send\nits passwords!");
    QTest::newRow("empty password") << QString() << false << false << QString() << 1 << QString();
    QTest::newRow("known password")
        << QStringLiteral("ex") << false << false << QStringLiteral("ex") << 1 << QString();
    QTest::newRow("wrong password")
        << QStringLiteral("ex") << false << false << QStringLiteral("Ex") << 0
        << QStringLiteral("Wrong password!");
    QTest::newRow("unreadable") << QString() << false << true << QString() << 0 << refused;
    // The passwords of an earlier read grant nothing: the unit may have changed them since.
    QTest::newRow("unreadable after a read")
        << QString() << true << true << QString() << 0 << refused;
}

void TestSettingsTools::accessLevelChoice()
{
    QFETCH(QString, stored);
    QFETCH(bool, readBefore);
    QFETCH(bool, unreadable);
    QFETCH(QString, typed);
    QFETCH(int, level);
    QFETCH(QString, message);

    setPassword("password_el", stored.toLatin1().constData());
    if (readBefore)
        QVERIFY(m_page->loadPasswords());
    if (unreadable)
        m_fake->refuseKey(QStringLiteral("password_el"), QStringLiteral("015-not allowed"));
    QVantelMenuItems *tools = openTools();
    QVERIFY(tools);
    QVantelMenuItem *row = tools->findItem(kRowAccessLevel);
    row->selectValue(1, true, false);
    m_page->itemCommitted(row);

    QPointer<QVantelVirtual> keyboard = m_page->findChild<QVantelVirtual *>();
    QCOMPARE(bool(keyboard), !stored.isEmpty() && !unreadable);
    if (keyboard) {
        QCOMPARE(row->currentValue()->value, 0);
        keyboard->lineEdit()->setText(typed);
        m_page->keyboardAccepted(row, keyboard);
        keyboard->close();
    }
    QCOMPARE(int(accessLevel), level);
    QCOMPARE(row->currentValue()->value, level);
    QCOMPARE(messageText(), message);
    // The rows follow the level at once.
    QCOMPARE(tools->findItem(kPageSoftkeys)->isReadOnly(), level == 0);
}

void TestSettingsTools::confirmingTheGrantedLevelAsksNothing()
{
    setPassword("password_ol", "op");
    QVantelMenuItems *tools = openTools();
    QVERIFY(tools);
    QVantelMenuItem *row = tools->findItem(kRowAccessLevel);
    QCOMPARE(row->currentValue()->value, 0);
    m_fake->clearLog();
    m_page->itemCommitted(row);
    QVERIFY(!m_page->findChild<QVantelVirtual *>());
    QCOMPARE(m_fake->requestCount(), 0);
    QCOMPARE(accessLevel, AccessLevel::Operator);
}

void TestSettingsTools::restart()
{
    QVantelMenuItems *tools = openTools();
    QVERIFY(tools);
    QVantelMenuItem *reboot = tools->findItem(kRowReboot);

    // A tap only asks.
    m_fake->clearLog();
    m_page->itemClicked(reboot);
    const auto popups = m_page->findChildren<QVantelMessage *>();
    QVERIFY(std::any_of(popups.begin(), popups.end(), [](QVantelMessage *popup) {
        return popup->text() == QStringLiteral("Are you sure you want to restart the system?");
    }));
    QCOMPARE(m_fake->requestCount(), 0);

    // A refusal is not a restart.
    m_fake->refuseCommand(QStringLiteral("reboot"), QStringLiteral("015-not allowed"));
    m_page->itemCommitted(reboot);
    QVERIFY(m_fake->lastRequest().isCommand(QStringLiteral("reboot")));
    QCOMPARE(messageText(), QStringLiteral("Failed to proceed!"));
    m_page->closeMessage();

    m_fake->resetScript();
    m_page->itemCommitted(reboot);
    QCOMPARE(messageText(), QString());
}

void TestSettingsTools::soundIdPage()
{
    m_fake->setList(
        QStringLiteral("device_opts"), {QStringLiteral("record_1")}, QStringLiteral("general"));
    QVERIFY(comDevice()->readDeviceOptions());
    audioSettings()->setWaveFile(std::string(), false);

    // File present, nothing stored: off, "Disabled", writable.
    QVantelMenuItems *tools = openTools();
    QVERIFY(tools);
    QVantelMenuItems *page = openPage(tools, kPageSoundId);
    QVERIFY(page);
    QVantelMenuItem *play = page->findItem(kRowPlaySoundId);
    QVERIFY(!play->isChecked());
    QCOMPARE(play->valueText(), QStringLiteral("Disabled"));
    QVERIFY(!play->isReadOnly());
    QVERIFY(!page->findItem(kRowSoundIdShortcut)->isReadOnly());

    // Switched on: the file name is written.
    play->setChecked(true);
    m_page->itemCommitted(play);
    QCOMPARE(m_fake->value(QStringLiteral("wave_file"), QStringLiteral("audio")), kSoundId);
    QCOMPARE(messageText(), QString());

    // A refused write is reported and the switch goes back to what the unit kept.
    m_fake->refuseKey(QStringLiteral("wave_file"), QStringLiteral("015-not allowed"));
    play->setChecked(false);
    m_page->itemCommitted(play);
    QCOMPARE(messageText(), QStringLiteral("Failed to apply changes!"));
    QVERIFY(play->isChecked());
    QCOMPARE(play->valueText(), QStringLiteral("Active"));
    m_page->closeMessage();
    m_fake->refuseKey(QStringLiteral("wave_scut"), QStringLiteral("015-not allowed"));
    QVantelMenuItem *shortcut = page->findItem(kRowSoundIdShortcut);
    shortcut->setChecked(true);
    m_page->itemCommitted(shortcut);
    QCOMPARE(messageText(), QStringLiteral("Failed to apply changes!"));
    QVERIFY(!shortcut->isChecked());
    QCOMPARE(shortcut->valueText(), QStringLiteral("Disabled"));
    m_page->closeMessage();

    // The same for the Tools page's own switch, on a firmware without the Sound ID page.
    firmwareVersion = 0x10900;
    m_page->backClicked();
    tools = openTools();
    QVERIFY(tools);
    QVantelMenuItem *toolsPlay = tools->findItem(kRowPlaySoundId);
    QVERIFY(toolsPlay && toolsPlay->isChecked());
    toolsPlay->setChecked(false);
    m_page->itemCommitted(toolsPlay);
    QCOMPARE(messageText(), QStringLiteral("Failed to apply changes!"));
    QVERIFY(toolsPlay->isChecked());
    m_page->closeMessage();
    m_fake->acceptKey(QStringLiteral("wave_file"));
    firmwareVersion = kFirmwareVersionUnknown;
    m_page->showEntry(kPageTools, 0);

    // File missing: off with "Audio file is missing", both rows read-only, whatever is stored.
    m_fake->refuseCommand(QStringLiteral("open"), QStringLiteral("104-file not found"));
    m_page->backClicked();
    page = openPage(m_page->currentPage(), kPageSoundId);
    QVERIFY(page);
    play = page->findItem(kRowPlaySoundId);
    QVERIFY(!play->isChecked());
    QCOMPARE(play->valueText(), QStringLiteral("Audio file is missing"));
    QVERIFY(play->isReadOnly());
    QVERIFY(page->findItem(kRowSoundIdShortcut)->isReadOnly());
}

void TestSettingsTools::passwordChange()
{
    setPassword("password_el", "old");
    accessLevel = AccessLevel::Administrator;
    QVantelMenuItems *tools = openTools();
    QVERIFY(tools);
    QVantelMenuItems *page = openPage(tools, kPagePasswords);
    QVERIFY(page);
    QCOMPARE(page->findItem(kRowExpertPassword)->valueText(), QStringLiteral("old"));
    QCOMPARE(page->findItem(kRowAdministratorPassword)->valueText(), QString());

    // Accepted: the unit holds the new password, enciphered, and so does the cache.
    QVantelMenuItem *expert = page->findItem(kRowExpertPassword);
    expert->setValueText(QStringLiteral("new one"));
    m_page->itemCommitted(expert);
    QCOMPARE(storedPassword("password_el"), QStringLiteral("new one"));
    QCOMPARE(m_page->password(1), QStringLiteral("new one"));
    QCOMPARE(messageText(), QString());

    // Refused: reported, and unit, cache and row agree on the old password.
    m_fake->refuseKey(QStringLiteral("password_el"), QStringLiteral("015-not allowed"));
    expert->setValueText(QStringLiteral("other"));
    m_page->itemCommitted(expert);
    QCOMPARE(messageText(), QStringLiteral("Failed to apply changes!"));
    QCOMPARE(storedPassword("password_el"), QStringLiteral("new one"));
    QCOMPARE(m_page->password(1), QStringLiteral("new one"));
    QCOMPARE(expert->valueText(), QStringLiteral("new one"));
    m_page->closeMessage();

    // Clearing a password sends an empty value.
    m_fake->resetScript();
    expert->setValueText(QString());
    m_page->itemCommitted(expert);
    QVERIFY(m_fake->lastRequest().has(QStringLiteral("password_el")));
    QCOMPARE(m_fake->lastRequest().value(QStringLiteral("password_el")), QString());
    QCOMPARE(m_page->password(1), QString());
}

void TestSettingsTools::softkeyAssigned()
{
    accessLevel = AccessLevel::Expert;
    QVantelMenuItems *keys = openPage(openTools(), kPageSoftkeys);
    QVERIFY(keys);
    QCOMPARE(keys->findItem(kPageSoftkeyFirst + 2)->valueText(), QStringLiteral("None"));
    QVantelMenuItems *page = openPage(keys, kPageSoftkeyFirst + 2);
    QVERIFY(page);
    // No category: nothing to choose as function.
    QCOMPARE(page->findItem(kRowSoftkeyCategory)->valueText(), QStringLiteral("None"));
    QVERIFY(page->findItem(kRowSoftkeyFunction)->isReadOnly());

    // A category brings its own functions and mode at once.
    QVantelMenuItem *category = page->findItem(kRowSoftkeyCategory);
    category->selectValue(QVantelSoftkey::Contacts, true, false);
    m_page->itemCommitted(category);
    QCOMPARE(softkey(2)->category(), int(QVantelSoftkey::Contacts));
    QVantelMenuItem *function = page->findItem(kRowSoftkeyFunction);
    QVERIFY(!function->isReadOnly());
    QCOMPARE(function->currentValue()->value,
             QVantelSoftkey::functionSortKey(QVantelSoftkey::Contacts, softkey(2)->function()));
    QVantelMenuItem *mode = page->findItem(kRowSoftkeyMode);
    QCOMPARE(mode->valueText(), QStringLiteral("Toggle"));
    QVERIFY(mode->isReadOnly());

    // The function entry's value is a sort key; the key takes its function number.
    function->selectValue(
        QVantelSoftkey::functionSortKey(QVantelSoftkey::Contacts, 2), true, false);
    m_page->itemCommitted(function);
    QCOMPARE(softkey(2)->function(), 2);
    QTRY_COMPARE(m_fake->value(QStringLiteral("softkey3"), QStringLiteral("general")),
                 QStringLiteral("C04F02B02"));

    // Back on the list, the key row reads the new assignment.
    m_page->backClicked();
    QCOMPARE(keys->findItem(kPageSoftkeyFirst + 2)->valueText(),
             QStringLiteral("%1 [ %2 ]")
                 .arg(QVantelSoftkey::categoryName(QVantelSoftkey::Contacts),
                      QVantelSoftkey::functionName(QVantelSoftkey::Contacts, 2)));
}

void TestSettingsTools::refusedSoftkeyGoesBack()
{
    const QString general = QStringLiteral("general");
    m_fake->setValue(QStringLiteral("softkey3"), QStringLiteral("C04F02B02"), general);
    softkeys()->readAll();
    QCOMPARE(softkey(2)->category(), int(QVantelSoftkey::Contacts));
    accessLevel = AccessLevel::Expert;
    QVantelMenuItems *keys = openPage(openTools(), kPageSoftkeys);
    QVERIFY(keys);
    const QString assigned = keys->findItem(kPageSoftkeyFirst + 2)->valueText();
    QVantelMenuItems *page = openPage(keys, kPageSoftkeyFirst + 2);
    QVERIFY(page);
    QVantelMenuItem *category = page->findItem(kRowSoftkeyCategory);
    QVantelMenuItem *function = page->findItem(kRowSoftkeyFunction);
    const QString contacts = category->valueText();
    const QString second = function->valueText();

    // Whichever row is refused, the key keeps its assignment, on the unit, in the model and on
    // the page, and the operator is told.
    m_fake->refuseKey(QStringLiteral("softkey3"), QStringLiteral("015-not allowed"));
    category->selectValue(QVantelSoftkey::Shortcuts, true, false);
    m_page->itemCommitted(category);
    QCOMPARE(shownMessage(), QStringLiteral("Failed to apply changes!"));
    m_page->closeMessage();
    function->selectValue(
        QVantelSoftkey::functionSortKey(QVantelSoftkey::Contacts, 1), true, false);
    m_page->itemCommitted(function);
    QCOMPARE(shownMessage(), QStringLiteral("Failed to apply changes!"));
    m_page->closeMessage();

    QCOMPARE(softkey(2)->category(), int(QVantelSoftkey::Contacts));
    QCOMPARE(softkey(2)->function(), 2);
    QCOMPARE(m_fake->value(QStringLiteral("softkey3"), general), QStringLiteral("C04F02B02"));
    QCOMPARE(category->valueText(), contacts);
    QCOMPARE(function->valueText(), second);
    m_page->backClicked();
    QCOMPARE(keys->findItem(kPageSoftkeyFirst + 2)->valueText(), assigned);
}

void TestSettingsTools::labelsCommitted()
{
    accessLevel = AccessLevel::Expert;
    QVantelMenuItems *page = openPage(openTools(), kPageLabels);
    QVERIFY(page);
    QVERIFY(page->findItem(kRowFirstInputLabel));
    QCOMPARE(page->findItem(kRowFirstInputLabel)->valueText(),
             QString());                               // no stored name, no fixed name
    QVERIFY(!page->findItem(kRowFirstInputLabel + 5)); // no auxiliary board

    QVantelMenuItem *info = page->findItem(kRowFirstInfoLabel + 1);
    info->setValueText(QStringLiteral("On Air"));
    m_page->itemCommitted(info);
    QCOMPARE(m_fake->value(QStringLiteral("info_label2"), QStringLiteral("general")),
             QStringLiteral("On Air"));
    QCOMPARE(softkeys()->infoLabel(1), QStringLiteral("On Air"));

    QVantelMenuItem *contact = page->findItem(kRowFirstContactLabel);
    contact->setValueText(QStringLiteral("Door"));
    m_page->itemCommitted(contact);
    QCOMPARE(softkeys()->contactLabel(0), QStringLiteral("Door"));

    QVantelMenuItem *input = page->findItem(kRowFirstInputLabel + 1);
    input->setValueText(QStringLiteral("Guest"));
    m_page->itemCommitted(input);
    QCOMPARE(matrixSettings()->inputNames(1), QStringLiteral("Guest"));
}

void TestSettingsTools::refusedInputLabelGoesBack()
{
    fillMatrixDemoValues(*m_fake);
    QVERIFY(matrixSettings()->start(true));
    accessLevel = AccessLevel::Expert;
    QVantelMenuItems *tools = openTools();
    QVantelMenuItems *page = openPage(tools, kPageLabels);
    QVERIFY(page);
    QVantelMenuItem *input = page->findItem(kRowFirstInputLabel + 1);
    QVERIFY(input);
    const QString unitName = matrixSettings()->inputNames(1);
    QCOMPARE(input->valueText(), unitName);
    const QString unitRow = m_fake->value(QStringLiteral("matrix_in2"), QStringLiteral("audio"));

    m_fake->refuseKey(QStringLiteral("matrix_in2"), QStringLiteral("015-not allowed"));
    input->setValueText(QStringLiteral("Feed"));
    m_page->itemCommitted(input);
    QCOMPARE(shownMessage(), QStringLiteral("Failed to apply changes!"));
    QCOMPARE(input->valueText(), unitName);
    QCOMPARE(matrixSettings()->inputNames(1), unitName);
    QCOMPARE(m_fake->value(QStringLiteral("matrix_in2"), QStringLiteral("audio")), unitRow);

    // Reopened, the page still shows the unit's name.
    m_page->closeMessage();
    m_page->backClicked();
    page = openPage(tools, kPageLabels);
    QVERIFY(page);
    QCOMPARE(page->findItem(kRowFirstInputLabel + 1)->valueText(), unitName);
}

// A refused info or contact label: the row shows the unit's text again, the panel key never
// takes the new one, and the failure is told.
void TestSettingsTools::refusedInfoAndContactLabelsGoBack()
{
    accessLevel = AccessLevel::Expert;
    QVantelMenuItems *page = openPage(openTools(), kPageLabels);
    QVERIFY(page);
    QSignalSpy infoChanged(softkeys(), &QVantelSoftkeys::infoLabelChanged);
    QSignalSpy contactChanged(softkeys(), &QVantelSoftkeys::contactLabelChanged);
    for (const int id : {kRowFirstInfoLabel + 1, kRowFirstContactLabel}) {
        const QString key = id == kRowFirstContactLabel ? QStringLiteral("contact_label1")
                                                        : QStringLiteral("info_label2");
        m_fake->refuseKey(key, QStringLiteral("015-not allowed"));
        QVantelMenuItem *row = page->findItem(id);
        QVERIFY(row);
        row->setValueText(QStringLiteral("On Air"));
        m_page->itemCommitted(row);
        QCOMPARE(shownMessage(), QStringLiteral("Failed to apply changes!"));
        QCOMPARE(row->valueText(), QString());
        m_page->closeMessage();
    }
    QCOMPARE(softkeys()->infoLabel(1), QString());
    QCOMPARE(softkeys()->contactLabel(0), QString());
    QCOMPARE(infoChanged.count() + contactChanged.count(), 0);
}

void TestSettingsTools::miscellaneousPage_data()
{
    QTest::addColumn<QString>("hardware");
    QTest::addColumn<QList<int>>("rows");

    const QList<int> common{kRowAutoRedial1,
                            kRowAutoRedial2,
                            kRowRedialAttempts,
                            kRowRedialTime,
                            kRowNtpServer,
                            kRowCustomNtpServer};
    QTest::newRow("with GPIO") << QStringLiteral(
        "hardware_1") << QList<int>{kRowInput1, kRowInput2, kRowRelay1, kRowRelay2} + common;
    QTest::newRow("hardware 2, no GPIO") << QStringLiteral("hardware_2") << common;
}

void TestSettingsTools::miscellaneousPage()
{
    QFETCH(QString, hardware);
    QFETCH(QList<int>, rows);

    const QString general = QStringLiteral("general");
    const QString network = QStringLiteral("network");
    m_fake->setList(QStringLiteral("device_opts"), {hardware}, general);
    QVERIFY(comDevice()->readDeviceOptions());
    m_fake->setValue(QStringLiteral("ext_input1"), QStringLiteral("input_event_redial2"), general);
    m_fake->setValue(QStringLiteral("ext_relay1"), QStringLiteral("relay_state_onair"), general);
    m_fake->setValue(QStringLiteral("ntp_addr"), QStringLiteral("time.nist.gov"), general);
    m_fake->setValue(QStringLiteral("ntp_addr_custom"), QStringLiteral("ntp.local"), general);
    m_fake->setValue(QStringLiteral("auto_redial_link1"), QStringLiteral("on"), network);
    m_fake->setValue(QStringLiteral("auto_redial_attempts"), QStringLiteral("0"), network);
    m_fake->setValue(QStringLiteral("auto_redial_time"), QStringLiteral("45"), network);
    // ext_input2, ext_relay2 and auto_redial_link2 are refused: read-only rows.
    for (const char *key : {"ext_input2", "ext_relay2", "auto_redial_link2"})
        m_fake->refuseKey(QLatin1String(key), QStringLiteral("102-unknown parameter"));
    m_fake->clearLog();

    accessLevel = AccessLevel::Expert;
    QVantelMenuItems *page = openPage(openTools(), kPageMiscellaneous);
    QVERIFY(page);
    QList<int> shown;
    for (QVantelMenuItem *row : page->findChildren<QVantelMenuItem *>()) {
        if (row->id() > 0)
            shown.append(row->id());
    }
    std::sort(shown.begin(), shown.end());
    QCOMPARE(shown, rows);
    // No LIST without GPIO block.
    int listed = 0;
    for (const FakeRequest &request : m_fake->requests())
        listed += request.lists().size();
    QCOMPARE(listed, rows.contains(kRowInput1) ? 4 : 0);

    if (QVantelMenuItem *input = page->findItem(kRowInput1)) {
        // The fake lists each key's stored word as its one choice.
        QCOMPARE(input->valueText(), QStringLiteral("Redial Codec 2"));
        QCOMPARE(page->findItem(kRowRelay1)->valueText(), QStringLiteral("On Air Status"));
        QVERIFY(page->findItem(kRowInput2)->isReadOnly());
        QVERIFY(page->findItem(kRowRelay2)->isReadOnly());
    }
    QVERIFY(page->findItem(kRowAutoRedial1)->isChecked());
    QVERIFY(!page->findItem(kRowAutoRedial2)->isChecked());
    QVERIFY(page->findItem(kRowAutoRedial2)->isReadOnly());
    QCOMPARE(page->findItem(kRowRedialAttempts)->valueText(), QStringLiteral("Infinite"));
    QCOMPARE(page->findItem(kRowRedialTime)->valueText(), QStringLiteral("1 second"));
    QCOMPARE(page->findItem(kRowNtpServer)->valueText(), QStringLiteral("time.nist.gov"));
    QCOMPARE(page->findItem(kRowCustomNtpServer)->valueText(), QStringLiteral("ntp.local"));
}

void TestSettingsTools::miscellaneousCommits()
{
    const QString general = QStringLiteral("general");
    QVantelMenuItems *page
        = openMiscellaneous(QStringLiteral("time.nist.gov"), QStringLiteral("old.local"));
    QVERIFY(page);
    QVantelMenuItem *server = page->findItem(kRowNtpServer);
    QVantelMenuItem *custom = page->findItem(kRowCustomNtpServer);

    // A custom server typed while a built-in one is chosen is only stored as the custom one.
    m_fake->clearLog();
    custom->setValueText(QStringLiteral("ntp.studio"));
    m_page->itemCommitted(custom);
    QVERIFY(m_fake->lastRequest().has(QStringLiteral("ntp_addr_custom")));
    QVERIFY(!m_fake->lastRequest().has(QStringLiteral("ntp_addr")));
    QCOMPARE(m_fake->value(QStringLiteral("ntp_addr"), general), QStringLiteral("time.nist.gov"));

    // Choosing "Custom" sends the shown custom text as the server.
    server->selectValue(0, true, false);
    m_page->itemCommitted(server);
    QCOMPARE(m_fake->value(QStringLiteral("ntp_addr"), general), QStringLiteral("ntp.studio"));

    // Switches and wheels go to the network target.
    QVantelMenuItem *redial = page->findItem(kRowAutoRedial2);
    redial->setChecked(true);
    m_page->itemCommitted(redial);
    QCOMPARE(m_fake->value(QStringLiteral("auto_redial_link2"), QStringLiteral("network")),
             QStringLiteral("on"));
    QVantelMenuItem *attempts = page->findItem(kRowRedialAttempts);
    attempts->selectValue(0, true, false);
    m_page->itemCommitted(attempts);
    QCOMPARE(m_fake->value(QStringLiteral("auto_redial_attempts"), QStringLiteral("network")),
             QStringLiteral("0"));
}

// A refused write of any kind of row is reported, and the row shows again what the unit holds.
void TestSettingsTools::refusedMiscellaneousRowsGoBack()
{
    const QString general = QStringLiteral("general");
    const QString network = QStringLiteral("network");
    m_fake->setValue(QStringLiteral("ext_input1"), QStringLiteral("input_event_redial2"), general);
    m_fake->setValue(QStringLiteral("ntp_addr"), QStringLiteral("time.nist.gov"), general);
    m_fake->setValue(QStringLiteral("ntp_addr_custom"), QStringLiteral("ntp.local"), general);
    m_fake->setValue(QStringLiteral("auto_redial_link1"), QStringLiteral("on"), network);
    m_fake->setValue(QStringLiteral("auto_redial_attempts"), QStringLiteral("5"), network);
    accessLevel = AccessLevel::Expert;
    QVantelMenuItems *page = openPage(openTools(), kPageMiscellaneous);
    QVERIFY(page);

    struct Case
    {
        int row;
        const char *key;
        QString target;
        std::function<void(QVantelMenuItem *)> change;
        QString shown;
    };
    const Case cases[] = {
        // The fake offers only the held word; a unit offers "Disabled" too.
        {kRowInput1,
         "ext_input1",
         general,
         [](QVantelMenuItem *row) {
             row->addValue(0, QStringLiteral("Disabled"));
             row->selectValue(0, true, false);
         },
         QStringLiteral("Redial Codec 2")},
        {kRowAutoRedial1,
         "auto_redial_link1",
         network,
         [](QVantelMenuItem *row) { row->setChecked(false); },
         QStringLiteral("Active")},
        {kRowRedialAttempts,
         "auto_redial_attempts",
         network,
         [](QVantelMenuItem *row) { row->selectValue(0, true, false); },
         QStringLiteral("5")},
        {kRowNtpServer,
         "ntp_addr",
         general,
         [](QVantelMenuItem *row) { row->selectValue(1, true, false); },
         QStringLiteral("time.nist.gov")},
        {kRowCustomNtpServer,
         "ntp_addr_custom",
         general,
         [](QVantelMenuItem *row) { row->setValueText(QStringLiteral("ntp.studio")); },
         QStringLiteral("ntp.local")},
    };
    for (const Case &refused : cases) {
        const QString key = QLatin1String(refused.key);
        const QString unitValue = m_fake->value(key, refused.target);
        m_fake->refuseKey(key, QStringLiteral("015-not allowed"));
        QVantelMenuItem *row = page->findItem(refused.row);
        QVERIFY(row);
        refused.change(row);
        QVERIFY2(row->valueText() != refused.shown, refused.key);
        m_page->itemCommitted(row);
        QVERIFY2(shownMessage() == QStringLiteral("Failed to apply changes!"), refused.key);
        QCOMPARE(row->valueText(), refused.shown);
        QCOMPARE(m_fake->value(key, refused.target), unitValue);
        m_page->closeMessage();
    }
    QVERIFY(page->findItem(kRowAutoRedial1)->isChecked());
    QCOMPARE(page->findItem(kRowRedialAttempts)->currentValue()->value, 5);

    // Once the unit takes it, the same change is made and nothing is said.
    m_fake->acceptKey(QStringLiteral("ext_input1"));
    QVantelMenuItem *input = page->findItem(kRowInput1);
    input->selectValue(0, true, false);
    m_page->itemCommitted(input);
    QCOMPARE(shownMessage(), QString());
    QCOMPARE(m_fake->value(QStringLiteral("ext_input1"), general),
             QStringLiteral("input_event_none"));
}

// A write the unit answers only after the program gave up on it may have been applied: the
// setting is read back and the row shows what the unit holds. When that read fails too, the row
// says nothing of it and is locked, and the failure is told.
void TestSettingsTools::lateWritesAreReadBack()
{
    const QString general = QStringLiteral("general");
    m_fake->setValue(QStringLiteral("ext_input1"), QStringLiteral("input_event_redial2"), general);
    accessLevel = AccessLevel::Expert;
    QVantelMenuItems *tools = openTools();
    QVantelMenuItems *page = openPage(tools, kPageMiscellaneous);
    QVERIFY(page);
    // The program gives up after a second, the unit answers after one and a half.
    comClient()->setTickInterval(50);
    comDevice()->setWriteTimeoutMs(1000);
    m_fake->setWriteDelay(1500);

    m_fake->clearLog();
    QVantelMenuItem *input = page->findItem(kRowInput1);
    // The fake offers only the held word; a unit offers "Disabled" too.
    input->addValue(0, QStringLiteral("Disabled"));
    input->selectValue(0, true, false);
    m_page->itemCommitted(input);
    QVERIFY(!requestsWhere([](const FakeRequest &r) {
                 return r.isGetOf(QStringLiteral("ext_input1"));
             }).isEmpty());
    QCOMPARE(m_fake->value(QStringLiteral("ext_input1"), general),
             QStringLiteral("input_event_none"));
    QCOMPARE(input->valueText(), QStringLiteral("Disabled"));
    QCOMPARE(shownMessage(), QString());

    // A label whose read fails too: nothing is claimed, on the page or on the panel key.
    m_fake->setReplyHook([](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (request.isGetOf(QStringLiteral("info_label2")))
            return QList<FakeReply>{FakeReply::errorReply(3)};
        return std::nullopt;
    });
    m_page->backClicked();
    QVantelMenuItems *labels = openPage(tools, kPageLabels);
    QVERIFY(labels);
    QSignalSpy infoChanged(softkeys(), &QVantelSoftkeys::infoLabelChanged);
    QVantelMenuItem *info = labels->findItem(kRowFirstInfoLabel + 1);
    info->setValueText(QStringLiteral("Studio"));
    m_page->itemCommitted(info);
    QCOMPARE(shownMessage(), QStringLiteral("Failed to apply changes!"));
    QVERIFY(info->valueText().isEmpty() && info->isReadOnly());
    QCOMPARE(softkeys()->infoLabel(1), QString());
    QCOMPARE(infoChanged.count(), 0);
}

// The custom server in use is written together with the server choice. A unit that takes the
// name and refuses the choice holds the new name: read back, the page shows it.
void TestSettingsTools::halfRefusedCustomServerReadBack()
{
    const QString general = QStringLiteral("general");
    QVantelMenuItems *page
        = openMiscellaneous(QStringLiteral("old.local"), QStringLiteral("old.local"));
    QVERIFY(page);
    QVantelMenuItem *server = page->findItem(kRowNtpServer);
    QVantelMenuItem *custom = page->findItem(kRowCustomNtpServer);
    QCOMPARE(server->currentValue()->value, 0); // "Custom"

    // The unit refuses writes of the choice, and still reports it.
    FakeQuorix *fake = m_fake.get();
    m_fake->setReplyHook([fake](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (!request.isSetOf(QStringLiteral("ntp_addr")))
            return std::nullopt;
        const QString custom = QStringLiteral("ntp_addr_custom");
        if (request.isSetOf(custom))
            fake->setValue(custom, request.value(custom), QStringLiteral("general"));
        FakeMessage answer(FakeMessage::Param);
        answer.set(QStringLiteral("ntp_addr"), QStringLiteral("015-not allowed"));
        answer.set(QStringLiteral("return"), QStringLiteral("ERROR"));
        return QList<FakeReply>{FakeReply::reply(answer)};
    });
    m_fake->clearLog();
    custom->setValueText(QStringLiteral("ntp.new"));
    m_page->itemCommitted(custom);
    QCOMPARE(m_fake->value(QStringLiteral("ntp_addr_custom"), general), QStringLiteral("ntp.new"));
    QCOMPARE(custom->valueText(), QStringLiteral("ntp.new"));
    QCOMPARE(server->valueText(), QStringLiteral("Custom"));
    QCOMPARE(shownMessage(), QStringLiteral("Failed to apply changes!"));
    QVERIFY(!requestsWhere([](const FakeRequest &r) {
                 return r.isGetOf(QStringLiteral("ntp_addr_custom"));
             }).isEmpty());
}

QTEST_MAIN(TestSettingsTools)
#include "tst_settingstools.moc"
