#pragma once

#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelslidewidget.h"

#include <QList>
#include <QPointer>

#include <functional>

class QVantelMenuSelect;
class QVantelMenuWidget;
class QVantelVirtual;

// One page of menu rows, stacked top-down in a drag-scrolled column.
//
// A tap on a row's labels starts the row's edit flow: an on-screen keyboard (kinds 3 to 6, mode 1
// for 3 and 4, mode 0 for 5 and 6, password echo for 4 and 6), a choice popup over the value list
// (kind 7), or the owner menu widget's itemClicked hook (every other kind). Read-only rows ignore
// taps. The popups are children of the page and application-modal; when one closes with OK and a
// changed value, the page writes the value into the row and calls the menu widget's itemCommitted
// hook. The page is owned by the menu widget's page stack once pushed.
//
// A page remembers how far its menu's page stack had changed when it was made (builtAt()), so
// that the menu shows it only over the page it was built for (QVantelMenuWidget::pushPage()).
class QVantelMenuItems : public QVantelSlideWidget
{
    Q_OBJECT

public:
    QVantelMenuItems(int id, QVantelMenuWidget *parent);
    QVantelMenuItems(int id, int data, QVantelMenuWidget *parent);
    ~QVantelMenuItems() override;

    int id() const { return m_id; }
    int data() const { return m_data; }
    QVantelMenuWidget *menuWidget() const;
    // The menu's QVantelPageStack::changes() when the page was made; -1 without a menu.
    int builtAt() const { return m_builtAt; }

    // Appends a row whose owner page is this page; other rows are ignored.
    void addItem(QVantelMenuItem *item);
    // Appends a row that is made only once it comes near the view, or once findItem() or
    // items() hand it out; a long list costs little more than the rows that are seen.
    void addDeferredItem(const QVantelMenuItem::Spec &spec);
    // Takes a row of this page out of the column; the row is not deleted.
    void removeItem(QVantelMenuItem *item);
    // Rows added with addDeferredItem() are made when found or listed here.
    QVantelMenuItem *findItem(int id) const;
    QVantelMenuItem *findItem(int id, int data) const;
    // Every row, in column order. It makes and keeps every deferred row of the page, so a long
    // list costs all its rows once it is called: the program never calls it (tests do); reach a
    // single row with findItem().
    QList<QVantelMenuItem *> items() const;

    // Reports a committed row to the menu widget's itemCommitted hook.
    void commitItem(QVantelMenuItem *item);

    void childClicked(QWidget *child) override;

private:
    // Writes what the user accepted in a popup back into its row, when the row still lives.
    void editionClosed(QVantelVirtual *keyboard);
    void selectionClosed(QVantelMenuSelect *select);
    QVantelMenuItem *liveItem(void *item) const;
    // The first row, in column order, whose id and data match.
    QVantelMenuItem *findItem(const std::function<bool(int, int)> &match) const;

    int m_id;
    int m_data;
    QPointer<QVantelMenuWidget> m_menu;
    int m_builtAt = -1;

    Q_DISABLE_COPY_MOVE(QVantelMenuItems)
};
