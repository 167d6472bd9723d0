// Feeds arbitrary bytes to the coding-settings reader. Aborts when a setting read from text does
// not keep its text form through a second write and read.

#include "link/codecconfig.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const TCodecConfig first = codecConfigFromString(text);
    const std::string written = codecConfigToString(first);
    (void)fecFromString(text);

    // An unknown channel mode has no word and cannot be written faithfully.
    if (first.algorithm < 0 || first.channelMode < 0)
        return 0;
    const TCodecConfig second = codecConfigFromString(written);
    if (codecConfigToString(second) != written)
        std::abort();
    return 0;
}
