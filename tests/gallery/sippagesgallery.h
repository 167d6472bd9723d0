#pragma once

#include <QString>

// The settings menu's SIP settings page and its two SIP account pages, built against an
// in-process demo unit, each on its own sheet in folder. False when a sheet could not be written
// or the demo unit could not be reached.
bool sipPages(const QString &folder);
