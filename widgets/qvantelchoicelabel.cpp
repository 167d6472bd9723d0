#include "widgets/qvantelchoicelabel.h"

#include <QRegularExpression>

QVantelChoiceLabel::QVantelChoiceLabel(QWidget *parent)
    : QVantelElidedLabel(parent)
{
    setWordWrap(true);
}

QVantelChoiceLabel::~QVantelChoiceLabel() = default;

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
