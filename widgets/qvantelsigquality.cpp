#include "widgets/qvantelsigquality.h"

#include <QPainter>

namespace {

constexpr int kStateSimMissing = 4;
constexpr int kStateSimLocked = 5;
constexpr int kStatePinRequired = 6;

} // namespace

QVantelSigQuality::QVantelSigQuality(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(24, 18);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);
}

QVantelSigQuality::~QVantelSigQuality() = default;

void QVantelSigQuality::setQuality(int mode, int bars)
{
    bars = qBound(0, bars, 5);
    if (mode == m_mode && bars == m_bars)
        return;
    m_mode = mode;
    m_bars = bars;
    update();
}

QRect QVantelSigQuality::columnRect(int k)
{
    const int top = 15 - 3 * k;
    return QRect(QPoint(5 * (k - 1), top), QPoint(5 * (k - 1) + 3, 14));
}

void QVantelSigQuality::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    for (int k = 1; k <= 5; ++k)
        painter.fillRect(QRect(QPoint(5 * (k - 1), 16), QPoint(5 * (k - 1) + 3, 17)), Qt::white);

    if (m_mode == kStateSimMissing || m_mode == kStateSimLocked || m_mode == kStatePinRequired) {
        painter.setPen(Qt::red);
        painter.drawText(QRect(0, 0, width(), 16),
                         Qt::AlignCenter,
                         m_mode == kStateSimMissing ? QStringLiteral("SIM")
                                                    : QStringLiteral("PIN"));
        return;
    }
    const QColor color = m_mode == 0 ? QColor(Qt::white) : QColor(Qt::red);
    for (int k = 1; k <= m_bars; ++k)
        painter.fillRect(columnRect(k), color);
}
