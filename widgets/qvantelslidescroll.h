#pragma once

#include <QScrollBar>

class QPaintEvent;

// The slim vertical scroll bar of the drag-scroll areas. It only shows where the view is: a
// handle of a fifth of its height in the accent blue on the right half of the bar. It takes no
// focus; the areas hide it while the content fits.
class QVantelSlideScroll : public QScrollBar
{
    Q_OBJECT

public:
    explicit QVantelSlideScroll(QWidget *parent = nullptr);
    ~QVantelSlideScroll() override;

    // The handle rectangle for a bar of the given size and the bar's current range and value;
    // empty when the range is empty.
    QRect handleRect(const QSize &size) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Q_DISABLE_COPY_MOVE(QVantelSlideScroll)
};
