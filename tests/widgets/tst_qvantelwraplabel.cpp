// The word-wrapped labels of row values, the menu header and choice popups: a text that a plain
// QLabel shows in full is drawn exactly as that QLabel draws it, and only the lines that still
// do not fit are cut, at their end or, in popups, in their middle.

#include "widgets/qvantelchoicelabel.h"
#include "widgets/qvantelwraplabel.h"

#include <QLabel>
#include <QTest>

#include <memory>

namespace {

const QChar kEllipsis(0x2026);
// The width of a row value on the narrowest pages.
constexpr int kWidth = 198;

enum class Kind { Value, Choice };

// A label set up as the rows and popups set theirs up: a value row's or a choice's.
void setUp(QLabel *label, Kind kind)
{
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(kind == Kind::Value ? Qt::AlignLeft | Qt::AlignTop
                                            : Qt::AlignLeft | Qt::AlignVCenter);
    QFont font = label->font();
    font.setPixelSize(18);
    label->setFont(font);
}

std::unique_ptr<QVantelElidedLabel> makeLabel(Kind kind)
{
    std::unique_ptr<QVantelElidedLabel> label;
    if (kind == Kind::Choice)
        label = std::make_unique<QVantelChoiceLabel>();
    else
        label = std::make_unique<QVantelWrapLabel>();
    setUp(label.get(), kind);
    return label;
}

// The height a plain word-wrapped QLabel asks for to show text whole at kWidth.
int wholeHeight(const QString &text, Kind kind)
{
    QLabel plain;
    setUp(&plain, kind);
    plain.setText(text);
    return plain.heightForWidth(kWidth);
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestQVantelWrapLabel : public QObject
{
    Q_OBJECT

private slots:
    void textsThatFitAreDrawnAsQLabelDrawsThem_data();
    void textsThatFitAreDrawnAsQLabelDrawsThem();
    void onlyLinesThatDoNotFitAreCut_data();
    void onlyLinesThatDoNotFitAreCut();
};

void TestQVantelWrapLabel::textsThatFitAreDrawnAsQLabelDrawsThem_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("text");
    // Host names, addresses and network names break after hyphens, dots and slashes, not
    // only at blanks.
    const QStringList texts = {
        QStringLiteral("Studio B"),
        QStringLiteral("sip-server-primary.studio-b.example.net"),
        QStringLiteral("Studio-Network-Main-Floor-Left-5GHz"),
        QStringLiteral("rtsp://192.168.100.200/streams/studio-b/programme-main"),
        QStringLiteral("Single Codec and Mobile Voice Coordination"),
        QStringLiteral("First line\nsecond-line-of-the-same-value"),
    };
    for (const QString &text : texts) {
        const QString tag = QString(text).replace(QLatin1Char('\n'), QLatin1String("\\n"));
        QTest::addRow("value: %s", qPrintable(tag)) << Kind::Value << text;
        QTest::addRow("choice: %s", qPrintable(tag)) << Kind::Choice << text;
    }
}

void TestQVantelWrapLabel::textsThatFitAreDrawnAsQLabelDrawsThem()
{
    QFETCH(Kind, kind);
    QFETCH(QString, text);
    const QSize size(kWidth, qMax(44, wholeHeight(text, kind)));
    const std::unique_ptr<QVantelElidedLabel> label = makeLabel(kind);
    label->setText(text);
    label->setFixedSize(size);
    QLabel plain;
    setUp(&plain, kind);
    plain.setText(text);
    plain.setFixedSize(size);

    QCOMPARE(label->shownText(), text);
    QCOMPARE(label->grab().toImage(), plain.grab().toImage());
}

void TestQVantelWrapLabel::onlyLinesThatDoNotFitAreCut_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("text");
    // The lines drawn; "start…end" stands for a line cut within the label's width that begins
    // with start and ends with end, or with the ellipsis when end is empty.
    QTest::addColumn<QStringList>("lines");

    const QString name = QStringLiteral("BroadcastOperatorNetworkWithAVeryLongName");
    const QString text = QStringLiteral("Studio-B ") + name + QStringLiteral("A on-air");
    QTest::newRow("value") << Kind::Value << text
                           << QStringList{QStringLiteral("Studio-B"),
                                          QStringLiteral("Broad…"),
                                          QStringLiteral("on-air")};
    QTest::newRow("choice") << Kind::Choice << text
                            << QStringList{QStringLiteral("Studio-B"),
                                           QStringLiteral("Broad…NameA"),
                                           QStringLiteral("on-air")};
    QTest::newRow("choice, one word")
        << Kind::Choice << name + QLatin1Char('B') << QStringList{QStringLiteral("Broad…NameB")};
}

void TestQVantelWrapLabel::onlyLinesThatDoNotFitAreCut()
{
    QFETCH(Kind, kind);
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    const std::unique_ptr<QVantelElidedLabel> label = makeLabel(kind);
    label->setText(text);
    // As high as a plain QLabel asks for: the cuts keep its lines.
    label->setFixedSize(kWidth, qMax(44, wholeHeight(text, kind)));

    QCOMPARE(label->text(), text);
    const QStringList shown = label->shownText().split(QLatin1Char('\n'));
    QCOMPARE(shown.size(), lines.size());
    for (int index = 0; index < lines.size(); ++index) {
        const QString &drawn = shown.at(index);
        const QString &expected = lines.at(index);
        QVERIFY2(label->fontMetrics().horizontalAdvance(drawn) <= kWidth, qPrintable(drawn));
        if (!expected.contains(kEllipsis)) {
            QCOMPARE(drawn, expected);
            continue;
        }
        const QString end = expected.section(kEllipsis, 1);
        QVERIFY2(drawn.startsWith(expected.section(kEllipsis, 0, 0)), qPrintable(drawn));
        QVERIFY2(drawn.endsWith(end.isEmpty() ? QString(kEllipsis) : end), qPrintable(drawn));
        QVERIFY2(drawn.contains(kEllipsis), qPrintable(drawn));
    }
}

QTEST_MAIN(TestQVantelWrapLabel)
#include "tst_qvantelwraplabel.moc"
