#pragma once

#include "widgets/qvantelelidedlabel.h"

#include <QFont>
#include <QSize>

// A word-wrapped plain-text label that shows where its text is cut. Lines break at blanks as in
// a word-wrapped QLabel; a word too long for a line of its own (an address, a name without
// blanks) ends in an ellipsis at the label's edge, and when the lines need more height than the
// label has, the last line that fits ends in one. Its minimum width is that of the ellipsis, so a
// long word cannot widen the row or page around it. text() keeps the whole text; a text that
// fits is drawn exactly as a plain word-wrapped QLabel draws it.
class QVantelWrapLabel : public QVantelElidedLabel
{
    Q_OBJECT

public:
    explicit QVantelWrapLabel(QWidget *parent = nullptr);
    ~QVantelWrapLabel() override;

    // The text as drawn at the label's size: whole, or its lines (joined by '\n') cut short with
    // an ellipsis.
    QString shownText() const override;

private:
    QString layOut(const QString &whole, const QRect &area) const;

    // The last text laid out, the room and font it was laid out in, and how it is drawn there.
    mutable QString m_shownFor;
    mutable QSize m_shownIn;
    mutable QFont m_shownFont;
    mutable QString m_shown;

    Q_DISABLE_COPY_MOVE(QVantelWrapLabel)
};
