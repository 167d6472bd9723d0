#pragma once

#include <QEvent>
#include <QPointer>
#include <QtGlobal>

class QObject;

// The front panel's own event (type QEvent::User, 1000). It carries a key that a control or
// popup did not use on to the front-panel window, or the window's notice to itself to handle
// its next queued device message.
//
// Always created on the heap and posted (QCoreApplication::postEvent), never sent; the event
// queue owns it from the post on and deletes it after delivery.
class QVantelEvent : public QEvent
{
public:
    static constexpr QEvent::Type kType = QEvent::User;

    enum SubType : qint32 {
        KeyPress = 6,
        KeyRelease = 7,
        DeviceMessage = 1000,
    };

    QVantelEvent(qint32 keyEventType, qint32 key, qint32 fromControl);
    ~QVantelEvent() override;

    // KeyPress, KeyRelease or DeviceMessage.
    const qint32 keyEventType;
    // The Qt key code of a key event; -1 for DeviceMessage.
    const qint32 key;
    // 1 when a control forwarded the key, 0 when a popup did or for DeviceMessage.
    const qint32 fromControl;
};

// The front-panel window, set once by the main window when it builds the front panel. Every
// control and popup of the kit hands the keys it does not use to this object. It is guarded so
// that a window already destroyed at shut-down is never posted to.
extern QPointer<QObject> frontPanelReceiver;

// Posts a QVantelEvent with the given sub-type (KeyPress or KeyRelease), key code and origin
// flag to frontPanelReceiver; does nothing while no receiver is set.
void forwardKey(int key, int keyEventType, bool fromControl);
