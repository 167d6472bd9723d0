#pragma once

#include <QtGlobal>

// The value of firmwareVersion while no version is known. It compares above every version
// threshold, so every version-gated key and function is on.
inline constexpr quint32 kFirmwareVersionUnknown = 0xFFFFFF;

// The connected device's firmware version, packed as major << 16 | minor << 8 | patch (8 bits
// each). kFirmwareVersionUnknown at program start and when the device reports no version;
// written by the login only and read by the model to decide which keys it reads and writes.
// GUI thread only.
extern quint32 firmwareVersion;

// A firmware version spelt as major, minor and patch, packed as firmwareVersion is.
[[nodiscard]] constexpr quint32 firmwareVersionOf(quint32 major, quint32 minor, quint32 patch = 0)
{
    return major << 16 | minor << 8 | patch;
}

// The release of a packed version: its major and minor parts, the patch dropped.
[[nodiscard]] constexpr quint32 firmwareRelease(quint32 version)
{
    return version & 0xFFFF00U;
}

// True when the connected device runs version or a later one; always true while the version is
// unknown.
[[nodiscard]] inline bool firmwareAtLeast(quint32 version)
{
    return firmwareVersion >= version;
}

// The firmware gates that several keys or functions share: each names the first version that
// has them. A gate used in one place only is spelt there with firmwareVersionOf().
inline constexpr quint32 kFirmware1_6 = firmwareVersionOf(1, 6);
inline constexpr quint32 kFirmware1_7 = firmwareVersionOf(1, 7);
inline constexpr quint32 kFirmware1_7_2 = firmwareVersionOf(1, 7, 2);
inline constexpr quint32 kFirmware1_7_4 = firmwareVersionOf(1, 7, 4);
inline constexpr quint32 kFirmware1_8_2 = firmwareVersionOf(1, 8, 2);
inline constexpr quint32 kFirmware1_8 = firmwareVersionOf(1, 8);
inline constexpr quint32 kFirmware1_10 = firmwareVersionOf(1, 10);
inline constexpr quint32 kFirmware1_10_1 = firmwareVersionOf(1, 10, 1);
inline constexpr quint32 kFirmware1_12 = firmwareVersionOf(1, 12);
inline constexpr quint32 kFirmware1_13 = firmwareVersionOf(1, 13);
inline constexpr quint32 kFirmware1_14 = firmwareVersionOf(1, 14);
inline constexpr quint32 kFirmware1_15 = firmwareVersionOf(1, 15);
inline constexpr quint32 kFirmware1_17 = firmwareVersionOf(1, 17);
inline constexpr quint32 kFirmware2_0 = firmwareVersionOf(2, 0);
