#include "widgets/qvantelelidedlabel.h"

#include <QPainter>
#include <QStyle>

QVantelElidedLabel::QVantelElidedLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

QVantelElidedLabel::~QVantelElidedLabel() = default;

QSize QVantelElidedLabel::minimumSizeHint() const
{
    QSize hint = QLabel::minimumSizeHint();
    const int ellipsis = fontMetrics().horizontalAdvance(QChar(0x2026)) + 2 * margin();
    hint.setWidth(qMin(hint.width(), ellipsis));
    return hint;
}

QRect QVantelElidedLabel::textArea() const
{
    const int m = margin();
    return contentsRect().marginsRemoved(QMargins(m, m, m, m));
}

QString QVantelElidedLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, textArea().width());
}

void QVantelElidedLabel::paintEvent(QPaintEvent *event)
{
    const QString shown = shownText();
    if (shown == text()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    style()->drawItemText(&painter,
                          textArea(),
                          int(QStyle::visualAlignment(layoutDirection(), alignment())),
                          palette(),
                          isEnabled(),
                          shown,
                          foregroundRole());
}
