#pragma once

#include <QString>

// The product's name and version as the window title and the about box show them.
inline QString productTitle()
{
    return QStringLiteral("My Quorix (LAN Edition)");
}

inline QString productVersion()
{
    return QStringLiteral("2.00.0.5197");
}
