#pragma once

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <map>
#include <string>

class QIODevice;
struct TCodecConfig;

// The front panel's texts for the device's words, in two halves:
// - a key-to-text table read once, by the constructor, from ":/locale/English.locale", through
//   which parameter names, values, states and error causes become display texts; a key without
//   a row shows as itself;
// - fixed name tables (interfaces, coding algorithms, channel modes, a coding summary, matrix
//   inputs), class-level functions that need no instance.
// One instance per process, reached through localize(). GUI thread only. No signals.
class QVantelLocalize
{
    Q_DECLARE_TR_FUNCTIONS(QVantelLocalize)

public:
    // Key to text, both as the device's bytes; ordered bytewise.
    using TextMap = std::map<std::string, std::string>;
    static constexpr quint32 kOptionInternalMobile = 0x1000;

    QVantelLocalize();
    ~QVantelLocalize();
    Q_DISABLE_COPY_MOVE(QVantelLocalize)

    // Fills the table from the compiled-in resource. An unreadable resource leaves it empty.
    void loadLocale();

    // The text for the key, else the key itself, as a display string.
    [[nodiscard]] QString localizedText(const std::string &key) const;
    // The text for the cause key of a device error code (unknown codes: "200-unknown error").
    [[nodiscard]] QString localizedText(int causeCode) const;

    [[nodiscard]] const TextMap &texts() const { return m_texts; }

    // Reads "key:text" rows into `texts`: each line is simplified (ends trimmed, inner runs of
    // white space cut to one blank); empty lines, lines starting with "#" and lines without ":"
    // are skipped; the key ends at the first ":"; the first row of a key wins.
    static void readLocale(QIODevice &device, TextMap &texts);

    // Interface name of a network code (family 0x100 Ethernet, 0x200 ISDN, 0x300 mobile,
    // 0x400 Wi-Fi, index in the low byte); the one-argument form reads deviceOptionWord.
    [[nodiscard]] static QString interfaceName(int code);
    [[nodiscard]] static QString interfaceName(int code, quint32 deviceOptions);
    [[nodiscard]] static QString codecName(int algorithm);
    [[nodiscard]] static QString channelModeName(int mode);
    // One line: algorithm name, and for the algorithms with rates the sample rate, channel mode,
    // bit rate and error correction.
    [[nodiscard]] static QString codingSummary(const TCodecConfig &config);
    // Fixed name of a routing-matrix input; the one-argument form reads deviceOptionWord.
    [[nodiscard]] static QString inputName(int input);
    [[nodiscard]] static QString inputName(int input, quint32 deviceOptions);

private:
    TextMap m_texts;
};

// The process-wide text tables, built on first use and destroyed with the other shared objects
// (destroySharedObjects) before the application object goes.
QVantelLocalize *localize();
