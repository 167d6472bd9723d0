#pragma once

#include "model/qvantelrouting.h"

#include <array>

// The matrix input on each of the four position buttons of headphone 1 (entries 0 to 3) and of
// headphone 2 (entries 4 to 7). The headphone pages write it whenever a position's input
// changes; the main page reads it to find which of its input buttons show an input whose name
// changed. Lives for the whole process and is not reset on disconnect. GUI thread only.
extern std::array<int, 8> headphonePositionInputs;

// The start values: the inputs of the default audio configurations "0203040E" and "0103040E".
inline constexpr std::array<int, 8> kDefaultHeadphonePositionInputs = {QVantel::Input2,
                                                                       QVantel::Input3,
                                                                       QVantel::Input4,
                                                                       QVantel::InputCoordReturn,
                                                                       QVantel::Input1,
                                                                       QVantel::Input3,
                                                                       QVantel::Input4,
                                                                       QVantel::InputCoordReturn};
