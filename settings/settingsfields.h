#pragma once

// Field tables: the editable rows of an Apply page, each over one field of a controller, listed
// in the order their keys are written. A page's change test asks whether any row differs from
// the controller (fieldsDiffer); its applier stores every differing row in the controller
// without sending (stageChangedFields) and then writes the staged keys in one request. Only
// rows that are present and not read-only take part (editableRow()).

#include "model/textconversions.h"
#include "settings/settingsrows.h"
#include "widgets/qvantelmenuitem.h"

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

// What an Apply stored without sending: the keys to write, in the order they were staged, and
// how to put each stored value back when the unit refuses them, so that the rows still differ
// afterwards and a retry sends them again. The objects staged in must outlive it.
class StagedChanges
{
public:
    // Stores value through setter without sending, records key, and remembers before for undo().
    template<typename C, typename T>
    void stage(C &target,
               bool (C::*setter)(T, bool),
               std::decay_t<T> value,
               const std::string &key,
               std::decay_t<T> before)
    {
        (target.*setter)(value, false);
        m_keys.push_back(key);
        m_undo.push_back([&target, setter, before] { (target.*setter)(before, false); });
    }

    [[nodiscard]] bool isEmpty() const { return m_keys.empty(); }
    [[nodiscard]] const std::vector<std::string> &keys() const { return m_keys; }

    // Puts every staged value back, the last staged first.
    void undo()
    {
        for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it)
            (*it)();
        m_undo.clear();
    }

private:
    std::vector<std::string> m_keys;
    std::vector<std::function<void()>> m_undo;
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
template<typename C>
struct SettingsField
{
    enum Kind { Flag, Choice, Number, Text, Custom };
    using Differs = bool (*)(const C &, const QVantelMenuItem *, FieldValue &);
    using Stage = void (*)(C &, const FieldValue &, const std::string &key, StagedChanges &);

    int row;
    Kind kind;
    const std::string *key;
    bool (C::*getFlag)() const = nullptr;
    bool (C::*setFlag)(bool, bool) = nullptr;
    int (C::*getNumber)() const = nullptr;
    bool (C::*setNumber)(int, bool) = nullptr;
    const std::string &(C::*getText)() const = nullptr;
    bool (C::*setText)(const std::string &, bool) = nullptr;
    int minimum = 0;
    int maximum = 0;
    Differs differs = nullptr;
    Stage stage = nullptr;

    static SettingsField
    flag(int row, const std::string &key, bool (C::*get)() const, bool (C::*set)(bool, bool))
    {
        SettingsField field{row, Flag, &key};
        field.getFlag = get;
        field.setFlag = set;
        return field;
    }

    static SettingsField
    choice(int row, const std::string &key, int (C::*get)() const, bool (C::*set)(int, bool))
    {
        SettingsField field{row, Choice, &key};
        field.getNumber = get;
        field.setNumber = set;
        return field;
    }

    static SettingsField number(int row,
                                const std::string &key,
                                int (C::*get)() const,
                                bool (C::*set)(int, bool),
                                int minimum,
                                int maximum)
    {
        SettingsField field = choice(row, key, get, set);
        field.kind = Number;
        field.minimum = minimum;
        field.maximum = maximum;
        return field;
    }

    static SettingsField text(int row,
                              const std::string &key,
                              const std::string &(C::*get)() const,
                              bool (C::*set)(const std::string &, bool))
    {
        SettingsField field{row, Text, &key};
        field.getText = get;
        field.setText = set;
        return field;
    }

    static SettingsField custom(int row, const std::string &key, Differs differs, Stage stage)
    {
        SettingsField field{row, Custom, &key};
        field.differs = differs;
        field.stage = stage;
        return field;
    }

    [[nodiscard]] SettingsField comparedBy(Differs function) const
    {
        SettingsField field = *this;
        field.differs = function;
        return field;
    }

    [[nodiscard]] SettingsField stagedBy(Stage function) const
    {
        SettingsField field = *this;
        field.stage = function;
        return field;
    }
};

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
        return value.on != (target.*field.getFlag)();
    case Field::Choice:
        if (!row->currentValue())
            return false;
        value.number = row->currentValue()->value;
        return value.number != (target.*field.getNumber)();
    case Field::Number:
        return !rowNumber(row, value.number) || value.number != (target.*field.getNumber)();
    case Field::Text:
        value.text = toStdString(row->valueText());
        return value.text != (target.*field.getText)();
    case Field::Custom:
        break;
    }
    return false;
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
        staged.stage(target, field.setFlag, value.on, *field.key, (target.*field.getFlag)());
        break;
    case Field::Choice:
    case Field::Number:
        staged.stage(
            target, field.setNumber, value.number, *field.key, (target.*field.getNumber)());
        break;
    case Field::Text:
        staged.stage(target, field.setText, value.text, *field.key, (target.*field.getText)());
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
