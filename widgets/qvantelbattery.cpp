#include "widgets/qvantelbattery.h"

#include <QPainter>
#include <QPolygon>

namespace {

const QColor kMainsColor(0, 146, 64);

} // namespace

QVantelBattery::QVantelBattery(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(18, 28);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);
}

QVantelBattery::~QVantelBattery() = default;

void QVantelBattery::setLevel(int level)
{
    if (level == m_level)
        return;
    m_level = level;
    update();
}

QRect QVantelBattery::chargeRect(int level)
{
    if (level < 0 || level > 100)
        return QRect();
    const int top = 25 - level * 19 / 100;
    if (top > 24)
        return QRect();
    return QRect(QPoint(3, top), QPoint(14, 24));
}

void QVantelBattery::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));

    QColor frame = Qt::white;
    if (m_level < 21)
        frame = Qt::red;
    else if (m_level == kMains)
        frame = kMainsColor;
    painter.setPen(QPen(frame, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(1, 4), QPoint(16, 26)));
    painter.fillRect(QRect(QPoint(5, 0), QPoint(12, 2)), frame);

    if (m_level >= 0 && m_level <= 100) {
        QColor fill = Qt::green;
        if (m_level < 21)
            fill = Qt::red;
        else if (m_level < 41)
            fill = QColor(255, 127, 39);
        const QRect charge = chargeRect(m_level);
        if (!charge.isEmpty())
            painter.fillRect(charge, fill);
    } else if (m_level == kCharging) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        const QPolygon bolt({QPoint(13, 7),
                             QPoint(4, 15),
                             QPoint(9, 15),
                             QPoint(5, 23),
                             QPoint(14, 15),
                             QPoint(9, 15)});
        painter.drawPolygon(bolt);
    } else if (m_level == kMains) {
        painter.fillRect(QRect(QPoint(3, 6), QPoint(14, 24)), kMainsColor);
    }
}
