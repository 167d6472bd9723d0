#include "widgets/qvantelslidewidget.h"

#include "widgets/qvantelslidesetup.h"

#include <QMouseEvent>
#include <QVBoxLayout>

QVantelSlideWidget::QVantelSlideWidget(QWidget *parent)
    : QScrollArea(parent)
{
    QVantelSlide::setUpArea(this);
    m_inner = new QWidget;
    m_column = new QVBoxLayout(m_inner);
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->setSpacing(0);
    m_column->setAlignment(Qt::AlignTop);
    setWidget(m_inner);
    setWidgetResizable(true);
}

QVantelSlideWidget::~QVantelSlideWidget() = default;

void QVantelSlideWidget::childClicked(QWidget *) {}

void QVantelSlideWidget::mousePressEvent(QMouseEvent *event)
{
    m_lastY = -1;
    m_tap = true;
    event->accept();
}

void QVantelSlideWidget::mouseMoveEvent(QMouseEvent *event)
{
    const int y = event->position().toPoint().y();
    if (m_lastY == -1) {
        m_lastY = y;
    } else {
        m_tap = false;
        m_lastY = QVantelSlide::dragTo(this, m_lastY, y);
    }
    event->accept();
}

void QVantelSlideWidget::mouseReleaseEvent(QMouseEvent *event)
{
    m_lastY = -1;
    event->accept();
    if (!m_tap)
        return;
    m_tap = false;
    if (QWidget *child = childAt(event->position().toPoint()))
        childClicked(child);
}
