// Coding and audio options: relay transmission, the automatic bit-rate adaptation of Opus with
// the bit rates it accepts, the transmit coding per coder and network, and the routing matrix's
// options word (side tone, intercom and channel knob bits).

#include "demoarea.h"

void installDemoCodingOptions(DemoUnit &demo)
{
    FakeQuorix &fake = demo.fake();
    const QString audio = QStringLiteral("audio");
    fake.setValue(QStringLiteral("relay"), QStringLiteral("off"), audio);

    fake.setValue(QStringLiteral("abr_calls"), QStringLiteral("on"), audio);
    fake.setValue(QStringLiteral("abr_profile"), QStringLiteral("standard"), audio);
    fake.setValue(QStringLiteral("abr_minbr"), QStringLiteral("24000"), audio);
    fake.setValue(QStringLiteral("abr_maxbr"), QStringLiteral("128000"), audio);
    // The bit rates each limit accepts share their names with the stored limits, so a LIST of
    // them is answered here rather than from the store.
    demo.addHandler([](const FakeRequest &request) -> std::optional<QList<FakeReply>> {
        static const QStringList minimums{QStringLiteral("6000"),
                                          QStringLiteral("12000"),
                                          QStringLiteral("24000"),
                                          QStringLiteral("32000")};
        static const QStringList maximums{QStringLiteral("64000"),
                                          QStringLiteral("96000"),
                                          QStringLiteral("128000"),
                                          QStringLiteral("192000")};
        if (request.message.type != FakeMessage::Param || request.target() != QLatin1String("audio")
            || request.lists().size() != 1) {
            return std::nullopt;
        }
        const QString list = request.lists().front();
        if (list != QLatin1String("abr_minbr") && list != QLatin1String("abr_maxbr"))
            return std::nullopt;
        FakeMessage answer(FakeMessage::Param);
        answer.set(list,
                   FakeMessage::joinList(list == QLatin1String("abr_minbr") ? minimums : maximums));
        answer.set(QStringLiteral("return"), QStringLiteral("OK"));
        return QList<FakeReply>{FakeReply::reply(answer)};
    });

    // What each coder sends over IP in double codec mode.
    fake.setValue(QStringLiteral("ip-dcodec_tx_1"), QStringLiteral("OPUS/48000/mono/64000"), audio);
    fake.setValue(QStringLiteral("ip-dcodec_tx_2"), QStringLiteral("OPUS/48000/mono/64000"), audio);

    // Side tone always available, intercom fades, channel knob on side tone.
    fake.setValue(QStringLiteral("matrix_opt"), QStringLiteral("00000000"), audio);
}
