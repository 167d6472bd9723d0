#pragma once

#include "widgets/qvantelpopup.h"
#include "widgets/qvantelslidewidget.h"

#include <QPointer>

class QLabel;
class QShowEvent;
class QVantelButton;
class QVantelMenuItem;
class QVantelMenuSelectable;

// The choice popup: an optional title, a drag-scrolled list of rows (a switch and a label each)
// of which at most one is marked, and the buttons "Cancel" and "OK".
//
// A tap on a row's label or switch marks it; the marked row's switch is disabled, so a marked
// popup never returns to no mark. "OK" with a marked row clears the cancelled flag and closes;
// "OK" without one, "Cancel" and any other close leave the flag set. In its popupClosed() slot
// the owner reads the cancelled flag, the item and currentSelectable(); the rows go with the
// popup when it deletes itself.
class QVantelMenuSelect : public QVantelPopup
{
    Q_OBJECT

public:
    // The list of the popup; a tap on a row's label marks that row.
    class QMyVantelSlideWidget : public QVantelSlideWidget
    {
    public:
        explicit QMyVantelSlideWidget(QWidget *parent = nullptr);
        ~QMyVantelSlideWidget() override;
        void childClicked(QWidget *child) override;
    };

    explicit QVantelMenuSelect(QWidget *parent = nullptr);
    ~QVantelMenuSelect() override;

    void setTitle(const QString &text);
    // Appends a row that has no owner yet; the popup becomes its owner.
    void addSelectable(QVantelMenuSelectable *row);
    // Appends one row per value-list entry of the item, in list order (the entry's value as the
    // row's id, its text as the label), and marks the row of the item's current entry. A long
    // list makes its rows only as they come near the view; findSelectable() makes the one it
    // finds.
    void addItemValues(const QVantelMenuItem *item);
    void setCurrentSelectable(QVantelMenuSelectable *row);
    QVantelMenuSelectable *currentSelectable() const;
    QVantelMenuSelectable *findSelectable(int id) const;

    QMyVantelSlideWidget *list() const { return m_list; }
    QLabel *titleLabel() const { return m_title; }
    QVantelButton *cancelButton() const { return m_cancel; }
    QVantelButton *okButton() const { return m_ok; }

public slots:
    void okClicked();
    void cancelClicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QMyVantelSlideWidget *m_list = nullptr;
    QLabel *m_title = nullptr;
    QVantelButton *m_cancel = nullptr;
    QVantelButton *m_ok = nullptr;
    QPointer<QVantelMenuSelectable> m_current;

    Q_DISABLE_COPY_MOVE(QVantelMenuSelect)
};
