// Feeds arbitrary sequences of device messages (one message text per line) to the device root as
// the front-panel window hands INFO and EVENT messages over. Nothing is connected, so nothing is
// sent. Whatever arrives, the connection map must keep its invariants: every connection has an
// id other than -1, a network, the device as owner, and sits under its own id.

#include "link/cmsg.h"
#include "model/combaseconnection.h"
#include "model/comdevice.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    TComDevice device(nullptr);
    size_t start = 0;
    while (start <= input.size()) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos)
            end = input.size();
        ksm::CMsg msg;
        if (ksm::CMsg::parse(input.substr(start, end - start), msg) == 0) {
            if (msg.type() == ksm::CMsg::Info)
                (void)device.handleInfo(msg);
            else
                (void)device.handleEvent(msg);
        }
        start = end + 1;
    }
    for (const auto &[id, connection] : device.connections()) {
        if (id == -1 || connection->id() != id || connection->network().empty()
            || connection->owner() != &device) {
            std::abort();
        }
    }
    (void)device.audioRouting();
    (void)device.currentAudioRouting();
    return 0;
}
