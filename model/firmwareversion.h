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
