// Feeds arbitrary device messages to the audio settings and the routing matrix as INFO
// "audio_changeset" would deliver them. Nothing is connected, so nothing is sent; a received row
// must never read past its text, index outside the tables, or leave the balance table.

#include "link/cmsg.h"
#include "model/audiosettings.h"
#include "model/matrixsettings.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    ksm::CMsg msg;
    if (ksm::CMsg::parse(text, msg) != 0)
        return 0;

    TAudioSettings audio(nullptr);
    (void)audio.handleInfo(msg);
    (void)audio.applyParams(msg.params());

    TMatrixSettings matrix(nullptr);
    matrix.setOperationMode(1);
    (void)matrix.handleInfo(msg);
    (void)matrix.applyParams(msg.params());
    for (int input = 0; input < TMatrixSettings::InputCount; ++input) {
        for (int output = 0; output < TMatrixSettings::OutputCount; ++output) {
            const double offset = matrix.balanceOffset(input, output);
            if (offset > 0.0 || offset < -70.0)
                std::abort();
        }
    }
    return 0;
}
