#include "frontpanel/qvantelsoftkeys.h"

#include "link/cmsg.h"
#include "link/protocolkeys.h"
#include "link/sharedobjects.h"
#include "link/valueconversions.h"
#include "model/comdevice.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"
#include "model/writereport.h"

#include <map>

namespace {

// The number after prefix in key, 0 when key does not start with it or has no digits after it.
int keyNumber(const std::string &key, const std::string &prefix)
{
    if (key.compare(0, prefix.size(), prefix) != 0)
        return 0;
    return stringToInt(key.substr(prefix.size()));
}

// Sets the flag for the lifetime of the guard and puts the previous value back.
class UpdatingScope
{
public:
    explicit UpdatingScope(bool &flag)
        : m_flag(flag)
        , m_previous(flag)
    {
        m_flag = true;
    }
    ~UpdatingScope() { m_flag = m_previous; }
    UpdatingScope(const UpdatingScope &) = delete;
    UpdatingScope &operator=(const UpdatingScope &) = delete;

private:
    bool &m_flag;
    bool m_previous;
};

} // namespace

QVantelSoftkeys::QVantelSoftkeys(QObject *parent)
    : QObject(parent)
    , m_keys{QVantelSoftkey(0, this),
             QVantelSoftkey(1, this),
             QVantelSoftkey(2, this),
             QVantelSoftkey(3, this),
             QVantelSoftkey(4, this),
             QVantelSoftkey(5, this),
             QVantelSoftkey(6, this)}
{}

QVantelSoftkeys::~QVantelSoftkeys() = default;

QVantelSoftkey *QVantelSoftkeys::key(int index)
{
    // An index outside the seven keys names no key; it must not silently alter key 1.
    if (index < 0 || index >= kKeyCount)
        return nullptr;
    return &m_keys[size_t(index)];
}

QString QVantelSoftkeys::infoLabel(int index) const
{
    return index == 0 || index == 1 ? m_infoLabels[size_t(index)] : QString();
}

QString QVantelSoftkeys::contactLabel(int index) const
{
    return index == 0 || index == 1 ? m_contactLabels[size_t(index)] : QString();
}

void QVantelSoftkeys::readAll()
{
    std::map<std::string, std::string> values;
    if (!comDevice()->readPanelKeys(values))
        return;
    for (const auto &[key, value] : values)
        dispatch(key, value);
}

void QVantelSoftkeys::handleEvent(const ksm::CMsg &event)
{
    if (*event.param(kKeyInfoType) != kEventConfigChangeset)
        return;
    // Copied: a handler of the signals sent while applying may not change what is walked.
    const ksm::CMsg::ParamMap params = event.params();
    for (const auto &[key, value] : params)
        dispatch(key, value);
}

void QVantelSoftkeys::dispatch(const std::string &key, const std::string &value)
{
    if (key.compare(0, kPanelKeySoftkey.size(), kPanelKeySoftkey) == 0)
        applyKey(key, value);
    else if (key.compare(0, kPanelKeyInfoLabel.size(), kPanelKeyInfoLabel) == 0)
        applyInfoLabel(key, value);
    else if (key.compare(0, kPanelKeyContactLabel.size(), kPanelKeyContactLabel) == 0)
        applyContactLabel(key, value);
}

QVantelSoftkeys::LabelWrite QVantelSoftkeys::setInfoLabel(int index, const QString &text)
{
    return setLabel(true, index, text);
}

QVantelSoftkeys::LabelWrite QVantelSoftkeys::setContactLabel(int index, const QString &text)
{
    return setLabel(false, index, text);
}

QVantelSoftkeys::LabelWrite QVantelSoftkeys::setLabel(bool info, int index, const QString &text)
{
    std::array<QString, kLabelCount> &labels = info ? m_infoLabels : m_contactLabels;
    if ((index != 0 && index != 1) || labels[size_t(index)] == text)
        return LabelWrite::Held;
    const auto store = [this, info, index, &labels](const QString &stored) {
        labels[size_t(index)] = stored;
        if (info)
            emit infoLabelChanged(index, stored);
        else
            emit contactLabelChanged(index, stored);
    };
    if (m_updating) {
        store(text);
        return LabelWrite::Held;
    }
    const std::string key
        = (info ? kPanelKeyInfoLabel : kPanelKeyContactLabel) + std::to_string(index + 1);
    const std::string word = toDeviceString(text);
    const WriteReport report = comDevice()->writePanelKeyReported(key, word);
    const auto held = report.held.find(key);
    if (held == report.held.end())
        return report.kept.count(key) ? LabelWrite::Other : LabelWrite::Unknown;
    if (held->second == word) {
        store(text);
        return LabelWrite::Held;
    }
    // Read back after an answer that came too late: the unit's own text.
    store(fromDeviceString(held->second));
    return LabelWrite::Other;
}

bool QVantelSoftkeys::writeKey(QVantelSoftkey *key)
{
    if (m_updating || !key)
        return true;
    return comDevice()->writePanelKey(kPanelKeySoftkey + std::to_string(key->index() + 1),
                                      key->storedValue());
}

void QVantelSoftkeys::applyKey(const std::string &key, const std::string &value)
{
    UpdatingScope updating(m_updating);
    const int number = keyNumber(key, kPanelKeySoftkey);
    if (number < 1 || number > kKeyCount)
        return;
    QVantelSoftkey &record = m_keys[size_t(number - 1)];

    if (value.empty()) {
        record.setCategory(QVantelSoftkey::None);
        return;
    }
    if (value.size() < 6 || value[0] != 'C') {
        // The older form: (category << 16) | function id, in decimal.
        const qint32 number32 = stringToLong(value);
        record.setCategory(number32 >> 16);
        record.setFunction(QVantelSoftkey::legacyFunctionNumber(number32 & 0xFFFF));
        return;
    }
    // "CccFffBbb": two hexadecimal digits each; the letters are not looked at.
    int category = int(hexStringToULong(value.substr(1, 2)));
    // A key set to None is stored with the category written as "FF".
    if (category == 0xFF)
        category = QVantelSoftkey::None;
    record.setCategory(category);
    record.setFunction(int(hexStringToULong(value.substr(4, 2))));
    if (value.size() > 8)
        record.setBehavior(int(hexStringToULong(value.substr(7, 2))));
}

void QVantelSoftkeys::applyInfoLabel(const std::string &key, const std::string &value)
{
    UpdatingScope updating(m_updating);
    const int number = keyNumber(key, kPanelKeyInfoLabel);
    if (number == 1 || number == 2)
        setInfoLabel(number - 1, fromDeviceString(value));
}

void QVantelSoftkeys::applyContactLabel(const std::string &key, const std::string &value)
{
    UpdatingScope updating(m_updating);
    const int number = keyNumber(key, kPanelKeyContactLabel);
    if (number == 1 || number == 2)
        setContactLabel(number - 1, fromDeviceString(value));
}

QVantelSoftkeys *softkeys()
{
    static SharedObject<QVantelSoftkeys> model;
    return model.instance();
}

QVantelSoftkey *softkey(int index)
{
    return softkeys()->key(index);
}
