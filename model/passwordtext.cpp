#include "model/passwordtext.h"

#include "link/passwordcipher.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct FreeDeleter
{
    void operator()(char *buffer) const { std::free(buffer); }
};
using CipherBuffer = std::unique_ptr<char, FreeDeleter>;

PasswordEncipher s_encipher = nullptr;

} // namespace

std::string encryptPassword(const std::string &text)
{
    if (text.size() > static_cast<std::size_t>(INT_MAX))
        return std::string();
    char *out = nullptr;
    const PasswordEncipher encipher = s_encipher ? s_encipher : &encryptString;
    const int length = encipher(text.data(), static_cast<int>(text.size()), &out);
    const CipherBuffer buffer(out);
    if (length < 1 || !buffer)
        return std::string();
    return std::string(buffer.get(), ::strnlen(buffer.get(), static_cast<std::size_t>(length)));
}

void setPasswordEncipher(PasswordEncipher encipher)
{
    s_encipher = encipher;
}

std::string decryptPassword(const std::string &text)
{
    if (text.size() > static_cast<std::size_t>(INT_MAX))
        return text;
    char *out = nullptr;
    const int length = decryptString(text.data(), static_cast<int>(text.size()), &out);
    const CipherBuffer buffer(out);
    if (length < 0 || !buffer)
        return text;
    return std::string(buffer.get(), ::strnlen(buffer.get(), static_cast<std::size_t>(length)));
}
