#include "model/textconversions.h"

#include <QtTest>

class tst_TextConversions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void conversions_data();
    void conversions();
    void deviceTextPassesForeignBytes();
};

// Qt text ↔ Latin-1 bytes ↔ device (UTF-8) bytes, both ways in one row.
void tst_TextConversions::conversions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("latin1");
    QTest::addColumn<QByteArray>("device");

    QTest::newRow("empty") << QString() << QByteArray() << QByteArray();
    QTest::newRow("ascii") << QStringLiteral("Studio 1; a\\b") << QByteArray("Studio 1; a\\b")
                           << QByteArray("Studio 1; a\\b");
    QTest::newRow("e acute") << QStringLiteral("\u00e9") << QByteArray("\xe9")
                             << QByteArray("\xc3\xa9");
    QTest::newRow("latin-1 range")
        << QStringLiteral("\u00a0M\u00fcnchen\u00ff") << QByteArray("\xa0M\xfcnchen\xff")
        << QByteArray("\xc2\xa0M\xc3\xbcnchen\xc3\xbf");
    QTest::newRow("embedded nul") << QString(QChar(0)) + QStringLiteral("x") << QByteArray("\0x", 2)
                                  << QByteArray("\0x", 2);
}

void tst_TextConversions::conversions()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, latin1);
    QFETCH(QByteArray, device);

    QCOMPARE(QByteArray::fromStdString(toStdString(text)), latin1);
    QCOMPARE(toQString(latin1.toStdString()), text);
    QCOMPARE(QByteArray::fromStdString(toDeviceString(text)), device);
    QCOMPARE(fromDeviceString(device.toStdString()), text);
}

void tst_TextConversions::deviceTextPassesForeignBytes()
{
    // A UTF-8 sequence of a character beyond Latin-1 stays as its raw bytes, one character each.
    const QByteArray euro("\xe2\x82\xac");
    QCOMPARE(fromDeviceString(euro.toStdString()), QString::fromLatin1(euro));
    // Never UTF-8 on the way out: a character beyond Latin-1 is one byte.
    QCOMPARE(toStdString(QStringLiteral("\u20ac")).size(), std::size_t(1));
}

QTEST_GUILESS_MAIN(tst_TextConversions)
#include "tst_textconversions.moc"
