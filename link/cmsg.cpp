#include "link/cmsg.h"

#include "link/protocolkeys.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

const char kTypeParam[] = "PARAM";
const char kTypeDo[] = "DO";
const char kTypeInfo[] = "INFO";
const char kTypeEvent[] = "EVENT";
const char kNameGet[] = "GET";
const char kNameList[] = "LIST";
const char kMasked[] = "***";

const char *typeWord(int type)
{
    switch (type) {
    case ksm::CMsg::Param:
        return kTypeParam;
    case ksm::CMsg::Do:
        return kTypeDo;
    case ksm::CMsg::Info:
        return kTypeInfo;
    case ksm::CMsg::Event:
        return kTypeEvent;
    default:
        return nullptr;
    }
}

// Type of the word text[begin, end), 0 when it is none of the four words (case-sensitive).
int typeFromWord(std::string_view text, size_t begin, size_t end)
{
    const size_t length = end - begin;
    for (int type = ksm::CMsg::Param; type <= ksm::CMsg::Event; ++type) {
        const char *word = typeWord(type);
        if (std::strlen(word) == length && text.compare(begin, length, word) == 0)
            return type;
    }
    return ksm::CMsg::None;
}

// The first c in [from, end), or end.
const char *findChar(const char *from, const char *end, char c)
{
    const void *found = std::memchr(from, c, std::size_t(end - from));
    return found ? static_cast<const char *>(found) : end;
}

void appendValueEscaped(const std::string &value, std::string &out)
{
    // The runs between the characters to escape are copied whole: a value the unit sends may be
    // megabytes long, and every reply is written out for the log.
    const char *from = value.data();
    const char *const end = from + value.size();
    const char *semicolon = findChar(from, end, ';');
    const char *backslash = findChar(from, end, '\\');
    while (semicolon != end || backslash != end) {
        const char *next = std::min(semicolon, backslash);
        out.append(from, next);
        out += '\\';
        out += *next;
        from = next + 1;
        if (next == semicolon)
            semicolon = findChar(from, end, ';');
        else
            backslash = findChar(from, end, '\\');
    }
    out.append(from, end);
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoreCase(const std::string &text, const char *word)
{
    const size_t length = std::strlen(word);
    if (text.size() != length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (asciiLower(text[i]) != word[i])
            return false;
    }
    return true;
}

bool containsIgnoreCase(const std::string &text, const char *word)
{
    const size_t length = std::strlen(word);
    if (text.size() < length)
        return false;
    for (size_t start = 0; start + length <= text.size(); ++start) {
        size_t i = 0;
        while (i < length && asciiLower(text[start + i]) == word[i])
            ++i;
        if (i == length)
            return true;
    }
    return false;
}

// True when one of the key's words ends in "key" ("wep_key", "privkey", "pskKeyId"). Words are
// runs of letters; a capital after a small letter starts a new one. "keys" and "keyboard" name
// no key material.
bool hasKeyWord(const std::string &key)
{
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const auto isUpper = [](char c) { return c >= 'A' && c <= 'Z'; };
    for (size_t end = 2; end < key.size(); ++end) {
        const bool wordEnds = end + 1 == key.size() || !isLetter(key[end + 1])
                              || (!isUpper(key[end]) && isUpper(key[end + 1]));
        if (wordEnds && asciiLower(key[end - 2]) == 'k' && asciiLower(key[end - 1]) == 'e'
            && asciiLower(key[end]) == 'y')
            return true;
    }
    return false;
}

// Keys whose values must never reach a log line: PIN and PUK, passwords, pass phrases and other
// pass words, shared secrets, pre-shared keys and any other key material.
bool isSecretKey(const std::string &key)
{
    return equalsIgnoreCase(key, "pin") || equalsIgnoreCase(key, "puk")
           || containsIgnoreCase(key, "pass") || containsIgnoreCase(key, "pwd")
           || containsIgnoreCase(key, "secret") || containsIgnoreCase(key, "psk")
           || hasKeyWord(key);
}

// Index-based core of extractEscaped(); returns npos when the text ended before a delimiter.
size_t
extractEscapedAt(const std::string &in, std::string &out, size_t pos, const std::string &delimiters)
{
    const size_t size = in.size();
    while (pos < size) {
        const char c = in[pos];
        if (c == '\\') {
            if (pos + 1 >= size)
                return std::string::npos; // a lone backslash at the end is dropped
            out += in[pos + 1];
            pos += 2;
        } else if (delimiters.find(c) != std::string::npos) {
            return pos + 1;
        } else {
            out += c;
            ++pos;
        }
    }
    return std::string::npos;
}

void joinList(const std::vector<std::string> &items, std::string &out, char separator)
{
    const std::string chars(1, separator);
    bool first = true;
    for (const std::string &item : items) {
        if (!first)
            out += separator;
        first = false;
        appendEscaped(item, out, chars);
    }
}

void splitList(const std::string &text, std::vector<std::string> &out, char separator)
{
    if (text.empty())
        return;
    const std::string delimiters(1, separator);
    size_t pos = 0;
    do {
        std::string field;
        pos = extractEscapedAt(text, field, pos, delimiters);
        out.push_back(std::move(field));
    } while (pos != std::string::npos);
}

} // namespace

namespace ksm {

CMsg::CMsg(int type)
    : m_type(type)
{}

CMsg::CMsg(const CMsg &other)
{
    assign(other);
}

CMsg &CMsg::operator=(const CMsg &other)
{
    assign(other);
    return *this;
}

void CMsg::clear(int type)
{
    m_type = type;
    m_params.clear();
    m_gets.clear();
    m_lists.clear();
}

void CMsg::assign(const CMsg &other)
{
    if (&other == this)
        return;
    m_type = other.m_type;
    m_params = other.m_params;
    m_gets = other.m_gets;
    m_lists = other.m_lists;
}

void CMsg::setParam(const std::string &key, const std::string &value, int mode, char separator)
{
    const auto [it, inserted] = m_params.try_emplace(key, value);
    if (inserted || mode == KeepFirst)
        return;
    std::string &stored = it->second;
    if (&stored == &value) {
        // The new value is this very entry: take it as it was before the change.
        const std::string copy(value);
        setParam(key, copy, mode, separator);
        return;
    }
    if (mode == Append && !stored.empty()) {
        stored += separator;
        stored += value;
    } else {
        stored = value;
    }
}

void CMsg::addGet(const std::string &name)
{
    if (!name.empty())
        m_gets.push_back(name);
}

void CMsg::addList(const std::string &name)
{
    if (!name.empty())
        m_lists.push_back(name);
}

const std::string *CMsg::param(const std::string &key, bool emptyIfMissing) const
{
    const auto it = m_params.find(key);
    if (it != m_params.end())
        return &it->second;
    return emptyIfMissing ? &kEmptyText : nullptr;
}

void CMsg::merge(const CMsg &other, int mode, char separator)
{
    if (&other == this) {
        // Appending a message to itself must read the values as they were before the merge.
        const CMsg copy(other);
        merge(copy, mode, separator);
        return;
    }
    for (const auto &[key, value] : other.m_params) {
        if (mode == KeepFirst)
            m_params.try_emplace(key, value);
        else
            setParam(key, value, mode, separator);
    }
}

int CMsg::classify() const
{
    if (!m_lists.empty())
        return 3;
    if (!m_gets.empty() || m_params.empty())
        return 1;
    if (m_params.count(kKeyTarget) != 0)
        return 0;
    if (m_params.count(kKeyCat) == 0)
        return 2;
    return 0;
}

int CMsg::causeCode() const
{
    return causeCodeFromText(*param(kKeyCause, true));
}

int CMsg::paramCauseCode(const std::string &key) const
{
    return causeCodeFromText(*param(key, true));
}

int CMsg::serialize(std::string &out) const
{
    if (!typeWord(m_type))
        return -1;
    write(out, false);
    return 0;
}

std::string CMsg::toLogString() const
{
    std::string out;
    write(out, true);
    return out;
}

void CMsg::write(std::string &out, bool maskSecrets) const
{
    size_t estimate = 8;
    for (const auto &[key, value] : m_params)
        estimate += key.size() + value.size() + 4;
    for (const std::string &name : m_gets)
        estimate += name.size() + 5;
    for (const std::string &name : m_lists)
        estimate += name.size() + 6;

    out.clear();
    out.reserve(estimate);
    if (const char *word = typeWord(m_type)) {
        out += word;
    } else {
        out += '#';
        out += std::to_string(m_type);
    }
    out += ';';
    for (const auto &[key, value] : m_params) {
        out += key;
        out += ':';
        if (maskSecrets && isSecretKey(key))
            out += kMasked;
        else
            appendValueEscaped(value, out);
        out += ';';
    }
    for (const std::string &name : m_gets) {
        out += kNameGet;
        out += ':';
        out += name;
        out += ';';
    }
    for (const std::string &name : m_lists) {
        out += kNameList;
        out += ':';
        out += name;
        out += ';';
    }
}

int CMsg::parse(std::string_view text, CMsg &out)
{
    // The nodes of the old parameters are reused for the new ones, so parsing into a message
    // object again and again does not allocate for every parameter.
    ParamMap spare;
    spare.swap(out.m_params);
    out.clear(None);
    const size_t size = text.size();

    size_t pos = text.find_first_not_of(';');
    if (pos == std::string_view::npos)
        return -1;
    const size_t wordEnd = text.find(';', pos);
    if (wordEnd == std::string_view::npos)
        return -1;
    const int type = typeFromWord(text, pos, wordEnd);
    if (type == None)
        return -1;
    out.m_type = type;
    pos = wordEnd + 1;

    std::string unescaped;
    for (;;) {
        // Separators and stray backslashes before a segment are skipped, so no segment is empty.
        while (pos < size && (text[pos] == ';' || text[pos] == '\\'))
            ++pos;
        if (pos >= size)
            break;

        // Most segments hold no backslash: take them straight from the text.
        const char *const data = text.data();
        const void *semicolon = std::memchr(data + pos, ';', size - pos);
        const size_t segmentEnd
            = semicolon ? static_cast<size_t>(static_cast<const char *>(semicolon) - data) : size;
        const void *backslash = std::memchr(data + pos, '\\', segmentEnd - pos);
        if (!backslash) {
            out.addSegment(std::string_view(data + pos, segmentEnd - pos), spare);
            pos = segmentEnd + 1;
            if (!out.withinEntryLimit())
                return TooManyEntries;
            continue;
        }

        const size_t stop = static_cast<size_t>(static_cast<const char *>(backslash) - data);
        unescaped.assign(data + pos, stop - pos);
        pos = stop;
        while (pos < size) {
            const char c = text[pos];
            if (c == '\\') {
                if (pos + 1 < size)
                    unescaped += text[pos + 1];
                pos += 2; // a backslash that ends the text is dropped
            } else if (c == ';') {
                ++pos;
                break;
            } else {
                unescaped += c;
                ++pos;
            }
        }
        out.addSegment(unescaped, spare);
        if (!out.withinEntryLimit())
            return TooManyEntries;
    }
    return 0;
}

bool CMsg::withinEntryLimit()
{
    if (m_params.size() + m_gets.size() + m_lists.size() <= kMaxEntries)
        return true;
    clear(None);
    return false;
}

void CMsg::addSegment(std::string_view segment, ParamMap &spare)
{
    const size_t nameBegin = segment.find_first_not_of(':');
    if (nameBegin == std::string_view::npos)
        return; // nothing but colons: there is no name to store
    const size_t colon = segment.find(':', nameBegin);
    if (colon == std::string_view::npos) {
        // A bare word: "GET" and "LIST" add themselves as a name, anything else is stored as both
        // key and value.
        const std::string word(segment.substr(nameBegin));
        if (word == kNameGet)
            addGet(word);
        else if (word == kNameList)
            addList(word);
        else
            setParam(word, word, KeepFirst, ',');
        return;
    }

    const std::string_view name = segment.substr(nameBegin, colon - nameBegin);
    const std::string_view value = segment.substr(colon + 1);
    if (name == kNameGet) {
        if (!value.empty())
            m_gets.emplace_back(value);
    } else if (name == kNameList) {
        if (!value.empty())
            m_lists.emplace_back(value);
    } else {
        insertFirst(name, value, spare);
    }
}

void CMsg::insertFirst(std::string_view key, std::string_view value, ParamMap &spare)
{
    // Texts written by serialize() carry their keys in map order, so the end is the usual place.
    // A hinted insert leaves an existing key untouched: of two equal keys the first value wins.
    if (spare.empty()) {
        m_params.emplace_hint(m_params.end(), std::string(key), std::string(value));
        return;
    }
    auto node = spare.extract(spare.begin());
    node.key().assign(key.data(), key.size());
    node.mapped().assign(value.data(), value.size());
    m_params.insert(m_params.end(), std::move(node));
}

bool CMsg::operator==(const CMsg &other) const
{
    return m_type == other.m_type && m_params == other.m_params && m_gets == other.m_gets
           && m_lists == other.m_lists;
}

} // namespace ksm

void appendEscaped(const std::string &in, std::string &out, const std::string &chars)
{
    for (const char c : in) {
        if (c == '\\' || chars.find(c) != std::string::npos)
            out += '\\';
        out += c;
    }
}

int extractEscaped(const std::string &in, std::string &out, int pos, const std::string &delimiters)
{
    if (pos < 0 || static_cast<size_t>(pos) > in.size())
        return -1;
    const size_t next = extractEscapedAt(in, out, static_cast<size_t>(pos), delimiters);
    if (next == std::string::npos || next > static_cast<size_t>(std::numeric_limits<int>::max()))
        return -1;
    return static_cast<int>(next);
}

void joinCommaList(const std::vector<std::string> &items, std::string &out)
{
    joinList(items, out, ',');
}

void joinSlashList(const std::vector<std::string> &items, std::string &out)
{
    joinList(items, out, '/');
}

void splitCommaList(const std::string &text, std::vector<std::string> &out)
{
    splitList(text, out, ',');
}

void splitSlashList(const std::string &text, std::vector<std::string> &out)
{
    splitList(text, out, '/');
}
