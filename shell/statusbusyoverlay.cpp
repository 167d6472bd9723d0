#include "shell/statusbusyoverlay.h"

#include <QEvent>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOption>

namespace {

// Where a status bar writes its temporary message: inside a small inset at each end.
constexpr int kMessageLeft = 6;
constexpr int kMessageRightInset = 12;

} // namespace

StatusBusyOverlay::StatusBusyOverlay(QStatusBar *bar)
    : QWidget(bar)
    , m_bar(bar)
{
    setObjectName(QStringLiteral("busyOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(bar->rect());
    bar->installEventFilter(this);
    raise();
}

void StatusBusyOverlay::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
}

bool StatusBusyOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_bar) {
        if (event->type() == QEvent::Resize)
            setGeometry(m_bar->rect());
        else if (event->type() == QEvent::ChildAdded)
            raise();
    }
    return QWidget::eventFilter(watched, event);
}

void StatusBusyOverlay::paintEvent(QPaintEvent *)
{
    if (m_text.isEmpty())
        return;
    QPainter painter(this);
    const QPalette &palette = m_bar->palette();
    painter.fillRect(rect(), palette.brush(m_bar->backgroundRole()));
    QStyleOption option;
    option.initFrom(m_bar);
    option.rect = rect();
    m_bar->style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, m_bar);
    painter.setFont(m_bar->font());
    painter.setPen(palette.color(QPalette::WindowText));
    const QRect message(kMessageLeft, 0, width() - kMessageLeft - kMessageRightInset, height());
    painter.drawText(message, Qt::AlignLeading | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}
