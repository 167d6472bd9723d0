#pragma once

#include "widgets/qvantelevent.h"

#include <QList>
#include <QObject>

// Stands in for the front-panel window in widget tests: records every QVantelEvent posted to it
// as {keyEventType, key, fromControl}, in the order of delivery.
class KeySink : public QObject
{
public:
    QList<QList<int>> events;

protected:
    void customEvent(QEvent *event) override
    {
        if (event->type() != QVantelEvent::kType)
            return;
        const auto *e = static_cast<const QVantelEvent *>(event);
        events.append({e->keyEventType, e->key, e->fromControl});
    }
};
