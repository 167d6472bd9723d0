#pragma once

#include "widgets/qvantelslidewidget.h"

#include <QPointer>

class QVantelMenuEntry;
class QVantelMenuWidget;

// The drag-scrolled column of root entries on the left of a menu widget. It marks one entry as
// current (state 1). A tap on an entry other than the current one that is not disabled runs the
// menu widget's entryClicked hook.
class QVantelMenuEntries : public QVantelSlideWidget
{
    Q_OBJECT

public:
    explicit QVantelMenuEntries(QVantelMenuWidget *parent);
    ~QVantelMenuEntries() override;

    QVantelMenuWidget *menuWidget() const;
    QVantelMenuEntry *currentEntry() const;

    // Appends the entry unless another column owns it; this column becomes its owner.
    void addEntry(QVantelMenuEntry *entry);
    void setCurrentEntry(QVantelMenuEntry *entry);
    QVantelMenuEntry *findEntry(int id) const;

    void childClicked(QWidget *child) override;

private:
    QPointer<QVantelMenuWidget> m_menu;
    QPointer<QVantelMenuEntry> m_current;

    Q_DISABLE_COPY_MOVE(QVantelMenuEntries)
};
