// Feeds arbitrary bytes to the device message reader and to the escaped-list reader, writes what
// was read and reads it again. Aborts when a text the writer produced cannot be read back, or
// when a message that the text form can carry does not come back unchanged.

#include "link/cmsg.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool carriesUnchanged(const std::string &name)
{
    return name.find_first_of(";\\") == std::string::npos;
}

// Keys and names the text form writes without escaping come back as they were.
bool isRepresentable(const ksm::CMsg &message)
{
    for (const auto &entry : message.params()) {
        const std::string &key = entry.first;
        if (key.empty() || key == "GET" || key == "LIST"
            || key.find_first_of(":;\\") != std::string::npos)
            return false;
    }
    for (const std::string &name : message.gets()) {
        if (!carriesUnchanged(name))
            return false;
    }
    for (const std::string &name : message.lists()) {
        if (!carriesUnchanged(name))
            return false;
    }
    return true;
}

void checkMessage(const std::string &text)
{
    ksm::CMsg message;
    if (ksm::CMsg::parse(text, message) != 0)
        return;

    std::string written;
    if (message.serialize(written) != 0)
        std::abort(); // a parsed message always has a type the writer knows
    // Read back into a message that already holds parameters, as a reused object would.
    ksm::CMsg reread(message);
    reread.setParam("~", "old");
    if (ksm::CMsg::parse(written, reread) != 0)
        std::abort();
    if (isRepresentable(message) && reread != message)
        std::abort();

    // The remaining operations only have to stay within bounds.
    (void)message.toLogString();
    (void)message.classify();
    (void)message.causeCode();
    ksm::CMsg joined(message);
    joined.merge(reread, ksm::CMsg::Append, ',');
    joined.merge(joined, ksm::CMsg::Replace, ',');
}

void checkEscapedList(const std::string &text)
{
    std::vector<std::string> items;
    splitCommaList(text, items);

    std::string joined;
    joinCommaList(items, joined);
    std::vector<std::string> again;
    splitCommaList(joined, again);
    // A single empty item joins to the empty text, which holds no items: the one ambiguity.
    const bool singleEmpty = items.size() == 1 && items.front().empty();
    if (!singleEmpty && again != items)
        std::abort();

    std::string field;
    const int start = text.empty() ? 0 : static_cast<unsigned char>(text[0]) % 8 - 1;
    (void)extractEscaped(text, field, start, ",;/");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    checkMessage(text);
    checkEscapedList(text);
    return 0;
}
