#pragma once

#include "frontpanel/ivantelsettingspage.h"
#include "link/rpcconnection.h"
#include "widgets/qvantelmenuwidget.h"

#include <QString>

#include <string>

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

private slots:
    void clientStateChanged(RpcConnection::ConnectionState state);

private:
    bool setPassword(QString &cached, const std::string &key, const QString &password, bool send);

    bool autoLogin = false;
    QString administratorPassword;
    QString expertPassword;
    QString operatorPassword;
};
