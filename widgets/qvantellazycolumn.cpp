#include "widgets/qvantellazycolumn.h"

#include <QLayout>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

QVantelLazyColumn::QVantelLazyColumn(QScrollArea *area, QWidget *parent)
    : QWidget(parent)
    , m_area(area)
{
    if (area) {
        QScrollBar *bar = area->verticalScrollBar();
        connect(bar, &QScrollBar::valueChanged, this, &QVantelLazyColumn::updateShown);
        connect(bar, &QScrollBar::rangeChanged, this, &QVantelLazyColumn::updateShown);
    }
}

QVantelLazyColumn::~QVantelLazyColumn() = default;

void QVantelLazyColumn::appendEntries(int count)
{
    if (count <= 0)
        return;
    m_entries.resize(m_entries.size() + count);
    m_topsValid = false;
    updateGeometry();
}

void QVantelLazyColumn::takeEntry(int index)
{
    if (index < 0 || index >= count())
        return;
    m_entries.removeAt(index);
    m_topsValid = false;
    updateGeometry();
    updateShown();
}

QWidget *QVantelLazyColumn::madeRow(int index) const
{
    return index >= 0 && index < count() ? m_entries.at(index).row : nullptr;
}

int QVantelLazyColumn::indexOf(const QWidget *row) const
{
    if (!row || row->parentWidget() != this)
        return -1;
    for (int i = 0; i < count(); ++i) {
        if (m_entries.at(i).row == row)
            return i;
    }
    return -1;
}

void QVantelLazyColumn::keep(QWidget *row)
{
    const int index = indexOf(row);
    if (index >= 0)
        m_entries[index].kept = true;
}

void QVantelLazyColumn::keepRow(QWidget *row)
{
    if (auto *column = row ? qobject_cast<QVantelLazyColumn *>(row->parentWidget()) : nullptr)
        column->keep(row);
}

QWidget *QVantelLazyColumn::row(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QWidget *made = make(index);
    m_entries[index].kept = true;
    place(index);
    return made;
}

int QVantelLazyColumn::heightKey(int) const
{
    return 0;
}

int QVantelLazyColumn::measure(QWidget *row, int width) const
{
    // As a column layout sees its rows (QWidgetItem), also before the row was first shown: a
    // row hidden on purpose takes no room.
    if (row->isHidden() && row->testAttribute(Qt::WA_WState_ExplicitShowHide))
        return 0;
    QLayout *layout = row->layout();
    const bool hasHeightForWidth
        = layout ? layout->hasHeightForWidth() : row->sizePolicy().hasHeightForWidth();
    int height = 0;
    if (hasHeightForWidth) {
        height = layout ? layout->totalHeightForWidth(width) : row->heightForWidth(width);
        height = qBound(row->minimumHeight(), height, row->maximumHeight());
    } else {
        height = row->sizeHint().expandedTo(row->minimumSizeHint()).height();
        height = qBound(row->minimumHeight(), height, row->maximumHeight());
        if (row->sizePolicy().verticalPolicy() == QSizePolicy::Ignored)
            height = 0;
    }
    return qMax(0, height);
}

void QVantelLazyColumn::useWidth(int width) const
{
    if (width == m_width)
        return;
    m_width = width;
    m_keyHeights.clear();
    for (int i = 0; i < count(); ++i) {
        Entry &entry = const_cast<Entry &>(m_entries.at(i));
        if (entry.row) {
            entry.height = measure(entry.row, width);
            m_keyHeights.insert(heightKey(i), entry.height);
        } else {
            entry.height = -1;
        }
    }
    m_topsValid = false;
}

int QVantelLazyColumn::heightOf(int index) const
{
    const Entry &entry = m_entries.at(index);
    if (entry.height >= 0)
        return entry.height;
    const auto known = m_keyHeights.constFind(heightKey(index));
    if (known != m_keyHeights.constEnd())
        return known.value();
    // The first entry of its kind: its row is made now, to learn how high such rows are.
    const_cast<QVantelLazyColumn *>(this)->make(index);
    return m_entries.at(index).height;
}

void QVantelLazyColumn::updateTops() const
{
    if (m_topsValid)
        return;
    m_tops.resize(count() + 1);
    int y = 0;
    for (int i = 0; i < count(); ++i) {
        m_tops[i] = y;
        y += heightOf(i);
    }
    m_tops[count()] = y;
    m_topsValid = true;
}

QWidget *QVantelLazyColumn::make(int index)
{
    Entry &entry = m_entries[index];
    if (entry.row)
        return entry.row;
    useWidth(m_width < 0 ? width() : m_width);
    QWidget *row = makeRow(index);
    // Measured as it will be shown: polished by its style.
    row->ensurePolished();
    // makeRow may have looked at other entries; the entry is looked up again.
    Entry &made = m_entries[index];
    made.row = row;
    made.height = measure(row, m_width);
    const int key = heightKey(index);
    const auto known = m_keyHeights.constFind(key);
    if (known == m_keyHeights.constEnd() || known.value() != made.height) {
        if (known == m_keyHeights.constEnd())
            m_keyHeights.insert(key, made.height);
        m_topsValid = false;
    }
    if (m_topsValid) {
        // Only an entry guessed wrong moves the ones below it.
        const int guessed = m_tops.at(index + 1) - m_tops.at(index);
        if (guessed != made.height)
            m_topsValid = false;
    }
    return row;
}

void QVantelLazyColumn::place(int index)
{
    QWidget *row = m_entries.at(index).row;
    if (!row)
        return;
    useWidth(width());
    const int oldHeight = m_topsValid ? m_tops.constLast() : -1;
    updateTops();
    row->setGeometry(0, m_tops.at(index), width(), m_tops.at(index + 1) - m_tops.at(index));
    if (row->isHidden() && !row->testAttribute(Qt::WA_WState_ExplicitShowHide))
        row->show();
    if (oldHeight != m_tops.constLast())
        updateGeometry();
}

int QVantelLazyColumn::firstEntryBelow(int y) const
{
    // The first entry whose bottom lies below y.
    const auto bottom = std::upper_bound(m_tops.constBegin() + 1, m_tops.constEnd(), y);
    return int(bottom - (m_tops.constBegin() + 1));
}

void QVantelLazyColumn::updateShown()
{
    if (m_updating || !m_area || !isVisible() || count() == 0)
        return;
    m_updating = true;
    useWidth(width());
    const int oldHeight = m_topsValid ? m_tops.constLast() : -1;
    QWidget *view = m_area->viewport();
    const int viewHeight = qMax(1, view->height());
    // Made rows that turn out higher or lower than guessed move what lies below them. Above the
    // view, that would move the view's content: the view moves with it.
    for (int pass = 0; pass < 4; ++pass) {
        updateTops();
        const int viewTop = -mapTo(view, QPoint(0, 0)).y();
        const int last = std::min(count(), firstEntryBelow(viewTop + 2 * viewHeight) + 1);
        int shift = 0;
        bool moved = false;
        for (int i = firstEntryBelow(viewTop - viewHeight); i < last; ++i) {
            if (m_entries.at(i).row)
                continue;
            const int guessed = m_tops.at(i + 1) - m_tops.at(i);
            make(i);
            const int height = m_entries.at(i).height;
            if (height != guessed) {
                moved = true;
                if (m_tops.at(i) < viewTop)
                    shift += height - guessed;
            }
        }
        if (shift != 0) {
            QScrollBar *bar = m_area->verticalScrollBar();
            bar->setValue(bar->value() + shift);
        }
        if (!moved)
            break;
        m_topsValid = false;
    }
    updateTops();

    const int viewTop = -mapTo(view, QPoint(0, 0)).y();
    const int keepTop = viewTop - 3 * viewHeight;
    const int keepBottom = viewTop + 4 * viewHeight;
    for (int i = 0; i < count(); ++i) {
        Entry &entry = m_entries[i];
        if (!entry.row)
            continue;
        if (!entry.kept && (m_tops.at(i + 1) < keepTop || m_tops.at(i) > keepBottom)) {
            // The entry keeps its measured height: the rows around it stay where they are. The
            // row goes at once, so that a fast scroll through a long list never piles rows up:
            // it was never handed out, and a row far from the view handles no event now.
            delete entry.row.data();
            continue;
        }
        place(i);
    }
    if (oldHeight != m_tops.constLast())
        updateGeometry();
    m_updating = false;
}

bool QVantelLazyColumn::hasHeightForWidth() const
{
    return true;
}

int QVantelLazyColumn::heightForWidth(int width) const
{
    useWidth(width);
    updateTops();
    return m_tops.constLast();
}

QSize QVantelLazyColumn::sizeHint() const
{
    const int w = m_width < 0 ? width() : m_width;
    return QSize(0, heightForWidth(w));
}

QSize QVantelLazyColumn::minimumSizeHint() const
{
    return QSize(0, 0);
}

void QVantelLazyColumn::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateShown();
}

void QVantelLazyColumn::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    updateShown();
}

void QVantelLazyColumn::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateShown();
}
