#pragma once

#include <QString>

// The settings menu's Network page and interface pages, built against an in-process demo unit,
// each on its own sheet in folder. False when a sheet could not be written or the demo unit
// could not be reached.
bool networkPages(const QString &folder);
