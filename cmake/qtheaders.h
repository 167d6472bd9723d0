// The Qt headers precompiled for the targets (see tallydesk_use_pch): only the modules a target
// links are on its include path, so each one is taken only where it can be found.
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
#if __has_include(<QtTest>)
#include <QtTest>
#endif
