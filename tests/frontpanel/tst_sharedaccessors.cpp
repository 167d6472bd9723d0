#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/comravennacontroller.h"
#include "model/matrixsettings.h"
#include "widgets/qvantellocalize.h"

#include <QTest>

// The process-wide objects the front panel reaches through its accessors.
class TestSharedAccessors : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { destroySharedObjects(); }

    void modelObjectsShareTheFirstBuiltClient();
    void destroyedTogetherAndRebuilt();
};

void TestSharedAccessors::modelObjectsShareTheFirstBuiltClient()
{
    QCOMPARE(sharedObjectCount(), 0);
    // Asking for the device first builds the client first.
    TComDevice *device = comDevice();
    QCOMPARE(sharedObjectCount(), 2);
    ksm::CCom *client = comClient();
    QCOMPARE(device->com(), client);
    QCOMPARE(audioSettings()->request().com(), client);
    QCOMPARE(matrixSettings()->request().com(), client);
    QCOMPARE(ravennaController()->request().com(), client);
    QCOMPARE(comDevice(), device);
    QCOMPARE(comClient(), client);
    QVERIFY(localize());
    QCOMPARE(localize(), localize());
}

void TestSharedAccessors::destroyedTogetherAndRebuilt()
{
    QPointer<TComDevice> device = comDevice();
    QPointer<TAudioSettings> audio = audioSettings();
    QPointer<ksm::CCom> client = comClient();
    destroySharedObjects();
    QCOMPARE(sharedObjectCount(), 0);
    QVERIFY(!device);
    QVERIFY(!audio);
    QVERIFY(!client);
    QVERIFY(comDevice());
    QCOMPARE(comDevice()->com(), comClient());
}

QTEST_GUILESS_MAIN(TestSharedAccessors)
#include "tst_sharedaccessors.moc"
