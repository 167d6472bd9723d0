#pragma once

#include <QLabel>

class QPaintEvent;

// A one-line plain-text label that never asks for more width than it is given: a text too long
// for its width is drawn cut short with an ellipsis at its end, and its minimum width is that of
// the ellipsis, so a long text cannot widen the row or page around it. text() keeps the whole
// text; a text that fits is drawn exactly as a plain QLabel draws it. A subclass may cut the text
// another way (shownText()).
class QVantelElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit QVantelElidedLabel(QWidget *parent = nullptr);
    ~QVantelElidedLabel() override;

    QSize minimumSizeHint() const override;
    // The text as drawn at the label's width: whole, or cut short with an ellipsis.
    virtual QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    // Where the text is drawn: the contents less the margin.
    QRect textArea() const;

private:
    Q_DISABLE_COPY_MOVE(QVantelElidedLabel)
};
