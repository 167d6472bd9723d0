#pragma once

#include "frontpanel/ivantelsettingspage.h"
#include "link/codecconfig.h"
#include "link/rpcconnection.h"
#include "model/audiosettings.h"
#include "model/comaudioconnection.h"
#include "model/comethernetcontroller.h"
#include "model/comisdncontroller.h"
#include "model/commobilecontroller.h"
#include "model/comravennacontroller.h"
#include "model/comwificontroller.h"
#include "model/matrixsettings.h"
#include "model/storeditems.h"
#include "settings/settingspagetable.h"
#include "settings/tcallprofile.h"
#include "widgets/qvantelmenuwidget.h"

#include <QString>

#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class QShowEvent;
class QVantelMenuItem;
class QVantelMenuItems;
class QVantelMenuSelect;
class QVantelVirtual;
class TComController;

// The settings menu page of the front panel (stack page 11): a QVantelMenuWidget with the root
// entries Exit, Network, Coding, Audio, Book, Tools and Status, whose pages are built on demand
// when an entry or a row is tapped and deleted (later) when the user goes back past them or
// opens another entry. The front-panel window knows it through IVantelSettingsPage.
//
// Rows and pages share one id space; a page's id is the id of the row (or root entry) that opens
// it (settings/settingsids.h). Each section of the root menu keeps its builders, refreshers,
// change tests, appliers and helpers in a source file of its own (settings/settings<section>.cpp),
// declared below in one block per section, and declares its pages there as rows of the page
// table (settings/settingspagetable.h). The hooks of the menu widget look the page up in that
// table and run what its row names. Helpers the sections share (row building, lookups) are in
// settings/settingsrows.h.
//
// Editing is edit-then-apply: a commit on an Apply page updates an edit copy and the core runs
// the page's change test, which sets the header's modified mark; Apply runs the page's applier.
// Pages that leave the stack inside a hook are deleted later, and no hook touches a page after
// backClicked() popped it.
//
// The page caches the device's three access-level passwords (deciphered; see passwordsKnown()
// for the difference between "no password" and "not read") and the autologin switch. Passwords
// travel only enciphered, in this program's settings record (ksm::CCom::getControllerParams and
// setControllerParams, 10000 ms). The cache is emptied, and marked unknown, whenever the protocol
// client's link drops, so passwords read from one device never serve for another.
//
// Members are owned by value and released in reverse declaration order; the four edit-copy
// controllers are on the shared protocol client and are not attached to TComDevice. GUI thread
// only; every device operation blocks in the client's nested event loop.
class QVantelSettingsPage : public QVantelMenuWidget, public IVantelSettingsPage
{
    Q_OBJECT

public:
    static constexpr int kPasswordTimeoutMs = 10000;

    explicit QVantelSettingsPage(QWidget *parent = nullptr);
    ~QVantelSettingsPage() override;
    Q_DISABLE_COPY_MOVE(QVantelSettingsPage)

    // Makes every front-panel window built afterwards create its settings page from this class.
    static void registerPage();

    // Id of the root entry (1-6) whose page was built last, -1 before any.
    int lastSection = -1;

    // --- Services the window uses -----------------------------------------------------------
    // Reads "password_al", "password_el" and "password_ol" in one request; each present,
    // non-empty value is deciphered into the cache, each missing or empty one clears its level,
    // and the passwords count as known for this connection. False, with the cache and the known
    // state untouched, when the request fails.
    bool loadPasswords() override;
    const QString &password(int level) const override;
    // True after a successful loadPasswords() on the present connection; false again when the
    // link drops. An empty password means "no password" only while this is true.
    bool passwordsKnown() const override { return m_passwordsKnown; }
    int lastSectionId() const override { return lastSection; }
    void audioChangesetEvent(const ksm::CMsg &message) override;
    void configurationEvent(const ksm::CMsg &message) override;
    void deviceBusy(bool busy) override;
    void deviceReleased(bool released) override;
    void audioConnectionStateChanged(TComAudioConnection *connection) override;
    void audioCallStatusChanged(TComAudioConnection *connection) override;
    void audioCallStatisticChanged(TComAudioConnection *connection) override;
    // The call profile being loaded or edited (the window reads its remote numbers).
    [[nodiscard]] const TCallProfile &callProfile() const { return editProfile; }
    QString remoteAddressText(int index) const override;
    // Per-link statistics copies: slot (stream - 1) * 2 + (link - 1), 0 to 3.
    [[nodiscard]] const RxQualityReport &rxStatisticsSlot(int slot) const;
    [[nodiscard]] const TxQualityReport &txStatisticsSlot(int slot) const;

    // Password setters: an unchanged text returns true and sends nothing; without send the text
    // is only cached. With send the key is written (the enciphered text, or "" to clear the
    // password); a refusal, a failed call or a text that cannot be enciphered returns false and
    // keeps the cached text. A write read back after an answer that came too late caches the
    // password the unit holds, true when it is the one given.
    bool setAdministratorPassword(const QString &password, bool send);
    bool setExpertPassword(const QString &password, bool send);
    bool setOperatorPassword(const QString &password, bool send);
    // The same for the autologin switch ("autologin" "on"/"off").
    bool setAutoLogin(bool on, bool send);
    bool isAutoLogin() const { return autoLogin; }
    // Forgets the three cached passwords; they no longer count as known.
    void clearPasswords();

    // --- Display texts (settingstexts.cpp) --------------------------------------------------
    // Exact-match tables; a value not listed gives the fallback. Texts are translated in this
    // class's context, key words are not.
    static QString transportText(int transport);
    static QString ethernetModeText(int mode);
    static QString linkModeText(int mode);
    static QString audioModeText(int mode);
    static QString natTypeText(int type);
    static QString mobileTechnologyText(int technology);
    static QString connectionStateText(int state);
    static QString activityStateText(int state);
    static QString streamStateText(int state);
    static QString ptpStateText(int state);
    static QString lockStateText(int state);
    static int inputEventFromKey(const std::string &key);
    static std::string inputEventKey(int event);
    static QString inputEventText(int event);
    static int relayStateFromKey(const std::string &key);
    static std::string relayStateKey(int state);
    static QString relayStateText(int state);
    // Case-insensitive order of stored names.
    static bool nameLessThan(const QString &a, const QString &b);
    // A Wi-Fi network name as shown: the unit's bytes are UTF-8.
    static QString networkNameText(const std::string &bytes);

    // --- Menu hooks, in the menu widget's order ---------------------------------------------
    void backClicked() override;
    void applyClicked() override;
    void refreshClicked() override;
    void openEntry(QVantelMenuEntry *entry) override;
    bool entryClicked(QVantelMenuEntry *entry) override;
    void itemClicked(QVantelMenuItem *item) override;
    void prepareKeyboard(QVantelMenuItem *item, QVantelVirtual *keyboard) override;
    void prepareSelection(QVantelMenuItem *item, QVantelMenuSelect *select) override;
    void itemCommitted(QVantelMenuItem *item) override;
    void keyboardAccepted(QVantelMenuItem *item, QVantelVirtual *keyboard) override;
    void selectionAccepted(QVantelMenuItem *item, QVantelMenuSelect *select) override;
    bool showEntry(int entryId, int target) override;

    // --- Page table -------------------------------------------------------------------------
    // Every section's pages, built once.
    [[nodiscard]] static const SettingsPageTable &pageTable();
    // The row of page id with data: the row made for that data, else the row for any data;
    // null when no section declares the page. The core looks up every page, and every row's tap,
    // by this rule, in pageTable() or the table given.
    [[nodiscard]] static const SettingsPageRow *pageRow(int id, int data);
    [[nodiscard]] static const SettingsPageRow *
    pageRow(const SettingsPageTable &table, int id, int data);
    [[nodiscard]] static const SettingsPageRow *pageRow(const QVantelMenuItems *page);

public slots:
    void audioControllerParamChanged(TComController *controller, TAudioSettings::CtlrParam param);
    void ethernetParamChanged(TComController *controller, int param);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void clientStateChanged(RpcConnection::ConnectionState state);

private:
    // The core's tests reach the access-level dialogue and the Ethernet edit copy.
    friend class TestSettingsCore;
    friend class TestSettingsRavenna;
    // The network pages' tests build the Network page itself and reach the Ethernet edit copy.
    friend class TestNetworkPages;
    // The Status page's tests build it and its interface rows on a chosen unit.
    friend class TestStatusMenu;

    // --- Core (qvantelsettingspage.cpp) -----------------------------------------------------
    void createTopMenu();
    // Root entry 3 is disabled for an Operator, normal otherwise.
    void updateAudioEntry();
    // Sets the header's modified mark by the page's change test, where it has one.
    void showChanges(QVantelMenuItems *page);
    // Hands a notice to the page shown.
    void noticePage(const SettingsNotice &notice);
    // Runs a hook that may put a new page on the stack. When that page's reads of the unit
    // failed as a whole, it says "Failed to read the settings!" (unless the hook opened a message
    // of its own), so that what it shows is not taken for the unit's settings.
    void buildPages(const std::function<void()> &hook);
    // The pages each section declares, in the section's source file; their handlers are
    // written with these short names.
    using Page = SettingsPageRow::Page;
    using Items = SettingsPageRow::Items;
    using Item = SettingsPageRow::Item;
    static void networkPages(SettingsPageTable &rows);
    static void sipPages(SettingsPageTable &rows);
    static void codingPages(SettingsPageTable &rows);
    static void audioPages(SettingsPageTable &rows);
    static void ravennaPages(SettingsPageTable &rows);
    static void bookPages(SettingsPageTable &rows);
    static void toolsPages(SettingsPageTable &rows);
    static void troubleshootingPages(SettingsPageTable &rows);
    static void statusPages(SettingsPageTable &rows);

    // --- Access level and passwords (settingspasswords.cpp) ---------------------------------
    bool setPassword(QString &cached, const std::string &key, const QString &password, bool send);
    // The access-level choice of a row (its current value): re-reads the passwords, then grants
    // a level without password at once or opens the password keyboard for the row. Refused
    // with "Failed to proceed!" when the passwords cannot be read and none are known.
    void changeAccessLevel(QVantelMenuItem *row);
    // The password keyboard of the access-level row opens for the level chosen.
    void prepareAccessPassword(QVantelMenuItem *row, QVantelVirtual *keyboard);
    // The password keyboard of the access-level row closed with OK.
    void checkAccessPassword(QVantelMenuItem *row, QVantelVirtual *keyboard);

    // --- Network section (settingsnetwork.cpp; the interface pages in settingsisdn.cpp,
    // settingsethernet.cpp, settingsmobile.cpp and settingswifi.cpp) -----------------------
    void createNetworkMenu();
    void createIsdnPage();
    void createEthernetPage(int pageId);
    void createMobilePage(int pageId);
    void createWifiPage(int pageId);
    // Fills the mobile rows (16-19) of the network page from the unit's modems. The modem of
    // readPage (a mobile page id) has just been read into editMobile and is not read again.
    void updateMobileEntries(QVantelMenuItems *page, int readPage = -1);
    // A mobile row of the network page: what the interface's SIM (in TComController state)
    // needs, in red, or the way to its settings.
    static void showSimState(QVantelMenuItem *row, int state);
    // Puts the unit's state into row 7, 8 or 9 of the network page; other rows are left alone.
    void refreshNetworkRow(QVantelMenuItem *item);
    // The same for the listed rows of the network page, while it stays.
    void refreshNetworkRows(QVantelMenuItems *page, std::initializer_list<int> rowIds);
    // Puts editEthernet into the rows of an Ethernet page, but for the rows in
    // keptEthernetRows, which keep what the operator made of them.
    void refreshEthernetRows(QVantelMenuItems *page);
    // The rows of an Ethernet page the operator has changed and not applied.
    std::set<int> ethernetEdits(QVantelMenuItems *page);
    // Whether an editable row of the page differs from the page's edit copy.
    bool hasIsdnChanges(QVantelMenuItems *page);
    bool hasEthernetChanges(QVantelMenuItems *page);
    bool hasMobileChanges(QVantelMenuItems *page);
    bool hasWifiChanges(QVantelMenuItems *page);
    // Write the changed rows through the edit copy: true when nothing was to be written or the
    // unit took it all. A refused write puts the edit copy back, so the rows still count as
    // changed and the next Apply sends them again.
    bool applyIsdnPage(QVantelMenuItems *page);
    bool applyEthernetPage(QVantelMenuItems *page);
    bool applyMobilePage(QVantelMenuItems *page);
    bool applyWifiPage(QVantelMenuItems *page);
    // The mobile page's Apply: a PIN the SIM took opens it and leaves the page.
    SettingsApplied applyMobilePageAndPin(QVantelMenuItems *page);
    void scanMobileOperators(QVantelMenuItem *row);
    void mobileOperatorChosen(QVantelMenuItem *row, QVantelMenuSelect *select);
    void wifiNetworkChosen(QVantelMenuItem *row, QVantelMenuSelect *select);
    // The Network page's rows, written as soon as they are committed.
    void commitNetworkItem(QVantelMenuItems *page, QVantelMenuItem *item);
    // Commits and taps on the interface pages (the core runs their change test afterwards).
    void commitIsdnItem(QVantelMenuItems *page, QVantelMenuItem *item);
    void commitEthernetItem(QVantelMenuItems *page, QVantelMenuItem *item);
    void noticeEthernetPage(QVantelMenuItems *page, const SettingsNotice &notice);
    void tapMobileItem(QVantelMenuItems *page, QVantelMenuItem *item);
    void tapWifiItem(QVantelMenuItems *page, QVantelMenuItem *item);

    // --- SIP pages of the Network section (settingssip.cpp) ---------------------------------
    // Rows are views over the device's AoIP controller and its two SIP accounts; a failed
    // Apply puts the controller back as the unit has it, so the mark stays and a retry sends.
    void buildSipPage();
    void buildSipAccountPage(int pageId);
    // The SIP page's double-stream and stream-pattern rows follow the protocol row (item) as it
    // is committed.
    static void updateSipProtocolRows(QVantelMenuItems *page, QVantelMenuItem *item);
    static void updateDefaultAccountRow(QVantelMenuItems *page);
    static bool hasSipChanges(QVantelMenuItems *page);
    static bool hasSipAccountChanges(QVantelMenuItems *page);
    bool applySipPage(QVantelMenuItems *page);
    bool applySipAccountPage(QVantelMenuItems *page);
    // A SIP account page's commits (the core runs its change test afterwards).
    void commitSipAccountItem(QVantelMenuItems *page, QVantelMenuItem *item);

    // --- Coding section (settingscoding.cpp) ------------------------------------------------
    void createCodingMenu();
    void updateCodingEntries(QVantelMenuItems *page);
    void createCodecPage(int pageId);
    // Re-reads the unit's lists for editCodec and the relay state into rows 101-105.
    void refreshCodecPage(QVantelMenuItems *page);
    void createAutoBitRatePage();
    bool codecPageHasChanges(QVantelMenuItems *page);
    bool applyCodecPage(QVantelMenuItems *page);
    // Makes a dual-mono or stereo coding mono at a bit rate the unit offers for codecMode (the
    // one it had when listed, else the first listed, else 64 kbit/s); true when the coding
    // changed and must be written.
    static bool applyMonoFallback(TCodecConfig &codec, int codecMode);
    // A codec page's rows go to the edit copy (the core runs the page's change test afterwards);
    // the automatic bit-rate rows are written at once.
    void commitCodecItem(QVantelMenuItems *page, QVantelMenuItem *item);
    void commitAutoBitRateItem(QVantelMenuItem *item);

    // --- Audio section (settingsaudio.cpp) --------------------------------------------------
    void createAudioMenu();
    void refreshAudioPage(QVantelMenuItems *page);
    void createMonitoringPage();
    void showMonitoringOptions(QVantelMenuItems *page);
    bool monitoringPageHasChanges(QVantelMenuItems *page);
    bool applyMonitoringPage(QVantelMenuItems *page);
    // Row 113: back to the standard operation mode first turns coder 1's stereo codings mono.
    void commitOperationMode(QVantelMenuItem *item);
    void commitMonitoringItem(QVantelMenuItem *item);
    // The Audio page's rows, written as soon as they are committed.
    void commitAudioItem(QVantelMenuItems *page, QVantelMenuItem *item);

    // --- Audio-over-IP module pages of the Audio section (settingsravenna.cpp; the addressing,
    // stream and output pages in settingsravennaaddress.cpp, settingsravennastreams.cpp and
    // settingsravennaoutput.cpp) -------------------------------------------------------------
    void createRavennaPage();
    void refreshRavennaPage(QVantelMenuItems *page);
    void createRavennaAddressPage(int pageId);
    void refreshRavennaAddressPage(QVantelMenuItems *page);
    void createRavennaInputsPage();
    void refreshRavennaInputsPage(QVantelMenuItems *page);
    void createRavennaStreamPage(int pageId);
    void refreshRavennaStreamPage(QVantelMenuItems *page);
    void createRavennaOutputPage();
    void refreshRavennaOutputPage(QVantelMenuItems *page);
    bool applyRavennaAddressPage(QVantelMenuItems *page);
    bool applyRavennaStreamPage(QVantelMenuItems *page);
    bool applyRavennaOutputPage(QVantelMenuItems *page);
    bool ravennaAddressHasChanges(QVantelMenuItems *page);
    bool ravennaStreamHasChanges(QVantelMenuItems *page);
    bool ravennaOutputHasChanges(QVantelMenuItems *page);
    // Commits on the module's settings page, its interface address pages, its inputs page, a
    // stream's page and the output page.
    void commitRavennaSettingsItem(QVantelMenuItem *item);
    void commitRavennaAddressItem(QVantelMenuItems *page, QVantelMenuItem *item);
    void commitRavennaInputsItem(QVantelMenuItem *item);
    void commitRavennaStreamItem(QVantelMenuItems *page, QVantelMenuItem *item);
    void commitRavennaOutputItem(QVantelMenuItems *page, QVantelMenuItem *item);

    // --- Book section (settingsbook.cpp) ----------------------------------------------------
    void createBookMenu();
    void createCallProfileList();
    void createPresetList();
    void createSipProfileList();
    void createSnapshotList();
    bool applyCallProfile(QVantelMenuItems *page);
    // The rows of the preset, SIP profile and snapshot lists (174-176): the New row and the
    // stored rows, whose tap opens the item's page (openItem) or asks to load it (Operator).
    void tapStoredList(QVantelMenuItems *page,
                       QVantelMenuItem *item,
                       void (QVantelSettingsPage::*openItem)(int, const QString &));
    void commitStoredList(QVantelMenuItems *page, QVantelMenuItem *item);
    void commitSipProfileList(QVantelMenuItems *page, QVantelMenuItem *item);
    void nameNewStoredItem(QVantelMenuItems *page, QVantelMenuItem *item, QVantelVirtual *keyboard);
    void nameNewSipProfile(QVantelMenuItem *item, QVantelVirtual *keyboard);
    void chooseSipProfileAccount(QVantelMenuItems *page,
                                 QVantelMenuItem *item,
                                 QVantelMenuSelect *select);
    // The Load, Update and Delete rows of a stored item's page (178).
    void tapStoredItem(QVantelMenuItems *page, QVantelMenuItem *item);
    void commitStoredItem(QVantelMenuItems *page, QVantelMenuItem *item);
    void commitSipProfile(QVantelMenuItems *page, QVantelMenuItem *item);
    void chooseSipProfileLoadAccount(QVantelMenuItem *item, QVantelMenuSelect *select);
    // The call profile list (173) and a call profile's page (178 for the list's data).
    void tapCallProfileList(QVantelMenuItems *page, QVantelMenuItem *item);
    void commitCallProfileList(QVantelMenuItems *page, QVantelMenuItem *item);
    void tapCallProfile(QVantelMenuItem *item);
    void commitCallProfile(QVantelMenuItems *page, QVantelMenuItem *item);
    // Item pages (178) of a preset, SIP profile or snapshot: rowId is the stored row's id.
    void createPresetPage(int rowId, const QString &name);
    void createSipProfilePage(int rowId, const QString &name);
    void createSnapshotPage(int rowId, const QString &name);
    void createStoredItemPage(int listId, int rowId, const QString &name);
    // The list page of one stored kind (174-176), built from the unit's current list: listed
    // when it has just been read, else it is read.
    void createStoredList(int listId, const std::vector<TStoredItems::Entry> *listed = nullptr);
    // Builds the list of oldList's kind afresh (from listed when given); oldList leaves the
    // stack and is deleted later.
    void rebuildStoredList(QVantelMenuItems *oldList,
                           const std::vector<TStoredItems::Entry> *listed = nullptr);
    // Whether listed, a stored kind's list read after a create answered too late, holds an item
    // named name that the list page listId did not show (any so named when that page is gone):
    // the one the unit made.
    bool listsNewItem(const std::vector<TStoredItems::Entry> &listed,
                      int listId,
                      const QString &name) const;
    // The account choice of a SIP profile's create or load, on row.
    void offerSipAccounts(QVantelMenuItem *row, const QString &title);
    // Create (account 1 or 2 for SIP profiles, else 0) and load, with their messages.
    void createStoredItem(QVantelMenuItems *list, const QString &name, int account);
    void loadStoredItem(int listId, int storedRowId, int account);
    // Takes the deleted item's row out of its list page, if that page is still on the stack.
    void removeStoredRow(int listId, int storedRowId);
    // A row of the Book's pages with the Book's margins (top: space above it); a null value
    // leaves the value text unset. A spacer is an empty caption row.
    static QVantelMenuItem *addBookRow(QVantelMenuItems *page,
                                       int id,
                                       int data,
                                       int kind,
                                       const QString &label,
                                       const QString &value,
                                       int top = 0);
    static void addBookSpacer(QVantelMenuItems *page);
    // A stored item's row of a list page, made only once it is seen: lists can be long.
    static void addStoredRow(QVantelMenuItems *page,
                             int id,
                             int listId,
                             int kind,
                             const QString &name,
                             const QString &value,
                             bool readOnly = false);
    // Call profiles (settingscallprofiles.cpp): editProfile from the unit (a new profile when
    // rowId is below 306); false when the profile cannot be read.
    bool loadCallProfile(int rowId, const QString &name);
    void createCallProfilePage(int rowId, const QString &name);
    void refreshCallProfilePage(QVantelMenuItems *page);
    void updateCallProfileActions(QVantelMenuItems *page);
    void commitCallProfileItem(QVantelMenuItems *page, QVantelMenuItem *item);
    // The load question of row: a link choice in double codec mode on the plain Book, else a
    // confirmation; nothing while the profile is incomplete.
    void askCallProfileLoad(QVantelMenuItem *row);
    void loadCallProfileConfirmed(QVantelMenuItem *row);
    void loadCallProfileOnLink(QVantelMenuItem *row, QVantelMenuSelect *select);
    void deleteCallProfile(QVantelMenuItems *page, QVantelMenuItem *item);
    // The call-profile list is shown again after the page above it was left.
    void callProfileListReturned(QVantelMenuItems *list, int leftId, int leftData);
    // A call profile the unit took: remembered as saved, and back to the list.
    void callProfileApplied();

    // --- Tools section (settingstools.cpp) --------------------------------------------------
    void createToolsMenu();
    // Rows of the Tools page locked by access level, then the Audio entry.
    void updateToolsAccess(QVantelMenuItems *page);
    void createSoundIdPage();
    // Asks the unit for the sound ID file and fills rows 196 and 197 of page (5 or 195).
    void refreshSoundIdPage(QVantelMenuItems *page);
    void createSoftkeysPage();
    void refreshSoftkeysPage(QVantelMenuItems *page);
    void createSoftkeyPage(int pageId);
    // Rebuilds the category, function and mode rows of a key page (199-205) from its key.
    void refreshSoftkeyPage(QVantelMenuItems *page);
    void commitSoftkeyItem(QVantelMenuItems *page, QVantelMenuItem *item);
    void createLabelsPage();
    void refreshLabelsPage(QVantelMenuItems *page);
    void commitLabelItem(QVantelMenuItem *item);
    void createMiscellaneousPage();
    void commitMiscellaneousItem(QVantelMenuItems *page, QVantelMenuItem *item);
    void createPasswordsPage();
    void commitPasswordItem(QVantelMenuItem *item);
    void commitSoundIdItem(QVantelMenuItem *item);
    // Rows of the Tools page itself.
    void commitToolsItem(QVantelMenuItem *item);
    void tapToolsItem(QVantelMenuItem *item);

    // --- Troubleshooting and remote assistance of the Tools section
    //     (settingstroubleshooting.cpp) --------------------------------------------------------
    void createTroubleshootingPage();
    void createRemoteAssistancePage();
    void refreshTroubleshootingPage(QVantelMenuItems *page);
    bool remoteAssistanceHasChanges(QVantelMenuItems *page);
    bool applyRemoteAssistancePage(QVantelMenuItems *page);
    // Commits on the Troubleshooting and Remote Assistance pages; the reset category chosen.
    void commitTroubleshootingItem(QVantelMenuItem *item);
    void commitRemoteAssistanceItem(QVantelMenuItem *item);
    void selectTroubleshootingItem(QVantelMenuItems *page,
                                   QVantelMenuItem *item,
                                   QVantelMenuSelect *select);

    // --- Status section (settingsstatus.cpp) ------------------------------------------------
    void createStatusMenu();
    void refreshStatusMenu(QVantelMenuItems *page);
    // Rows of the Status page and the mobile status pages: each points the page's own edit copy
    // of that family at the interface, reads a few keys and writes a summary. A read that fails
    // is not reported; the row shows what the controller holds for that interface.
    void refreshEthernetStatusRow(QVantelMenuItems *page, int rowId);
    void refreshWifiStatusRow(QVantelMenuItems *page, int rowId);
    void createConnectionStatusPage();
    void refreshConnectionLink(QVantelMenuItems *page, int link);
    void showAudioConnection(QVantelMenuItems *page, TComAudioConnection *connection);
    void createCallStatisticsPage(int pageId);
    void refreshCallStatisticsPage(QVantelMenuItems *page);
    void createAoipStatusPage();
    void refreshAoipStatusPage(QVantelMenuItems *page);
    void createMobileStatusPage(int pageId);
    void refreshMobileStatus(QVantelMenuItems *page, int pageId);

    // --- Members, in declaration order (teardown releases them in reverse) ------------------
    int mobileCapabilities = -1;
    TCodecConfig editCodec;
    TCodecConfig readCodec;
    bool relayActive = false;
    bool callProfilesChanged = false;
    bool autoLogin = false;
    QString administratorPassword;
    QString expertPassword;
    QString operatorPassword;
    bool m_passwordsKnown = false;
    // The password keys the unit's answer to the last read of the passwords carried; a password
    // it left out is no empty password.
    std::set<std::string> m_passwordKeysSent;
    std::map<int, int> labelInputs;
    TCallProfile editProfile;
    TCallProfile savedProfile;
    TComEthernetController editEthernet;
    // While editEthernet takes an event: the rows the operator had changed (ethernetEdits()).
    std::set<int> keptEthernetRows;
    TComMobileController editMobile;
    TComWifiController editWifi;
    TComIsdnController editIsdn;
    TMatrixSettings::MatrixOpts matrixOptionsEdit = 0;
    TComRavennaController::StreamRef ravennaStreamEdit;
    RxQualityReport callStatistics[4];
    TxQualityReport callStatistics2[4];
};
