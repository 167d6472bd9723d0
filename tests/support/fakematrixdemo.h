#pragma once

#include <set>

class FakeQuorix;
class QString;

// The demo unit's routing matrix ("target" "audio"): the input and output rows, the four
// headphone mixes with their balances and audio configurations, the master-gain and the volume
// words. The rows are stored like any other value, so what the program writes back (a mix built
// by hand on a headphone page) is what the next read returns.
//
// The input rows carry four-digit words, as units from 2.0 on write them and some older units
// send them too; FAKE_QUORIX_INPUT_WORD=2 gives them the two digits older firmware writes.
void fillMatrixDemoValues(FakeQuorix &fake);

// The inputs whose byte differs between two "matrix_hp" rows of headphone h (0 to 3), over the
// inputs both rows hold: one byte per input 0 to 24, without 11, 22, 23 and the headphone's own
// microphone (input h).
std::set<int> changedMixInputs(int headphone, const QString &before, const QString &after);
