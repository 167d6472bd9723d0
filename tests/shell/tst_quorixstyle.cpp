#include "shell/quorixstyle.h"

#include <QApplication>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTest>
#include <QWidget>

#include <memory>

// The program's style looks exactly as the style it stands over, the menu bar's extension arrow
// included, and an arrow made late never reaches a style or widget that has gone.
class TestQuorixStyle : public QObject
{
    Q_OBJECT

private:
    static QImage image(const QIcon &icon) { return icon.pixmap(QSize(16, 16)).toImage(); }

private Q_SLOTS:
    void answersAsTheStyleBelow_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("extension arrow") << int(QStyle::SP_ToolBarHorizontalExtensionButton);
        QTest::newRow("vertical arrow") << int(QStyle::SP_ToolBarVerticalExtensionButton);
        QTest::newRow("message box") << int(QStyle::SP_MessageBoxWarning);
    }

    void answersAsTheStyleBelow()
    {
        QFETCH(int, which);
        const auto standard = QStyle::StandardPixmap(which);
        const QString name = QApplication::style()->name();
        QuorixStyle ours(name);
        const std::unique_ptr<QStyle> theirs(QStyleFactory::create(name));
        QVERIFY(theirs);
        QWidget asker;

        QCOMPARE(image(ours.standardIcon(standard)), image(theirs->standardIcon(standard)));
        QCOMPARE(image(ours.standardIcon(standard, nullptr, &asker)),
                 image(theirs->standardIcon(standard, nullptr, &asker)));
        for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
            QStyleOption option;
            option.direction = direction;
            QCOMPARE(image(ours.standardIcon(standard, &option)),
                     image(theirs->standardIcon(standard, &option)));
        }
    }

    void lateArrowOutlivesItsAskers()
    {
        const auto arrow = QStyle::SP_ToolBarHorizontalExtensionButton;
        QIcon fromGoneStyle;
        {
            QuorixStyle style(QApplication::style()->name());
            fromGoneStyle = style.standardIcon(arrow);
        }
        QVERIFY(fromGoneStyle.pixmap(QSize(16, 16)).isNull());

        QuorixStyle style(QApplication::style()->name());
        auto asker = std::make_unique<QWidget>();
        const QIcon fromGoneWidget = style.standardIcon(arrow, nullptr, asker.get());
        asker.reset();
        QVERIFY(fromGoneWidget.pixmap(QSize(16, 16)).isNull());
    }
};

QTEST_MAIN(TestQuorixStyle)
#include "tst_quorixstyle.moc"
