#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QWidget>

class QScrollArea;

// A stretch of a scrolled column whose rows are made only once they come near the view.
//
// It stands for count() entries stacked top-down without spacing, each as high as its row is
// for the column's width, just as a plain column of those rows would lay them out. A row is made
// (makeRow()) when its entry comes within one view's height of the area's view, and placed and
// shown there. Until then the entry is taken to be as high as made rows of the same heightKey();
// when a row turns out higher or lower, the entries below it move, and the view keeps its place
// when the row lies above it. Made rows that drift far out of the view are deleted again at once,
// unless they were handed out: row() and keep() make a row stay as long as the column does, so a
// pointer someone holds never dangles. An entry taken out leaves its row (if made) to the caller.
//
// Rows are the column's children. The area is the scroll area the column lies in.
class QVantelLazyColumn : public QWidget
{
    Q_OBJECT

public:
    explicit QVantelLazyColumn(QScrollArea *area, QWidget *parent = nullptr);
    ~QVantelLazyColumn() override;

    int count() const { return int(m_entries.size()); }
    // The row of entry index, made and placed now if need be; it is kept.
    QWidget *row(int index);
    // The made row of entry index, or null.
    QWidget *madeRow(int index) const;
    // The entry of a made row, or -1.
    int indexOf(const QWidget *row) const;
    // Keeps a made row of this column; other widgets are ignored.
    void keep(QWidget *row);
    // Keeps the row when it is a made row of some lazy column.
    static void keepRow(QWidget *row);

    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // Adds entries at the end; the subclass holds what they show.
    void appendEntries(int count);
    // Takes entry index out; the subclass drops what it shows first. Its made row stays as it is.
    void takeEntry(int index);
    // Makes the row of entry index, a child of this column.
    virtual QWidget *makeRow(int index) = 0;
    // Entries of the same key are taken to be equally high until their rows are made.
    virtual int heightKey(int index) const;

    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    struct Entry
    {
        QPointer<QWidget> row;
        int height = -1; // measured at m_width; -1 until the row is made at that width
        bool kept = false;
    };

    // Measures every made row again when the width changed.
    void useWidth(int width) const;
    int measure(QWidget *row, int width) const;
    int heightOf(int index) const;
    void updateTops() const;
    QWidget *make(int index);
    void place(int index);
    // Makes the rows near the view, places the made ones and deletes the ones far from it.
    void updateShown();
    int firstEntryBelow(int y) const;

    QPointer<QScrollArea> m_area;
    QList<Entry> m_entries;
    mutable int m_width = -1;
    mutable QHash<int, int> m_keyHeights;
    mutable QList<int> m_tops; // count() + 1 values: the top of each entry and the bottom
    mutable bool m_topsValid = false;
    bool m_updating = false;

    Q_DISABLE_COPY_MOVE(QVantelLazyColumn)
};
