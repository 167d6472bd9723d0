#include "widgets/qvantelbutton.h"
#include "widgets/qvantelimage.h"
#include "widgets/qvantellazyicon.h"
#include "widgets/qvantelswitch.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <QTest>

#include <link.h>

#include <cstring>

namespace {

// Whether any of the toolkit's image plug-ins is loaded into this process.
bool imagePluginLoaded()
{
    bool found = false;
    dl_iterate_phdr(
        [](dl_phdr_info *info, size_t, void *data) {
            if (info->dlpi_name && std::strstr(info->dlpi_name, "/imageformats/"))
                *static_cast<bool *>(data) = true;
            return 0;
        },
        &found);
    return found;
}

} // namespace

// An icon read when first needed answers as the icon read at once, and reads nothing before; the
// program's own images are read as QPixmap reads them, without the image plug-ins.
class TestQVantelLazyIcon : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

private Q_SLOTS:
    void initTestCase()
    {
        // Before anything else in this process reads or writes an image: the program's own images
        // load none of the image plug-ins.
        QVERIFY(!imagePluginLoaded());
        QVantelSwitch toggle;
        toggle.setCheckable(true);
        toggle.resize(60, 30);
        const QImage off = toggle.grab().toImage();
        toggle.setChecked(true);
        const QImage on = toggle.grab().toImage();
        QCOMPARE(on.pixelColor(30, 15).alpha(), 255);
        QVERIFY(on != off);
        QVERIFY(!QVantelLazyIcon::icon(QStringLiteral(":/images/home.png")).pixmap(48).isNull());
        QVERIFY(!imagePluginLoaded());

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

    void madeByAFunctionWhenFirstNeeded()
    {
        int made = 0;
        const QIcon lazy = QVantelLazyIcon::icon([this, &made] {
            ++made;
            return QIcon(m_path);
        });
        const QIcon copy = lazy;
        QCOMPARE(made, 0);
        QCOMPARE(lazy.pixmap(QSize(40, 24)).toImage(),
                 QIcon(m_path).pixmap(QSize(40, 24)).toImage());
        QCOMPARE(copy.availableSizes(), QIcon(m_path).availableSizes());
        QCOMPARE(made, 1);
        QVERIFY(QVantelLazyIcon::icon(std::function<QIcon()>()).isNull());
    }

    // The program's own images read as QPixmap reads them, whatever the file holds.
    void pixmapAsQPixmapReadsIt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QFile png(m_path);
        QVERIFY(png.open(QIODevice::ReadOnly));
        const QByteArray image = png.readAll();
        QTest::newRow("png") << QStringLiteral("a.png") << image;
        QTest::newRow("upper-case suffix") << QStringLiteral("b.PNG") << image;
        QTest::newRow("no suffix") << QStringLiteral("c") << image;
        QTest::newRow("not an image")
            << QStringLiteral("d.png") << QByteArray("not a picture at all");
        QTest::newRow("cut short") << QStringLiteral("e.png") << image.left(image.size() / 2);
        QTest::newRow("empty") << QStringLiteral("f.png") << QByteArray();
        QTest::newRow("missing") << QStringLiteral("g.png") << QByteArray("-");
    }

    void pixmapAsQPixmapReadsIt()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        const QString path = m_dir.filePath(name);
        if (content != "-") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        const QPixmap ours = qvantelPixmap(path);
        const QPixmap theirs(path);
        QCOMPARE(ours.isNull(), theirs.isNull());
        QCOMPARE(ours.toImage(), theirs.toImage());
        // Read again from the cache.
        QCOMPARE(qvantelPixmap(path).toImage(), theirs.toImage());
        QPixmapCache::clear();
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
