#pragma once

#include "widgets/qvantelelidedlabel.h"

// The label of a choice in a list popup: a plain-text label that wraps at blanks as a plain
// QLabel does. A text with a word too long for the label's width is drawn on one line, cut in
// its middle with an ellipsis, so that the end of a name stays in sight: names that share a long
// beginning (networks, streams) still look different. As for its base, a long word never widens
// the list around it, text() keeps the whole text, and a text that fits is drawn exactly as a
// plain QLabel draws it.
class QVantelChoiceLabel : public QVantelElidedLabel
{
    Q_OBJECT

public:
    explicit QVantelChoiceLabel(QWidget *parent = nullptr);
    ~QVantelChoiceLabel() override;

    // The text as drawn at the label's width: whole, or cut in its middle.
    QString shownText() const override;

private:
    Q_DISABLE_COPY_MOVE(QVantelChoiceLabel)
};
