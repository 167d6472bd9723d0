#pragma once

#include <QLabel>

class QPaintEvent;

// A label that keeps its real text (text() returns it) and paints one "*" per character, on one
// line, in its font, foreground colour and alignment; stars beyond its width end in an ellipsis.
class QPwdLabel : public QLabel
{
    Q_OBJECT

public:
    explicit QPwdLabel(QWidget *parent = nullptr);
    ~QPwdLabel() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Q_DISABLE_COPY_MOVE(QPwdLabel)
};
