#include "widgets/qvantelbutton.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuselectable.h"
#include "widgets/qvantelswitch.h"

#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

namespace {

QVantelMenuSelectable *addRow(QVantelMenuSelect *select, int id)
{
    auto *row = new QVantelMenuSelectable(id);
    row->label()->setText(QStringLiteral("choice %1").arg(id));
    select->addSelectable(row);
    return row;
}

bool marked(const QVantelMenuSelectable *row)
{
    return row->switchButton()->isChecked() && !row->switchButton()->isEnabled();
}

} // namespace

class TestQVantelMenuSelect : public QObject
{
    Q_OBJECT

private slots:
    void addingRows();
    void rowsFromAnItemsValues();
    void markingRows();
    void closing_data();
    void closing();
    void tapOnLabelMarksTheRow();
    void currentRowIsScrolledIntoView();
    void title();
};

void TestQVantelMenuSelect::addingRows()
{
    QWidget owner;
    QVantelMenuSelect select(&owner);
    QVantelMenuSelect other(&owner);
    QVantelMenuSelectable *row = addRow(&select, 1);
    select.addSelectable(row);
    other.addSelectable(row);
    select.addSelectable(nullptr);
    QCOMPARE(row->owner(), &select);
    QCOMPARE(select.list()->column()->count(), 1);
    QCOMPARE(other.list()->column()->count(), 0);
    QCOMPARE(select.findSelectable(1), row);
    QCOMPARE(select.findSelectable(2), nullptr);

    // A row of another popup cannot be made current here.
    QVantelMenuSelectable *foreign = addRow(&other, 7);
    select.setCurrentSelectable(foreign);
    QCOMPARE(select.currentSelectable(), nullptr);
    QVERIFY(!marked(foreign));
}

void TestQVantelMenuSelect::rowsFromAnItemsValues()
{
    QWidget owner;
    QVantelMenuItem item(1, QVantelMenuItem::Choice, &owner);
    item.addValue(5, QStringLiteral("five"));
    item.addValue(6, QStringLiteral("six"));
    // Two entries that share a value: the current one is marked, not the first of the two.
    item.addValue(6, QStringLiteral("six again"));
    item.selectText(QStringLiteral("six again"), true, true);

    QVantelMenuSelect select(&owner);
    select.addItemValues(&item);
    select.addItemValues(nullptr);
    QVBoxLayout *column = select.list()->column();
    QCOMPARE(column->count(), 3);
    const auto rowAt = [column](int i) {
        return qobject_cast<QVantelMenuSelectable *>(column->itemAt(i)->widget());
    };
    QCOMPARE(rowAt(0)->id(), 5);
    QCOMPARE(rowAt(2)->id(), 6);
    QCOMPARE(rowAt(1)->label()->text(), QStringLiteral("six"));
    QCOMPARE(select.currentSelectable(), rowAt(2));
    QVERIFY(marked(rowAt(2)));
    QVERIFY(!marked(rowAt(1)));

    // An item without a current entry leaves every row unmarked.
    QVantelMenuItem none(2, QVantelMenuItem::Choice, &owner);
    none.addValue(1, QStringLiteral("one"));
    QVantelMenuSelect empty(&owner);
    empty.addItemValues(&none);
    QCOMPARE(empty.list()->column()->count(), 1);
    QCOMPARE(empty.currentSelectable(), nullptr);
}

void TestQVantelMenuSelect::markingRows()
{
    QWidget owner;
    QVantelMenuSelect select(&owner);
    QVantelMenuSelectable *a = addRow(&select, 1);
    QVantelMenuSelectable *b = addRow(&select, 2);
    select.setCurrentSelectable(a);
    QVERIFY(marked(a));
    select.setCurrentSelectable(a);
    QVERIFY(marked(a));

    // A click on another row's switch moves the mark and re-enables the old switch.
    select.show();
    QTest::mouseClick(b->switchButton(), Qt::LeftButton);
    QCOMPARE(select.currentSelectable(), b);
    QVERIFY(marked(b));
    QVERIFY(!a->switchButton()->isChecked());
    QVERIFY(a->switchButton()->isEnabled());
    // The marked row's switch is disabled, so it cannot be unmarked by a click.
    QTest::mouseClick(b->switchButton(), Qt::LeftButton);
    QVERIFY(marked(b));
    select.close();
}

void TestQVantelMenuSelect::closing_data()
{
    QTest::addColumn<bool>("mark");
    QTest::addColumn<bool>("pressOk");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("OK with a mark") << true << true << false;
    QTest::newRow("OK without a mark") << false << true << true;
    QTest::newRow("Cancel") << true << false << true;
}

void TestQVantelMenuSelect::closing()
{
    QFETCH(bool, mark);
    QFETCH(bool, pressOk);
    QFETCH(bool, cancelled);
    QWidget owner;
    QPointer<QVantelMenuSelect> select = new QVantelMenuSelect(&owner);
    QVantelMenuSelectable *row = addRow(select, 4);
    if (mark)
        select->setCurrentSelectable(row);
    int closed = 0;
    bool seenCancelled = false;
    int seenId = -1;
    connect(select, &QVantelPopup::popupClosed, this, [&] {
        ++closed;
        seenCancelled = select->isCancelled();
        if (select->currentSelectable())
            seenId = select->currentSelectable()->id();
    });
    select->show();
    QTest::mouseClick(pressOk ? select->okButton() : select->cancelButton(), Qt::LeftButton);
    QCOMPARE(closed, 1);
    QCOMPARE(seenCancelled, cancelled);
    QCOMPARE(seenId, mark ? 4 : -1);
    QTRY_VERIFY(select.isNull());
}

void TestQVantelMenuSelect::tapOnLabelMarksTheRow()
{
    QWidget owner;
    QVantelMenuSelect select(&owner);
    addRow(&select, 1);
    QVantelMenuSelectable *b = addRow(&select, 2);
    select.show();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    QWidget *viewport = select.list()->viewport();
    const QPoint centre = b->label()->mapTo(viewport, b->label()->rect().center());
    QTest::mousePress(viewport, Qt::LeftButton, {}, centre);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, centre);
    QCOMPARE(select.currentSelectable(), b);
    // The popup stays open after a tap; only OK takes the choice.
    QVERIFY(select.isVisible());
    select.close();
}

void TestQVantelMenuSelect::currentRowIsScrolledIntoView()
{
    QWidget owner;
    QVantelMenuSelect select(&owner);
    QVantelMenuSelectable *last = nullptr;
    for (int i = 0; i < 30; ++i)
        last = addRow(&select, i);
    select.setCurrentSelectable(last);
    select.show();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    QScrollBar *bar = select.list()->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0);
    QTRY_COMPARE(bar->value(), bar->maximum());
    const QRect shown = QRect(QPoint(0, bar->value()), select.list()->viewport()->size());
    QVERIFY(shown.contains(last->geometry()));
    select.close();
}

void TestQVantelMenuSelect::title()
{
    QWidget owner;
    QVantelMenuSelect select(&owner);
    QVERIFY(select.titleLabel()->isHidden());
    select.setTitle(QStringLiteral("Bit rate"));
    QVERIFY(!select.titleLabel()->isHidden());
    QCOMPARE(select.titleLabel()->text(), QStringLiteral("Bit rate"));
    select.setTitle(QString());
    QVERIFY(select.titleLabel()->isHidden());
}

QTEST_MAIN(TestQVantelMenuSelect)
#include "tst_qvantelmenuselect.moc"
