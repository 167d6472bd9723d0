#include "widgets/qvantellocalize.h"

#include "link/codecconfig.h"
#include "link/protocolkeys.h"
#include "link/sharedobjects.h"
#include "model/deviceoptionword.h"
#include "model/matrixinputnames.h"
#include "model/textconversions.h"
#include "resources/tallydeskresources.h"

#include <QFile>

namespace {

bool hasRateFields(const TCodecConfig &config)
{
    const int a = config.algorithm;
    return (a >= 7 && a <= 9) || (a >= 14 && a <= 16) || (a >= 19 && a <= 28)
           || (a == 13 && config.fec >= 0);
}

} // namespace

QVantelLocalize::QVantelLocalize()
{
    loadLocale();
}

QVantelLocalize::~QVantelLocalize() = default;

void QVantelLocalize::loadLocale()
{
    initTallydeskResources();
    QFile file(QStringLiteral(":/locale/English.locale"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    readLocale(file, m_texts);
}

void QVantelLocalize::readLocale(QIODevice &device, TextMap &texts)
{
    while (!device.atEnd()) {
        const QByteArray line = device.readLine().simplified();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        std::string key(line.constData(), size_t(colon));
        std::string text(line.constData() + colon + 1, size_t(line.size() - colon - 1));
        texts.emplace(std::move(key), std::move(text));
    }
}

QString QVantelLocalize::localizedText(const std::string &key) const
{
    const auto found = m_texts.find(key);
    return fromDeviceString(found != m_texts.end() ? found->second : key);
}

QString QVantelLocalize::localizedText(int causeCode) const
{
    return localizedText(causeText(causeCode));
}

QString QVantelLocalize::interfaceName(int code)
{
    return interfaceName(code, deviceOptionWord);
}

QString QVantelLocalize::interfaceName(int code, quint32 options)
{
    const int index = code & 0xFF;
    switch (code & 0xF00) {
    case 0x100:
        if (index == 0)
            return tr("Ethernet");
        if (index == 1)
            return tr("Ethernet (aux)");
        return tr("Ethernet (ext %1)").arg(index - 1);
    case 0x200:
        return tr("ISDN");
    case 0x300:
        if (options & kOptionInternalMobile) {
            if (index <= 1)
                return tr("Mobile (int %1)").arg(index + 1);
            return tr("Mobile (ext %1)").arg(index - 1);
        }
        if (index == 0)
            return tr("Mobile");
        return tr("Mobile (ext %1)").arg(index);
    case 0x400:
        return tr("Wi-Fi (ext %1)").arg(index + 1);
    default:
        return tr("Invalid");
    }
}

QString QVantelLocalize::codecName(int algorithm)
{
    static const char *const kNames[] = {
        "G.711 A-Law", "G.711 u-Law",   "G.711",        "G.722",   "G.722 SRT", "G.722 H.242",
        "G.722 H.221", "4SB ADPCM",     "MPEG L2 J.52", "MPEG L2", "TDAC",      "TDAC G.722",
        "G.722 TDAC",  "Celp",          "AAC LC",       "AAC HE",  "AAC HEv2",  nullptr,
        nullptr,       "Opus",          "L16",          "L20",     "L24",       "AAC LC LOAS",
        "AAC HE LOAS", "AAC HEv2 LOAS", "MPEG L3",      "AAC LD",  "AAC ELD",
    };
    // Technical names stay as they are; only the spoken words are translated.
    if (algorithm == 17)
        return tr("Mobile Voice");
    if (algorithm == 18)
        return tr("Phone");
    if (algorithm < 0 || algorithm >= int(std::size(kNames)) || !kNames[algorithm])
        return tr("Invalid");
    return QString::fromLatin1(kNames[algorithm]);
}

QString QVantelLocalize::channelModeName(int mode)
{
    switch (mode) {
    case 0:
        return tr("Mono");
    case 1:
        return tr("Dual Mono");
    case 2:
        return tr("Stereo");
    case 3:
        return tr("J-Stereo");
    default:
        return tr("Invalid");
    }
}

QString QVantelLocalize::codingSummary(const TCodecConfig &config)
{
    QString summary = codecName(config.algorithm);
    if (!hasRateFields(config))
        return summary;
    if (config.sampleRate > 0)
        summary += tr(" %1kHz").arg(config.sampleRate / 1000);
    summary += QLatin1Char(' ') + channelModeName(config.channelMode);
    if (config.bitRate > 0) {
        if (config.bitRate % 1000 == 0)
            summary += tr(" %1kbit/s").arg(config.bitRate / 1000);
        else
            summary += tr(" %1bit/s").arg(config.bitRate);
    }
    if (config.algorithm == 8 || (config.algorithm == 9 && config.fec >= 0))
        summary += tr(" FEC:%1").arg(config.fec);
    else if (config.algorithm == 13 && config.fec >= 0)
        summary += tr(" FEC:P%1").arg(config.fec);
    return summary;
}

QString QVantelLocalize::inputName(int input)
{
    return inputName(input, deviceOptionWord);
}

QString QVantelLocalize::inputName(int input, quint32 options)
{
    return matrixInputName(input, options);
}

QVantelLocalize *localize()
{
    static SharedObject<QVantelLocalize> texts;
    return texts.instance();
}
