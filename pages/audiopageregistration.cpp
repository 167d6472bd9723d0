#include "pages/pageregistration.h"

void registerAudioPages()
{
}
