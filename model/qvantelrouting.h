#pragma once

// Numbering of the routing matrix shared by the device model and the front panel.
namespace QVantel {

// A matrix input, 0 to 25 on the device; the front panel also names the side-tone inputs 26 to 29.
enum Inputs : int {
    InputCount = 26,
};

// A matrix output, 0 to 19; headphone h (0 to 3) listens on outputs 2h+2 (left) and 2h+3 (right).
enum Outputs : int {
    OutputCount = 20,
};

// Panning flags of a matrix node: bit 0 left, bit 1 right, bit 2 programme split.
enum PanCtrl : int {
    PanNone = 0,
    PanLeft = 1,
    PanRight = 2,
    PanBoth = 3,
    PanStereo = 4,
};

} // namespace QVantel
