#include "widgets/qvantelaudio.h"
#include "widgets/qvantelbars.h"
#include "widgets/qvantelbattery.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvanteldataactive.h"
#include "widgets/qvantelimage.h"
#include "widgets/qvantelmenuselectable.h"
#include "widgets/qvantelnetquality.h"
#include "widgets/qvantelpair.h"
#include "widgets/qvantelsigquality.h"
#include "widgets/qvantelswitch.h"

#include "tests/widgets/picturelight.h"

#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

namespace {
struct PaintCounter : QObject
{
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
} // namespace

// Level bars, status glyphs, switches and buttons: the state behind the picture.
class TestQVantelGauges : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void barsStartEmptyMarker()
    {
        QVantelBars bars;
        QCOMPARE(bars.maximum(), 30);
        QCOMPARE(bars.marker(), 30);
        bars.setLevel(12, false);
        QCOMPARE(bars.level(), 12);
        QCOMPARE(bars.marker(), 12);
    }

    void barsHoldThenFall()
    {
        QVantelBars bars;
        bars.setLevel(20, false);
        for (int i = 0; i < 10; ++i) {
            bars.setLevel(25, false);
            QCOMPARE(bars.marker(), 20);
        }
        bars.setLevel(25, false);
        QCOMPARE(bars.marker(), 22);
        bars.setLevel(25, false);
        QCOMPARE(bars.marker(), 24);
        bars.setLevel(25, false);
        QCOMPARE(bars.marker(), 26);
        // Back at or above the marker: it jumps to the level and the hold starts again.
        bars.setLevel(25, false);
        QCOMPARE(bars.marker(), 25);
        bars.setLevel(28, false);
        QCOMPARE(bars.marker(), 25);
        bars.setLevel(5, false);
        QCOMPARE(bars.level(), 5);
        QCOMPARE(bars.marker(), 5);
    }

    void barsMarkerStopsAtMaximum()
    {
        QVantelBars bars;
        bars.setLevel(27, true);
        for (int i = 0; i < 100; ++i)
            bars.setLevel(99, false);
        QCOMPARE(bars.level(), 30);
        QCOMPARE(bars.marker(), 30);
    }

    void barsImmediateAndClamp()
    {
        QVantelBars bars;
        bars.setLevel(10, false);
        bars.setLevel(20, true);
        QCOMPARE(bars.marker(), 20);
        bars.setLevel(-5, true);
        QCOMPARE(bars.level(), 0);
        QCOMPARE(bars.marker(), 0);
        bars.setLevel(99, true);
        QCOMPARE(bars.level(), 30);
        QCOMPARE(bars.marker(), 30);
    }

    void barsTwoAtOnce()
    {
        QVantelBars bars;
        bars.setStereo(1);
        QVERIFY(bars.isStereo());
        bars.setLevels(3, 17, false);
        QCOMPARE(bars.level(0), 3);
        QCOMPARE(bars.level(1), 17);
        QCOMPARE(bars.marker(1), 17);
        bars.setLevel(9, false);
        QCOMPARE(bars.level(1), 17);
    }

    void barsPaintInEveryStyle()
    {
        for (const bool flat : {false, true}) {
            for (const int stereo : {0, 1}) {
                QVantelBars bars;
                bars.resize(flat ? QSize(10, 92) : QSize(120, 18));
                bars.setFlat(flat);
                bars.setStereo(stereo);
                bars.setLevels(2, 20, false);
                QVERIFY(!bars.grab().isNull());
                bars.resize(3, 3);
                QVERIFY(!bars.grab().isNull());
            }
        }
    }

    void barsRepaintAtMostOncePerFrame()
    {
        // Levels arriving faster than the display: the first change of a still meter paints at
        // once, the rest of the burst in the next frame, and a meter still for a frame paints
        // the next change at once again.
        QVantelBars bars;
        bars.resize(120, 18);
        bars.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bars));
        QCoreApplication::processEvents();
        PaintCounter counter;
        bars.installEventFilter(&counter);

        for (int level = 0; level < 10; ++level) {
            bars.setLevel(level * 3, false);
            QCoreApplication::processEvents();
        }
        QCOMPARE(counter.paints, 1);
        QTRY_COMPARE(counter.paints, 2);
        QTest::qWait(10 * QVantelBars::kFrameMs);
        QCOMPARE(counter.paints, 2);
        QCOMPARE(bars.level(), 27);

        bars.setLevel(4, false);
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, 3);
    }

    void battery_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("rows");
        QTest::newRow("full") << 100 << 19;
        QTest::newRow("half") << 50 << 9;
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("charging") << 120 << 0;
        QTest::newRow("other") << 130 << 0;
        QTest::newRow("negative") << -5 << 0;
    }

    void battery()
    {
        QFETCH(int, level);
        QFETCH(int, rows);
        const QRect charge = QVantelBattery::chargeRect(level);
        QCOMPARE(charge.isEmpty() ? 0 : charge.height(), rows);
        if (rows > 0) {
            QCOMPARE(charge.bottom(), 24);
            QCOMPARE(charge.left(), 3);
            QCOMPARE(charge.right(), 14);
        }
        QVantelBattery battery;
        QCOMPARE(battery.size(), QSize(18, 28));
        battery.setLevel(level);
        QCOMPARE(battery.level(), level);
        QVERIFY(!battery.grab().isNull());
    }

    void batteryColoursFromThePicture()
    {
        QVantelBattery battery;
        battery.setLevel(100);
        QImage full = battery.grab().toImage();
        QCOMPARE(QColor(full.pixel(8, 10)), QColor(Qt::green));
        battery.setLevel(140);
        QCOMPARE(QColor(battery.grab().toImage().pixel(8, 10)), QColor(0, 146, 64));
        battery.setLevel(15);
        QCOMPARE(QColor(battery.grab().toImage().pixel(8, 23)), QColor(Qt::red));
    }

    void netQuality_data()
    {
        QTest::addColumn<int>("quality");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("segments");
        QTest::newRow("unknown") << -7 << -1 << 0;
        QTest::newRow("none") << 9 << 9 << 0;
        QTest::newRow("one") << 10 << 10 << 1;
        QTest::newRow("three") << 54 << 54 << 3;
        QTest::newRow("all") << 85 << 85 << 6;
        QTest::newRow("clamped") << 400 << 100 << 6;
    }

    void netQuality()
    {
        QFETCH(int, quality);
        QFETCH(int, stored);
        QFETCH(int, segments);
        QVantelNetQuality gauge;
        QCOMPARE(gauge.size(), QSize(13, 46));
        gauge.setQuality(quality);
        QCOMPARE(gauge.quality(), stored);
        QCOMPARE(QVantelNetQuality::segments(gauge.quality()), segments);
        gauge.setDownward(true);
        QVERIFY(!gauge.grab().isNull());
    }

    void sigQuality()
    {
        QVantelSigQuality gauge;
        QCOMPARE(gauge.size(), QSize(24, 18));
        QCOMPARE(gauge.mode(), -1);
        gauge.setQuality(0, 9);
        QCOMPARE(gauge.bars(), 5);
        QImage image = gauge.grab().toImage();
        QCOMPARE(QColor(image.pixel(21, 1)), QColor(Qt::white));
        gauge.setQuality(2, 3);
        image = gauge.grab().toImage();
        QCOMPARE(QColor(image.pixel(11, 8)), QColor(Qt::red));
        QVERIFY(QColor(image.pixel(16, 5)) != QColor(Qt::red));
        gauge.setQuality(1, -4);
        QCOMPARE(gauge.bars(), 0);
        QCOMPARE(QVantelSigQuality::columnRect(1), QRect(QPoint(0, 12), QPoint(3, 14)));
        QCOMPARE(QVantelSigQuality::columnRect(5), QRect(QPoint(20, 0), QPoint(23, 14)));
    }

    void glyphsPaint()
    {
        QVantelDataActive data;
        QCOMPARE(data.size(), QSize(18, 18));
        QVERIFY(!data.grab().isNull());
        QVantelSigQuality sim;
        sim.setQuality(4, 3);
        QVERIFY(!sim.grab().isNull());
    }

    void audioPanning()
    {
        QVantelAudio label;
        QSignalSpy pans(&label, &QVantelAudio::panningChanged);
        QCOMPARE(label.value(), -1);
        label.setValue(5);
        QCOMPARE(label.value(), 5);
        label.setPanning(2);
        QCOMPARE(pans.count(), 0);
        label.show();
        label.setPanning(2);
        label.setPanning(3);
        QCOMPARE(pans.count(), 1);
        QCOMPARE(label.panning(), 3);
    }

    void imageOrigin_data()
    {
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QPoint>("origin");
        QTest::newRow("centred") << QSize(60, 34) << QSize(40, 20) << QPoint(10, 7);
        QTest::newRow("same") << QSize(60, 34) << QSize(60, 34) << QPoint(0, 0);
        QTest::newRow("wider") << QSize(40, 34) << QSize(60, 20) << QPoint(0, 7);
        QTest::newRow("taller") << QSize(60, 10) << QSize(20, 34) << QPoint(20, 0);
    }

    void imageOrigin()
    {
        QFETCH(QSize, area);
        QFETCH(QSize, image);
        QFETCH(QPoint, origin);
        QCOMPARE(QVantelSwitch::imageOrigin(area, image), origin);
    }

    void switchesShowTheirImages()
    {
        for (const bool on : {false, true}) {
            QVERIFY(!QPixmap(on ? QStringLiteral(":/images/switch_on.png")
                                : QStringLiteral(":/images/switch_off.png"))
                         .isNull());
            QVantelSwitch toggle;
            toggle.setCheckable(true);
            toggle.setChecked(on);
            toggle.resize(60, 34);
            QVERIFY(!toggle.grab().isNull());
            QVantelPair pair;
            pair.setCheckable(true);
            pair.setChecked(on);
            pair.resize(50, 40);
            QVERIFY(!pair.grab().isNull());
        }
        QCOMPARE(QVantelSwitch().focusPolicy(), Qt::NoFocus);
    }

    void switchesToggleOnClick()
    {
        QVantelSwitch toggle;
        QVantelPair pair;
        for (QAbstractButton *button :
             {static_cast<QAbstractButton *>(&toggle), static_cast<QAbstractButton *>(&pair)}) {
            button->setCheckable(true);
            button->resize(60, 40);
            button->show();
            QSignalSpy clicks(button, &QAbstractButton::clicked);
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(button->isChecked());
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(!button->isChecked());
            QCOMPARE(clicks.count(), 2);
            QVERIFY(!button->hasFocus());
        }
    }

    // A switch or pair that does nothing is drawn dimmed, on and off alike, by one opacity; the
    // chosen entry of a choice popup, disabled only so that it stays chosen, keeps its live look.
    void disabledSwitchesAreDimmed()
    {
        QVantelSwitch toggle;
        toggle.resize(60, 34);
        QVantelPair pair;
        pair.resize(50, 40);
        for (QAbstractButton *button :
             {static_cast<QAbstractButton *>(&toggle), static_cast<QAbstractButton *>(&pair)}) {
            button->setCheckable(true);
            for (const bool on : {false, true}) {
                button->setChecked(on);
                button->setEnabled(true);
                const double live = pictureLight(button);
                QVERIFY(live > 0);
                button->setEnabled(false);
                QVERIFY2(qAbs(pictureLight(button) / live - kQVantelDisabledOpacity) < 0.01,
                         button->metaObject()->className());
            }
        }

        QVantelMenuSelectable row(1);
        QVantelSwitch *chosen = row.switchButton();
        chosen->setChecked(true);
        const double live = pictureLight(chosen);
        chosen->setEnabled(false);
        QCOMPARE(pictureLight(chosen), live);
    }

    void buttonSettings()
    {
        QVantelButton button;
        QCOMPARE(button.borderWidth(), 1);
        QCOMPARE(button.radius(), 15.0);
        QCOMPARE(button.focusPolicy(), Qt::NoFocus);
        button.setBorderWidth(0);
        QCOMPARE(button.borderWidth(), 1);
        button.setBorderWidth(4);
        button.setRadius(-1);
        QCOMPARE(button.radius(), 15.0);
        button.setRadius(0);
        QCOMPARE(button.radius(), 0.0);
        // A missing image gives an empty icon, which is drawn as nothing.
        button.setIcon(QIcon(QStringLiteral(":/images/no-such-image.png")));
        button.setText(QStringLiteral("1"));
        button.resize(98, 66);
        QVERIFY(!button.grab().isNull());
    }

    void buttonWithoutFillPattern()
    {
        QVantelButton button;
        button.setBorderWidth(4);
        button.setRadius(0);
        QPalette palette = button.palette();
        palette.setBrush(QPalette::Window, QBrush(QColor(255, 153, 204), Qt::NoBrush));
        button.setPalette(palette);
        button.resize(98, 66);
        const QImage outlined = button.grab().toImage();
        QCOMPARE(QColor(outlined.pixel(1, 30)), QColor(255, 153, 204));
        QVERIFY(QColor(outlined.pixel(49, 10)) != QColor(255, 153, 204));
        palette.setBrush(QPalette::Window, QColor(Qt::white));
        button.setPalette(palette);
        QCOMPARE(QColor(button.grab().toImage().pixel(49, 10)), QColor(Qt::white));
    }
};

QTEST_MAIN(TestQVantelGauges)
#include "tst_qvantelgauges.moc"
