#pragma once

#include <QtGlobal>

#include <string>

// The coding settings of a link, as the device writes them: "MPA2/48000/stereo/256000/0".
// A plain value record.
struct TCodecConfig
{
    int algorithm = -1;  // coding algorithm id 0 to 28 (codecToString()), -1 none or unknown
    int sampleRate = -1; // Hz, -1 unknown
    int channelMode = 0; // 0 mono, 1 dual mono, 2 stereo, 3 joint stereo; -1 unknown word
    int bitRate = -1;    // bit/s, -1 unknown
    qint16 fec = -1;     // error-correction value, -1 none

    bool operator==(const TCodecConfig &other) const;
    bool operator!=(const TCodecConfig &other) const { return !(*this == other); }
};

// Protocol name of an algorithm id 0 to 28; any other id gives an empty text.
[[nodiscard]] std::string codecToString(int id);
// Id of the name that equals text exactly; -1 otherwise.
[[nodiscard]] int codecFromString(const std::string &text);
// "mono", "dmono", "stereo", "jstereo" for 0 to 3; any other value gives an empty text.
[[nodiscard]] std::string channelModeToString(int mode);
// 0 to 3 by exact match; -1 otherwise.
[[nodiscard]] int channelModeFromString(const std::string &text);
// stringToShort() of text after dropping one leading "P" ("P3" and "3" both give 3).
[[nodiscard]] qint16 fecFromString(const std::string &text);

// The text form: the algorithm's name; for the algorithms 7 to 9, 14 to 16 and 19 to 28, and for
// 13 ("CELP") when fec is 0 or more, then "/" sample rate "/" channel-mode word "/" bit rate; then
// "/" fec for 8 ("MPA2") always, "/P" fec for 13, and "/" fec for 9 ("MPA2P") when fec is 1 or
// more.
[[nodiscard]] std::string codecConfigToString(const TCodecConfig &config);
// Reads a text form. The algorithm comes from the first "/"-separated field (empty fields vanish)
// and sets the algorithm's default rates; with at least four fields and a known algorithm, fields
// 2 to 4 give sample rate, channel mode and bit rate; a fifth field gives fec (for "CELP" without
// its first character). Text that names no algorithm gives algorithm -1.
[[nodiscard]] TCodecConfig codecConfigFromString(const std::string &text);
