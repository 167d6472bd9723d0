#pragma once

#include "frontpanel/ivantelresetpage.h"
#include "widgets/qvantelpage.h"
#include "widgets/statuspanelforwarder.h"

#include <QWidget>

class QVantelButton;
class QVantelStatusPanel;

// Common base of the four audio pages of the front panel: the compact status strip at (132, 7)
// and the home button at (10, 7) that asks for the main page. The page is itself an
// IVantelStatusPanel that hands each of the eleven status setters unchanged to its strip, so the
// window can push status into whichever page shows; and an IVantelResetPage, whose resetView()
// every page implements and the window calls after each login.
//
// Both widgets are children of the page and never null after construction. Signals:
// pageActivated(page) when the page asks the window to show another page (the home button asks
// for the main page). GUI thread only.
class QVantelAudioWidget : public QWidget, public StatusPanelForwarder, public IVantelResetPage
{
    Q_OBJECT

public:
    explicit QVantelAudioWidget(QWidget *parent = nullptr);
    ~QVantelAudioWidget() override;
    Q_DISABLE_COPY_MOVE(QVantelAudioWidget)

    [[nodiscard]] QVantelStatusPanel *statusPanel() const { return m_statusPanel; }
    [[nodiscard]] QVantelButton *homeButton() const { return m_homeButton; }

signals:
    void pageActivated(QVantel::Page page);

private slots:
    void pageClicked();

private:
    QVantelStatusPanel *m_statusPanel = nullptr;
    QVantelButton *m_homeButton = nullptr;
};
