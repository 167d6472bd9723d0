#include "model/firmwareversion.h"

quint32 firmwareVersion = kFirmwareVersionUnknown;
