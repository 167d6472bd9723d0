#include "dialogscript.h"

#include "shell/briskdiscovery.h"
#include "shell/briskdiscoverydialog.h"
#include "shell/briskdiscoveryview.h"
#include "shell/configuration.h"
#include "shell/deviceinfodialog.h"
#include "shell/qstandarditemex.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QNetworkDatagram>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

namespace {

const QHostAddress kLoopback(QStringLiteral("127.0.0.1"));

// A stand-in for units answering discovery requests: bound on loopback addresses, each answers
// every request it receives with its own text.
class Responders
{
public:
    void add(const QString &address, const QByteArray &answer)
    {
        auto socket = std::make_unique<QUdpSocket>();
        QVERIFY(socket->bind(QHostAddress(address), m_port));
        m_port = socket->localPort();
        m_units.push_back({std::move(socket), answer});
    }
    quint16 port() const { return m_port; }

    // The first unit receives the requests; all of them answer.
    bool answerRequest()
    {
        QUdpSocket &first = *m_units.front().socket;
        if (!QTest::qWaitFor([&] { return first.hasPendingDatagrams(); }, 5000))
            return false;
        const QNetworkDatagram request = first.receiveDatagram();
        if (request.data() != "TolvDiscoveryRequest;")
            return false;
        for (Unit &unit : m_units)
            unit.socket->writeDatagram(
                unit.answer, request.senderAddress(), quint16(request.senderPort()));
        return true;
    }

private:
    struct Unit
    {
        std::unique_ptr<QUdpSocket> socket;
        QByteArray answer;
    };
    std::vector<Unit> m_units;
    quint16 m_port = 0;
};

QStringList column(const BriskDiscoveryView *view, int col)
{
    QStringList texts;
    const QStandardItemModel *model = view->deviceModel();
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->item(row, col)->text();
    return texts;
}

QPoint cellCentre(const BriskDiscoveryView *view, int row)
{
    return view->visualRect(view->deviceModel()->index(row, 0)).center();
}

} // namespace

class TestBriskDiscoveryDialog : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_file;

    // The first responder only receives the request (port 0 picks a free one); the units answer
    // from 127.0.0.2 / .9 / .10 on the same port.
    std::unique_ptr<Responders> m_units;
    std::unique_ptr<BriskDiscovery> m_discovery;

    void startUnits()
    {
        m_units = std::make_unique<Responders>();
        m_units->add(QStringLiteral("127.0.0.9"),
                     "TolvDiscoveryResponse;device:vantel;serialno:S9;hw_addr:00:11:22:33:44:09;"
                     "sw_version:2.0.1");
        m_units->add(QStringLiteral("127.0.0.10"),
                     "TolvDiscoveryResponse;device:vantel;serialno:S10");
        m_units->add(QStringLiteral("127.0.0.2"),
                     "TolvDiscoveryResponse;device:vantel;serialno:S2");
        m_discovery = std::make_unique<BriskDiscovery>(0, nullptr);
        m_discovery->setRequestTarget(QHostAddress(QStringLiteral("127.0.0.9")), m_units->port());
    }

    void writeKnown(const QString &address, const QString &name)
    {
        Configuration c(m_file);
        c.readConfiguration();
        KnownDevice d;
        d.address = QHostAddress(address);
        d.name = name;
        c.knownDevices.insert(address, d);
        QVERIFY(c.writeConfiguration());
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_file = m_dir.filePath(QStringLiteral("Tallydesk.xml"));
        QFile::remove(m_file);
        startUnits();
    }

    void cleanup()
    {
        m_discovery.reset();
        m_units.reset();
    }

    void filledFromLoopbackUnits()
    {
        writeKnown(QStringLiteral("127.0.0.10"), QStringLiteral("Studio B"));
        writeKnown(QStringLiteral("127.0.0.2"), QString());
        BriskDiscoveryDialog dialog(m_file);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Tolv Device Discovery"));
        dialog.setDiscovery(m_discovery.get());
        QVERIFY(m_units->answerRequest());
        BriskDiscoveryView *view = dialog.view();
        QTRY_COMPARE(view->deviceModel()->rowCount(), 3);

        // Numeric address order; a known name shows, an empty known name shows the model.
        QCOMPARE(column(view, 0), QStringList({"127.0.0.2", "127.0.0.9", "127.0.0.10"}));
        QCOMPARE(column(view, 1), QStringList({"Quorix", "Quorix", "Studio B"}));
        QCOMPARE(column(view, 2), QStringList({"S2", "S9", "S10"}));
        QCOMPARE(column(view, 3).at(1), QStringLiteral("00:11:22:33:44:09"));
        QCOMPARE(column(view, 4).at(1), QStringLiteral("2.0.1"));

        // Other columns sort as text; back on column 0 the order is numeric again, descending.
        view->sortByColumn(2, Qt::AscendingOrder);
        QCOMPARE(column(view, 2), QStringList({"S10", "S2", "S9"}));
        view->sortByColumn(0, Qt::DescendingOrder);
        QCOMPARE(column(view, 0), QStringList({"127.0.0.10", "127.0.0.9", "127.0.0.2"}));
    }

    // A burst of answers rebuilds the table once, not once per answer.
    void burstOfAnswersUpdatesTheTableOnce()
    {
        BriskDiscoveryDialog dialog(m_file);
        dialog.setDiscovery(m_discovery.get());
        QSignalSpy rebuilt(dialog.view()->deviceModel(), &QAbstractItemModel::rowsInserted);
        for (int i = 0; i < 300; ++i)
            m_discovery->parseResponse(QStringLiteral("10.0.%1.%2").arg(i / 256).arg(i % 256),
                                       2382,
                                       QStringLiteral("TolvDiscoveryResponse;device:vantel"));
        QTRY_COMPARE(dialog.view()->deviceModel()->rowCount(), 300);
        QCOMPARE(rebuilt.size(), 1);
    }

    void horizontalScrollBarOnlyWhenColumnsDoNotFit()
    {
        BriskDiscoveryDialog dialog(m_file);
        dialog.setDiscovery(m_discovery.get());
        QVERIFY(m_units->answerRequest());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        BriskDiscoveryView *view = dialog.view();
        QTRY_COMPARE(view->deviceModel()->rowCount(), 3);
        QScrollBar *bar = view->horizontalScrollBar();

        // At its size the dialog shows every column whole, without a bar.
        QVERIFY(view->horizontalHeader()->length() <= view->viewport()->width());
        QVERIFY(!bar->isVisible());

        // Narrower than the columns, the bar appears and scrolls; wide again, it goes.
        dialog.resize(400, dialog.height());
        QTRY_VERIFY(bar->isVisible());
        QVERIFY(bar->maximum() > 0);
        dialog.resize(750, dialog.height());
        QTRY_VERIFY(!bar->isVisible());
    }

    void onlyTheAddressCellShowsTheSelection()
    {
        BriskDiscoveryDialog dialog(m_file);
        dialog.setDiscovery(m_discovery.get());
        QVERIFY(m_units->answerRequest());
        QTRY_COMPARE(dialog.view()->deviceModel()->rowCount(), 3);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        BriskDiscoveryView *view = dialog.view();
        view->selectRow(1);

        // A point inside the cell's fill, left of its centred text.
        const QImage shown = view->viewport()->grab().toImage();
        auto fillOf = [&](int row, int column) {
            const QRect cell = view->visualRect(view->deviceModel()->index(row, column));
            return shown.pixelColor(QPoint(cell.left() + 1, cell.center().y())
                                    * shown.devicePixelRatio());
        };
        const QColor highlight(239, 228, 176);
        QCOMPARE(fillOf(1, 0), highlight);
        QCOMPARE(fillOf(1, 2), QColor(Qt::white));
        QCOMPARE(fillOf(0, 0), QColor(Qt::white));
    }

    void refreshKeyEmptiesAndRefills()
    {
        BriskDiscoveryDialog dialog(m_file);
        dialog.setDiscovery(m_discovery.get());
        QVERIFY(m_units->answerRequest());
        QTRY_COMPARE(dialog.view()->deviceModel()->rowCount(), 3);

        // A name given elsewhere meanwhile shows after the refresh.
        writeKnown(QStringLiteral("127.0.0.9"), QStringLiteral("Desk"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();
        QTest::keySequence(&dialog, QKeySequence::Refresh);
        QCOMPARE(dialog.view()->deviceModel()->rowCount(), 0);
        QVERIFY(m_units->answerRequest());
        QTRY_COMPARE(dialog.view()->deviceModel()->rowCount(), 3);
        QCOMPARE(column(dialog.view(), 1).at(1), QStringLiteral("Desk"));
    }

    void doubleClickPicks()
    {
        BriskDiscoveryDialog dialog(m_file);
        dialog.setDiscovery(m_discovery.get());
        QVERIFY(m_units->answerRequest());
        QTRY_COMPARE(dialog.view()->deviceModel()->rowCount(), 3);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        BriskDiscoveryView *view = dialog.view();

        // Empty space below the rows: nothing happens.
        QTest::mouseDClick(
            view->viewport(), Qt::LeftButton, {}, QPoint(20, view->viewport()->height() - 3));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.selectedDevice().address, QString());
        QCOMPARE(dialog.selectedDevice().model, QStringLiteral("Unknown"));

        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cellCentre(view, 1));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.selectedDevice().address, QStringLiteral("127.0.0.9"));
        QCOMPARE(dialog.selectedDevice().serialNumber, QStringLiteral("S9"));
    }

    void contextMenuAddsUnknownDevice()
    {
        writeKnown(QStringLiteral("127.0.0.2"), QStringLiteral("Known"));
        BriskDiscoveryDialog dialog(m_file);
        dialog.setDiscovery(m_discovery.get());
        QVERIFY(m_units->answerRequest());
        QTRY_COMPARE(dialog.view()->deviceModel()->rowCount(), 3);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        BriskDiscoveryView *view = dialog.view();

        auto actionTexts = [](const QMenu &menu) {
            QStringList texts;
            for (const QAction *a : menu.actions())
                if (!a->isSeparator())
                    texts << a->text();
            return texts;
        };

        // Empty space: only refresh, the selection stays.
        std::unique_ptr<QMenu> menu
            = view->createContextMenu(QPoint(20, view->viewport()->height() - 3));
        QCOMPARE(actionTexts(*menu), QStringList{QStringLiteral("Refresh View")});
        QCOMPARE(menu->actions().first()->shortcut(), QKeySequence(QKeySequence::Refresh));
        QVERIFY(dialog.selectedDevice().address.isEmpty());

        // A known device: no add.
        menu = view->createContextMenu(cellCentre(view, 0));
        QCOMPARE(actionTexts(*menu), QStringList{QStringLiteral("Refresh View")});
        QCOMPARE(dialog.selectedDevice().address, QStringLiteral("127.0.0.2"));

        // An unknown one: add, with the address fixed and the default port offered.
        menu = view->createContextMenu(cellCentre(view, 2));
        QCOMPARE(actionTexts(*menu), QStringList({"Refresh View", "Add to Managed Devices"}));
        DialogScript script;
        QString shownAddress, shownPort, title;
        bool readOnly = false;
        script.then([&](QDialog &shown) {
            auto *form = qobject_cast<DeviceInfoDialog *>(&shown);
            title = form->windowTitle();
            shownAddress = form->addressEdit()->text();
            shownPort = form->portEdit()->text();
            readOnly = form->addressEdit()->isReadOnly();
            form->nameEdit()->setText(QStringLiteral("Outside"));
            return int(QDialog::Accepted);
        });
        menu->actions().last()->trigger();
        QVERIFY(script.allUsed());
        QCOMPARE(title, QStringLiteral("Add Device"));
        QCOMPARE(shownAddress, QStringLiteral("127.0.0.10"));
        QCOMPARE(shownPort, QStringLiteral("7001"));
        QVERIFY(readOnly);
        QCOMPARE(column(view, 1).at(2), QStringLiteral("Outside"));

        Configuration file(m_file);
        QVERIFY(file.readConfiguration());
        QCOMPARE(file.knownDevices.value(QStringLiteral("127.0.0.10")).name,
                 QStringLiteral("Outside"));

        // Now it is known: no second add.
        menu = view->createContextMenu(cellCentre(view, 2));
        QCOMPARE(actionTexts(*menu), QStringList{QStringLiteral("Refresh View")});
    }

    void itemOrder_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::addColumn<bool>("less");
        QTest::newRow(".9 before .10") << "10.0.0.9"
                                       << "10.0.0.10" << true;
        QTest::newRow(".10 after .9") << "10.0.0.10"
                                      << "10.0.0.9" << false;
        QTest::newRow("network before host") << "9.255.255.255"
                                             << "10.0.0.0" << true;
        QTest::newRow("equal") << "10.0.0.1"
                               << "10.0.0.1" << false;
        QTest::newRow("text on the left compares as text") << "b"
                                                           << "a" << false;
        QTest::newRow("text as text") << "a"
                                      << "b" << true;
    }

    void itemOrder()
    {
        QFETCH(QString, left);
        QFETCH(QString, right);
        QFETCH(bool, less);
        const QStandardItemEx l(left);
        const QStandardItemEx r(right);
        QCOMPARE(l < r, less);
    }
};

QTEST_MAIN(TestBriskDiscoveryDialog)
#include "tst_briskdiscoverydialog.moc"
