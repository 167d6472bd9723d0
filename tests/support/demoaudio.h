#pragma once

#include <QString>

class FakeQuorix;

// The demo unit's audio settings ("target" "audio"): input gains, line levels, phantom power,
// limiters, pads, filters and pair flags, and an auxiliary board with analogue inputs. Stored
// like any other value, so what the program writes is what the next read returns.
void fillAudioDemoValues(FakeQuorix &fake);

// The value of "in1" to "in11" (input 1 to 11) in the level report of tick: an attenuation from 0
// (loudest) to 30 (silence, the input meters' scale) that rises and falls at its own pace per
// input, so every meter of the audio page moves.
[[nodiscard]] QString demoInputLevel(int input, int tick);
