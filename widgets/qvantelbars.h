#pragma once

#include <QWidget>

// A level meter of one or two bars with a hold-and-fall peak marker. Levels are attenuations
// from 0 (a full bar) to maximum() (an empty one). A level that falls below the marker leaves
// the marker where it is for ten updates; from the eleventh on the marker falls by 2 per update.
// A level at or above the marker, or an immediate one, moves the marker to it at once.
// Horizontal bars by default, vertical ones with setFlat(true). No signals.
class QVantelBars : public QWidget
{
    Q_OBJECT

public:
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

    bool m_vertical = false;
    int m_maximum = 30;
    int m_stereo = 0;
    Bar m_bars[2];
};
