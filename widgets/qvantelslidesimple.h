#pragma once

#include <QScrollArea>

class QMouseEvent;

// A drag-scrolled area around one inner widget that the owner fills and sizes itself (the area
// does not resize it). Dragging the content scrolls it in steps of more than 9 pixels; there are
// no taps. The slim scroll bar only shows the position.
class QVantelSlideSimple : public QScrollArea
{
    Q_OBJECT

public:
    explicit QVantelSlideSimple(QWidget *parent = nullptr);
    ~QVantelSlideSimple() override;

    QWidget *inner() const { return m_inner; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_lastY = -1;
    QWidget *m_inner = nullptr;

    Q_DISABLE_COPY_MOVE(QVantelSlideSimple)
};
