#include "model/matrixsettings.h"

#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/protocolkeys.h"
#include "link/sharedobjects.h"
#include "link/valueconversions.h"
#include "model/deviceoptionword.h"
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

// The cell balance of a centred headphone input.
constexpr int kBalanceCentre = 6;

// A mix byte: both cells on, gain off. The default of every mix byte.
constexpr quint8 kMixDefault = 0xC0;

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
