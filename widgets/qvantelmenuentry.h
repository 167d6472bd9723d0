#pragma once

#include "widgets/qvantelmenubase.h"

#include <QPointer>

class QLabel;
class QVantelMenuEntries;

// A root entry of the menu's left-hand column: an icon and a title over a plain line.
//
// The state colours the title: 0 normal (white), 1 current (accent blue), 2 disabled (grey).
// The owner column is the parent given at construction when that is a column, and becomes the
// column that adds the entry. The subclass sets the title text and the icon pixmap.
class QVantelMenuEntry : public QVantelMenuBase
{
    Q_OBJECT

public:
    enum State : int {
        Normal = 0,
        Selected = 1,
        Disabled = 2,
    };

    QVantelMenuEntry(int id, QWidget *parent = nullptr);
    ~QVantelMenuEntry() override;

    QLabel *titleLabel() const { return m_title; }
    QLabel *iconLabel() const { return m_icon; }

    int state() const { return m_state; }
    void setState(int state);

    QVantelMenuEntries *owner() const;
    void setOwner(QVantelMenuEntries *owner);

private:
    QLabel *m_title = nullptr;
    int m_state = Normal;
    QPointer<QVantelMenuEntries> m_owner;
    QLabel *m_icon = nullptr;

    Q_DISABLE_COPY_MOVE(QVantelMenuEntry)
};
