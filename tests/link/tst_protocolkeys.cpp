#include "link/protocolkeys.h"

#include <QTest>

#include <set>

class tst_ProtocolKeys : public QObject
{
    Q_OBJECT

private slots:
    void causeText_data();
    void causeText();
    void causeCodeFromText_data();
    void causeCodeFromText();
    void everyCauseReadsBack();
};

void tst_ProtocolKeys::causeText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("text");

    const QByteArray unknown("200-unknown error");
    for (const int code : {0, -1, 29, 99, 142, 199, 205, 100000})
        QTest::addRow("gap %d", code) << code << unknown;
    QTest::newRow("first") << 1 << QByteArray("001-location unavailable");
    QTest::newRow("28") << 28 << QByteArray("028-ph-corp puk");
    QTest::newRow("100") << 100 << QByteArray("100-wrong password");
    QTest::newRow("101") << 101 << QByteArray("101-parameter not set");
    QTest::newRow("137") << 137 << QByteArray("137-wifi connecting...");
    QTest::newRow("141") << 141 << QByteArray("141-sip1_not configured");
    QTest::newRow("200") << 200 << unknown;
    QTest::newRow("last") << 204 << QByteArray("204-unknown command");
}

void tst_ProtocolKeys::causeText()
{
    QFETCH(int, code);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(::causeText(code)), text);
}

void tst_ProtocolKeys::causeCodeFromText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("code");

    QTest::newRow("known") << QByteArray("105-invalid value") << 105;
    QTest::newRow("low range") << QByteArray("010-sim missing") << 10;
    QTest::newRow("high range") << QByteArray("203-OS error") << 203;
    QTest::newRow("case differs") << QByteArray("105-Invalid value") << 200;
    QTest::newRow("code only") << QByteArray("105") << 200;
    QTest::newRow("trailing blank") << QByteArray("105-invalid value ") << 200;
    QTest::newRow("empty") << QByteArray() << 200;
    QTest::newRow("unknown error itself") << QByteArray("200-unknown error") << 200;
    QTest::newRow("gap code") << QByteArray("050-whatever") << 200;
    QTest::newRow("code with other phrase") << QByteArray("105-invalid id") << 200;
    QTest::newRow("not a code") << QByteArray("abc-def") << 200;
}

void tst_ProtocolKeys::causeCodeFromText()
{
    QFETCH(QByteArray, text);
    QFETCH(int, code);
    QCOMPARE(::causeCodeFromText(text.toStdString()), code);
}

void tst_ProtocolKeys::everyCauseReadsBack()
{
    std::set<std::string> distinct;
    for (int code = 1; code <= 204; ++code) {
        const bool known = (code <= 28) || (code >= 100 && code <= 141) || code >= 200;
        const std::string &text = ::causeText(code);
        distinct.insert(text);
        QCOMPARE(::causeCodeFromText(text), known ? code : 200);
        if (known) {
            const std::string prefix = std::to_string(1000 + code).substr(1) + "-";
            QCOMPARE(text.substr(0, 4), prefix);
        }
    }
    QCOMPARE(distinct.size(), size_t(75));
    QCOMPARE(&::causeText(101), &kCauseParameterNotSet);
    QCOMPARE(kCauseWrongPassword, std::string("100-wrong password"));
}

QTEST_GUILESS_MAIN(tst_ProtocolKeys)
#include "tst_protocolkeys.moc"
