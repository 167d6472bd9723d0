#pragma once

#include <QString>

// Renders the audio pages (input gains in standard and extended mode, input, auxiliary and
// output pages) as the window shows them, with a model filled as after a login.
bool audioPages(const QString &folder);
