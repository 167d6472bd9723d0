#include "widgets/qvantelchoicelabel.h"

#include <QPainter>
#include <QRegularExpression>
#include <QStyle>

QVantelChoiceLabel::QVantelChoiceLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

QVantelChoiceLabel::~QVantelChoiceLabel() = default;

QSize QVantelChoiceLabel::minimumSizeHint() const
{
    QSize hint = QLabel::minimumSizeHint();
    const int ellipsis = fontMetrics().horizontalAdvance(QChar(0x2026)) + 2 * margin();
    hint.setWidth(qMin(hint.width(), ellipsis));
    return hint;
}

QRect QVantelChoiceLabel::textArea() const
{
    const int m = margin();
    return contentsRect().marginsRemoved(QMargins(m, m, m, m));
}

QString QVantelChoiceLabel::shownText() const
{
    const QString whole = text();
    const int width = textArea().width();
    const QFontMetrics metrics = fontMetrics();
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList words = whole.split(blanks, Qt::SkipEmptyParts);
    for (const QString &word : words) {
        if (metrics.horizontalAdvance(word) > width)
            return metrics.elidedText(whole.simplified(), Qt::ElideMiddle, width);
    }
    return whole;
}

void QVantelChoiceLabel::paintEvent(QPaintEvent *event)
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
