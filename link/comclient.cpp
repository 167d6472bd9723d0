#include "link/comclient.h"

#include "link/ccom.h"
#include "link/sharedobjects.h"

ksm::CCom *comClient()
{
    static SharedObject<ksm::CCom> client;
    return client.instance();
}
