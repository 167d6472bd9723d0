// TMatrixSettings: the rows' text, writing a changed row, and applying the rows the unit sends.

#include "model/matrixsettings.h"

#include "link/protocolkeys.h"
#include "link/valueconversions.h"
#include "model/firmwareversion.h"
#include "model/matrixinputnames.h"
#include "model/matrixlayout.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"

#include <algorithm>
#include <cmath>
#include <string_view>

using namespace MatrixLayout;

namespace {

constexpr quint8 kMixLeftOn = 0x40;
constexpr quint8 kMixRightOn = 0x80;
constexpr quint8 kGainBitsMask = 0x3F;

// Bits of an input row word.
constexpr quint16 kRowOutput1 = 0x40;
constexpr quint16 kRowOutput0 = 0x80;
constexpr quint16 kRowOutput18 = 0x100;
// The gain field of the inputs whose row holds no gain (inputs 0 to 3).
constexpr quint16 kRowNoGain = 0x20;
std::string hexByte(unsigned value)
{
    return ulongToHexString(value & 0xFFU, 2);
}

// The byte of two hexadecimal digits at pos; 0 when they are not both digits.
quint8 byteAt(const std::string &text, std::size_t pos)
{
    return quint8(hexStringToULong(text.substr(pos, 2)) & 0xFFU);
}

// True when text is hexadecimal digits only.
bool isHexDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    });
}

// True when text holds at least digits characters and the first digits of them are
// hexadecimal: a received field is read from its start, and what follows the digits a row is
// read by is the unit's business. A field with any other character among them would read as 0
// and is refused.
bool hasHexField(std::string_view text, std::size_t digits)
{
    return text.size() >= digits && isHexDigits(text.substr(0, digits));
}

// The digits of the 32-bit words "matrix_opt", "matrix_mgn" and "matrix_vol", of a "matrix_po"
// record, of a "matrix_bal" row (six bytes), and the shortest "matrix_hp" row (twelve inputs).
constexpr std::size_t kWordDigits = 8;
constexpr std::size_t kBalanceDigits = 12;
constexpr std::size_t kShortestMixDigits = 24;
// The digits of a 16-bit input row word; a wider word keeps these, its low bits.
constexpr std::size_t kRowWordDigits = 4;

quint32 swapBytes(quint32 value)
{
    return (value >> 24) | ((value >> 8) & 0xFF00U) | ((value << 8) & 0xFF0000U) | (value << 24);
}

quint8 balanceByte(int balance)
{
    return quint8(std::clamp(balance, 0, 255));
}

} // namespace

// Row codecs.

quint8 TMatrixSettings::gainBits(float dB)
{
    if (std::isnan(dB) || dB == GainOff)
        return 0;
    const double packed = std::trunc(double(dB)) + 32.0;
    if (packed > 63.0)
        return 63;
    if (packed >= 1.0)
        return quint8(packed);
    // Below -31 dB the field holds only -31 dB (1) or off (0): take the nearer one.
    return double(dB) <= (kOffDb - 31.0) / 2.0 ? 0 : 1;
}

float TMatrixSettings::gainFromBits(unsigned bits)
{
    bits &= kGainBitsMask;
    return bits == 0 ? GainOff : float(int(bits) - 32);
}

quint8 TMatrixSettings::masterGainByte(float dB)
{
    if (std::isnan(dB))
        return 0;
    return quint8(std::clamp(std::trunc(double(dB)) + 128.0, 0.0, 255.0));
}

bool TMatrixSettings::isMixInput(int headphone, int input, int lastInput)
{
    return input >= 0 && input <= lastInput && input != QVantel::InputMobile
           && input != QVantel::InputHeadphone4Left && input != QVantel::InputHeadphone4Right
           && input != headphone;
}

int TMatrixSettings::mixLastInput()
{
    if (firmwareAtLeast(kFirmware1_13))
        return QVantel::LastMixInput;
    if (firmwareAtLeast(kFirmware1_7))
        return 17;
    return 13;
}

quint16 TMatrixSettings::inputRowWord(int input) const
{
    const std::size_t i = std::size_t(input);
    quint16 word = input >= kFirstRowGainInput ? gainBits(m_inputGain[i]) : kRowNoGain;
    if (m_node[i][1].isOn())
        word |= kRowOutput1;
    if (m_node[i][0].isOn())
        word |= kRowOutput0;
    if (m_node[i][18].isOn())
        word |= kRowOutput18;
    return word;
}

std::size_t TMatrixSettings::inputWordDigits()
{
    return firmwareAtLeast(kFirmware2_0) ? 4 : 2;
}

std::string TMatrixSettings::inputRowText(const InputRow &row) const
{
    return longToHexString(row.word, int(inputWordDigits())) + "," + latin1ToUtf8(row.name);
}

quint8 TMatrixSettings::outputRowByte(int output) const
{
    quint8 byte = 0;
    for (std::size_t bit = 0; bit < kOutputRowInputs.size(); ++bit) {
        if (node(kOutputRowInputs[bit], output).isOn())
            byte |= quint8(1U << bit);
    }
    return byte;
}

std::string TMatrixSettings::mixText(int headphone, const HeadphoneMix &mix) const
{
    const int last = mixLastInput();
    std::string text;
    for (int input = 0; input <= last; ++input) {
        if (isMixInput(headphone, input, last))
            text += hexByte(mix[std::size_t(input)]);
    }
    return text;
}

std::string TMatrixSettings::balanceText(const HeadphoneBalance &balance)
{
    std::string text;
    for (int input : kBalanceInputs)
        text += hexByte(balance[std::size_t(input)]);
    return text;
}

std::string TMatrixSettings::configText(const AudioConfig &config)
{
    std::string text;
    for (quint8 byte : config)
        text += hexByte(byte);
    return text;
}

std::string TMatrixSettings::volumeText(quint32 volume)
{
    // Byte 0 is the least significant byte of the word and the first pair of the text.
    return ulongToHexString(swapBytes(volume), 8);
}

// Row writers.

bool TMatrixSettings::sendParam(const std::string &key, const std::string &text)
{
    return writeTargetParams(kTargetAudio, {{key, text}});
}

bool TMatrixSettings::sendInputRow(int input)
{
    // Inputs without a row have nothing to write.
    if (!hasInputRow(input) || m_inputRowGuard)
        return true;
    GuardHold hold(m_inputRowGuard);
    const InputRow row{inputRowWord(input), toStdString(m_inputNames[std::size_t(input)])};
    InputRow &stored = m_inputRow[std::size_t(input)];
    if (row == stored)
        return true;
    if (isReady()) {
        if (input <= lastInputRow()
            && !sendParam(numberedKey(kAudioKeyMatrixIn, input + 1), inputRowText(row))) {
            return false;
        }
    }
    stored = row;
    return true;
}

bool TMatrixSettings::sendOutputRow(int output)
{
    if (output < kFirstOutputRow || output > kLastOutputRow || m_outputRowGuard)
        return true;
    GuardHold hold(m_outputRowGuard);
    const quint8 byte = outputRowByte(output);
    quint8 &stored = m_outputRow[std::size_t(output - kFirstOutputRow)];
    if (byte != stored && isReady() && (output != kLastOutputRow || firmwareAtLeast(kFirmware1_7))
        && !sendParam(numberedKey(kAudioKeyMatrixOu, output + 1), hexByte(byte))) {
        return false;
    }
    stored = byte;
    return true;
}

bool TMatrixSettings::updateHeadphoneMix(int input, int output)
{
    if (!isHeadphoneOutput(output))
        return true;
    const int headphone = (output - 2) / 2;
    // The headphone's own input travels in "matrix_vol"; MOBILE has no place in the row.
    if (input == headphone || input == QVantel::InputMobile)
        return true;
    const Node &left = node(input, QVantel::headphoneLeftOutput(headphone));
    quint8 byte = gainBits(left.gain);
    if (left.isOn())
        byte |= kMixLeftOn;
    if (node(input, QVantel::headphoneRightOutput(headphone)).isOn())
        byte |= kMixRightOn;
    HeadphoneMix &mix = m_headphoneMix[std::size_t(headphone)];
    if (byte == mix[std::size_t(input)])
        return true;
    if (!m_mixGuard && isReady()) {
        HeadphoneMix changed = mix;
        changed[std::size_t(input)] = byte;
        const std::string text = mixText(headphone, changed);
        if (text != mixText(headphone, mix)
            && !sendParam(numberedKey(kAudioKeyMatrixHp, headphone + 1), text)) {
            return false;
        }
    }
    mix[std::size_t(input)] = byte;
    return true;
}

bool TMatrixSettings::updateVolume(int input, int output)
{
    if (input < 0 || input >= HeadphoneCount || !isOutputOfHeadphone(output, input)
        || m_volumeGuard) {
        return true;
    }
    const unsigned shift = 8U * unsigned(input);
    const quint32 old = (m_volume >> shift) & 0xFFU;
    const quint32 byte
        = (old & 0xC0U) | gainBits(node(input, QVantel::headphoneLeftOutput(input)).gain);
    const quint32 word = (m_volume & ~(0xFFU << shift)) | (byte << shift);
    if (word != m_volume && isReady() && firmwareAtLeast(kFirmware1_8)
        && !sendParam(kAudioKeyMatrixVol, volumeText(word))) {
        return false;
    }
    m_volume = word;
    return true;
}

bool TMatrixSettings::updateHeadphoneBalance(int input, int output)
{
    if (!isHeadphoneOutput(output))
        return true;
    const int headphone = (output - 2) / 2;
    HeadphoneBalance &balance = m_headphoneBalance[std::size_t(headphone)];
    const quint8 byte = balanceByte(node(input, output).balance);
    if (byte == balance[std::size_t(input)])
        return true;
    // Balance rows came with firmware 2.0: an older unit has none to read or write (the setter
    // refuses a change once the matrix is ready; before that it is only stored).
    if (!m_balanceGuard && isReady() && firmwareAtLeast(kFirmware2_0)) {
        HeadphoneBalance changed = balance;
        changed[std::size_t(input)] = byte;
        const std::string text = balanceText(changed);
        if (text != balanceText(balance)
            && !sendParam(numberedKey(kAudioKeyMatrixBal, headphone + 1), text)) {
            return false;
        }
    }
    balance[std::size_t(input)] = byte;
    return true;
}

// Received rows.

void TMatrixSettings::applyInputRow(int input, const std::string &text)
{
    if (!hasInputRow(input) || text.size() < 3)
        return;
    // The word is the hex before the first comma, however many digits the unit gives it: units
    // before 2.0 have been seen sending four.
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos || comma < 2)
        return;
    const std::string_view digits = std::string_view(text).substr(0, comma);
    if (!isHexDigits(digits))
        return;
    const std::size_t low = digits.size() > kRowWordDigits ? digits.size() - kRowWordDigits : 0;
    const quint16 word = quint16(hexStringToULong(std::string(digits.substr(low))));
    const std::string name = utf8ToLatin1(text.substr(comma + 1));
    m_inputRow[std::size_t(input)] = InputRow{word, name};

    GuardHold hold(m_inputRowGuard);
    setNodeOn(input, 0, (word & kRowOutput0) != 0);
    setNodeOn(input, 18, (word & kRowOutput18) != 0);
    setNodeOn(input, 1, (word & kRowOutput1) != 0);
    setInputName(input, toQString(name));
    if (input >= kFirstRowGainInput)
        setInputGain(input, gainFromBits(word));
    markKnown(Row::Input, input);
}

void TMatrixSettings::applyOutputRow(int output, const std::string &text)
{
    if (output < kFirstOutputRow || output > kLastOutputRow || !hasHexField(text, 2))
        return;
    const quint8 byte = byteAt(text, 0);
    m_outputRow[std::size_t(output - kFirstOutputRow)] = byte;

    GuardHold hold(m_outputRowGuard);
    // Bits in the order the cells are switched: inputs 20, 24, 21, 12, 19, 13, 22, 23.
    for (unsigned bit : {0U, 6U, 1U, 2U, 7U, 3U, 4U, 5U})
        setNodeOn(kOutputRowInputs[bit], output, (byte & (1U << bit)) != 0);
    markKnown(Row::Output, output);
}

void TMatrixSettings::setMixCell(int input, int output, bool on, float dB)
{
    setNodeOn(input, output, on);
    setNodeGain(input, output, dB);
}

void TMatrixSettings::applyHeadphoneMix(int headphone, const std::string &text)
{
    if (headphone < 0 || headphone >= HeadphoneCount || text.size() < kShortestMixDigits)
        return;
    // Two digits per input in the order a write sends them, for as many inputs as the text
    // holds: a unit may send more of them than its firmware's writes carry (they are kept) or
    // fewer (the rest stay as they were). A byte that is not two hex digits refuses the row.
    std::vector<std::pair<int, quint8>> bytes;
    std::size_t pos = 0;
    for (int input = 0; input <= QVantel::LastMixInput && pos + 2 <= text.size(); ++input) {
        if (!isMixInput(headphone, input, QVantel::LastMixInput))
            continue;
        if (!isHexDigits(std::string_view(text).substr(pos, 2)))
            return;
        bytes.emplace_back(input, byteAt(text, pos));
        pos += 2;
    }
    HeadphoneMix &mix = m_headphoneMix[std::size_t(headphone)];
    const bool editOpen = m_mixGuard;
    for (const auto &[input, byte] : bytes) {
        if (byte == mix[std::size_t(input)])
            continue;
        mix[std::size_t(input)] = byte;
        if (editOpen)
            continue;
        {
            GuardHold hold(m_mixGuard);
            const float dB = gainFromBits(byte);
            setMixCell(
                input, QVantel::headphoneLeftOutput(headphone), (byte & kMixLeftOn) != 0, dB);
            setMixCell(
                input, QVantel::headphoneRightOutput(headphone), (byte & kMixRightOn) != 0, dB);
        }
        mix[std::size_t(input)] = byte;
    }
    markKnown(Row::Mix, headphone);
}

void TMatrixSettings::applyHeadphoneBalance(int headphone, const std::string &text)
{
    if (headphone < 0 || headphone >= HeadphoneCount || !hasHexField(text, kBalanceDigits))
        return;
    HeadphoneBalance &balance = m_headphoneBalance[std::size_t(headphone)];
    for (std::size_t k = 0; k < kBalanceInputs.size(); ++k) {
        const int input = kBalanceInputs[k];
        const quint8 byte = byteAt(text, 2 * k);
        if (byte == balance[std::size_t(input)])
            continue;
        balance[std::size_t(input)] = byte;
        if (m_balanceGuard)
            continue;
        for (int output :
             {QVantel::headphoneLeftOutput(headphone), QVantel::headphoneRightOutput(headphone)}) {
            Node &n = cell(input, output);
            if (n.balance != byte) {
                n.balance = byte;
                recomputeNode(input, output, true);
            }
        }
    }
    markKnown(Row::Balance, headphone);
}

void TMatrixSettings::applyAudioConfig(int position, const std::string &text)
{
    if (position < 0 || position >= HeadphoneCount || !hasHexField(text, kWordDigits))
        return;
    AudioConfig config{};
    for (std::size_t k = 0; k < config.size(); ++k)
        config[k] = byteAt(text, 2 * k);
    setAudioConfig(position, config, false);
    markKnown(Row::Position, position);
}

void TMatrixSettings::applyVolume(const std::string &text)
{
    if (!hasHexField(text, kWordDigits))
        return;
    m_volume = swapBytes(hexStringToULong(text.substr(0, kWordDigits)));
    GuardHold hold(m_volumeGuard);
    for (int headphone = 0; headphone < HeadphoneCount; ++headphone) {
        const float dB = gainFromBits((m_volume >> (8U * unsigned(headphone))) & 0xFFU);
        setNodeGain(headphone, QVantel::headphoneLeftOutput(headphone), dB);
        setNodeGain(headphone, QVantel::headphoneRightOutput(headphone), dB);
    }
    markKnown(Row::Volume, 0);
}

bool TMatrixSettings::applyParams(const std::map<std::string, std::string> &values)
{
    if (values.empty())
        return false;
    // The row number after a key's prefix, minus 1; -1 when the key has another prefix.
    const auto indexOf = [](const std::string &key, const std::string &prefix) {
        if (key.size() <= prefix.size() || key.compare(0, prefix.size(), prefix) != 0)
            return -1;
        // The number saturates on overflow: keep the arithmetic out of its reach.
        const int number = stringToInt(key.substr(prefix.size()));
        return number >= 1 && number <= OutputCount ? number - 1 : -1;
    };
    for (const auto &[key, text] : values) {
        if (key == kAudioKeyMatrixOpt) {
            if (hasHexField(text, kWordDigits)) {
                setMatrixOptions(hexStringToULong(text.substr(0, kWordDigits)), false);
                markKnown(Row::Options, 0);
            }
        } else if (key == kAudioKeyMatrixMgn) {
            if (hasHexField(text, kWordDigits)) {
                setMasterGain(hexStringToULong(text.substr(0, kWordDigits)), false);
                markKnown(Row::MasterGain, 0);
            }
        } else if (key == kAudioKeyMatrixVol) {
            applyVolume(text);
        } else if (const int in = indexOf(key, kAudioKeyMatrixIn); in >= 0) {
            applyInputRow(in, text);
        } else if (const int ou = indexOf(key, kAudioKeyMatrixOu); ou >= 0) {
            applyOutputRow(ou, text);
        } else if (const int hp = indexOf(key, kAudioKeyMatrixHp); hp >= 0) {
            applyHeadphoneMix(hp, text);
        } else if (const int po = indexOf(key, kAudioKeyMatrixPo); po >= 0) {
            applyAudioConfig(po, text);
        } else if (const int bal = indexOf(key, kAudioKeyMatrixBal); bal >= 0) {
            applyHeadphoneBalance(bal, text);
        }
    }
    return true;
}
