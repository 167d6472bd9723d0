#pragma once

#include <QString>

// The directory that holds the configuration file ("Tallydesk.xml") and the "logs" directory:
// the program's own directory unless a test has pointed it elsewhere.
[[nodiscard]] QString applicationDirectory();

// Points applicationDirectory() at path; an empty path goes back to the program's directory.
// For tests, which must not write beside the test program.
void setApplicationDirectory(const QString &path);
