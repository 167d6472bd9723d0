#include "link/rpcframeparser.h"

#include <QtTest>

namespace {

// Frames laid out byte by byte: magic, length, id, type, code (little-endian), body.
const QByteArray kSignalInfo("TolvRpcM"
                             "\x1d\x00\x00\x00"
                             "\x07\x00\x00\x00"
                             "\x04\x00\x00\x00"
                             "\x00\x00\x00\x00"
                             "INFO;",
                             29);
const QByteArray kReplyOk("TolvRpcM"
                          "\x2a\x00\x00\x00"
                          "\x01\x00\x00\x00"
                          "\x02\x00\x00\x00"
                          "\x00\x00\x00\x00"
                          "PARAM;a:1;return:OK;",
                          42);
const QByteArray kHeaderOnly("TolvRpcM"
                             "\x18\x00\x00\x00"
                             "\xff\xff\xff\xff"
                             "\x03\x00\x00\x00"
                             "\xd2\x04\x00\x00",
                             24);
// Length field 10: taken as a 24-byte frame without body.
const QByteArray kShortLength("TolvRpcM"
                              "\x0a\x00\x00\x00"
                              "\x02\x00\x00\x00"
                              "\x02\x00\x00\x00"
                              "\x00\x00\x00\x00",
                              24);
const QByteArray kBadMagic("TolvRpcX"
                           "\x18\x00\x00\x00"
                           "\x01\x00\x00\x00"
                           "\x02\x00\x00\x00"
                           "\x00\x00\x00\x00",
                           24);
// Length 0x01000001: one byte above the 16 MiB cap.
const QByteArray kHugeLength("TolvRpcM"
                             "\x01\x00\x00\x01"
                             "\x01\x00\x00\x00"
                             "\x04\x00\x00\x00"
                             "\x00\x00\x00\x00",
                             24);
// Length exactly 16 MiB: allowed, the parser waits for the body.
const QByteArray kLargestLength("TolvRpcM"
                                "\x00\x00\x00\x01"
                                "\x01\x00\x00\x00"
                                "\x04\x00\x00\x00"
                                "\x00\x00\x00\x00",
                                24);

class RecordingOwner : public RpcFrameParser::Owner
{
public:
    void parserReady(const char *frame, quint32 size) override
    {
        frames << QByteArray(frame, int(size));
        if (onFrame)
            onFrame();
    }
    void parserFailed() override { ++failures; }

    QList<QByteArray> frames;
    int failures = 0;
    std::function<void()> onFrame;
};

void feedInChunks(RpcFrameParser &parser, const QByteArray &bytes, int chunk)
{
    for (int at = 0; at < bytes.size(); at += chunk)
        parser.feed(bytes.constData() + at, std::min(chunk, int(bytes.size()) - at));
}

} // namespace

class TestRpcFrameParser : public QObject
{
    Q_OBJECT

private slots:
    void deliversFramesWhateverTheSplit()
    {
        const QByteArray stream = kSignalInfo + kHeaderOnly + kReplyOk + kShortLength + kSignalInfo;
        const QList<QByteArray> expected
            = {kSignalInfo, kHeaderOnly, kReplyOk, kShortLength, kSignalInfo};
        for (int chunk = 1; chunk <= stream.size(); ++chunk) {
            RecordingOwner owner;
            RpcFrameParser parser(&owner);
            feedInChunks(parser, stream, chunk);
            QCOMPARE(owner.frames, expected);
            QCOMPARE(owner.failures, 0);
            QCOMPARE(parser.state(), RpcFrameParser::Idle);
        }
    }

    void partialFrameWaitsForItsLastByte()
    {
        RecordingOwner owner;
        RpcFrameParser parser(&owner);
        const QByteArray chunk = kSignalInfo + kReplyOk + kSignalInfo.left(20);
        parser.feed(chunk.constData(), chunk.size());
        QCOMPARE(owner.frames.size(), 2);
        QCOMPARE(parser.state(), RpcFrameParser::ReadingHeader);
        QCOMPARE(parser.filled(), 20u);

        parser.feed(kSignalInfo.constData() + 20, 8);
        QCOMPARE(parser.state(), RpcFrameParser::ReadingBody);
        QCOMPARE(parser.expected(), 29u);
        QCOMPARE(owner.frames.size(), 2);

        parser.feed(kSignalInfo.constData() + 28, 1);
        QCOMPARE(owner.frames.size(), 3);
        QCOMPARE(owner.frames.last(), kSignalInfo);
        QCOMPARE(parser.state(), RpcFrameParser::Idle);
    }

    void emptyChunkDoesNothing()
    {
        RecordingOwner owner;
        RpcFrameParser parser(&owner);
        parser.feed(kSignalInfo.constData(), 0);
        parser.feed(nullptr, 5);
        QCOMPARE(parser.state(), RpcFrameParser::Idle);
        QVERIFY(owner.frames.isEmpty());
    }

    void brokenStreamFailsOnceThenStaysSilentUntilReset_data()
    {
        QTest::addColumn<QByteArray>("bad");
        QTest::addColumn<int>("state");
        QTest::newRow("bad magic") << kBadMagic << int(RpcFrameParser::BadMagic);
        QTest::newRow("length above 16 MiB") << kHugeLength << int(RpcFrameParser::FrameTooLarge);
    }

    void brokenStreamFailsOnceThenStaysSilentUntilReset()
    {
        QFETCH(QByteArray, bad);
        QFETCH(int, state);
        for (int chunk : {1, 5, 1000}) {
            RecordingOwner owner;
            RpcFrameParser parser(&owner);
            const QByteArray stream = kSignalInfo + bad + kSignalInfo;
            feedInChunks(parser, stream, chunk);
            QCOMPARE(owner.frames, QList<QByteArray>{kSignalInfo});
            QCOMPARE(owner.failures, 1);
            QCOMPARE(int(parser.state()), state);

            // Valid frames stay unheard until the owner starts a new stream.
            parser.feed(kReplyOk.constData(), kReplyOk.size());
            QCOMPARE(owner.frames.size(), 1);
            QCOMPARE(owner.failures, 1);

            parser.reset();
            QCOMPARE(parser.state(), RpcFrameParser::Idle);
            feedInChunks(parser, kReplyOk, chunk);
            QCOMPARE(owner.frames.last(), kReplyOk);
        }
    }

    void lengthOfExactly16MiBIsWaitedFor()
    {
        RecordingOwner owner;
        RpcFrameParser parser(&owner);
        parser.feed(kLargestLength.constData(), kLargestLength.size());
        QCOMPARE(owner.failures, 0);
        QCOMPARE(parser.state(), RpcFrameParser::ReadingBody);
        QCOMPARE(parser.expected(), 16u * 1024u * 1024u);

        const QByteArray body(16 * 1024 * 1024 - 24, 'x');
        parser.feed(body.constData(), body.size());
        QCOMPARE(owner.frames.size(), 1);
        QCOMPARE(owner.frames.first().size(), 16 * 1024 * 1024);
        QVERIFY(owner.frames.first().endsWith("xxx"));
    }

    void resetDuringDeliveryDropsTheRestOfTheChunk_data()
    {
        QTest::addColumn<int>("firstChunk");
        QTest::newRow("frame whole in the chunk") << 0;
        QTest::newRow("frame gathered in the buffer") << 1;
    }

    void resetDuringDeliveryDropsTheRestOfTheChunk()
    {
        QFETCH(int, firstChunk);
        RecordingOwner owner;
        RpcFrameParser parser(&owner);
        // The owner starts over after the first frame; the frame stays readable in its callback
        // and the bytes behind it in the same chunk belong to the old stream.
        owner.onFrame = [&] { parser.reset(); };
        const QByteArray stream = kReplyOk + kSignalInfo;
        parser.feed(stream.constData(), firstChunk);
        parser.feed(stream.constData() + firstChunk, stream.size() - firstChunk);
        QCOMPARE(owner.frames, QList<QByteArray>{kReplyOk});
        QCOMPARE(parser.state(), RpcFrameParser::Idle);
        QCOMPARE(parser.filled(), 0u);
    }
};

QTEST_GUILESS_MAIN(TestRpcFrameParser)
#include "tst_rpcframeparser.moc"
