#pragma once

#include "model/comcontroller.h"
#include "model/qvantelrouting.h"

#include <QElapsedTimer>
#include <QString>
#include <QtGlobal>

#include <array>
#include <map>
#include <string>
#include <vector>

// The in-memory model of the device's audio routing matrix: which of 26 inputs reach which of 20
// outputs, at what gain and balance, the inputs' names and gains, the main outputs' gains, the
// four headphone monitoring mixes, copies of one output's mix onto another, and the option
// words. Every cell carries a computed gain factor (`linear`) that combines the input gain, the
// cell gain, a balance offset (extended operation mode, headphone outputs) and the priority and
// copy relations of its output; the factor is exp(dB / 20).
//
// The device knows the matrix as compact text rows under "target" "audio": "matrix_in"N (input
// row: routing to outputs 0, 1 and 18, input gain, name), "matrix_ou"N (outputs 10 to 14),
// "matrix_hp"N (headphone mix), "matrix_bal"N (headphone balance), "matrix_po"N (audio
// configuration), "matrix_opt", "matrix_mgn" (master gain) and "matrix_vol" (headphone own-input
// volume). A cell change rebuilds the rows it belongs to and writes each row that changed, but
// only while the controller is ready (StateReady); in any other state rows are stored and not
// sent, nor queued for later. A gain a row cannot hold is packed as the nearest value it can
// hold (never wrapped); a packed 0 in a 6-bit gain field means -160 dB (off).
//
// Setters: the cell and input setters return false when the device refused a row write; the
// changed field then stays (the next successful write of that row carries it) and its signal
// still fires, so the model and the pages agree. They also return false, changing nothing, when
// the change would write a row or word the unit has not sent (isRowMissing()). An input name is
// the exception: a name the device refused is put back and not signalled, since the operator typed
// it and must not see it as taken. An invalid index changes nothing and returns false. The word
// setters (options, master gain, audio configuration), and the output gains held in the master-gain
// word, keep the old value on a refused write, and refuse to write a word the unit has not sent.
//
// Signals: nodeChanged(i, o) after a cell was recomputed through a cell setter or a received row;
// nodeCopyChanged(s, t) when a copy is made or removed; inputNameChanged, inputGainChanged and
// outputGainChanged after such a change (the gain signals only once construction is complete);
// audioConfigChanged(position) after a configuration record changed; matrixOptionsChanged with
// the options as they were before the change (the new value is in options()).
//
// A received row is read from its start whatever firmware sent it: an input row's word is the
// hex before its comma, however many digits (a word wider than 16 bits keeps its low bits), a
// mix row gives two digits per input for as many inputs as it holds (at least twelve), the other
// rows their first digits. A row whose digits read are not all hexadecimal (a broken unit, a
// value that is no number) is refused and leaves the row as it was, so that no garbage turns
// into routing that a later write sends back. Writes keep the width of the current firmware.
//
// start() reads every row with signals blocked and then announces only controllerStateChanged;
// reset() restores the defaults with signals blocked. handleInfo() applies INFO
// "audio_changeset" rows like a read, with signals.
//
// A process-wide single instance reached through matrixSettings(); the protocol client is not
// owned. GUI thread only; every row write blocks in the client's nested event loop.
class TMatrixSettings : public TComController
{
    Q_OBJECT

public:
    static constexpr int InputCount = QVantel::InputCount;
    static constexpr int OutputCount = QVantel::OutputCount;
    static constexpr int HeadphoneCount = 4;
    static constexpr int InputRowCount = 19;

    // Flags of a cell.
    static constexpr quint32 NodeOn = 0x1;
    static constexpr quint32 NodeFollowsCopy = 0x2;
    static constexpr quint32 NodeSilencedByCopy = 0x4;

    // Bits of copyState(): the output is a copy source / a copy target; bits 0 to 19 name the
    // partner outputs.
    static constexpr quint32 CopySource = 0x80000000U;
    static constexpr quint32 CopyTarget = 0x40000000U;

    // The value of the constructed word once construction is complete.
    static constexpr quint32 Constructed = 0x80000000U;

    // Option bits: priority ducking switches the other inputs off instead of -12 dB; the
    // side-tone option the pages read.
    static constexpr quint32 OptionPriorityMutes = 0x40000000U;
    static constexpr quint32 OptionSideTone = 0x20000000U;

    // A gain of this value (dB) means off.
    static constexpr float GainOff = -160.0F;

    // One cell, input i to output o.
    struct Node
    {
        quint32 flags = 0;   // NodeOn, NodeFollowsCopy, NodeSilencedByCopy
        float gain = 0.0F;   // dB; GainOff means off
        float linear = 0.0F; // the computed gain factor
        int balance = 0;     // 0 (left) to 12 (right), 6 centre

        [[nodiscard]] bool isOn() const { return (flags & NodeOn) != 0; }
    };

    using MatrixOpts = quint32;
    // Headphone records: one byte per input 0 to 25.
    using HeadphoneMix = std::array<quint8, InputCount>;
    using HeadphoneBalance = std::array<quint8, InputCount>;
    // Four bytes per headphone position, opaque to this class.
    using AudioConfig = std::array<quint8, 4>;

    // The rows of the unit's matrix the program writes, each numbered as its getter is: an input
    // row by its input (0 to 10, 14 to 18), an output row by its output (10 to 14), a headphone
    // mix, a balance and a position record by the headphone or position (0 to 3); and the three
    // words, each number 0: the options, the master gains ("matrix_mgn") and the headphones'
    // own-microphone levels ("matrix_vol").
    enum class Row { Input, Output, Mix, Balance, Position, Options, MasterGain, Volume };
    Q_ENUM(Row)
    struct RowId
    {
        Row row;
        int index;
    };

    // The stored "matrix_in" row of an input: the row word and the name as Latin-1 bytes.
    struct InputRow
    {
        quint16 word = 0x20;
        std::string name;

        bool operator==(const InputRow &other) const
        {
            return word == other.word && name == other.name;
        }
    };

    explicit TMatrixSettings(ksm::CCom *com);
    ~TMatrixSettings() override;
    Q_DISABLE_COPY_MOVE(TMatrixSettings)

    // Plain getters. An index outside the table gives a default value.
    [[nodiscard]] quint32 constructed() const { return m_constructed; }
    [[nodiscard]] int operationMode() const { return m_operationMode; }
    [[nodiscard]] bool isExtendedMode() const { return m_operationMode == 1; }
    // The device-given name of an input; empty when none is stored.
    [[nodiscard]] QString inputNames(int input) const;
    [[nodiscard]] float inputGain(int input) const;
    [[nodiscard]] float outputGain(int output) const;
    [[nodiscard]] float auxGain(int index) const;
    [[nodiscard]] quint32 copyState(int output) const;
    [[nodiscard]] quint32 priorityMask(int output) const;
    [[nodiscard]] const Node &node(int input, int output) const;
    [[nodiscard]] MatrixOpts options() const { return m_options; }
    [[nodiscard]] quint32 masterGain() const { return m_masterGain; }
    [[nodiscard]] quint32 volume() const { return m_volume; }
    // Rows 0 to 18 (input index); rows 11 to 13 exist only locally.
    [[nodiscard]] InputRow inputRow(int input) const;
    // The byte of output 10 to 14.
    [[nodiscard]] quint8 outputRow(int output) const;
    [[nodiscard]] HeadphoneMix headphoneMix(int headphone) const;
    [[nodiscard]] AudioConfig audioConfig(int position) const;
    [[nodiscard]] HeadphoneBalance headphoneBalance(int headphone) const;

    // True once the row arrived from the unit in a form it is read in, since construction or the
    // last reset(). Until then it holds defaults or what the pages set, not what the unit has.
    [[nodiscard]] bool isRowKnown(Row row, int index) const;
    // True while the controller is ready, or its start could not read the matrix, and the row is
    // one the current firmware reads and writes but the unit has not sent, or a balance row or
    // word that the current firmware does not have (it is never read, so never written either).
    // A row the program has not read is never written: every change that would write a missing
    // row is refused (false) and changes nothing. The pages lock their controls of a missing row
    // and say so. Input and output rows beyond the firmware's are kept here and never sent, so
    // they are not missing.
    [[nodiscard]] bool isRowMissing(Row row, int index) const;
    // Whether the current firmware reads and writes the row (readAll() asks for it).
    [[nodiscard]] static bool firmwareReadsRow(Row row, int index);
    // True after a start that could not read the matrix, until the next start or reset().
    [[nodiscard]] bool readHasFailed() const { return m_readFailed; }
    // Reads again those of rows that are missing and that the firmware has, while the controller
    // is ready (else the next start reads them). A row still missing after a read that was sent
    // (the unit left it out, sent it in a form that is not read, or failed the read) is not asked
    // for again within kRereadIntervalMs; a read the busy client never sent holds nothing back.
    // True when none of rows is missing afterwards (also when nothing needed reading). A row that
    // arrives is announced with rowReceived().
    static constexpr qint64 kRereadIntervalMs = 5000;
    bool readMissingRows(const std::vector<RowId> &rows);

    // The stored device name, or the input's fixed display name when none is stored. The fixed
    // names of the audio-over-IP inputs follow deviceOptionWord (Dante or RAVENNA).
    [[nodiscard]] QString inputName(int input) const;
    // The fixed display name, followed by "\n" and the stored name when one is stored.
    [[nodiscard]] QString inputTitle(int input) const;
    // True while the output (0 to 9, 18, 19) receives a copy of another output.
    [[nodiscard]] bool isCopyTarget(int output) const;
    // The output a copy target copies (the lowest partner), else -1.
    [[nodiscard]] int copySource(int output) const;

    // Cell and input setters; see the class comment. They write when the state allows.
    bool setNodeOn(int input, int output, bool on);
    bool setNodeGain(int input, int output, float dB);
    bool setNodeBalance(int input, int output, int balance);
    bool setInputName(int input, const QString &name);
    bool setInputGain(int input, float dB);
    // Outputs 0 and 18 (programme, they move together) and 1 (coordination) are also written
    // into the master-gain word; when the device refuses that word the old gain stays, and
    // nothing is signalled.
    bool setOutputGain(int output, float dB);
    // One of the four gains held for the pages; no request, no signal.
    void setStoredGain(int index, float dB);
    // Stores the device's operation mode (1 extended); no recomputation, no signal.
    void setOperationMode(int mode);
    // Connection notifications of the front-panel window; the matrix does not use them.
    void coordLineStateChanged(bool active);
    void audioCallStateChanged(bool active);

    // Word setters: an equal value returns true; with send and StateReady the word is written
    // first ("matrix_mgn" only from firmware 1.6 on) and a refusal returns false, keeping the old
    // value. With send, a word the unit has not sent (isRowMissing()) is refused the same way.
    bool setMatrixOptions(const MatrixOpts &options, bool send);
    // Also sets the gains of the programme outputs (top byte - 128) and the coordination output
    // (second byte - 128).
    bool setMasterGain(const quint32 &gain, bool send);
    // A position above 3 returns true and changes nothing.
    bool setAudioConfig(int position, const AudioConfig &config, bool send);

    // A headphone edit collects several cell edits into one "matrix_hp" write: begin returns a
    // copy of the record (26 bytes of 0xC0 for an index outside 0 to 3) and, for 0 to 3, holds
    // back mix writes; commit ends the edit and writes the record when it differs from before
    // (and the controller is ready). Commit is true without an open edit, for an index outside 0
    // to 3, and when nothing needed writing; false when the write was refused.
    HeadphoneMix beginHeadphoneEdit(int headphone);
    bool commitHeadphoneEdit(int headphone, const HeadphoneMix &before);

    // Makes target follow source (outputs 0 to 9, 18, 19). Nothing happens unless construction
    // is complete, they differ, target is free and source is no copy target. Copies of outputs
    // 0, 18 and 1 silence every cell of the target except that of their partner input (20, 24,
    // 21). Emits nodeCopyChanged.
    void copyOutput(int source, int target);
    // Ends the copy of source onto target (target must be a copy target of source); the target's
    // cells stop following and are recomputed. The source keeps its source mark. Emits
    // nodeCopyChanged.
    void removeOutputCopy(int source, int target);

    // Gain computation. balanceOffset is the balance table value (extended mode, outputs 2 to 9,
    // inputs 12, 13, 19 to 21, 24); out-of-range balances are clamped to the table.
    [[nodiscard]] double balanceOffset(int input, int output) const;
    void recomputeNode(int input, int output, bool emitChange);
    void recomputeInput(int input);
    void setPriorityInput(int input, int output);
    void clearPriorityInput(int input, int output);

    // Brings the controller up after login; as TAudioSettings::start().
    bool start(bool readNow);

    void reset() override;
    bool readAll() override;
    bool read(const std::vector<std::string> &keys) override;
    // Not supported: sends nothing, false.
    bool write(const std::vector<std::string> &keys) override;
    bool handleInfo(const ksm::CMsg &msg) override;

    // Applies received rows (send off); false for an empty map.
    bool applyParams(const std::map<std::string, std::string> &values);
    int readParams(const std::vector<std::string> &keys,
                   std::map<std::string, std::string> &values,
                   std::map<std::string, std::string> &failed);
    // PARAM "target" "audio" with key = text; true when the device accepted it.
    bool sendParam(const std::string &key, const std::string &text);

    // Row codecs (no state): a 6-bit gain field (0 means off; other gains are truncated toward
    // zero, +32, and clamped to 1..63, or to 0 when off is nearer), its reading, and the 8-bit
    // output gain of the master-gain word (truncated, +128, clamped to 0..255).
    [[nodiscard]] static quint8 gainBits(float dB);
    [[nodiscard]] static float gainFromBits(unsigned bits);
    [[nodiscard]] static quint8 masterGainByte(float dB);
    // Whether input i is part of headphone h's mix row (firmware decides how far the row goes).
    [[nodiscard]] static bool isMixInput(int headphone, int input, int lastInput);
    // The highest input a "matrix_hp" row carries on the current firmware.
    [[nodiscard]] static int mixLastInput();

Q_SIGNALS:
    void nodeChanged(QVantel::Inputs input, QVantel::Outputs output);
    void nodeCopyChanged(QVantel::Outputs source, QVantel::Outputs target);
    void inputNameChanged(QVantel::Inputs input);
    void inputGainChanged(QVantel::Inputs input);
    void outputGainChanged(QVantel::Outputs output);
    void audioConfigChanged(QVantel::Inputs position);
    void matrixOptionsChanged(TMatrixSettings::MatrixOpts previous);
    // A row that was not known arrived, from a read or an INFO "audio_changeset" (start() reads
    // silently, then announces controllerStateChanged).
    void rowReceived(TMatrixSettings::Row row, int index);
    // start() could not read the matrix: every row is missing until a start reads them.
    void readFailed();

private:
    // Scoped hold of one re-entry guard; restores the previous value.
    class GuardHold
    {
    public:
        explicit GuardHold(bool &guard)
            : m_guard(guard)
            , m_previous(guard)
        {
            m_guard = true;
        }
        ~GuardHold() { m_guard = m_previous; }
        GuardHold(const GuardHold &) = delete;
        GuardHold &operator=(const GuardHold &) = delete;

    private:
        bool &m_guard;
        bool m_previous;
    };

    static bool validInput(int input) { return input >= 0 && input < InputCount; }
    static bool validOutput(int output) { return output >= 0 && output < OutputCount; }
    static bool hasInputRow(int input);
    // The highest input whose row the current firmware reads and writes.
    static int lastInputRow();
    // Whether a row the firmware does not have is kept here without being sent (input and
    // output rows), rather than refused.
    static bool isKeptBeyondFirmware(Row row);
    static std::string rowKey(Row row, int index);
    // The known flag of the row; null for a row the table does not have.
    const bool *knownFlag(Row row, int index) const;
    // Marks the row known; announces it when it was not.
    void markKnown(Row row, int index);
    // Nothing of the unit's is known any more: every row and word holds defaults.
    void forgetUnitRows();
    // Whether a change of cell (input, output) is refused because it would write a missing row;
    // routing: the change is of the cell's on flag (the gain is in the headphone mixes only).
    bool refusesCell(int input, int output, bool routing) const;
    // Whether a change is refused because it would write the missing row; what received rows
    // and resets set is never refused.
    bool refusesRow(Row row, int index) const;
    static bool isCopyOutput(int output);
    bool isReady() const { return state() == StateReady; }
    Node &cell(int input, int output) { return m_node[std::size_t(input)][std::size_t(output)]; }

    // Row builders.
    // The hexadecimal digits of an input row word: 2 before firmware 2.0, 4 from it on.
    static std::size_t inputWordDigits();
    quint16 inputRowWord(int input) const;
    std::string inputRowText(const InputRow &row) const;
    quint8 outputRowByte(int output) const;
    std::string mixText(int headphone, const HeadphoneMix &mix) const;
    static std::string balanceText(const HeadphoneBalance &balance);
    static std::string configText(const AudioConfig &config);
    static std::string volumeText(quint32 volume);

    // Row writers; false only when the device refused.
    bool sendInputRow(int input);
    bool sendOutputRow(int output);
    bool updateHeadphoneMix(int input, int output);
    bool updateVolume(int input, int output);
    bool updateHeadphoneBalance(int input, int output);

    // Row readers (send off).
    void applyInputRow(int input, const std::string &text);
    void applyOutputRow(int output, const std::string &text);
    void applyHeadphoneMix(int headphone, const std::string &text);
    void applyHeadphoneBalance(int headphone, const std::string &text);
    void applyAudioConfig(int position, const std::string &text);
    void applyVolume(const std::string &text);
    void setMixCell(int input, int output, bool on, float dB);

    void passOnFactor(int input, int output, float factor);
    void applyDefaults();

    quint32 m_constructed = 0;
    bool m_inputRowGuard = false;
    bool m_outputRowGuard = false;
    bool m_mixGuard = false; // also held by an open headphone edit
    bool m_editOpen = false;
    bool m_readFailed = false;
    // When a read of readMissingRows() last came back without each row key, on m_clock.
    QElapsedTimer m_clock;
    std::map<std::string, qint64> m_leftOutAt;
    bool m_volumeGuard = false;
    bool m_balanceGuard = false;
    int m_operationMode = 0;
    std::array<QString, InputCount> m_inputNames;
    std::array<float, InputCount> m_inputGain{};
    std::array<float, OutputCount> m_outputGain{};
    std::array<float, 4> m_auxGain{};
    std::array<quint32, OutputCount> m_copyState{};
    std::array<quint32, OutputCount> m_priorityMask{};
    std::array<std::array<Node, OutputCount>, InputCount> m_node{};
    MatrixOpts m_options = 0;
    quint32 m_masterGain = 0x80800000U;
    quint32 m_volume = 0xE0E0E0E0U;
    std::array<InputRow, InputRowCount> m_inputRow;
    std::array<quint8, 5> m_outputRow{};
    std::array<HeadphoneMix, HeadphoneCount> m_headphoneMix{};
    std::array<bool, InputRowCount> m_inputRowKnown{};
    std::array<bool, 5> m_outputRowKnown{};
    std::array<bool, HeadphoneCount> m_mixKnown{};
    std::array<bool, HeadphoneCount> m_balanceKnown{};
    std::array<bool, HeadphoneCount> m_positionKnown{};
    bool m_optionsKnown = false;
    bool m_masterGainKnown = false;
    bool m_volumeKnown = false;
    std::array<AudioConfig, HeadphoneCount> m_audioConfig{};
    std::array<HeadphoneBalance, HeadphoneCount> m_headphoneBalance{};
};

// The process-wide routing matrix, built on first use with comClient() and destroyed with the
// other shared objects (destroySharedObjects()). Always the same non-null pointer until then.
TMatrixSettings *matrixSettings();
