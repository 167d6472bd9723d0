#include "widgets/qvantelslidescroll.h"
#include "widgets/qvantelslidesimple.h"
#include "widgets/qvantelslidewidget.h"

#include <QLabel>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A column that records its taps.
class TapColumn : public QVantelSlideWidget
{
public:
    using QVantelSlideWidget::QVantelSlideWidget;
    QList<QWidget *> taps;
    void childClicked(QWidget *child) override { taps.append(child); }
};

// Sends a press at `start`, one move per entry of `moves` (absolute y), and a release at the
// last point, all on the area's viewport, as a finger does.
void gesture(QAbstractScrollArea *area, int x, int startY, const QList<int> &moves)
{
    QWidget *target = area->viewport();
    QTest::mousePress(target, Qt::LeftButton, {}, QPoint(x, startY));
    int y = startY;
    for (int next : moves) {
        y = next;
        QMouseEvent move(QEvent::MouseMove,
                         QPointF(x, y),
                         target->mapToGlobal(QPointF(x, y)),
                         Qt::NoButton,
                         Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(target, &move);
    }
    QTest::mouseRelease(target, Qt::LeftButton, {}, QPoint(x, y));
}

} // namespace

class TestQVantelSlide : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void gestures_data();
    void gestures();
    void tapOnEmptySpaceReportsTheInnerWidget();
    void simpleAreaDragsWithoutTaps();
    void handleGeometry();

private:
    TapColumn *m_column = nullptr;
    QList<QLabel *> m_rows;
};

void TestQVantelSlide::init()
{
    m_column = new TapColumn;
    m_column->resize(300, 200);
    m_rows.clear();
    for (int i = 0; i < 20; ++i) {
        auto *row = new QLabel(QStringLiteral("row %1").arg(i));
        row->setFixedHeight(40);
        m_column->column()->addWidget(row);
        m_rows.append(row);
    }
    m_column->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_column));
    QVERIFY(m_column->verticalScrollBar()->maximum() > 0);
}

void TestQVantelSlide::cleanup()
{
    delete m_column;
    m_column = nullptr;
}

void TestQVantelSlide::gestures_data()
{
    QTest::addColumn<int>("startValue");
    QTest::addColumn<QList<int>>("moves");
    QTest::addColumn<int>("scrolled");
    QTest::addColumn<bool>("tap");

    QTest::newRow("tap") << 0 << QList<int>{} << 0 << true;
    // The first move only records the point.
    QTest::newRow("one move of 30 is a tap") << 0 << QList<int>{130} << 0 << true;
    QTest::newRow("two small moves") << 0 << QList<int>{100, 97} << 0 << false;
    // From the point recorded at 100 the third later move is 12 away: the content follows.
    QTest::newRow("moves of 4 add up") << 0 << QList<int>{100, 96, 92, 88} << 12 << false;
    QTest::newRow("drag down at the top") << 0 << QList<int>{100, 150} << 0 << false;
    QTest::newRow("drag down") << 200 << QList<int>{100, 150} << -50 << false;
    QTest::newRow("outside the area") << 0 << QList<int>{100, 250, -40} << 0 << false;
}

void TestQVantelSlide::gestures()
{
    QFETCH(int, startValue);
    QFETCH(QList<int>, moves);
    QFETCH(int, scrolled);
    QFETCH(bool, tap);

    QScrollBar *bar = m_column->verticalScrollBar();
    bar->setValue(startValue);
    gesture(m_column, 20, 100, moves);
    QCOMPARE(bar->value() - startValue, scrolled);
    QCOMPARE(m_column->taps.size(), tap ? 1 : 0);
    if (tap) {
        // The tap names the row label under the release point, not the area.
        QVERIFY(m_rows.contains(static_cast<QLabel *>(m_column->taps.first())));
    }
}

void TestQVantelSlide::tapOnEmptySpaceReportsTheInnerWidget()
{
    for (int i = 3; i < m_rows.size(); ++i)
        delete m_rows.at(i);
    m_rows.erase(m_rows.begin() + 3, m_rows.end());
    QTRY_COMPARE(m_column->verticalScrollBar()->maximum(), 0);
    gesture(m_column, 20, 190, {});
    QCOMPARE(m_column->taps.size(), 1);
    QCOMPARE(m_column->taps.first(), m_column->inner());
}

void TestQVantelSlide::simpleAreaDragsWithoutTaps()
{
    QVantelSlideSimple area;
    area.resize(200, 100);
    area.inner()->resize(200, 500);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QScrollBar *bar = area.verticalScrollBar();
    gesture(&area, 10, 80, {80, 60, 20});
    QCOMPARE(bar->value(), 60);
    // The owner sizes the inner widget; the area does not stretch it.
    QCOMPARE(area.inner()->size(), QSize(200, 500));
}

void TestQVantelSlide::handleGeometry()
{
    QVantelSlideScroll bar;
    bar.setRange(0, 100);
    bar.setValue(100);
    const QRect handle = bar.handleRect(QSize(10, 340));
    QCOMPARE(handle, QRect(QPoint(5, 271), QPoint(9, 338)));
    bar.setValue(0);
    QCOMPARE(bar.handleRect(QSize(10, 340)).top(), 0);
    bar.setRange(0, 0);
    QVERIFY(bar.handleRect(QSize(10, 340)).isEmpty());
    QCOMPARE(m_column->verticalScrollBar()->style()->pixelMetric(QStyle::PM_ScrollBarExtent), 10);
}

QTEST_MAIN(TestQVantelSlide)
#include "tst_qvantelslide.moc"
