#include "frontpanel/qvantelsoftkey.h"

#include "frontpanel/qvantelsoftkeys.h"
#include "link/valueconversions.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"

#include <array>

namespace {

// Firmware from which the stored form carries the behaviour.
constexpr quint32 kBehaviorInStoredForm = kFirmware1_7_4;
// Firmware from which Contacts offers "All PGM Buttons Off".
constexpr quint32 kAllButtonsOff = kFirmware1_14;

// Highest function number of each category 0 to 6.
constexpr std::array<int, 7> kFunctionCount = {4, 16, 20, 14, 3, 2, 9};

// Talk to Output 1 to 20: each station's LINE2 entry (17 to 20) follows its LINE1 entry.
constexpr std::array<int, 20> kTalkToOutputRank
    = {1, 2, 4, 5, 6, 7, 9, 10, 11, 12, 14, 15, 16, 17, 19, 20, 3, 8, 13, 18};

// Function number within its category of each old-form function id 0 to 62.
constexpr std::array<quint8, QVantelSoftkey::kLegacyFunctionCount> kLegacyFunctionTable = {
    1, 2, 3, 4,                                            // Cough Key
    1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, // Talk to Speaker
    1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, // Talk to Output
    1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14,         // Aux to Bus
    1, 2,                                                  // Contacts
    1, 2,                                                  // Info
    1, 2, 3, 4, 5, 6, 7, 8, 9,                             // Shortcuts
};

// Whether function is a function number (from 1) of category, a category of a key.
bool isKnownFunction(int category, int function)
{
    return category >= QVantelSoftkey::CoughKey && category <= QVantelSoftkey::Shortcuts
           && function >= 1 && function <= kFunctionCount[size_t(category)];
}

// "RAV1"/"RAV2", or "DNT1"/"DNT2" on a device whose AoIP module is the Dante variant.
QString aoipPort(int number)
{
    const bool dante = TComDevice::hasOption(TComDevice::OptionRavenna2);
    return (dante ? QStringLiteral("DNT%1") : QStringLiteral("RAV%1")).arg(number);
}

} // namespace

QVantelSoftkey::QVantelSoftkey(int index, QVantelSoftkeys *owner)
    : m_owner(owner)
    , m_index(index)
{}

QString QVantelSoftkey::categoryName(int category)
{
    switch (category) {
    case CoughKey:
        return tr("Cough Key");
    case TalkToSpeaker:
        return tr("Talk to Speaker");
    case TalkToOutput:
        return tr("Talk to Output");
    case AuxToBus:
        return tr("Aux to Bus");
    case Contacts:
        return tr("Contacts");
    case Info:
        return tr("Info");
    case Shortcuts:
        return tr("Shortcuts");
    default:
        return tr("None");
    }
}

QString QVantelSoftkey::functionName(int category, int function)
{
    if (!isKnownFunction(category, function))
        return tr("None");
    const int f = function - 1;
    switch (category) {
    case CoughKey:
        return tr("Cough %1").arg(function);
    case TalkToSpeaker: {
        // Station t talks to each other station in rising order, then to all.
        const int station = f / 4 + 1;
        const int slot = f % 4;
        if (slot == 3)
            return tr("%1 Talk %2").arg(station).arg(tr("All"));
        const int other = slot + 1 < station ? slot + 1 : slot + 2;
        return tr("%1 Talk %2").arg(station).arg(other);
    }
    case TalkToOutput: {
        if (function > 16)
            return tr("%1 Talk %2").arg(function - 16).arg(QStringLiteral("LINE2"));
        const QString ports[]
            = {QStringLiteral("USB"), QStringLiteral("LINE1"), aoipPort(1), aoipPort(2)};
        return tr("%1 Talk %2").arg(f / 4 + 1).arg(ports[f % 4]);
    }
    case AuxToBus: {
        const QString sources[] = {QStringLiteral("USB"),
                                   QStringLiteral("AUX1"),
                                   QStringLiteral("AUX2"),
                                   QStringLiteral("AES1"),
                                   QStringLiteral("AES2"),
                                   aoipPort(1),
                                   aoipPort(2)};
        const QString bus = f % 2 == 0 ? QStringLiteral("PGM") : QStringLiteral("COORD");
        return tr("%1 to %2").arg(sources[f / 2], bus);
    }
    case Contacts:
        return function == 3 ? tr("All PGM Buttons Off") : tr("Contact %1").arg(function);
    case Info:
        return tr("Info %1").arg(function);
    case Shortcuts: {
        const QString names[] = {tr("Home"),
                                 tr("Mixing"),
                                 tr("Inputs"),
                                 tr("Network"),
                                 tr("Coding"),
                                 tr("Audio"),
                                 tr("Book"),
                                 tr("Tools"),
                                 tr("Status")};
        return names[f];
    }
    default:
        return tr("None");
    }
}

QString QVantelSoftkey::behaviorName(int behavior)
{
    switch (behavior) {
    case Temporary:
        return tr("Temporary");
    case Toggle:
        return tr("Toggle");
    case Pulse:
        return tr("Pulse");
    default:
        return tr("Not Applicable");
    }
}

int QVantelSoftkey::functionDisplayRank(int category, int function)
{
    if (!isKnownFunction(category, function))
        return -1;
    if (category == TalkToOutput)
        return kTalkToOutputRank[size_t(function - 1)];
    return function;
}

int QVantelSoftkey::functionSortKey(int category, int function)
{
    const quint32 rank = quint32(functionDisplayRank(category, function));
    return int(((rank << 8) & 0xFFFFu) | quint32(function));
}

int QVantelSoftkey::legacyFunctionNumber(int id)
{
    if (id < 0 || id >= kLegacyFunctionCount)
        return 0;
    return kLegacyFunctionTable[size_t(id)];
}

QMap<int, QString> QVantelSoftkey::categoryNames()
{
    QMap<int, QString> names;
    for (int category = None; category <= Shortcuts; ++category)
        names.insert(category, categoryName(category));
    return names;
}

qint32 QVantelSoftkey::computeMask(int category) const
{
    const bool aux = audioSettings()->auxiliaryBoard();
    const bool aoip = TComDevice::hasOption(TComDevice::OptionRavenna);
    const bool link2 = TComDevice::hasOption(TComDevice::OptionHardware134);
    const bool small = TComDevice::hasOption(TComDevice::OptionHardware2);
    const bool newer = firmwareAtLeast(kFirmware1_15);
    const int key = m_index;

    quint32 mask = 0;
    switch (category) {
    case CoughKey: {
        const quint32 masks[]
            = {0x1, 0x5, newer ? 0x7u : 0x5u, newer ? 0xFu : 0xCu, newer ? 0xBu : 0xAu, 0xA, 0x2};
        mask = masks[key];
        if (small)
            mask &= 0x7;
        break;
    }
    case TalkToSpeaker: {
        const quint32 masks[] = {0x7, 0x707, 0x707, 0x7700, 0x7070, 0x7070, 0x70};
        mask = masks[key];
        if (small)
            mask &= 0x333;
        break;
    }
    case TalkToOutput: {
        const quint32 base[] = {0x3, 0x303, 0x303, newer ? 0x3333u : 0x3300u, 0x3030, 0x3030, 0x30};
        const quint32 aoipPorts[]
            = {0xC, 0xC0C, 0xC0C, newer ? 0xCCCCu : 0xCC00u, 0xC0C0, 0xC0C0, 0xC0};
        const quint32 line2[]
            = {0x10000, 0x50000, 0x50000, newer ? 0xF0000u : 0xC0000u, 0xA0000, 0xA0000, 0x20000};
        mask = base[key];
        if (aux) {
            if (aoip)
                mask |= aoipPorts[key];
            if (link2)
                mask |= line2[key];
        }
        if (small)
            mask &= 0xF0EEE;
        break;
    }
    case AuxToBus:
        if (!small)
            mask |= 0x3;
        if (aux) {
            mask |= 0xC;
            if (!small)
                mask |= 0x3F0;
            if (aoip)
                mask |= 0x3C00;
        }
        break;
    default:
        break;
    }
    return qint32(mask);
}

QMap<int, QString> QVantelSoftkey::functionNames(int category, bool sorted)
{
    QMap<int, QString> names;
    if (category < CoughKey || category > Shortcuts) {
        names.insert(0, tr("None"));
        return names;
    }
    if (category <= AuxToBus)
        m_availableMask = computeMask(category);
    int count = kFunctionCount[size_t(category)];
    if (category == Contacts && !firmwareAtLeast(kAllButtonsOff))
        count = 2;
    const quint32 mask = quint32(m_availableMask);
    for (int function = 1; function <= count; ++function) {
        if ((mask & (1u << (function - 1))) == 0)
            continue;
        names.insert(sorted ? functionSortKey(category, function) : function,
                     functionName(category, function));
    }
    return names;
}

QMap<int, QString> QVantelSoftkey::behaviorNames(int category)
{
    QMap<int, QString> names;
    switch (category) {
    case CoughKey:
        names.insert(Temporary, behaviorName(Temporary));
        break;
    case TalkToSpeaker:
    case TalkToOutput:
        names.insert(Temporary, behaviorName(Temporary));
        names.insert(Toggle, behaviorName(Toggle));
        break;
    case AuxToBus:
    case Contacts:
        names.insert(Toggle, behaviorName(Toggle));
        break;
    case Shortcuts:
        names.insert(Pulse, behaviorName(Pulse));
        break;
    default:
        names.insert(NotApplicable, behaviorName(NotApplicable));
        break;
    }
    return names;
}

int QVantelSoftkey::defaultBehavior(int category)
{
    switch (category) {
    case CoughKey:
    case TalkToSpeaker:
    case TalkToOutput:
        return Temporary;
    case AuxToBus:
    case Contacts:
        return Toggle;
    case Shortcuts:
        return Pulse;
    default:
        return NotApplicable;
    }
}

std::string QVantelSoftkey::storedValue() const
{
    // Two hexadecimal digits each: None (-1) is written as "FF".
    const auto hex = [](int value) { return ulongToHexString(quint32(value) & 0xFFu, 2); };
    std::string value = "C" + hex(m_category) + "F" + hex(m_function);
    if (firmwareAtLeast(kBehaviorInStoredForm))
        value += "B" + hex(m_behavior);
    return value;
}

bool QVantelSoftkey::setCategory(int category)
{
    if (category == m_category || category < None || category > Shortcuts)
        return true;
    emit m_owner->softKeyCategoryChanging(this, Category(category));
    m_category = category;
    m_function = 0;
    m_behavior = NotApplicable;
    m_availableMask = -1;

    int first = 0;
    if (category >= CoughKey && category <= AuxToBus) {
        const QMap<int, QString> names = functionNames(category, false);
        first = names.isEmpty() ? 0 : names.firstKey();
    } else if (category >= Contacts) {
        first = 1;
    }
    return selectFunction(first);
}

bool QVantelSoftkey::setFunction(int function)
{
    if (function == m_function || !functionNames(m_category, false).contains(function))
        return true;
    emit m_owner->softKeyFunctionChanging(this, function);
    return selectFunction(function);
}

bool QVantelSoftkey::setBehavior(int behavior)
{
    if (behavior == m_behavior || !behaviorNames(m_category).contains(behavior))
        return true;
    m_behavior = behavior;
    const bool written = m_owner->writeKey(this);
    emit m_owner->softKeyBehaviorChanged(this);
    return written;
}

bool QVantelSoftkey::selectFunction(int function)
{
    m_function = function & 0xFF;
    m_behavior = defaultBehavior(m_category);
    const bool written = m_owner->writeKey(this);
    emit m_owner->softKeyFunctionChanged(this);
    return written;
}
