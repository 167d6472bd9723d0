#pragma once

#include <QBasicTimer>
#include <QWidget>

// A level meter of one or two bars with a hold-and-fall peak marker. Levels are attenuations
// from 0 (a full bar) to maximum() (an empty one). A level that falls below the marker leaves
// the marker where it is for ten updates; from the eleventh on the marker falls by 2 per update.
// A level at or above the marker, or an immediate one, moves the marker to it at once.
// Horizontal bars by default, vertical ones with setFlat(true). No signals.
//
// Levels may arrive faster than a display refreshes: a level change repaints at once when the
// meter has been still for a frame, and otherwise in the next frame (kFrameMs), so a meter paints
// at most once per frame however many levels arrive. Every level still moves the marker.
class QVantelBars : public QWidget
{
    Q_OBJECT

public:
    // The shortest time between two repaints for level changes (25 frames a second).
    static constexpr int kFrameMs = 40;

    explicit QVantelBars(QWidget *parent = nullptr);
    ~QVantelBars() override;

    int maximum() const { return m_maximum; }
    bool isFlat() const { return m_vertical; }
    bool isStereo() const { return m_stereo != 0; }
    int level(int bar = 0) const;
    int marker(int bar = 0) const;

    void setFlat(bool vertical);
    void setStereo(int twoBars);
    // Bar 1.
    void setLevel(int level, bool immediate);
    // Both bars, with one repaint.
    void setLevels(int level1, int level2, bool immediate);

protected:
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    struct Bar
    {
        int level = 0;
        int marker = 0;
        int hold = 0;
    };

    // Applies one level to a bar; true when level or marker changed.
    bool apply(Bar &bar, int level, bool immediate) const;
    void paintBar(QPainter &painter, const QRect &area, const Bar &bar, const QColor &frame) const;
    void paintFrame(QPainter &painter, int w, int h, const QColor &frame) const;
    // Repaints now, or in the next frame when one was painted within the last kFrameMs.
    void scheduleRepaint();

    bool m_vertical = false;
    int m_maximum = 30;
    int m_stereo = 0;
    Bar m_bars[2];
    QBasicTimer m_frameTimer;
    bool m_repaintPending = false;
};
