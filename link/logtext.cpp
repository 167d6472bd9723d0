#include "link/logtext.h"

#include <QDebug>
#include <QLoggingCategory>

#include <atomic>

namespace {
std::atomic<bool> s_debugWritten{true};
} // namespace

bool logDebugEnabled()
{
    if (!s_debugWritten.load(std::memory_order_relaxed))
        return false;
    const QLoggingCategory *category = QLoggingCategory::defaultCategory();
    return category && category->isDebugEnabled();
}

void setLogDebugWritten(bool written)
{
    s_debugWritten.store(written, std::memory_order_relaxed);
}

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
    if (!logDebugEnabled())
        return;
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

QString logBody(const std::string &text)
{
    if (text.size() <= kMaxLoggedBodyBytes)
        return QString::fromStdString(text);
    std::size_t end = kMaxLoggedBodyBytes;
    // Back to the start of a UTF-8 sequence, so no character is cut in half.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return QString::fromUtf8(text.data(), qsizetype(end))
           + QStringLiteral(" [cut, %1 bytes in all]").arg(text.size());
}
