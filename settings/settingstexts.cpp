// Display texts and key words of the settings page.

#include "settings/qvantelsettingspage.h"

#include <QCoreApplication>

#include <array>

namespace {

struct WordEntry
{
    const char *key;
    const char *text;
};

// GPIO input events, by value 0 to 13.
constexpr std::array<WordEntry, 14> kInputEvents{{
    {"input_event_none", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Disabled")},
    {"input_event_r1", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Contact 1")},
    {"input_event_r2", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Contact 2")},
    {"input_event_redial", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Redial Codec 1")},
    {"input_event_release", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Release Codec 1")},
    {"input_event_redrel", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Redial/Release Codec 1")},
    {"input_event_redial2", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Redial Codec 2")},
    {"input_event_release2", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Release Codec 2")},
    {"input_event_redrel2", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Redial/Release Codec 2")},
    {"input_event_progsoff", QT_TRANSLATE_NOOP("QVantelSettingsPage", "All PGM Buttons Off")},
    {"input_event_coord1on", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Coord 1")},
    {"input_event_coord2on", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Coord 2")},
    {"input_event_coord3on", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Coord 3")},
    {"input_event_coord4on", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Coord 4")},
}};

// GPIO relay states, by value 0 to 7.
constexpr std::array<WordEntry, 8> kRelayStates{{
    {"relay_state_none", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Disabled")},
    {"relay_state_r1", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Info 1")},
    {"relay_state_r2", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Info 2")},
    {"relay_state_line", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Line Status Codec 1")},
    {"relay_state_sync", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Sync Status Codec 1")},
    {"relay_state_line2", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Line Status Codec 2")},
    {"relay_state_sync2", QT_TRANSLATE_NOOP("QVantelSettingsPage", "Sync Status Codec 2")},
    {"relay_state_onair", QT_TRANSLATE_NOOP("QVantelSettingsPage", "On Air Status")},
}};

// The text of value in a table indexed from first; fallback for any value outside it.
template<size_t N>
QString
tableText(const std::array<const char *, N> &texts, int first, int value, const char *fallback)
{
    const int index = value - first;
    const char *text = index >= 0 && index < int(N) ? texts[size_t(index)] : fallback;
    return QCoreApplication::translate("QVantelSettingsPage", text);
}

template<size_t N>
int valueOfKey(const std::array<WordEntry, N> &table, const std::string &key)
{
    for (size_t i = 0; i < N; ++i) {
        if (key == table[i].key)
            return int(i);
    }
    return 0;
}

template<size_t N>
std::string keyOfValue(const std::array<WordEntry, N> &table, int value)
{
    return value >= 0 && value < int(N) ? table[size_t(value)].key : table[0].key;
}

template<size_t N>
QString textOfValue(const std::array<WordEntry, N> &table, int value)
{
    const char *text = value >= 0 && value < int(N) ? table[size_t(value)].text : table[0].text;
    return QCoreApplication::translate("QVantelSettingsPage", text);
}

} // namespace

QString QVantelSettingsPage::transportText(int transport)
{
    static constexpr std::array<const char *, 3> texts{
        QT_TR_NOOP("AoIP"), QT_TR_NOOP("ISDN"), QT_TR_NOOP("Voice")};
    return tableText(texts, 0, transport, QT_TR_NOOP("Unknown"));
}

QString QVantelSettingsPage::ethernetModeText(int mode)
{
    static constexpr std::array<const char *, 4> texts{
        QT_TR_NOOP("DHCP"), QT_TR_NOOP("Manual"), QT_TR_NOOP("PPPoE"), QT_TR_NOOP("BGAN")};
    return tableText(texts, 0, mode, QT_TR_NOOP("Unknown"));
}

QString QVantelSettingsPage::linkModeText(int mode)
{
    static constexpr std::array<const char *, 9> texts{QT_TR_NOOP("Auto Negotiation"),
                                                       QT_TR_NOOP("10000BaseT-FD"),
                                                       QT_TR_NOOP("2500BaseT-FD"),
                                                       QT_TR_NOOP("1000BaseT-FD"),
                                                       QT_TR_NOOP("1000BaseT-HD"),
                                                       QT_TR_NOOP("100BaseT-FD"),
                                                       QT_TR_NOOP("100BaseT-HD"),
                                                       QT_TR_NOOP("10BaseT-FD"),
                                                       QT_TR_NOOP("10BaseT-HD")};
    return tableText(texts, 0, mode, QT_TR_NOOP("Unknown"));
}

QString QVantelSettingsPage::audioModeText(int mode)
{
    static constexpr std::array<const char *, 2> texts{QT_TR_NOOP("Direct RTP"),
                                                       QT_TR_NOOP("Multicast")};
    return tableText(texts, 1, mode, QT_TR_NOOP("SIP"));
}

QString QVantelSettingsPage::natTypeText(int type)
{
    static constexpr std::array<const char *, 8> texts{QT_TR_NOOP("Failure"),
                                                       QT_TR_NOOP("Open Access"),
                                                       QT_TR_NOOP("Blocked"),
                                                       QT_TR_NOOP("Symmetric UDP"),
                                                       QT_TR_NOOP("Full Cone"),
                                                       QT_TR_NOOP("Symmetric"),
                                                       QT_TR_NOOP("Restricted Cone"),
                                                       QT_TR_NOOP("Port Restricted Cone")};
    return tableText(texts, 1, type, QT_TR_NOOP("Unknown"));
}

QString QVantelSettingsPage::mobileTechnologyText(int technology)
{
    static constexpr std::array<const char *, 4> texts{
        QT_TR_NOOP("2G"), QT_TR_NOOP("3G"), QT_TR_NOOP("4G/LTE"), QT_TR_NOOP("5G")};
    return tableText(texts, 0, technology, QT_TR_NOOP("Unknown"));
}

namespace {

constexpr std::array<const char *, 3> kDataConnectionTexts{
    QT_TRANSLATE_NOOP("QVantelSettingsPage", "Not Connected or Failure"),
    QT_TRANSLATE_NOOP("QVantelSettingsPage", "Connection in Progress"),
    QT_TRANSLATE_NOOP("QVantelSettingsPage", "Connection Established")};

} // namespace

QString QVantelSettingsPage::connectionStateText(int state)
{
    return tableText(kDataConnectionTexts, 1, state, QT_TR_NOOP("Disabled"));
}

QString QVantelSettingsPage::activityStateText(int state)
{
    return tableText(kDataConnectionTexts, 1, state, QT_TR_NOOP("Not active"));
}

QString QVantelSettingsPage::streamStateText(int state)
{
    static constexpr std::array<const char *, 10> texts{QT_TR_NOOP("Disabled"),
                                                        QT_TR_NOOP("Idle"),
                                                        QT_TR_NOOP("Waiting"),
                                                        QT_TR_NOOP("Transmitting"),
                                                        QT_TR_NOOP("Receiving"),
                                                        QT_TR_NOOP("Receiving (Warning)"),
                                                        QT_TR_NOOP("Receiving (No Sync)"),
                                                        QT_TR_NOOP("Receiving (Sync Error)"),
                                                        QT_TR_NOOP("Address Collision"),
                                                        QT_TR_NOOP("Not Enough Decoders")};
    return tableText(texts, 0, state, QT_TR_NOOP("Unknown Status"));
}

QString QVantelSettingsPage::ptpStateText(int state)
{
    static constexpr std::array<const char *, 10> texts{QT_TR_NOOP("Not Defined"),
                                                        QT_TR_NOOP("Initializing"),
                                                        QT_TR_NOOP("Faulty"),
                                                        QT_TR_NOOP("Disabled"),
                                                        QT_TR_NOOP("Listening"),
                                                        QT_TR_NOOP("Pre-master"),
                                                        QT_TR_NOOP("Master"),
                                                        QT_TR_NOOP("Passive"),
                                                        QT_TR_NOOP("Not Calibrated"),
                                                        QT_TR_NOOP("Slave")};
    return tableText(texts, 0, state, QT_TR_NOOP("Unknown State"));
}

QString QVantelSettingsPage::lockStateText(int state)
{
    static constexpr std::array<const char *, 3> texts{
        QT_TR_NOOP("Unlocked"), QT_TR_NOOP("Locking"), QT_TR_NOOP("Locked")};
    return tableText(texts, 1, state, QT_TR_NOOP("Unknown State"));
}

int QVantelSettingsPage::inputEventFromKey(const std::string &key)
{
    return valueOfKey(kInputEvents, key);
}

std::string QVantelSettingsPage::inputEventKey(int event)
{
    return keyOfValue(kInputEvents, event);
}

QString QVantelSettingsPage::inputEventText(int event)
{
    return textOfValue(kInputEvents, event);
}

int QVantelSettingsPage::relayStateFromKey(const std::string &key)
{
    return valueOfKey(kRelayStates, key);
}

std::string QVantelSettingsPage::relayStateKey(int state)
{
    return keyOfValue(kRelayStates, state);
}

QString QVantelSettingsPage::relayStateText(int state)
{
    return textOfValue(kRelayStates, state);
}

bool QVantelSettingsPage::nameLessThan(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

QString QVantelSettingsPage::networkNameText(const std::string &bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}
