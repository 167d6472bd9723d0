#include "link/rpcasynccall.h"
#include "link/rpcasynccallwatcher.h"

#include <QtTest>

class TestRpcAsyncCall : public QObject
{
    Q_OBJECT

private slots:
    void handlesReportTheirState()
    {
        const RpcAsyncCall empty;
        QVERIFY(empty.isNull());
        QCOMPARE(empty.id(), -1);
        QCOMPARE(empty.result(), -1);
        QVERIFY(empty.isFinished());
        QVERIFY(!empty.isReplied());
        QVERIFY(empty.isFailed());
        QCOMPARE(empty.toMessage().type(), RpcMessage::ErrorReply);
        QCOMPARE(empty.toMessage().code(), -1);
        QCOMPARE(empty.toMessage().id(), -1);
        QCOMPARE(empty.errorText(), QStringLiteral("errorCode -1"));

        const RpcAsyncCall pending(3);
        QVERIFY(!pending.isFinished());
        QVERIFY(!pending.isFailed());
        QCOMPARE(pending.result(), 0);
        QCOMPARE(pending.toMessage().type(), RpcMessage::ErrorReply);
        QCOMPARE(pending.toMessage().id(), 3);
        QCOMPARE(pending.toMessage().code(), -1);

        const RpcAsyncCall failed = RpcAsyncCall::failed(1234);
        QVERIFY(failed.isFailed());
        QCOMPARE(failed.id(), -1);
        QCOMPARE(failed.toMessage().code(), 1234);
        QCOMPARE(failed.errorText(), QStringLiteral("errorCode 1234"));

        ksm::CMsg body(ksm::CMsg::Param);
        body.setParam("a", "1");
        const RpcAsyncCall replied = RpcAsyncCall::replied(body);
        QVERIFY(replied.isReplied());
        QVERIFY(!replied.isFailed());
        QCOMPARE(replied.toMessage().type(), RpcMessage::Reply);
        QCOMPARE(replied.toMessage().code(), 0);
        QCOMPARE(replied.toMessage().body(), body);

        // Copies share one record.
        RpcAsyncCall copy = pending;
        QVERIFY(copy == pending);
        QVERIFY(copy != RpcAsyncCall(3));
    }

    void timeoutNeedsAPositiveTime()
    {
        RpcAsyncCall call(1);
        call.startTimeout(0);
        call.startTimeout(-5);
        QVERIFY(!call.hasExpired());
        // Far beyond what 32-bit milliseconds hold: still a time-out in the future.
        call.startTimeout(2147484);
        QVERIFY(!call.hasExpired());
        RpcAsyncCall().startTimeout(1); // an empty handle ignores it
    }

    void watcherOfAFinishedCallFiresOnceLater()
    {
        RpcAsyncCallWatcher watcher(RpcAsyncCall::failed(-5));
        QSignalSpy spy(&watcher, &RpcAsyncCallWatcher::finished);
        QCOMPARE(spy.count(), 0);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().value<RpcAsyncCallWatcher *>(), &watcher);
        QCOMPARE(watcher.result(), -5);
        QVERIFY(!spy.wait(50));

        RpcAsyncCallWatcher ofNothing{RpcAsyncCall()};
        QSignalSpy none(&ofNothing, &RpcAsyncCallWatcher::finished);
        QVERIFY(!none.wait(50));
    }
};

QTEST_GUILESS_MAIN(TestRpcAsyncCall)
#include "tst_rpcasynccall.moc"
