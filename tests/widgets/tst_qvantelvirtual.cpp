#include "widgets/qvantelbutton.h"
#include "widgets/qvantelvirtual.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList visibleCaptions(const QVantelVirtual &keyboard)
{
    QStringList captions;
    for (int i = 0; i < QVantelVirtual::kKeyCount; ++i) {
        QVantelButton *key = keyboard.key(i);
        if (!key->isHidden())
            captions.append(key->text());
    }
    return captions;
}

void press(QVantelVirtual &keyboard, int index)
{
    QTest::mouseClick(keyboard.key(index), Qt::LeftButton);
}

// Presses the key whose caption is `caption` on the page shown.
void type(QVantelVirtual &keyboard, const QString &caption)
{
    for (int i = 0; i < QVantelVirtual::kKeyCount; ++i) {
        QVantelButton *key = keyboard.key(i);
        if (!key->isHidden() && key->text() == caption) {
            press(keyboard, i);
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no key ") + caption));
}

} // namespace

class TestQVantelVirtual : public QObject
{
    Q_OBJECT

private slots:
    void numericPadAndWidening();
    void typingThroughTheKeys();
    void layoutSwitching();
    void okAndCancel_data();
    void okAndCancel();
    void pressOutsideTheKeysIsIgnored();
};

void TestQVantelVirtual::numericPadAndWidening()
{
    QWidget owner;
    QVantelVirtual keyboard(0, &owner);
    QCOMPARE(keyboard.size(), QSize(800, 390));
    const QStringList pad = {"@", "1", "2", "3", ".", "+",         ":",      "4",   "5", "6", "*",
                             "#", ",", "7", "8", "9", "Backspace", "Cancel", "Abc", "0", "OK"};
    QCOMPARE(visibleCaptions(keyboard), pad);
    QCOMPARE(keyboard.key(30)->geometry(), QRect(488, 310, 64, 64));

    type(keyboard, QStringLiteral("Abc"));
    QCOMPARE(keyboard.mode(), 1);
    QCOMPARE(keyboard.layout(), 0);
    QCOMPARE(keyboard.key(30)->geometry(), QRect(248, 310, 384, 64));
    QCOMPARE(keyboard.key(0)->text(), QStringLiteral("q"));
    QCOMPARE(keyboard.key(26)->text(), QStringLiteral("Caps"));
    QCOMPARE(visibleCaptions(keyboard).size(), 32);
}

void TestQVantelVirtual::typingThroughTheKeys()
{
    QWidget owner;
    QVantelVirtual keyboard(1, &owner);
    keyboard.show();
    QVERIFY(QTest::qWaitForWindowExposed(&keyboard));
    keyboard.lineEdit()->setText(QStringLiteral("ab"));
    keyboard.lineEdit()->end(false);

    type(keyboard, QStringLiteral("c"));
    type(keyboard, QStringLiteral(" "));
    type(keyboard, QStringLiteral("Caps"));
    type(keyboard, QStringLiteral("D"));
    type(keyboard, QStringLiteral("12!?"));
    type(keyboard, QStringLiteral("@"));
    QCOMPARE(keyboard.lineEdit()->text(), QStringLiteral("abc D@"));
    type(keyboard, QStringLiteral("Backspace"));
    QCOMPARE(keyboard.lineEdit()->text(), QStringLiteral("abc D"));

    // Typing replaces a selection.
    keyboard.lineEdit()->selectAll();
    type(keyboard, QStringLiteral("7"));
    QCOMPARE(keyboard.lineEdit()->text(), QStringLiteral("7"));
    keyboard.close();
}

void TestQVantelVirtual::layoutSwitching()
{
    QWidget owner;
    QVantelVirtual keyboard(1, &owner);
    struct Step
    {
        const char *key;
        int layout;
        const char *key0;
        const char *key10;
        const char *key26;
    };
    const Step steps[] = {
        {"Caps", 1, "Q", "A", "Caps"},
        {"Caps", 0, "q", "a", "Caps"},
        {"12!?", 2, "1", "@", "1 / 2"},
        {"1 / 2", 3, "1", "#", "2 / 2"},
        {"2 / 2", 2, "1", "@", "1 / 2"},
        {"Abc", 0, "q", "a", "Caps"},
        {"12!?", 2, "1", "@", "1 / 2"},
        {"1 / 2", 3, "1", "#", "2 / 2"},
        {"Abc", 0, "q", "a", "Caps"},
    };
    for (const Step &step : steps) {
        type(keyboard, QLatin1String(step.key));
        QCOMPARE(keyboard.layout(), step.layout);
        QCOMPARE(keyboard.key(0)->text(), QLatin1String(step.key0));
        QCOMPARE(keyboard.key(10)->text(), QLatin1String(step.key10));
        QCOMPARE(keyboard.key(26)->text(), QLatin1String(step.key26));
    }
    keyboard.selectLayout(7);
    QCOMPARE(keyboard.layout(), 0);
    keyboard.selectLayout(3);
    QCOMPARE(keyboard.key(24)->text(), QStringLiteral("\""));
    QCOMPARE(keyboard.key(19)->text(), QStringLiteral("|"));
}

void TestQVantelVirtual::okAndCancel_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("OK") << 31 << false;
    QTest::newRow("Cancel") << 28 << true;
}

void TestQVantelVirtual::okAndCancel()
{
    QFETCH(int, key);
    QFETCH(bool, cancelled);
    QWidget owner;
    QPointer<QVantelVirtual> keyboard = new QVantelVirtual(1, &owner);
    int closed = 0;
    bool seenCancelled = false;
    QString seenText;
    connect(keyboard, &QVantelPopup::popupClosed, this, [&] {
        ++closed;
        seenCancelled = keyboard->isCancelled();
        seenText = keyboard->lineEdit()->text();
    });
    keyboard->show();
    type(*keyboard, QStringLiteral("x"));
    press(*keyboard, key);
    QCOMPARE(closed, 1);
    QCOMPARE(seenCancelled, cancelled);
    QCOMPARE(seenText, QStringLiteral("x"));
    QTRY_VERIFY(keyboard.isNull());
}

void TestQVantelVirtual::pressOutsideTheKeysIsIgnored()
{
    QWidget owner;
    QVantelVirtual keyboard(1, &owner);
    keyboard.lineEdit()->setText(QStringLiteral("keep"));
    QSignalSpy closed(&keyboard, &QVantelPopup::popupClosed);
    for (int index : {-1, QVantelVirtual::kKeyCount, 1000}) {
        keyboard.buttonClicked(index);
        QCOMPARE(keyboard.lineEdit()->text(), QStringLiteral("keep"));
        QVERIFY(keyboard.isCancelled());
    }
    QCOMPARE(closed.count(), 0);
}

QTEST_MAIN(TestQVantelVirtual)
#include "tst_qvantelvirtual.moc"
