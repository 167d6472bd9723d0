#include "frontpanel/qvantelbasepage.h"

#include "widgets/qvantelbars.h"
#include "widgets/qvantelbattery.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvanteldataactive.h"
#include "widgets/qvantelnetquality.h"
#include "widgets/qvantelsigquality.h"
#include "widgets/qvantelstatuspanel.h"

#include <QLabel>
#include <QTest>

// The base page forwards the status setters to its strip; the strip's look follows them.
class TestQVantelBasePage : public QObject
{
    Q_OBJECT

private slots:
    void freshPageShowsSingleProgramme();
    void networkType_data();
    void networkType();
    void buttonColours_data();
    void buttonColours();
    void codecModeLayout_data();
    void codecModeLayout();
    void batteryAndSoundId();
    void levelsAndQuality();
    void compactPanel();
};

namespace {

QColor fillOf(QVantelButton *button)
{
    return button->palette().window().color();
}

} // namespace

void TestQVantelBasePage::freshPageShowsSingleProgramme()
{
    QVantelBasePage page(nullptr);
    QVantelStatusPanel *panel = page.statusPanel();
    QVERIFY(panel);
    QCOMPARE(panel->parentWidget(), &page);
    QCOMPARE(panel->pos(), QPoint(132, 7));
    QCOMPARE(panel->size(), QSize(534, 80));
    QCOMPARE(panel->codecMode(), 1);
    QCOMPARE(panel->coordinationMode(), 0);
    QVERIFY(panel->linkButton(2)->isHidden());
    QCOMPARE(panel->linkButton(1)->text(), QStringLiteral("Program"));
}

void TestQVantelBasePage::networkType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("technology");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("gauge");

    QTest::newRow("ethernet") << 0x100 << 0 << QStringLiteral("ETH") << false;
    QTest::newRow("isdn") << 0x200 << 0 << QStringLiteral("ISDN") << false;
    QTest::newRow("mobile 4G") << 0x300 << 3 << QStringLiteral("4G") << true;
    QTest::newRow("mobile 5G") << 0x300 << 4 << QStringLiteral("5G") << true;
    QTest::newRow("mobile unknown") << 0x300 << 0 << QStringLiteral("MOB") << true;
    QTest::newRow("wifi") << 0x400 << 0 << QStringLiteral("WIFI") << true;
    QTest::newRow("none") << 0xFFFF << 0 << QString() << false;
}

void TestQVantelBasePage::networkType()
{
    QFETCH(int, type);
    QFETCH(int, technology);
    QFETCH(QString, label);
    QFETCH(bool, gauge);

    QVantelBasePage page(nullptr);
    IVantelStatusPanel *status = &page;
    QVantelStatusPanel *panel = page.statusPanel();
    status->setNetworkType(0x300, 2);
    status->setNetworkType(type, technology);
    QCOMPARE(panel->networkLabel()->text(), label);
    QCOMPARE(!panel->signalQuality()->isHidden(), gauge);
    status->setSignalQuality(0, 9);
    QCOMPARE(panel->signalQuality()->bars(), 5);
    status->setDataActive(true);
    QVERIFY(!panel->dataActive()->isHidden());
    status->setDataActive(false);
    QVERIFY(panel->dataActive()->isHidden());
}

void TestQVantelBasePage::buttonColours_data()
{
    QTest::addColumn<bool>("sip");
    QTest::addColumn<int>("link");
    QTest::addColumn<int>("state");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("idle link") << false << 1 << 1 << QColor(170, 255, 170);
    QTest::newRow("address known") << false << 1 << 2 << QColor(Qt::green);
    QTest::newRow("setting up") << false << 2 << 3 << QColor(Qt::yellow);
    QTest::newRow("established") << false << 2 << 4 << QColor(Qt::red);
    QTest::newRow("sync lost") << false << 1 << 5 << QColor(240, 101, 101);
    QTest::newRow("releasing") << false << 1 << 6 << QColor(234, 177, 102);
    QTest::newRow("unknown state") << false << 1 << 9 << QColor(127, 127, 127);
    QTest::newRow("link 7 is link 2") << false << 7 << 2 << QColor(Qt::green);
    QTest::newRow("sip registered ip") << true << 2 << 1 << QColor(Qt::green);
    QTest::newRow("sip registered other") << true << 1 << 2 << QColor(0, 146, 64);
    QTest::newRow("sip failed") << true << 1 << 3 << QColor(Qt::red);
    QTest::newRow("sip none") << true << 1 << 0 << QColor(127, 127, 127);
}

void TestQVantelBasePage::buttonColours()
{
    QFETCH(bool, sip);
    QFETCH(int, link);
    QFETCH(int, state);
    QFETCH(QColor, colour);

    QVantelBasePage page(nullptr);
    IVantelStatusPanel *status = &page;
    QVantelStatusPanel *panel = page.statusPanel();
    if (sip)
        status->setSipState(link, state);
    else
        status->setLinkState(link, state);
    QVantelButton *button = sip ? panel->sipButton(link) : panel->linkButton(link);
    QCOMPARE(fillOf(button), colour);
    QCOMPARE(button->palette().color(QPalette::WindowText), QColor(Qt::black));
    const int other = link == 1 ? 2 : 1;
    QCOMPARE(fillOf(sip ? panel->sipButton(other) : panel->linkButton(other)),
             QColor(127, 127, 127));
}

void TestQVantelBasePage::codecModeLayout_data()
{
    QTest::addColumn<int>("codecMode");
    QTest::addColumn<int>("coordination");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QRect>("programme");
    QTest::addColumn<bool>("coordinationShown");
    QTest::addColumn<int>("programmeBarsWidth");
    QTest::addColumn<bool>("stereo");

    QTest::newRow("mono") << 1 << 0 << QStringLiteral("Program") << QRect(232, 0, 112, 28) << false
                          << 278 << false;
    QTest::newRow("stereo, no coordination") << 2 << 0 << QStringLiteral("Program / Coord")
                                             << QRect(172, 0, 190, 28) << false << 197 << false;
    QTest::newRow("coordination line")
        << 8 << 0 << QStringLiteral("Program") << QRect(232, 0, 112, 28) << true << 278 << false;
    QTest::newRow("stereo with coordination mode")
        << 2 << 1 << QStringLiteral("Prog. L/R") << QRect(232, 0, 112, 28) << false << 278 << true;
    QTest::newRow("double stereo")
        << 32 << 1 << QStringLiteral("Prog. L/R") << QRect(232, 0, 112, 28) << true << 278 << true;
}

void TestQVantelBasePage::codecModeLayout()
{
    QFETCH(int, codecMode);
    QFETCH(int, coordination);
    QFETCH(QString, title);
    QFETCH(QRect, programme);
    QFETCH(bool, coordinationShown);
    QFETCH(int, programmeBarsWidth);
    QFETCH(bool, stereo);

    QVantelBasePage page(nullptr);
    QVantelStatusPanel *panel = page.statusPanel();
    static_cast<IVantelStatusPanel &>(page).setCodecMode(codecMode, coordination);
    QCOMPARE(panel->linkButton(1)->text(), title);
    QCOMPARE(panel->linkButton(1)->geometry(), programme);
    QCOMPARE(!panel->linkButton(2)->isHidden(), coordinationShown);
    QCOMPARE(panel->bars(1, false)->width(), programmeBarsWidth);
    QCOMPARE(panel->bars(1, false)->isStereo(), stereo);
    QCOMPARE(panel->soundIdButton()->x(), programmeBarsWidth == 197 ? 370 : 190);
}

void TestQVantelBasePage::batteryAndSoundId()
{
    QVantelBasePage page(nullptr);
    IVantelStatusPanel *status = &page;
    QVantelStatusPanel *panel = page.statusPanel();
    QVERIFY(panel->battery()->isHidden());
    status->setBatteryLevel(120);
    QVERIFY(!panel->battery()->isHidden());
    QCOMPARE(panel->battery()->level(), 120);
    status->setBatteryLevel(-1);
    QVERIFY(panel->battery()->isHidden());

    QVERIFY(panel->soundIdButton()->isHidden());
    status->setSoundIdState(1);
    QVERIFY(!panel->soundIdButton()->isHidden());
    QCOMPARE(fillOf(panel->soundIdButton()), QColor(Qt::yellow));
    status->setSoundIdState(2);
    QCOMPARE(panel->soundIdButton()->borderWidth(), 2);
    QCOMPARE(panel->soundIdButton()->palette().window().style(), Qt::NoBrush);
    status->setSoundIdState(0);
    QVERIFY(panel->soundIdButton()->isHidden());
}

void TestQVantelBasePage::levelsAndQuality()
{
    QVantelBasePage page(nullptr);
    IVantelStatusPanel *status = &page;
    QVantelStatusPanel *panel = page.statusPanel();
    status->setCodecMode(8, 1);
    status->setAudioLevels(1, 2, 3, 4, 5, 6, true);
    QCOMPARE(panel->bars(1, false)->level(0), 1);
    QCOMPARE(panel->bars(1, false)->level(1), 5);
    QCOMPARE(panel->bars(2, false)->level(0), 2);
    QCOMPARE(panel->bars(1, true)->level(0), 3);
    QCOMPARE(panel->bars(1, true)->level(1), 6);
    QCOMPARE(panel->bars(2, true)->level(0), 4);

    QVERIFY(!panel->qualityGauge(2, false)->isEnabled());
    status->setLinkEnabled(2, true);
    status->setLinkQuality(2, 70, 150);
    QVERIFY(panel->qualityGauge(2, true)->isEnabled());
    QCOMPARE(panel->qualityGauge(2, false)->quality(), 70);
    QCOMPARE(panel->qualityGauge(2, true)->quality(), 100);
    QVERIFY(panel->qualityGauge(2, true)->isDownward());
    QVERIFY(!panel->qualityGauge(1, false)->isEnabled());
}

void TestQVantelBasePage::compactPanel()
{
    QVantelStatusPanel panel(true);
    QCOMPARE(panel.size(), QSize(534, 54));
    QVERIFY(!panel.bars(1, true));
    QVERIFY(!panel.qualityGauge(1, false));
    panel.setLinkEnabled(1, true);
    panel.setLinkQuality(1, 10, 10);
    QVERIFY(!panel.isLinkEnabled(1));
    panel.setAudioLevels(1, 2, 3, 4, 5, 6, true);
    QCOMPARE(panel.bars(1, false)->level(1), 5);
    QCOMPARE(panel.bars(2, false)->level(0), 2);
}

QTEST_MAIN(TestQVantelBasePage)
#include "tst_qvantelbasepage.moc"
