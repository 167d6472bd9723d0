// The Qt headers precompiled for each library (see tallydesk_add_library): only the modules the
// library links are on its include path, so each one is taken only where it can be found.
#pragma once

#include <QtCore>
#if __has_include(<QtNetwork>)
#include <QtNetwork>
#endif
#if __has_include(<QtGui>)
#include <QtGui>
#endif
#if __has_include(<QtWidgets>)
#include <QtWidgets>
#endif
