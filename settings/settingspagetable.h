#pragma once

#include <vector>

class QVantelMenuItem;
class QVantelMenuItems;
class QVantelMenuSelect;
class QVantelSettingsPage;
class QVantelVirtual;
class TComAudioConnection;
namespace ksm {
class CMsg;
}

// What the unit or the model told the settings page, handed to the page shown.
struct SettingsNotice
{
    enum Kind {
        // A configuration event with a non-empty event type (message).
        Configuration,
        // An audio change set (message).
        AudioChangeset,
        // An audio controller parameter changed (parameter, a TAudioSettings::CtlrParam).
        AudioParameter,
        // The Ethernet edit copy took a new configuration.
        EthernetConfiguration,
        // A call's status or its statistics changed (connection, never null).
        CallStatus,
        CallStatistics,
    };

    Kind kind;
    const ksm::CMsg *message = nullptr;
    TComAudioConnection *connection = nullptr;
    int parameter = 0;
};

// What an applier did. Left: the unit took it and the applier left the page itself, so the
// menu's own Apply step is not run on the page that is shown now.
enum class SettingsApplied { Refused, Done, Left };

// Most appliers only say whether the unit took it all; they never leave the page.
[[nodiscard]] inline SettingsApplied settingsAppliedIf(bool accepted)
{
    return accepted ? SettingsApplied::Done : SettingsApplied::Refused;
}

// One page, or a range of pages that share their handlers, of the settings menu, as its section
// declares it. The core's hooks look the page up here and run what the row names; a hook the row
// leaves empty does nothing for that page. Rows are built once, with the setters below, by the
// sections' table functions, whose lambdas may use the page's private functions.
//
// A row may be limited to one data value: the look-up of a page prefers the row made for its
// data over a row for any data.
struct SettingsPageRow
{
    using Page = QVantelSettingsPage;
    using Items = QVantelMenuItems;
    using Item = QVantelMenuItem;

    static constexpr int kAnyData = -1;

    int first = -1;
    int last = -1;
    int data = kAnyData;

    // The root entry's page (root pages only).
    void (*enter)(Page &) = nullptr;
    // The row the entry's target taps once the root page is open; -1 for none.
    int (*entryRow)(int target) = nullptr;
    // Builds the page a tap on the navigation row of this id opens (and puts it on the stack);
    // a tap on a row of another kind that carries the id opens nothing.
    void (*open)(Page &, int rowId) = nullptr;
    // The page is shown again after the page above it (leftId, with leftData) was left.
    void (*returned)(Page &, Items *, int leftId, int leftData) = nullptr;
    void (*refresh)(Page &, Items *) = nullptr;
    // True when a call on the page's network or link refuses Apply.
    bool (*applyRefused)(Page &, int pageId) = nullptr;
    bool (*hasChanges)(Page &, Items *) = nullptr;
    SettingsApplied (*apply)(Page &, Items *) = nullptr;
    // Runs after an accepted Apply, before the menu's own Apply step.
    void (*afterApply)(Page &, Items *) = nullptr;
    // A row committed; the core runs the change test afterwards.
    void (*commit)(Page &, Items *, Item *) = nullptr;
    // A row tapped that opens no page.
    void (*tap)(Page &, Items *, Item *) = nullptr;
    void (*prepareKeyboard)(Page &, Item *, QVantelVirtual *) = nullptr;
    void (*keyboard)(Page &, Items *, Item *, QVantelVirtual *) = nullptr;
    void (*choice)(Page &, Items *, Item *, QVantelMenuSelect *) = nullptr;
    void (*notice)(Page &, Items *, const SettingsNotice &) = nullptr;

    explicit SettingsPageRow(int id)
        : first(id)
        , last(id)
    {}
    SettingsPageRow(int firstId, int lastId)
        : first(firstId)
        , last(lastId)
    {}

    [[nodiscard]] bool holds(int id) const { return id >= first && id <= last; }

    SettingsPageRow &forData(int value) { return data = value, *this; }
    SettingsPageRow &entered(void (*f)(Page &)) { return enter = f, *this; }
    SettingsPageRow &entryRows(int (*f)(int)) { return entryRow = f, *this; }
    SettingsPageRow &opens(void (*f)(Page &, int)) { return open = f, *this; }
    SettingsPageRow &onReturn(void (*f)(Page &, Items *, int, int)) { return returned = f, *this; }
    SettingsPageRow &refreshes(void (*f)(Page &, Items *)) { return refresh = f, *this; }
    SettingsPageRow &refusesApply(bool (*f)(Page &, int)) { return applyRefused = f, *this; }
    SettingsPageRow &changes(bool (*f)(Page &, Items *)) { return hasChanges = f, *this; }
    SettingsPageRow &applies(SettingsApplied (*f)(Page &, Items *)) { return apply = f, *this; }
    SettingsPageRow &afterApplying(void (*f)(Page &, Items *)) { return afterApply = f, *this; }
    SettingsPageRow &commits(void (*f)(Page &, Items *, Item *)) { return commit = f, *this; }
    SettingsPageRow &taps(void (*f)(Page &, Items *, Item *)) { return tap = f, *this; }
    SettingsPageRow &preparesKeyboard(void (*f)(Page &, Item *, QVantelVirtual *))
    {
        return prepareKeyboard = f, *this;
    }
    SettingsPageRow &keyboards(void (*f)(Page &, Items *, Item *, QVantelVirtual *))
    {
        return keyboard = f, *this;
    }
    SettingsPageRow &chooses(void (*f)(Page &, Items *, Item *, QVantelMenuSelect *))
    {
        return choice = f, *this;
    }
    SettingsPageRow &notices(void (*f)(Page &, Items *, const SettingsNotice &))
    {
        return notice = f, *this;
    }
};

using SettingsPageTable = std::vector<SettingsPageRow>;
