#include "link/rpcasynccallwatcher.h"
#include "link/rpcclientconnection.h"
#include "link/rpcdelegatecall.h"
#include "tests/support/fakequorix.h"

#include <QtTest>

namespace {

// Reads "a", then writes its value to "b", then ends with the result 0.
class CopyAToB : public RpcDelegateCall
{
public:
    using RpcDelegateCall::RpcDelegateCall;

    QList<RpcMessage> replies;
    int steps = 0;
    bool decline = false;

protected:
    bool nextRequest(ksm::CMsg &body, int &timeoutSeconds) override
    {
        if (decline)
            return false;
        body.clear(ksm::CMsg::Param);
        if (steps++ == 0)
            body.addGet("a");
        else
            body.setParam("b", value);
        timeoutSeconds = 5;
        return true;
    }

    void handleReply(const RpcMessage &reply) override
    {
        replies << reply;
        if (reply.type() != RpcMessage::Reply) {
            fail(reply.code());
        } else if (replies.size() == 1) {
            value = *reply.body().param("a");
        } else {
            failIfPending(0);
            failIfPending(-99); // too late: the call has ended
        }
    }

private:
    std::string value;
};

} // namespace

class TestRpcDelegateCall : public QObject
{
    Q_OBJECT

private slots:
    void stepsRunUntilTheDerivedClassEndsTheCall()
    {
        FakeQuorix fake;
        QVERIFY(fake.listen());
        fake.setValue(QStringLiteral("a"), QStringLiteral("42"));
        RpcClientConnection connection;
        connection.connect(QStringLiteral("127.0.0.1"), fake.port());
        QTRY_COMPARE(connection.state(), RpcConnection::Connected);

        CopyAToB chain(7, ksm::CMsg(ksm::CMsg::Param));
        QCOMPARE(chain.id(), 7);
        QStringList order;
        RpcAsyncCallWatcher watcher(chain);
        QObject::connect(&watcher, &RpcAsyncCallWatcher::finished, &watcher, [&] {
            order << QStringLiteral("watcher");
        });
        QObject::connect(&chain, &RpcDelegateCall::finished, &chain, [&](RpcDelegateCall *call) {
            QCOMPARE(call, &chain);
            order << QStringLiteral("delegate");
        });
        chain.start(&connection);
        QTRY_VERIFY(chain.isFinished());
        QCOMPARE(chain.result(), 0);
        QCOMPARE(chain.replies.size(), 2);
        QCOMPARE(fake.value(QStringLiteral("b")), QStringLiteral("42"));
        QCOMPARE(order, (QStringList{QStringLiteral("watcher"), QStringLiteral("delegate")}));
        // The step watchers go with the event loop.
        QTRY_COMPARE(chain.findChildren<RpcAsyncCallWatcher *>().size(), 0);
    }

    void chainsThatCannotRunFail()
    {
        RpcClientConnection unconnected;
        CopyAToB refused(RpcMessage::request(3, ksm::CMsg()));
        QSignalSpy refusedSpy(&refused, &RpcDelegateCall::finished);
        refused.start(&unconnected);
        QCOMPARE(refused.result(), int(RpcAsyncCall::NotConnected));
        QCOMPARE(refusedSpy.count(), 1);

        CopyAToB noConnection(1);
        QSignalSpy noConnectionSpy(&noConnection, &RpcDelegateCall::finished);
        noConnection.start(nullptr);
        QCOMPARE(noConnection.result(), int(RpcAsyncCall::NoCall));
        QCOMPARE(noConnectionSpy.count(), 1);

        CopyAToB declined(2);
        declined.decline = true;
        QSignalSpy declinedSpy(&declined, &RpcDelegateCall::finished);
        declined.start(&unconnected);
        QCOMPARE(declined.result(), int(RpcAsyncCall::NoCall));
        declined.fail(-6); // already ended: no second announcement
        QCOMPARE(declined.result(), int(RpcAsyncCall::NoCall));
        QCOMPARE(declinedSpy.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestRpcDelegateCall)
#include "tst_rpcdelegatecall.moc"
