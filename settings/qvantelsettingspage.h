#pragma once

#include "frontpanel/ivantelsettingspage.h"
#include "link/codecconfig.h"
#include "link/rpcconnection.h"
#include "model/comethernetcontroller.h"
#include "model/comisdncontroller.h"
#include "model/commobilecontroller.h"
#include "model/comwificontroller.h"
#include "widgets/qvantelmenuwidget.h"

#include <QString>

#include <optional>
#include <string>

class QVantelMenuItem;
class QVantelMenuItems;
class QVantelMenuSelect;

// The settings menu page of the front panel (stack page 11), a QVantelMenuWidget that the
// front-panel window knows through IVantelSettingsPage.
//
// It keeps the cached copy of the device's three access-level passwords (deciphered, an empty
// text meaning the level has none) and the autologin switch. Passwords travel to and from the
// device only enciphered, in this program's settings record (ksm::CCom::getControllerParams and
// setControllerParams, 10000 ms). The cache is emptied whenever the protocol client's link drops,
// so passwords read from one device never serve for another.
//
// The window builds the page through the factory that registerPage() installs; the main window
// calls registerPage() once before it creates the front-panel window. GUI thread only; every
// device operation blocks in the client's nested event loop.
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

    // Id of the root entry opened last, -1 before any.
    int lastSection = -1;

    // Password setters: an unchanged text returns true and sends nothing; without send the text
    // is only cached. With send the key is written (the enciphered text, or "" to clear the
    // password); a refusal, a failed call or a text that cannot be enciphered returns false and
    // keeps the cached text.
    bool setAdministratorPassword(const QString &password, bool send);
    bool setExpertPassword(const QString &password, bool send);
    bool setOperatorPassword(const QString &password, bool send);
    // The same for the autologin switch ("autologin" "on"/"off").
    bool setAutoLogin(bool on, bool send);
    bool isAutoLogin() const { return autoLogin; }

    // Reads "password_al", "password_el" and "password_ol" in one request; each present,
    // non-empty value is deciphered into the cache, each missing or empty one clears its level.
    // False, with the cache untouched, when the request fails.
    bool loadPasswords() override;
    const QString &password(int level) const override;
    // Forgets the three cached passwords.
    void clearPasswords();

    int lastSectionId() const override { return lastSection; }
    void audioChangesetEvent(const ksm::CMsg &message) override;
    void configurationEvent(const ksm::CMsg &message) override;
    void deviceBusy(bool busy) override;
    void deviceReleased(bool released) override;

    // --- Network section: page 1, ISDN page 11, Ethernet 12-15, mobile 16-19, Wi-Fi 20-23 ---
    void createNetworkMenu();
    void updateMobileEntries(QVantelMenuItems *page);
    // Puts the unit's state into row 7, 8 or 9 of the Network page; any other row is left.
    void refreshNetworkRow(QVantelMenuItem *row);
    // Puts editEthernet into the rows of an Ethernet page.
    void refreshEthernetRows(QVantelMenuItems *page);
    void createIsdnPage();
    void createEthernetPage(int pageId);
    void createMobilePage(int pageId);
    void createWifiPage(int pageId);
    // Whether an editable row of the page differs from the page's edit copy.
    [[nodiscard]] bool hasIsdnChanges(QVantelMenuItems *page) const;
    [[nodiscard]] bool hasEthernetChanges(QVantelMenuItems *page) const;
    [[nodiscard]] bool hasMobileChanges(QVantelMenuItems *page) const;
    [[nodiscard]] bool hasWifiChanges(QVantelMenuItems *page) const;
    // Write the changed rows through the edit copy; true when nothing had to be written or the
    // unit took it all. A refused write leaves the edit copy as it was, so the rows still count
    // as changed and the next Apply sends them again.
    bool applyIsdnPage(QVantelMenuItems *page);
    bool applyEthernetPage(QVantelMenuItems *page);
    bool applyMobilePage(QVantelMenuItems *page);
    bool applyWifiPage(QVantelMenuItems *page);

    // The section's share of the menu hooks; each returns false (or nothing) when the row or
    // page is not the section's, so the caller goes on with its other sections.
    bool networkItemClicked(QVantelMenuItem *row);
    bool networkItemCommitted(QVantelMenuItem *row);
    bool networkSelectionAccepted(QVantelMenuItem *row, QVantelMenuSelect *select);
    // Apply on an interface page: the refusal while a call uses its network, then the applier
    // and, after a PIN was taken, the way back to the Network page.
    std::optional<bool> applyNetworkPage(QVantelMenuItems *page);
    // After a back step: the Network page's rows 7-9 or the interface page's modified mark.
    bool networkPageShown(QVantelMenuItems *page);

    // Capabilities of mobile network 0 as the Network page read them; -1 until read.
    int mobileCapabilities = -1;
    TComEthernetController editEthernet;
    TComMobileController editMobile;
    TComWifiController editWifi;
    TComIsdnController editIsdn;

private slots:
    void clientStateChanged(RpcConnection::ConnectionState state);

private:
    bool setPassword(QString &cached, const std::string &key, const QString &password, bool send);
    void commitNetworkRow(QVantelMenuItem *row);
    // Makes a dual-mono or stereo coding mono at a bit rate the unit offers for codecMode; true
    // when the coding changed and must be written.
    static bool monoFallback(TCodecConfig &codec, int codecMode);
    void scanMobileOperators(QVantelMenuItem *row);
    void mobileOperatorChosen(QVantelMenuItem *row, QVantelMenuSelect *select);
    void wifiNetworkChosen(QVantelMenuItem *row, QVantelMenuSelect *select);
    // The operator row's choice as the unit words it ("auto" for "Auto").
    [[nodiscard]] std::optional<std::string> operatorChoice(const QVantelMenuItems *page) const;

    bool autoLogin = false;
    QString administratorPassword;
    QString expertPassword;
    QString operatorPassword;
};
