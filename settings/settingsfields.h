#pragma once

// Field tables: the editable rows of an Apply page, each over one field of a controller, listed
// in the order their keys are written. A page's change test asks whether any row differs from
// the controller (fieldsDiffer); its applier stores every differing row in the controller
// without sending (stageChangedFields) and then writes the staged keys in one request
// (writeStaged). Only rows that are present and not read-only take part (editableRow()).
//
// The rows are the operator's and the controller is the page's picture of the unit: a page that
// follows the unit's news shows it on the rows the operator has not changed (changedRows()), and
// what an Apply staged stays the operator's until the unit answered the write (StagedChanges).

#include "model/comkeyedcontroller.h"
#include "model/textconversions.h"
#include "settings/settingsrows.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

class QVantelMenuWidget;
class TComController;

// What an Apply stored without sending: the keys to write, in the order they were staged, and
// how to put each stored value back when the unit refuses them, so that the rows still differ
// afterwards and a retry sends them again. The objects staged in must outlive it.
//
// A value staged in a keyed controller is the operator's until the unit has answered the write:
// its key is held there (TComKeyedController::holdKey()), so that news of the unit handled in
// the meantime (an event handled while the write is under way) neither changes what is written
// nor what the page shows. The holds end with undo() (the news is applied after the values put
// back), with written() or with the object (the news came before the write and is dropped).
// written() also tells each controller that the unit took the keys staged in it, so that news
// handled later but received before the write's answer (an event that waited for the Apply to
// end) is dropped too (TComKeyedController::noteTaken()).
class StagedChanges
{
public:
    StagedChanges() = default;
    ~StagedChanges() { release(false); }
    StagedChanges(const StagedChanges &) = delete;
    StagedChanges &operator=(const StagedChanges &) = delete;
    StagedChanges(StagedChanges &&) = delete;
    StagedChanges &operator=(StagedChanges &&) = delete;

    // Stores value through setter (a member function of C, or a function taking the target
    // first) without sending, records key, and remembers before for undo().
    template<typename C, typename Setter, typename T>
    void stage(C &target, Setter setter, const T &value, const std::string &key, const T &before)
    {
        std::invoke(setter, target, value, false);
        m_keys.push_back(key);
        m_undo.push_back([&target, setter, before] { std::invoke(setter, target, before, false); });
        if constexpr (std::is_base_of_v<TComKeyedController, C>) {
            target.holdKey(key);
            m_heldKeys.emplace_back(&target, key);
            if (std::find(m_held.begin(), m_held.end(), &target) == m_held.end())
                m_held.push_back(&target);
        }
    }

    [[nodiscard]] bool isEmpty() const { return m_keys.empty(); }
    [[nodiscard]] const std::vector<std::string> &keys() const { return m_keys; }

    // Puts every staged value back, the last staged first, then what the unit reported of them
    // meanwhile.
    void undo()
    {
        for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it)
            (*it)();
        m_undo.clear();
        release(true);
    }

    // The unit took the write, answered by the last synchronous call: the values staged are its
    // own now, newer than any news of them that came before that answer.
    void written()
    {
        for (const auto &[target, key] : m_heldKeys)
            target->noteTaken(key);
        release(false);
    }

private:
    void release(bool unitKept)
    {
        for (TComKeyedController *target : m_held)
            target->releaseHeld(unitKept);
        m_held.clear();
        m_heldKeys.clear();
    }

    std::vector<std::string> m_keys;
    std::vector<std::function<void()>> m_undo;
    std::vector<TComKeyedController *> m_held;
    std::vector<std::pair<TComKeyedController *, std::string>> m_heldKeys;
};

// A row's value in the form its field compares and stages.
struct FieldValue
{
    bool on = false;
    int number = 0;
    std::string text;
};

// A number row's text read as a base-10 integer; false when it is none.
[[nodiscard]] inline bool rowNumber(const QVantelMenuItem *row, int &value)
{
    bool ok = false;
    value = row->valueText().toInt(&ok, 10);
    return ok;
}

// One editable row over a field of a controller C, by the kind of row:
// - Flag: a switch;
// - Choice: the current entry of a choice row; a row with no current entry is no change, so
//   that a value the list lacks is never written over;
// - Number: a typed integer within [minimum, maximum]; a text that is no number counts as a
//   change, so that Apply runs and refuses it (numbersInRange()) instead of dropping the edit;
// - Text: the shown text in the unit's 8-bit form.
// A row these do not describe names its own comparison (comparedBy), which fills the value to
// stage, and where needed its own staging (stagedBy); a Custom row names both.
//
// Getters and setters are member functions of C, or functions taking the target first: at()
// binds those of a setting C keeps once per interface or stream to one of them.
template<typename C>
struct SettingsField
{
    enum Kind { Flag, Choice, Number, Text, Custom };
    using Differs = std::function<bool(const C &, const QVantelMenuItem *, FieldValue &)>;
    using Stage
        = std::function<void(C &, const FieldValue &, const std::string &key, StagedChanges &)>;

    int row;
    Kind kind;
    const std::string *key;
    std::function<bool(const C &)> getFlag = nullptr;
    std::function<bool(C &, bool, bool)> setFlag = nullptr;
    std::function<int(const C &)> getNumber = nullptr;
    std::function<bool(C &, int, bool)> setNumber = nullptr;
    std::function<std::string(const C &)> getText = nullptr;
    std::function<bool(C &, const std::string &, bool)> setText = nullptr;
    int minimum = 0;
    int maximum = 0;
    // Number and Text: the row is compared as it shows the field, so that a row still showing
    // the unit's own value is no change even where it is no value the row would take (a port out
    // of range); a Number row showing anything else is a change unless it reads as the same
    // number within range.
    bool asShown = false;
    // Text: an empty row is no change, so that an emptied row never clears the unit's value.
    bool emptyUnchanged = false;
    Differs differs = nullptr;
    Stage stage = nullptr;

    static SettingsField flag(int row,
                              const std::string &key,
                              std::function<bool(const C &)> get,
                              std::function<bool(C &, bool, bool)> set)
    {
        SettingsField field{row, Flag, &key};
        field.getFlag = std::move(get);
        field.setFlag = std::move(set);
        return field;
    }

    static SettingsField choice(int row,
                                const std::string &key,
                                std::function<int(const C &)> get,
                                std::function<bool(C &, int, bool)> set)
    {
        SettingsField field{row, Choice, &key};
        field.getNumber = std::move(get);
        field.setNumber = std::move(set);
        return field;
    }

    static SettingsField number(int row,
                                const std::string &key,
                                std::function<int(const C &)> get,
                                std::function<bool(C &, int, bool)> set,
                                int minimum,
                                int maximum)
    {
        SettingsField field = choice(row, key, std::move(get), std::move(set));
        field.kind = Number;
        field.minimum = minimum;
        field.maximum = maximum;
        return field;
    }

    static SettingsField text(int row,
                              const std::string &key,
                              std::function<std::string(const C &)> get,
                              std::function<bool(C &, const std::string &, bool)> set)
    {
        SettingsField field{row, Text, &key};
        field.getText = std::move(get);
        field.setText = std::move(set);
        return field;
    }

    static SettingsField custom(int row, const std::string &key, Differs differs, Stage stage)
    {
        SettingsField field{row, Custom, &key};
        field.differs = std::move(differs);
        field.stage = std::move(stage);
        return field;
    }

    [[nodiscard]] SettingsField comparedBy(Differs function) const
    {
        SettingsField field = *this;
        field.differs = std::move(function);
        return field;
    }

    [[nodiscard]] SettingsField stagedBy(Stage function) const
    {
        SettingsField field = *this;
        field.stage = std::move(function);
        return field;
    }

    [[nodiscard]] SettingsField comparedAsShown() const
    {
        SettingsField field = *this;
        field.asShown = true;
        return field;
    }

    [[nodiscard]] SettingsField unchangedWhenEmpty() const
    {
        SettingsField field = *this;
        field.emptyUnchanged = true;
        return field;
    }
};

// A getter or setter of a setting C keeps once per interface or stream, bound to one of them
// (index): the member function takes it as its first argument.
template<typename C, typename R>
auto at(R (C::*get)(int) const, int index)
{
    return [get, index](const C &target) { return (target.*get)(index); };
}
template<typename C, typename... A>
auto at(bool (C::*set)(int, A...), int index)
{
    return [set, index](C &target, A... values) { return (target.*set)(index, values...); };
}
// The getter of one member of the record C keeps for index, as get(index) returns it.
template<typename C, typename R, typename T>
auto at(const R &(C::*get)(int) const, int index, T R::*member)
{
    return [get, index, member](const C &target) { return (target.*get)(index).*member; };
}

template<typename C>
using SettingsFields = std::vector<SettingsField<C>>;

// Whether row differs from field's value in target; value receives what the row shows.
template<typename C>
[[nodiscard]] bool fieldDiffers(const C &target,
                                const SettingsField<C> &field,
                                const QVantelMenuItem *row,
                                FieldValue &value)
{
    using Field = SettingsField<C>;
    if (field.differs)
        return field.differs(target, row, value);
    switch (field.kind) {
    case Field::Flag:
        value.on = row->isChecked();
        return value.on != field.getFlag(target);
    case Field::Choice:
        if (!row->currentValue())
            return false;
        value.number = row->currentValue()->value;
        return value.number != field.getNumber(target);
    case Field::Number: {
        const int current = field.getNumber(target);
        if (!field.asShown)
            return !rowNumber(row, value.number) || value.number != current;
        if (row->valueText() == QString::number(current))
            return false;
        return !rowNumber(row, value.number) || value.number < field.minimum
               || value.number > field.maximum || value.number != current;
    }
    case Field::Text:
        value.text = toStdString(row->valueText());
        if (field.emptyUnchanged && row->valueText().isEmpty())
            return false;
        if (field.asShown)
            return row->valueText() != toQString(field.getText(target));
        return value.text != field.getText(target);
    case Field::Custom:
        break;
    }
    return false;
}

// Shows field's value in target on row: a switch set, a choice's entry made current (shown, kept
// when the list lacks it), a number or a text written. A Custom row shows nothing.
template<typename C>
void showField(QVantelMenuItem *row, const SettingsField<C> &field, const C &target)
{
    using Field = SettingsField<C>;
    switch (field.kind) {
    case Field::Flag:
        row->setChecked(field.getFlag(target));
        break;
    case Field::Choice:
        row->selectValue(field.getNumber(target), true, false);
        break;
    case Field::Number:
        row->setValueText(QString::number(field.getNumber(target)));
        break;
    case Field::Text:
        row->setValueText(toQString(field.getText(target)));
        break;
    case Field::Custom:
        break;
    }
}

// Stores value in field of target without sending, in staged.
template<typename C>
void stageField(C &target,
                const SettingsField<C> &field,
                const FieldValue &value,
                StagedChanges &staged)
{
    using Field = SettingsField<C>;
    if (field.stage) {
        field.stage(target, value, *field.key, staged);
        return;
    }
    switch (field.kind) {
    case Field::Flag:
        staged.stage(target, field.setFlag, value.on, *field.key, field.getFlag(target));
        break;
    case Field::Choice:
    case Field::Number:
        staged.stage(target, field.setNumber, value.number, *field.key, field.getNumber(target));
        break;
    case Field::Text:
        staged.stage(target, field.setText, value.text, *field.key, field.getText(target));
        break;
    case Field::Custom:
        break;
    }
}

// Whether an editable row of page differs from its field in target.
template<typename C>
[[nodiscard]] bool
fieldsDiffer(const QVantelMenuItems *page, const C &target, const SettingsFields<C> &fields)
{
    FieldValue value;
    for (const SettingsField<C> &field : fields) {
        const QVantelMenuItem *row = editableRow(page, field.row);
        if (row && fieldDiffers(target, field, row, value))
            return true;
    }
    return false;
}

// The ids of the editable rows of page that differ from their fields in target: the operator's
// edits not yet applied. A page that follows the unit's news takes them before its edit copy
// takes the news, and leaves them as they are when it shows the copy again, so that an edit is
// never replaced behind the operator's back.
template<typename C>
[[nodiscard]] std::set<int>
changedRows(const QVantelMenuItems *page, const C &target, const SettingsFields<C> &fields)
{
    std::set<int> rows;
    FieldValue value;
    for (const SettingsField<C> &field : fields) {
        const QVantelMenuItem *row = editableRow(page, field.row);
        if (row && fieldDiffers(target, field, row, value))
            rows.insert(field.row);
    }
    return rows;
}

// Stages every editable row of page that differs from its field in target, in table order.
template<typename C>
void stageChangedFields(const QVantelMenuItems *page,
                        C &target,
                        const SettingsFields<C> &fields,
                        StagedChanges &staged)
{
    for (const SettingsField<C> &field : fields) {
        const QVantelMenuItem *row = editableRow(page, field.row);
        FieldValue value;
        if (row && fieldDiffers(target, field, row, value))
            stageField(target, field, value, staged);
    }
}

// Whether every editable Number row of page holds an integer within its field's range.
template<typename C>
[[nodiscard]] bool numbersInRange(const QVantelMenuItems *page, const SettingsFields<C> &fields)
{
    for (const SettingsField<C> &field : fields) {
        const QVantelMenuItem *row = editableRow(page, field.row);
        int value = 0;
        if (field.kind == SettingsField<C>::Number && row
            && (!rowNumber(row, value) || value < field.minimum || value > field.maximum)) {
            return false;
        }
    }
    return true;
}

// Whether every editable Number row of page that differs from its field in target holds an
// integer within its field's range: rows the user left as they were are not judged.
template<typename C>
[[nodiscard]] bool changedNumbersInRange(const QVantelMenuItems *page,
                                         const C &target,
                                         const SettingsFields<C> &fields)
{
    for (const SettingsField<C> &field : fields) {
        const QVantelMenuItem *row = editableRow(page, field.row);
        FieldValue value;
        if (field.kind == SettingsField<C>::Number && row && fieldDiffers(target, field, row, value)
            && (!rowNumber(row, value.number) || value.number < field.minimum
                || value.number > field.maximum)) {
            return false;
        }
    }
    return true;
}

// Shows every row of page over a field whose key known has not had from the unit (its read
// lacked it, or failed) as unread (showUnread()): locked, showing no default nor a value of an
// earlier read as the unit's, so that it is neither compared nor written. A page that locks and
// unlocks rows later keeps such a row locked until its key is read.
template<typename C>
void showUnreadFields(QVantelMenuItems *page,
                      const TComKeyedController &known,
                      const SettingsFields<C> &fields)
{
    for (const SettingsField<C> &field : fields) {
        if (!known.isKnown(*field.key))
            showUnread(page->findItem(field.row));
    }
}

// Writes what was staged: nothing staged is a success without a message; otherwise "Applying
// changes..." and one write of target. A refusal puts the staged values back and says so.
bool writeStaged(QVantelMenuWidget *menu, TComController &target, StagedChanges &staged);
