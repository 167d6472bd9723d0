#include "model/comkeyedcontroller.h"

#include "link/ccom.h"
#include "link/valueconversions.h"
#include "model/keytable.h"

#include <type_traits>

TComKeyedController::TComKeyedController(ksm::CCom *com, int type)
    : TComController(com, type)
{}

TComKeyedController::~TComKeyedController() = default;

const KeyTable &TComKeyedController::keyTable() const
{
    static const KeyTable none({});
    return none;
}

void TComKeyedController::rowChanged(const KeyRow &) {}

const KeyRow *TComKeyedController::rowOfField(const void *field)
{
    return keyTable().rowOf(*this, field);
}

void TComKeyedController::noteChange(const KeyRow &row)
{
    markKnown(*row.key);
    rowChanged(row);
}

template<typename T>
bool TComKeyedController::storeField(T &field, const T &value, bool send)
{
    const KeyRow *row = rowOfField(&field);
    if (!row)
        return false;
    if (value == field) {
        markKnown(*row->key);
        return true;
    }
    if constexpr (std::is_same_v<T, int>) {
        if (value < row->minimum)
            return true;
    }
    if (send && row->sendable(*this, value)) {
        if (!writeKey(*row->key, row->wire(value)))
            return false;
        noteTaken(*row->key);
    }
    field = value;
    noteChange(*row);
    return true;
}

bool TComKeyedController::store(bool &field, bool value, bool send)
{
    return storeField(field, value, send);
}

bool TComKeyedController::store(int &field, int value, bool send)
{
    return storeField(field, value, send);
}

bool TComKeyedController::store(std::string &field, const std::string &value, bool send)
{
    return storeField(field, value, send);
}

bool TComKeyedController::applyRow(const KeyRow &row, const std::string &text)
{
    if (row.emptyKept && text.empty())
        return true;
    if (row.applier) {
        // What an applier took came from the unit as much as a stored field.
        const bool applied = row.applier(*this, text);
        if (applied)
            markKnown(*row.key);
        return applied;
    }
    switch (row.kind) {
    case KeyRow::Flag:
        store(row.flagField(*this), text == row.onWord, false);
        break;
    case KeyRow::Number:
        store(row.numberField(*this), text.empty() ? row.emptyValue : stringToInt(text), false);
        break;
    case KeyRow::Word:
        store(row.numberField(*this), row.fromWire(text), false);
        break;
    case KeyRow::Text:
        store(row.textField(*this), row.latin1 ? utf8ToLatin1(text) : text, false);
        break;
    case KeyRow::Record:
    case KeyRow::Applied:
        break;
    }
    return true;
}

bool TComKeyedController::applyNews(const KeyRow &row, const std::string &text)
{
    if (isOlderThanTaken(*row.key))
        return true;
    if (!isHeld(*row.key))
        return applyRow(row, text);
    m_heldNews.emplace_back(&row, text);
    return true;
}

void TComKeyedController::noteTaken(const std::string &key)
{
    if (const ksm::CCom *com = m_request.com(); com && keyTable().find(key))
        m_takenAt[key] = com->signalsBeforeLastReply();
}

bool TComKeyedController::isOlderThanTaken(const std::string &key) const
{
    const ksm::CCom *com = m_request.com();
    const auto taken = m_takenAt.find(key);
    return com && taken != m_takenAt.end() && com->handledSignal() <= taken->second;
}

void TComKeyedController::holdKey(const std::string &key)
{
    if (keyTable().find(key))
        m_held.insert(key);
}

void TComKeyedController::releaseHeld(bool unitKept)
{
    m_held.clear();
    std::vector<std::pair<const KeyRow *, std::string>> news;
    news.swap(m_heldNews);
    if (!unitKept)
        return;
    for (const auto &[row, text] : news)
        applyRow(*row, text);
}

bool TComKeyedController::applyField(const void *field, const std::string &text)
{
    const KeyRow *row = rowOfField(field);
    return row && applyReceived(*row, text);
}

bool TComKeyedController::applyReceived(const KeyRow &row, const std::string &text)
{
    return applyRow(row, text);
}

bool TComKeyedController::applyValues(const std::map<std::string, std::string> &values)
{
    bool applied = true;
    for (const auto &[key, value] : values) {
        if (const KeyRow *row = keyTable().find(key))
            applied = applyReceived(*row, value) && applied;
    }
    return applied;
}

void TComKeyedController::forgetUnanswered(const std::vector<std::string> &asked,
                                           const std::map<std::string, std::string> &values)
{
    for (const std::string &key : asked) {
        if (values.count(key) == 0)
            m_known.erase(key);
    }
}

std::map<std::string, std::string> TComKeyedController::writes(const std::vector<std::string> &keys,
                                                               bool onlyKnown)
{
    std::map<std::string, std::string> params;
    for (const std::string &key : keys) {
        const KeyRow *row = keyTable().find(key);
        if (row && row->writable(*this) && (!onlyKnown || isKnown(key)))
            params[key] = row->currentWire(*this);
    }
    return params;
}

std::map<std::string, std::string>
TComKeyedController::knownWrites(const std::vector<std::string> &keys)
{
    return writes(keys, true);
}

std::map<std::string, std::string>
TComKeyedController::currentWrites(const std::vector<std::string> &keys)
{
    return writes(keys, false);
}

void TComKeyedController::resetKeys()
{
    m_takenAt.clear();
    for (const KeyRow &row : keyTable().rows()) {
        if (!row.resetKept)
            row.resetIn(*this);
    }
}
