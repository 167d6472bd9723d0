#pragma once

#include "widgets/qvantelelidedlabel.h"

#include <QFont>
#include <QSize>

// A word-wrapped plain-text label that shows where its text is cut. Its text is laid out as a
// plain word-wrapped QLabel lays it out, broken into lines wherever the text allows (after a
// blank, a hyphen, a slash, ...); a line that still overflows, a word too long for a line of its
// own (an address, a name without breaks), ends in an ellipsis at the label's edge, and when the
// lines need more height than the label has, the last line that fits ends in one. Its minimum
// width is that of the ellipsis, so a long word cannot widen the row or page around it. text()
// keeps the whole text; a text that fits is drawn exactly as a plain word-wrapped QLabel draws
// it.
class QVantelWrapLabel : public QVantelElidedLabel
{
    Q_OBJECT

public:
    explicit QVantelWrapLabel(QWidget *parent = nullptr);
    ~QVantelWrapLabel() override;

    // The text as drawn at the label's size: whole, or its lines (joined by '\n') with those that
    // do not fit cut short with an ellipsis.
    QString shownText() const override;

protected:
    // A label that cuts the lines that do not fit with the ellipsis where cut puts it.
    QVantelWrapLabel(Qt::TextElideMode cut, QWidget *parent);

private:
    QString layOut(const QString &whole, const QRect &area) const;

    Qt::TextElideMode m_cut;
    // The last text laid out, the room and font it was laid out in, and how it is drawn there.
    mutable QString m_shownFor;
    mutable QSize m_shownIn;
    mutable QFont m_shownFont;
    mutable QString m_shown;

    Q_DISABLE_COPY_MOVE(QVantelWrapLabel)
};
