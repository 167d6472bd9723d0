#include "dialogscript.h"

#include "shell/connectdevicedialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestConnectDeviceDialog : public QObject
{
    Q_OBJECT

private slots:
    void startsWithDefaults()
    {
        ConnectDeviceDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Connect Remote Device"));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(dialog.width() >= 250 && dialog.height() >= 185);
        QVERIFY(dialog.width() >= dialog.tcpCheckBox()->sizeHint().width());
        QVERIFY(dialog.addressEdit()->text().isEmpty());
        QCOMPARE(dialog.portEdit()->text(), QStringLiteral("7001"));
        QCOMPARE(dialog.udpPortEdit()->text(), QStringLiteral("3000"));
        QVERIFY(!dialog.udpPortEdit()->isEnabled());
        QVERIFY(!dialog.tcpCheckBox()->isChecked());
        QVERIFY(dialog.okButton()->isDefault());
        QCOMPARE(dialog.port(), 7001u);
        QCOMPARE(dialog.datagramPort(), 3000u);
    }

    void portsFromText_data()
    {
        QTest::addColumn<QString>("portText");
        QTest::addColumn<QString>("udpText");
        QTest::addColumn<bool>("tcp");
        QTest::addColumn<uint>("port");
        QTest::addColumn<uint>("datagramPort");

        QTest::newRow("plain") << "7002"
                               << "3001" << false << 7002u << 3001u;
        QTest::newRow("tcp box wins over the UDP field") << "7001"
                                                         << "3005" << true << 7001u << 1u;
        QTest::newRow("tcp box with an unreadable UDP field") << "7001"
                                                              << "x" << true << 7001u << 1u;
        QTest::newRow("trailing letters") << "7001abc"
                                          << "3000x" << false << 0u << 0u;
        QTest::newRow("empty") << ""
                               << "" << false << 0u << 0u;
        QTest::newRow("negative") << "-1"
                                  << "-3000" << false << 0u << 0u;
        QTest::newRow("beyond 16 bits stays visible") << "70001"
                                                      << "65536" << false << 70001u << 65536u;
    }

    void portsFromText()
    {
        QFETCH(QString, portText);
        QFETCH(QString, udpText);
        QFETCH(bool, tcp);
        QFETCH(uint, port);
        QFETCH(uint, datagramPort);

        ConnectDeviceDialog dialog;
        dialog.portEdit()->setText(portText);
        dialog.udpPortEdit()->setText(udpText);
        dialog.tcpCheckBox()->setChecked(tcp);
        QCOMPARE(dialog.port(), port);
        QCOMPARE(dialog.datagramPort(), datagramPort);
        // Checking the box leaves the field as it was.
        QCOMPARE(dialog.udpPortEdit()->text(), udpText);
    }

    void okRefusesWhatCannotBeUsed_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("problem"); // start of the message; empty: accepted

        QTest::newRow("usable") << "127.0.0.1"
                                << "7001"
                                << "";
        QTest::newRow("highest port") << "192.168.1.20"
                                      << "65535"
                                      << "";
        QTest::newRow("empty address") << ""
                                       << "7001"
                                       << "IP Address: enter";
        QTest::newRow("host name") << "localhost"
                                   << "7001"
                                   << "IP Address: \"localhost\" is not";
        QTest::newRow("short form") << "127.1"
                                    << "7001"
                                    << "IP Address: \"127.1\" is not";
        // Parts that other readers take as octal or hexadecimal would be another address.
        QTest::newRow("leading zero") << "127.0.0.010"
                                      << "7001"
                                      << "IP Address: \"127.0.0.010\" has a number with a "
                                         "leading zero";
        QTest::newRow("hexadecimal") << "0x7f.0.0.1"
                                     << "7001"
                                     << "IP Address: \"0x7f.0.0.1\" is not";
        QTest::newRow("part beyond 255") << "127.0.0.256"
                                         << "7001"
                                         << "IP Address: \"127.0.0.256\" is not";
        QTest::newRow("zero parts") << "10.0.0.9"
                                    << "7001"
                                    << "";
        QTest::newRow("IPv6") << "::1"
                              << "7001"
                              << "IP Address: \"::1\" is not";
        QTest::newRow("broadcast") << "255.255.255.255"
                                   << "7001"
                                   << "IP Address:";
        QTest::newRow("port 0") << "127.0.0.1"
                                << "0"
                                << "Port: \"0\" is not a TCP port";
        QTest::newRow("port too big") << "127.0.0.1"
                                      << "65536"
                                      << "Port: \"65536\" is not a TCP port";
        QTest::newRow("port not a number") << "127.0.0.1"
                                           << "70o1"
                                           << "Port: \"70o1\" is not a TCP port";
    }

    void okRefusesWhatCannotBeUsed()
    {
        QFETCH(QString, address);
        QFETCH(QString, port);
        QFETCH(QString, problem);

        ConnectDeviceDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.addressEdit()->setText(address);
        dialog.portEdit()->setText(port);
        QSignalSpy finished(&dialog, &QDialog::finished);
        DialogScript script;
        script.thenButton(QMessageBox::Ok);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);

        if (problem.isEmpty()) {
            QCOMPARE(dialog.problem(), QString());
            QCOMPARE(finished.size(), 1);
            QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Accepted));
            QCOMPARE(script.texts(), QStringList());
            return;
        }
        QVERIFY2(dialog.problem().startsWith(problem), qPrintable(dialog.problem()));
        // The message names the field and the dialog waits on it.
        QCOMPARE(finished.size(), 0);
        QVERIFY(dialog.isVisible());
        QCOMPARE(script.texts(), QStringList{dialog.problem()});
        QLineEdit *field
            = problem.startsWith(QLatin1String("Port")) ? dialog.portEdit() : dialog.addressEdit();
        QCOMPARE(dialog.focusWidget(), field);
        QCOMPARE(field->selectedText(), field->text());
    }

    void enterAcceptsAndCancelRejects()
    {
        ConnectDeviceDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.addressEdit()->setFocus();
        QTest::keyClicks(dialog.addressEdit(), QStringLiteral("127.0.0.1"));
        QTest::keyClick(dialog.addressEdit(), Qt::Key_Return);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Accepted));
        QCOMPARE(dialog.addressEdit()->text(), QStringLiteral("127.0.0.1"));

        dialog.show();
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        QCOMPARE(finished.size(), 2);
        QCOMPARE(finished.at(1).at(0).toInt(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestConnectDeviceDialog)
#include "tst_connectdevicedialog.moc"
