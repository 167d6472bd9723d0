#include "widgets/qvantelbutton.h"
#include "widgets/qvantellazyicon.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

// An icon read when first needed answers as the icon read at once, and reads nothing before.
class TestQVantelLazyIcon : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Not square and partly transparent, so scaling, alignment and the disabled look show.
        QImage image(40, 24, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.fillRect(4, 2, 30, 18, QColor(200, 30, 30));
        painter.fillRect(10, 6, 12, 8, QColor(20, 160, 240, 128));
        painter.end();
        m_path = m_dir.filePath(QStringLiteral("icon.png"));
        QVERIFY(image.save(m_path));
    }

    void answersAsTheIconReadAtOnce()
    {
        auto *engine = new QVantelLazyIcon(m_path);
        const QIcon lazy(engine);
        const QIcon eager(m_path);
        QVERIFY(!engine->isLoaded());
        QVERIFY(!lazy.isNull());
        QVERIFY(engine->isLoaded());

        for (const QSize size : {QSize(40, 24), QSize(48, 48), QSize(16, 16), QSize(100, 10)}) {
            for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
                QCOMPARE(lazy.actualSize(size, mode), eager.actualSize(size, mode));
                QCOMPARE(lazy.pixmap(size, mode).toImage(), eager.pixmap(size, mode).toImage());
            }
        }
        QCOMPARE(lazy.availableSizes(), eager.availableSizes());

        // Painted by a front-panel button, enabled and disabled.
        for (const bool enabled : {true, false}) {
            QVantelButton a;
            QVantelButton b;
            for (QVantelButton *button : {&a, &b}) {
                button->resize(98, 66);
                button->setIconSize(QSize(48, 48));
                button->setEnabled(enabled);
            }
            a.setIcon(QVantelLazyIcon::icon(m_path));
            b.setIcon(QIcon(m_path));
            QCOMPARE(a.grab().toImage(), b.grab().toImage());
        }
    }

    void missingFileAsTheIconReadAtOnce()
    {
        const QString missing = m_dir.filePath(QStringLiteral("missing.png"));
        const QIcon lazy = QVantelLazyIcon::icon(missing);
        const QIcon eager(missing);
        QCOMPARE(lazy.isNull(), eager.isNull());
        QCOMPARE(lazy.pixmap(QSize(48, 48)).isNull(), eager.pixmap(QSize(48, 48)).isNull());
    }
};

QTEST_MAIN(TestQVantelLazyIcon)
#include "tst_qvantellazyicon.moc"
