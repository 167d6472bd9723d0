#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ksm {

// The device message: a type, a key-to-value map, a GET list and a LIST list. It is the body of
// every frame the transport carries and the unit in which requests are built and replies read.
//
// Plain value type: copies copy every member, self-assignment is a no-op, nothing is shared
// between messages except the process-wide empty text that param() may return. Texts are byte
// strings; the device speaks UTF-8, so callers holding Latin-1 text convert with latin1ToUtf8()
// before setParam() and with utf8ToLatin1() after param().
//
// Text form (serialize/parse): the type word and ";", then for each parameter in key order
// "key:value;" with ";" and "\" in the value escaped by a backslash, then "GET:name;" and
// "LIST:name;" entries in insertion order. Keys and names are written as they are.
class CMsg
{
public:
    enum MsgType { None = 0, Param = 1, Do = 2, Info = 3, Event = 4 };

    // How setParam() and merge() treat a key that is already present.
    enum SetMode {
        KeepFirst = 0, // the old value stays
        Replace = 1,   // the new value replaces the old one
        Append = 2     // separator and new value are appended to a non-empty old value
    };

    using ParamMap = std::map<std::string, std::string>;

    explicit CMsg(int type = None);
    CMsg(const CMsg &other);
    CMsg(CMsg &&other) noexcept = default;
    CMsg &operator=(const CMsg &other);
    CMsg &operator=(CMsg &&other) noexcept = default;
    ~CMsg() = default;

    // Sets the type and empties params, gets and lists, so one object can be reused.
    void clear(int type = None);
    // Copies type, params, gets and lists from other; a no-op when other is this message.
    void assign(const CMsg &other);

    int type() const { return m_type; }
    void setType(int type) { m_type = type; }
    // Ordered by byte-wise comparison of the keys; each key at most once.
    const ParamMap &params() const { return m_params; }
    // Names of GET and LIST entries in insertion order; never holds an empty name.
    const std::vector<std::string> &gets() const { return m_gets; }
    const std::vector<std::string> &lists() const { return m_lists; }

    // An absent key is inserted with the value in every mode. For a present key: KeepFirst keeps
    // the old value, Append appends separator and value to a non-empty old value (and replaces an
    // empty one), any other mode replaces the value.
    void setParam(const std::string &key,
                  const std::string &value,
                  int mode = KeepFirst,
                  char separator = ',');
    // Append a name to gets or lists; an empty name is ignored.
    void addGet(const std::string &name);
    void addList(const std::string &name);

    // The stored value of key. When the key is absent: a pointer to one shared, process-wide
    // empty text if emptyIfMissing is true, else nullptr.
    const std::string *param(const std::string &key, bool emptyIfMissing = true) const;
    // The stored value of key, or the shared empty text when the key is absent.
    const std::string &value(const std::string &key) const { return *param(key, true); }

    // Takes every parameter of other, in other's key order: with KeepFirst only keys absent here
    // are inserted; any other mode goes through the setParam() rule of that mode. The type, gets
    // and lists of this message are not touched. Used to join the parts of a reply.
    void merge(const CMsg &other, int mode = KeepFirst, char separator = ',');

    // What a PARAM request asks for: 3 when lists is not empty; else 1 when gets is not empty or
    // there are no params; else 0 when a "target" parameter is present; else 2 when there is no
    // "cat" parameter; else 0.
    int classify() const;
    // causeCodeFromText() of the "cause" parameter (200 when it is missing).
    int causeCode() const;
    // causeCodeFromText() of any parameter (200 when it is missing).
    int paramCauseCode(const std::string &key) const;

    // Writes the text form into out (replacing its content) and returns 0; a type outside 1 to 4
    // returns -1 and leaves out unchanged.
    [[nodiscard]] int serialize(std::string &out) const;
    // The most parameters, GET and LIST entries together that a parsed message may hold. No
    // message of the device comes near it; a text with more is taken for a broken one rather
    // than held in memory (each entry costs about a hundred bytes beside its text).
    static constexpr std::size_t kMaxEntries = 10000;

    // What parse() returns for a text with more than kMaxEntries entries.
    static constexpr int TooManyEntries = -2;

    // Reads a text form into out and returns 0. A missing or unknown type word (the words are
    // case-sensitive) returns -1, more than kMaxEntries entries TooManyEntries; both leave out
    // cleared to type 0.
    // Leading ";" are skipped, empty segments never arise, of two equal keys the first value
    // wins, a backslash that ends the text is dropped; nothing else behind a valid type word makes
    // parsing fail.
    [[nodiscard]] static int parse(std::string_view text, CMsg &out);

    // The text form for log lines: the same as serialize(), except that the values of secret
    // keys are written as "***": keys named "pin" or "puk", keys whose name contains "pass",
    // "pwd", "secret" or "psk", and keys with a word ending in "key" (all case-insensitive). A
    // type outside 1 to 4 is written as "#<type>" in place of the type word.
    std::string toLogString() const;

    // True when type, params, gets and lists are all equal.
    bool operator==(const CMsg &other) const;
    bool operator!=(const CMsg &other) const { return !(*this == other); }

private:
    void write(std::string &out, bool maskSecrets) const;
    // True while the entries stay within kMaxEntries; past it clears the message to type 0.
    bool withinEntryLimit();
    // Stores one unescaped segment of a text being parsed; spare holds nodes to reuse.
    void addSegment(std::string_view segment, ParamMap &spare);
    // Inserts key unless it is present already, reusing a node of spare when there is one.
    void insertFirst(std::string_view key, std::string_view value, ParamMap &spare);

    int m_type = None;
    ParamMap m_params;
    std::vector<std::string> m_gets;
    std::vector<std::string> m_lists;
};

} // namespace ksm

// Escaped lists: items joined by a separator, with the separator and "\" inside an item escaped
// by a backslash (the same escaping rule as the message's values).

// Appends in to out, with a backslash before each character of in that occurs in chars and before
// each backslash.
void appendEscaped(const std::string &in, std::string &out, const std::string &chars);

// From pos, appends to out the text up to the next delimiter that is not escaped, dropping each
// escaping backslash and keeping the character behind it. Returns the position just behind that
// delimiter, or -1 when the text ended first (out then holds the rest; a lone backslash at the
// very end is dropped). A pos of -1, or one outside the text, returns -1 at once.
int extractEscaped(const std::string &in, std::string &out, int pos, const std::string &delimiters);

// Append the items to out, each escaped for "," (or "/"), separated by "," (or "/"). An empty
// vector leaves out unchanged.
void joinCommaList(const std::vector<std::string> &items, std::string &out);
void joinSlashList(const std::vector<std::string> &items, std::string &out);

// Append the fields of an escaped list to out, unescaped: an empty text adds nothing, "a,b,"
// gives "a", "b" and "", and "," gives two empty fields.
void splitCommaList(const std::string &text, std::vector<std::string> &out);
void splitSlashList(const std::string &text, std::vector<std::string> &out);
