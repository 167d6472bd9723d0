#include "widgets/qvantelslidesimple.h"

#include "widgets/qvantelslidesetup.h"

#include <QMouseEvent>

QVantelSlideSimple::QVantelSlideSimple(QWidget *parent)
    : QScrollArea(parent)
{
    QVantelSlide::setUpArea(this);
    m_inner = new QWidget;
    setWidget(m_inner);
    setWidgetResizable(false);
}

QVantelSlideSimple::~QVantelSlideSimple() = default;

void QVantelSlideSimple::mousePressEvent(QMouseEvent *event)
{
    m_lastY = -1;
    event->accept();
}

void QVantelSlideSimple::mouseMoveEvent(QMouseEvent *event)
{
    const int y = event->position().toPoint().y();
    if (m_lastY == -1)
        m_lastY = y;
    else
        m_lastY = QVantelSlide::dragTo(this, m_lastY, y);
    event->accept();
}

void QVantelSlideSimple::mouseReleaseEvent(QMouseEvent *event)
{
    m_lastY = -1;
    event->accept();
}
