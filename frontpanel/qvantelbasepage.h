#pragma once

#include "widgets/statuspanelforwarder.h"

#include <QWidget>

class QVantelStatusPanel;
class QVantelWindow;

// Common base of the main and connection pages: a page of the front-panel window carrying the
// full status strip at (132, 7), and itself an IVantelStatusPanel that forwards each of the
// eleven status setters unchanged to that strip. Subclasses override single setters and call the
// strip themselves.
//
// The window given to the constructor is the page's Qt parent; the strip is a child of the page,
// never null after construction. No signals of its own.
class QVantelBasePage : public QWidget, public StatusPanelForwarder
{
    Q_OBJECT

public:
    explicit QVantelBasePage(QVantelWindow *window);
    ~QVantelBasePage() override;
    Q_DISABLE_COPY_MOVE(QVantelBasePage)

    QVantelWindow *vantelWindow() const { return m_window; }
    QVantelStatusPanel *statusPanel() const { return m_statusPanel; }

protected:
    // Creates the full-height strip at (132, 7), showing codec mode 1 with coordination mode 0
    // until the window sends the real mode.
    void createStatusPanel();

private:
    QVantelWindow *m_window = nullptr;
    QVantelStatusPanel *m_statusPanel = nullptr;
};
