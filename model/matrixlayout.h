#pragma once

// The layout of the unit's matrix rows, shared by the source files of TMatrixSettings.

#include "model/matrixsettings.h"
#include "model/qvantelrouting.h"

#include <array>
#include <string>

namespace MatrixLayout {

// The firmware that brought each part of the matrix: 1.6 "matrix_mgn"; 1.7 inputs 15 to 18,
// output rows 14 and 15 and the longer mix rows; 1.8 "matrix_vol"; 1.13 input row 18 and the
// longest mix rows; 2.0 "matrix_bal" and four-digit input row words.

inline constexpr double kOffDb = -160.0;

// The "matrix_bal" row carries these inputs, in this order.
inline constexpr const auto &kBalanceInputs = QVantel::kProgramCoordInputs;

// The first input whose row holds its gain.
inline constexpr int kFirstRowGainInput = QVantel::InputAux1;

// The input each bit of an output row stands for, bit 0 first.
inline constexpr std::array<int, 8> kOutputRowInputs = {QVantel::InputProgram,
                                                        QVantel::InputCoord,
                                                        QVantel::InputProgramReturn,
                                                        QVantel::InputCoordReturn,
                                                        QVantel::InputHeadphone4Left,
                                                        QVantel::InputHeadphone4Right,
                                                        QVantel::InputProgramRight,
                                                        QVantel::InputProgramReturnRight};
inline constexpr int kFirstOutputRow = 10;
inline constexpr int kLastOutputRow = 14;

inline std::string numberedKey(const std::string &prefix, int number)
{
    return prefix + std::to_string(number);
}

inline bool isHeadphoneOutput(int output)
{
    return output >= QVantel::headphoneLeftOutput(0)
           && output <= QVantel::headphoneRightOutput(TMatrixSettings::HeadphoneCount - 1);
}

// Whether output is one of the two of headphone.
inline bool isOutputOfHeadphone(int output, int headphone)
{
    return output == QVantel::headphoneLeftOutput(headphone)
           || output == QVantel::headphoneRightOutput(headphone);
}

} // namespace MatrixLayout
