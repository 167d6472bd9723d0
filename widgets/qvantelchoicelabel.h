#pragma once

#include "widgets/qvantelwraplabel.h"

// The label of a choice in a list popup: a word-wrapped plain-text label laid out as a plain
// QLabel lays it out. A line that still does not fit, a word too long for the label's width, is
// cut in its middle with an ellipsis, so that the end of a name stays in sight: names that share
// a long beginning (networks, streams) still look different. As for its base, a long word never
// widens the list around it, text() keeps the whole text, and a text that fits is drawn exactly
// as a plain QLabel draws it.
class QVantelChoiceLabel : public QVantelWrapLabel
{
    Q_OBJECT

public:
    explicit QVantelChoiceLabel(QWidget *parent = nullptr);
    ~QVantelChoiceLabel() override;

private:
    Q_DISABLE_COPY_MOVE(QVantelChoiceLabel)
};
