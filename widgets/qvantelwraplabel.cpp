#include "widgets/qvantelwraplabel.h"

#include <QFontMetricsF>
#include <QList>
#include <QStringList>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>

namespace {

const QChar kEllipsis(0x2026);

struct Line
{
    int start;
    int length;
    qreal width;
    qreal bottom;
};

// The text as one layout takes it: a line break becomes a line separator (QLabel starts a new
// paragraph there, which breaks the same), carriage returns and tabs become blanks.
QString prepared(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        if (c == QLatin1Char('\n'))
            c = QChar::LineSeparator;
        else if (c == QLatin1Char('\r') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    }
    return result;
}

// The lines of text, as a word-wrapped QLabel breaks and stacks them at width: wherever the
// text allows a break (after a blank, a hyphen, a slash, ...), a word wider than width on a
// line of its own and overflowing it.
QList<Line>
wrapAsQLabel(const QString &text, const QFont &font, const QPaintDevice *device, int width)
{
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    layout.setTextOption(option);
    const qreal leading = QFontMetricsF(font).leading();
    QList<Line> lines;
    qreal y = -leading;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        // Lines start on whole pixels.
        y = qCeil(y + leading);
        line.setPosition(QPointF(0, y));
        y += line.ascent() + line.descent();
        lines.append({line.textStart(), line.textLength(), line.naturalTextWidth(), y});
    }
    layout.endLayout();
    return lines;
}

// text cut within width with an ellipsis where mode puts it; when the text fits whole although
// more follows that is not shown, as much of it as fits before a closing ellipsis.
QString
cutShort(const QString &text, Qt::TextElideMode mode, const QFontMetrics &metrics, int width)
{
    const QString elided = metrics.elidedText(text, mode, width);
    if (elided != text)
        return elided;
    QString shown = text;
    while (!shown.isEmpty() && metrics.horizontalAdvance(shown + kEllipsis) > width)
        shown.chop(1);
    return shown + kEllipsis;
}

QString withoutTrailingBlanks(QString text)
{
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}

} // namespace

QVantelWrapLabel::QVantelWrapLabel(QWidget *parent)
    : QVantelWrapLabel(Qt::ElideRight, parent)
{}

QVantelWrapLabel::QVantelWrapLabel(Qt::TextElideMode cut, QWidget *parent)
    : QVantelElidedLabel(parent)
    , m_cut(cut)
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
    const QString text = prepared(whole);
    const QList<Line> lines = wrapAsQLabel(text, font(), this, room);
    if (lines.isEmpty())
        return whole;
    // More lines than the label's height holds: the last one that fits ends the text. The
    // label's own measure decides, so a text it lays out in full is never cut for its height.
    int kept = int(lines.size());
    if (lines.back().bottom > area.height() && heightForWidth(width()) > height()) {
        const auto fitting = std::count_if(lines.cbegin(), lines.cend(), [&area](const Line &line) {
            return line.bottom <= area.height();
        });
        kept = qMax(1, int(fitting)) - 1;
    }
    QStringList shown;
    bool cut = false;
    for (int index = 0; index < kept; ++index) {
        const Line &line = lines.at(index);
        QString lineText = withoutTrailingBlanks(text.mid(line.start, line.length));
        // Only a word wider than the label makes a line wider than the label.
        if (line.width > room) {
            lineText = cutShort(lineText, m_cut, metrics, room);
            cut = true;
        }
        shown << lineText;
    }
    if (kept < lines.size()) {
        QString rest = text.mid(lines.at(kept).start);
        rest.replace(QChar::LineSeparator, QLatin1Char(' '));
        shown << cutShort(withoutTrailingBlanks(rest), m_cut, metrics, room);
        cut = true;
    }
    return cut ? shown.join(QLatin1Char('\n')) : whole;
}
