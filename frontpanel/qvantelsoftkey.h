#pragma once

#include <QCoreApplication>
#include <QMap>
#include <QString>
#include <QtGlobal>

class QVantelSoftkeys;

// One of the device's seven programmable soft keys: a category (a family of functions), a
// function within it and a behaviour. A plain record held by QVantelSoftkeys, which owns all
// seven; writes to the device and change signals of a record go through that owner.
//
// The setters follow the device's rules: a category change selects the category's first
// function that this key may take on the connected device (position, hardware variant, options,
// auxiliary board and firmware decide which), and every new function starts with the category's
// default behaviour. Functions and behaviours the key cannot take are ignored.
//
// GUI thread only.
class QVantelSoftkey
{
    Q_DECLARE_TR_FUNCTIONS(QVantelSoftkey)

public:
    enum Category : qint32 {
        None = -1,
        CoughKey = 0,
        TalkToSpeaker = 1,
        TalkToOutput = 2,
        AuxToBus = 3,
        Contacts = 4,
        Info = 5,
        Shortcuts = 6,
    };

    // The number of a function within its category, from 1; 0 is no function.
    using Function = qint32;

    enum Behavior : qint32 {
        NotApplicable = 0,
        Temporary = 1,
        Toggle = 2,
        Pulse = 3,
    };

    // Number of function ids of the older one-number stored form.
    static constexpr int kLegacyFunctionCount = 63;

    QVantelSoftkey(int index, QVantelSoftkeys *owner);

    [[nodiscard]] QVantelSoftkeys *owner() const { return m_owner; }
    // Position 0 to 6; the device key is "softkey" followed by index + 1.
    [[nodiscard]] int index() const { return m_index; }
    [[nodiscard]] int category() const { return m_category; }
    [[nodiscard]] int function() const { return m_function; }
    [[nodiscard]] int behavior() const { return m_behavior; }
    // Bit f - 1 set when function f of the current category may be chosen; -1 (every function)
    // after each change of category until functionNames() computes it.
    [[nodiscard]] qint32 availableMask() const { return m_availableMask; }

    [[nodiscard]] static QString categoryName(int category);
    [[nodiscard]] static QString functionName(int category, int function);
    [[nodiscard]] static QString behaviorName(int behavior);
    // Position of a function in its category's list, -1 for an unknown pair.
    [[nodiscard]] static int functionDisplayRank(int category, int function);
    // ((rank << 8) & 0xFFFF) | function: the key of sorted function lists.
    [[nodiscard]] static int functionSortKey(int category, int function);
    // Function number within its category of an old-form function id; 0 for an id above 62.
    [[nodiscard]] static int legacyFunctionNumber(int id);

    // -1 and 0 to 6 with their names.
    [[nodiscard]] static QMap<int, QString> categoryNames();
    // The functions this key may take in category on the connected device, keyed by function
    // number, or by functionSortKey() when sorted. A category outside 0 to 6 gives {0: "None"}.
    // For categories 0 to 3 the computed mask is stored in availableMask().
    QMap<int, QString> functionNames(int category, bool sorted);
    // The behaviours a category allows.
    [[nodiscard]] static QMap<int, QString> behaviorNames(int category);
    // The category's behaviour of a newly selected function.
    [[nodiscard]] static int defaultBehavior(int category);

    // The stored form written to the device: "C" category "F" function, then "B" behaviour on
    // firmware above 1.7.3; two upper-case hexadecimal digits each.
    [[nodiscard]] std::string storedValue() const;

    // The setters return false only when the device refused or did not take the key's write;
    // the record keeps the new assignment all the same.
    //
    // Nothing for an unchanged category or one outside -1 to 6. Otherwise signals
    // softKeyCategoryChanging, clears function and behaviour, and selects the first function.
    bool setCategory(int category);
    // Nothing for an unchanged function or one this key cannot take in its category. Otherwise
    // signals softKeyFunctionChanging and selects it.
    bool setFunction(int function);
    // Nothing for an unchanged behaviour or one the category does not allow. Otherwise stores,
    // writes and signals softKeyBehaviorChanged.
    bool setBehavior(int behavior);
    // Stores function (low 8 bits) with the category's default behaviour, writes the key and
    // signals softKeyFunctionChanged.
    bool selectFunction(int function);

private:
    // The availability mask of categories 0 to 3 for this key on the connected device.
    [[nodiscard]] qint32 computeMask(int category) const;

    QVantelSoftkeys *m_owner;
    int m_index;
    int m_category = None;
    int m_function = 0;
    int m_behavior = NotApplicable;
    qint32 m_availableMask = -1;
};
