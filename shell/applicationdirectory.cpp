#include "shell/applicationdirectory.h"

#include <QCoreApplication>

namespace {
QString &overridePath()
{
    static QString path;
    return path;
}
} // namespace

QString applicationDirectory()
{
    const QString &path = overridePath();
    return path.isEmpty() ? QCoreApplication::applicationDirPath() : path;
}

void setApplicationDirectory(const QString &path)
{
    overridePath() = path;
}
