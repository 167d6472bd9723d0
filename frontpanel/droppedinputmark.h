#pragma once

#include <QWidget>

class QPaintEvent;

// The sign the panel shows where an input made while it waited for the unit was dropped
// (because the wait replaced or removed what it was aimed at): a crossed-out circle that stays
// for a moment, so that the operator sees the tap was not taken rather than wondering whether it
// was. It lets every input through to what lies under it and deletes itself.
class DroppedInputMark : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSize = 44;
    static constexpr int kShownMs = 900;

    // Shows a mark on panel, centred on globalPosition (kept inside the panel).
    static DroppedInputMark *show(QWidget *panel, const QPoint &globalPosition);

    ~DroppedInputMark() override;
    Q_DISABLE_COPY_MOVE(DroppedInputMark)

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    explicit DroppedInputMark(QWidget *panel);
};
