#pragma once

#include <QPixmap>
#include <QString>

// How a control that does nothing is drawn: its images at this opacity over the dark panel, so
// that a locked switch or row icon reads as locked beside live ones, the same on every page.
inline constexpr qreal kQVantelDisabledOpacity = 0.45;

// One of the program's own images (a resource or file whose name ends in its format, such as
// ".png"), read by the toolkit's built-in reader for that format and kept in the pixmap cache as
// QPixmap(path) keeps it.
//
// QPixmap(path) and QIcon(path) first offer every image to each installed image plug-in, which
// loads all of those plug-ins and their libraries on the first image painted, about a millisecond
// of the time to the first frame, for images that are all of one built-in format. A path without
// a suffix is read as QPixmap(path) reads it. A missing or unreadable image is a null pixmap.
[[nodiscard]] QPixmap qvantelPixmap(const QString &path);
