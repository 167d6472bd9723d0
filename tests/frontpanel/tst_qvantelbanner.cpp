#include "frontpanel/qvantelbanner.h"

#include <QLabel>
#include <QTest>

class TestQVantelBanner : public QObject
{
    Q_OBJECT

private slots:
    void roleLabels_data();
    void roleLabels();
    void linkText();
    void settersRedrawOnlyOnChange();
    void textsAreNeverMarkup();
};

void TestQVantelBanner::roleLabels_data()
{
    QTest::addColumn<int>("routing");
    QTest::addColumn<int>("coordination");
    QTest::addColumn<QString>("row1");
    QTest::addColumn<QString>("row2");
    QTest::addColumn<bool>("link2Shown");

    QTest::newRow("mono") << 1 << 0 << "Program"
                          << "- - -" << false;
    QTest::newRow("stereo") << 2 << 0 << "Program / Coord"
                            << "- - -" << false;
    QTest::newRow("dual mono, coordination on") << 4 << 1 << "Prog. L/R"
                                                << "- - -" << false;
    QTest::newRow("mono, coordination on") << 1 << 1 << "Program"
                                           << "- - -" << false;
    QTest::newRow("mono with coordination line") << 8 << 0 << "Program"
                                                 << "Coord" << true;
    QTest::newRow("double codec") << 16 << 0 << "Program"
                                  << "Coord" << true;
    QTest::newRow("64, coordination off") << 64 << 0 << "Program"
                                          << "Coord" << true;
    QTest::newRow("64, coordination on") << 64 << 1 << "Prog. L/R"
                                         << "Coord" << true;
    QTest::newRow("32, coordination on") << 32 << 2 << "Prog. L/R"
                                         << "Coord" << true;
    QTest::newRow("16, coordination on") << 16 << 1 << "Program"
                                         << "Coord" << true;
}

void TestQVantelBanner::roleLabels()
{
    QFETCH(int, routing);
    QFETCH(int, coordination);
    QFETCH(QString, row1);
    QFETCH(QString, row2);
    QFETCH(bool, link2Shown);

    QWidget host;
    auto *banner = new QVantelBanner(&host);
    host.show();
    banner->setCodecMode(routing, coordination);
    QCOMPARE(banner->roleLabel(1)->text(), row1);
    QCOMPARE(banner->roleLabel(2)->text(), row2);
    QCOMPARE(banner->linkLabel(2)->isVisible(), link2Shown);
    QCOMPARE(banner->roleLabel(2)->alignment() & Qt::AlignHorizontal_Mask,
             link2Shown ? Qt::AlignLeft : Qt::AlignHCenter);
}

void TestQVantelBanner::linkText()
{
    QVantelBanner banner;
    const QString idle = QStringLiteral(" / \nIdle");
    QVERIFY(banner.linkLabel(1)->text().isEmpty());

    banner.setLinkNames(1, QStringLiteral("Ethernet"), QStringLiteral("OPUS/48 kHz"));
    QCOMPARE(banner.linkLabel(1)->text(), QStringLiteral("Ethernet / OPUS/48 kHz\nIdle"));
    banner.setLinkDetail(1, QStringLiteral("sip:studio@10.0.0.2"));
    banner.setLinkState(1, 4);
    QCOMPARE(banner.linkLabel(1)->text(),
             QStringLiteral("Ethernet / OPUS/48 kHz\nConnected / sip:studio@10.0.0.2"));
    banner.setLinkState(1, 5);
    QVERIFY(banner.linkLabel(1)->text().contains(QLatin1String("\nConnected / ")));
    banner.setLinkState(1, 3);
    QVERIFY(banner.linkLabel(1)->text().contains(QLatin1String("\nConnecting / ")));
    banner.setLinkState(1, 6);
    QVERIFY(banner.linkLabel(1)->text().contains(QLatin1String("\nReleasing / ")));
    banner.setLinkDetail(1, QString());
    QCOMPARE(banner.linkLabel(1)->text(), QStringLiteral("Ethernet / OPUS/48 kHz\nReleasing"));
    for (const int state : {0, 1, 2, 7, -3}) {
        banner.setLinkState(1, state);
        QVERIFY2(banner.linkLabel(1)->text().endsWith(QLatin1String("\nIdle")),
                 qPrintable(QString::number(state)));
    }

    // Every link number but 1 is link 2.
    banner.setLinkState(7, 3);
    QCOMPARE(banner.record(2).state, 3);
    QCOMPARE(banner.linkLabel(2)->text(), QStringLiteral(" / \nConnecting"));
    banner.setLinkState(7, 0);
    QCOMPARE(banner.linkLabel(2)->text(), idle);
}

void TestQVantelBanner::settersRedrawOnlyOnChange()
{
    QVantelBanner banner;
    banner.setLinkNames(2, QStringLiteral("Mobile"), QStringLiteral("Mobile Voice"));
    banner.linkLabel(2)->setText(QStringLiteral("marker"));
    banner.setLinkNames(2, QStringLiteral("Mobile"), QStringLiteral("Mobile Voice"));
    banner.setLinkState(2, 0);
    banner.setLinkDetail(2, QString());
    QCOMPARE(banner.linkLabel(2)->text(), QStringLiteral("marker"));
    // One changed text of the pair redraws.
    banner.setLinkNames(2, QStringLiteral("Mobile"), QStringLiteral("GSM"));
    QCOMPARE(banner.linkLabel(2)->text(), QStringLiteral("Mobile / GSM\nIdle"));
    QCOMPARE(banner.linkLabel(1)->text(), QString());
}

void TestQVantelBanner::textsAreNeverMarkup()
{
    QVantelBanner banner;
    banner.setLinkNames(1, QStringLiteral("<b>Ethernet</b>"), QStringLiteral("G722"));
    banner.setLinkDetail(2, QStringLiteral("<img src=\"file:///etc/passwd\">"));
    for (int link : {1, 2})
        QCOMPARE(banner.linkLabel(link)->textFormat(), Qt::PlainText);
    QCOMPARE(banner.linkLabel(1)->text(), QStringLiteral("<b>Ethernet</b> / G722\nIdle"));
}

QTEST_MAIN(TestQVantelBanner)
#include "tst_qvantelbanner.moc"
