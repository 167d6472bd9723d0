#pragma once

class FakeQuorix;

// The demo unit's audio side: input gains, pads, phantom power and routing flags of the audio
// settings, the matrix options and master gains, the operation mode, and the option words of a
// unit with an auxiliary board whose AUX 2 and AES inputs share a connection and which carries
// an audio-over-IP module.
void fillAudioDemoValues(FakeQuorix &fake);

// The input levels of one level report at tick, for the keys "in1" to "in11": attenuations
// from 0 (loudest) to 30 (silence) that rise and fall at different paces, so every meter moves.
[[nodiscard]] int demoInputLevel(int input, int tick);
