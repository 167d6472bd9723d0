#include "link/codecconfig.h"

#include "link/protocolkeys.h"
#include "link/valueconversions.h"

#include <iterator>
#include <list>

namespace {

constexpr int kCodecCount = 29;
constexpr int kCelp = 13;
constexpr int kMpa2 = 8;
constexpr int kMpa2p = 9;

// Indexed by algorithm id. Addresses only, so the table is complete before dynamic
// initialisation.
const std::string *const kCodecNames[kCodecCount] = {
    &kCodecPcma,        &kCodecPcmu,     &kCodecG711,     &kCodecG722,       &kCodecG722Srt,
    &kCodecG722H242,    &kCodecG722H221, &kCodec4sb,      &kCodecMpa2,       &kCodecMpa2p,
    &kCodecTdac,        &kCodecTdacG722, &kCodecG722Tdac, &kCodecCelp,       &kCodecAacLbr,
    &kCodecAacHe,       &kCodecAacHev2,  &kCodecGsm,      &kCodecPhone,      &kCodecOpus,
    &kCodecL16,         &kCodecL20,      &kCodecL24,      &kCodecAacLbrLoas, &kCodecAacHeLoas,
    &kCodecAacHev2Loas, &kCodecMpa3,     &kCodecAacLd,    &kCodecAacEld,
};

const std::string *const kChannelModeWords[] = {
    &kChannelModeMono,
    &kChannelModeDmono,
    &kChannelModeStereo,
    &kChannelModeJstereo,
};
constexpr int kChannelModeCount = static_cast<int>(std::size(kChannelModeWords));

// Whether the text form carries sample rate, channel mode and bit rate.
bool hasRateFields(const TCodecConfig &config)
{
    const int id = config.algorithm;
    if (id == kCelp)
        return config.fec >= 0;
    return (id >= 7 && id <= 9) || (id >= 14 && id <= 16) || (id >= 19 && id <= 28);
}

} // namespace

bool TCodecConfig::operator==(const TCodecConfig &other) const
{
    return algorithm == other.algorithm && sampleRate == other.sampleRate
           && channelMode == other.channelMode && bitRate == other.bitRate && fec == other.fec;
}

std::string codecToString(int id)
{
    if (id < 0 || id >= kCodecCount)
        return std::string();
    return *kCodecNames[id];
}

int codecFromString(const std::string &text)
{
    for (int id = 0; id < kCodecCount; ++id) {
        if (*kCodecNames[id] == text)
            return id;
    }
    return -1;
}

std::string channelModeToString(int mode)
{
    if (mode < 0 || mode >= kChannelModeCount)
        return std::string();
    return *kChannelModeWords[mode];
}

int channelModeFromString(const std::string &text)
{
    for (int mode = 0; mode < kChannelModeCount; ++mode) {
        if (*kChannelModeWords[mode] == text)
            return mode;
    }
    return -1;
}

qint16 fecFromString(const std::string &text)
{
    if (!text.empty() && text[0] == 'P')
        return stringToShort(text.substr(1));
    return stringToShort(text);
}

std::string codecConfigToString(const TCodecConfig &config)
{
    std::string out = codecToString(config.algorithm);
    if (hasRateFields(config)) {
        out += '/';
        out += std::to_string(config.sampleRate);
        out += '/';
        out += channelModeToString(config.channelMode);
        out += '/';
        out += std::to_string(config.bitRate);
    }
    if (config.algorithm == kMpa2) {
        out += '/';
        out += std::to_string(config.fec);
    } else if (config.algorithm == kCelp && config.fec >= 0) {
        out += "/P";
        out += std::to_string(config.fec);
    } else if (config.algorithm == kMpa2p && config.fec >= 1) {
        out += '/';
        out += std::to_string(config.fec);
    }
    return out;
}

TCodecConfig codecConfigFromString(const std::string &text)
{
    TCodecConfig config;
    std::list<std::string> fields;
    if (splitToList(text, fields, "/") == 0)
        return config;

    auto field = fields.begin();
    config.algorithm = codecFromString(*field);
    const int id = config.algorithm;
    if (id >= 0 && id <= 6) {
        config.sampleRate = 48000;
        config.bitRate = 64000;
    } else if (id == 10) {
        config.sampleRate = 32000;
        config.bitRate = 64000;
    } else if (id == 11 || id == 12) {
        config.bitRate = 64000;
    } else if (id == kCelp) {
        config.sampleRate = 16000;
        config.bitRate = 24000;
    }

    if (fields.size() >= 4 && id >= 0) {
        config.sampleRate = stringToLong(*++field);
        config.channelMode = channelModeFromString(*++field);
        config.bitRate = stringToLong(*++field);
    }
    if (fields.size() >= 5) {
        const std::string &fecField = *std::next(fields.begin(), 4);
        config.fec = id == kCelp ? stringToShort(fecField.substr(1)) : stringToShort(fecField);
    }
    return config;
}
