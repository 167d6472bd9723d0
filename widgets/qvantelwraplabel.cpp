#include "widgets/qvantelwraplabel.h"

#include <QStringList>

namespace {

const QChar kEllipsis(0x2026);

// text broken into lines at blanks, each line as wide as width allows; a word wider than that
// stays whole on a line of its own.
QStringList wrapAtBlanks(const QString &text, const QFontMetrics &metrics, int width)
{
    QStringList lines;
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (const QString &paragraph : paragraphs) {
        QString line;
        bool lineStarted = false;
        const QStringList words = paragraph.split(QLatin1Char(' '));
        for (const QString &word : words) {
            const QString joined = lineStarted ? line + QLatin1Char(' ') + word : word;
            if (!lineStarted || metrics.horizontalAdvance(joined) <= width) {
                line = joined;
                lineStarted = true;
                continue;
            }
            lines << line;
            line = word;
        }
        lines << line;
    }
    return lines;
}

// text ending in an ellipsis within width, as much of it as fits before the ellipsis.
QString cutShort(const QString &text, const QFontMetrics &metrics, int width)
{
    const QString elided = metrics.elidedText(text, Qt::ElideRight, width);
    if (elided != text)
        return elided;
    // It fits whole, yet more follows that is not shown.
    QString shown = text;
    while (!shown.isEmpty() && metrics.horizontalAdvance(shown + kEllipsis) > width)
        shown.chop(1);
    return shown + kEllipsis;
}

} // namespace

QVantelWrapLabel::QVantelWrapLabel(QWidget *parent)
    : QVantelElidedLabel(parent)
{
    setWordWrap(true);
}

QVantelWrapLabel::~QVantelWrapLabel() = default;

QString QVantelWrapLabel::shownText() const
{
    const QString whole = text();
    const QRect area = textArea();
    // Painting asks again and again for the same text at the same size.
    if (whole == m_shownFor && area.size() == m_shownIn && font() == m_shownFont)
        return m_shown;
    m_shownFor = whole;
    m_shownIn = area.size();
    m_shownFont = font();
    m_shown = layOut(whole, area);
    return m_shown;
}

QString QVantelWrapLabel::layOut(const QString &whole, const QRect &area) const
{
    const QFontMetrics metrics = fontMetrics();
    const int room = area.width();
    if (whole.isEmpty() || room <= 0
        || (!whole.contains(QLatin1Char('\n')) && metrics.horizontalAdvance(whole) <= room)) {
        return whole;
    }
    QStringList lines = wrapAtBlanks(whole, metrics, room);
    bool cut = false;
    // More lines than the label's height holds: the last one that fits ends the text. The
    // label's own measure decides, so a text it lays out in full is never cut.
    const int fitting = qMax(1, area.height() / qMax(1, metrics.height()));
    if (lines.size() > fitting && heightForWidth(width()) > height()) {
        const QString rest = lines.mid(fitting - 1).join(QLatin1Char(' '));
        lines = lines.mid(0, fitting - 1);
        lines << cutShort(rest, metrics, room);
        cut = true;
    }
    for (QString &line : lines) {
        if (metrics.horizontalAdvance(line) > room) {
            line = cutShort(line, metrics, room);
            cut = true;
        }
    }
    return cut ? lines.join(QLatin1Char('\n')) : whole;
}
