#pragma once

#include "model/comcontroller.h"

#include <QtGlobal>

#include <map>
#include <string>
#include <vector>

// The device's audio processing parameters (input gains, phantom power, limiters, filters, pads,
// input pairing, line output levels, the dynamic range compressor, the input source and the
// wave-file player) as typed fields. Every key travels with "target" "audio".
//
// Setters take (value, bool send). An unchanged value returns true at once: nothing is sent and
// nothing emitted. With send the key is written first (some keys only on newer firmware, see
// below; on older firmware the value is stored and signalled without a request); a refused write
// returns false, keeps the old value and emits nothing. Otherwise the value is stored and
// controllerParamChanged(this, param) fires once. Each setter also has a from-text form taking
// the device's text for the key; it converts the text (empty texts give the defaults), stores it
// without sending and always returns true.
//
// Firmware gates (the first version that takes the key): line_output2_level, input_source and
// wave_file 1.7; wave_scut 1.10.
//
// auxiliary_board (read only, true for "yes") and audio_profile carry no parameter number and
// emit no signal.
//
// start() reads everything with signals blocked and then announces only controllerStateChanged
// (StateReady); reset() restores the defaults with signals blocked (auxiliary_board stays) and
// announces only the state change to StateUnknown. Both keep the INFO "audio_changeset"
// subscription in step, and handleInfo() applies such INFO messages through the from-text
// setters, so every changed value signals.
//
// A process-wide single instance reached through audioSettings(); the protocol client is not
// owned. GUI thread only; every request blocks in the client's nested event loop.
class TAudioSettings : public TComController
{
    Q_OBJECT

public:
    enum CtlrParam {
        Input1Gain = 0,
        Input1Power = 1,
        Input1Limiter = 2,
        Input2Gain = 3,
        Input2Power = 4,
        Input2Limiter = 5,
        Input2Pair = 6,
        Input3Gain = 7,
        Input3Power = 8,
        Input3Level = 9,
        Input3Limiter = 10,
        Input3Filter = 11,
        Input3Pad = 12,
        Input4Gain = 13,
        Input4Level = 14,
        Input4Limiter = 15,
        Input4Filter = 16,
        Input4Pad = 17,
        Input4Pair = 18,
        LineOutputLevel = 19,
        LineOutput2Level = 20,
        LimiterThreshold = 21,
        InputSource = 22,
        WaveFile = 23,
        WaveScut = 24,
        DrcState = 25,
        DrcLimThreshold = 26,
        DrcThresholdCmp = 27,
        DrcRatioCmp = 28,
        DrcAttack = 29,
        AuxPair = 30,
        AesPair = 31,
        RavInPair = 32,
        RavOuPair = 33,
        LinePair = 34,
    };
    Q_ENUM(CtlrParam)

    // Values of inputSource().
    enum InputSourceValue { SourceAnalog = 0, SourceDigital = 1 };

    explicit TAudioSettings(ksm::CCom *com);
    ~TAudioSettings() override;
    Q_DISABLE_COPY_MOVE(TAudioSettings)

    // The device key of a parameter number; an empty text for a number outside 0 to 34.
    [[nodiscard]] static const std::string &paramKey(int param);

    [[nodiscard]] bool auxiliaryBoard() const { return m_auxiliaryBoard; }
    [[nodiscard]] const std::string &audioProfile() const { return m_audioProfile; }
    [[nodiscard]] int input1Gain() const { return m_input1Gain; }
    [[nodiscard]] bool input1Power() const { return m_input1Power; }
    [[nodiscard]] bool input1Limiter() const { return m_input1Limiter; }
    [[nodiscard]] int input2Gain() const { return m_input2Gain; }
    [[nodiscard]] bool input2Power() const { return m_input2Power; }
    [[nodiscard]] bool input2Limiter() const { return m_input2Limiter; }
    [[nodiscard]] bool input2Pair() const { return m_input2Pair; }
    [[nodiscard]] int input3Gain() const { return m_input3Gain; }
    [[nodiscard]] bool input3Power() const { return m_input3Power; }
    [[nodiscard]] int input3Level() const { return m_input3Level; }
    [[nodiscard]] bool input3Limiter() const { return m_input3Limiter; }
    [[nodiscard]] bool input3Filter() const { return m_input3Filter; }
    [[nodiscard]] bool input3Pad() const { return m_input3Pad; }
    [[nodiscard]] int input4Gain() const { return m_input4Gain; }
    [[nodiscard]] int input4Level() const { return m_input4Level; }
    [[nodiscard]] bool input4Limiter() const { return m_input4Limiter; }
    [[nodiscard]] bool input4Filter() const { return m_input4Filter; }
    [[nodiscard]] bool input4Pad() const { return m_input4Pad; }
    [[nodiscard]] bool input4Pair() const { return m_input4Pair; }
    [[nodiscard]] int lineOutputLevel() const { return m_lineOutputLevel; }
    [[nodiscard]] int lineOutput2Level() const { return m_lineOutput2Level; }
    [[nodiscard]] int limiterThreshold() const { return m_limiterThreshold; }
    [[nodiscard]] int inputSource() const { return m_inputSource; }
    [[nodiscard]] const std::string &waveFile() const { return m_waveFile; }
    [[nodiscard]] bool waveScut() const { return m_waveScut; }
    [[nodiscard]] bool drcState() const { return m_drcState; }
    [[nodiscard]] int drcLimThreshold() const { return m_drcLimThreshold; }
    [[nodiscard]] int drcThresholdCmp() const { return m_drcThresholdCmp; }
    [[nodiscard]] float drcRatioCmp() const { return m_drcRatioCmp; }
    [[nodiscard]] int drcAttack() const { return m_drcAttack; }
    [[nodiscard]] bool auxPair() const { return m_auxPair; }
    [[nodiscard]] bool aesPair() const { return m_aesPair; }
    [[nodiscard]] bool ravInPair() const { return m_ravInPair; }
    [[nodiscard]] bool ravOuPair() const { return m_ravOuPair; }
    [[nodiscard]] bool linePair() const { return m_linePair; }

    // Setters; see the class comment. Wire words: gains, levels and thresholds decimal; phantom
    // power "48V"/"off"; other switches "on"/"off"; input source 1 "digital", any other value
    // "analog"; the compressor ratio as floatToString() gives it; texts as stored.
    bool setInput1Gain(int value, bool send);
    bool setInput1Power(bool value, bool send);
    bool setInput1Limiter(bool value, bool send);
    bool setInput2Gain(int value, bool send);
    bool setInput2Power(bool value, bool send);
    bool setInput2Limiter(bool value, bool send);
    bool setInput2Pair(bool value, bool send);
    bool setInput3Gain(int value, bool send);
    bool setInput3Power(bool value, bool send);
    bool setInput3Level(int value, bool send);
    bool setInput3Limiter(bool value, bool send);
    bool setInput3Filter(bool value, bool send);
    bool setInput3Pad(bool value, bool send);
    bool setInput4Gain(int value, bool send);
    bool setInput4Level(int value, bool send);
    bool setInput4Limiter(bool value, bool send);
    bool setInput4Filter(bool value, bool send);
    bool setInput4Pad(bool value, bool send);
    bool setInput4Pair(bool value, bool send);
    bool setLineOutputLevel(int value, bool send);
    bool setLineOutput2Level(int value, bool send);
    bool setLimiterThreshold(int value, bool send);
    bool setInputSource(int value, bool send);
    bool setWaveFile(const std::string &value, bool send);
    bool setWaveScut(bool value, bool send);
    bool setDrcState(bool value, bool send);
    bool setDrcLimThreshold(int value, bool send);
    bool setDrcThresholdCmp(int value, bool send);
    bool setDrcRatioCmp(float value, bool send);
    bool setDrcAttack(int value, bool send);
    bool setAuxPair(bool value, bool send);
    bool setAesPair(bool value, bool send);
    bool setRavInPair(bool value, bool send);
    bool setRavOuPair(bool value, bool send);
    bool setLinePair(bool value, bool send);
    // No firmware gate, no signal.
    bool setAudioProfile(const std::string &value, bool send);

    // From-text forms: the device's text for the key, stored without sending; always true.
    // Numbers: empty gives the default, otherwise stringToInt() (0 for text that is no number);
    // drc_attack only "1" and "2" count, everything else is 0; phantom power only "48V"; other
    // switches only "on"; input source only "digital"; the ratio 2.0 when empty.
    bool setInput1Gain(const std::string &text);
    bool setInput1Power(const std::string &text);
    bool setInput1Limiter(const std::string &text);
    bool setInput2Gain(const std::string &text);
    bool setInput2Power(const std::string &text);
    bool setInput2Limiter(const std::string &text);
    bool setInput2Pair(const std::string &text);
    bool setInput3Gain(const std::string &text);
    bool setInput3Power(const std::string &text);
    bool setInput3Level(const std::string &text);
    bool setInput3Limiter(const std::string &text);
    bool setInput3Filter(const std::string &text);
    bool setInput3Pad(const std::string &text);
    bool setInput4Gain(const std::string &text);
    bool setInput4Level(const std::string &text);
    bool setInput4Limiter(const std::string &text);
    bool setInput4Filter(const std::string &text);
    bool setInput4Pad(const std::string &text);
    bool setInput4Pair(const std::string &text);
    bool setLineOutputLevel(const std::string &text);
    bool setLineOutput2Level(const std::string &text);
    bool setLimiterThreshold(const std::string &text);
    bool setInputSource(const std::string &text);
    bool setWaveFile(const std::string &text);
    bool setWaveScut(const std::string &text);
    bool setDrcState(const std::string &text);
    bool setDrcLimThreshold(const std::string &text);
    bool setDrcThresholdCmp(const std::string &text);
    bool setDrcRatioCmp(const std::string &text);
    bool setDrcAttack(const std::string &text);
    bool setAuxPair(const std::string &text);
    bool setAesPair(const std::string &text);
    bool setRavInPair(const std::string &text);
    bool setRavOuPair(const std::string &text);
    bool setLinePair(const std::string &text);
    bool setAudioProfile(const std::string &text);

    // Brings the controller up after login: resets a known state, then (with readNow) reads
    // every key with signals blocked; a failed read returns false and leaves the state as it
    // was. Then StateReady and the INFO "audio_changeset" subscription; true.
    bool start(bool readNow);

    // Restores the defaults without sending or signalling (auxiliary_board keeps its value),
    // ends the INFO subscription, then TComController::reset().
    void reset() override;
    // The 26 keys every firmware knows, plus those of newer firmware (at most 37); read().
    bool readAll() override;
    // Gets the keys and applies what arrived; false for an empty list, a failed request, or
    // when nothing arrived. Keys the device does not report keep their values.
    bool read(const std::vector<std::string> &keys) override;
    // Not supported: sends nothing, false.
    bool write(const std::vector<std::string> &keys) override;
    // Consumes INFO "audio_changeset" and applies its parameters; false for any other message.
    bool handleInfo(const ksm::CMsg &msg) override;

    // PARAM "target" "audio" with key = value (decimal); true when the device accepted it.
    bool sendParam(const std::string &key, int value);
    bool sendTextParam(const std::string &key, const std::string &value);
    // PARAM "target" "audio" with one GET per key; the result of TComRequest::getParams().
    int readParams(const std::vector<std::string> &keys,
                   std::map<std::string, std::string> &values,
                   std::map<std::string, std::string> &failed);
    // Feeds every known key of values through its from-text setter; unknown keys are skipped.
    bool applyParams(const std::map<std::string, std::string> &values);

Q_SIGNALS:
    void controllerParamChanged(TComController *controller, TAudioSettings::CtlrParam param);

private:
    // How a parameter is written to the device.
    enum class Wire { Decimal, Switch, Power, Source, Text, Ratio };

    bool writeValue(CtlrParam param, const std::string &text, Wire wire, int number);
    bool setIntValue(int &field, int value, bool send, CtlrParam param, Wire wire = Wire::Decimal);
    bool
    setBoolValue(bool &field, bool value, bool send, CtlrParam param, Wire wire = Wire::Switch);
    static bool gateOpen(CtlrParam param);

    bool m_auxiliaryBoard = false;
    std::string m_audioProfile;
    int m_input1Gain = 0;
    bool m_input1Power = false;
    bool m_input1Limiter = false;
    int m_input2Gain = 0;
    bool m_input2Power = false;
    bool m_input2Limiter = false;
    bool m_input2Pair = false;
    int m_input3Gain = 0;
    bool m_input3Power = false;
    int m_input3Level = 0;
    bool m_input3Limiter = false;
    bool m_input3Filter = false;
    bool m_input3Pad = false;
    int m_input4Gain = 0;
    int m_input4Level = 0;
    bool m_input4Limiter = false;
    bool m_input4Filter = false;
    bool m_input4Pad = false;
    bool m_input4Pair = false;
    int m_lineOutputLevel = 16;
    int m_lineOutput2Level = 16;
    int m_limiterThreshold = -9;
    int m_inputSource = SourceAnalog;
    std::string m_waveFile;
    bool m_waveScut = false;
    bool m_drcState = false;
    int m_drcLimThreshold = -2;
    int m_drcThresholdCmp = -3;
    float m_drcRatioCmp = 2.0F;
    int m_drcAttack = 0;
    bool m_auxPair = false;
    bool m_aesPair = false;
    bool m_ravInPair = false;
    bool m_ravOuPair = false;
    bool m_linePair = false;
};

// The process-wide audio settings, built on first use with comClient() and destroyed with the
// other shared objects (destroySharedObjects()). Always the same non-null pointer until then.
TAudioSettings *audioSettings();
