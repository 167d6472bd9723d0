#include "model/audiosettings.h"

#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/protocolkeys.h"
#include "link/sharedobjects.h"
#include "link/valueconversions.h"
#include "model/firmwareversion.h"
#include "model/modelkeys.h"

#include <array>

namespace {

const char *const kOn = "on";
const char *const kOff = "off";
const char *const kPhantomOn = "48V";
const char *const kSourceDigital = "digital";
const char *const kSourceAnalog = "analog";
const char *const kAuxiliaryBoardPresent = "yes";

int intFromText(const std::string &text, int emptyValue)
{
    return text.empty() ? emptyValue : stringToInt(text);
}

bool switchFromText(const std::string &text)
{
    return text == kOn;
}

bool powerFromText(const std::string &text)
{
    return !text.empty() && text == kPhantomOn;
}

} // namespace

TAudioSettings::TAudioSettings(ksm::CCom *com)
    : TComController(com, GeneralController)
{}

TAudioSettings::~TAudioSettings() = default;

const std::string &TAudioSettings::paramKey(int param)
{
    // Built on first use: the key constants live in another translation unit.
    static const std::array<const std::string *, 35> keys = {
        &kAudioKeyInput1Gain,       &kAudioKeyInput1Power,     &kAudioKeyInput1Limiter,
        &kAudioKeyInput2Gain,       &kAudioKeyInput2Power,     &kAudioKeyInput2Limiter,
        &kAudioKeyInput2Pair,       &kAudioKeyInput3Gain,      &kAudioKeyInput3Power,
        &kAudioKeyInput3Level,      &kAudioKeyInput3Limiter,   &kAudioKeyInput3Filter,
        &kAudioKeyInput3Pad,        &kAudioKeyInput4Gain,      &kAudioKeyInput4Level,
        &kAudioKeyInput4Limiter,    &kAudioKeyInput4Filter,    &kAudioKeyInput4Pad,
        &kAudioKeyInput4Pair,       &kAudioKeyLineOutputLevel, &kAudioKeyLineOutput2Level,
        &kAudioKeyLimiterThreshold, &kAudioKeyInputSource,     &kAudioKeyWaveFile,
        &kAudioKeyWaveScut,         &kAudioKeyDrcState,        &kAudioKeyDrcLimThreshold,
        &kAudioKeyDrcThresholdCmp,  &kAudioKeyDrcRatioCmp,     &kAudioKeyDrcAttack,
        &kAudioKeyAuxPair,          &kAudioKeyAesPair,         &kAudioKeyRavInPair,
        &kAudioKeyRavOuPair,        &kAudioKeyLinePair,
    };
    static const std::string none;
    if (param < 0 || param >= int(keys.size()))
        return none;
    return *keys[std::size_t(param)];
}

bool TAudioSettings::gateOpen(CtlrParam param)
{
    switch (param) {
    case LineOutput2Level:
    case InputSource:
    case WaveFile:
        return firmwareAtLeast(kFirmware1_7);
    case WaveScut:
        return firmwareAtLeast(kFirmware1_10);
    default:
        return true;
    }
}

bool TAudioSettings::writeValue(CtlrParam param, const std::string &text, Wire wire, int number)
{
    if (!gateOpen(param))
        return true; // older firmware does not know the key: keep the value locally
    if (wire == Wire::Decimal)
        return sendParam(paramKey(param), number);
    return sendTextParam(paramKey(param), text);
}

bool TAudioSettings::setIntValue(int &field, int value, bool send, CtlrParam param, Wire wire)
{
    if (value == field)
        return true;
    if (send) {
        std::string text;
        if (wire == Wire::Source)
            text = value == SourceDigital ? kSourceDigital : kSourceAnalog;
        if (!writeValue(param, text, wire, value))
            return false;
    }
    field = value;
    Q_EMIT controllerParamChanged(this, param);
    return true;
}

bool TAudioSettings::setBoolValue(bool &field, bool value, bool send, CtlrParam param, Wire wire)
{
    if (value == field)
        return true;
    if (send) {
        const char *word = value ? (wire == Wire::Power ? kPhantomOn : kOn) : kOff;
        if (!writeValue(param, word, wire, 0))
            return false;
    }
    field = value;
    Q_EMIT controllerParamChanged(this, param);
    return true;
}

// Typed setters.

bool TAudioSettings::setInput1Gain(int value, bool send)
{
    return setIntValue(m_input1Gain, value, send, Input1Gain);
}

bool TAudioSettings::setInput1Power(bool value, bool send)
{
    return setBoolValue(m_input1Power, value, send, Input1Power, Wire::Power);
}

bool TAudioSettings::setInput1Limiter(bool value, bool send)
{
    return setBoolValue(m_input1Limiter, value, send, Input1Limiter);
}

bool TAudioSettings::setInput2Gain(int value, bool send)
{
    return setIntValue(m_input2Gain, value, send, Input2Gain);
}

bool TAudioSettings::setInput2Power(bool value, bool send)
{
    return setBoolValue(m_input2Power, value, send, Input2Power, Wire::Power);
}

bool TAudioSettings::setInput2Limiter(bool value, bool send)
{
    return setBoolValue(m_input2Limiter, value, send, Input2Limiter);
}

bool TAudioSettings::setInput2Pair(bool value, bool send)
{
    return setBoolValue(m_input2Pair, value, send, Input2Pair);
}

bool TAudioSettings::setInput3Gain(int value, bool send)
{
    return setIntValue(m_input3Gain, value, send, Input3Gain);
}

bool TAudioSettings::setInput3Power(bool value, bool send)
{
    return setBoolValue(m_input3Power, value, send, Input3Power, Wire::Power);
}

bool TAudioSettings::setInput3Level(int value, bool send)
{
    return setIntValue(m_input3Level, value, send, Input3Level);
}

bool TAudioSettings::setInput3Limiter(bool value, bool send)
{
    return setBoolValue(m_input3Limiter, value, send, Input3Limiter);
}

bool TAudioSettings::setInput3Filter(bool value, bool send)
{
    return setBoolValue(m_input3Filter, value, send, Input3Filter);
}

bool TAudioSettings::setInput3Pad(bool value, bool send)
{
    return setBoolValue(m_input3Pad, value, send, Input3Pad);
}

bool TAudioSettings::setInput4Gain(int value, bool send)
{
    return setIntValue(m_input4Gain, value, send, Input4Gain);
}

bool TAudioSettings::setInput4Level(int value, bool send)
{
    return setIntValue(m_input4Level, value, send, Input4Level);
}

bool TAudioSettings::setInput4Limiter(bool value, bool send)
{
    return setBoolValue(m_input4Limiter, value, send, Input4Limiter);
}

bool TAudioSettings::setInput4Filter(bool value, bool send)
{
    return setBoolValue(m_input4Filter, value, send, Input4Filter);
}

bool TAudioSettings::setInput4Pad(bool value, bool send)
{
    return setBoolValue(m_input4Pad, value, send, Input4Pad);
}

bool TAudioSettings::setInput4Pair(bool value, bool send)
{
    return setBoolValue(m_input4Pair, value, send, Input4Pair);
}

bool TAudioSettings::setLineOutputLevel(int value, bool send)
{
    return setIntValue(m_lineOutputLevel, value, send, LineOutputLevel);
}

bool TAudioSettings::setLineOutput2Level(int value, bool send)
{
    return setIntValue(m_lineOutput2Level, value, send, LineOutput2Level);
}

bool TAudioSettings::setLimiterThreshold(int value, bool send)
{
    return setIntValue(m_limiterThreshold, value, send, LimiterThreshold);
}

bool TAudioSettings::setInputSource(int value, bool send)
{
    return setIntValue(m_inputSource, value, send, InputSource, Wire::Source);
}

bool TAudioSettings::setWaveFile(const std::string &value, bool send)
{
    if (value == m_waveFile)
        return true;
    if (send && !writeValue(WaveFile, value, Wire::Text, 0))
        return false;
    m_waveFile = value;
    Q_EMIT controllerParamChanged(this, WaveFile);
    return true;
}

bool TAudioSettings::setWaveScut(bool value, bool send)
{
    return setBoolValue(m_waveScut, value, send, WaveScut);
}

bool TAudioSettings::setDrcState(bool value, bool send)
{
    return setBoolValue(m_drcState, value, send, DrcState);
}

bool TAudioSettings::setDrcLimThreshold(int value, bool send)
{
    return setIntValue(m_drcLimThreshold, value, send, DrcLimThreshold);
}

bool TAudioSettings::setDrcThresholdCmp(int value, bool send)
{
    return setIntValue(m_drcThresholdCmp, value, send, DrcThresholdCmp);
}

bool TAudioSettings::setDrcRatioCmp(float value, bool send)
{
    // Exact comparison on purpose: any other value is a change the device should see.
    if (value == m_drcRatioCmp)
        return true;
    if (send && !writeValue(DrcRatioCmp, floatToString(value), Wire::Ratio, 0))
        return false;
    m_drcRatioCmp = value;
    Q_EMIT controllerParamChanged(this, DrcRatioCmp);
    return true;
}

bool TAudioSettings::setDrcAttack(int value, bool send)
{
    return setIntValue(m_drcAttack, value, send, DrcAttack);
}

bool TAudioSettings::setAuxPair(bool value, bool send)
{
    return setBoolValue(m_auxPair, value, send, AuxPair);
}

bool TAudioSettings::setAesPair(bool value, bool send)
{
    return setBoolValue(m_aesPair, value, send, AesPair);
}

bool TAudioSettings::setRavInPair(bool value, bool send)
{
    return setBoolValue(m_ravInPair, value, send, RavInPair);
}

bool TAudioSettings::setRavOuPair(bool value, bool send)
{
    return setBoolValue(m_ravOuPair, value, send, RavOuPair);
}

bool TAudioSettings::setLinePair(bool value, bool send)
{
    return setBoolValue(m_linePair, value, send, LinePair);
}

bool TAudioSettings::setAudioProfile(const std::string &value, bool send)
{
    if (value == m_audioProfile)
        return true;
    if (send && !sendTextParam(kAudioKeyAudioProfile, value))
        return false;
    m_audioProfile = value;
    return true;
}

// From-text forms.

bool TAudioSettings::setInput1Gain(const std::string &text)
{
    setInput1Gain(intFromText(text, 0), false);
    return true;
}

bool TAudioSettings::setInput1Power(const std::string &text)
{
    setInput1Power(powerFromText(text), false);
    return true;
}

bool TAudioSettings::setInput1Limiter(const std::string &text)
{
    setInput1Limiter(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setInput2Gain(const std::string &text)
{
    setInput2Gain(intFromText(text, 0), false);
    return true;
}

bool TAudioSettings::setInput2Power(const std::string &text)
{
    setInput2Power(powerFromText(text), false);
    return true;
}

bool TAudioSettings::setInput2Limiter(const std::string &text)
{
    setInput2Limiter(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setInput2Pair(const std::string &text)
{
    setInput2Pair(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setInput3Gain(const std::string &text)
{
    setInput3Gain(intFromText(text, 0), false);
    return true;
}

bool TAudioSettings::setInput3Power(const std::string &text)
{
    setInput3Power(powerFromText(text), false);
    return true;
}

bool TAudioSettings::setInput3Level(const std::string &text)
{
    setInput3Level(intFromText(text, 0), false);
    return true;
}

bool TAudioSettings::setInput3Limiter(const std::string &text)
{
    setInput3Limiter(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setInput3Filter(const std::string &text)
{
    setInput3Filter(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setInput3Pad(const std::string &text)
{
    setInput3Pad(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setInput4Gain(const std::string &text)
{
    setInput4Gain(intFromText(text, 0), false);
    return true;
}

bool TAudioSettings::setInput4Level(const std::string &text)
{
    setInput4Level(intFromText(text, 0), false);
    return true;
}

bool TAudioSettings::setInput4Limiter(const std::string &text)
{
    setInput4Limiter(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setInput4Filter(const std::string &text)
{
    setInput4Filter(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setInput4Pad(const std::string &text)
{
    setInput4Pad(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setInput4Pair(const std::string &text)
{
    setInput4Pair(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setLineOutputLevel(const std::string &text)
{
    setLineOutputLevel(intFromText(text, 16), false);
    return true;
}

bool TAudioSettings::setLineOutput2Level(const std::string &text)
{
    setLineOutput2Level(intFromText(text, 16), false);
    return true;
}

bool TAudioSettings::setLimiterThreshold(const std::string &text)
{
    setLimiterThreshold(intFromText(text, -9), false);
    return true;
}

bool TAudioSettings::setInputSource(const std::string &text)
{
    setInputSource(text == kSourceDigital ? SourceDigital : SourceAnalog, false);
    return true;
}

bool TAudioSettings::setWaveFile(const std::string &text)
{
    setWaveFile(text, false);
    return true;
}

bool TAudioSettings::setWaveScut(const std::string &text)
{
    setWaveScut(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setDrcState(const std::string &text)
{
    setDrcState(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setDrcLimThreshold(const std::string &text)
{
    setDrcLimThreshold(intFromText(text, -2), false);
    return true;
}

bool TAudioSettings::setDrcThresholdCmp(const std::string &text)
{
    setDrcThresholdCmp(intFromText(text, -3), false);
    return true;
}

bool TAudioSettings::setDrcRatioCmp(const std::string &text)
{
    setDrcRatioCmp(text.empty() ? 2.0F : stringToFloat(text), false);
    return true;
}

bool TAudioSettings::setDrcAttack(const std::string &text)
{
    setDrcAttack(text == "1" ? 1 : text == "2" ? 2 : 0, false);
    return true;
}

bool TAudioSettings::setAuxPair(const std::string &text)
{
    setAuxPair(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setAesPair(const std::string &text)
{
    setAesPair(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setRavInPair(const std::string &text)
{
    setRavInPair(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setRavOuPair(const std::string &text)
{
    setRavOuPair(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setLinePair(const std::string &text)
{
    setLinePair(switchFromText(text), false);
    return true;
}

bool TAudioSettings::setAudioProfile(const std::string &text)
{
    setAudioProfile(text, false);
    return true;
}

// Controller operations.

bool TAudioSettings::start(bool readNow)
{
    if (!startReading([this, readNow] { return !readNow || readAll(); }))
        return false;
    m_request.subscribe(kEventAudioChangeset);
    return true;
}

void TAudioSettings::reset()
{
    m_request.unsubscribe(kEventAudioChangeset);
    const bool wasBlocked = blockSignals(true);
    setAudioProfile(std::string(), false);
    setInput1Gain(0, false);
    setInput1Power(false, false);
    setInput1Limiter(false, false);
    setInput2Gain(0, false);
    setInput2Power(false, false);
    setInput2Limiter(false, false);
    setInput2Pair(false, false);
    setInput3Gain(0, false);
    setInput3Power(false, false);
    setInput3Level(0, false);
    setInput3Limiter(false, false);
    setInput3Filter(false, false);
    setInput3Pad(false, false);
    setInput4Gain(0, false);
    setInput4Level(0, false);
    setInput4Limiter(false, false);
    setInput4Filter(false, false);
    setInput4Pad(false, false);
    setInput4Pair(false, false);
    setLineOutputLevel(16, false);
    setLineOutput2Level(16, false);
    setLimiterThreshold(-9, false);
    setInputSource(SourceAnalog, false);
    setWaveFile(std::string(), false);
    setWaveScut(false, false);
    setAuxPair(false, false);
    setAesPair(false, false);
    setRavInPair(false, false);
    setRavOuPair(false, false);
    setLinePair(false, false);
    setDrcState(false, false);
    setDrcLimThreshold(-2, false);
    setDrcThresholdCmp(-3, false);
    setDrcRatioCmp(2.0F, false);
    setDrcAttack(0, false);
    blockSignals(wasBlocked);
    TComController::reset();
}

bool TAudioSettings::readAll()
{
    std::vector<std::string> keys = {
        kAudioKeyAuxiliaryBoard, kAudioKeyAudioProfile,    kAudioKeyInput1Gain,
        kAudioKeyInput1Power,    kAudioKeyInput1Limiter,   kAudioKeyInput2Gain,
        kAudioKeyInput2Power,    kAudioKeyInput2Limiter,   kAudioKeyInput3Gain,
        kAudioKeyInput3Power,    kAudioKeyInput3Level,     kAudioKeyInput3Limiter,
        kAudioKeyInput3Filter,   kAudioKeyInput3Pad,       kAudioKeyInput4Gain,
        kAudioKeyInput4Level,    kAudioKeyInput4Limiter,   kAudioKeyInput4Filter,
        kAudioKeyInput4Pad,      kAudioKeyLineOutputLevel, kAudioKeyLimiterThreshold,
        kAudioKeyDrcState,       kAudioKeyDrcLimThreshold, kAudioKeyDrcThresholdCmp,
        kAudioKeyDrcRatioCmp,    kAudioKeyDrcAttack,
    };
    if (firmwareAtLeast(kFirmware1_7)) {
        keys.insert(keys.end(),
                    {kAudioKeyLineOutput2Level, kAudioKeyInputSource, kAudioKeyWaveFile});
        if (firmwareAtLeast(kFirmware1_10)) {
            keys.push_back(kAudioKeyWaveScut);
            if (firmwareAtLeast(kFirmware2_0)) {
                keys.insert(keys.end(),
                            {kAudioKeyInput2Pair,
                             kAudioKeyInput4Pair,
                             kAudioKeyAuxPair,
                             kAudioKeyAesPair,
                             kAudioKeyRavInPair,
                             kAudioKeyRavOuPair,
                             kAudioKeyLinePair});
            }
        }
    }
    return read(keys);
}

bool TAudioSettings::read(const std::vector<std::string> &keys)
{
    if (keys.empty())
        return false;
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> failed;
    if (readParams(keys, values, failed) > 0 && !values.empty())
        return applyParams(values);
    return false;
}

bool TAudioSettings::write(const std::vector<std::string> &)
{
    return false;
}

bool TAudioSettings::handleInfo(const ksm::CMsg &msg)
{
    const std::string *infoType = msg.param(kKeyInfoType);
    if (infoType->empty() || *infoType != kEventAudioChangeset)
        return false;
    if (!msg.params().empty())
        applyParams(msg.params());
    return true;
}

bool TAudioSettings::sendParam(const std::string &key, int value)
{
    return sendTextParam(key, longToString(value));
}

bool TAudioSettings::sendTextParam(const std::string &key, const std::string &value)
{
    return writeTargetParams(kTargetAudio, {{key, value}});
}

int TAudioSettings::readParams(const std::vector<std::string> &keys,
                               std::map<std::string, std::string> &values,
                               std::map<std::string, std::string> &failed)
{
    return readTargetParams(kTargetAudio, keys, values, failed);
}

bool TAudioSettings::applyParams(const std::map<std::string, std::string> &values)
{
    using FromText = bool (TAudioSettings::*)(const std::string &);
    // The from-text setter of each parameter number.
    static const std::array<FromText, 35> setters = {
        &TAudioSettings::setInput1Gain,       &TAudioSettings::setInput1Power,
        &TAudioSettings::setInput1Limiter,    &TAudioSettings::setInput2Gain,
        &TAudioSettings::setInput2Power,      &TAudioSettings::setInput2Limiter,
        &TAudioSettings::setInput2Pair,       &TAudioSettings::setInput3Gain,
        &TAudioSettings::setInput3Power,      &TAudioSettings::setInput3Level,
        &TAudioSettings::setInput3Limiter,    &TAudioSettings::setInput3Filter,
        &TAudioSettings::setInput3Pad,        &TAudioSettings::setInput4Gain,
        &TAudioSettings::setInput4Level,      &TAudioSettings::setInput4Limiter,
        &TAudioSettings::setInput4Filter,     &TAudioSettings::setInput4Pad,
        &TAudioSettings::setInput4Pair,       &TAudioSettings::setLineOutputLevel,
        &TAudioSettings::setLineOutput2Level, &TAudioSettings::setLimiterThreshold,
        &TAudioSettings::setInputSource,      &TAudioSettings::setWaveFile,
        &TAudioSettings::setWaveScut,         &TAudioSettings::setDrcState,
        &TAudioSettings::setDrcLimThreshold,  &TAudioSettings::setDrcThresholdCmp,
        &TAudioSettings::setDrcRatioCmp,      &TAudioSettings::setDrcAttack,
        &TAudioSettings::setAuxPair,          &TAudioSettings::setAesPair,
        &TAudioSettings::setRavInPair,        &TAudioSettings::setRavOuPair,
        &TAudioSettings::setLinePair,
    };
    static const std::map<std::string, FromText> byKey = [] {
        std::map<std::string, FromText> map;
        for (int param = 0; param < int(setters.size()); ++param)
            map.emplace(paramKey(param), setters[std::size_t(param)]);
        return map;
    }();

    for (const auto &[key, text] : values) {
        if (key == kAudioKeyAuxiliaryBoard) {
            m_auxiliaryBoard = text == kAuxiliaryBoardPresent;
        } else if (key == kAudioKeyAudioProfile) {
            m_audioProfile = text;
        } else if (const auto it = byKey.find(key); it != byKey.end()) {
            (this->*(it->second))(text);
        }
    }
    return true;
}

TAudioSettings *audioSettings()
{
    static SharedObject<TAudioSettings> settings;
    return settings.instance([] { return comClient(); });
}
