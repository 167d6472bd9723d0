#include "model/keytable.h"

#include "link/valueconversions.h"
#include "model/firmwareversion.h"

KeyRow KeyRow::signalled(int number) const
{
    KeyRow row = *this;
    row.param = number;
    return row;
}

KeyRow KeyRow::unknownNeverSent() const
{
    KeyRow row = *this;
    row.unknownUnsent = true;
    row.initial = -1;
    return row;
}

KeyRow KeyRow::initially(int value) const
{
    KeyRow row = *this;
    row.initial = value;
    return row;
}

KeyRow KeyRow::emptyNeverSent() const
{
    KeyRow row = *this;
    row.emptyUnsent = true;
    return row;
}

KeyRow KeyRow::inLatin1() const
{
    KeyRow row = *this;
    row.latin1 = true;
    return row;
}

KeyRow KeyRow::onlyReported() const
{
    KeyRow row = *this;
    row.reported = true;
    return row;
}

KeyRow KeyRow::notInReadAll() const
{
    KeyRow row = *this;
    row.inReadAll = false;
    return row;
}

KeyRow KeyRow::readFrom(quint32 firmware) const
{
    KeyRow row = *this;
    row.since = firmware;
    return row;
}

KeyRow KeyRow::trueWhen(const char *word) const
{
    KeyRow row = *this;
    row.onWord = word;
    return row;
}

KeyRow KeyRow::inConfigEvent(EventUse use) const
{
    KeyRow row = *this;
    row.event = use;
    return row;
}

KeyRow KeyRow::standsFor(quint32 capabilityBit) const
{
    KeyRow row = *this;
    row.capability = capabilityBit;
    return row;
}

KeyRow KeyRow::sentFrom(int lowest) const
{
    KeyRow row = *this;
    row.lowestSent = lowest;
    return row;
}

KeyRow KeyRow::keptWhenEmpty() const
{
    KeyRow row = *this;
    row.emptyKept = true;
    return row;
}

KeyRow KeyRow::keptOverReset() const
{
    KeyRow row = *this;
    row.resetKept = true;
    return row;
}

const void *KeyRow::fieldIn(Controller &controller) const
{
    switch (kind) {
    case Flag:
        return &flagField(controller);
    case Number:
    case Word:
        return &numberField(controller);
    case Text:
        return &textField(controller);
    case Record:
        return recordField(controller);
    case Applied:
        break;
    }
    return nullptr;
}

std::string KeyRow::wire(bool value) const
{
    return value ? onWord : offWord;
}

std::string KeyRow::wire(int value) const
{
    return kind == Word ? toWire(value) : longToString(value);
}

std::string KeyRow::wire(const std::string &value) const
{
    return latin1 ? latin1ToUtf8(value) : value;
}

std::string KeyRow::recordWire(const void *value) const
{
    return wire(recordText(value));
}

std::string KeyRow::currentWire(Controller &controller) const
{
    switch (kind) {
    case Flag:
        return wire(flagField(controller));
    case Number:
    case Word:
        return wire(numberField(controller));
    case Text:
        return wire(textField(controller));
    case Record:
        return recordWire(recordField(controller));
    case Applied:
        break;
    }
    return std::string();
}

bool KeyRow::sendable(const Controller &controller, int value) const
{
    return !(unknownUnsent && value == -1) && value >= lowestSent && sendable(controller);
}

bool KeyRow::sendable(const Controller &controller, const std::string &value) const
{
    return !(emptyUnsent && value.empty()) && sendable(controller);
}

bool KeyRow::sendable(const Controller &controller, bool) const
{
    return sendable(controller);
}

bool KeyRow::sendable(const Controller &controller) const
{
    return !reported && (!sendGate || sendGate(controller));
}

bool KeyRow::writable(Controller &controller) const
{
    if (reported || kind == Applied)
        return false;
    return !(unknownUnsent && numberField && numberField(controller) == -1);
}

void KeyRow::resetIn(Controller &controller) const
{
    switch (kind) {
    case Flag:
        flagField(controller) = false;
        break;
    case Number:
    case Word:
        numberField(controller) = initial;
        break;
    case Text:
        textField(controller).clear();
        break;
    case Record:
        recordClear(recordField(controller));
        break;
    case Applied:
        break;
    }
}

KeyTable::KeyTable(std::initializer_list<KeyRow> rows)
    : m_rows(rows)
{}

const KeyRow *KeyTable::find(const std::string &key) const
{
    for (const KeyRow &row : m_rows) {
        if (*row.key == key)
            return &row;
    }
    return nullptr;
}

const KeyRow *KeyTable::rowOf(KeyRow::Controller &controller, const void *field) const
{
    for (const KeyRow &row : m_rows) {
        if (row.fieldIn(controller) == field)
            return &row;
    }
    return nullptr;
}

std::vector<std::string> KeyTable::readAllKeys() const
{
    std::vector<std::string> keys;
    for (const KeyRow &row : m_rows) {
        if (row.inReadAll && (row.since == 0 || firmwareAtLeast(row.since)))
            keys.push_back(*row.key);
    }
    return keys;
}
