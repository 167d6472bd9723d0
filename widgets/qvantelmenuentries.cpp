#include "widgets/qvantelmenuentries.h"

#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuwidget.h"

#include <QVBoxLayout>

QVantelMenuEntries::QVantelMenuEntries(QVantelMenuWidget *parent)
    : QVantelSlideWidget(parent)
    , m_menu(parent)
{}

QVantelMenuEntries::~QVantelMenuEntries() = default;

QVantelMenuWidget *QVantelMenuEntries::menuWidget() const
{
    return m_menu;
}

void QVantelMenuEntries::addEntry(QVantelMenuEntry *entry)
{
    if (!entry)
        return;
    if (entry->owner() && entry->owner() != this)
        return;
    column()->addWidget(entry);
    entry->setOwner(this);
}

void QVantelMenuEntries::setCurrentEntry(QVantelMenuEntry *entry)
{
    if (entry == m_current)
        return;
    if (m_current)
        m_current->setState(QVantelMenuEntry::Normal);
    if (entry && entry->owner() == this && entry->state() != QVantelMenuEntry::Disabled) {
        m_current = entry;
        entry->setState(QVantelMenuEntry::Selected);
    }
}

QVantelMenuEntry *QVantelMenuEntries::findEntry(int id) const
{
    for (int i = 0; i < column()->count(); ++i) {
        auto *entry = qobject_cast<QVantelMenuEntry *>(column()->itemAt(i)->widget());
        if (entry && entry->id() == id)
            return entry;
    }
    return nullptr;
}

void QVantelMenuEntries::childClicked(QWidget *child)
{
    if (!m_menu || !child)
        return;
    auto *entry = qobject_cast<QVantelMenuEntry *>(child->parentWidget());
    if (!entry || entry->id() == m_menu->currentEntry
        || entry->state() == QVantelMenuEntry::Disabled)
        return;
    m_menu->entryClicked(entry);
}

QVantelMenuEntry *QVantelMenuEntries::currentEntry() const
{
    return m_current;
}
