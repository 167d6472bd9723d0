#pragma once

#include <QScrollArea>

class QMouseEvent;
class QVBoxLayout;

// A drag-scrolled column of widgets that tells taps from drags.
//
// Widgets added to column() stack from the top. A press and a release with at most one move
// between them is a tap: childClicked() is then called with the deepest visible widget under the
// release point (the inner widget itself on empty space). A longer gesture drags the content,
// which follows the finger in steps of more than 9 pixels. Buttons inside the column take their
// own presses and never reach this path.
class QVantelSlideWidget : public QScrollArea
{
    Q_OBJECT

public:
    explicit QVantelSlideWidget(QWidget *parent = nullptr);
    ~QVantelSlideWidget() override;

    QWidget *inner() const { return m_inner; }
    QVBoxLayout *column() const { return m_column; }

    // Tap hook; the default does nothing.
    virtual void childClicked(QWidget *child);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_lastY = -1;
    bool m_tap = false;
    QWidget *m_inner = nullptr;
    QVBoxLayout *m_column = nullptr;

    Q_DISABLE_COPY_MOVE(QVantelSlideWidget)
};
