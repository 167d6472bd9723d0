#include "model/sipaccount.h"

#include "link/valueconversions.h"
#include "model/comnetworkcontroller.h"
#include "model/modelkeys.h"
#include "model/passwordtext.h"

#include <climits>

namespace {

constexpr int kDefaultSipPort = 5060;

const std::string &registrationWord()
{
    static const std::string word = "registered";
    return word;
}

const std::string &unregistrationWord()
{
    static const std::string word = "unregistered";
    return word;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// atoi's syntax without its undefined overflow: the value saturates at the int limits.
int readLeadingInt(const std::string &text, std::size_t pos)
{
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    long long value = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > limit) {
            value = limit;
            break;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace

SipAccount::SipAccount(int index)
    : m_index(index)
{}

void SipAccount::reset()
{
    m_registered = false;
    m_cause.clear();
    m_registrar.clear();
    m_user.clear();
    m_displayName.clear();
    m_authUser.clear();
    m_password.clear();
}

const std::string &SipAccount::key(Field field, int index)
{
    const bool second = index == 2;
    switch (field) {
    case Registrar:
        return second ? kAoipKeySipRegistrar2 : kAoipKeySipRegistrar;
    case User:
        return second ? kAoipKeySipUser2 : kAoipKeySipUser;
    case DisplayName:
        return second ? kAoipKeySipDisplayName2 : kAoipKeySipDisplayName;
    case AuthUser:
        return second ? kAoipKeySipAuthUser2 : kAoipKeySipAuthUser;
    case Password:
        break;
    }
    return second ? kAoipKeySipPassword2 : kAoipKeySipPassword;
}

bool SipAccount::fieldOfKey(const std::string &text, Field &out) const
{
    for (int i = 0; i < FieldCount; ++i) {
        const auto candidate = static_cast<Field>(i);
        if (key(candidate) == text) {
            out = candidate;
            return true;
        }
    }
    return false;
}

std::string &SipAccount::field(Field which)
{
    switch (which) {
    case Registrar:
        return m_registrar;
    case User:
        return m_user;
    case DisplayName:
        return m_displayName;
    case AuthUser:
        return m_authUser;
    case Password:
        break;
    }
    return m_password;
}

const std::string &SipAccount::value(Field which) const
{
    return const_cast<SipAccount *>(this)->field(which);
}

bool SipAccount::toWire(Field which, const std::string &text, std::string &out)
{
    out = latin1ToUtf8(text);
    if (which != Password)
        return true;
    // An empty cipher text means the value could not be enciphered; it is never sent in plain.
    out = encryptPassword(out);
    return !out.empty();
}

bool SipAccount::wireText(Field which, std::string &out) const
{
    return toWire(which, value(which), out);
}

bool SipAccount::setValue(Field which, const std::string &text, bool send)
{
    std::string &stored = field(which);
    if (text == stored)
        return true;
    if (send && m_controller) {
        std::string wire;
        if (!toWire(which, text, wire) || !m_controller->writeNetworkParam(key(which), wire, true))
            return false;
    }
    stored = text;
    return true;
}

bool SipAccount::setRegistrar(const std::string &text, bool send)
{
    return setValue(Registrar, text, send);
}

bool SipAccount::setUser(const std::string &text, bool send)
{
    return setValue(User, text, send);
}

bool SipAccount::setDisplayName(const std::string &text, bool send)
{
    return setValue(DisplayName, text, send);
}

bool SipAccount::setAuthUser(const std::string &text, bool send)
{
    return setValue(AuthUser, text, send);
}

bool SipAccount::setPassword(const std::string &text, bool send)
{
    return setValue(Password, text, send);
}

bool SipAccount::setFromText(Field which, const std::string &text)
{
    if (which == Password)
        return setValue(Password, utf8ToLatin1(decryptPassword(text)), false);
    return setValue(which, utf8ToLatin1(text), false);
}

bool SipAccount::setRegistrarFromText(const std::string &text)
{
    return setFromText(Registrar, text);
}

bool SipAccount::setUserFromText(const std::string &text)
{
    return setFromText(User, text);
}

bool SipAccount::setDisplayNameFromText(const std::string &text)
{
    return setFromText(DisplayName, text);
}

bool SipAccount::setAuthUserFromText(const std::string &text)
{
    return setFromText(AuthUser, text);
}

bool SipAccount::setPasswordFromText(const std::string &text)
{
    return setFromText(Password, text);
}

bool SipAccount::readValue(Field which)
{
    if (!m_controller)
        return false;
    std::string text;
    if (!m_controller->readNetworkParam(key(which), text, true))
        return false;
    return setFromText(which, text);
}

bool SipAccount::readRegistrar()
{
    return readValue(Registrar);
}

bool SipAccount::readUser()
{
    return readValue(User);
}

bool SipAccount::readDisplayName()
{
    return readValue(DisplayName);
}

bool SipAccount::readAuthUser()
{
    return readValue(AuthUser);
}

bool SipAccount::readPassword()
{
    return readValue(Password);
}

bool SipAccount::setRegistration(const std::string &state, const std::string &cause)
{
    m_registered = state == registrationWord();
    m_cause = cause;
    return true;
}

bool SipAccount::setRegistrationState(const std::string &state)
{
    m_registered = state == registrationWord();
    if (m_registered || state == unregistrationWord())
        m_cause.clear();
    else
        m_cause = state;
    return true;
}

std::string SipAccount::registrarHost() const
{
    const std::size_t colon = m_registrar.rfind(':');
    if (colon == std::string::npos)
        return m_registrar;
    return m_registrar.substr(0, colon);
}

int SipAccount::registrarPort() const
{
    const std::size_t colon = m_registrar.rfind(':');
    if (colon == std::string::npos)
        return kDefaultSipPort;
    const int port = readLeadingInt(m_registrar, colon + 1);
    return port >= 1 ? port : kDefaultSipPort;
}
