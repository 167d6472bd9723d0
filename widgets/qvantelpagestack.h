#pragma once

#include <QLayout>
#include <QList>

// The stack of a menu's item pages: every page takes the whole area the layout is given, and
// the page on top, the one added last that is still in the stack, is the current one.
//
// Unlike a QStackedLayout, the pages under the top one stay shown beneath it (an opaque top page
// keeps them out of sight and out of painting). Opening a page over a long list, or going back
// to it, then never hides or shows each of its rows again, and the stack never has all the rows
// of the shown page repainted one by one. A page taken out of the stack is not hidden by the
// layout (it may be on its way to deletion): the caller hides it. Holds widgets only.
class QVantelPageStack : public QLayout
{
    Q_OBJECT

public:
    QVantelPageStack();
    ~QVantelPageStack() override;
    Q_DISABLE_COPY_MOVE(QVantelPageStack)

    // Puts page on top, shown; returns its index.
    int addWidget(QWidget *page);
    using QLayout::widget;
    // The page at index, null outside the stack.
    QWidget *widget(int index) const;
    // The page on top; null when the stack is empty.
    QWidget *currentWidget() const;
    int currentIndex() const { return int(m_items.size()) - 1; }
    // How many times a page was put on or taken off the stack so far.
    int changes() const { return m_changes; }

    void addItem(QLayoutItem *item) override;
    int count() const override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    void setGeometry(const QRect &rect) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;

signals:
    // A page was put on or taken off the stack (changes() has grown).
    void changed();

private:
    QList<QLayoutItem *> m_items;
    int m_changes = 0;
};
