#include "widgets/qpwdlabel.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelelidedlabel.h"
#include "widgets/qvantelimage.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuselectable.h"
#include "widgets/qvantelmenuwidget.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelpagestack.h"
#include "widgets/qvantelswitch.h"
#include "widgets/qvantelvirtual.h"
#include "widgets/qvantelwheel.h"
#include "widgets/qvantelwraplabel.h"

#include "tests/widgets/picturelight.h"

#include <QApplication>
#include <QFocusEvent>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QColor kBlue(0, 162, 232);
const QColor kGrey(127, 127, 127);

QColor textColor(const QWidget *w)
{
    return w->palette().color(QPalette::WindowText);
}

// A menu that records its hooks and builds a small tree: entry 1 opens page 100 with one row of
// each kind; the navigation row (id 8) pushes page 200.
class TestMenu : public QVantelMenuWidget
{
public:
    QStringList calls;
    QList<QVantelMenuItem *> committed;
    QVantelVirtual *lastKeyboard = nullptr;
    QVantelMenuSelect *lastSelect = nullptr;
    bool popPageOnCommit = false;
    QString acceptedText;
    // Runs between building page 200 and pushing it, where a builder waits for the unit.
    std::function<void()> whileBuilding;

    explicit TestMenu(QWidget *parent = nullptr)
        : QVantelMenuWidget(parent)
    {
        for (int id = 1; id <= 3; ++id) {
            auto *entry = new QVantelMenuEntry(id, entries());
            entry->titleLabel()->setText(QStringLiteral("Entry %1").arg(id));
            addEntry(entry);
        }
    }

    bool entryClicked(QVantelMenuEntry *entry) override
    {
        calls << QStringLiteral("entryClicked %1").arg(entry->id());
        if (!QVantelMenuWidget::entryClicked(entry))
            return false;
        pushPage(buildPage(100));
        return true;
    }

    void itemClicked(QVantelMenuItem *item) override
    {
        calls << QStringLiteral("itemClicked %1").arg(item->id());
        QVantelMenuWidget::itemClicked(item);
        if (item->kind() == QVantelMenuItem::Navigation) {
            auto *page = new QVantelMenuItems(200, this);
            auto *row = new QVantelMenuItem(1, QVantelMenuItem::TextEntry, page);
            row->titleLabel()->setText(QStringLiteral("Deep"));
            page->addItem(row);
            if (whileBuilding)
                whileBuilding();
            pushPage(page);
        }
    }

    void prepareKeyboard(QVantelMenuItem *item, QVantelVirtual *keyboard) override
    {
        calls << QStringLiteral("prepareKeyboard %1").arg(item->id());
        lastKeyboard = keyboard;
    }

    void prepareSelection(QVantelMenuItem *item, QVantelMenuSelect *select) override
    {
        calls << QStringLiteral("prepareSelection %1").arg(item->id());
        lastSelect = select;
    }

    void itemCommitted(QVantelMenuItem *item) override
    {
        calls << QStringLiteral("itemCommitted %1").arg(item->id());
        committed << item;
        if (popPageOnCommit)
            backClicked();
    }

    void keyboardAccepted(QVantelMenuItem *item, QVantelVirtual *keyboard) override
    {
        calls << QStringLiteral("keyboardAccepted %1").arg(item->id());
        acceptedText = keyboard->lineEdit()->text();
    }

    void selectionAccepted(QVantelMenuItem *item, QVantelMenuSelect *select) override
    {
        calls << QStringLiteral("selectionAccepted %1").arg(item->id());
        acceptedText = select->currentSelectable()->label()->text();
    }

    void backClicked() override
    {
        calls << QStringLiteral("backClicked");
        QVantelMenuWidget::backClicked();
    }
    void applyClicked() override
    {
        calls << QStringLiteral("applyClicked");
        QVantelMenuWidget::applyClicked();
    }
    void refreshClicked() override { calls << QStringLiteral("refreshClicked"); }

    QVantelMenuItems *buildPage(int id)
    {
        auto *page = new QVantelMenuItems(id, this);
        for (int kind = 0; kind <= 11; ++kind) {
            auto *item = new QVantelMenuItem(kind, kind, page);
            item->titleLabel()->setText(QStringLiteral("Row %1").arg(kind));
            if (kind != QVantelMenuItem::Switch) {
                item->addValue(10, QStringLiteral("ten"));
                item->addValue(20, QStringLiteral("twenty"));
                item->addValue(30, QStringLiteral("thirty"));
                item->selectValue(10, true, false);
            }
            page->addItem(item);
        }
        return page;
    }
};

// Taps the widget as a finger does: press and release on the viewport of the slide area under it.
void tap(QVantelSlideWidget *area, QWidget *target)
{
    area->ensureWidgetVisible(target);
    QWidget *viewport = area->viewport();
    const QPoint point = target->mapTo(viewport, target->rect().center());
    QTest::mousePress(viewport, Qt::LeftButton, {}, point);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, point);
}

void pressKey(QVantelVirtual *keyboard, const QString &caption)
{
    for (int i = 0; i < QVantelVirtual::kKeyCount; ++i) {
        if (!keyboard->key(i)->isHidden() && keyboard->key(i)->text() == caption) {
            QTest::mouseClick(keyboard->key(i), Qt::LeftButton);
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no key ") + caption));
}

} // namespace

class TestQVantelMenu : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Rows and value lists.
    void rowsOfEachKind();
    void switchText();
    void selectValueWhenAbsent();
    void readOnlyRow();
    void maskedLabelPaintsAsterisks();
    void textsShowAsTyped();
    void wheelOnRelease();
    void wheelOnStep();
    void longTextsKeepTheControlsOnThePage();
    void cutTextsEndInAnEllipsis();

    // Pages.
    void textRowThroughTheKeyboard();
    void unchangedTextCommitsNothing();
    void maskedRowStartsInPasswordEcho();
    void choiceRowThroughThePopup();
    void otherKindsCallItemClicked();

    // Menu widget and header.
    void openingAnEntry();
    void navigatingInAndBack();
    void pagesUnderTheTopStayShown();
    void openingAPageDropsAnEngagedWheel();
    void longPageKeepsItsRowsInOrder();
    void headerIcons();
    void markKeepsTheTitleLayout();
    void showEntry();
    void showMessageReusesOneMessage();
    void confirmAction_data();
    void confirmAction();
    void showKeyboardAndSelection();
    void pagePopsItselfFromItsHandler();
    void titleComesWithItsPage();
    void pageBuiltForAStackThatChangedIsDropped_data();
    void pageBuiltForAStackThatChangedIsDropped();
    void popupsCloseWhenTheMenuIsLeft();

private:
    QVantelMenuItem *row(int kind) const;

    TestMenu *m_menu = nullptr;
};

void TestQVantelMenu::init()
{
    m_menu = new TestMenu;
    m_menu->resize(800, 420);
    m_menu->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_menu));
    QVERIFY(m_menu->showEntry(1, 0));
    QVERIFY(m_menu->currentPage());
    QTest::qWait(0);
}

void TestQVantelMenu::cleanup()
{
    delete m_menu;
    m_menu = nullptr;
    // Let deferred deletions run under the sanitizers before the next case.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QVantelMenuItem *TestQVantelMenu::row(int kind) const
{
    return m_menu->currentPage()->findItem(kind);
}

void TestQVantelMenu::rowsOfEachKind()
{
    QVantelMenuItems *page = m_menu->currentPage();
    QCOMPARE(page->items().size(), 12);
    QVERIFY(!row(0)->valueLabel());
    QVERIFY(qobject_cast<QPwdLabel *>(row(4)->valueLabel()));
    QVERIFY(qobject_cast<QPwdLabel *>(row(6)->valueLabel()));
    QVERIFY(!qobject_cast<QPwdLabel *>(row(3)->valueLabel()));
    QVERIFY(row(2)->switchButton());
    QVERIFY(row(9)->wheel() && row(10)->wheel());
    QVERIFY(row(8)->iconLabel() && row(11)->iconLabel());
    QCOMPARE(row(1)->valueText(), QStringLiteral("ten"));
    QCOMPARE(textColor(row(1)->valueLabel()), kBlue);

    // Rows of another page, and null, are not added; lookups by id and data.
    auto *foreign = new QVantelMenuItem(50, 1, m_menu);
    page->addItem(foreign);
    page->addItem(nullptr);
    QCOMPARE(page->items().size(), 12);
    auto *tagged = new QVantelMenuItem(5, 77, 1, page);
    page->addItem(tagged);
    QCOMPARE(page->findItem(5), row(5));
    QCOMPARE(page->findItem(5, 77), tagged);
    QCOMPARE(page->findItem(99), nullptr);
    page->removeItem(tagged);
    QCOMPARE(page->findItem(5, 77), nullptr);
    delete tagged;
    delete foreign;
}

void TestQVantelMenu::switchText()
{
    QVantelMenuItem *item = row(2);
    item->setChecked(true);
    QCOMPARE(item->valueText(), QStringLiteral("Active"));
    QCOMPARE(item->currentIndex(), -1);
    item->setChecked(false);
    QCOMPARE(item->valueText(), QStringLiteral("Disabled"));

    item->addValue(0, QStringLiteral("Off"));
    item->addValue(1, QStringLiteral("On"));
    item->setChecked(true);
    QCOMPARE(item->valueText(), QStringLiteral("On"));
    QCOMPARE(item->currentIndex(), 1);

    // A click on the switch updates the text and commits the row.
    QTest::mouseClick(item->switchButton(), Qt::LeftButton);
    QCOMPARE(item->valueText(), QStringLiteral("Off"));
    QCOMPARE(item->currentIndex(), 0);
    QCOMPARE(m_menu->committed, QList<QVantelMenuItem *>{item});
}

void TestQVantelMenu::selectValueWhenAbsent()
{
    QVantelMenuItem *item = row(1);
    item->selectValue(20, true, false);
    QCOMPARE(item->valueText(), QStringLiteral("twenty"));

    QCOMPARE(item->selectValue(99, true, true), -1);
    QCOMPARE(item->currentIndex(), -1);
    QCOMPARE(item->valueText(), QStringLiteral("twenty"));

    QCOMPARE(item->selectValue(99, true, false), 0);
    QCOMPARE(item->currentIndex(), 0);
    QCOMPARE(item->valueText(), QStringLiteral("ten"));

    QCOMPARE(item->selectText(QStringLiteral("thirty"), false, true), 2);
    QCOMPARE(item->valueText(), QStringLiteral("ten"));
    QCOMPARE(item->findText(QStringLiteral("Thirty"), true), -1);

    // A choice row's value text also moves its current entry.
    row(7)->setValueText(QStringLiteral("thirty"), Qt::red);
    QCOMPARE(row(7)->currentIndex(), 2);
    QCOMPARE(textColor(row(7)->valueLabel()), QColor(Qt::red));

    item->clearValues();
    QCOMPARE(item->currentIndex(), -1);
    QCOMPARE(item->selectValue(10, true, false), -1);
    QCOMPARE(item->valueText(), QStringLiteral("ten"));
}

void TestQVantelMenu::readOnlyRow()
{
    QVantelMenuItems *page = m_menu->currentPage();
    for (int kind : {1, 2, 3, 7, 10}) {
        QVantelMenuItem *item = row(kind);
        item->setReadOnly(true);
        QCOMPARE(textColor(item->valueLabel()), kGrey);
        tap(page, item->valueLabel());
    }
    QVERIFY(!row(2)->switchButton()->isEnabled());
    QVERIFY(!row(10)->wheel()->isCheckable());
    QVERIFY(!page->findChild<QVantelPopup *>());
    QVERIFY(m_menu->calls.filter(QStringLiteral("itemClicked")).isEmpty());

    row(2)->setReadOnly(false);
    QVERIFY(row(2)->switchButton()->isEnabled());
    QCOMPARE(textColor(row(2)->valueLabel()), kBlue);
    row(10)->setReadOnly(false);
    QVERIFY(row(10)->wheel()->isCheckable());

    // A locked navigation or action row dims its icon as a locked switch is dimmed, whatever
    // picture the page gave it; usable again, it shows the icon as before.
    row(11)->iconLabel()->setPixmap(QPixmap(QStringLiteral(":/images/shutdown.png")));
    for (int kind : {8, 11}) {
        QLabel *icon = row(kind)->iconLabel();
        const double live = pictureLight(icon);
        QVERIFY(live > 0);
        row(kind)->setReadOnly(true);
        QVERIFY(qAbs(pictureLight(icon) / live - kQVantelDisabledOpacity) < 0.01);
        row(kind)->setReadOnly(false);
        QCOMPARE(pictureLight(icon), live);
    }
}

void TestQVantelMenu::maskedLabelPaintsAsterisks()
{
    QPwdLabel masked;
    QLabel plain;
    for (QLabel *label : {static_cast<QLabel *>(&masked), &plain}) {
        label->setFixedSize(120, 30);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    masked.setText(QStringLiteral("abc"));
    plain.setText(QStringLiteral("***"));
    QCOMPARE(masked.text(), QStringLiteral("abc"));
    QCOMPARE(masked.grab().toImage(), plain.grab().toImage());
}

void TestQVantelMenu::textsShowAsTyped()
{
    // Titles and values carry device and user texts (profile names, SIP names): a "<b>" in
    // them is part of the text, never markup.
    const QString text = QStringLiteral("<b>Studio</b> <img src=\"x.png\">");
    QVantelMenuItem *item = row(QVantelMenuItem::TextEntry);
    item->titleLabel()->setText(text);
    item->setValueText(text);
    auto *entry = m_menu->entries()->findEntry(1);
    QVantelMenuSelect select(m_menu);
    select.setTitle(text);
    select.addItemValues(row(QVantelMenuItem::Choice));
    QVantelVirtual keyboard(1, m_menu);
    QVantelMessage message(text, QVantelMessage::CancelAndOk, m_menu);
    const QList<QLabel *> labels = {item->titleLabel(),
                                    item->valueLabel(),
                                    row(QVantelMenuItem::MaskedEntry)->valueLabel(),
                                    entry->titleLabel(),
                                    m_menu->header()->titleLabel(),
                                    select.titleLabel(),
                                    select.currentSelectable()->label(),
                                    keyboard.titleLabel(),
                                    message.textLabel()};
    for (int i = 0; i < labels.size(); ++i)
        QVERIFY2(labels.at(i)->textFormat() == Qt::PlainText, qPrintable(QString::number(i)));
    QCOMPARE(item->valueText(), text);
}

void TestQVantelMenu::wheelOnRelease()
{
    QVantelMenuItem *item = row(9);
    QVantelWheel *wheel = item->wheel();
    QCOMPARE(wheel->maximum(), 2);
    QVERIFY(wheel->revert());
    QVERIFY(wheel->isCheckable());

    // Stepped and then tapped off: one commit.
    QTest::mouseClick(wheel, Qt::LeftButton);
    QVERIFY(wheel->isChecked());
    QCOMPARE(textColor(item->valueLabel()), QColor(Qt::red));
    QTest::keyClick(wheel, Qt::Key_Plus);
    QTest::keyClick(wheel, Qt::Key_Plus);
    QTest::keyClick(wheel, Qt::Key_Plus);
    QCOMPARE(item->valueText(), QStringLiteral("thirty"));
    QVERIFY(m_menu->committed.isEmpty());
    QTest::mouseClick(wheel, Qt::LeftButton);
    QCOMPARE(m_menu->committed.size(), 1);
    QCOMPARE(item->currentIndex(), 2);
    QCOMPARE(textColor(item->valueLabel()), kBlue);

    // Away and back: nothing.
    QTest::mouseClick(wheel, Qt::LeftButton);
    QTest::keyClick(wheel, Qt::Key_Minus);
    QTest::keyClick(wheel, Qt::Key_Plus);
    QTest::mouseClick(wheel, Qt::LeftButton);
    QCOMPARE(m_menu->committed.size(), 1);

    // Losing the focus while editing restores the old value and commits nothing.
    QTest::mouseClick(wheel, Qt::LeftButton);
    QTest::keyClick(wheel, Qt::Key_Minus);
    QCOMPARE(item->valueText(), QStringLiteral("twenty"));
    QFocusEvent focusOut(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(wheel, &focusOut);
    QVERIFY(!wheel->isChecked());
    QCOMPARE(wheel->value(), 2);
    QCOMPARE(item->valueText(), QStringLiteral("thirty"));
    QCOMPARE(m_menu->committed.size(), 1);
}

void TestQVantelMenu::wheelOnStep()
{
    QVantelMenuItem *item = row(10);
    QVantelWheel *wheel = item->wheel();
    QVERIFY(!wheel->revert());
    QTest::mouseClick(wheel, Qt::LeftButton);
    QTest::keyClick(wheel, Qt::Key_Plus);
    QTest::keyClick(wheel, Qt::Key_Plus);
    QCOMPARE(m_menu->committed.size(), 2);
    QCOMPARE(item->currentIndex(), 2);
    QTest::mouseClick(wheel, Qt::LeftButton);
    QCOMPARE(m_menu->committed.size(), 3);
}

// A title longer than the row is wide is cut short with an ellipsis, and a value that cannot wrap
// is cut at the row's edge; the page keeps the width of its window, and every row's switch, wheel
// and icon stay on it.
void TestQVantelMenu::longTextsKeepTheControlsOnThePage()
{
    const QString name = QStringLiteral("Saturday Afternoon Sports Roundup With Extended Coverage");
    QVantelMenuItems *page = m_menu->currentPage();
    for (int kind : {2, 8, 11})
        row(kind)->titleLabel()->setText(name);
    row(4)->setValueText(QString(70, QLatin1Char('W')));
    row(11)->setValueText(QStringLiteral("sip:") + QString(70, QLatin1Char('w')));
    QWidget *viewport = page->viewport();
    // The rows, the column and the scroll area lay themselves out in turn, each on a posted event.
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCOMPARE(page->inner()->width(), viewport->width());
    for (int kind : {2, 8, 9, 11}) {
        QVantelMenuItem *item = row(kind);
        QWidget *control = item->iconLabel();
        if (!control)
            control = item->switchButton();
        if (!control)
            control = item->wheel();
        const QRect at(control->mapTo(viewport, QPoint()), control->size());
        QVERIFY2(at.right() < viewport->width(), qPrintable(item->titleText()));
        QVERIFY(item->titleLabel()->geometry().right() < control->geometry().left());
    }
    auto *title = qobject_cast<QVantelElidedLabel *>(row(8)->titleLabel());
    QVERIFY(title);
    QCOMPARE(title->text(), name);
    QVERIFY(title->shownText().endsWith(QChar(0x2026)));
    QVERIFY(name.startsWith(title->shownText().chopped(1)));
    QCOMPARE(qobject_cast<QVantelElidedLabel *>(row(1)->titleLabel())->shownText(),
             QStringLiteral("Row 1"));
}

// Whatever part of a text cannot be shown is replaced by an ellipsis: a word wider than the row,
// stars beyond a masked row's width, and a title path too long for the header, in width or in
// lines. Texts that fit are shown whole.
void TestQVantelMenu::cutTextsEndInAnEllipsis()
{
    const QChar ellipsis(0x2026);
    const QString name = QStringLiteral("BroadcastOperatorNetworkWithAVeryLongNameW");
    const auto settle = [] {
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    };
    const auto shown = [](QLabel *label) {
        auto *wrapping = qobject_cast<QVantelWrapLabel *>(label);
        return wrapping ? wrapping->shownText() : QStringLiteral("(not a wrapping label)");
    };

    // Value, and how its drawing starts when it is cut (empty: drawn whole).
    const QString longWord = name + name;
    const QList<std::pair<QString, QString>> values = {
        {QStringLiteral("Studio B"), QString()},
        {QStringLiteral("sip:") + longWord, QStringLiteral("sip:Broadcast")},
        {QStringLiteral("Network ") + longWord, QStringLiteral("Network\nBroadcast")},
    };
    QLabel *value = row(11)->valueLabel();
    for (const auto &[text, start] : values) {
        row(11)->setValueText(text);
        settle();
        // The row grows to the lines the value needs.
        QTRY_VERIFY(value->height() >= value->heightForWidth(value->width()));
        const QString drawn = shown(value);
        QCOMPARE(row(11)->valueText(), text);
        if (start.isEmpty()) {
            QCOMPARE(drawn, text);
            continue;
        }
        QVERIFY2(drawn.startsWith(start), qPrintable(drawn));
        QVERIFY2(drawn.endsWith(ellipsis), qPrintable(drawn));
        QCOMPARE(drawn.count(QLatin1Char('\n')), start.count(QLatin1Char('\n')));
        QVERIFY(value->fontMetrics().horizontalAdvance(drawn.section(QLatin1Char('\n'), -1))
                <= value->contentsRect().width());
    }

    // A masked value draws its stars up to the row's edge, then an ellipsis.
    QPwdLabel masked;
    QLabel plain;
    for (QLabel *label : {static_cast<QLabel *>(&masked), &plain}) {
        label->setFixedSize(120, 30);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    masked.setText(QString(60, QLatin1Char('x')));
    const QString stars
        = plain.fontMetrics().elidedText(QString(60, QLatin1Char('*')), Qt::ElideRight, 120);
    QVERIFY(stars.endsWith(ellipsis));
    plain.setText(stars);
    QCOMPARE(masked.grab().toImage(), plain.grab().toImage());

    // The header's title path: a name without blanks, then more words than two lines hold.
    QVantelMenuHeader *header = m_menu->header();
    header->setBackVisible(true);
    const QString book = QStringLiteral("Book > Presets > ");
    header->titleLabel()->setText(book + name + name);
    settle();
    QString drawn = shown(header->titleLabel());
    QVERIFY2(drawn.startsWith(QStringLiteral("Book > Presets >\nBroadcast")), qPrintable(drawn));
    QVERIFY2(drawn.endsWith(ellipsis), qPrintable(drawn));
    // The name does not widen the header beyond the panel.
    QCOMPARE(m_menu->width(), 800);
    QString path;
    for (int step = 1; step <= 12; ++step)
        path += QStringLiteral("Step %1 > ").arg(step);
    header->titleLabel()->setText(path + QStringLiteral("Last"));
    settle();
    drawn = shown(header->titleLabel());
    QCOMPARE(drawn.count(QLatin1Char('\n')), 1);
    QVERIFY2(drawn.startsWith(QStringLiteral("Step 1 > Step 2")), qPrintable(drawn));
    QVERIFY2(drawn.endsWith(ellipsis), qPrintable(drawn));
    header->titleLabel()->setText(QStringLiteral("Book > Presets"));
    settle();
    QCOMPARE(shown(header->titleLabel()), QStringLiteral("Book > Presets"));
}

void TestQVantelMenu::textRowThroughTheKeyboard()
{
    QVantelMenuItem *item = row(3);
    tap(m_menu->currentPage(), item->valueLabel());
    QPointer<QVantelVirtual> keyboard = m_menu->lastKeyboard;
    QVERIFY(keyboard);
    QCOMPARE(keyboard->mode(), 1);
    QCOMPARE(keyboard->item(), static_cast<void *>(item));
    QCOMPARE(keyboard->titleLabel()->text(), QStringLiteral("Row 3"));
    QCOMPARE(keyboard->lineEdit()->text(), QStringLiteral("ten"));
    QCOMPARE(keyboard->windowModality(), Qt::ApplicationModal);
    // Centred on the menu widget (give or take the platform's window frame).
    const QPoint origin = m_menu->mapToGlobal(QPoint(0, 0));
    const QPoint offset = keyboard->pos() - QPoint(origin.x(), origin.y() + (420 - 390) / 2);
    QVERIFY2(offset.manhattanLength() <= 8,
             qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));

    pressKey(keyboard, QStringLiteral("s"));
    pressKey(keyboard, QStringLiteral("OK"));
    QCOMPARE(item->valueText(), QStringLiteral("tens"));
    QCOMPARE(m_menu->committed, QList<QVantelMenuItem *>{item});
    QTRY_VERIFY(keyboard.isNull());

    // The numeric kinds open the pad.
    tap(m_menu->currentPage(), row(5)->valueLabel());
    QCOMPARE(m_menu->lastKeyboard->mode(), 0);
    pressKey(m_menu->lastKeyboard, QStringLiteral("Cancel"));
    QCOMPARE(m_menu->committed.size(), 1);
}

void TestQVantelMenu::unchangedTextCommitsNothing()
{
    tap(m_menu->currentPage(), row(3)->titleLabel());
    pressKey(m_menu->lastKeyboard, QStringLiteral("OK"));
    QVERIFY(m_menu->committed.isEmpty());
}

void TestQVantelMenu::maskedRowStartsInPasswordEcho()
{
    QVantelMenuItem *item = row(6);
    item->setValueText(QStringLiteral("123"));
    tap(m_menu->currentPage(), item->valueLabel());
    QVantelVirtual *keyboard = m_menu->lastKeyboard;
    QCOMPARE(keyboard->mode(), 0);
    QCOMPARE(keyboard->lineEdit()->echoMode(), QLineEdit::Password);
    QCOMPARE(keyboard->lineEdit()->text(), QStringLiteral("123"));
    pressKey(keyboard, QStringLiteral("4"));
    pressKey(keyboard, QStringLiteral("OK"));
    QCOMPARE(item->valueText(), QStringLiteral("1234"));
}

void TestQVantelMenu::choiceRowThroughThePopup()
{
    QVantelMenuItem *item = row(7);
    item->selectValue(20, true, false);
    tap(m_menu->currentPage(), item->valueLabel());
    QPointer<QVantelMenuSelect> select = m_menu->lastSelect;
    QVERIFY(select);
    QCOMPARE(select->item(), static_cast<void *>(item));
    QVERIFY(select->currentSelectable());
    QCOMPARE(select->currentSelectable()->id(), 20);

    // OK on the choice already shown still commits it: the row may stand in for a value the
    // unit holds that the list does not name, and only the owner knows.
    QTest::mouseClick(select->okButton(), Qt::LeftButton);
    QCOMPARE(m_menu->committed, QList<QVantelMenuItem *>{item});
    QCOMPARE(item->currentIndex(), 1);
    m_menu->committed.clear();

    tap(m_menu->currentPage(), item->valueLabel());
    select = m_menu->lastSelect;
    select->setCurrentSelectable(select->findSelectable(30));
    QTest::mouseClick(select->okButton(), Qt::LeftButton);
    QCOMPARE(item->valueText(), QStringLiteral("thirty"));
    QCOMPARE(item->currentIndex(), 2);
    QCOMPARE(m_menu->committed, QList<QVantelMenuItem *>{item});

    // Cancel commits nothing; an empty list opens nothing.
    tap(m_menu->currentPage(), item->valueLabel());
    QTest::mouseClick(m_menu->lastSelect->cancelButton(), Qt::LeftButton);
    QCOMPARE(m_menu->committed.size(), 1);
    item->clearValues();
    m_menu->lastSelect = nullptr;
    tap(m_menu->currentPage(), item->valueLabel());
    QVERIFY(!m_menu->lastSelect);
}

void TestQVantelMenu::otherKindsCallItemClicked()
{
    QVantelMenuItems *page = m_menu->currentPage();
    for (int kind : {0, 1, 11})
        tap(page, row(kind)->titleLabel());
    QCOMPARE(m_menu->calls.filter(QStringLiteral("itemClicked")),
             QStringList({"itemClicked 0", "itemClicked 1", "itemClicked 11"}));
    // A tap on the row's own background (here its right margin) does nothing.
    QWidget *viewport = page->viewport();
    QVantelMenuItem *item = row(1);
    item->layout()->setContentsMargins(10, 0, 10, 0);
    item->layout()->activate();
    page->ensureWidgetVisible(item);
    const QPoint blank = item->mapTo(viewport, QPoint(item->width() - 3, item->height() / 2));
    QTest::mousePress(viewport, Qt::LeftButton, {}, blank);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, blank);
    QCOMPARE(m_menu->calls.filter(QStringLiteral("itemClicked")).size(), 3);
}

void TestQVantelMenu::openingAnEntry()
{
    QVantelMenuHeader *header = m_menu->header();
    QCOMPARE(m_menu->currentEntry, 1);
    QCOMPARE(m_menu->entries()->currentEntry()->id(), 1);
    QCOMPARE(m_menu->entries()->findEntry(1)->state(), int(QVantelMenuEntry::Selected));
    QCOMPARE(header->titleLabel()->text(), QStringLiteral("Entry 1"));
    QVERIFY(header->backIcon()->isHidden());

    header->setModified(true);
    header->setRefreshVisible(true);
    QCOMPARE(textColor(header->titleLabel()), QColor(Qt::red));
    QVERIFY(!header->applyIcon()->isHidden());
    QPointer<QVantelMenuItems> oldPage = m_menu->currentPage();

    // A tap on the current entry does nothing; a tap on another opens it.
    QVantelMenuEntries *column = m_menu->entries();
    tap(column, column->findEntry(1)->titleLabel());
    QCOMPARE(m_menu->calls.count(QStringLiteral("entryClicked 1")), 1);
    tap(column, column->findEntry(2)->titleLabel());
    QCOMPARE(m_menu->currentEntry, 2);
    QCOMPARE(column->findEntry(1)->state(), int(QVantelMenuEntry::Normal));
    QCOMPARE(header->titleLabel()->text(), QStringLiteral("Entry 2"));
    QVERIFY(!header->isModified());
    QVERIFY(header->applyIcon()->isHidden());
    QVERIFY(header->refreshIcon()->isHidden());
    QCOMPARE(textColor(header->titleLabel()), kBlue);
    QCOMPARE(m_menu->pageStack()->count(), 1);
    QVERIFY(m_menu->currentPage() != oldPage);
    QTRY_VERIFY(oldPage.isNull());

    // A disabled entry is not opened by a tap.
    column->findEntry(3)->setState(QVantelMenuEntry::Disabled);
    QCOMPARE(textColor(column->findEntry(3)->titleLabel()), kGrey);
    tap(column, column->findEntry(3)->titleLabel());
    QCOMPARE(m_menu->currentEntry, 2);
}

void TestQVantelMenu::navigatingInAndBack()
{
    QVantelMenuHeader *header = m_menu->header();
    tap(m_menu->currentPage(), row(8)->titleLabel());
    QCOMPARE(m_menu->pageStack()->count(), 2);
    QCOMPARE(m_menu->currentPage()->id(), 200);
    QCOMPARE(m_menu->findPage(100), m_menu->pageStack()->widget(0));
    QCOMPARE(header->titleLabel()->text(), QStringLiteral("Entry 1 > Row 8"));
    QVERIFY(!header->backIcon()->isHidden());

    QPointer<QVantelMenuItems> subPage = m_menu->currentPage();
    header->setModified(true);
    QTest::mouseClick(header->backIcon(), Qt::LeftButton);
    QCOMPARE(m_menu->pageStack()->count(), 1);
    QCOMPARE(m_menu->currentPage()->id(), 100);
    QCOMPARE(header->titleLabel()->text(), QStringLiteral("Entry 1"));
    QVERIFY(header->backIcon()->isHidden());
    QVERIFY(!header->isModified());
    QTRY_VERIFY(subPage.isNull());

    // Back with one page keeps the page and the title.
    header->setRefreshVisible(true);
    m_menu->backClicked();
    QCOMPARE(m_menu->pageStack()->count(), 1);
    QCOMPARE(header->titleLabel()->text(), QStringLiteral("Entry 1"));
    QVERIFY(header->refreshIcon()->isHidden());
}

void TestQVantelMenu::pagesUnderTheTopStayShown()
{
    // Counts the show and hide events of every row of the first page.
    struct Counter : QObject
    {
        int shown = 0;
        int hidden = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            shown += event->type() == QEvent::Show ? 1 : 0;
            hidden += event->type() == QEvent::Hide ? 1 : 0;
            return false;
        }
    } counter;
    QVantelMenuItems *first = m_menu->currentPage();
    for (QVantelMenuItem *item : first->items())
        item->installEventFilter(&counter);

    tap(first, row(8)->titleLabel());
    QVantelMenuItems *second = m_menu->currentPage();
    QVERIFY(second != first);
    // The new page covers the one under it, which is neither hidden nor painted.
    QVERIFY(second->autoFillBackground());
    const QPoint centre = second->geometry().center();
    QVERIFY(second->isAncestorOf(m_menu->childAt(centre)) || m_menu->childAt(centre) == second);
    QVERIFY(first->isVisible());
    QCOMPARE(counter.hidden, 0);

    QPointer<QVantelMenuItems> left = second;
    m_menu->backClicked();
    QCOMPARE(m_menu->currentPage(), first);
    QVERIFY(left->isHidden());
    QVERIFY(first->isAncestorOf(m_menu->childAt(centre)) || m_menu->childAt(centre) == first);
    QCOMPARE(counter.shown, 0);
    QCOMPARE(counter.hidden, 0);
}

// A page opened over an engaged wheel (WheelOnRelease) takes the wheel's focus away as a page
// change always did: the wheel disengages and shows its value again, keys no longer reach it, and
// back on its page nothing it was stepped to is committed.
void TestQVantelMenu::openingAPageDropsAnEngagedWheel()
{
    m_menu->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_menu));
    QVantelMenuItems *first = m_menu->currentPage();
    QVantelMenuItem *item = row(9);
    QVantelWheel *wheel = item->wheel();
    QTest::mouseClick(wheel, Qt::LeftButton);
    QVERIFY(wheel->isChecked());
    QVERIFY(wheel->hasFocus());
    QTest::keyClick(wheel, Qt::Key_Plus);
    QCOMPARE(item->valueText(), QStringLiteral("twenty"));

    tap(first, row(8)->titleLabel());
    QCOMPARE(m_menu->currentPage()->id(), 200);
    QVERIFY(!wheel->hasFocus());
    QVERIFY(!wheel->isChecked());
    QCOMPARE(wheel->value(), 0);
    QCOMPARE(item->valueText(), QStringLiteral("ten"));
    if (QWidget *focused = QApplication::focusWidget())
        QTest::keyClick(focused, Qt::Key_Plus);
    QCOMPARE(wheel->value(), 0);

    m_menu->backClicked();
    QCOMPARE(m_menu->currentPage(), first);
    QTest::mouseClick(wheel, Qt::LeftButton);
    QTest::mouseClick(wheel, Qt::LeftButton);
    QVERIFY(m_menu->committed.isEmpty());
    QCOMPARE(item->currentIndex(), 0);
    QCOMPARE(item->valueText(), QStringLiteral("ten"));
}

void TestQVantelMenu::longPageKeepsItsRowsInOrder()
{
    auto *page = new QVantelMenuItems(300, m_menu);
    QList<QVantelMenuItem *> rows;
    for (int id = 0; id < 100; ++id) {
        rows << new QVantelMenuItem(id, QVantelMenuItem::Action, page);
        page->addItem(rows.last());
    }
    m_menu->pushPage(page);
    QCOMPARE(page->items(), rows);
    QCOMPARE(page->findItem(70), rows.at(70));

    // A row taken out leaves the others in order, down the page.
    page->removeItem(rows.at(40));
    rows.removeAt(40);
    QCOMPARE(page->items(), rows);
    QCoreApplication::processEvents();
    for (int i = 1; i < rows.size(); ++i)
        QVERIFY(rows.at(i)->mapTo(page, QPoint()).y() >= rows.at(i - 1)->mapTo(page, QPoint()).y());
}

void TestQVantelMenu::headerIcons()
{
    QVantelMenuHeader *header = m_menu->header();
    header->setModified(true);
    header->setRefreshVisible(true);
    QTest::mouseClick(header->refreshIcon(), Qt::LeftButton);
    QTest::mouseClick(header->applyIcon(), Qt::LeftButton);
    QVERIFY(m_menu->calls.contains(QStringLiteral("refreshClicked")));
    QVERIFY(m_menu->calls.contains(QStringLiteral("applyClicked")));
    QVERIFY(!header->isModified());
    QVERIFY(header->applyIcon()->isHidden());
}

// The modified mark turns the title red and shows the apply icon, and changes nothing else: a
// long title path is laid out alike, on the same lines, with and without it.
void TestQVantelMenu::markKeepsTheTitleLayout()
{
    QVantelMenuHeader *header = m_menu->header();
    QLabel *title = header->titleLabel();
    const auto settle = [] {
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    };
    header->setBackVisible(true);
    header->setRefreshVisible(false);
    settle();
    title->setText(QStringLiteral("Network > Ethernet 2 > Addressing > Static > DNS Servers"));
    settle();
    const QRect unmarked = title->geometry();
    header->setModified(true);
    settle();
    QCOMPARE(title->geometry(), unmarked);
    QVERIFY(!header->applyIcon()->geometry().intersects(unmarked));
    header->setModified(false);
    settle();
    QCOMPARE(title->geometry(), unmarked);
}

void TestQVantelMenu::showEntry()
{
    m_menu->entries()->findEntry(3)->setState(QVantelMenuEntry::Disabled);
    QVERIFY(!m_menu->showEntry(3, 9));
    QVERIFY(!m_menu->showEntry(42, 9));
    QCOMPARE(m_menu->entryTarget, 0);
    QVERIFY(m_menu->showEntry(2, 15));
    QCOMPARE(m_menu->entryTarget, 15);
    QCOMPARE(m_menu->currentEntry, 2);
}

void TestQVantelMenu::showMessageReusesOneMessage()
{
    m_menu->showMessage(QStringLiteral("Applying..."), 5000);
    QPointer<QVantelMessage> message = m_menu->message();
    QVERIFY(message);
    QCOMPARE(message->kind(), 0);
    QVERIFY(message->autoCloseTimer()->isActive());
    QCOMPARE(message->autoCloseTimer()->interval(), 5000);
    // Centred over the current page horizontally, over the menu vertically.
    QVantelMenuItems *page = m_menu->currentPage();
    const int x = page->mapToGlobal(QPoint(0, 0)).x() + (page->width() - 400) / 2;
    const int y = m_menu->mapToGlobal(QPoint(0, 0)).y() + (420 - 180) / 2;
    QVERIFY((message->pos() - QPoint(x, y)).manhattanLength() <= 8);

    m_menu->showMessage(QStringLiteral("Still applying..."), 8000);
    QCOMPARE(m_menu->message(), message.data());
    QCOMPARE(message->autoCloseTimer()->interval(), 8000);
    m_menu->showMessage(QStringLiteral("Still applying..."), 100);
    QCOMPARE(message->autoCloseTimer()->interval(), 8000);

    m_menu->closeMessage();
    QCOMPARE(m_menu->message(), nullptr);
    QTRY_VERIFY(message.isNull());

    // With no page shown the message is centred on the whole menu.
    m_menu->backClicked();
    while (m_menu->pageStack()->count() > 0)
        delete m_menu->pageStack()->widget(0);
    m_menu->showMessage(QStringLiteral("Wait"), 0);
    const QPoint origin = m_menu->mapToGlobal(QPoint(0, 0));
    QVERIFY(
        (m_menu->message()->pos() - QPoint(origin.x() + 200, origin.y() + 120)).manhattanLength()
        <= 8);
    QVERIFY(!m_menu->message()->autoCloseTimer()->isActive());
    m_menu->closeMessage();
}

void TestQVantelMenu::confirmAction_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void TestQVantelMenu::confirmAction()
{
    QFETCH(bool, ok);
    QVantelMenuItem *item = row(11);
    QVantelMessage *question = m_menu->confirmAction(QStringLiteral("Restart?"), item);
    QCOMPARE(question->kind(), 3);
    QCOMPARE(question->item(), static_cast<void *>(item));
    QTest::mouseClick(ok ? question->okButton() : question->cancelButton(), Qt::LeftButton);
    QCOMPARE(m_menu->committed, ok ? QList<QVantelMenuItem *>{item} : QList<QVantelMenuItem *>{});
}

void TestQVantelMenu::showKeyboardAndSelection()
{
    QVantelMenuItem *item = row(1);
    QVantelVirtual *keyboard = m_menu->showKeyboard(1, item, true);
    QVERIFY(keyboard->isVisible());
    QCOMPARE(keyboard->lineEdit()->echoMode(), QLineEdit::Normal);
    QCOMPARE(keyboard->lineEdit()->text(), QStringLiteral("ten"));
    QVERIFY(m_menu->calls.contains(QStringLiteral("prepareKeyboard 1")));
    pressKey(keyboard, QStringLiteral("x"));
    pressKey(keyboard, QStringLiteral("OK"));
    QVERIFY(m_menu->calls.contains(QStringLiteral("keyboardAccepted 1")));
    QCOMPARE(m_menu->acceptedText, QStringLiteral("tenx"));
    // The row itself is left to the subclass.
    QCOMPARE(item->valueText(), QStringLiteral("ten"));
    QVERIFY(m_menu->committed.isEmpty());

    QVantelMenuSelect *select = m_menu->showSelection(QStringLiteral("Pick"), item, true);
    QCOMPARE(select->findSelectable(10), select->currentSelectable());
    QVERIFY(!select->titleLabel()->isHidden());
    select->setCurrentSelectable(select->findSelectable(20));
    QTest::mouseClick(select->okButton(), Qt::LeftButton);
    QVERIFY(m_menu->calls.contains(QStringLiteral("selectionAccepted 1")));
    QCOMPARE(m_menu->acceptedText, QStringLiteral("twenty"));

    // Without show the caller shows the popup; a cancelled one calls no hook.
    QVantelVirtual *hidden = m_menu->showKeyboard(0, item, false);
    QVERIFY(!hidden->isVisible());
    QCOMPARE(m_menu->calls.count(QStringLiteral("prepareKeyboard 1")), 1);
    hidden->show();
    pressKey(hidden, QStringLiteral("Cancel"));
    QCOMPARE(m_menu->calls.count(QStringLiteral("keyboardAccepted 1")), 1);
}

void TestQVantelMenu::pagePopsItselfFromItsHandler()
{
    // The sub-page commits from its own popup slot, and the hook pops that very page.
    tap(m_menu->currentPage(), row(8)->titleLabel());
    QPointer<QVantelMenuItems> subPage = m_menu->currentPage();
    QCOMPARE(subPage->id(), 200);
    m_menu->popPageOnCommit = true;
    tap(subPage, subPage->findItem(1)->titleLabel());
    pressKey(m_menu->lastKeyboard, QStringLiteral("z"));
    pressKey(m_menu->lastKeyboard, QStringLiteral("OK"));
    QCOMPARE(m_menu->committed.size(), 1);
    QCOMPARE(m_menu->currentPage()->id(), 100);
    QTRY_VERIFY(subPage.isNull());

    // A row deleted while its keyboard is open is not written to.
    QPointer<QVantelMenuItem> item = row(3);
    tap(m_menu->currentPage(), item->valueLabel());
    QVantelVirtual *keyboard = m_menu->lastKeyboard;
    delete item;
    pressKey(keyboard, QStringLiteral("q"));
    pressKey(keyboard, QStringLiteral("OK"));
    QCOMPARE(m_menu->committed.size(), 1);
}

// While the page a row opens is being built (its builder waits for the unit), the header keeps
// the title of the page whose rows are shown; the row's title comes with its page.
void TestQVantelMenu::titleComesWithItsPage()
{
    QVantelMenuHeader *header = m_menu->header();
    header->setModified(true);
    QString titleWhileBuilding;
    bool backWhileBuilding = true;
    m_menu->whileBuilding = [&] {
        titleWhileBuilding = header->titleLabel()->text();
        backWhileBuilding = !header->backIcon()->isHidden();
    };
    tap(m_menu->currentPage(), row(8)->titleLabel());
    QCOMPARE(titleWhileBuilding, QStringLiteral("Entry 1"));
    QVERIFY(!backWhileBuilding);
    QCOMPARE(header->titleLabel()->text(), QStringLiteral("Entry 1 > Row 8"));
    QVERIFY(!header->backIcon()->isHidden());
    QVERIFY(!header->isModified());
    QCOMPARE(m_menu->currentPage()->id(), 200);
}

void TestQVantelMenu::pageBuiltForAStackThatChangedIsDropped_data()
{
    QTest::addColumn<bool>("otherEntry"); // else Back
    QTest::newRow("another entry") << true;
    QTest::newRow("back") << false;
}

// The menu moved while the page was being built: the page belongs nowhere and is dropped, with
// the title of the row that opened it.
void TestQVantelMenu::pageBuiltForAStackThatChangedIsDropped()
{
    QFETCH(bool, otherEntry);
    tap(m_menu->currentPage(), row(8)->titleLabel());
    QCOMPARE(m_menu->pageStack()->count(), 2);
    // Row 8 of page 200's own page: a page opened from there is built over two pages.
    auto *deeper = new QVantelMenuItem(8, QVantelMenuItem::Navigation, m_menu->currentPage());
    deeper->titleLabel()->setText(QStringLiteral("Deeper"));
    m_menu->currentPage()->addItem(deeper);
    QPointer<QVantelMenuItems> built;
    m_menu->whileBuilding = [&] {
        built = m_menu->findChildren<QVantelMenuItems *>().constLast();
        if (otherEntry)
            m_menu->showEntry(2, 0);
        else
            m_menu->backClicked();
    };
    m_menu->itemClicked(deeper);
    m_menu->whileBuilding = nullptr;

    QCOMPARE(m_menu->pageStack()->count(), 1);
    QCOMPARE(m_menu->currentPage()->id(), 100);
    QCOMPARE(m_menu->header()->titleLabel()->text(),
             otherEntry ? QStringLiteral("Entry 2") : QStringLiteral("Entry 1"));
    QVERIFY(m_menu->header()->backIcon()->isHidden());
    QTRY_VERIFY(built.isNull());

    // The next page opened over the stack as it is now is shown with its title.
    tap(m_menu->currentPage(), row(8)->titleLabel());
    QCOMPARE(m_menu->pageStack()->count(), 2);
    QVERIFY(m_menu->header()->titleLabel()->text().endsWith(QStringLiteral(" > Row 8")));
}

// Popups belong to the menu: hidden (left for another page of the front panel), the menu closes
// them unanswered and opens none until it is shown again.
void TestQVantelMenu::popupsCloseWhenTheMenuIsLeft()
{
    m_menu->showMessage(QStringLiteral("Cannot apply changes"), 0);
    QPointer<QVantelMessage> message = m_menu->message();
    QPointer<QVantelMessage> question = m_menu->confirmAction(QStringLiteral("Restart?"), row(11));
    QPointer<QVantelVirtual> keyboard = m_menu->showKeyboard(1, row(3), true);
    QVERIFY(message && question && keyboard);
    QVERIFY(message->isVisible() && question->isVisible() && keyboard->isVisible());

    m_menu->hide();
    QVERIFY(!m_menu->message());
    QTRY_VERIFY(message.isNull() && question.isNull() && keyboard.isNull());
    QVERIFY(m_menu->committed.isEmpty());
    QVERIFY(!m_menu->calls.contains(QStringLiteral("keyboardAccepted 3")));
    QCOMPARE(QWidget::mouseGrabber(), nullptr);

    // Nothing opens while the menu is away.
    m_menu->showMessage(QStringLiteral("Failed to apply changes!"), 0);
    QVERIFY(!m_menu->message());
    QVERIFY(!m_menu->confirmAction(QStringLiteral("Restart?"), row(11)));

    m_menu->show();
    m_menu->showMessage(QStringLiteral("Applying changes..."), 0);
    QVERIFY(m_menu->message() && m_menu->message()->isVisible());
    m_menu->closeMessage();
}

QTEST_MAIN(TestQVantelMenu)
#include "tst_qvantelmenu.moc"
