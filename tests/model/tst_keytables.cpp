#include "link/ccom.h"
#include "model/comaoipcontroller.h"
#include "model/comethernetcontroller.h"
#include "model/comisdncontroller.h"
#include "model/commobilecontroller.h"
#include "model/comravennacontroller.h"
#include "model/comwificontroller.h"
#include "model/keytable.h"

#include <QStringList>
#include <QTest>

#include <string>
#include <vector>

namespace {

// A controller whose key table a test may walk.
template<typename C>
class Walked : public C
{
public:
    using C::C;
    [[nodiscard]] const KeyTable &table() const { return this->keyTable(); }
};

// The value of row's field in controller, as a text to compare: numbers as numbers (a word's wire
// form would fold every unknown value into one word), a record as its text form.
QString fieldText(const KeyRow &row, KeyRow::Controller &controller)
{
    switch (row.kind) {
    case KeyRow::Flag:
        return row.flagField(controller) ? QStringLiteral("true") : QStringLiteral("false");
    case KeyRow::Number:
    case KeyRow::Word:
        return QString::number(row.numberField(controller));
    case KeyRow::Text:
        return QString::fromStdString(row.textField(controller));
    case KeyRow::Record:
        return QString::fromStdString(row.recordText(row.recordField(controller)));
    case KeyRow::Applied:
        break;
    }
    return QString();
}

// The keys of C whose field starts at another value than its row puts back (a number row's value
// for an empty text or its initially(), false, empty, the record type's own): a default written
// twice, in the field's declaration and in its row, and written differently.
template<typename C>
QStringList defaultsWrittenTwice(Walked<C> &built, Walked<C> &reset)
{
    QStringList differ;
    for (const KeyRow &row : built.table().rows()) {
        row.resetIn(reset);
        const QString declared = fieldText(row, built);
        const QString inRow = fieldText(row, reset);
        if (declared != inRow)
            differ << QStringLiteral("%1: %2 declared, %3 in its row")
                          .arg(QString::fromStdString(*row.key), declared, inRow);
    }
    return differ;
}

template<typename C>
QStringList defaultsWrittenTwice(ksm::CCom *com)
{
    Walked<C> built(com);
    Walked<C> reset(com);
    return defaultsWrittenTwice(built, reset);
}

// The trial's mistake: a time-to-live declared 64 and given 32 in its row.
const std::string kPlantedTtl = "planted_ttl";
const std::string kPlantedName = "planted_name";

class Planted : public TComKeyedController
{
public:
    explicit Planted(ksm::CCom *com)
        : TComKeyedController(com, GeneralController)
    {}

    bool readAll() override { return false; }
    bool read(const std::vector<std::string> &) override { return false; }
    bool write(const std::vector<std::string> &) override { return false; }
    bool writeKey(const std::string &, const std::string &) override { return true; }

protected:
    [[nodiscard]] const KeyTable &keyTable() const override
    {
        using C = Planted;
        static const KeyTable table = {
            KeyRow::number(kPlantedTtl, &C::m_ttl, 32),
            KeyRow::text(kPlantedName, &C::m_name),
        };
        return table;
    }

private:
    int m_ttl = 64;
    std::string m_name = "none";
};

} // namespace

// A controller built on a key table gives a setting's default in its field's declaration and in
// its row: the field holds the first until the unit is read, and reset() puts back the second
// (when the connection goes, and each time an interface page reads its interface anew). They
// must be one value.
class TestKeyTables : public QObject
{
    Q_OBJECT

private slots:
    void everyFieldStartsAtItsRowsDefault();
    void aDefaultWrittenTwiceIsFound();
};

void TestKeyTables::everyFieldStartsAtItsRowsDefault()
{
    ksm::CCom com(nullptr);
    const QStringList differ = defaultsWrittenTwice<TComEthernetController>(&com)
                               + defaultsWrittenTwice<TComIsdnController>(&com)
                               + defaultsWrittenTwice<TComMobileController>(&com)
                               + defaultsWrittenTwice<TComWifiController>(&com)
                               + defaultsWrittenTwice<TComAoIPController>(&com)
                               + defaultsWrittenTwice<TComRavennaController>(&com);
    QVERIFY2(differ.isEmpty(), qPrintable(differ.join(QStringLiteral("; "))));
}

void TestKeyTables::aDefaultWrittenTwiceIsFound()
{
    ksm::CCom com(nullptr);
    QCOMPARE(defaultsWrittenTwice<Planted>(&com),
             QStringList({QStringLiteral("planted_ttl: 64 declared, 32 in its row"),
                          QStringLiteral("planted_name: none declared,  in its row")}));
}

QTEST_MAIN(TestKeyTables)
#include "tst_keytables.moc"
