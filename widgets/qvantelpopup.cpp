#include "widgets/qvantelpopup.h"

#include "widgets/qvantelevent.h"

#include <QCloseEvent>
#include <QKeyEvent>

QVantelPopup::QVantelPopup(QWidget *parent)
    : QFrame(parent, Qt::Popup)
{
    setAttribute(Qt::WA_WindowPropagation);
    // Qt schedules the deletion with deleteLater() after the close handler has returned.
    setAttribute(Qt::WA_DeleteOnClose);
}

QVantelPopup::~QVantelPopup() = default;

void QVantelPopup::closeEvent(QCloseEvent *event)
{
    // A second close() before the deferred deletion must not report the closing again.
    if (!m_closeSignalled) {
        m_closeSignalled = true;
        emit popupClosed();
    }
    QFrame::closeEvent(event);
}

void QVantelPopup::keyPressEvent(QKeyEvent *event)
{
    forwardKey(event->key(), QVantelEvent::KeyPress, false);
}

void QVantelPopup::keyReleaseEvent(QKeyEvent *event)
{
    forwardKey(event->key(), QVantelEvent::KeyRelease, false);
}
