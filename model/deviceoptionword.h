#pragma once

#include <QtGlobal>

// The connected device's option word (the TComDevice::DeviceOption bits of its "device_opts"),
// published for everything that names inputs and interfaces after the device's options. 0 at
// program start; written by the device model whenever it reads the options and set back to 0
// when the device model goes; tests set it directly. GUI thread only.
extern quint32 deviceOptionWord;
