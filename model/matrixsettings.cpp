#include "model/matrixsettings.h"

#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/protocolkeys.h"
#include "link/sharedobjects.h"
#include "link/valueconversions.h"
#include "model/deviceoptionword.h"
#include "model/firmwareversion.h"
#include "model/matrixinputnames.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

// The firmware that brought each part of the matrix: 1.6 "matrix_mgn"; 1.7 inputs 15 to 18,
// output rows 14 and 15 and the longer mix rows; 1.8 "matrix_vol"; 1.13 input row 18 and the
// longest mix rows; 2.0 "matrix_bal" and four-digit input row words.

// The balance table in dB, indexed by the cell balance 0 to 12. Column A serves the programme
// and coordination sends, column B their returns.
constexpr std::array<double, 13> kBalanceA
    = {-70, -30, -24, -18, -14, -10, -6, -5, -4, -3, -2, -1, 0};
constexpr std::array<double, 13> kBalanceB
    = {0, -1, -2, -3, -4, -5, -6, -10, -14, -18, -24, -30, -70};
constexpr int kBalanceCentre = 6;
constexpr int kBalanceMax = 12;

constexpr double kPriorityDuckingDb = -12.0;
constexpr double kOffDb = -160.0;

// The "matrix_bal" row carries these inputs, in this order.
constexpr const auto &kBalanceInputs = QVantel::kProgramCoordInputs;

// A mix byte: both cells on, gain off. The default of every mix byte.
constexpr quint8 kMixDefault = 0xC0;
constexpr quint8 kMixLeftOn = 0x40;
constexpr quint8 kMixRightOn = 0x80;
constexpr quint8 kGainBitsMask = 0x3F;

// Bits of an input row word.
constexpr quint16 kRowOutput1 = 0x40;
constexpr quint16 kRowOutput0 = 0x80;
constexpr quint16 kRowOutput18 = 0x100;
// The gain field of the inputs whose row holds no gain (inputs 0 to 3).
constexpr quint16 kRowNoGain = 0x20;
// The first input whose row holds its gain.
constexpr int kFirstRowGainInput = QVantel::InputAux1;

// The input each bit of an output row stands for, bit 0 first.
constexpr std::array<int, 8> kOutputRowInputs = {QVantel::InputProgram,
                                                 QVantel::InputCoord,
                                                 QVantel::InputProgramReturn,
                                                 QVantel::InputCoordReturn,
                                                 QVantel::InputHeadphone4Left,
                                                 QVantel::InputHeadphone4Right,
                                                 QVantel::InputProgramRight,
                                                 QVantel::InputProgramReturnRight};
constexpr int kFirstOutputRow = 10;
constexpr int kLastOutputRow = 14;

std::string numberedKey(const std::string &prefix, int number)
{
    return prefix + std::to_string(number);
}

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

// The input a copy of the programme or coordination output keeps; -1 for other outputs.
int copyPartnerInput(int source)
{
    switch (source) {
    case QVantel::OutputProgram:
        return QVantel::InputProgram;
    case QVantel::OutputProgramRight:
        return QVantel::InputProgramRight;
    case QVantel::OutputCoord:
        return QVantel::InputCoord;
    default:
        return -1;
    }
}

quint8 balanceByte(int balance)
{
    return quint8(std::clamp(balance, 0, 255));
}

bool isHeadphoneOutput(int output)
{
    return output >= QVantel::headphoneLeftOutput(0)
           && output <= QVantel::headphoneRightOutput(TMatrixSettings::HeadphoneCount - 1);
}

// Whether output is one of the two of headphone.
bool isOutputOfHeadphone(int output, int headphone)
{
    return output == QVantel::headphoneLeftOutput(headphone)
           || output == QVantel::headphoneRightOutput(headphone);
}

} // namespace

TMatrixSettings::TMatrixSettings(ksm::CCom *com)
    : TComController(com, GeneralController)
{
    m_clock.start();
    const bool wasBlocked = blockSignals(true);
    applyDefaults();
    blockSignals(wasBlocked);
}

TMatrixSettings::~TMatrixSettings() = default;

void TMatrixSettings::applyDefaults()
{
    for (int output = 0; output < OutputCount; ++output) {
        const bool silent = (output >= 2 && output <= 10) || output == 14;
        m_outputGain[std::size_t(output)] = silent ? GainOff : 0.0F;
    }
    for (HeadphoneMix &mix : m_headphoneMix)
        mix.fill(kMixDefault);
    for (HeadphoneBalance &balance : m_headphoneBalance)
        balance.fill(kBalanceCentre);

    applyParams({
        {numberedKey(kAudioKeyMatrixPo, 1), "0203040E"},
        {numberedKey(kAudioKeyMatrixPo, 2), "0103040E"},
        {numberedKey(kAudioKeyMatrixPo, 3), "00000000"},
        {numberedKey(kAudioKeyMatrixPo, 4), "00000000"},
        {kAudioKeyMatrixOpt, "00000000"},
        {kAudioKeyMatrixMgn, "80800000"},
        {kAudioKeyMatrixVol, "E0E0E0E0"},
    });
    // The defaults are not the unit's.
    forgetUnitRows();
    for (int headphone = 0; headphone < HeadphoneCount; ++headphone) {
        for (int input = 0; input < InputCount; ++input) {
            cell(input, QVantel::headphoneLeftOutput(headphone)).balance = kBalanceCentre;
            cell(input, QVantel::headphoneRightOutput(headphone)).balance = kBalanceCentre;
        }
    }
    // Each headphone hears its own microphone, input h.
    for (int headphone = 0; headphone < HeadphoneCount; ++headphone) {
        setNodeOn(headphone, QVantel::headphoneLeftOutput(headphone), true);
        setNodeOn(headphone, QVantel::headphoneRightOutput(headphone), true);
    }
    setNodeOn(21, 17, true);
    setNodeOn(17, 15, true);

    m_constructed = Constructed;
    // Nothing was computed while construction ran; give every cell its factor now, so that a
    // cell the device later reports unchanged does not keep a stale 0.
    for (int input = 0; input < InputCount; ++input) {
        for (int output = 0; output < OutputCount; ++output)
            recomputeNode(input, output, false);
    }
}

// Getters.

QString TMatrixSettings::inputNames(int input) const
{
    return validInput(input) ? m_inputNames[std::size_t(input)] : QString();
}

float TMatrixSettings::inputGain(int input) const
{
    return validInput(input) ? m_inputGain[std::size_t(input)] : 0.0F;
}

float TMatrixSettings::outputGain(int output) const
{
    return validOutput(output) ? m_outputGain[std::size_t(output)] : 0.0F;
}

float TMatrixSettings::auxGain(int index) const
{
    return index >= 0 && index < int(m_auxGain.size()) ? m_auxGain[std::size_t(index)] : 0.0F;
}

quint32 TMatrixSettings::copyState(int output) const
{
    return validOutput(output) ? m_copyState[std::size_t(output)] : 0;
}

quint32 TMatrixSettings::priorityMask(int output) const
{
    return validOutput(output) ? m_priorityMask[std::size_t(output)] : 0;
}

const TMatrixSettings::Node &TMatrixSettings::node(int input, int output) const
{
    static const Node none;
    if (!validInput(input) || !validOutput(output))
        return none;
    return m_node[std::size_t(input)][std::size_t(output)];
}

TMatrixSettings::InputRow TMatrixSettings::inputRow(int input) const
{
    return input >= 0 && input < InputRowCount ? m_inputRow[std::size_t(input)] : InputRow();
}

quint8 TMatrixSettings::outputRow(int output) const
{
    if (output < kFirstOutputRow || output > kLastOutputRow)
        return 0;
    return m_outputRow[std::size_t(output - kFirstOutputRow)];
}

TMatrixSettings::HeadphoneMix TMatrixSettings::headphoneMix(int headphone) const
{
    if (headphone < 0 || headphone >= HeadphoneCount) {
        HeadphoneMix none;
        none.fill(kMixDefault);
        return none;
    }
    return m_headphoneMix[std::size_t(headphone)];
}

const bool *TMatrixSettings::knownFlag(Row row, int index) const
{
    const auto flag = [index](const auto &flags, int first) -> const bool * {
        const int at = index - first;
        return at >= 0 && at < int(flags.size()) ? &flags[std::size_t(at)] : nullptr;
    };
    switch (row) {
    case Row::Input:
        return hasInputRow(index) ? flag(m_inputRowKnown, 0) : nullptr;
    case Row::Output:
        return flag(m_outputRowKnown, kFirstOutputRow);
    case Row::Mix:
        return flag(m_mixKnown, 0);
    case Row::Balance:
        return flag(m_balanceKnown, 0);
    case Row::Position:
        return flag(m_positionKnown, 0);
    case Row::Options:
        return index == 0 ? &m_optionsKnown : nullptr;
    case Row::MasterGain:
        return index == 0 ? &m_masterGainKnown : nullptr;
    case Row::Volume:
        return index == 0 ? &m_volumeKnown : nullptr;
    }
    return nullptr;
}

bool TMatrixSettings::isRowKnown(Row row, int index) const
{
    const bool *flag = knownFlag(row, index);
    return flag && *flag;
}

void TMatrixSettings::markKnown(Row row, int index)
{
    // The flag is one of this object's own members.
    auto *flag = const_cast<bool *>(knownFlag(row, index));
    if (!flag || *flag)
        return;
    *flag = true;
    Q_EMIT rowReceived(row, index);
}

void TMatrixSettings::forgetUnitRows()
{
    m_inputRowKnown.fill(false);
    m_outputRowKnown.fill(false);
    m_mixKnown.fill(false);
    m_balanceKnown.fill(false);
    m_positionKnown.fill(false);
    m_optionsKnown = false;
    m_masterGainKnown = false;
    m_volumeKnown = false;
}

int TMatrixSettings::lastInputRow()
{
    if (firmwareAtLeast(kFirmware1_13))
        return 18;
    return firmwareAtLeast(kFirmware1_7) ? 17 : 10;
}

bool TMatrixSettings::firmwareReadsRow(Row row, int index)
{
    switch (row) {
    case Row::Input:
        return hasInputRow(index) && index <= lastInputRow();
    case Row::Output:
        return index >= kFirstOutputRow
               && (index < kLastOutputRow
                   || (index == kLastOutputRow && firmwareAtLeast(kFirmware1_7)));
    case Row::Mix:
    case Row::Position:
        return index >= 0 && index < HeadphoneCount;
    case Row::Balance:
        return index >= 0 && index < HeadphoneCount && firmwareAtLeast(kFirmware2_0);
    case Row::Options:
        return index == 0;
    case Row::MasterGain:
        return index == 0 && firmwareAtLeast(kFirmware1_6);
    case Row::Volume:
        return index == 0 && firmwareAtLeast(kFirmware1_8);
    }
    return false;
}

bool TMatrixSettings::isKeptBeyondFirmware(Row row)
{
    return row == Row::Input || row == Row::Output;
}

bool TMatrixSettings::isRowMissing(Row row, int index) const
{
    if (!(isReady() || m_readFailed) || isRowKnown(row, index) || !knownFlag(row, index))
        return false;
    // A balance row or word the firmware does not have is never read: it stays missing, so that
    // nothing the unit never sent is written as if it had been. Input and output rows beyond the
    // firmware's are kept here and never sent.
    return firmwareReadsRow(row, index) || !isKeptBeyondFirmware(row);
}

bool TMatrixSettings::refusesRow(Row row, int index) const
{
    if (!isRowMissing(row, index))
        return false;
    // A row's guard is held while a received row or a reset sets the cells it holds; those
    // changes are the unit's or the defaults' and write nothing. A headphone edit holds the mix
    // guard too, but its changes are the operator's.
    switch (row) {
    case Row::Input:
        return !m_inputRowGuard;
    case Row::Output:
        return !m_outputRowGuard;
    case Row::Mix:
        return !m_mixGuard || m_editOpen;
    case Row::Balance:
        return !m_balanceGuard;
    case Row::Volume:
        return !m_volumeGuard;
    case Row::Position:
    case Row::Options:
    case Row::MasterGain:
        // Asked only for the operator's writes; what is received is applied without sending.
        return true;
    }
    return true;
}

bool TMatrixSettings::refusesCell(int input, int output, bool routing) const
{
    if (routing) {
        if ((output == QVantel::OutputProgram || output == QVantel::OutputCoord
             || output == QVantel::OutputProgramRight)
            && refusesRow(Row::Input, input)) {
            return true;
        }
        const bool outputRowInput
            = std::find(kOutputRowInputs.begin(), kOutputRowInputs.end(), input)
              != kOutputRowInputs.end();
        if (outputRowInput && refusesRow(Row::Output, output))
            return true;
    }
    if (!isHeadphoneOutput(output))
        return false;
    const int headphone = (output - 2) / 2;
    // The level of the headphone's own microphone travels in the volume word; its routing in no
    // row at all.
    if (input == headphone)
        return !routing && refusesRow(Row::Volume, 0);
    return isMixInput(headphone, input, QVantel::LastMixInput) && refusesRow(Row::Mix, headphone);
}

std::string TMatrixSettings::rowKey(Row row, int index)
{
    switch (row) {
    case Row::Input:
        return numberedKey(kAudioKeyMatrixIn, index + 1);
    case Row::Output:
        return numberedKey(kAudioKeyMatrixOu, index + 1);
    case Row::Mix:
        return numberedKey(kAudioKeyMatrixHp, index + 1);
    case Row::Balance:
        return numberedKey(kAudioKeyMatrixBal, index + 1);
    case Row::Position:
        return numberedKey(kAudioKeyMatrixPo, index + 1);
    case Row::Options:
        return kAudioKeyMatrixOpt;
    case Row::MasterGain:
        return kAudioKeyMatrixMgn;
    case Row::Volume:
        return kAudioKeyMatrixVol;
    }
    return {};
}

bool TMatrixSettings::readMissingRows(const std::vector<RowId> &rows)
{
    const auto noneMissing = [this, &rows] {
        return std::none_of(rows.begin(), rows.end(), [this](const RowId &id) {
            return isRowMissing(id.row, id.index);
        });
    };
    // Without a start no row of a read would be written: the next start reads them all.
    if (!isReady())
        return noneMissing();
    std::vector<std::string> keys;
    const qint64 now = m_clock.elapsed();
    for (const RowId &id : rows) {
        // A row the firmware does not have is not asked for: the unit never sends it.
        if (!isRowMissing(id.row, id.index) || !firmwareReadsRow(id.row, id.index))
            continue;
        const std::string key = rowKey(id.row, id.index);
        if (std::find(keys.begin(), keys.end(), key) != keys.end())
            continue;
        // Several pages ask for the same rows, and a unit that leaves a row out (sends it in a
        // form that is not read, or fails the read) does so again: one read without it per
        // interval is enough.
        const auto leftOut = m_leftOutAt.find(key);
        if (leftOut != m_leftOutAt.end() && now - leftOut->second < kRereadIntervalMs)
            continue;
        keys.push_back(key);
    }
    if (keys.empty())
        return noneMissing();
    read(keys);
    // A read the busy client never sent holds nothing back: it is asked again the next time.
    if (m_request.lastCallResult() != -1) {
        const qint64 answered = m_clock.elapsed();
        for (const RowId &id : rows) {
            const std::string key = rowKey(id.row, id.index);
            if (isRowMissing(id.row, id.index)
                && std::find(keys.begin(), keys.end(), key) != keys.end()) {
                m_leftOutAt[key] = answered;
            }
        }
    }
    return noneMissing();
}

TMatrixSettings::AudioConfig TMatrixSettings::audioConfig(int position) const
{
    if (position < 0 || position >= HeadphoneCount)
        return AudioConfig{};
    return m_audioConfig[std::size_t(position)];
}

TMatrixSettings::HeadphoneBalance TMatrixSettings::headphoneBalance(int headphone) const
{
    if (headphone < 0 || headphone >= HeadphoneCount) {
        HeadphoneBalance none;
        none.fill(kBalanceCentre);
        return none;
    }
    return m_headphoneBalance[std::size_t(headphone)];
}

QString TMatrixSettings::inputName(int input) const
{
    const QString stored = inputNames(input);
    if (!stored.isEmpty())
        return stored;
    return matrixInputName(input, deviceOptionWord);
}

QString TMatrixSettings::inputTitle(int input) const
{
    QString title = matrixInputName(input, deviceOptionWord);
    const QString stored = inputNames(input);
    if (!stored.isEmpty())
        title += QLatin1Char('\n') + stored;
    return title;
}

bool TMatrixSettings::isCopyOutput(int output)
{
    return (output >= 0 && output <= 9) || output == 18 || output == 19;
}

bool TMatrixSettings::hasInputRow(int input)
{
    return (input >= 0 && input <= 10) || (input >= 14 && input <= 18);
}

bool TMatrixSettings::isCopyTarget(int output) const
{
    if (!isCopyOutput(output))
        return false;
    const quint32 state = m_copyState[std::size_t(output)];
    return (state & CopyTarget) != 0 && (state & CopySource) == 0;
}

int TMatrixSettings::copySource(int output) const
{
    if (!isCopyTarget(output))
        return -1;
    const quint32 state = m_copyState[std::size_t(output)];
    for (int partner = 0; partner < OutputCount; ++partner) {
        if (isCopyOutput(partner) && (state & (1U << partner)) != 0)
            return partner;
    }
    return -1;
}

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

// Cell and input setters.

bool TMatrixSettings::setNodeOn(int input, int output, bool on)
{
    if (!validInput(input) || !validOutput(output))
        return false;
    Node &n = cell(input, output);
    if (n.isOn() == on)
        return true;
    if (refusesCell(input, output, true))
        return false;
    n.flags = on ? (n.flags | NodeOn) : (n.flags & ~NodeOn);
    // A cell belongs to at most one of these rows; each writer skips rows it has no part in.
    bool ok = sendInputRow(input);
    ok = sendOutputRow(output) && ok;
    ok = updateHeadphoneMix(input, output) && ok;
    ok = updateVolume(input, output) && ok;
    recomputeNode(input, output, true);
    return ok;
}

bool TMatrixSettings::setNodeGain(int input, int output, float dB)
{
    if (!validInput(input) || !validOutput(output))
        return false;
    Node &n = cell(input, output);
    if (n.gain == dB)
        return true;
    if (refusesCell(input, output, false))
        return false;
    n.gain = dB;
    bool ok = updateHeadphoneMix(input, output);
    ok = updateVolume(input, output) && ok;
    recomputeNode(input, output, true);
    return ok;
}

bool TMatrixSettings::setNodeBalance(int input, int output, int balance)
{
    if (!validInput(input) || !validOutput(output))
        return false;
    Node &n = cell(input, output);
    if (n.balance == balance)
        return true;
    if (isHeadphoneOutput(output)
        && std::find(kBalanceInputs.begin(), kBalanceInputs.end(), input) != kBalanceInputs.end()
        && refusesRow(Row::Balance, (output - 2) / 2)) {
        return false;
    }
    n.balance = balance;
    const bool ok = updateHeadphoneBalance(input, output);
    recomputeNode(input, output, true);
    return ok;
}

bool TMatrixSettings::setInputName(int input, const QString &name)
{
    if (!validInput(input))
        return false;
    QString &stored = m_inputNames[std::size_t(input)];
    if (stored == name)
        return true;
    if (refusesRow(Row::Input, input))
        return false;
    // The row is built from the stored name, so the name goes in first; a row the unit refused
    // puts the unit's name back, and nobody is told of a name the unit never took.
    const QString before = stored;
    stored = name;
    if (!sendInputRow(input)) {
        stored = before;
        return false;
    }
    Q_EMIT inputNameChanged(QVantel::Inputs(input));
    return true;
}

bool TMatrixSettings::setInputGain(int input, float dB)
{
    if (!validInput(input))
        return false;
    float &stored = m_inputGain[std::size_t(input)];
    if (stored == dB)
        return true;
    if (input >= kFirstRowGainInput && refusesRow(Row::Input, input))
        return false;
    stored = dB;
    // The row of inputs 0 to 3 holds no gain: theirs changes nothing the unit is sent (the audio
    // page sets INPUT 3 and 4's whenever their level arrives).
    const bool ok = input < kFirstRowGainInput || sendInputRow(input);
    recomputeInput(input);
    return ok;
}

bool TMatrixSettings::setOutputGain(int output, float dB)
{
    if (!validOutput(output))
        return false;
    float &stored = m_outputGain[std::size_t(output)];
    if (stored == dB)
        return true;
    const float previous = stored;
    stored = dB;
    if (output == 0 || output == 18 || output == 1) {
        const quint32 byte = masterGainByte(dB);
        quint32 word = m_masterGain;
        if (output == 1)
            word = (word & 0xFF00FFFFU) | (byte << 16);
        else
            word = (word & 0x00FFFFFFU) | (byte << 24);
        if (!setMasterGain(word, true)) {
            // The gain lives in the refused master-gain word: keep the old one.
            stored = previous;
            return false;
        }
    }
    if (m_constructed != 0)
        Q_EMIT outputGainChanged(QVantel::Outputs(output));
    return true;
}

void TMatrixSettings::setStoredGain(int index, float dB)
{
    if (index >= 0 && index < int(m_auxGain.size()))
        m_auxGain[std::size_t(index)] = dB;
}

void TMatrixSettings::setOperationMode(int mode)
{
    m_operationMode = mode;
}

void TMatrixSettings::coordLineStateChanged(bool) {}

void TMatrixSettings::audioCallStateChanged(bool) {}

// Word setters.

bool TMatrixSettings::setMatrixOptions(const MatrixOpts &options, bool send)
{
    if (options == m_options)
        return true;
    if (send && refusesRow(Row::Options, 0))
        return false;
    if (send && isReady() && !sendParam(kAudioKeyMatrixOpt, ulongToHexString(options, 8)))
        return false;
    const MatrixOpts previous = m_options;
    m_options = options;
    Q_EMIT matrixOptionsChanged(previous);
    return true;
}

bool TMatrixSettings::setMasterGain(const quint32 &gain, bool send)
{
    if (gain == m_masterGain)
        return true;
    // The low 16 bits and the other output's byte are the unit's: written only over its word.
    if (send && refusesRow(Row::MasterGain, 0))
        return false;
    if (send && isReady() && firmwareAtLeast(kFirmware1_6)
        && !sendParam(kAudioKeyMatrixMgn, ulongToHexString(gain, 8))) {
        return false;
    }
    m_masterGain = gain;
    const float programme = float(int(gain >> 24)) - 128.0F;
    const float coordination = float(int((gain >> 16) & 0xFFU)) - 128.0F;
    setOutputGain(0, programme);
    setOutputGain(18, programme);
    setOutputGain(1, coordination);
    return true;
}

bool TMatrixSettings::setAudioConfig(int position, const AudioConfig &config, bool send)
{
    if (position < 0 || position >= HeadphoneCount)
        return true;
    AudioConfig &stored = m_audioConfig[std::size_t(position)];
    if (stored == config)
        return true;
    if (send && refusesRow(Row::Position, position))
        return false;
    if (send && isReady()
        && !sendParam(numberedKey(kAudioKeyMatrixPo, position + 1), configText(config))) {
        return false;
    }
    stored = config;
    Q_EMIT audioConfigChanged(QVantel::Inputs(position));
    return true;
}

// Headphone edit.

TMatrixSettings::HeadphoneMix TMatrixSettings::beginHeadphoneEdit(int headphone)
{
    if (headphone < 0 || headphone >= HeadphoneCount)
        return headphoneMix(headphone);
    m_mixGuard = true;
    m_editOpen = true;
    return m_headphoneMix[std::size_t(headphone)];
}

bool TMatrixSettings::commitHeadphoneEdit(int headphone, const HeadphoneMix &before)
{
    if (headphone < 0 || headphone >= HeadphoneCount || !m_mixGuard)
        return true;
    m_mixGuard = false;
    m_editOpen = false;
    const HeadphoneMix &mix = m_headphoneMix[std::size_t(headphone)];
    if (mix == before || !isReady())
        return true;
    // Only the inputs of the firmware's row are written: a change beyond them sends nothing.
    const std::string text = mixText(headphone, mix);
    if (text == mixText(headphone, before))
        return true;
    if (refusesRow(Row::Mix, headphone))
        return false;
    return sendParam(numberedKey(kAudioKeyMatrixHp, headphone + 1), text);
}

// Copies.

void TMatrixSettings::copyOutput(int source, int target)
{
    if (m_constructed == 0 || source == target || !isCopyOutput(source) || !isCopyOutput(target))
        return;
    quint32 &sourceState = m_copyState[std::size_t(source)];
    quint32 &targetState = m_copyState[std::size_t(target)];
    if ((targetState & (CopySource | CopyTarget)) != 0 || (sourceState & CopyTarget) != 0)
        return;
    sourceState |= CopySource | (1U << target);
    targetState |= CopyTarget | (1U << source);

    const int partner = copyPartnerInput(source);
    for (int input = 0; input < InputCount; ++input) {
        Node &n = cell(input, target);
        if (partner >= 0) {
            if (input == partner) {
                n.flags = (n.flags & ~(NodeFollowsCopy | NodeSilencedByCopy)) | NodeOn;
                recomputeNode(input, target, false);
            } else {
                n.flags |= NodeFollowsCopy | NodeSilencedByCopy;
                n.linear = 0.0F;
            }
            continue;
        }
        // A headphone keeps its own input when its mix is copied to or from another one.
        const bool ownInput
            = input < HeadphoneCount && isHeadphoneOutput(source)
              && (isOutputOfHeadphone(source, input) || isOutputOfHeadphone(target, input));
        if (ownInput) {
            n.flags &= ~NodeFollowsCopy;
        } else {
            n.flags |= NodeFollowsCopy;
            n.linear = node(input, source).linear;
        }
    }
    Q_EMIT nodeCopyChanged(QVantel::Outputs(source), QVantel::Outputs(target));
}

void TMatrixSettings::removeOutputCopy(int source, int target)
{
    if (source == target || !isCopyOutput(source) || !isCopyOutput(target)
        || !isCopyTarget(target)) {
        return;
    }
    // Only the copy that exists can be removed: target must be a copy of this source.
    if ((m_copyState[std::size_t(target)] & (1U << source)) == 0)
        return;
    m_copyState[std::size_t(source)] &= ~(1U << target);
    m_copyState[std::size_t(target)] = 0;
    const int partner = copyPartnerInput(source);
    for (int input = 0; input < InputCount; ++input) {
        Node &n = cell(input, target);
        n.flags &= ~(NodeFollowsCopy | NodeSilencedByCopy);
        if (input == partner)
            n.flags &= ~NodeOn;
        recomputeNode(input, target, false);
    }
    Q_EMIT nodeCopyChanged(QVantel::Outputs(source), QVantel::Outputs(target));
}

// Gain computation.

double TMatrixSettings::balanceOffset(int input, int output) const
{
    if (!isExtendedMode() || !isHeadphoneOutput(output) || !validInput(input))
        return 0.0;
    // Balance bytes come from the device unchecked: keep the lookup inside the table.
    const std::size_t row = std::size_t(std::clamp(node(input, output).balance, 0, kBalanceMax));
    switch (input) {
    case QVantel::InputProgram:
    case QVantel::InputCoord:
    case QVantel::InputProgramRight:
        return kBalanceA[row];
    case QVantel::InputProgramReturn:
    case QVantel::InputCoordReturn:
    case QVantel::InputProgramReturnRight:
        return kBalanceB[row];
    default:
        return 0.0;
    }
}

void TMatrixSettings::recomputeNode(int input, int output, bool emitChange)
{
    if (m_constructed == 0 || !validInput(input) || !validOutput(output))
        return;
    Node &n = cell(input, output);
    const quint32 copy = m_copyState[std::size_t(output)];
    const bool followsCopy = (copy & CopyTarget) != 0 && (n.flags & NodeFollowsCopy) != 0;
    if (!followsCopy) {
        const double inputDb = m_inputGain[std::size_t(input)];
        const double sum = inputDb + double(n.gain);
        double total = sum + balanceOffset(input, output);
        bool priorityInput = false;
        const quint32 mask = m_priorityMask[std::size_t(output)];
        if ((mask & 0xFFFFFU) != 0) {
            if ((mask & (1U << input)) != 0) {
                // A priority input keeps its boosts and ignores attenuation and balance.
                total = n.gain > 0.0F ? sum : inputDb;
                priorityInput = true;
            } else {
                total
                    = (m_options & OptionPriorityMutes) != 0 ? kOffDb : total + kPriorityDuckingDb;
            }
        }
        float factor = 0.0F;
        if (n.isOn() || priorityInput)
            factor = float(std::exp(total / 20.0));
        if (factor != n.linear) {
            n.linear = factor;
            if ((copy & CopySource) != 0)
                passOnFactor(input, output, factor);
        }
    }
    if (emitChange)
        Q_EMIT nodeChanged(QVantel::Inputs(input), QVantel::Outputs(output));
}

void TMatrixSettings::passOnFactor(int input, int output, float factor)
{
    const quint32 copy = m_copyState[std::size_t(output)];
    for (int target = 0; target < OutputCount; ++target) {
        if (target == output || !isCopyOutput(target) || (copy & (1U << target)) == 0)
            continue;
        Node &n = cell(input, target);
        if ((n.flags & (NodeFollowsCopy | NodeSilencedByCopy)) == NodeFollowsCopy
            && n.linear != factor) {
            n.linear = factor;
        }
    }
}

void TMatrixSettings::recomputeInput(int input)
{
    if (m_constructed == 0 || !validInput(input))
        return;
    for (int output = 0; output < OutputCount; ++output)
        recomputeNode(input, output, false);
    Q_EMIT inputGainChanged(QVantel::Inputs(input));
}

void TMatrixSettings::setPriorityInput(int input, int output)
{
    if (!validInput(input) || !validOutput(output))
        return;
    quint32 &mask = m_priorityMask[std::size_t(output)];
    if ((mask & (1U << input)) != 0)
        return;
    mask |= 1U << input;
    for (int i = 0; i < InputCount; ++i)
        recomputeNode(i, output, false);
}

void TMatrixSettings::clearPriorityInput(int input, int output)
{
    if (!validInput(input) || !validOutput(output))
        return;
    quint32 &mask = m_priorityMask[std::size_t(output)];
    if ((mask & (1U << input)) == 0)
        return;
    mask &= ~(1U << input);
    for (int i = 0; i < InputCount; ++i)
        recomputeNode(i, output, false);
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

// Controller operations.

bool TMatrixSettings::start(bool readNow)
{
    if (!startReading([this, readNow] { return !readNow || readAll(); })) {
        // The session goes on without the matrix (the window tries again): every row of it is
        // missing until a start reads them.
        if (!m_readFailed) {
            m_readFailed = true;
            Q_EMIT readFailed();
        }
        return false;
    }
    m_readFailed = false;
    m_request.subscribe(kEventAudioChangeset);
    return true;
}

void TMatrixSettings::reset()
{
    m_request.unsubscribe(kEventAudioChangeset);
    const bool wasBlocked = blockSignals(true);
    {
        // The state may still be ready here: hold every row back so a reset writes nothing.
        GuardHold inputRows(m_inputRowGuard);
        GuardHold outputRows(m_outputRowGuard);
        GuardHold volume(m_volumeGuard);
        GuardHold balance(m_balanceGuard);
        GuardHold mixes(m_mixGuard);
        for (int input = 0; input < InputRowCount; ++input) {
            m_inputRow[std::size_t(input)] = InputRow();
            if (!hasInputRow(input))
                continue;
            setNodeOn(input, 0, false);
            setNodeOn(input, 18, false);
            setNodeOn(input, 1, false);
            setInputName(input, QString());
            if (input >= kFirstRowGainInput)
                setInputGain(input, 0.0F);
        }
        for (int output = kFirstOutputRow; output <= kLastOutputRow; ++output) {
            m_outputRow[std::size_t(output - kFirstOutputRow)] = 0;
            for (int input : kOutputRowInputs)
                setNodeOn(input, output, false);
        }
        for (int headphone = 0; headphone < HeadphoneCount; ++headphone) {
            for (int input = 0; input < InputCount; ++input) {
                if (isMixInput(headphone, input, 24)) {
                    setMixCell(input, QVantel::headphoneLeftOutput(headphone), true, GainOff);
                    setMixCell(input, QVantel::headphoneRightOutput(headphone), true, GainOff);
                }
                for (int output : {QVantel::headphoneLeftOutput(headphone),
                                   QVantel::headphoneRightOutput(headphone)}) {
                    Node &n = cell(input, output);
                    if (n.balance != kBalanceCentre) {
                        n.balance = kBalanceCentre;
                        recomputeNode(input, output, true);
                    }
                }
            }
            m_headphoneMix[std::size_t(headphone)].fill(kMixDefault);
            m_headphoneBalance[std::size_t(headphone)].fill(kBalanceCentre);
        }
    }
    applyParams({
        {numberedKey(kAudioKeyMatrixPo, 1), "0203040E"},
        {numberedKey(kAudioKeyMatrixPo, 2), "0103040E"},
        {numberedKey(kAudioKeyMatrixPo, 3), "00000000"},
        {numberedKey(kAudioKeyMatrixPo, 4), "00000000"},
        {kAudioKeyMatrixOpt, "00000000"},
        {kAudioKeyMatrixMgn, "80800000"},
        {kAudioKeyMatrixVol, "E0E0E0E0"},
    });
    // Nothing of the unit's is known any more, nor missing until the next start.
    m_readFailed = false;
    m_leftOutAt.clear();
    forgetUnitRows();
    blockSignals(wasBlocked);
    TComController::reset();
}

bool TMatrixSettings::readAll()
{
    std::vector<std::string> keys;
    for (int n = 1; n <= 11; ++n)
        keys.push_back(numberedKey(kAudioKeyMatrixIn, n));
    for (int n = 11; n <= 14; ++n)
        keys.push_back(numberedKey(kAudioKeyMatrixOu, n));
    for (int n = 1; n <= 4; ++n)
        keys.push_back(numberedKey(kAudioKeyMatrixHp, n));
    for (int n = 1; n <= 4; ++n)
        keys.push_back(numberedKey(kAudioKeyMatrixPo, n));
    keys.push_back(kAudioKeyMatrixOpt);
    if (firmwareAtLeast(kFirmware1_6)) {
        keys.push_back(kAudioKeyMatrixMgn);
        if (firmwareAtLeast(kFirmware1_7)) {
            for (int n = 15; n <= 18; ++n)
                keys.push_back(numberedKey(kAudioKeyMatrixIn, n));
            keys.push_back(numberedKey(kAudioKeyMatrixOu, 15));
            if (firmwareAtLeast(kFirmware1_8)) {
                keys.push_back(kAudioKeyMatrixVol);
                if (firmwareAtLeast(kFirmware1_13)) {
                    keys.push_back(numberedKey(kAudioKeyMatrixIn, 19));
                    if (firmwareAtLeast(kFirmware2_0)) {
                        for (int n = 1; n <= 4; ++n)
                            keys.push_back(numberedKey(kAudioKeyMatrixBal, n));
                    }
                }
            }
        }
    }
    return read(keys);
}

bool TMatrixSettings::read(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    if (readParams(keys, values, failed) >= 1)
        return applyParams(values);
    return false;
}

bool TMatrixSettings::write(const std::vector<std::string> &)
{
    return false;
}

bool TMatrixSettings::handleInfo(const ksm::CMsg &msg)
{
    if (*msg.param(kKeyInfoType) != kEventAudioChangeset)
        return false;
    applyParams(msg.params());
    return true;
}

int TMatrixSettings::readParams(const std::vector<std::string> &keys,
                                std::map<std::string, std::string> &values,
                                std::map<std::string, std::string> &failed)
{
    return readTargetParams(kTargetAudio, keys, values, failed);
}

TMatrixSettings *matrixSettings()
{
    static SharedObject<TMatrixSettings> settings;
    return settings.instance([] { return comClient(); });
}
