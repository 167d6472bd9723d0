// Long menu pages and choice popups: only the rows that are seen, or handed out, are made, and
// they look and act as the rows of a short list do.

#include "widgets/qvantelbutton.h"
#include "widgets/qvantelchoicelabel.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuselectable.h"
#include "widgets/qvantelmenuwidget.h"
#include "widgets/qvantelswitch.h"

#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace {

constexpr int kLong = 5000;

QVantelMenuItem::Spec spec(int id, const QString &value = QStringLiteral("Load the preset"))
{
    return {id,
            174,
            QVantelMenuItem::Navigation,
            QStringLiteral("Item %1").arg(id, 5, 10, QLatin1Char('0')),
            value,
            QMargins(10, 0, 10, 0),
            false};
}

int madeRows(const QWidget *page)
{
    return int(page->findChildren<QVantelMenuItem *>().size());
}

// Scrolls the area's view to value and lets it settle.
void scrollTo(QAbstractScrollArea *area, int value)
{
    area->verticalScrollBar()->setValue(value);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool shownIn(QAbstractScrollArea *area, const QWidget *row)
{
    const QRect view(QPoint(0, 0), area->viewport()->size());
    return row->isVisible()
           && view.contains(QRect(row->mapTo(area->viewport(), QPoint()), row->size()));
}

} // namespace

class TestQVantelLazyColumn : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void deferredRowsLookLikeRowsAddedAtOnce();
    void longPageMakesOnlyWhatIsSeen();
    void rowsHandedOutStayAndKeepTheirOrder();
    void longPopupMakesOnlyWhatIsSeen();
    void longNamesKeepTheirEnds();

private:
    QVantelMenuItems *pushPage();

    std::unique_ptr<QVantelMenuWidget> m_menu;
};

void TestQVantelLazyColumn::init()
{
    m_menu = std::make_unique<QVantelMenuWidget>();
    m_menu->resize(800, 480);
    m_menu->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_menu.get()));
}

void TestQVantelLazyColumn::cleanup()
{
    m_menu.reset();
}

QVantelMenuItems *TestQVantelLazyColumn::pushPage()
{
    auto *page = new QVantelMenuItems(174, m_menu.get());
    m_menu->pushPage(page);
    return page;
}

void TestQVantelLazyColumn::deferredRowsLookLikeRowsAddedAtOnce()
{
    // The same rows, one page made at once and one made as seen, with a row of another height
    // between them and a plain row after them: every row lands at the same place.
    const QList<QVantelMenuItem::Spec> specs = {
        spec(306), spec(307, QStringLiteral("[ AoIP ] studio.demo\nEthernet 1 - OPUS")), spec(308)};
    QVantelMenuItems *eager = pushPage();
    QList<QVantelMenuItem *> eagerRows;
    for (const QVantelMenuItem::Spec &s : specs) {
        auto *row = new QVantelMenuItem(s.id, s.data, s.kind, eager);
        row->grid()->setContentsMargins(s.margins);
        row->titleLabel()->setText(s.title);
        row->setValueText(s.value);
        eager->addItem(row);
        eagerRows << row;
    }
    auto *tail = new QVantelMenuItem(400, QVantelMenuItem::Action, eager);
    eager->addItem(tail);
    QCoreApplication::processEvents();
    QList<QRect> expected;
    for (QVantelMenuItem *row : eager->items())
        expected << QRect(row->mapTo(eager, QPoint()), row->size());

    QVantelMenuItems *deferred = pushPage();
    for (const QVantelMenuItem::Spec &s : specs)
        deferred->addDeferredItem(s);
    deferred->addItem(new QVantelMenuItem(400, QVantelMenuItem::Action, deferred));
    QCoreApplication::processEvents();
    QList<QRect> placed;
    for (QVantelMenuItem *row : deferred->items()) {
        QVERIFY(row->isVisible());
        QCOMPARE(row->page(), deferred);
        placed << QRect(row->mapTo(deferred, QPoint()), row->size());
    }
    QCOMPARE(placed, expected);
    const QVantelMenuItem *made = deferred->findItem(307, 174);
    QCOMPARE(made->titleText(), specs.at(1).title);
    QCOMPARE(made->valueText(), specs.at(1).value);
    QCOMPARE(made->kind(), int(QVantelMenuItem::Navigation));
}

void TestQVantelLazyColumn::longPageMakesOnlyWhatIsSeen()
{
    QVantelMenuItems *page = pushPage();
    for (int i = 0; i < kLong; ++i)
        page->addDeferredItem(spec(306 + i));
    QScrollBar *bar = page->verticalScrollBar();
    QTRY_VERIFY2(bar->maximum() > kLong * 40, qPrintable(QString::number(bar->maximum())));
    const int seen = madeRows(page);
    QVERIFY2(seen > 0 && seen < 60, qPrintable(QString::number(seen)));

    // At the end of the list its last rows are shown, and the ones far above are gone again.
    scrollTo(page, bar->maximum());
    QVERIFY(madeRows(page) < 2 * seen);
    const QList<QVantelMenuItem *> made = page->findChildren<QVantelMenuItem *>();
    QVantelMenuItem *last = nullptr;
    for (QVantelMenuItem *row : made) {
        if (row->id() == 306 + kLong - 1)
            last = row;
    }
    QVERIFY(last && shownIn(page, last));

    // A tap on a row made as it was seen keeps it, for the hooks and popups that hold it.
    QPointer<QVantelMenuItem> tapped = last;
    page->childClicked(last->titleLabel());
    scrollTo(page, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(tapped);
    QVERIFY(madeRows(page) < 2 * seen + 1);
}

void TestQVantelLazyColumn::rowsHandedOutStayAndKeepTheirOrder()
{
    QVantelMenuItems *page = pushPage();
    auto *first = new QVantelMenuItem(177, QVantelMenuItem::Action, page);
    page->addItem(first);
    for (int i = 0; i < kLong; ++i)
        page->addDeferredItem(spec(306 + i));
    QTRY_VERIFY(page->verticalScrollBar()->maximum() > kLong * 40);

    // A row far down is made when asked for, placed where it belongs, and outlives scrolling.
    QPointer<QVantelMenuItem> far = page->findItem(306 + 4000, 174);
    QVERIFY(far);
    QCOMPARE(page->findItem(306 + 4000), far.data());
    QVERIFY(!page->findItem(306 + 4000, 175));
    QVERIFY(!page->findItem(306 + kLong));
    page->ensureWidgetVisible(far);
    QCoreApplication::processEvents();
    QVERIFY(shownIn(page, far));
    scrollTo(page, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(far);

    // A row taken out leaves its place to the next one; the others keep their order.
    const int before = far->mapTo(page->inner(), QPoint()).y();
    page->removeItem(far);
    far->hide();
    QCoreApplication::processEvents();
    QVantelMenuItem *next = page->findItem(306 + 4001);
    page->ensureWidgetVisible(next);
    QCoreApplication::processEvents();
    QCOMPARE(next->mapTo(page->inner(), QPoint()).y(), before);
    QVERIFY(!page->findItem(306 + 4000));
    // Every deferred row is as high as the others, so a row's place down the column tells its
    // position in the list: the rows before the one taken out keep theirs, those after it move
    // up by one, and nothing is left below the last. Only the rows looked at are made.
    QVantelMenuItem *second = page->findItem(306);
    QVERIFY(second);
    QCoreApplication::processEvents();
    const int top = second->mapTo(page->inner(), QPoint()).y();
    const int height = second->height();
    QVERIFY(height > 0);
    QVERIFY(first->mapTo(page->inner(), QPoint()).y() < top);
    const std::pair<int, int> places[]
        = {{306 + 1, 1}, {306 + 3999, 3999}, {306 + 4001, 4000}, {306 + kLong - 1, kLong - 2}};
    for (const auto &[id, place] : places) {
        QVantelMenuItem *row = page->findItem(id);
        QVERIFY(row);
        QCoreApplication::processEvents();
        QCOMPARE(row->mapTo(page->inner(), QPoint()).y(), top + place * height);
    }
    QCOMPARE(second->parentWidget()->height(), (kLong - 1) * height);
}

void TestQVantelLazyColumn::longPopupMakesOnlyWhatIsSeen()
{
    QVantelMenuItems *page = pushPage();
    auto *item = new QVantelMenuItem(1, QVantelMenuItem::Choice, page);
    for (int i = 0; i < kLong; ++i)
        item->addValue(1000 + i, QStringLiteral("Stream %1").arg(i));
    item->selectValue(1000 + 4000, true, false);
    page->addItem(item);
    QCoreApplication::processEvents();

    page->childClicked(item->titleLabel());
    auto *select = page->findChild<QVantelMenuSelect *>();
    QVERIFY(select);
    QVERIFY(QTest::qWaitForWindowExposed(select));
    QVantelMenuSelectable *current = select->currentSelectable();
    QVERIFY(current);
    QCOMPARE(current->id(), 1000 + 4000);
    QVERIFY(current->switchButton()->isChecked());
    QTRY_VERIFY(shownIn(select->list(), current));
    QVERIFY(select->findChildren<QVantelMenuSelectable *>().size() < 60);

    // Another entry, far from the current one: found, made and marked like any row.
    QVantelMenuSelectable *other = select->findSelectable(1000 + 10);
    QVERIFY(other);
    QCOMPARE(other->label()->text(), QStringLiteral("Stream 10"));
    QCOMPARE(other->owner(), select);
    select->list()->ensureWidgetVisible(other);
    QCoreApplication::processEvents();
    QWidget *viewport = select->list()->viewport();
    const QPoint centre = other->label()->mapTo(viewport, other->label()->rect().center());
    QTest::mousePress(viewport, Qt::LeftButton, {}, centre);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, centre);
    QCOMPARE(select->currentSelectable(), other);
    QVERIFY(!current->switchButton()->isChecked());

    // Scrolled to its end and back, the popup still holds few rows; OK takes the choice.
    scrollTo(select->list(), select->list()->verticalScrollBar()->maximum());
    scrollTo(select->list(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(select->findChildren<QVantelMenuSelectable *>().size() < 90);
    QPointer<QVantelMenuSelect> closing = select;
    QTest::mouseClick(select->okButton(), Qt::LeftButton);
    QCOMPARE(item->currentValue()->value, 1000 + 10);
    QCOMPARE(item->valueText(), QStringLiteral("Stream 10"));
    QTRY_VERIFY(!closing);
}

void TestQVantelLazyColumn::longNamesKeepTheirEnds()
{
    // Two networks whose names differ only at their end, a name that fits, and words that wrap.
    const QString stem = QStringLiteral("BroadcastOperatorNetworkWithAVeryLongName");
    QWidget owner;
    QVantelMenuSelect select(&owner);
    QList<QVantelMenuSelectable *> rows;
    for (const QString &name : {stem + QLatin1Char('A'),
                                stem + QLatin1Char('B'),
                                QStringLiteral("Studio"),
                                QStringLiteral("Single Codec and Mobile Voice Coordination")}) {
        auto *row = new QVantelMenuSelectable(int(rows.size()));
        row->label()->setText(name);
        select.addSelectable(row);
        rows << row;
    }
    select.show();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    const auto shown = [&rows](int i) {
        return static_cast<QVantelChoiceLabel *>(rows.at(i)->label())->shownText();
    };
    QVERIFY(shown(0).contains(QChar(0x2026)));
    QVERIFY(shown(0).endsWith(QLatin1Char('A')));
    QVERIFY(shown(1).endsWith(QLatin1Char('B')));
    QVERIFY(shown(0) != shown(1));
    QCOMPARE(rows.at(0)->label()->text(), stem + QLatin1Char('A'));
    QCOMPARE(shown(2), QStringLiteral("Studio"));
    QCOMPARE(shown(3), rows.at(3)->label()->text());
    // No row is wider than the list's view, so nothing is cut at its right edge.
    for (QVantelMenuSelectable *row : rows)
        QVERIFY(row->width() <= select.list()->viewport()->width());
    select.close();
}

QTEST_MAIN(TestQVantelLazyColumn)
#include "tst_qvantellazycolumn.moc"
