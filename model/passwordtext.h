#pragma once

#include <string>

// Text wrappers around the password-value cipher (link/passwordcipher.h). Every password that
// goes to or comes from the device (SIP account passwords, the access-level passwords) travels
// through them as a Base64 cipher text.

// The cipher text of text (the password in the form the device expects, usually UTF-8). A
// successful result is never empty; an empty result means the value could not be enciphered and
// must not be sent at all: a password never goes out in plain.
[[nodiscard]] std::string encryptPassword(const std::string &text);

// The value held in a cipher text, up to its first NUL byte (an empty value is valid). A text
// that does not decipher (not a cipher text of this program, damaged, or a plain value) is
// returned unchanged.
[[nodiscard]] std::string decryptPassword(const std::string &text);

// The cipher function encryptPassword() uses: encryptString() by default. A seam for tests that
// need enciphering to fail; null restores the default.
using PasswordEncipher = int (*)(const char *data, int length, char **out);
void setPasswordEncipher(PasswordEncipher encipher);
