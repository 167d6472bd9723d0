#include "widgets/qvantelbutton.h"
#include "widgets/qvantelconninfo.h"
#include "widgets/qvantelconnpanel.h"
#include "widgets/qvantellinkstatecolour.h"
#include "widgets/qvantelswitch.h"

#include "model/firmwareversion.h"

#include <QLabel>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

// The connection tile's colours, icon and clicks; the connection panel's titles, link-2
// controls by routing code and firmware, remembered addresses, and the signals of its controls.
class TestQVantelConnPanel : public QObject
{
    Q_OBJECT

private:
    static QString linkOneTitle(int mode, int otherMode)
    {
        QVantelConnPanel panel(1);
        panel.setCodecMode(mode, otherMode);
        return panel.connInfo()->titleLabel()->text();
    }

private Q_SLOTS:
    void cleanup() { firmwareVersion = kFirmwareVersionUnknown; }

    void tileStateColours_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QColor>("fill");
        QTest::addColumn<QString>("icon");
        QTest::newRow("0 idle") << 0 << QColor(127, 127, 127) << QString();
        QTest::newRow("1") << 1 << QColor(170, 255, 170) << QString();
        QTest::newRow("2 call") << 2 << QColor(Qt::green) << QStringLiteral("phone-call");
        QTest::newRow("3") << 3 << QColor(Qt::yellow) << QStringLiteral("phone-hangup");
        QTest::newRow("4") << 4 << QColor(Qt::red) << QStringLiteral("phone-hangup");
        QTest::newRow("5") << 5 << QColor(240, 101, 101) << QStringLiteral("phone-hangup");
        QTest::newRow("6") << 6 << QColor(234, 177, 102) << QString();
        QTest::newRow("7") << 7 << QColor(127, 127, 127) << QString();
        QTest::newRow("-1") << -1 << QColor(127, 127, 127) << QString();
    }

    void tileStateColours()
    {
        QFETCH(int, state);
        QFETCH(QColor, fill);
        QFETCH(QString, icon);

        QVantelConnInfo tile;
        tile.resize(324, 128);
        // Start from another state so that every row is a real change.
        tile.setState(state == 4 ? 2 : 4);
        tile.setState(state);
        QCOMPARE(tile.state(), state);
        QCOMPARE(QVantel::linkStateColour(state), fill);
        QCOMPARE(tile.palette().color(QPalette::Window), fill);
        QCOMPARE(tile.palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(tile.iconLabel()->isHidden(), icon.isEmpty());
        QCOMPARE(tile.iconLabel()->geometry(), QRect(5, 5, 50, 50));

        // The fill is what the operator reads the state from: check the drawn colour inside
        // the border, away from the labels and the icon.
        const QImage picture = tile.grab().toImage();
        QCOMPARE(picture.pixelColor(300, 64), fill);
        if (!icon.isEmpty()) {
            const QImage expected
                = QPixmap(QStringLiteral(":/images/%1.png").arg(icon))
                      .scaled(50, 50, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .toImage();
            QCOMPARE(tile.iconLabel()->pixmap().toImage(), expected);
        }
    }

    void tileStartsGreyWithFrameDefaults()
    {
        QVantelConnInfo tile;
        QCOMPARE(tile.state(), 0);
        QCOMPARE(tile.palette().color(QPalette::Window), QColor(127, 127, 127));
        QCOMPARE(tile.titleLabel()->text(), QStringLiteral("Program"));
        QCOMPARE(tile.titleLabel()->font().pixelSize(), 22);
        QCOMPARE(tile.titleLabel()->font().weight(), QFont::Bold);
        QCOMPARE(tile.addressLabel()->font().pixelSize(), 14);
        QVERIFY(tile.iconLabel()->isHidden());

        QCOMPARE(tile.borderWidth(), 1);
        tile.setBorderWidth(0);
        QCOMPARE(tile.borderWidth(), 1);
        tile.setBorderWidth(4);
        QCOMPARE(tile.borderWidth(), 4);
        QCOMPARE(tile.radius(), 15.0);
        tile.setRadius(-1);
        QCOMPARE(tile.radius(), 15.0);
        tile.setRadius(0);
        QCOMPARE(tile.radius(), 0.0);
    }

    void tileClicksOnRelease()
    {
        QVantelConnInfo tile;
        tile.resize(324, 128);
        tile.stateLabel()->setText(QStringLiteral("Ethernet / Opus"));
        tile.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tile));
        QSignalSpy clicked(&tile, &QVantelConnInfo::clicked);

        QTest::mousePress(&tile, Qt::LeftButton, {}, QPoint(300, 120));
        QCOMPARE(clicked.count(), 0);
        QTest::mouseRelease(&tile, Qt::LeftButton, {}, QPoint(300, 120));
        QCOMPARE(clicked.count(), 1);

        // A touch on one of the labels is a touch of the tile.
        QLabel *label = tile.stateLabel();
        QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
        QCOMPARE(clicked.count(), 2);

        // Any button counts.
        QTest::mouseClick(&tile, Qt::RightButton, {}, QPoint(20, 100));
        QCOMPARE(clicked.count(), 3);

        // Pressed on the tile, released beside it: no click.
        QTest::mousePress(&tile, Qt::LeftButton, {}, QPoint(300, 120));
        QTest::mouseRelease(&tile, Qt::LeftButton, {}, QPoint(400, 120));
        QCOMPARE(clicked.count(), 3);
    }

    void panelLayout()
    {
        QVantelConnPanel one(1);
        QVantelConnPanel two(2);
        QCOMPARE(one.size(), QSize(324, 312));
        QCOMPARE(one.link(), 1);
        QCOMPARE(two.link(), 2);
        QCOMPARE(one.codecMode(), -1);
        QCOMPARE(one.otherMode(), -1);
        QCOMPARE(one.stateLabel()->text(), QStringLiteral("Idle"));
        QCOMPARE(one.stateLabel()->geometry(), QRect(0, 0, 324, 22));
        QCOMPARE(one.connInfo()->geometry(), QRect(0, 22, 324, 128));
        QCOMPARE(one.connInfo()->titleLabel()->text(), QStringLiteral("Program"));
        QCOMPARE(two.connInfo()->titleLabel()->text(), QStringLiteral("Coordination"));
        QCOMPARE(one.bookButton()->geometry(), QRect(0, 165, 98, 66));
        QCOMPARE(one.historyButton()->geometry(), QRect(113, 165, 98, 66));
        QCOMPARE(one.dialButton()->geometry(), QRect(226, 165, 98, 66));
        QCOMPARE(one.codingButton()->geometry(), QRect(56, 246, 98, 66));
        QCOMPARE(one.autoRedialLabel()->geometry(), QRect(162, 246, 113, 32));
        QCOMPARE(one.autoRedialLabel()->text(), QStringLiteral("Auto redial"));
        QCOMPARE(one.autoRedialSwitch()->geometry(), QRect(188, 278, 60, 34));
        for (QVantelButton *button :
             {one.bookButton(), one.historyButton(), one.dialButton(), one.codingButton()}) {
            QCOMPARE(button->borderWidth(), 4);
            QVERIFY(!button->icon().isNull());
        }
        // Any other link number is the coordination link.
        QCOMPARE(QVantelConnPanel(7).link(), 2);
        // Remote addresses and states come from the device: shown as plain text, never markup.
        for (const QLabel *label : {one.stateLabel(),
                                    one.connInfo()->titleLabel(),
                                    one.connInfo()->stateLabel(),
                                    one.connInfo()->addressLabel()})
            QCOMPARE(label->textFormat(), Qt::PlainText);
    }

    void linkOneTitles()
    {
        QCOMPARE(linkOneTitle(1, 0), QStringLiteral("Program"));
        QCOMPARE(linkOneTitle(16, 1), QStringLiteral("Program"));
        QCOMPARE(linkOneTitle(8, 0), QStringLiteral("Program"));
        for (int mode : {2, 4, 32, 64}) {
            QCOMPARE(linkOneTitle(mode, 0), QStringLiteral("Program / Coord"));
            QCOMPARE(linkOneTitle(mode, 1), QStringLiteral("Prog. L/R"));
        }
        // Link 1 keeps all its controls in every mode.
        QVantelConnPanel panel(1);
        panel.setCodecMode(1, 0);
        QVERIFY(!panel.historyButton()->isHidden());
        QVERIFY(!panel.bookButton()->isHidden());
        QVERIFY(!panel.codingButton()->isHidden());
    }

    void linkTwoControls_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<quint32>("firmware");
        QTest::addColumn<bool>("inUse");
        QTest::addColumn<bool>("book");
        QTest::addColumn<bool>("coding");

        const quint32 old = 0x11005;     // 1.16.5
        const quint32 current = 0x11100; // 1.17.0
        QTest::newRow("1 single") << 1 << current << false << false << false;
        QTest::newRow("2 single stereo") << 2 << current << false << false << false;
        QTest::newRow("4") << 4 << current << false << false << false;
        QTest::newRow("16 double") << 16 << old << true << true << true;
        QTest::newRow("32 double") << 32 << old << true << true << true;
        QTest::newRow("8 coordination line, 1.16") << 8 << old << true << false << false;
        QTest::newRow("64 coordination line, 1.16") << 64 << old << true << false << false;
        QTest::newRow("8 coordination line, 1.17") << 8 << current << true << true << false;
        QTest::newRow("64 coordination line, 1.17") << 64 << current << true << true << false;
        QTest::newRow("64 unknown firmware")
            << 64 << quint32(kFirmwareVersionUnknown) << true << true << false;
    }

    void linkTwoControls()
    {
        QFETCH(int, mode);
        QFETCH(quint32, firmware);
        QFETCH(bool, inUse);
        QFETCH(bool, book);
        QFETCH(bool, coding);

        firmwareVersion = firmware;
        QVantelConnPanel panel(2);
        panel.setRemoteAddress(QStringLiteral("studio@example.net"), 0);
        panel.setLinkState(2);
        panel.setCodecMode(mode, 0);

        QCOMPARE(!panel.historyButton()->isHidden(), inUse);
        QCOMPARE(!panel.dialButton()->isHidden(), inUse);
        QCOMPARE(!panel.autoRedialLabel()->isHidden(), inUse);
        QCOMPARE(!panel.autoRedialSwitch()->isHidden(), inUse);
        QCOMPARE(!panel.bookButton()->isHidden(), book);
        QCOMPARE(!panel.codingButton()->isHidden(), coding);
        QVantelConnInfo *tile = panel.connInfo();
        QCOMPARE(tile->titleLabel()->text(), inUse ? QStringLiteral("Coordination") : QString());
        if (inUse) {
            QCOMPARE(tile->state(), 2);
            QCOMPARE(tile->addressLabel()->text(), QStringLiteral("studio@example.net"));
            QCOMPARE(tile->stateLabel()->text(), QString());
        } else {
            QCOMPARE(tile->state(), 0);
            QCOMPARE(tile->addressLabel()->text(), QString());
            QCOMPARE(tile->stateLabel()->text(),
                     QStringLiteral("No additional connection\nin single codec mode"));
        }
        // The remembered address survives a link that is not in use.
        QCOMPARE(panel.remoteAddress(0), QStringLiteral("studio@example.net"));
    }

    void linkTwoComesBackIntoUse()
    {
        QVantelConnPanel panel(2);
        panel.setCodecMode(1, 0);
        QVERIFY(panel.dialButton()->isHidden());
        panel.setCodecMode(16, 0);
        for (QWidget *control : std::initializer_list<QWidget *>{panel.bookButton(),
                                                                 panel.historyButton(),
                                                                 panel.dialButton(),
                                                                 panel.codingButton(),
                                                                 panel.autoRedialLabel(),
                                                                 panel.autoRedialSwitch()})
            QVERIFY2(!control->isHidden(), qPrintable(control->objectName()));
        QCOMPARE(panel.connInfo()->titleLabel()->text(), QStringLiteral("Coordination"));
    }

    void sameModesDoNothing()
    {
        firmwareVersion = 0x11100;
        QVantelConnPanel panel(2);
        panel.setCodecMode(1, 0);
        QCOMPARE(panel.codecMode(), 1);
        QCOMPARE(panel.otherMode(), 0);
        // Whatever the page writes after the arrangement stays on a repeat of the same pair.
        panel.connInfo()->stateLabel()->setText(QStringLiteral("Ethernet / G.722"));
        panel.setRemoteAddress(QStringLiteral("10.0.0.2"), 0);
        panel.setLinkState(3);
        panel.setCodecMode(1, 0);
        QCOMPARE(panel.connInfo()->stateLabel()->text(), QStringLiteral("Ethernet / G.722"));
        QCOMPARE(panel.connInfo()->addressLabel()->text(), QStringLiteral("10.0.0.2"));
        QCOMPARE(panel.connInfo()->state(), 3);
        // Another other-mode is a change.
        panel.setCodecMode(1, 1);
        QCOMPARE(panel.connInfo()->state(), 0);
    }

    void newFirmwareRearrangesTheSameModes()
    {
        firmwareVersion = 0x11100;
        QVantelConnPanel panel(2);
        panel.setCodecMode(64, 0);
        QVERIFY(!panel.bookButton()->isHidden());
        // Another device, older firmware, same routing: no address book on its coordination line.
        firmwareVersion = 0x11000;
        panel.setCodecMode(64, 0);
        QVERIFY(panel.bookButton()->isHidden());
    }

    void remoteAddresses()
    {
        QVantelConnPanel panel(1);
        panel.setRemoteAddress(QStringLiteral("sip:a@example.net"), 0);
        panel.setRemoteAddress(QStringLiteral("0301234567"), 1);
        panel.setRemoteAddress(QStringLiteral("+49301234"), 2);
        QCOMPARE(panel.connInfo()->addressLabel()->text(), QStringLiteral("+49301234"));

        // Kinds outside 0..2 show the text and remember nothing.
        for (int kind : {5, -1, 3}) {
            panel.setRemoteAddress(QStringLiteral("shown only"), kind);
            QCOMPARE(panel.connInfo()->addressLabel()->text(), QStringLiteral("shown only"));
            QCOMPARE(panel.remoteAddress(0), QStringLiteral("sip:a@example.net"));
            QCOMPARE(panel.remoteAddress(1), QStringLiteral("0301234567"));
            QCOMPARE(panel.remoteAddress(2), QStringLiteral("+49301234"));
            QCOMPARE(panel.remoteAddress(kind), QString());
        }

        panel.stateLabel()->setText(QStringLiteral("Call released"));
        panel.reset();
        QCOMPARE(panel.stateLabel()->text(), QStringLiteral("Idle"));
        QCOMPARE(panel.connInfo()->addressLabel()->text(), QString());
        for (int kind = 0; kind < 3; ++kind)
            QCOMPARE(panel.remoteAddress(kind), QString());
    }

    void linkStateReachesTheTile()
    {
        QVantelConnPanel panel(1);
        panel.setLinkState(2);
        QCOMPARE(panel.connInfo()->state(), 2);
        QCOMPARE(panel.connInfo()->palette().color(QPalette::Window), QColor(Qt::green));
        panel.setLinkState(0);
        QCOMPARE(panel.connInfo()->palette().color(QPalette::Window), QColor(127, 127, 127));
    }

    void clicksBecomeSignals_data()
    {
        QTest::addColumn<int>("link");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QByteArray>("signal");
        QTest::addColumn<int>("page");

        const QByteArray page = QByteArrayLiteral("pageActivated");
        for (int link : {1, 2}) {
            const QByteArray l = QByteArray::number(link);
            QTest::newRow(("tile " + l).constData())
                << link << "connInfo" << QByteArray("panelClicked") << -1;
            QTest::newRow(("history " + l).constData())
                << link << "historyButton" << QByteArray("histClicked") << -1;
            QTest::newRow(("dial " + l).constData())
                << link << "dialButton" << QByteArray("dialClicked") << -1;
            QTest::newRow(("auto redial " + l).constData())
                << link << "autoRedialSwitch" << QByteArray("autoRedialClicked") << -1;
            QTest::newRow(("book " + l).constData())
                << link << "bookButton" << page << (link == 1 ? 19 : 20);
            QTest::newRow(("coding " + l).constData())
                << link << "codingButton" << page << (link == 1 ? 14 : 15);
        }
    }

    void clicksBecomeSignals()
    {
        QFETCH(int, link);
        QFETCH(QString, control);
        QFETCH(QByteArray, signal);
        QFETCH(int, page);

        QVantelConnPanel panel(link);
        panel.setCodecMode(16, 0);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));

        const char *const names[]
            = {"panelClicked", "dialClicked", "histClicked", "autoRedialClicked", "pageActivated"};
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (const char *name : names) {
            const QByteArray signature
                = QByteArray("2") + name
                  + (qstrcmp(name, "pageActivated") == 0 ? "(QVantel::Page)" : "()");
            spies.push_back(std::make_unique<QSignalSpy>(&panel, signature.constData()));
        }

        auto *target = panel.findChild<QWidget *>(control);
        QVERIFY(target);
        QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());

        for (std::size_t i = 0; i < spies.size(); ++i)
            QCOMPARE(spies[i]->count(), names[i] == signal ? 1 : 0);
        if (page >= 0) {
            QCOMPARE(spies.back()->first().first().value<QVantel::Page>(), QVantel::Page(page));
        }
        if (control == QLatin1String("autoRedialSwitch"))
            QVERIFY(panel.autoRedialSwitch()->isChecked());
    }
};

QTEST_MAIN(TestQVantelConnPanel)
#include "tst_qvantelconnpanel.moc"
