#pragma once

#include <cstddef>

// The key material of the password-value cipher. A record names its AES key, its IV and its two
// digest keys by byte offsets 0-255 into this table and takes the 16 bytes found there, so the
// table holds 255 + 16 bytes at least. The content is Tallydesk's own: records written with any
// other table cannot be read, and records written here can be read only by holders of this one.
//
// Read-only, process-wide, usable from any thread. Nothing outside the cipher (and its tests)
// should look at it; it is never logged.
class PasswordKeyTable
{
public:
    static constexpr size_t kSize = 272;
    static constexpr size_t kEntrySize = 16;

    PasswordKeyTable() = delete;

    // The kEntrySize bytes starting at `selector`.
    [[nodiscard]] static const unsigned char *entry(unsigned char selector);

    // The whole table, kSize bytes.
    [[nodiscard]] static const unsigned char *data();
};

static_assert(PasswordKeyTable::kSize >= 255 + PasswordKeyTable::kEntrySize,
              "every one-byte selector must reach a whole entry");
