#pragma once

#include "model/comkeyedcontroller.h"

#include <QtGlobal>

#include <climits>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

// One device key of a keyed controller (comkeyedcontroller.h): the field it feeds, how its value
// travels, and what the controller's setters, reads, writes and events do with it. A controller
// lists its keys in one KeyTable, so that a key is named once in the model (a rule of its own
// aside, such as the operator selection's longer time-out): its setter finds the row by the field
// it stores, and read(), write(), readAll(), reset() and the event handlers walk the table.
//
// Kinds of value:
// - Flag: a bool, onWord ("on") for true and offWord ("off") for false; a received text is true
//   exactly when it is onWord;
// - Number: an int in decimal; an empty received text gives emptyValue, and a value below
//   minimum is ignored by the setter (nothing stored or sent);
// - Word: an int through toWire and fromWire;
// - Text: a std::string, held in Latin-1 and exchanged in UTF-8 when latin1 is set, otherwise
//   as the device's bytes;
// - Record: a value of a type of the controller's own (the module's stream references), read
//   from the device's text by the type's own parser, which may refuse it, and written as the
//   type's text form (converted to UTF-8 when latin1 is set);
// - Applied: no field of its own: a received text goes to its applier.
//
// Rows are built with the static functions below and refined with the modifiers, each of which
// returns a changed copy:
//     KeyRow::text(kEthernetKeyGateway, &C::m_gateway).sentWhile(&C::manualAddressing)
//
// A row holds its field as an accessor on the controller, built from a member pointer of the
// class that declares the field, or with element() from an array of records the class keeps
// (one per interface or stream):
//     KeyRow::text(kRavennaKeyRavGateway1, KeyRow::element(&C::m_interfaces, 1, &Net::gateway))
// A row belongs in the table of the class that declares its field (or of a subclass, as the
// streaming presets of TComNetworkController do).
struct KeyRow
{
    enum Kind { Flag, Number, Word, Text, Record, Applied };
    // What an Ethernet "config info" event does with the key: nothing; takes it only when it
    // holds a value; or takes it whenever the event carries it, an empty value too (no longer
    // set). A key the event leaves out keeps its value either way.
    enum EventUse { NotInEvent, InEventWhenSet, InEventAlways };

    using Controller = TComKeyedController;
    template<typename T>
    using Field = std::function<T &(Controller &)>;
    using Applier = std::function<bool(Controller &, const std::string &)>;
    using Gate = std::function<bool(const Controller &)>;

    const std::string *key = nullptr;
    Kind kind = Applied;
    Field<bool> flagField;
    Field<int> numberField;
    Field<std::string> textField;
    const char *onWord = "on";
    const char *offWord = "off";
    int minimum = INT_MIN;
    int emptyValue = 0;
    // The field's value at construction, which reset() puts back (Flag false, Text empty).
    int initial = 0;
    std::function<std::string(int)> toWire;
    int (*fromWire)(const std::string &) = nullptr;
    bool latin1 = false;
    // Record: the field's address, the text form of a value of its type, and the value at
    // construction put back (the type's default).
    std::function<void *(Controller &)> recordField;
    std::function<std::string(const void *)> recordText;
    std::function<void(void *)> recordClear;

    // Sending. A setter with send writes the key only when every condition holds; when one does
    // not, it stores the value without sending.
    bool unknownUnsent = false; // -1 stands for unknown and is never sent, nor bulk-written
    bool emptyUnsent = false;   // an empty text is not sent
    int lowestSent = INT_MIN;   // a number below this is stored but not sent
    Gate sendGate;              // sent only while this holds

    // What the controller does with the key beyond its setter.
    bool reported = false; // the device's to say: read and applied, never written
    bool inReadAll = true; // asked for by readAll()
    quint32 since = 0;     // ... from this firmware version on (0: any)
    int param = -1;        // the controllerParamChanged number of a change; -1: no signal
    EventUse event = NotInEvent;
    quint32 capability = 0; // a capability bit the device's answer for the key stands for
    Applier applier;        // takes received texts in place of the kind's own rule
    bool emptyKept = false; // an empty received text leaves the field as it is
    bool resetKept = false; // reset() leaves the field as it is

    template<typename C>
    static KeyRow flag(const std::string &key, bool C::*field)
    {
        return flag(key, accessor(field));
    }
    static KeyRow flag(const std::string &key, Field<bool> field)
    {
        KeyRow row(key, Flag);
        row.flagField = std::move(field);
        return row;
    }

    template<typename C>
    static KeyRow number(const std::string &key, int C::*field, int minimum, int emptyValue)
    {
        return number(key, accessor(field), minimum, emptyValue);
    }
    static KeyRow number(const std::string &key, Field<int> field, int minimum, int emptyValue)
    {
        KeyRow row(key, Number);
        row.numberField = std::move(field);
        row.minimum = minimum;
        row.emptyValue = emptyValue;
        row.initial = emptyValue;
        return row;
    }
    // Without a minimum: every value is stored.
    template<typename C>
    static KeyRow number(const std::string &key, int C::*field, int emptyValue)
    {
        return number(key, accessor(field), INT_MIN, emptyValue);
    }
    static KeyRow number(const std::string &key, Field<int> field, int emptyValue)
    {
        return number(key, std::move(field), INT_MIN, emptyValue);
    }

    template<typename C, typename ToWire>
    static KeyRow
    word(const std::string &key, int C::*field, ToWire toWire, int (*fromWire)(const std::string &))
    {
        return word(key, accessor(field), toWire, fromWire);
    }
    template<typename ToWire>
    static KeyRow word(const std::string &key,
                       Field<int> field,
                       ToWire toWire,
                       int (*fromWire)(const std::string &))
    {
        KeyRow row(key, Word);
        row.numberField = std::move(field);
        if constexpr (!std::is_same_v<ToWire, std::nullptr_t>)
            row.toWire = toWire;
        row.fromWire = fromWire;
        return row;
    }

    template<typename C>
    static KeyRow text(const std::string &key, std::string C::*field)
    {
        return text(key, accessor(field));
    }
    static KeyRow text(const std::string &key, Field<std::string> field)
    {
        KeyRow row(key, Text);
        row.textField = std::move(field);
        return row;
    }

    // A record field of type R: parse reads the device's text into it (false: malformed, the
    // read fails), toText gives the text form written.
    template<typename R>
    static KeyRow record(const std::string &key,
                         Field<R> field,
                         bool (R::*parse)(const std::string &),
                         std::string (R::*toText)() const)
    {
        KeyRow row(key, Record);
        row.recordField = [field](Controller &controller) -> void * { return &field(controller); };
        row.applier = [field, parse](Controller &controller, const std::string &text) {
            return (field(controller).*parse)(text);
        };
        row.recordText
            = [toText](const void *value) { return (static_cast<const R *>(value)->*toText)(); };
        row.recordClear = [](void *value) { *static_cast<R *>(value) = R(); };
        return row;
    }

    template<typename C>
    static KeyRow applied(const std::string &key, bool (C::*apply)(const std::string &))
    {
        KeyRow row(key, Applied);
        row.reported = true;
        return row.appliedBy(apply);
    }
    // The applier takes argument first (the number of the stream the key stands for).
    template<typename C>
    static KeyRow
    applied(const std::string &key, bool (C::*apply)(int, const std::string &), int argument)
    {
        KeyRow row(key, Applied);
        row.reported = true;
        row.applier = [apply, argument](Controller &controller, const std::string &text) {
            return (static_cast<C &>(controller).*apply)(argument, text);
        };
        return row;
    }

    // The accessor of one member of element index of an array member of C: the field of a
    // setting the controller keeps once per interface or stream. Without member, the whole
    // element (a record).
    template<typename C, typename E, std::size_t N, typename T>
    static Field<T> element(E (C::*array)[N], int index, T E::*member)
    {
        static_assert(std::is_base_of_v<Controller, C>);
        return [array, index, member](Controller &controller) -> T & {
            return (static_cast<C &>(controller).*array)[index].*member;
        };
    }
    template<typename C, typename E, std::size_t N>
    static Field<E> element(E (C::*array)[N], int index)
    {
        static_assert(std::is_base_of_v<Controller, C>);
        return [array, index](Controller &controller) -> E & {
            return (static_cast<C &>(controller).*array)[index];
        };
    }

    // Modifiers.
    [[nodiscard]] KeyRow signalled(int number) const;
    [[nodiscard]] KeyRow unknownNeverSent() const; // also starts the field at -1
    [[nodiscard]] KeyRow initially(int value) const;
    [[nodiscard]] KeyRow emptyNeverSent() const;
    [[nodiscard]] KeyRow inLatin1() const;
    [[nodiscard]] KeyRow onlyReported() const;
    [[nodiscard]] KeyRow notInReadAll() const;
    [[nodiscard]] KeyRow readFrom(quint32 firmware) const;
    [[nodiscard]] KeyRow trueWhen(const char *word) const;
    [[nodiscard]] KeyRow inConfigEvent(EventUse use) const;
    [[nodiscard]] KeyRow standsFor(quint32 capabilityBit) const;
    [[nodiscard]] KeyRow sentFrom(int lowest) const;
    [[nodiscard]] KeyRow keptWhenEmpty() const;
    [[nodiscard]] KeyRow keptOverReset() const;
    template<typename C>
    [[nodiscard]] KeyRow sentWhile(bool (C::*condition)() const) const
    {
        KeyRow row = *this;
        row.sendGate = [condition](const Controller &controller) {
            return (static_cast<const C &>(controller).*condition)();
        };
        return row;
    }
    // The condition takes argument (the interface the key belongs to).
    template<typename C>
    [[nodiscard]] KeyRow sentWhile(bool (C::*condition)(int) const, int argument) const
    {
        KeyRow row = *this;
        row.sendGate = [condition, argument](const Controller &controller) {
            return (static_cast<const C &>(controller).*condition)(argument);
        };
        return row;
    }
    template<typename C>
    [[nodiscard]] KeyRow appliedBy(bool (C::*apply)(const std::string &)) const
    {
        KeyRow row = *this;
        row.applier = [apply](Controller &controller, const std::string &text) {
            return (static_cast<C &>(controller).*apply)(text);
        };
        return row;
    }

    // The field's address in controller; nullptr for an Applied row.
    [[nodiscard]] const void *fieldIn(Controller &controller) const;
    // A value in its wire form.
    [[nodiscard]] std::string wire(bool value) const;
    [[nodiscard]] std::string wire(int value) const;
    [[nodiscard]] std::string wire(const std::string &value) const;
    // A value of a Record row's type in its wire form.
    [[nodiscard]] std::string recordWire(const void *value) const;
    // The field's current value in controller in its wire form; empty for an Applied row.
    [[nodiscard]] std::string currentWire(Controller &controller) const;
    // Whether a setter with send writes value (the field's own rules and the send gate).
    [[nodiscard]] bool sendable(const Controller &controller, int value) const;
    [[nodiscard]] bool sendable(const Controller &controller, const std::string &value) const;
    [[nodiscard]] bool sendable(const Controller &controller, bool value) const;
    // Whether a setter with send writes the key at all (the row's send gate), whatever the value.
    [[nodiscard]] bool sendable(const Controller &controller) const;
    // Whether write() may send the field's current value: a setting, not at an unknown -1.
    [[nodiscard]] bool writable(Controller &controller) const;
    // Puts the field in controller back to its value at construction.
    void resetIn(Controller &controller) const;

private:
    KeyRow(const std::string &rowKey, Kind rowKind)
        : key(&rowKey)
        , kind(rowKind)
    {}

    template<typename C, typename T>
    static Field<T> accessor(T C::*field)
    {
        static_assert(std::is_base_of_v<Controller, C>);
        return
            [field](Controller &controller) -> T & { return static_cast<C &>(controller).*field; };
    }
};

// The key table of one controller class: its rows in the order readAll() asks for them.
class KeyTable
{
public:
    KeyTable(std::initializer_list<KeyRow> rows);

    [[nodiscard]] const std::vector<KeyRow> &rows() const { return m_rows; }
    // The row of key; nullptr for a key the table does not hold.
    [[nodiscard]] const KeyRow *find(const std::string &key) const;
    // The row whose field is at field in controller; nullptr when none is.
    [[nodiscard]] const KeyRow *rowOf(KeyRow::Controller &controller, const void *field) const;
    // The keys of the rows asked for by readAll() under the current firmwareVersion, in order.
    [[nodiscard]] std::vector<std::string> readAllKeys() const;

private:
    std::vector<KeyRow> m_rows;
};

template<typename R>
bool TComKeyedController::storeRecord(R &field,
                                      const R &value,
                                      bool send,
                                      bool (R::*same)(const R &) const)
{
    const KeyRow *row = rowOfField(&field);
    if (!row)
        return false;
    if ((field.*same)(value)) {
        markKnown(*row->key);
        return true;
    }
    if (send && row->sendable(*this) && !writeKey(*row->key, row->recordWire(&value)))
        return false;
    field = value;
    noteChange(*row);
    return true;
}
