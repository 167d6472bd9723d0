#pragma once

// The password-value cipher. Password values travel to and from the device, and rest there, as
// Base64 texts of this record:
//
//   offset  size    content
//   0       1       high nibble: record version 1; low nibble: random
//   1       1       key selector (offset into PasswordKeyTable)
//   2       1       IV selector
//   3       1       random
//   4       1       first digest-key selector
//   5       1       second digest-key selector
//   6       2       random
//   8       16      check value
//   24      16 * n  AES-128-CBC cipher text of the value with PKCS #5 padding (n >= 1)
//
// Check value: A = hashWithKey(entry[byte 4], cipher text); check = hashWithKey(entry[byte 5], A).
// The shortest record is 40 bytes, i.e. 56 Base64 characters.
//
// The functions are stateless and reentrant. Every failure returns -1 and hands nothing out;
// buffers handed out are allocated with malloc and must be released with free.

// Enciphers `length` bytes at `data` (null allowed when length is 0). On success *out receives
// a newly allocated NUL-terminated Base64 text and the result is its length without the NUL.
// On failure the result is -1 and *out is set to null.
[[nodiscard]] int encryptString(const char *data, int length, char **out);

// Opens a cipher text of `length` characters. Texts shorter than 56 characters or of a length
// not a multiple of 4 are refused without decoding; characters outside the Base64 alphabet are
// skipped while decoding. Records that are too short, not whole cipher blocks, of another
// version, or whose check value differs are refused before anything is deciphered. On success
// *out receives a newly allocated buffer holding the value followed by a NUL, and the result is
// the value's length (0 or more; the value may itself contain NUL bytes). On failure the result
// is -1 and *out is set to null.
[[nodiscard]] int decryptString(const char *data, int length, char **out);

// MD5 over the 16 bytes at `key` followed by `length` bytes at `data`, written to the 16 bytes
// at `digest`. Returns 16, or -1 on bad arguments or a failed digest.
[[nodiscard]] int
hashWithKey(const unsigned char *key, const unsigned char *data, int length, unsigned char *digest);
