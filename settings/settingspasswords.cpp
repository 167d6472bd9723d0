// Access-level passwords, autologin and the access-level change of the settings page.

#include "settings/qvantelsettingspage.h"

#include "frontpanel/qvantelloginpage.h"
#include "link/logtext.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "model/modelkeys.h"
#include "model/passwordtext.h"
#include "model/textconversions.h"
#include "model/writereport.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelvirtual.h"

#include <QLineEdit>
#include <QPointer>

#include <algorithm>
#include <iterator>
#include <map>

namespace {

const std::string &kAdministratorKey = kPasswordKeyAdministrator;
const std::string &kExpertKey = kPasswordKeyExpert;
const std::string &kOperatorKey = kPasswordKeyOperator;
const char kAccessLevelProperty[] = "vkb_accessLevel";

} // namespace

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
        const WriteWatch watch;
        if (!comDevice()->writeAccessPassword(key, value)) {
            // Read back after an answer that came too late or another cipher text: the cache
            // takes the unit's password, which may still be the one typed.
            const std::map<std::string, std::string> &held = watch.report().held;
            if (const auto found = held.find(key); found != held.end())
                cached
                    = found->second.empty() ? QString() : toQString(decryptPassword(found->second));
            return cached == password;
        }
    }
    cached = password;
    return true;
}

bool QVantelSettingsPage::setAutoLogin(bool on, bool send)
{
    if (on == autoLogin)
        return true;
    if (send) {
        if (!comDevice()->writeAutoLogin(on))
            return false;
    }
    autoLogin = on;
    return true;
}

bool QVantelSettingsPage::loadPasswords()
{
    // Read as a session with a unit starts: the modem capabilities cached for an earlier
    // session may be another unit's.
    mobileCapabilities = -1;
    std::map<std::string, std::string> values;
    if (!comDevice()->readAccessPasswords(values))
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
    m_passwordKeysSent.clear();
    for (const std::string *key : {&kAdministratorKey, &kExpertKey, &kOperatorKey}) {
        if (values.count(*key) != 0)
            m_passwordKeysSent.insert(*key);
    }
    m_passwordsKnown = true;
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
    m_passwordKeysSent.clear();
    m_passwordsKnown = false;
}

void QVantelSettingsPage::clientStateChanged(RpcConnection::ConnectionState state)
{
    if (state == RpcConnection::Unconnected || state == RpcConnection::Closing) {
        clearPasswords();
        mobileCapabilities = -1;
        // The last call's figures belong to the unit that made the call; the next link may be
        // to another unit, whose "Latest AoIP Statistics" must not show them.
        std::fill(std::begin(callStatistics), std::end(callStatistics), RxQualityReport());
        std::fill(std::begin(callStatistics2), std::end(callStatistics2), TxQualityReport());
    }
}

void QVantelSettingsPage::changeAccessLevel(QVantelMenuItem *row)
{
    // Confirming the level already granted changes nothing.
    if (!row || (row->currentValue() && row->currentValue()->value == int(accessLevel)))
        return;
    QPointer<QVantelMenuItem> guard = row;
    // The check runs against the unit's current passwords only: those of an earlier read may
    // have been changed since. A failed read grants nothing and says why, as the login does.
    if (!loadPasswords()) {
        if (guard)
            row->selectValue(int(accessLevel), true, false);
        showMessage(QVantelLoginPage::passwordReadFailureText(), 0);
        return;
    }
    if (!guard)
        return;
    const QVantelMenuItem::Value *chosen = row->currentValue();
    if (!chosen)
        return;
    const int level = chosen->value;
    if (password(level).isEmpty()) {
        accessLevel = AccessLevel(level);
        updateToolsAccess(row->page());
        return;
    }
    showKeyboard(1, row, true);
}

void QVantelSettingsPage::prepareAccessPassword(QVantelMenuItem *row, QVantelVirtual *keyboard)
{
    const QVantelMenuItem::Value *chosen = row->currentValue();
    if (!chosen)
        return;
    keyboard->titleLabel()->setText(tr("Enter Password"));
    keyboard->lineEdit()->setText(QString());
    keyboard->lineEdit()->setEchoMode(QLineEdit::Password);
    keyboard->setProperty(kAccessLevelProperty, chosen->value);
    // The row shows the new level only once its password was accepted.
    row->selectValue(int(accessLevel), true, false);
}

void QVantelSettingsPage::checkAccessPassword(QVantelMenuItem *row, QVantelVirtual *keyboard)
{
    keyboard->hide();
    if (!row->currentValue())
        return;
    const int level = keyboard->property(kAccessLevelProperty).toInt();
    // The link may have dropped while the keyboard was open, which forgets the passwords: an
    // empty entry must not pass for a level whose password is simply not known any more.
    if (!m_passwordsKnown) {
        showMessage(tr("Failed to proceed!"), 0);
        return;
    }
    if (keyboard->lineEdit()->text() != password(level)) {
        showMessage(tr("Wrong password!"), 0);
        return;
    }
    accessLevel = AccessLevel(level);
    row->selectValue(level, true, false);
    updateToolsAccess(row->page());
}
