#include "tests/widgets/keysink.h"
#include "widgets/qvantelaudiobalance.h"
#include "widgets/qvantelaudiobutton.h"
#include "widgets/qvantelaudioinput.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelevent.h"
#include "widgets/qvantelknob.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace {

QColor textColor(const QWidget *w)
{
    return w->palette().color(QPalette::WindowText);
}

// Counts the pixels of roughly the given colour inside the rectangle of the image.
int countColour(const QImage &image, const QRect &area, const QColor &colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) < 40 && qAbs(c.green() - colour.green()) < 40
                && qAbs(c.blue() - colour.blue()) < 40)
                ++count;
        }
    }
    return count;
}

} // namespace

class TestQVantelAudioStrips : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void buttonStripValues();
    void buttonStripPanningMarks_data();
    void buttonStripPanningMarks();
    void buttonStripClicks();
    void knobStripGain_data();
    void knobStripGain();
    void knobStripMovedByHand();
    void knobStripPanningAndNames();
    void knobStripWithBalance();
    void knobStripStates();
    void balanceKeys();
};

void TestQVantelAudioStrips::initTestCase()
{
    qRegisterMetaType<QVantel::PanCtrl>();
    qRegisterMetaType<QVantel::Inputs>();
}

void TestQVantelAudioStrips::buttonStripValues()
{
    QVantelAudioButton strip;
    QCOMPARE(strip.size(), QSize(98, 96));
    QCOMPARE(strip.levelLabel()->text(), QStringLiteral("Off"));
    QSignalSpy gains(&strip, &QVantelAudioBase::gainChanged);
    strip.setGain(-160);
    QCOMPARE(gains.size(), 0);
    strip.setGain(0);
    QCOMPARE(strip.levelLabel()->text(), QStringLiteral("0dB"));
    strip.setGain(-12);
    QCOMPARE(strip.levelLabel()->text(), QStringLiteral("-12dB"));
    strip.setGain(-160);
    QCOMPARE(strip.levelLabel()->text(), QStringLiteral("Off"));
    QCOMPARE(gains.size(), 3);

    QSignalSpy inputs(&strip, &QVantelAudioBase::inputChanged);
    strip.setInput(QVantel::Inputs(4));
    strip.setInput(QVantel::Inputs(4));
    QCOMPARE(inputs.size(), 1);
    QCOMPARE(strip.button()->text(), QStringLiteral("AUX 1"));
    strip.setName(QStringLiteral("Guest"), false);
    QCOMPARE(strip.button()->text(), QStringLiteral("AUX 1\nGuest"));
    QCOMPARE(strip.displayName(), QStringLiteral("AUX 1\nGuest"));

    QSignalSpy balance(&strip, &QVantelAudioBase::balanceChanged);
    strip.setBalance(3);
    QCOMPARE(strip.balance(), 0);
    QCOMPARE(balance.size(), 0);
}

void TestQVantelAudioStrips::buttonStripPanningMarks_data()
{
    QTest::addColumn<int>("panning");
    QTest::addColumn<bool>("leftL");
    QTest::addColumn<bool>("rightR");
    QTest::addColumn<bool>("equals");
    QTest::newRow("none") << 0 << false << false << true;
    QTest::newRow("left") << 1 << true << false << false;
    QTest::newRow("right") << 2 << false << true << false;
    QTest::newRow("both") << 3 << true << true << false;
}

void TestQVantelAudioStrips::buttonStripPanningMarks()
{
    QFETCH(int, panning);
    QFETCH(bool, leftL);
    QFETCH(bool, rightR);
    QFETCH(bool, equals);
    QWidget panel;
    panel.setAutoFillBackground(true);
    QPalette black = panel.palette();
    black.setColor(QPalette::Window, Qt::black);
    panel.setPalette(black);
    auto *strip = new QVantelAudioButton(&panel);
    strip->setPanning(QVantel::PanCtrl(1));
    strip->setPanning(QVantel::PanCtrl(panning));
    const QImage image = panel.grab(QRect(0, 0, 98, 96)).toImage();
    const QRect level = strip->levelLabel()->geometry();
    const QRect leftEnd(level.left(), level.top(), 14, level.height());
    const QRect rightEnd(level.right() - 13, level.top(), 14, level.height());
    QCOMPARE(countColour(image, leftEnd, Qt::green) > 0, leftL);
    QCOMPARE(countColour(image, rightEnd, Qt::red) > 0, rightR);
    QCOMPARE(countColour(image, leftEnd, Qt::white) > 0, equals);
    QCOMPARE(countColour(image, rightEnd, Qt::white) > 0, equals);
}

void TestQVantelAudioStrips::buttonStripClicks()
{
    QVantelAudioButton strip;
    strip.show();
    QSignalSpy left(&strip, &QVantelAudioButton::buttonClicked);
    QSignalSpy right(&strip, &QVantelAudioButton::rightButtonClicked);
    QTest::mouseClick(strip.button(), Qt::LeftButton);
    QTest::mousePress(&strip, Qt::RightButton, {}, QPoint(40, 80));
    QCOMPARE(left.size(), 1);
    QCOMPARE(right.size(), 1);

    strip.setSelected(true);
    QCOMPARE(strip.button()->palette().window().style(), Qt::NoBrush);
    QCOMPARE(textColor(strip.button()), QColor(Qt::white));
    strip.setSelected(false);
    QCOMPARE(strip.button()->palette().window().style(), Qt::SolidPattern);
    QCOMPARE(textColor(strip.button()), QColor(Qt::black));
}

void TestQVantelAudioStrips::knobStripGain_data()
{
    QTest::addColumn<bool>("panning");
    QTest::addColumn<int>("gain");
    QTest::addColumn<int>("knob");
    QTest::addColumn<int>("stored");
    QTest::newRow("panning, below the range") << true << -40 << -31 << -160;
    QTest::newRow("panning, in range") << true << 5 << 5 << 5;
    QTest::newRow("no panning, above the range") << false << 30 << 16 << 16;
    QTest::newRow("no panning, below the range") << false << -50 << -31 << -31;
}

void TestQVantelAudioStrips::knobStripGain()
{
    QFETCH(bool, panning);
    QFETCH(int, gain);
    QFETCH(int, knob);
    QFETCH(int, stored);
    // A hidden strip: its setters still signal every change.
    QVantelAudioInput strip(false, panning, nullptr);
    QSignalSpy gains(&strip, &QVantelAudioBase::gainChanged);
    strip.setGain(gain);
    QCOMPARE(strip.knob()->value(), knob);
    QCOMPARE(strip.gain(), stored);
    QCOMPARE(gains.size(), 1);
    QCOMPARE(gains.first().first().toInt(), stored);
    strip.setGain(gain == stored ? gain : stored);
    QCOMPARE(gains.size(), 1);
}

void TestQVantelAudioStrips::knobStripMovedByHand()
{
    QVantelAudioInput strip(false, nullptr);
    strip.show();
    strip.setGain(0);
    QSignalSpy gains(&strip, &QVantelAudioBase::gainChanged);
    // The knob turned to its minimum by the user stands for "off".
    strip.knob()->setValue(-31);
    QCOMPARE(strip.gain(), -160);
    QCOMPARE(gains.size(), 1);
    QCOMPARE(gains.first().first().toInt(), -160);
    // A visible strip may report one setGain twice; the value is the same.
    strip.setGain(3);
    QVERIFY(gains.size() >= 2);
    for (int i = 1; i < gains.size(); ++i)
        QCOMPARE(gains.at(i).first().toInt(), 3);
}

void TestQVantelAudioStrips::knobStripPanningAndNames()
{
    QVantelAudioInput plain(true, false, nullptr);
    QSignalSpy plainPanning(&plain, &QVantelAudioBase::panningChanged);
    plain.setPanning(QVantel::PanLeft);
    QCOMPARE(plainPanning.size(), 0);
    QCOMPARE(plain.knob()->geometry(), QRect(24, 0, 84, 84));
    QCOMPARE(plain.nameLabel()->geometry(), QRect(0, 91, 132, 40));
    plain.setLabelsBelow(false);
    QCOMPARE(plain.knob()->geometry(), QRect(24, 48, 84, 84));

    QVantelAudioInput strip(false, nullptr);
    QSignalSpy panning(&strip, &QVantelAudioBase::panningChanged);
    strip.setPanning(QVantel::PanRight);
    QCOMPARE(panning.size(), 1);
    QCOMPARE(strip.panning(), 2);

    QSignalSpy inputs(&strip, &QVantelAudioBase::inputChanged);
    strip.setInput(QVantel::Inputs(20));
    QCOMPARE(strip.nameLabel()->text(), QStringLiteral("PROGRAM"));
    QCOMPARE(inputs.size(), 1);
    strip.setName(QStringLiteral("Studio"), false);
    QCOMPARE(strip.userLabel()->text(), QStringLiteral("Studio"));
    strip.nameLabel()->setText(QStringLiteral("stale"));
    strip.setName(QStringLiteral("Studio"), false);
    QCOMPARE(strip.nameLabel()->text(), QStringLiteral("stale"));
    strip.setName(QStringLiteral("Studio"), true);
    QCOMPARE(strip.nameLabel()->text(), QStringLiteral("PROGRAM"));
}

void TestQVantelAudioStrips::knobStripWithBalance()
{
    QVantelAudioInput strip(false, nullptr, true);
    QVERIFY(!strip.balanceControl()->isHidden());
    QVERIFY(strip.userLabel()->isHidden());
    QCOMPARE(strip.balanceControl()->value(), 6);
    QCOMPARE(strip.balanceControl()->markerX(), 64);
    QSignalSpy balance(&strip, &QVantelAudioBase::balanceChanged);
    strip.setBalance(20);
    QCOMPARE(strip.balance(), 12);
    QCOMPARE(strip.balanceControl()->value(), 12);
    QCOMPARE(balance.size(), 1);

    QVantelAudioInput plain(false, nullptr, false);
    QVERIFY(plain.balanceControl()->isHidden());
    QVERIFY(!plain.userLabel()->isHidden());
}

void TestQVantelAudioStrips::knobStripStates()
{
    QVantelAudioInput strip(false, nullptr);
    const QColor grey(127, 127, 127);
    strip.setState(1);
    QVERIFY(!strip.knob()->isEnabled());
    QCOMPARE(textColor(strip.nameLabel()), QColor(Qt::white));
    strip.setState(2);
    QVERIFY(!strip.knob()->isEnabled());
    QCOMPARE(textColor(strip.nameLabel()), grey);
    QCOMPARE(textColor(strip.userLabel()), grey);
    strip.setState(0);
    QVERIFY(strip.knob()->isEnabled());
    QCOMPARE(textColor(strip.nameLabel()), QColor(Qt::white));
}

void TestQVantelAudioStrips::balanceKeys()
{
    KeySink sink;
    frontPanelReceiver = &sink;
    QVantelAudioBalance balance;
    balance.setMaximum(12);
    balance.show();
    QSignalSpy values(&balance, &QVantelAudioBalance::valueChanged);
    balance.setValue(12);
    QCOMPARE(values.size(), 1);

    // Not engaged: "+" goes to the front panel.
    QTest::keyClick(&balance, Qt::Key_Plus);
    // Engaged at the maximum: "+" is dropped, "-" steps.
    balance.setChecked(true);
    QTest::keyClick(&balance, Qt::Key_Plus);
    QTest::keyClick(&balance, Qt::Key_Minus);
    QCOMPARE(balance.value(), 11);
    QCOMPARE(values.size(), 2);
    // A right press is an Enter key, engaged or not.
    QTest::mousePress(&balance, Qt::RightButton);
    QVERIFY(balance.isChecked());
    QCoreApplication::sendPostedEvents(&sink);
    frontPanelReceiver = nullptr;
    const QList<QList<int>> expected = {{6, Qt::Key_Plus, 1},
                                        {7, Qt::Key_Plus, 1},
                                        {7, Qt::Key_Plus, 1},
                                        {7, Qt::Key_Minus, 1},
                                        {6, Qt::Key_Enter, 1}};
    QCOMPARE(sink.events, expected);
}

QTEST_MAIN(TestQVantelAudioStrips)
#include "tst_qvantelaudiostrips.moc"
