#include "link/rpcmessage.h"

#include <QtTest>

namespace {

ksm::CMsg paramA1()
{
    ksm::CMsg body(ksm::CMsg::Param);
    body.setParam("a", "1");
    return body;
}

// A Signal (id 7, code 0) with body "PARAM;a:1;", laid out by hand.
const QByteArray kSignalA1("TolvRpcM"
                           "\x22\x00\x00\x00"
                           "\x07\x00\x00\x00"
                           "\x04\x00\x00\x00"
                           "\x00\x00\x00\x00"
                           "PARAM;a:1;",
                           34);

QByteArray header(const char *length, const char *type)
{
    return QByteArray("TolvRpcM", 8) + QByteArray(length, 4) + QByteArray("\x05\x00\x00\x00", 4)
           + QByteArray(type, 4) + QByteArray("\x09\x00\x00\x00", 4);
}

} // namespace

class TestRpcMessage : public QObject
{
    Q_OBJECT

private slots:
    void makersFillTheFields()
    {
        const RpcMessage none;
        QCOMPARE(none.id(), -1);
        QCOMPARE(none.code(), 0);
        QCOMPARE(none.type(), RpcMessage::None);
        QCOMPARE(none.body().type(), int(ksm::CMsg::None));

        const RpcMessage request = RpcMessage::request(12, paramA1());
        QCOMPARE(request.type(), RpcMessage::Request);
        QCOMPARE(request.id(), 12);
        QCOMPARE(RpcMessage::request(paramA1()).id(), -1);
        QCOMPARE(RpcMessage::signal(paramA1()).type(), RpcMessage::Signal);

        const RpcMessage reply = RpcMessage::reply(request, ksm::CMsg(ksm::CMsg::Do));
        QCOMPARE(reply.type(), RpcMessage::Reply);
        QCOMPARE(reply.id(), 12);
        QCOMPARE(reply.code(), 0);
        QCOMPARE(reply.body().type(), int(ksm::CMsg::Do));

        const RpcMessage error = RpcMessage::errorReply(request, 1234);
        QCOMPARE(error.type(), RpcMessage::ErrorReply);
        QCOMPARE(error.id(), 12);
        QCOMPARE(error.code(), 1234);
        QCOMPARE(error.body().type(), int(ksm::CMsg::None));
    }

    void encodeLaysOutTheFrame()
    {
        QCOMPARE(RpcMessage::signal(7, paramA1()).encode(), kSignalA1);

        // An empty body makes a header-only frame.
        const QByteArray headerOnly("TolvRpcM"
                                    "\x18\x00\x00\x00"
                                    "\xff\xff\xff\xff"
                                    "\x01\x00\x00\x00"
                                    "\x00\x00\x00\x00",
                                    24);
        QCOMPARE(RpcMessage::request(ksm::CMsg()).encode(), headerOnly);

        RpcMessage reply = RpcMessage::errorReply(RpcMessage::request(-2, paramA1()), -6);
        const QByteArray errorFrame("TolvRpcM"
                                    "\x18\x00\x00\x00"
                                    "\xfe\xff\xff\xff"
                                    "\x03\x00\x00\x00"
                                    "\xfa\xff\xff\xff",
                                    24);
        QCOMPARE(reply.encode(), errorFrame);

        QVERIFY(RpcMessage().encode().isEmpty());
        RpcMessage badBody = RpcMessage::request(paramA1());
        badBody.setBody(ksm::CMsg(9));
        QVERIFY(badBody.encode().isEmpty());
    }

    void datagramDecodes()
    {
        const RpcMessage message = RpcMessage::fromDatagram(kSignalA1 + QByteArray("trailing"));
        QCOMPARE(message.type(), RpcMessage::Signal);
        QCOMPARE(message.id(), 7);
        QCOMPARE(message.code(), 0);
        QCOMPARE(message.body(), paramA1());

        // Round trip of every type through the encoder.
        for (auto type :
             {RpcMessage::Request, RpcMessage::Reply, RpcMessage::ErrorReply, RpcMessage::Signal}) {
            RpcMessage original = RpcMessage::request(-77, paramA1());
            original.setType(type);
            original.setCode(-1234567);
            const RpcMessage decoded = RpcMessage::fromDatagram(original.encode());
            QCOMPARE(decoded.type(), type);
            QCOMPARE(decoded.id(), -77);
            QCOMPARE(decoded.code(), -1234567);
            QCOMPARE(decoded.body(), paramA1());
        }
    }

    void invalidDatagramsGiveTheDefaultMessage_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("23 bytes") << header("\x18\x00\x00\x00", "\x04\x00\x00\x00").left(23);
        QTest::newRow("bad magic")
            << QByteArray("TolvRpcm").append(header("\x18\x00\x00\x00", "\x04\x00\x00\x00").mid(8));
        QTest::newRow("type 0") << header("\x18\x00\x00\x00", "\x00\x00\x00\x00");
        QTest::newRow("type 5") << header("\x18\x00\x00\x00", "\x05\x00\x00\x00");
        QTest::newRow("type -1") << header("\x18\x00\x00\x00", "\xff\xff\xff\xff");
        QTest::newRow("length 20") << header("\x14\x00\x00\x00", "\x04\x00\x00\x00");
        QTest::newRow("length beyond the datagram")
            << header("\x23\x00\x00\x00", "\x04\x00\x00\x00") + QByteArray("PARAM;a:1;");
        QTest::newRow("length 4 GiB")
            << header("\xff\xff\xff\xff", "\x04\x00\x00\x00") + QByteArray("PARAM;a:1;");
    }

    void invalidDatagramsGiveTheDefaultMessage()
    {
        QFETCH(QByteArray, datagram);
        const RpcMessage message = RpcMessage::fromDatagram(datagram);
        QCOMPARE(message.type(), RpcMessage::None);
        QCOMPARE(message.id(), -1);
        QCOMPARE(message.code(), 0);
        QCOMPARE(message.body().type(), int(ksm::CMsg::None));
    }

    void datagramWithUnreadableBodyKeepsTheHeader()
    {
        const QByteArray datagram = header("\x1d\x00\x00\x00", "\x02\x00\x00\x00") + "param";
        const RpcMessage message = RpcMessage::fromDatagram(datagram);
        QCOMPARE(message.type(), RpcMessage::Reply);
        QCOMPARE(message.id(), 5);
        QCOMPARE(message.code(), 9);
        QCOMPARE(message.body().type(), int(ksm::CMsg::None));

        // Only the bytes up to the length field count: "PARAM;a:1;" cut to "PARA".
        const QByteArray cut = header("\x1c\x00\x00\x00", "\x04\x00\x00\x00") + "PARAM;a:1;";
        QCOMPARE(RpcMessage::fromDatagram(cut).type(), RpcMessage::Signal);
        QCOMPARE(RpcMessage::fromDatagram(cut).body().type(), int(ksm::CMsg::None));
    }

    void copiesAreIndependent()
    {
        RpcMessage original = RpcMessage::request(3, paramA1());
        RpcMessage copy = original;
        ksm::CMsg other(ksm::CMsg::Info);
        other.setParam("b", "2");
        copy.setBody(other);
        copy.setId(4);
        QCOMPARE(original.body(), paramA1());
        QCOMPARE(original.id(), 3);
        const RpcMessage &self = original;
        original = self;
        QCOMPARE(original.id(), 3);
        QCOMPARE(original.body(), paramA1());
    }
};

QTEST_GUILESS_MAIN(TestRpcMessage)
#include "tst_rpcmessage.moc"
