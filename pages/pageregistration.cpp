#include "pages/pageregistration.h"

void registerPages()
{
    registerAudioPages();
    registerHeadphonePages();
}
