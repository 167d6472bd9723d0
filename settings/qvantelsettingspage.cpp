#include "settings/qvantelsettingspage.h"

#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/comclient.h"
#include "link/logtext.h"
#include "model/passwordtext.h"
#include "model/textconversions.h"

#include <map>
#include <vector>

namespace {

const std::string kAdministratorKey = "password_al";
const std::string kExpertKey = "password_el";
const std::string kOperatorKey = "password_ol";

} // namespace

QVantelSettingsPage::QVantelSettingsPage(QWidget *parent)
    : QVantelMenuWidget(parent)
    , editEthernet(comClient())
    , editMobile(comClient())
    , editWifi(comClient())
    , editIsdn(comClient())
{
    connect(comClient(), &ksm::CCom::stateChanged, this, &QVantelSettingsPage::clientStateChanged);
}

QVantelSettingsPage::~QVantelSettingsPage() = default;

void QVantelSettingsPage::registerPage()
{
    QVantelWindow::registerPage<QVantelSettingsPage>(QVantel::SettingsPage);
}

bool QVantelSettingsPage::setAdministratorPassword(const QString &password, bool send)
{
    return setPassword(administratorPassword, kAdministratorKey, password, send);
}

bool QVantelSettingsPage::setExpertPassword(const QString &password, bool send)
{
    return setPassword(expertPassword, kExpertKey, password, send);
}

bool QVantelSettingsPage::setOperatorPassword(const QString &password, bool send)
{
    return setPassword(operatorPassword, kOperatorKey, password, send);
}

bool QVantelSettingsPage::setPassword(QString &cached,
                                      const std::string &key,
                                      const QString &password,
                                      bool send)
{
    if (password == cached)
        return true;
    if (send) {
        std::string value;
        if (!password.isEmpty()) {
            value = encryptPassword(toStdString(password));
            // A password that cannot be enciphered is never sent, not even in plain.
            if (value.empty()) {
                logWarning(QStringLiteral("QVantelSettingsPage: a password cannot be enciphered"));
                return false;
            }
        }
        const ksm::CCom::ParamMap params{{key, value}};
        if (comClient()->setControllerParams(params, kPasswordTimeoutMs) < 0)
            return false;
    }
    cached = password;
    return true;
}

bool QVantelSettingsPage::setAutoLogin(bool on, bool send)
{
    if (on == autoLogin)
        return true;
    if (send) {
        const ksm::CCom::ParamMap params{{"autologin", on ? "on" : "off"}};
        if (comClient()->setControllerParams(params, kPasswordTimeoutMs) < 0)
            return false;
    }
    autoLogin = on;
    return true;
}

bool QVantelSettingsPage::loadPasswords()
{
    // Called as a session with a unit starts: nothing read from an earlier one may stay.
    mobileCapabilities = -1;
    const std::vector<std::string> names{kAdministratorKey, kExpertKey, kOperatorKey};
    ksm::CCom::ParamMap values;
    if (comClient()->getControllerParams(names, values, kPasswordTimeoutMs) < 0)
        return false;
    const auto cachedText = [&values](const std::string &key) {
        const auto found = values.find(key);
        if (found == values.end() || found->second.empty())
            return QString();
        return toQString(decryptPassword(found->second));
    };
    setAdministratorPassword(cachedText(kAdministratorKey), false);
    setExpertPassword(cachedText(kExpertKey), false);
    setOperatorPassword(cachedText(kOperatorKey), false);
    return true;
}

const QString &QVantelSettingsPage::password(int level) const
{
    switch (level) {
    case 2:
        return administratorPassword;
    case 1:
        return expertPassword;
    default:
        return operatorPassword;
    }
}

void QVantelSettingsPage::clearPasswords()
{
    administratorPassword.clear();
    expertPassword.clear();
    operatorPassword.clear();
}

void QVantelSettingsPage::clientStateChanged(RpcConnection::ConnectionState state)
{
    if (state == RpcConnection::Unconnected || state == RpcConnection::Closing) {
        clearPasswords();
        // The next unit may have another modem.
        mobileCapabilities = -1;
    }
}

void QVantelSettingsPage::audioChangesetEvent(const ksm::CMsg &message)
{
    Q_UNUSED(message)
}

void QVantelSettingsPage::configurationEvent(const ksm::CMsg &message)
{
    Q_UNUSED(message)
}

void QVantelSettingsPage::deviceBusy(bool busy)
{
    Q_UNUSED(busy)
}

void QVantelSettingsPage::deviceReleased(bool released)
{
    Q_UNUSED(released)
}
