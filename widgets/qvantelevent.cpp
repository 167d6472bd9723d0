#include "widgets/qvantelevent.h"

#include <QCoreApplication>

QPointer<QObject> frontPanelReceiver;

QVantelEvent::QVantelEvent(qint32 keyEventType_, qint32 key_, qint32 fromControl_)
    : QEvent(kType)
    , keyEventType(keyEventType_)
    , key(key_)
    , fromControl(fromControl_)
{}

QVantelEvent::~QVantelEvent() = default;

void forwardKey(int key, int keyEventType, bool fromControl)
{
    if (QObject *receiver = frontPanelReceiver.data())
        QCoreApplication::postEvent(receiver,
                                    new QVantelEvent(keyEventType, key, fromControl ? 1 : 0));
}
