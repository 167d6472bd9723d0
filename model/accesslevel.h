#pragma once

#include <QtGlobal>

// The access levels a user logs in at. A higher level is a wider right, so levels compare
// with < and >=.
enum class AccessLevel : qint32 {
    Operator = 0,
    Expert = 1,
    Administrator = 2,
};

// The level of the logged-in user: Operator at program start, set by the login and by the
// settings menu's access-level item, kept across disconnects. GUI thread only.
extern AccessLevel accessLevel;
