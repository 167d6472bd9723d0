#include "link/logtext.h"

#include <QDebug>

QString logQuoted(const QString &text)
{
    QString out;
    out.reserve(text.size() + 3);
    out += QLatin1Char('"');
    out += text;
    out += QLatin1String("\" ");
    return out;
}

void logDebug(const QString &text)
{
    qDebug().noquote().nospace() << logQuoted(text);
}

void logWarning(const QString &text)
{
    qWarning().noquote().nospace() << logQuoted(text);
}

void logCritical(const QString &text)
{
    qCritical().noquote().nospace() << logQuoted(text);
}
