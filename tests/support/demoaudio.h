#pragma once

class FakeQuorix;

// The demo unit's audio settings ("target" "audio"): input gains, line levels, phantom power,
// limiters, pads, filters and pair flags, and an auxiliary board with analogue inputs. Stored
// like any other value, so what the program writes is what the next read returns.
void fillAudioDemoValues(FakeQuorix &fake);
