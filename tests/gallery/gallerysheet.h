#pragma once

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <cstdio>

// Shows sheet, lets it paint, and saves its picture as folder/name in PNG. Prints the path
// written, or the reason on stderr; false when nothing was written.
inline bool writeSheet(const QString &folder, const QString &name, QWidget &sheet)
{
    sheet.show();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name);
    const QPixmap picture = sheet.grab();
    if (picture.isNull() || !picture.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}
