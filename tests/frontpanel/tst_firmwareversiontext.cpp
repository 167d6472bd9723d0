#include "frontpanel/firmwareversiontext.h"

#include <QTest>

class TestFirmwareVersionText : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void TestFirmwareVersionText::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<quint32>("packed");

    QTest::newRow("empty") << QByteArray() << 0u;
    QTest::newRow("major only") << QByteArray("1") << 0x010000u;
    QTest::newRow("two fields") << QByteArray("1.7") << 0x010700u;
    QTest::newRow("fourth field ignored") << QByteArray("1.7.3.99") << 0x010703u;
    QTest::newRow("program's own") << QByteArray("2.00.0.5197") << 0x020000u;
    QTest::newRow("two-digit minor") << QByteArray("1.14.2") << 0x010E02u;
    QTest::newRow("leading zero is decimal") << QByteArray("1.08.0") << 0x010800u;
    QTest::newRow("leading zero, nine") << QByteArray("2.09.1") << 0x020901u;
    QTest::newRow("hexadecimal fields") << QByteArray("0x1.0x10.3") << 0x011003u;
    QTest::newRow("cut to 8 bits") << QByteArray("300.1.1") << 0x2C0101u;
    QTest::newRow("any separator") << QByteArray("1-9-2") << 0x010902u;
    QTest::newRow("blanks and plus") << QByteArray(" 1. +2.3") << 0x010203u;
    QTest::newRow("minus wraps") << QByteArray("1.-1.0") << 0x01FF00u;
    QTest::newRow("no digits stop") << QByteArray("1.x.3") << 0x010000u;
    QTest::newRow("not a number") << QByteArray("beta") << 0u;
    QTest::newRow("trailing separator") << QByteArray("1.") << 0x010000u;
    QTest::newRow("0x without digits") << QByteArray("0x.5") << 0u;
    QTest::newRow("huge field") << QByteArray("99999999999999999999999.1") << 0xFF0100u;
    QTest::newRow("suffix after number") << QByteArray("1.2b.3") << 0x010200u;
}

void TestFirmwareVersionText::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(quint32, packed);
    QCOMPARE(parseFirmwareVersion(text.toStdString()), packed);
}

QTEST_GUILESS_MAIN(TestFirmwareVersionText)
#include "tst_firmwareversiontext.moc"
