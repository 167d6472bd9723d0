#pragma once

#include "widgets/qvantelmenubase.h"

#include <QColor>
#include <QList>
#include <QMargins>
#include <QPointer>
#include <QString>

class QLabel;
class QShowEvent;
class QVantelMenuItems;
class QVantelSwitch;
class QVantelWheel;

// One typed row of a settings page: a title, a value text and, by kind, a switch, a value wheel
// or an icon, plus an ordered value list of {value, text} entries with a current index.
//
// The owner page is the parent given at construction (a QVantelMenuItems); only that page adds
// the row. A tap on the row's labels is handled by the page (keyboard, choice popup or the menu
// widget's itemClicked hook). Committed changes made on the row's own switch or wheel are
// reported to the owner page's menu widget through its itemCommitted hook: a switch click at
// once, a kind 10 wheel on every step and on release, a kind 9 wheel on release when its index
// changed. Read-only rows ignore taps, disable (and so dim) their switch and icon, and make their
// wheel not checkable.
class QVantelMenuItem : public QVantelMenuBase
{
    Q_OBJECT

public:
    enum Kind : int {
        Caption = 0,
        ReadOnlyValue = 1,
        Switch = 2,
        TextEntry = 3,
        MaskedEntry = 4,
        NumericEntry = 5,
        NumericMaskedEntry = 6,
        Choice = 7,
        Navigation = 8,
        WheelOnRelease = 9,
        WheelOnStep = 10,
        Action = 11,
    };

    struct Value
    {
        int value;
        QString text;
    };

    // What a row shows, for a row that its page makes only once it is seen
    // (QVantelMenuItems::addDeferredItem).
    struct Spec
    {
        int id;
        int data;
        int kind;
        QString title;
        QString value; // null: no value text is set
        QMargins margins;
        bool readOnly;
    };

    QVantelMenuItem(int id, int kind, QWidget *parent = nullptr);
    QVantelMenuItem(int id, int data, int kind, QWidget *parent);
    // A row of page made from spec, as a child of parent.
    QVantelMenuItem(const Spec &spec, QVantelMenuItems *page, QWidget *parent);
    ~QVantelMenuItem() override;

    int kind() const { return m_kind; }
    int data() const { return m_data; }
    bool isReadOnly() const { return m_readOnly; }
    int currentIndex() const { return m_currentIndex; }
    QVantelMenuItems *page() const;

    QLabel *titleLabel() const { return m_title; }
    // A QPwdLabel for kinds 4 and 6; null for kind 0.
    QLabel *valueLabel() const { return m_valueLabel; }
    QLabel *iconLabel() const { return m_icon; }
    QVantelSwitch *switchButton() const { return m_switch; }
    QVantelWheel *wheel() const { return m_wheel; }

    QString titleText() const;
    // The shown value text; empty without a value label.
    QString valueText() const;
    // The switch's state; false without a switch.
    bool isChecked() const;

    const QList<Value> &values() const { return m_values; }
    // The current entry, or null when none is current.
    const Value *currentValue() const;

    void addValue(int value, const QString &text);
    void clearValues();
    int findValue(int value, bool noFallback) const;
    int findText(const QString &text, bool noFallback) const;
    int selectValue(int value, bool showText, bool clearWhenAbsent);
    int selectText(const QString &text, bool showText, bool clearWhenAbsent);

    void setValueText(const QString &text, bool clearWhenAbsent = false);
    void setValueText(const QString &text, const QColor &color, bool clearWhenAbsent = false);
    void setValueText(const QString &text, Qt::GlobalColor color, bool clearWhenAbsent = false);

    void setChecked(bool on);
    void setReadOnly(bool on);
    void setReadOnly(bool on, const QColor &color);

    void updateControl();
    void updateSwitchText();

public slots:
    void switchClicked();
    void wheelChanged(int index);
    void wheelToggled(bool checked);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build(int kind);
    void selectIndex(int index, bool showText);
    // Selects a found index; -1 (nothing found, or no values) clears the selection.
    int selectFound(int index, bool showText);
    void setValueColor(const QColor &color);
    void commit();

    QLabel *m_title = nullptr;
    QPointer<QVantelMenuItems> m_page;
    int m_kind;
    bool m_readOnly = false;
    int m_data;
    int m_currentIndex = -1;
    QLabel *m_valueLabel = nullptr;
    QLabel *m_icon = nullptr;
    QVantelSwitch *m_switch = nullptr;
    QVantelWheel *m_wheel = nullptr;
    QList<Value> m_values;

    Q_DISABLE_COPY_MOVE(QVantelMenuItem)
};
