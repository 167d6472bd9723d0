#include "widgets/qvantelpagestack.h"

#include <QWidget>
#include <QWidgetItem>

QVantelPageStack::QVantelPageStack() = default;

QVantelPageStack::~QVantelPageStack()
{
    qDeleteAll(m_items);
}

int QVantelPageStack::addWidget(QWidget *page)
{
    if (!page)
        return -1;
    addChildWidget(page);
    m_items.append(new QWidgetItem(page));
    ++m_changes;
    if (geometry().isValid())
        page->setGeometry(geometry());
    page->show();
    page->raise();
    invalidate();
    emit changed();
    return currentIndex();
}

QWidget *QVantelPageStack::widget(int index) const
{
    QLayoutItem *item = itemAt(index);
    return item ? item->widget() : nullptr;
}

QWidget *QVantelPageStack::currentWidget() const
{
    return widget(currentIndex());
}

void QVantelPageStack::addItem(QLayoutItem *item)
{
    // Pages come through addWidget(); anything else has no place in the stack.
    delete item;
}

int QVantelPageStack::count() const
{
    return int(m_items.size());
}

QLayoutItem *QVantelPageStack::itemAt(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index) : nullptr;
}

QLayoutItem *QVantelPageStack::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    QLayoutItem *item = m_items.takeAt(index);
    ++m_changes;
    // The page now on top was raised above the rest when it was added; it only has to be on top
    // of the one leaving too, which may still be shown until it is deleted.
    if (index == m_items.size()) {
        if (QWidget *top = currentWidget())
            top->raise();
    }
    invalidate();
    emit changed();
    return item;
}

void QVantelPageStack::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    for (QLayoutItem *item : std::as_const(m_items))
        item->setGeometry(rect);
}

QSize QVantelPageStack::sizeHint() const
{
    QSize size(0, 0);
    for (QLayoutItem *item : m_items)
        size = size.expandedTo(item->sizeHint());
    return size;
}

QSize QVantelPageStack::minimumSize() const
{
    QSize size(0, 0);
    for (QLayoutItem *item : m_items)
        size = size.expandedTo(item->minimumSize());
    return size;
}
