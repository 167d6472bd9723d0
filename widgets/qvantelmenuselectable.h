#pragma once

#include <QPointer>
#include <QWidget>

class QGridLayout;
class QLabel;
class QVantelMenuSelect;
class QVantelSwitch;

// One row of a choice popup: a switch and a label over a plain line. Created without a parent;
// the popup that adds it becomes its owner and its Qt parent. Clicking its switch makes it the
// owner's current row.
class QVantelMenuSelectable : public QWidget
{
    Q_OBJECT

public:
    explicit QVantelMenuSelectable(int id, QWidget *parent = nullptr);
    ~QVantelMenuSelectable() override;

    int id() const { return m_id; }
    QVantelMenuSelect *owner() const;
    void setOwner(QVantelMenuSelect *owner);
    QLabel *label() const { return m_label; }
    QVantelSwitch *switchButton() const { return m_switch; }

public slots:
    void switchClicked();

private:
    int m_id;
    QPointer<QVantelMenuSelect> m_owner;
    QGridLayout *m_grid = nullptr;
    QLabel *m_label = nullptr;
    QVantelSwitch *m_switch = nullptr;

    Q_DISABLE_COPY_MOVE(QVantelMenuSelectable)
};
