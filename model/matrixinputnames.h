#pragma once

#include <QString>
#include <QtGlobal>

// Bit of the device option word that marks a Dante module in place of AES67/RAVENNA.
inline constexpr quint32 kDeviceOptionDante = 0x400;

// The fixed display name of routing-matrix input `input` (translated in the context
// "QVantelLocalize"). The six audio-over-IP inputs read "DNT. n" when `deviceOptions` has
// kDeviceOptionDante set, else "RAV. n". Unknown inputs give "Invalid". Never fails.
[[nodiscard]] QString matrixInputName(int input, quint32 deviceOptions);
