#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// A device message as the fake unit sees it: a type word, the key/value pairs in the order of
// the text, and the GET and LIST names. Written apart from the product's message class so that a
// misreading shared by both sides cannot hide in a test.
//
// Text form: the type word ("PARAM", "DO", "INFO", "EVENT") and ";", then "key:value;" for each
// pair with every ";" and "\" of a value escaped by a backslash, then "GET:name;" and
// "LIST:name;" entries. Texts are held as decoded UTF-8; bytes that are not UTF-8 are kept in
// the request log's raw body.
struct FakeMessage
{
    enum Type { None = 0, Param = 1, Do = 2, Info = 3, Event = 4 };

    int type = None;
    QList<QPair<QString, QString>> params;
    QStringList gets;
    QStringList lists;

    FakeMessage() = default;
    explicit FakeMessage(int messageType, const QList<QPair<QString, QString>> &pairs = {});

    // "PARAM", "DO", "INFO", "EVENT", or an empty text for any other type.
    QString typeWord() const;
    static int typeFromWord(const QString &word);

    bool has(const QString &key) const;
    // The first value given for key, empty when the key is absent.
    QString value(const QString &key) const;
    // Replaces the first value of key, or appends the pair when the key is absent.
    void set(const QString &key, const QString &value);
    // Removes every pair with this key.
    void remove(const QString &key);

    // The text form; empty for a type outside 1 to 4.
    QByteArray toText() const;
    // Reads a text form. Leading ";" are skipped; the type word must be one of the four exactly.
    // A segment without ":" becomes a key with an empty value; "GET:" and "LIST:" with an empty
    // name add nothing. Returns nothing for a missing or unknown type word.
    static std::optional<FakeMessage> fromText(const QByteArray &text);

    // Escapes ";" and "\" with a backslash, as values are written.
    static QString escapeValue(const QString &value);
    // Joins list items with "," escaping "," and "\" in each item, as LIST answers carry them.
    static QString joinList(const QStringList &items);
    // Splits a LIST value at unescaped commas; an empty text gives no items.
    static QStringList splitList(const QString &text);

    bool operator==(const FakeMessage &other) const;
    bool operator!=(const FakeMessage &other) const { return !(*this == other); }
};
