#include "pages/qvantelaudiowidget.h"

#include "widgets/qvantelbutton.h"
#include "widgets/qvantelstatuspanel.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// The frame alone; the pages add their own controls.
class FramePage : public QVantelAudioWidget
{
public:
    using QVantelAudioWidget::QVantelAudioWidget;
    void resetView() override { ++resets; }
    int resets = 0;
};

} // namespace

class TestQVantelAudioWidget : public QObject
{
    Q_OBJECT

private slots:
    void frameLayout();
    void homeButtonAsksForMainPageOnce();
    void statusReachesTheStripThroughTheInterface();
};

void TestQVantelAudioWidget::frameLayout()
{
    FramePage page;
    QVantelStatusPanel *panel = page.statusPanel();
    QVERIFY(panel);
    QVERIFY(panel->isCompact());
    QCOMPARE(panel->parentWidget(), &page);
    QCOMPARE(panel->geometry(), QRect(132, 7, 534, 54));
    QCOMPARE(panel->codecMode(), 1);
    QCOMPARE(panel->coordinationMode(), 0);

    QVantelButton *home = page.homeButton();
    QCOMPARE(home->geometry(), QRect(10, 7, 98, 66));
    QCOMPARE(home->borderWidth(), 4);
    QCOMPARE(home->palette().window().color(), QColor(Qt::white));
    QCOMPARE(home->palette().windowText().color(), QColor(Qt::black));
    QVERIFY(!home->icon().isNull());
}

void TestQVantelAudioWidget::homeButtonAsksForMainPageOnce()
{
    FramePage page;
    QSignalSpy spy(&page, &QVantelAudioWidget::pageActivated);
    QTest::mouseClick(page.homeButton(), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<QVantel::Page>(), QVantel::MainPage);
}

void TestQVantelAudioWidget::statusReachesTheStripThroughTheInterface()
{
    FramePage page;
    IVantelStatusPanel *status = &page;
    status->setCodecMode(2, 1);
    status->setBatteryLevel(55);
    status->setNetworkType(0x300, 3);
    status->setDataActive(true);
    status->setSoundIdState(2);
    status->setLinkState(1, 4);
    status->setSipState(2, 3);
    status->setLinkEnabled(2, false);

    QVantelStatusPanel reference(true);
    reference.setCodecMode(2, 1);
    reference.setBatteryLevel(55);
    reference.setNetworkType(0x300, 3);
    reference.setDataActive(true);
    reference.setSoundIdState(2);
    reference.setLinkState(1, 4);
    reference.setSipState(2, 3);
    reference.setLinkEnabled(2, false);

    QVantelStatusPanel *panel = page.statusPanel();
    QCOMPARE(panel->codecMode(), reference.codecMode());
    QCOMPARE(panel->coordinationMode(), reference.coordinationMode());
    QCOMPARE(panel->batteryLevel(), reference.batteryLevel());
    QCOMPARE(panel->networkType(), reference.networkType());
    QCOMPARE(panel->technology(), reference.technology());
    QCOMPARE(panel->isDataActive(), reference.isDataActive());
    QCOMPARE(panel->soundIdState(), reference.soundIdState());
    QCOMPARE(panel->linkState(1), reference.linkState(1));
    QCOMPARE(panel->sipState(2), reference.sipState(2));
    QCOMPARE(panel->isLinkEnabled(2), reference.isLinkEnabled(2));
}

QTEST_MAIN(TestQVantelAudioWidget)
#include "tst_qvantelaudiowidget.moc"
