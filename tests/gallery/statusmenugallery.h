#pragma once

#include <QString>

// The settings menu's Status page and a mobile interface's status page, built against the demo
// unit, each on its own sheet in folder. False when a sheet could not be written or the demo
// unit could not be reached.
bool statusMenuPages(const QString &folder);
