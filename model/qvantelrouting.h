#pragma once

#include <array>

// Numbering of the routing matrix shared by the device model and the front panel.
namespace QVantel {

// A matrix input, 0 to 25 on the device; the front panel also names the side-tone inputs 26 to 29.
// Inputs 17 and 25 carry no fixed name and no control of this program.
enum Inputs : int {
    Input1 = 0,
    Input2 = 1,
    Input3 = 2,
    Input4 = 3,
    InputAux1 = 4,
    InputAux2 = 5,
    InputAes1 = 6,
    InputAes2 = 7,
    InputUsb = 8,
    // The six audio-over-IP channels (RAVENNA or Dante), channel 1 first.
    InputAoip1 = 9,
    InputAoip2 = 10,
    InputMobile = 11,
    // The programme (left channel) and coordination returns.
    InputProgramReturn = 12,
    InputCoordReturn = 13,
    InputAoip3 = 14,
    InputAoip4 = 15,
    InputAoip5 = 16,
    InputAoip6 = 18,
    // The programme return's right channel.
    InputProgramReturnRight = 19,
    // The programme (left channel) and coordination sends.
    InputProgram = 20,
    InputCoord = 21,
    // The mix of headphone 4, left and right, as a source of the line and audio-over-IP outputs.
    InputHeadphone4Left = 22,
    InputHeadphone4Right = 23,
    // The programme send's right channel.
    InputProgramRight = 24,
    // The highest input a headphone mix carries.
    LastMixInput = 24,
    InputCount = 26,
    // The side tone of headphone h is the front panel's input InputSideTone + h.
    InputSideTone = 26,
};

// A matrix output, 0 to 19; headphone h (0 to 3) listens on outputs 2h+2 (left) and 2h+3 (right).
enum Outputs : int {
    // The programme (left channel) and the coordination line.
    OutputProgram = 0,
    OutputCoord = 1,
    OutputLine1 = 10,
    OutputUsb = 11,
    OutputAoip1 = 12,
    OutputAoip2 = 13,
    OutputLine2 = 14,
    // The programme's right channel.
    OutputProgramRight = 18,
    OutputCount = 20,
};

// The outputs of headphone h (0 to 3).
[[nodiscard]] constexpr Outputs headphoneLeftOutput(int headphone)
{
    return Outputs(2 * headphone + 2);
}
[[nodiscard]] constexpr Outputs headphoneRightOutput(int headphone)
{
    return Outputs(2 * headphone + 3);
}

// The programme and coordination sends and their returns, in input order: the inputs whose
// headphone cells carry a balance, and that the extended operation mode shows as stereo strips.
inline constexpr std::array<Inputs, 6> kProgramCoordInputs = {InputProgramReturn,
                                                              InputCoordReturn,
                                                              InputProgramReturnRight,
                                                              InputProgram,
                                                              InputCoord,
                                                              InputProgramRight};

// The stereo programme's right channel; PROGRAM and its return carry the left one.
inline constexpr std::array<Inputs, 2> kProgramRightChannel
    = {InputProgramRight, InputProgramReturnRight};

// The inputs a headphone page's PROGRAM strip takes along when it is turned, in the order they
// are written: the return and the right channel.
inline constexpr std::array<Inputs, 3> kProgramDraggedInputs
    = {InputProgramReturn, InputProgramRight, InputProgramReturnRight};
// The input a headphone page's COORD strip takes along: its return.
inline constexpr std::array<Inputs, 1> kCoordDraggedInputs = {InputCoordReturn};

// Panning flags of a matrix node: bit 0 left, bit 1 right, bit 2 programme split.
enum PanCtrl : int {
    PanNone = 0,
    PanLeft = 1,
    PanRight = 2,
    PanBoth = 3,
    PanStereo = 4,
};

} // namespace QVantel
