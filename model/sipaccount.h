#pragma once

#include <string>

class TComNetworkController;

// One SIP account of the device: registrar, user, display name, authentication user and
// password, and the registration state the device reports.
//
// Account 1 uses the plain keys ("sip_user"), account 2 (index 2) the keys ending in "2"
// ("sip_user2"); any index other than 2 selects the plain keys. Texts are held in Latin-1 and
// exchanged with the device in UTF-8; the password is held in plain and travels enciphered
// (passwordtext.h) in both directions. Passwords never reach the log.
//
// A plain record owned by value by its controller (TComAoIPController), which builds it
// unattached and does all device traffic for its keys itself. A record attached with
// setController() reads and writes its own keys through that controller (not owned) on its
// network; an unattached record never sends. Nothing is signalled. GUI thread only.
class SipAccount
{
public:
    enum Field { Registrar, User, DisplayName, AuthUser, Password };
    static constexpr int FieldCount = 5;

    explicit SipAccount(int index);

    // Not registered, all texts emptied; index and controller stay.
    void reset();

    [[nodiscard]] int index() const { return m_index; }
    [[nodiscard]] TComNetworkController *controller() const { return m_controller; }
    void setController(TComNetworkController *controller) { m_controller = controller; }

    [[nodiscard]] bool registered() const { return m_registered; }
    [[nodiscard]] const std::string &cause() const { return m_cause; }
    [[nodiscard]] const std::string &registrar() const { return m_registrar; }
    [[nodiscard]] const std::string &user() const { return m_user; }
    [[nodiscard]] const std::string &displayName() const { return m_displayName; }
    [[nodiscard]] const std::string &authUser() const { return m_authUser; }
    [[nodiscard]] const std::string &password() const { return m_password; }
    [[nodiscard]] const std::string &value(Field field) const;

    // The device key of a field for an account index ("sip_password2" for Password and 2).
    [[nodiscard]] static const std::string &key(Field field, int index);
    [[nodiscard]] const std::string &key(Field field) const { return key(field, m_index); }
    // The field a key of this account stands for; false for any other key.
    [[nodiscard]] bool fieldOfKey(const std::string &key, Field &field) const;

    // The stored value in the form written to the device: UTF-8, the password enciphered. False
    // (out emptied) when the password cannot be enciphered; such a value must not be sent.
    [[nodiscard]] bool wireText(Field field, std::string &out) const;

    // Setters (Latin-1 text, send): an equal text returns true without sending. With send on an
    // attached record writes the key first; a refusal (or a password that cannot be enciphered)
    // returns false and keeps the old text. Then the text is stored as given.
    bool setRegistrar(const std::string &text, bool send);
    bool setUser(const std::string &text, bool send);
    bool setDisplayName(const std::string &text, bool send);
    bool setAuthUser(const std::string &text, bool send);
    bool setPassword(const std::string &text, bool send);
    bool setValue(Field field, const std::string &text, bool send);

    // Received texts (UTF-8; the password enciphered) stored without sending. A password that
    // does not decipher is stored as received. Always true.
    bool setRegistrarFromText(const std::string &text);
    bool setUserFromText(const std::string &text);
    bool setDisplayNameFromText(const std::string &text);
    bool setAuthUserFromText(const std::string &text);
    bool setPasswordFromText(const std::string &text);
    bool setFromText(Field field, const std::string &text);

    // Single-key reads through the attached controller; false when unattached or the read
    // fails (nothing changes then).
    bool readRegistrar();
    bool readUser();
    bool readDisplayName();
    bool readAuthUser();
    bool readPassword();
    bool readValue(Field field);

    // From a registration INFO: registered when state is exactly "registered"; the cause is
    // stored as given. True.
    bool setRegistration(const std::string &state, const std::string &cause);
    // From a read of "sip_state"/"sip_state2": registered when state is "registered"; the
    // cause is empty for "registered" and "unregistered", else the state word itself. True.
    bool setRegistrationState(const std::string &state);

    // The registrar up to its last ":" (the whole text without one).
    [[nodiscard]] std::string registrarHost() const;
    // The number after the registrar's last ":" read like atoi (leading blanks and a sign,
    // digits up to the first other character; saturating instead of overflowing); 5060 when
    // there is no ":" or the number is below 1.
    [[nodiscard]] int registrarPort() const;

private:
    std::string &field(Field field);
    static bool toWire(Field field, const std::string &text, std::string &out);

    TComNetworkController *m_controller = nullptr;
    int m_index;
    bool m_registered = false;
    std::string m_cause;
    std::string m_registrar;
    std::string m_user;
    std::string m_displayName;
    std::string m_authUser;
    std::string m_password;
};
