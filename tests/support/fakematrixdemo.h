#pragma once

class FakeQuorix;

// The demo unit's routing matrix ("target" "audio"): the input and output rows, the four
// headphone mixes with their balances and audio configurations, and the volume word. The rows
// are stored like any other value, so what the program writes back (a mix built by hand on a
// headphone page) is what the next read returns.
void fillMatrixDemoValues(FakeQuorix &fake);
