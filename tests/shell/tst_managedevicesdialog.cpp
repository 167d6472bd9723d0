#include "dialogscript.h"

#include "shell/configuration.h"
#include "shell/deviceinfodialog.h"
#include "shell/managedevicesdialog.h"
#include "shell/managedevicesview.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QtTest>

namespace {

KnownDevice device(const char *address, int port, const char *name, bool tcp = false)
{
    KnownDevice d;
    d.address = QHostAddress(QString::fromLatin1(address));
    d.port = port;
    d.name = QString::fromLatin1(name);
    d.audioLevels = tcp;
    return d;
}

// An answer that fills a DeviceInfoDialog and presses OK.
DialogScript::Answer fillForm(const QString &address,
                              const QString &name,
                              const QString &port,
                              int levels,
                              QString *title = nullptr,
                              bool *addressReadOnly = nullptr)
{
    return [=](QDialog &dialog) {
        auto *form = qobject_cast<DeviceInfoDialog *>(&dialog);
        if (!form)
            return int(QDialog::Rejected);
        if (title)
            *title = form->windowTitle();
        if (addressReadOnly)
            *addressReadOnly = form->addressEdit()->isReadOnly();
        if (!form->addressEdit()->isReadOnly())
            form->addressEdit()->setText(address);
        form->nameEdit()->setText(name);
        form->portEdit()->setText(port);
        form->levelsCombo()->setCurrentIndex(levels);
        return int(QDialog::Accepted);
    };
}

QStringList column(const ManageDevicesView *view, int col)
{
    QStringList texts;
    const QStandardItemModel *model = view->deviceModel();
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->item(row, col)->text();
    return texts;
}

void clickRow(ManageDevicesView *view, int row)
{
    const QModelIndex index = view->deviceModel()->index(row, 1);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

} // namespace

class TestManageDevicesDialog : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_file;

    Configuration stored() const
    {
        Configuration c(m_file);
        c.readConfiguration();
        return c;
    }

    void writeKnown(const QList<KnownDevice> &devices)
    {
        Configuration c(m_file);
        for (const KnownDevice &d : devices)
            c.knownDevices.insert(d.address.toString(), d);
        QVERIFY(c.writeConfiguration());
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_file = m_dir.filePath(QStringLiteral("Tallydesk.xml"));
        QFile::remove(m_file);
    }

    void deviceInfoForm_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("levels");
        QTest::addColumn<bool>("nullAddress");
        QTest::addColumn<int>("expectedPort");
        QTest::addColumn<bool>("storable");

        QTest::newRow("valid") << "10.0.0.9"
                               << "7002" << 1 << false << 7002 << true;
        QTest::newRow("not an address") << "unit.local"
                                        << "7001" << 0 << true << 7001 << false;
        QTest::newRow("port with letters") << "10.0.0.9"
                                           << "70a" << 0 << false << 0 << false;
        QTest::newRow("empty port") << "10.0.0.9"
                                    << "" << 0 << false << 0 << false;
        QTest::newRow("port 0") << "10.0.0.9"
                                << "0" << 0 << false << 0 << false;
        QTest::newRow("port beyond TCP") << "10.0.0.9"
                                         << "70000" << 0 << false << 70000 << false;
        QTest::newRow("highest port") << "10.0.0.9"
                                      << "65535" << 0 << false << 65535 << true;
    }

    void deviceInfoForm()
    {
        QFETCH(QString, address);
        QFETCH(QString, port);
        QFETCH(int, levels);
        QFETCH(bool, nullAddress);
        QFETCH(int, expectedPort);
        QFETCH(bool, storable);

        DeviceInfoDialog form;
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(form.width() >= 340 && form.height() >= 155);
        QCOMPARE(form.levelsCombo()->currentText(), QStringLiteral("UDP"));
        form.addressEdit()->setText(address);
        form.nameEdit()->setText(QStringLiteral("Studio"));
        form.portEdit()->setText(port);
        form.levelsCombo()->setCurrentIndex(levels);
        const KnownDevice d = form.deviceInfo();
        QCOMPARE(d.address.isNull(), nullAddress);
        QCOMPARE(d.port, expectedPort);
        QCOMPARE(d.name, QStringLiteral("Studio"));
        QCOMPARE(d.audioLevels, levels == 1);
        QCOMPARE(DeviceInfoDialog::isStorable(d), storable);
    }

    void setDeviceInfoIgnoresInvalidRecords()
    {
        DeviceInfoDialog form;
        form.setDeviceInfo(device("10.0.0.2", 7005, "Desk", true));
        QCOMPARE(form.addressEdit()->text(), QStringLiteral("10.0.0.2"));
        QCOMPARE(form.portEdit()->text(), QStringLiteral("7005"));
        QCOMPARE(form.levelsCombo()->currentText(), QStringLiteral("TCP"));

        form.setDeviceInfo(device("10.0.0.3", 0, "Other"));
        form.setDeviceInfo(KnownDevice());
        QCOMPARE(form.deviceInfo(), device("10.0.0.2", 7005, "Desk", true));
    }

    void emptyListOffersOnlyAdd()
    {
        ManageDevicesDialog dialog{Configuration(m_file)};
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Manage Known Devices"));
        QCOMPARE(dialog.view()->deviceModel()->rowCount(), 0);
        QCOMPARE(dialog.view()->deviceModel()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("IP Adress"));
        QVERIFY(dialog.addButton()->isEnabled());
        QVERIFY(!dialog.deleteButton()->isEnabled());
        QVERIFY(!dialog.editButton()->isEnabled());
        QVERIFY(!dialog.connectButton()->isEnabled());
    }

    void addReplacesSameAddressAndWritesFile()
    {
        writeKnown({device("10.0.0.9", 7001, "Old name")});
        ManageDevicesDialog dialog{Configuration(m_file)};
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(column(dialog.view(), 1), QStringList{QStringLiteral("Old name")});

        DialogScript script;
        QString title;
        script.then(fillForm(QStringLiteral("10.0.0.9"),
                             QStringLiteral("New name"),
                             QStringLiteral("7010"),
                             1,
                             &title));
        script.then(fillForm(
            QStringLiteral("10.0.0.10"), QStringLiteral("Second"), QStringLiteral("7001"), 0));
        QTest::mouseClick(dialog.addButton(), Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Add Device"));
        QTest::mouseClick(dialog.addButton(), Qt::LeftButton);
        QVERIFY(script.allUsed());

        // Addresses sort as text: .10 before .9.
        QCOMPARE(column(dialog.view(), 0),
                 QStringList({QStringLiteral("10.0.0.10"), QStringLiteral("10.0.0.9")}));
        QCOMPARE(column(dialog.view(), 3), QStringList({"UDP", "TCP"}));
        const Configuration file = stored();
        QCOMPARE(file.knownDevices.size(), 2);
        QCOMPARE(file.knownDevices.value(QStringLiteral("10.0.0.9")),
                 device("10.0.0.9", 7010, "New name", true));
    }

    void invalidEntriesStoreNothing_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("port");
        QTest::newRow("port text") << "10.0.0.5"
                                   << "seven";
        QTest::newRow("port 0") << "10.0.0.5"
                                << "0";
        QTest::newRow("port beyond 65535") << "10.0.0.5"
                                           << "65536";
        QTest::newRow("no address") << ""
                                    << "7001";
    }

    void invalidEntriesStoreNothing()
    {
        QFETCH(QString, address);
        QFETCH(QString, port);

        ManageDevicesDialog dialog{Configuration(m_file)};
        DialogScript script;
        script.then(fillForm(address, QStringLiteral("x"), port, 0));
        QTest::mouseClick(dialog.addButton(), Qt::LeftButton);
        QVERIFY(script.allUsed());
        QCOMPARE(dialog.view()->deviceModel()->rowCount(), 0);
        QVERIFY(!QFile::exists(m_file));

        // Cancelling stores nothing either.
        script.then([](QDialog &) { return int(QDialog::Rejected); });
        QTest::mouseClick(dialog.addButton(), Qt::LeftButton);
        QVERIFY(!QFile::exists(m_file));
    }

    // The Add and Edit forms check their fields as the connect form does: OK on a field that
    // cannot be used says which and why, and the form stays open on that field until corrected.
    void formsSayWhatCannotBeUsed_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("corrected");

        QTest::newRow("add, host name") << false << "localhost"
                                        << "7001"
                                        << "Device Address: \"localhost\" is not the IPv4 address "
                                           "of a device. Enter four numbers from 0 to 255 "
                                           "separated by dots, for example 192.168.1.20."
                                        << "127.0.0.1";
        QTest::newRow("add, short form") << false << "127.1"
                                         << "7001"
                                         << "Device Address: \"127.1\" is not the IPv4 address "
                                            "of a device. Enter four numbers from 0 to 255 "
                                            "separated by dots, for example 192.168.1.20."
                                         << "127.0.0.1";
        QTest::newRow("add, leading zeros")
            << false << "192.168.001.020"
            << "7001"
            << "Device Address: \"192.168.001.020\" has a number with a leading zero, which can "
               "be read as another address. Write the numbers without leading zeros, for example "
               "192.168.1.20."
            << "192.168.1.20";
        QTest::newRow("add, hexadecimal") << false << "0x0a.0.0.1"
                                          << "7001"
                                          << "Device Address: \"0x0a.0.0.1\" is not the IPv4 "
                                             "address of a device. Enter four numbers from 0 to "
                                             "255 separated by dots, for example 192.168.1.20."
                                          << "10.0.0.2";
        QTest::newRow("add, no address")
            << false << ""
            << "7001"
            << "Device Address: enter the device's IPv4 address, for example 192.168.1.20."
            << "127.0.0.1";
        QTest::newRow("add, port text") << false << "127.0.0.1"
                                        << "70o1"
                                        << "Device Port: \"70o1\" is not a TCP port. Enter a "
                                           "number from 1 to 65535."
                                        << "7001";
        QTest::newRow("edit, port beyond 65535") << true << "10.0.0.1"
                                                 << "65536"
                                                 << "Device Port: \"65536\" is not a TCP port. "
                                                    "Enter a number from 1 to 65535."
                                                 << "7001";
    }

    void formsSayWhatCannotBeUsed()
    {
        QFETCH(bool, edit);
        QFETCH(QString, address);
        QFETCH(QString, port);
        QFETCH(QString, message);
        QFETCH(QString, corrected);

        writeKnown({device("10.0.0.1", 7005, "Alpha")});
        ManageDevicesDialog dialog{Configuration(m_file)};
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const bool portWrong = message.startsWith(QLatin1String("Device Port"));

        DialogScript script;
        bool stayedOpen = false;
        bool cursorOnField = false;
        script.then([&](QDialog &shown) {
            auto *form = qobject_cast<DeviceInfoDialog *>(&shown);
            if (!form)
                return int(QDialog::Rejected);
            form->show();
            if (!edit)
                form->addressEdit()->setText(address);
            form->nameEdit()->setText(QStringLiteral("Bravo"));
            form->portEdit()->setText(port);
            form->okButton()->click();
            QLineEdit *field = portWrong ? form->portEdit() : form->addressEdit();
            stayedOpen = form->isVisible() && form->result() == QDialog::Rejected;
            cursorOnField = form->focusWidget() == field && field->selectedText() == field->text();
            field->setText(corrected);
            form->okButton()->click();
            return form->result();
        });
        script.thenButton(QMessageBox::Ok);
        if (edit) {
            clickRow(dialog.view(), 0);
            QTest::mouseClick(dialog.editButton(), Qt::LeftButton);
        } else {
            QTest::mouseClick(dialog.addButton(), Qt::LeftButton);
        }

        QVERIFY(script.allUsed());
        QCOMPARE(script.texts(), QStringList{message});
        QCOMPARE(script.titles().value(1),
                 edit ? QStringLiteral("Edit Device") : QStringLiteral("Add Device"));
        QVERIFY(stayedOpen);
        QVERIFY(cursorOnField);
        // Once corrected, the device is kept.
        const QString key = edit ? QStringLiteral("10.0.0.1") : (portWrong ? address : corrected);
        const KnownDevice kept = stored().knownDevices.value(key);
        QCOMPARE(kept.name, QStringLiteral("Bravo"));
        QCOMPARE(kept.port, portWrong ? corrected.toInt() : port.toInt());
    }

    // An entry stored earlier under an address the forms no longer take stays editable: the
    // address is read-only in the Edit form, so only the rest is checked.
    void editTakesAStoredAddressAsItIs_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("broadcast") << "255.255.255.255";
        QTest::newRow("multicast") << "239.1.2.3";
        QTest::newRow("any address") << "0.0.0.0";
    }

    void editTakesAStoredAddressAsItIs()
    {
        QFETCH(QString, address);

        writeKnown({device(qPrintable(address), 7005, "Alpha")});
        ManageDevicesDialog dialog{Configuration(m_file)};
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        DialogScript script;
        script.then([](QDialog &shown) {
            auto *form = qobject_cast<DeviceInfoDialog *>(&shown);
            if (!form)
                return int(QDialog::Rejected);
            form->show();
            form->nameEdit()->setText(QStringLiteral("Zulu"));
            form->portEdit()->setText(QStringLiteral("7100"));
            form->okButton()->click();
            return form->result();
        });
        clickRow(dialog.view(), 0);
        QTest::mouseClick(dialog.editButton(), Qt::LeftButton);

        QVERIFY(script.allUsed());
        QCOMPARE(script.texts(), QStringList());
        QCOMPARE(script.unexpected(), 0);
        QCOMPARE(stored().knownDevices.value(address), device(qPrintable(address), 7100, "Zulu"));
    }

    void editKeepsAddressAndSortSurvives()
    {
        writeKnown({device("10.0.0.1", 7001, "Alpha"), device("10.0.0.2", 7001, "Bravo")});
        ManageDevicesDialog dialog{Configuration(m_file)};
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        ManageDevicesView *view = dialog.view();
        view->horizontalHeader()->setSortIndicator(1, Qt::DescendingOrder);
        QCOMPARE(column(view, 1), QStringList({"Bravo", "Alpha"}));

        clickRow(view, 1); // Alpha
        QVERIFY(dialog.editButton()->isEnabled());
        DialogScript script;
        QString title;
        bool readOnly = false;
        script.then(fillForm(
            QString(), QStringLiteral("Zulu"), QStringLiteral("7100"), 1, &title, &readOnly));
        QTest::mouseClick(dialog.editButton(), Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Edit Device"));
        QVERIFY(readOnly);

        QCOMPARE(column(view, 1), QStringList({"Zulu", "Bravo"}));
        QVERIFY(!dialog.editButton()->isEnabled());
        QVERIFY(!dialog.deleteButton()->isEnabled());
        QVERIFY(!dialog.connectButton()->isEnabled());
        QCOMPARE(stored().knownDevices.value(QStringLiteral("10.0.0.1")),
                 device("10.0.0.1", 7100, "Zulu", true));

        // A rewritten address in the form does not move the entry.
        clickRow(view, 0);
        script.then([](QDialog &shown) {
            auto *form = qobject_cast<DeviceInfoDialog *>(&shown);
            form->addressEdit()->setText(QStringLiteral("10.0.0.77"));
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(dialog.editButton(), Qt::LeftButton);
        QCOMPARE(stored().knownDevices.keys(), QStringList({"10.0.0.1", "10.0.0.2"}));
        QCOMPARE(stored().knownDevices.value(QStringLiteral("10.0.0.1")).address,
                 QHostAddress(QStringLiteral("10.0.0.1")));
    }

    void selectedRowIsHighlightedWhole()
    {
        writeKnown({device("10.0.0.1", 7001, "Alpha"), device("10.0.0.2", 7001, "Bravo")});
        ManageDevicesDialog dialog{Configuration(m_file)};
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        ManageDevicesView *view = dialog.view();
        clickRow(view, 1);

        // A point inside the cell's fill, left of its text.
        const QImage shown = view->viewport()->grab().toImage();
        auto fillOf = [&](int row, int column) {
            const QRect cell = view->visualRect(view->deviceModel()->index(row, column));
            return shown.pixelColor(QPoint(cell.left() + 1, cell.center().y())
                                    * shown.devicePixelRatio());
        };
        const QColor highlight(239, 228, 176);
        for (int column = 0; column < 4; ++column) {
            QCOMPARE(fillOf(1, column), highlight);
            QCOMPARE(fillOf(0, column), QColor(Qt::white));
        }
    }

    void deleteAsksFirst()
    {
        writeKnown({device("10.0.0.1", 7001, "Alpha"), device("10.0.0.2", 7001, "Bravo")});
        ManageDevicesDialog dialog{Configuration(m_file)};
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        DialogScript script;
        script.thenButton(QMessageBox::Cancel);
        script.thenButton(QMessageBox::Yes);
        clickRow(dialog.view(), 0);
        QTest::mouseClick(dialog.deleteButton(), Qt::LeftButton);
        QCOMPARE(stored().knownDevices.size(), 2);
        QTest::mouseClick(dialog.deleteButton(), Qt::LeftButton);
        QCOMPARE(script.titles(), QStringList({"Delete Device", "Delete Device"}));
        QCOMPARE(script.texts().value(0), QStringLiteral("Are you sure?"));
        QCOMPARE(stored().knownDevices.keys(), QStringList{QStringLiteral("10.0.0.2")});
        QCOMPARE(column(dialog.view(), 0), QStringList{QStringLiteral("10.0.0.2")});
        QVERIFY(!dialog.deleteButton()->isEnabled());
    }

    void connectPicksTheCurrentDevice()
    {
        writeKnown({device("10.0.0.1", 7001, "Alpha"), device("10.0.0.2", 7001, "Bravo")});
        ManageDevicesDialog dialog{Configuration(m_file)};
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        clickRow(dialog.view(), 1);
        QTest::mouseClick(dialog.connectButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.selectedAddress(), QStringLiteral("10.0.0.2"));
    }
};

QTEST_MAIN(TestManageDevicesDialog)
#include "tst_managedevicesdialog.moc"
