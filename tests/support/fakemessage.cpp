#include "fakemessage.h"

namespace {

const char *const kTypeWords[] = {nullptr, "PARAM", "DO", "INFO", "EVENT"};

// Appends text to out with a backslash before each character in special and each backslash.
// The runs between them are copied whole: a value may be megabytes long.
void appendEscaped(QString &out, const QString &text, QChar special)
{
    const QChar backslash(QLatin1Char('\\'));
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype next = text.indexOf(backslash, from);
        const qsizetype other = text.indexOf(special, from);
        if (next < 0 || (other >= 0 && other < next))
            next = other;
        if (next < 0)
            break;
        out += QStringView(text).mid(from, next - from);
        out += backslash;
        out += text.at(next);
        from = next + 1;
    }
    out += QStringView(text).mid(from);
}

} // namespace

FakeMessage::FakeMessage(int messageType, const QList<QPair<QString, QString>> &pairs)
    : type(messageType)
    , params(pairs)
{}

QString FakeMessage::typeWord() const
{
    if (type < Param || type > Event)
        return {};
    return QString::fromLatin1(kTypeWords[type]);
}

int FakeMessage::typeFromWord(const QString &word)
{
    for (int t = Param; t <= Event; ++t) {
        if (word == QLatin1String(kTypeWords[t]))
            return t;
    }
    return None;
}

bool FakeMessage::has(const QString &key) const
{
    for (const auto &pair : params) {
        if (pair.first == key)
            return true;
    }
    return false;
}

QString FakeMessage::value(const QString &key) const
{
    for (const auto &pair : params) {
        if (pair.first == key)
            return pair.second;
    }
    return {};
}

void FakeMessage::set(const QString &key, const QString &newValue)
{
    for (auto &pair : params) {
        if (pair.first == key) {
            pair.second = newValue;
            return;
        }
    }
    params.append({key, newValue});
}

void FakeMessage::remove(const QString &key)
{
    params.removeIf([&key](const QPair<QString, QString> &pair) { return pair.first == key; });
}

QByteArray FakeMessage::toText() const
{
    if (type < Param || type > Event)
        return {};
    QString text = typeWord() + QLatin1Char(';');
    for (const auto &pair : params) {
        text += pair.first + QLatin1Char(':');
        appendEscaped(text, pair.second, QLatin1Char(';'));
        text += QLatin1Char(';');
    }
    for (const QString &name : gets)
        text += QLatin1String("GET:") + name + QLatin1Char(';');
    for (const QString &name : lists)
        text += QLatin1String("LIST:") + name + QLatin1Char(';');
    return text.toUtf8();
}

std::optional<FakeMessage> FakeMessage::fromText(const QByteArray &text)
{
    const qsizetype size = text.size();
    qsizetype pos = 0;
    while (pos < size && text.at(pos) == ';')
        ++pos;
    const qsizetype wordEnd = text.indexOf(';', pos);
    if (wordEnd < 0 || wordEnd == pos)
        return std::nullopt;
    FakeMessage message;
    message.type = typeFromWord(QString::fromLatin1(text.mid(pos, wordEnd - pos)));
    if (message.type == None)
        return std::nullopt;

    // Segments: a backslash takes the next byte literally; an unescaped ";" ends a segment.
    pos = wordEnd + 1;
    while (pos < size) {
        while (pos < size && text.at(pos) == ';')
            ++pos;
        if (pos >= size)
            break;
        QByteArray segment;
        qsizetype firstColon = -1;
        while (pos < size && text.at(pos) != ';') {
            char c = text.at(pos++);
            if (c == '\\') {
                if (pos >= size)
                    break; // a lone trailing backslash escapes nothing
                c = text.at(pos++);
            } else if (c == ':' && firstColon < 0 && !segment.isEmpty()) {
                firstColon = segment.size();
            }
            if (c == ':' && segment.isEmpty())
                continue; // leading colons carry no name
            segment += c;
        }
        QString name;
        QString value;
        if (firstColon < 0) {
            name = QString::fromUtf8(segment);
        } else {
            name = QString::fromUtf8(segment.left(firstColon));
            value = QString::fromUtf8(segment.mid(firstColon + 1));
        }
        if (name == QLatin1String("GET")) {
            if (!value.isEmpty())
                message.gets.append(value);
        } else if (name == QLatin1String("LIST")) {
            if (!value.isEmpty())
                message.lists.append(value);
        } else if (!name.isEmpty()) {
            message.params.append({name, value});
        }
    }
    return message;
}

QString FakeMessage::escapeValue(const QString &value)
{
    QString out;
    appendEscaped(out, value, QLatin1Char(';'));
    return out;
}

QString FakeMessage::joinList(const QStringList &items)
{
    QString out;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(',');
        appendEscaped(out, items.at(i), QLatin1Char(','));
    }
    return out;
}

QStringList FakeMessage::splitList(const QString &text)
{
    QStringList items;
    if (text.isEmpty())
        return items;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\')) {
            if (i + 1 < text.size())
                current += text.at(++i);
        } else if (c == QLatin1Char(',')) {
            items.append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    items.append(current);
    return items;
}

bool FakeMessage::operator==(const FakeMessage &other) const
{
    return type == other.type && params == other.params && gets == other.gets
           && lists == other.lists;
}
