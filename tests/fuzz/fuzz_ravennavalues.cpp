// Feeds arbitrary device messages to the RAVENNA controller's value reader and arbitrary texts
// to the stream-reference reader. Aborts when a stream reference that was read does not survive
// its own text form (as sent to the device) read back.

#include "link/cmsg.h"
#include "link/valueconversions.h"
#include "model/comravennacontroller.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);

    TComRavennaController::StreamRef stream;
    if (stream.parse(text)) {
        TComRavennaController::StreamRef again;
        if (!again.parse(latin1ToUtf8(stream.toText())) || !again.sameStream(stream))
            std::abort();
    }

    ksm::CMsg msg;
    if (ksm::CMsg::parse(text, msg) == 0) {
        TComRavennaController controller(nullptr);
        (void)controller.applyParams(msg.params());
        std::vector<std::string> keys;
        for (const auto &entry : msg.params())
            keys.push_back(entry.first);
        // Without a client nothing is sent; the wire forms are still built.
        (void)controller.write(keys);
    }
    return 0;
}
