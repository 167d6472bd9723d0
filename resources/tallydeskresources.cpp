#include "resources/tallydeskresources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must not stand inside a namespace.
static bool registerResources()
{
    Q_INIT_RESOURCE(tallydesk);
    return true;
}

void initTallydeskResources()
{
    static const bool registered = registerResources();
    Q_UNUSED(registered);
}
