// Coding: the codec the unit is set to, and the lists of algorithms, channel modes, sample rates
// and bit rates it offers for a choice. A list request names what it asks about in its pairs
// ("alg", "mode", "samplerate"); those pairs are questions, never stored.
//
// FAKE_QUORIX_LIST_ITEMS=N makes the list of algorithms N entries longer (the known algorithms
// over and over), so that a long choice popup can be tried.

#include "demoarea.h"

#include <QtGlobal>

#include <algorithm>

namespace {

const QString kAudio = QStringLiteral("audio");

struct Algorithm
{
    const char *name;
    QStringList modes;
    QStringList sampleRates;
    QStringList monoBitRates;
    QStringList stereoBitRates;
};

const QList<Algorithm> &algorithms()
{
    static const QList<Algorithm> table{
        {"OPUS",
         {"mono", "stereo"},
         {"48000"},
         {"32000", "48000", "64000"},
         {"64000", "96000", "128000"}},
        {"MPA2",
         {"mono", "dmono", "stereo", "jstereo"},
         {"48000", "32000"},
         {"64000", "96000", "128000"},
         {"128000", "192000", "256000"}},
        {"AAC-ld", {"mono", "stereo"}, {"48000"}, {"64000", "96000"}, {"128000", "192000"}},
        {"L16", {"mono", "stereo"}, {"48000"}, {"768000"}, {"1536000"}},
        {"G722", {}, {}, {}, {}},
        {"PCMA", {}, {}, {}, {}},
    };
    return table;
}

const Algorithm *findAlgorithm(const QString &name)
{
    for (const Algorithm &algorithm : algorithms()) {
        if (name == QLatin1String(algorithm.name))
            return &algorithm;
    }
    return nullptr;
}

QStringList capability(const FakeRequest &request, const QString &list, int extra)
{
    if (list == QLatin1String("alg")) {
        QStringList names;
        for (const Algorithm &algorithm : algorithms())
            names << QLatin1String(algorithm.name);
        for (int i = 0; i < extra; ++i)
            names << QLatin1String(algorithms().at(i % algorithms().size()).name);
        return names;
    }
    const Algorithm *algorithm = findAlgorithm(request.value(QStringLiteral("alg")));
    if (!algorithm)
        return {};
    if (list == QLatin1String("mode"))
        return algorithm->modes;
    if (list == QLatin1String("samplerate"))
        return algorithm->sampleRates;
    if (list == QLatin1String("bitrate")) {
        // The telephone-band algorithms run at one rate the unit does not list; it names their
        // bit rate when asked at the 48000 Hz their coding holds, and nothing at any other rate.
        if (algorithm->sampleRates.isEmpty()) {
            return request.value(QStringLiteral("samplerate")) == QLatin1String("48000")
                       ? QStringList{QStringLiteral("64000")}
                       : QStringList{};
        }
        const QString mode = request.value(QStringLiteral("mode"));
        return mode == QLatin1String("mono") ? algorithm->monoBitRates : algorithm->stereoBitRates;
    }
    return {};
}

} // namespace

void installDemoCoding(DemoUnit &demo)
{
    FakeQuorix &fake = demo.fake();
    fake.setValue(QStringLiteral("codec_mode"), QStringLiteral("cmode_normal"), kAudio);
    fake.setValue(QStringLiteral("coord_mode"), QStringLiteral("disabled"), kAudio);
    fake.setValue(QStringLiteral("operation_mode"), QStringLiteral("standard"), kAudio);
    fake.setValue(QStringLiteral("codec"), QStringLiteral("OPUS/48000/stereo/64000"), kAudio);
    fake.setValue(QStringLiteral("dcodec_1"), QStringLiteral("G722"), kAudio);
    fake.setValue(QStringLiteral("dcodec_2"), QStringLiteral("G722"), kAudio);
    fake.setValue(QStringLiteral("aes67_reset"), QStringLiteral("off"), kAudio);

    const int extra = std::clamp(qEnvironmentVariableIntValue("FAKE_QUORIX_LIST_ITEMS"), 0, 100000);
    demo.addHandler([extra](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        if (request.message.type != FakeMessage::Param || request.target() != kAudio
            || request.lists().isEmpty() || !request.has(QStringLiteral("codec_mode"))) {
            return std::nullopt;
        }
        FakeMessage answer(FakeMessage::Param);
        for (const QString &list : request.lists())
            answer.set(list, FakeMessage::joinList(capability(request, list, extra)));
        answer.set(QStringLiteral("return"), QStringLiteral("OK"));
        return QList<FakeReply>{FakeReply::reply(answer)};
    });
}
