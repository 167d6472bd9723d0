#include "widgets/qvantelaudio.h"

#include <QPainter>

QVantelAudio::QVantelAudio(QWidget *parent)
    : QLabel(parent)
{}

QVantelAudio::~QVantelAudio() = default;

void QVantelAudio::setValue(int value)
{
    m_value = value;
}

void QVantelAudio::setPanning(int mode)
{
    if (mode == m_panning)
        return;
    m_panning = mode;
    if (isVisible()) {
        update();
        Q_EMIT panningChanged(QVantel::PanCtrl(m_panning));
    }
}

void QVantelAudio::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);

    QPainter painter(this);
    const QRect area = contentsRect();
    auto mark = [&](int side, const QString &text, const QColor &color) {
        painter.setPen(color);
        painter.drawText(area, side | Qt::AlignVCenter, text);
    };
    switch (m_panning) {
    case QVantel::PanNone:
        mark(Qt::AlignLeft, QStringLiteral("="), Qt::white);
        mark(Qt::AlignRight, QStringLiteral("="), Qt::white);
        break;
    case QVantel::PanLeft:
        mark(Qt::AlignLeft, QStringLiteral("L"), Qt::green);
        break;
    case QVantel::PanRight:
        mark(Qt::AlignRight, QStringLiteral("R"), Qt::red);
        break;
    default:
        mark(Qt::AlignLeft, QStringLiteral("L"), Qt::green);
        mark(Qt::AlignRight, QStringLiteral("R"), Qt::red);
        break;
    }
}
