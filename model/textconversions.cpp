#include "model/textconversions.h"

#include "link/valueconversions.h"

#include <QByteArray>

std::string toStdString(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString toQString(const std::string &bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string toDeviceString(const QString &text)
{
    return latin1ToUtf8(toStdString(text));
}

QString fromDeviceString(const std::string &bytes)
{
    return toQString(utf8ToLatin1(bytes));
}
