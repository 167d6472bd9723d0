#pragma once

#include <QString>
#include <QWidget>

class QEvent;
class QPaintEvent;
class QStatusBar;

// Covers a status bar with a text while the device link is busy, drawn exactly as the bar draws a
// temporary message (the bar's background and panel, the text in its window-text colour), but
// switched without hiding the bar's widgets: turning it on or off only repaints the bar, with no
// new layout and no synchronous repaint. Always as large as the bar; passes the mouse through.
//
// Ownership: a child of the bar. GUI thread only.
class StatusBusyOverlay : public QWidget
{
    Q_OBJECT

public:
    explicit StatusBusyOverlay(QStatusBar *bar);
    Q_DISABLE_COPY_MOVE(StatusBusyOverlay)

    // The text shown while busy; empty when nothing covers the bar.
    [[nodiscard]] QString text() const { return m_text; }
    void setText(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QStatusBar *m_bar;
    QString m_text;
};
