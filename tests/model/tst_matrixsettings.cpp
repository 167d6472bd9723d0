#include "model/matrixsettings.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/rpcconnection.h"
#include "link/sharedobjects.h"
#include "model/comdevice.h"
#include "model/deviceoptionword.h"
#include "model/firmwareversion.h"
#include "tests/model/linkedfake.h"
#include "tests/support/fakequorix.h"

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>

using Action = std::function<bool(TMatrixSettings &)>;
using Check = std::function<void(const TMatrixSettings &)>;
Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(Check)

namespace {

const QString kAudio = QStringLiteral("audio");

QString bytes(const char *pair, int count)
{
    return QString::fromLatin1(pair).repeated(count);
}

// Reads a hexadecimal text as the four bytes of a record.
TMatrixSettings::AudioConfig config(quint8 a, quint8 b, quint8 c, quint8 d)
{
    return TMatrixSettings::AudioConfig{a, b, c, d};
}

bool sameFactor(float actual, double expected)
{
    return std::abs(double(actual) - expected) < 1e-6;
}

} // namespace

class tst_MatrixSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void constructionDefaults();
    void inputNames();
    void inputNamesFollowTheDevice();
    void gainPacking_data();
    void gainPacking();
    void receivedRows_data();
    void receivedRows();
    void sentRows_data();
    void sentRows();
    void nodeFactor_data();
    void nodeFactor();
    void offCellStillSignals();
    void copies();
    void cellSetterOutcomes();
    void wordSetterOutcomes();
    void headphoneEdit();
    void missingRowsAreNotWritten_data();
    void missingRowsAreNotWritten();
    void missingRowsReadAgain();
    void wordsWrittenOverTheUnits();
    void failedReadLeavesEveryRowMissing();
    void readAllKeys_data();
    void readAllKeys();
    void startReadsSilently();
    void infoChangesetSendsNothing();
    void resetRestoresRows();
    void accessorIsShared();

private:
    // Seeds the fake with every row (seedUnit()), then starts the matrix.
    void startReady(TMatrixSettings &matrix);
    // The unit's rows: those of a fresh matrix, with mix rows that match cells switched off.
    void seedUnit();

    LinkedFake m_link;
};

void tst_MatrixSettings::init()
{
    firmwareVersion = kFirmwareVersionUnknown;
    QVERIFY(m_link.start());
}

void tst_MatrixSettings::cleanup()
{
    m_link.stop();
    deviceOptionWord = 0;
}

void tst_MatrixSettings::startReady(TMatrixSettings &matrix)
{
    seedUnit();
    QVERIFY(matrix.start(true));
    QTRY_VERIFY(m_link.fake->isSubscribed(QStringLiteral("audio_changeset")));
    m_link.fake->clearLog();
}

void tst_MatrixSettings::seedUnit()
{
    // The unit holds what a fresh matrix holds, but with mix rows of cells switched off; every
    // row is read, so every write of the program goes out.
    FakeQuorix &fake = *m_link.fake;
    for (int n = 1; n <= 19; ++n)
        fake.setValue(QStringLiteral("matrix_in%1").arg(n), QStringLiteral("0020,"), kAudio);
    for (int n = 11; n <= 15; ++n)
        fake.setValue(QStringLiteral("matrix_ou%1").arg(n), QStringLiteral("00"), kAudio);
    // One byte per input the firmware's mix row holds.
    const int inputs = firmwareAtLeast(kFirmware1_13)  ? 21
                       : firmwareAtLeast(kFirmware1_7) ? 16
                                                       : 12;
    for (int n = 1; n <= 4; ++n) {
        fake.setValue(QStringLiteral("matrix_hp%1").arg(n), bytes("00", inputs), kAudio);
        fake.setValue(QStringLiteral("matrix_bal%1").arg(n), bytes("06", 6), kAudio);
        fake.setValue(QStringLiteral("matrix_po%1").arg(n),
                      n == 1   ? QStringLiteral("0203040E")
                      : n == 2 ? QStringLiteral("0103040E")
                               : QStringLiteral("00000000"),
                      kAudio);
    }
    fake.setValue(QStringLiteral("matrix_opt"), QStringLiteral("00000000"), kAudio);
    fake.setValue(QStringLiteral("matrix_mgn"), QStringLiteral("80800000"), kAudio);
    fake.setValue(QStringLiteral("matrix_vol"), QStringLiteral("E0E0E0E0"), kAudio);
}

void tst_MatrixSettings::constructionDefaults()
{
    TMatrixSettings m(nullptr);
    QCOMPARE(m.constructed(), TMatrixSettings::Constructed);
    QCOMPARE(m.state(), int(TComController::StateUnknown));
    for (int h = 0; h < 4; ++h) {
        QVERIFY(m.node(h, 2 * h + 2).isOn());
        QVERIFY(m.node(h, 2 * h + 3).isOn());
        QCOMPARE(m.node(12, 2 * h + 2).balance, 6);
    }
    QVERIFY(m.node(21, 17).isOn());
    QVERIFY(m.node(17, 15).isOn());
    QVERIFY(!m.node(0, 0).isOn());
    QCOMPARE(m.outputGain(2), TMatrixSettings::GainOff);
    QCOMPARE(m.outputGain(14), TMatrixSettings::GainOff);
    QCOMPARE(m.outputGain(0), 0.0F);
    QCOMPARE(m.outputGain(11), 0.0F);
    QCOMPARE(m.audioConfig(0), config(2, 3, 4, 0x0E));
    QCOMPARE(m.audioConfig(1), config(1, 3, 4, 0x0E));
    QCOMPARE(m.audioConfig(3), config(0, 0, 0, 0));
    QCOMPARE(m.masterGain(), 0x80800000U);
    QCOMPARE(m.volume(), 0xE0E0E0E0U);
    QCOMPARE(m.headphoneMix(0)[5], quint8(0xC0));
    QCOMPARE(m.inputRow(4).word, quint16(0x20));
    // Out of range: defaults, no crash.
    QCOMPARE(m.node(26, 0).flags, 0U);
    QCOMPARE(m.node(0, -1).gain, 0.0F);
    QCOMPARE(m.headphoneMix(4)[0], quint8(0xC0));
    QCOMPARE(m.outputRow(9), quint8(0));
    QVERIFY(!m.setNodeOn(26, 0, true));
    QVERIFY(!m.setNodeGain(0, 20, 1.0F));
    QVERIFY(!m.setInputName(-1, QStringLiteral("x")));
    QVERIFY(!m.setOutputGain(20, 1.0F));
}

void tst_MatrixSettings::inputNames()
{
    TMatrixSettings m(nullptr);
    QSignalSpy spy(&m, &TMatrixSettings::inputNameChanged);
    QCOMPARE(m.inputName(0), QStringLiteral("INPUT 1"));
    QCOMPARE(m.inputName(9), QStringLiteral("RAV. 1"));
    QCOMPARE(m.inputTitle(0), QStringLiteral("INPUT 1"));

    QVERIFY(m.setInputName(0, QStringLiteral("Host")));
    QVERIFY(m.setInputName(0, QStringLiteral("Host")));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(m.inputName(0), QStringLiteral("Host"));
    QCOMPARE(m.inputNames(0), QStringLiteral("Host"));
    QCOMPARE(m.inputTitle(0), QStringLiteral("INPUT 1\nHost"));
    QVERIFY(m.inputNames(1).isEmpty());

    deviceOptionWord = 0x400;
    QCOMPARE(m.inputName(9), QStringLiteral("DNT. 1"));
    QCOMPARE(m.inputName(30), QStringLiteral("Invalid"));
}

// The matrix names the audio-over-IP inputs after the option word the device model publishes,
// as the widget kit's text tables do.
void tst_MatrixSettings::inputNamesFollowTheDevice()
{
    TMatrixSettings m(nullptr);
    QCOMPARE(m.inputName(9), QStringLiteral("RAV. 1"));

    ksm::CCom *client = comClient();
    QVERIFY(client->connect(QStringLiteral("127.0.0.1"), m_link.fake->port(), 0));
    QTRY_COMPARE(client->state(), RpcConnection::Connected);
    m_link.fake->setList(
        QStringLiteral("device_opts"), {QStringLiteral("ravenna_2")}, QStringLiteral("general"));
    QVERIFY(comDevice()->readDeviceOptions());
    QCOMPARE(m.inputName(9), QStringLiteral("DNT. 1"));
    QCOMPARE(m.inputTitle(18), QStringLiteral("DNT. 6"));

    destroySharedObjects();
    QCOMPARE(m.inputName(9), QStringLiteral("RAV. 1"));
}

void tst_MatrixSettings::gainPacking_data()
{
    QTest::addColumn<float>("dB");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("master");

    QTest::newRow("off") << -160.0F << 0 << 0;
    QTest::newRow("zero") << 0.0F << 32 << 128;
    QTest::newRow("fraction truncates") << -3.5F << 29 << 125;
    QTest::newRow("positive fraction") << 10.7F << 42 << 138;
    QTest::newRow("lowest field value") << -31.0F << 1 << 97;
    QTest::newRow("below the field, nearer -31") << -60.0F << 1 << 68;
    QTest::newRow("below the field, nearer off") << -100.0F << 0 << 28;
    QTest::newRow("highest field value") << 31.0F << 63 << 159;
    QTest::newRow("above the field") << 40.0F << 63 << 168;
    QTest::newRow("above the byte") << 200.0F << 63 << 255;
    QTest::newRow("far below") << -1000.0F << 0 << 0;
    QTest::newRow("not a number") << std::nanf("") << 0 << 0;
}

void tst_MatrixSettings::gainPacking()
{
    QFETCH(float, dB);
    QFETCH(int, bits);
    QFETCH(int, master);
    QCOMPARE(int(TMatrixSettings::gainBits(dB)), bits);
    QCOMPARE(int(TMatrixSettings::masterGainByte(dB)), master);
    const float back = TMatrixSettings::gainFromBits(unsigned(bits));
    QCOMPARE(back, bits == 0 ? -160.0F : float(bits - 32));
}

void tst_MatrixSettings::receivedRows_data()
{
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Check>("check");

    using M = TMatrixSettings;
    const quint32 any = kFirmwareVersionUnknown;
    QTest::newRow("input row") << 0x10900U << "matrix_in5" << QByteArray("6A,Mic")
                               << Check([](const M &m) {
                                      QVERIFY(!m.node(4, 0).isOn());
                                      QVERIFY(m.node(4, 1).isOn());
                                      QVERIFY(!m.node(4, 18).isOn());
                                      QCOMPARE(m.inputNames(4), QStringLiteral("Mic"));
                                      QCOMPARE(m.inputGain(4), 10.0F);
                                      QCOMPARE(m.inputRow(4).word, quint16(0x6A));
                                  });
    QTest::newRow("input row, four digits")
        << any << "matrix_in1" << QByteArray("01C0,Talk") << Check([](const M &m) {
               QVERIFY(m.node(0, 0).isOn());
               QVERIFY(m.node(0, 1).isOn());
               QVERIFY(m.node(0, 18).isOn());
               QCOMPARE(m.inputGain(0), 0.0F);
           });
    QTest::newRow("input row, UTF-8 name, gain off")
        << any << "matrix_in6" << QByteArray("0000,Caf\xC3\xA9") << Check([](const M &m) {
               QCOMPARE(m.inputNames(5), QStringLiteral("Caf\u00E9"));
               QCOMPARE(m.inputRow(5).name, std::string("Caf\xE9"));
               QCOMPARE(m.inputGain(5), -160.0F);
           });
    // Rows are read as the unit sends them, whatever its firmware writes.
    QTest::newRow("input row, four digits on 1.13.9")
        << 0x10d09U << "matrix_in1" << QByteArray("00A0,Host") << Check([](const M &m) {
               QVERIFY(m.node(0, 0).isOn());
               QVERIFY(!m.node(0, 1).isOn());
               QCOMPARE(m.inputNames(0), QStringLiteral("Host"));
               QCOMPARE(m.inputRow(0).word, quint16(0xA0));
           });
    QTest::newRow("input row, two digits on 2.0")
        << 0x20000U << "matrix_in5" << QByteArray("9A,") << Check([](const M &m) {
               QVERIFY(m.node(4, 0).isOn());
               QCOMPARE(m.inputGain(4), -6.0F);
           });
    QTest::newRow("input row, wider word keeps its low bits")
        << any << "matrix_in5" << QByteArray("FFFF01E0,Wide") << Check([](const M &m) {
               QCOMPARE(m.inputRow(4).word, quint16(0x01E0));
               QVERIFY(m.node(4, 0).isOn() && m.node(4, 1).isOn() && m.node(4, 18).isOn());
               QCOMPARE(m.inputGain(4), 0.0F);
               QCOMPARE(m.inputNames(4), QStringLiteral("Wide"));
           });
    const Check inputsUntouched = [](const M &m) {
        QVERIFY(!m.node(2, 0).isOn());
        QCOMPARE(m.inputRow(2).word, quint16(0x20));
        QVERIFY(m.inputNames(11).isEmpty());
        QVERIFY(m.inputNames(19).isEmpty());
    };
    QTest::newRow("input row without comma")
        << any << "matrix_in3" << QByteArray("A0") << inputsUntouched;
    QTest::newRow("input row, comma too early")
        << any << "matrix_in3" << QByteArray("A,xy") << inputsUntouched;
    QTest::newRow("input 11 has no row")
        << any << "matrix_in12" << QByteArray("FF,X") << inputsUntouched;
    QTest::newRow("input row out of range")
        << any << "matrix_in20" << QByteArray("FF,X") << inputsUntouched;
    QTest::newRow("input row number below int")
        << any << "matrix_in-99999999999" << QByteArray("FF,X") << inputsUntouched;
    QTest::newRow("input row without number")
        << any << "matrix_in" << QByteArray("FF,X") << inputsUntouched;

    QTest::newRow("output row") << any << "matrix_ou11" << QByteArray("81")
                                << Check([](const M &m) {
                                       QVERIFY(m.node(20, 10).isOn());
                                       QVERIFY(m.node(19, 10).isOn());
                                       QVERIFY(!m.node(21, 10).isOn());
                                       QCOMPARE(m.outputRow(10), quint8(0x81));
                                   });
    QTest::newRow("output row 15")
        << any << "matrix_ou15" << QByteArray("7E") << Check([](const M &m) {
               for (int input : {21, 12, 13, 22, 23, 24})
                   QVERIFY(m.node(input, 14).isOn());
               QVERIFY(!m.node(20, 14).isOn());
               QVERIFY(!m.node(19, 14).isOn());
           });
    const Check outputsUntouched = [](const M &m) {
        QVERIFY(!m.node(20, 10).isOn());
        QVERIFY(!m.node(20, 9).isOn());
        QCOMPARE(m.outputRow(10), quint8(0));
    };
    QTest::newRow("output row too short")
        << any << "matrix_ou11" << QByteArray("8") << outputsUntouched;
    QTest::newRow("output 9 has no row")
        << any << "matrix_ou10" << QByteArray("FF") << outputsUntouched;

    QTest::newRow("mix row") << any << "matrix_hp2"
                             << (QStringLiteral("C540") + bytes("00", 19)).toLatin1()
                             << Check([](const M &m) {
                                    QVERIFY(m.node(0, 4).isOn());
                                    QVERIFY(m.node(0, 5).isOn());
                                    QCOMPARE(m.node(0, 4).gain, -27.0F);
                                    QCOMPARE(m.node(0, 5).gain, -27.0F);
                                    QVERIFY(m.node(2, 4).isOn());
                                    QVERIFY(!m.node(2, 5).isOn());
                                    QCOMPARE(m.node(2, 4).gain, -160.0F);
                                    QCOMPARE(m.headphoneMix(1)[0], quint8(0xC5));
                                    QCOMPARE(m.headphoneMix(1)[24], quint8(0x00));
                                    QVERIFY(m.node(1, 4).isOn()); // own input untouched
                                    QVERIFY(m.isRowKnown(TMatrixSettings::Row::Mix, 1));
                                    QVERIFY(!m.isRowKnown(TMatrixSettings::Row::Mix, 0));
                                });
    QTest::newRow("short mix row of old firmware")
        << 0x10600U << "matrix_hp1" << (QStringLiteral("80") + bytes("00", 11)).toLatin1()
        << Check([](const M &m) {
               QVERIFY(!m.node(1, 2).isOn());
               QVERIFY(m.node(1, 3).isOn());
               QCOMPARE(m.headphoneMix(0)[13], quint8(0x00));
               QCOMPARE(m.headphoneMix(0)[14], quint8(0xC0)); // beyond the text
               QVERIFY(m.isRowKnown(TMatrixSettings::Row::Mix, 0));
           });
    // A unit may send more inputs than its firmware writes, or fewer: each byte goes to its
    // input, and the inputs beyond the text keep what they had.
    QTest::newRow("mix row of 21 inputs on 1.7.9")
        << 0x10709U << "matrix_hp1" << (bytes("00", 20) + "C5").toLatin1() << Check([](const M &m) {
               QCOMPARE(m.headphoneMix(0)[24], quint8(0xC5));
               QVERIFY(m.node(24, 2).isOn() && m.node(24, 3).isOn());
               QCOMPARE(m.node(24, 2).gain, -27.0F);
               QVERIFY(!m.node(1, 2).isOn());
               QVERIFY(m.isRowKnown(TMatrixSettings::Row::Mix, 0));
           });
    QTest::newRow("mix row of 12 inputs on 2.0")
        << 0x20000U << "matrix_hp1" << bytes("00", 12).toLatin1() << Check([](const M &m) {
               QCOMPARE(m.headphoneMix(0)[13], quint8(0x00));
               QCOMPARE(m.headphoneMix(0)[14], quint8(0xC0));
               QVERIFY(m.isRowKnown(TMatrixSettings::Row::Mix, 0));
           });
    QTest::newRow("mix row with an odd digit more")
        << any << "matrix_hp3" << (bytes("00", 21) + "C").toLatin1()
        << Check([](const M &m) { QCOMPARE(m.headphoneMix(2)[24], quint8(0x00)); });
    QTest::newRow("mix row of 23 characters")
        << any << "matrix_hp2" << QByteArray("C5C5C5C5C5C5C5C5C5C5C5C") << Check([](const M &m) {
               QCOMPARE(m.headphoneMix(1)[0], quint8(0xC0));
               QVERIFY(!m.node(0, 4).isOn());
           });

    QTest::newRow("balance row") << any << "matrix_bal1" << QByteArray("000C06060606")
                                 << Check([](const M &m) {
                                        QCOMPARE(m.node(12, 2).balance, 0);
                                        QCOMPARE(m.node(12, 3).balance, 0);
                                        QCOMPARE(m.node(13, 2).balance, 12);
                                        QCOMPARE(m.headphoneBalance(0)[13], quint8(12));
                                        QCOMPARE(m.node(12, 4).balance, 6);
                                    });
    QTest::newRow("balance row too short")
        << any << "matrix_bal1" << QByteArray("00000000000")
        << Check([](const M &m) { QCOMPARE(m.node(12, 2).balance, 6); });
    QTest::newRow("configuration")
        << any << "matrix_po3" << QByteArray("01020304")
        << Check([](const M &m) { QCOMPARE(m.audioConfig(2), config(1, 2, 3, 4)); });
    QTest::newRow("configuration 5")
        << any << "matrix_po5" << QByteArray("01020304")
        << Check([](const M &m) { QCOMPARE(m.audioConfig(3), config(0, 0, 0, 0)); });
    QTest::newRow("options") << any << "matrix_opt" << QByteArray("40000001")
                             << Check([](const M &m) { QCOMPARE(m.options(), 0x40000001U); });
    QTest::newRow("options too short") << any << "matrix_opt" << QByteArray("4000000")
                                       << Check([](const M &m) { QCOMPARE(m.options(), 0U); });
    QTest::newRow("master gain") << any << "matrix_mgn" << QByteArray("7D820000")
                                 << Check([](const M &m) {
                                        QCOMPARE(m.masterGain(), 0x7D820000U);
                                        QCOMPARE(m.outputGain(0), -3.0F);
                                        QCOMPARE(m.outputGain(18), -3.0F);
                                        QCOMPARE(m.outputGain(1), 2.0F);
                                    });
    QTest::newRow("volume") << any << "matrix_vol" << QByteArray("C1C0E0E0")
                            << Check([](const M &m) {
                                   QCOMPARE(m.volume(), 0xE0E0C0C1U);
                                   QCOMPARE(m.node(0, 2).gain, -31.0F);
                                   QCOMPARE(m.node(0, 3).gain, -31.0F);
                                   QCOMPARE(m.node(1, 4).gain, -160.0F);
                                   QCOMPARE(m.node(2, 6).gain, 0.0F);
                               });
    // The other rows are read from their start too; what follows their digits is not looked at.
    QTest::newRow("output row, more digits")
        << any << "matrix_ou11" << QByteArray("810")
        << Check([](const M &m) { QCOMPARE(m.outputRow(10), quint8(0x81)); });
    QTest::newRow("balance row, more digits")
        << any << "matrix_bal1" << QByteArray("000C060606060")
        << Check([](const M &m) { QCOMPARE(m.node(13, 2).balance, 12); });
    QTest::newRow("configuration, more digits")
        << any << "matrix_po3" << QByteArray("2147483647")
        << Check([](const M &m) { QCOMPARE(m.audioConfig(2), config(0x21, 0x47, 0x48, 0x36)); });
    QTest::newRow("volume, more digits")
        << any << "matrix_vol" << QByteArray("C1C0E0E0E0")
        << Check([](const M &m) { QCOMPARE(m.volume(), 0xE0E0C0C1U); });
    QTest::newRow("unknown key") << any << "matrix_xyz" << QByteArray("00000000")
                                 << Check([](const M &m) { QCOMPARE(m.options(), 0U); });

    // A row whose digits read are not all hexadecimal is refused whole: none of it becomes
    // routing, and a mix row stays unread.
    const Check refused = [](const M &m) {
        const TMatrixSettings fresh(nullptr);
        for (int input = 0; input < M::InputRowCount; ++input)
            QVERIFY(m.inputRow(input) == fresh.inputRow(input));
        for (int output = 10; output <= 14; ++output)
            QCOMPARE(m.outputRow(output), fresh.outputRow(output));
        for (int h = 0; h < M::HeadphoneCount; ++h) {
            QVERIFY(m.headphoneMix(h) == fresh.headphoneMix(h));
            QVERIFY(!m.isRowKnown(TMatrixSettings::Row::Mix, h));
            QVERIFY(m.headphoneBalance(h) == fresh.headphoneBalance(h));
            QVERIFY(m.audioConfig(h) == fresh.audioConfig(h));
        }
        QCOMPARE(m.options(), fresh.options());
        QCOMPARE(m.masterGain(), fresh.masterGain());
        QCOMPARE(m.volume(), fresh.volume());
        for (int input = 0; input < M::InputCount; ++input) {
            for (int output = 0; output < M::OutputCount; ++output) {
                QCOMPARE(m.node(input, output).flags, fresh.node(input, output).flags);
                QCOMPARE(m.node(input, output).gain, fresh.node(input, output).gain);
                QCOMPARE(m.node(input, output).balance, fresh.node(input, output).balance);
            }
        }
    };
    const QByteArray megabyte(1024 * 1024, 'x');
    QTest::newRow("input row, not hex") << any << "matrix_in5" << QByteArray("ZZZZ,Y") << refused;
    QTest::newRow("input row, negative") << any << "matrix_in5" << QByteArray("-1,Y") << refused;
    QTest::newRow("input row, blank in the word")
        << 0x10d09U << "matrix_in1" << QByteArray("00 A0,Host") << refused;
    QTest::newRow("output row, negative") << any << "matrix_ou11" << QByteArray("-1") << refused;
    QTest::newRow("mix row, megabyte") << any << "matrix_hp2" << megabyte << refused;
    QTest::newRow("mix row, last byte not hex")
        << any << "matrix_hp1" << (bytes("C0", 20) + "Cx").toLatin1() << refused;
    QTest::newRow("mix row, short row not hex")
        << 0x10600U << "matrix_hp1" << (bytes("C0", 11) + "-1").toLatin1() << refused;
    QTest::newRow("balance row, not hex")
        << any << "matrix_bal1" << QByteArray("00000000000x") << refused;
    QTest::newRow("configuration, letters")
        << any << "matrix_po3" << QByteArray("0102030x") << refused;
    QTest::newRow("options, negative") << any << "matrix_opt" << QByteArray("-2147483") << refused;
    QTest::newRow("master gain, negative")
        << any << "matrix_mgn" << QByteArray("-2147483648") << refused;
    QTest::newRow("master gain, megabyte") << any << "matrix_mgn" << megabyte << refused;
    QTest::newRow("volume, not hex") << any << "matrix_vol" << QByteArray("C1C0E0EZ") << refused;
}

void tst_MatrixSettings::receivedRows()
{
    QFETCH(quint32, firmware);
    QFETCH(QString, key);
    QFETCH(QByteArray, text);
    QFETCH(Check, check);

    firmwareVersion = firmware;
    TMatrixSettings m(nullptr);
    QVERIFY(m.applyParams({{key.toStdString(), text.toStdString()}}));
    check(m);
}

void tst_MatrixSettings::sentRows_data()
{
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("key"); // empty: nothing is sent
    QTest::addColumn<QString>("text");

    using M = TMatrixSettings;
    const quint32 any = kFirmwareVersionUnknown;
    const auto on
        = [](int i, int o) { return Action([=](M &m) { return m.setNodeOn(i, o, true); }); };

    // Input rows.
    QTest::newRow("in, 2.0") << 0x20000U << on(0, 0) << "matrix_in1"
                             << "00A0,";
    QTest::newRow("in, 1.9") << 0x10900U << on(0, 0) << "matrix_in1"
                             << "A0,";
    QTest::newRow("in, output 18") << 0x20000U << on(0, 18) << "matrix_in1"
                                   << "0120,";
    QTest::newRow("in, output 1") << 0x20000U << on(0, 1) << "matrix_in1"
                                  << "0060,";
    QTest::newRow("in, name") << 0x20000U << Action([](M &m) {
        return m.setInputName(4, QStringLiteral("Caf\u00E9"));
    }) << "matrix_in5"
                              << "0020,Caf\u00E9";
    QTest::newRow("in, gain") << 0x10900U << Action([](M &m) { return m.setInputGain(5, -6.0F); })
                              << "matrix_in6"
                              << "1A,";
    QTest::newRow("in, gain above field")
        << 0x10900U << Action([](M &m) { return m.setInputGain(5, 40.0F); }) << "matrix_in6"
        << "3F,";
    QTest::newRow("in, gain below field")
        << 0x10900U << Action([](M &m) { return m.setInputGain(5, -40.0F); }) << "matrix_in6"
        << "01,";
    QTest::newRow("in, gain off") << 0x10900U
                                  << Action([](M &m) { return m.setInputGain(5, -160.0F); })
                                  << "matrix_in6"
                                  << "00,";
    QTest::newRow("in, gain of input 2 not in row")
        << any << Action([](M &m) { return m.setInputGain(2, 5.0F); }) << ""
        << "";
    // The row of inputs 0 to 3 holds no gain: theirs is no reason to write it, whatever bits the
    // unit's row has. A row written for another reason is built as its format says, 0x20 in
    // the gain field and no bits beyond routing.
    const auto reported = [](const char *row) {
        return [row](M &m) { return m.applyParams({{"matrix_in4", row}}); };
    };
    QTest::newRow("in, gain of input 3 beside bits of the unit's")
        << any << Action([=](M &m) { return reported("FE3F,X")(m) && m.setInputGain(3, 7.0F); })
        << ""
        << "";
    QTest::newRow("in, node beside bits of the unit's")
        << 0x20000U
        << Action([=](M &m) { return reported("FE3F,X")(m) && m.setNodeOn(3, 0, true); })
        << "matrix_in4"
        << "00A0,X";
    // A unit before 2.0 that sends four-digit words gets back its own row, in its firmware's
    // width, with only the operator's change: the name and the routing stay.
    const auto received = [](const char *key, const char *row, Action change) {
        return Action([=](M &m) { return m.applyParams({{key, row}}) && change(m); });
    };
    QTest::newRow("in, four-digit row of 1.13.9 written back")
        << 0x10d09U
        << received("matrix_in1", "00A0,Host", [](M &m) { return m.setNodeOn(0, 0, false); })
        << "matrix_in1"
        << "20,Host";
    QTest::newRow("in, gain step on 1.7.9")
        << 0x10709U
        << received("matrix_in5", "009A,", [](M &m) { return m.setInputGain(4, -5.0F); })
        << "matrix_in5"
        << "9B,";
    QTest::newRow("in 15 on 1.6") << 0x106ffU << on(15, 0) << ""
                                  << "";
    QTest::newRow("in 15 on 1.7") << 0x10700U << on(15, 0) << "matrix_in16"
                                  << "A0,";
    QTest::newRow("in 18 on 1.7") << 0x10700U << on(18, 0) << ""
                                  << "";
    QTest::newRow("in 18 on 1.13") << 0x10d00U << on(18, 0) << "matrix_in19"
                                   << "A0,";
    QTest::newRow("input 11 has no row") << any << on(11, 0) << ""
                                         << "";
    QTest::newRow("input 12 has no row") << any << on(12, 0) << ""
                                         << "";

    // Output rows.
    QTest::newRow("ou 11") << any << on(20, 10) << "matrix_ou11"
                           << "01";
    QTest::newRow("ou 13") << any << on(19, 12) << "matrix_ou13"
                           << "80";
    QTest::newRow("ou 15 on 1.6") << 0x106ffU << on(20, 14) << ""
                                  << "";
    QTest::newRow("ou 15 on 1.7") << 0x10700U << on(20, 14) << "matrix_ou15"
                                  << "01";
    QTest::newRow("ou, input outside the row") << any << on(5, 10) << ""
                                               << "";

    // Headphone mixes: the row's length follows the firmware.
    QTest::newRow("hp, 1.6") << 0x10600U << on(0, 4) << "matrix_hp2"
                             << "40" + bytes("00", 11);
    QTest::newRow("hp, 1.7") << 0x10700U << on(0, 4) << "matrix_hp2"
                             << "40" + bytes("00", 15);
    QTest::newRow("hp, 1.13") << 0x10d00U << on(0, 4) << "matrix_hp2"
                              << "40" + bytes("00", 20);
    QTest::newRow("hp, right cell") << any << on(0, 5) << "matrix_hp2"
                                    << "80" + bytes("00", 20);
    QTest::newRow("hp, left gain clamped")
        << any << Action([](M &m) { return m.setNodeGain(2, 2, 40.0F); }) << "matrix_hp1"
        << "003F" + bytes("00", 19);
    QTest::newRow("hp, right gain is not in the row")
        << any << Action([](M &m) { return m.setNodeGain(2, 3, 6.0F); }) << ""
        << "";
    QTest::newRow("hp, input 11") << any << on(11, 2) << ""
                                  << "";
    QTest::newRow("hp, input 22 outside the row") << any << on(22, 2) << ""
                                                  << "";
    QTest::newRow("hp, input 20 beyond 1.7's row") << 0x10700U << on(20, 2) << ""
                                                   << "";
    QTest::newRow("hp edit, input 20 beyond 1.7's row") << 0x10709U << Action([](M &m) {
        const M::HeadphoneMix before = m.beginHeadphoneEdit(0);
        return m.setNodeOn(20, 2, true) && m.commitHeadphoneEdit(0, before);
    }) << ""
                                                        << "";

    // Own-input volume.
    QTest::newRow("vol") << 0x10800U << Action([](M &m) { return m.setNodeGain(0, 2, -6.0F); })
                         << "matrix_vol"
                         << "DAE0E0E0";
    QTest::newRow("vol, headphone 4 off")
        << any << Action([](M &m) { return m.setNodeGain(3, 8, -160.0F); }) << "matrix_vol"
        << "E0E0E0C0";
    QTest::newRow("vol, right cell")
        << any << Action([](M &m) { return m.setNodeGain(1, 5, 3.0F); }) << ""
        << "";

    // Balance.
    QTest::newRow("bal") << any << Action([](M &m) { return m.setNodeBalance(20, 2, 0); })
                         << "matrix_bal1"
                         << "060606000606";
    QTest::newRow("bal 4") << any << Action([](M &m) { return m.setNodeBalance(24, 9, 12); })
                           << "matrix_bal4"
                           << "06060606060C";
    QTest::newRow("bal clamped to a byte")
        << any << Action([](M &m) { return m.setNodeBalance(20, 2, 300); }) << "matrix_bal1"
        << "060606FF0606";
    QTest::newRow("bal, input outside the row")
        << any << Action([](M &m) { return m.setNodeBalance(5, 2, 0); }) << ""
        << "";

    // Words.
    QTest::newRow("mgn") << 0x10600U << Action([](M &m) { return m.setOutputGain(18, -3.0F); })
                         << "matrix_mgn"
                         << "7D800000";
    QTest::newRow("mgn, off clamped")
        << any << Action([](M &m) { return m.setOutputGain(0, -160.0F); }) << "matrix_mgn"
        << "00800000";
    QTest::newRow("mgn, coordination")
        << any << Action([](M &m) { return m.setOutputGain(1, 200.0F); }) << "matrix_mgn"
        << "80FF0000";
    QTest::newRow("output 5 has no word")
        << any << Action([](M &m) { return m.setOutputGain(5, -6.0F); }) << ""
        << "";
    QTest::newRow("opt") << any
                         << Action([](M &m) { return m.setMatrixOptions(0x20000000U, true); })
                         << "matrix_opt"
                         << "20000000";
    QTest::newRow("opt without send")
        << any << Action([](M &m) { return m.setMatrixOptions(0x20000000U, false); }) << ""
        << "";
    QTest::newRow("po") << any << Action([](M &m) {
        return m.setAudioConfig(3, config(1, 2, 3, 4), true);
    }) << "matrix_po4"
                        << "01020304";
}

void tst_MatrixSettings::sentRows()
{
    QFETCH(quint32, firmware);
    QFETCH(Action, action);
    QFETCH(QString, key);
    QFETCH(QString, text);

    firmwareVersion = firmware;
    TMatrixSettings m(m_link.com.get());
    startReady(m);

    QVERIFY(action(m));
    const QList<FakeRequest> requests = m_link.fake->requests();
    if (key.isEmpty()) {
        QCOMPARE(requests.size(), 0);
        return;
    }
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().target(), kAudio);
    QCOMPARE(requests.first().message.params.size(), 2);
    QCOMPARE(requests.first().value(key), text);
}

void tst_MatrixSettings::nodeFactor_data()
{
    QTest::addColumn<Action>("setup");
    QTest::addColumn<int>("input");
    QTest::addColumn<int>("output");
    QTest::addColumn<double>("factor");

    using M = TMatrixSettings;
    QTest::newRow("unity") << Action([](M &m) { return m.setNodeOn(7, 0, true); }) << 7 << 0 << 1.0;
    QTest::newRow("natural exponential") << Action([](M &m) {
        return m.setInputGain(7, -6.0F) && m.setNodeGain(7, 0, -14.0F) && m.setNodeOn(7, 0, true);
    }) << 7 << 0 << std::exp(-1.0);
    QTest::newRow("off") << Action([](M &m) { return m.setNodeGain(7, 0, 6.0F); }) << 7 << 0 << 0.0;
    QTest::newRow("default headphone cell") << Action([](M &) { return true; }) << 0 << 2 << 1.0;

    const auto balanced = [](int input, int output, int balance, int mode) {
        return Action([=](M &m) {
            m.setOperationMode(mode);
            return m.setNodeOn(input, output, true) && m.setNodeBalance(input, output, balance);
        });
    };
    QTest::newRow("column A, balance 0") << balanced(20, 4, 0, 1) << 20 << 4 << std::exp(-3.5);
    QTest::newRow("column A, balance 12") << balanced(20, 4, 12, 1) << 20 << 4 << 1.0;
    QTest::newRow("column B, balance 12") << balanced(13, 4, 12, 1) << 13 << 4 << std::exp(-3.5);
    QTest::newRow("column B, balance 3") << balanced(19, 9, 3, 1) << 19 << 9 << std::exp(-3.0 / 20);
    QTest::newRow("standard mode") << balanced(20, 4, 0, 0) << 20 << 4 << 1.0;
    QTest::newRow("not a headphone output") << balanced(20, 10, 0, 1) << 20 << 10 << 1.0;
    QTest::newRow("input without balance") << balanced(5, 4, 0, 1) << 5 << 4 << 1.0;
    QTest::newRow("balance above the table") << balanced(20, 4, 200, 1) << 20 << 4 << 1.0;
    QTest::newRow("balance below the table") << balanced(20, 4, -5, 1) << 20 << 4 << std::exp(-3.5);

    QTest::newRow("priority ducks others") << Action([](M &m) {
        m.setPriorityInput(5, 0);
        return m.setNodeOn(6, 0, true);
    }) << 6 << 0 << std::exp(-12.0 / 20);
    QTest::newRow("priority mutes others") << Action([](M &m) {
        m.setPriorityInput(5, 0);
        return m.setMatrixOptions(TMatrixSettings::OptionPriorityMutes, false)
               && m.setNodeOn(6, 0, true);
    }) << 6 << 0 << std::exp(-8.0);
    QTest::newRow("priority set after the cell") << Action([](M &m) {
        const bool ok = m.setNodeOn(6, 0, true);
        m.setPriorityInput(5, 0);
        return ok;
    }) << 6 << 0 << std::exp(-12.0 / 20);
    QTest::newRow("priority cleared") << Action([](M &m) {
        m.setPriorityInput(5, 0);
        const bool ok = m.setNodeOn(6, 0, true);
        m.clearPriorityInput(5, 0);
        return ok;
    }) << 6 << 0 << 1.0;
    QTest::newRow("priority input ignores attenuation, even off") << Action([](M &m) {
        m.setPriorityInput(5, 0);
        return m.setInputGain(5, 3.0F) && m.setNodeGain(5, 0, -10.0F);
    }) << 5 << 0 << std::exp(3.0 / 20);
    QTest::newRow("priority input keeps boosts") << Action([](M &m) {
        m.setPriorityInput(5, 0);
        return m.setInputGain(5, 3.0F) && m.setNodeGain(5, 0, 6.0F);
    }) << 5 << 0 << std::exp(9.0 / 20);

    QTest::newRow("copy passes the source factor on") << Action([](M &m) {
        m.copyOutput(3, 5);
        return m.setNodeOn(7, 3, true) && m.setNodeGain(7, 3, -20.0F);
    }) << 7 << 5 << std::exp(-1.0);
    QTest::newRow("copy takes the source factor") << Action([](M &m) {
        const bool ok = m.setNodeOn(7, 3, true);
        m.copyOutput(3, 5);
        return ok;
    }) << 7 << 5 << 1.0;
    QTest::newRow("following cell is not recomputed") << Action([](M &m) {
        m.copyOutput(3, 5);
        return m.setNodeOn(7, 5, true);
    }) << 7 << 5 << 0.0;
    QTest::newRow("removed copy recomputes") << Action([](M &m) {
        m.copyOutput(3, 5);
        const bool ok = m.setNodeOn(7, 5, true);
        m.removeOutputCopy(3, 5);
        return ok;
    }) << 7 << 5 << 1.0;
    QTest::newRow("programme copy silences") << Action([](M &m) {
        const bool ok = m.setNodeOn(7, 6, true);
        m.copyOutput(0, 6);
        return ok;
    }) << 7 << 6 << 0.0;
    QTest::newRow("programme copy keeps its partner") << Action([](M &m) {
        m.copyOutput(0, 6);
        return true;
    }) << 20 << 6 << 1.0;
    QTest::newRow("silenced cell takes no factor") << Action([](M &m) {
        m.copyOutput(0, 6);
        return m.setNodeOn(7, 0, true);
    }) << 7 << 6 << 0.0;
    QTest::newRow("headphone copy keeps the own input") << Action([](M &m) {
        m.copyOutput(2, 4);
        return true;
    }) << 1 << 4 << 1.0;
}

void tst_MatrixSettings::nodeFactor()
{
    QFETCH(Action, setup);
    QFETCH(int, input);
    QFETCH(int, output);
    QFETCH(double, factor);

    TMatrixSettings m(nullptr);
    QVERIFY(setup(m));
    QVERIFY2(sameFactor(m.node(input, output).linear, factor),
             qPrintable(QStringLiteral("%1 != %2").arg(m.node(input, output).linear).arg(factor)));
}

void tst_MatrixSettings::offCellStillSignals()
{
    // recomputeNode() and the gain signals wait for construction; after it, a cell that is off
    // still signals when recomputed with emit.
    TMatrixSettings m(nullptr);
    QSignalSpy nodeSpy(&m, &TMatrixSettings::nodeChanged);
    QSignalSpy gainSpy(&m, &TMatrixSettings::inputGainChanged);
    m.recomputeNode(7, 0, true);
    QCOMPARE(m.node(7, 0).linear, 0.0F);
    QCOMPARE(nodeSpy.count(), 1);
    QVERIFY(m.setInputGain(7, 3.0F));
    QCOMPARE(gainSpy.count(), 1);
    QCOMPARE(nodeSpy.count(), 1); // the input sweep emits no per-cell signal
}

void tst_MatrixSettings::copies()
{
    TMatrixSettings m(nullptr);
    QSignalSpy spy(&m, &TMatrixSettings::nodeCopyChanged);

    m.copyOutput(2, 4);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<QVantel::Outputs>(), QVantel::Outputs(2));
    QCOMPARE(spy.at(0).at(1).value<QVantel::Outputs>(), QVantel::Outputs(4));
    QVERIFY(m.isCopyTarget(4));
    QVERIFY(!m.isCopyTarget(2));
    QCOMPARE(m.copySource(4), 2);
    QCOMPARE(m.copySource(2), -1);
    QCOMPARE(m.copyState(2), TMatrixSettings::CopySource | (1U << 4));
    QCOMPARE(m.copyState(4), TMatrixSettings::CopyTarget | (1U << 2));
    // Headphone 1's own input (0 for outputs 2/3) and headphone 2's own input (1 for 4/5) do not
    // follow; the others do.
    QCOMPARE(m.node(0, 4).flags & TMatrixSettings::NodeFollowsCopy, 0U);
    QCOMPARE(m.node(1, 4).flags & TMatrixSettings::NodeFollowsCopy, 0U);
    QVERIFY(m.node(2, 4).flags & TMatrixSettings::NodeFollowsCopy);

    // A copy target cannot be a source; a source cannot become a target.
    m.copyOutput(4, 6);
    QVERIFY(!m.isCopyTarget(6));
    m.copyOutput(6, 2);
    QVERIFY(!m.isCopyTarget(2));
    // Only the existing copy can be removed.
    m.removeOutputCopy(3, 4);
    QVERIFY(m.isCopyTarget(4));
    QCOMPARE(spy.count(), 1);

    m.removeOutputCopy(2, 4);
    QCOMPARE(spy.count(), 2);
    QVERIFY(!m.isCopyTarget(4));
    QCOMPARE(m.copyState(4), 0U);
    QCOMPARE(m.node(2, 4).flags & TMatrixSettings::NodeFollowsCopy, 0U);
    // The source keeps its mark, so it is not free.
    QCOMPARE(m.copyState(2), TMatrixSettings::CopySource);
    m.copyOutput(6, 2);
    QVERIFY(!m.isCopyTarget(2));
    QCOMPARE(spy.count(), 2);

    // Programme copies: the partner cell is switched on without following.
    m.copyOutput(18, 19);
    QCOMPARE(m.copySource(19), 18);
    QVERIFY(m.node(24, 19).isOn());
    QCOMPARE(m.node(24, 19).flags & TMatrixSettings::NodeFollowsCopy, 0U);
    QCOMPARE(m.node(7, 19).flags,
             TMatrixSettings::NodeFollowsCopy | TMatrixSettings::NodeSilencedByCopy);
    m.removeOutputCopy(18, 19);
    QVERIFY(!m.node(24, 19).isOn());
    QCOMPARE(m.node(7, 19).flags, 0U);

    // Outputs outside the copy set, and a copy onto itself, do nothing.
    m.copyOutput(3, 12);
    m.copyOutput(3, 3);
    m.copyOutput(-1, 3);
    QVERIFY(!m.isCopyTarget(12));
    QVERIFY(!m.isCopyTarget(3));
    QCOMPARE(m.copySource(25), -1);
    QCOMPARE(spy.count(), 4);
}

void tst_MatrixSettings::cellSetterOutcomes()
{
    TMatrixSettings m(m_link.com.get());
    // Before start nothing is sent; rows are stored.
    QVERIFY(m.setNodeOn(2, 0, true));
    QCOMPARE(m.inputRow(2).word, quint16(0xA0));
    QCOMPARE(m_link.fake->requestCount(), 0);
    startReady(m);
    QSignalSpy spy(&m, &TMatrixSettings::nodeChanged);

    // Unchanged: no request, no signal.
    QVERIFY(m.setNodeOn(0, 2, true));
    QVERIFY(m.setNodeGain(0, 2, 0.0F));
    QVERIFY(m.setNodeBalance(12, 2, 6));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(m_link.fake->requestCount(), 0);

    // Accepted: one write, the row stored, one signal.
    QVERIFY(m.setNodeOn(0, 0, true));
    QCOMPARE(m_link.fake->requestCount(), 1);
    QCOMPARE(m.inputRow(0).word, quint16(0xA0));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<QVantel::Inputs>(), QVantel::Inputs(0));
    QCOMPARE(spy.at(0).at(1).value<QVantel::Outputs>(), QVantel::Outputs(0));
    QCOMPARE(m.node(0, 0).linear, 1.0F);

    // Refused: false, the stored row stays; the cell carries the change for the next write.
    m_link.fake->refuseKey(QStringLiteral("matrix_in2"), QStringLiteral("015-not allowed"));
    QVERIFY(!m.setNodeOn(1, 0, true));
    QCOMPARE(m.inputRow(1).word, quint16(0x20));
    QVERIFY(m.node(1, 0).isOn());
    QCOMPARE(spy.count(), 2);
    // A refused name is put back and not announced.
    QSignalSpy names(&m, &TMatrixSettings::inputNameChanged);
    QVERIFY(!m.setInputName(1, QStringLiteral("Feed")));
    QCOMPARE(m.inputNames(1), QString());
    QCOMPARE(names.count(), 0);
    m_link.fake->acceptKey(QStringLiteral("matrix_in2"));
    m_link.fake->clearLog();
    QVERIFY(m.setInputName(1, QStringLiteral("Guest")));
    QCOMPARE(m_link.fake->lastRequest().value(QStringLiteral("matrix_in2")),
             QStringLiteral("00A0,Guest"));
    QCOMPARE(m.inputRow(1).word, quint16(0xA0));

    m_link.fake->refuseKey(QStringLiteral("matrix_hp1"), QStringLiteral("015-not allowed"));
    QVERIFY(!m.setNodeGain(5, 2, -6.0F));
    QCOMPARE(m.headphoneMix(0)[5], quint8(0x00));
    QCOMPARE(m.node(5, 2).gain, -6.0F);
}

void tst_MatrixSettings::wordSetterOutcomes()
{
    TMatrixSettings m(m_link.com.get());
    startReady(m);
    QSignalSpy gainSpy(&m, &TMatrixSettings::outputGainChanged);
    QSignalSpy optionSpy(&m, &TMatrixSettings::matrixOptionsChanged);
    QSignalSpy configSpy(&m, &TMatrixSettings::audioConfigChanged);

    // Outputs 0 and 18 move together.
    QVERIFY(m.setOutputGain(18, -3.0F));
    QCOMPARE(m.outputGain(0), -3.0F);
    QCOMPARE(m.masterGain(), 0x7D800000U);
    QCOMPARE(gainSpy.count(), 2);
    QCOMPARE(m_link.fake->requestCount(), 1);

    m_link.fake->refuseKey(QStringLiteral("matrix_mgn"), QStringLiteral("015-not allowed"));
    QVERIFY(!m.setOutputGain(1, 6.0F));
    QCOMPARE(m.outputGain(1), 0.0F);
    QCOMPARE(m.masterGain(), 0x7D800000U);
    QCOMPARE(gainSpy.count(), 2);

    QVERIFY(m.setMatrixOptions(0x20000000U, true));
    QVERIFY(m.setMatrixOptions(0x20000001U, true));
    QCOMPARE(optionSpy.count(), 2);
    QCOMPARE(optionSpy.at(1).at(0).value<TMatrixSettings::MatrixOpts>(), 0x20000000U);
    m_link.fake->refuseKey(QStringLiteral("matrix_opt"), QStringLiteral("015-not allowed"));
    QVERIFY(!m.setMatrixOptions(0U, true));
    QCOMPARE(m.options(), 0x20000001U);
    QCOMPARE(optionSpy.count(), 2);

    QVERIFY(m.setAudioConfig(1, config(4, 3, 2, 1), true));
    QCOMPARE(configSpy.count(), 1);
    QCOMPARE(configSpy.at(0).at(0).value<QVantel::Inputs>(), QVantel::Inputs(1));
    QVERIFY(m.setAudioConfig(4, config(4, 3, 2, 1), true));
    m_link.fake->refuseKey(QStringLiteral("matrix_po1"), QStringLiteral("015-not allowed"));
    QVERIFY(!m.setAudioConfig(0, config(0, 0, 0, 0), true));
    QCOMPARE(m.audioConfig(0), config(2, 3, 4, 0x0E));
    QCOMPARE(configSpy.count(), 1);

    m.setStoredGain(2, -4.5F);
    m.setStoredGain(4, 1.0F);
    QCOMPARE(m.auxGain(2), -4.5F);
    QCOMPARE(m.auxGain(4), 0.0F);
}

void tst_MatrixSettings::headphoneEdit()
{
    TMatrixSettings m(m_link.com.get());
    startReady(m);

    TMatrixSettings::HeadphoneMix before = m.beginHeadphoneEdit(0);
    QVERIFY(m.setNodeOn(5, 2, true));
    QVERIFY(m.setNodeGain(5, 2, -6.0F));
    QCOMPARE(m_link.fake->requestCount(), 0);
    QCOMPARE(m.headphoneMix(0)[5], quint8(0x5A));
    QVERIFY(m.commitHeadphoneEdit(0, before));
    QCOMPARE(m_link.fake->requestCount(), 1);
    QCOMPARE(m_link.fake->lastRequest().value(QStringLiteral("matrix_hp1")),
             bytes("00", 4) + QStringLiteral("5A") + bytes("00", 16));

    // Nothing changed, no edit open, or no such headphone: true without a write.
    m_link.fake->clearLog();
    before = m.beginHeadphoneEdit(0);
    QVERIFY(m.commitHeadphoneEdit(0, before));
    QVERIFY(m.commitHeadphoneEdit(0, TMatrixSettings::HeadphoneMix{}));
    const TMatrixSettings::HeadphoneMix none = m.beginHeadphoneEdit(7);
    QCOMPARE(none[3], quint8(0xC0));
    QVERIFY(m.commitHeadphoneEdit(7, TMatrixSettings::HeadphoneMix{}));
    QCOMPARE(m_link.fake->requestCount(), 0);

    // A received mix row during an edit only updates the record.
    before = m.beginHeadphoneEdit(2);
    ksm::CMsg info(ksm::CMsg::Info);
    info.setParam("info_type", "audio_changeset");
    info.setParam("matrix_hp3", "C0" + std::string(40, '0'));
    QVERIFY(m.handleInfo(info));
    QCOMPARE(m.headphoneMix(2)[0], quint8(0xC0));
    QVERIFY(!m.node(0, 6).isOn());
    m_link.fake->refuseKey(QStringLiteral("matrix_hp3"), QStringLiteral("015-not allowed"));
    QVERIFY(!m.commitHeadphoneEdit(2, before));
    QCOMPARE(m_link.fake->requestCount(), 1);
}

namespace {

// What a row write could change in the model, to compare before and after.
struct Snapshot
{
    QList<quint32> flags;
    QList<float> gains;
    QList<int> balances;
    QList<QString> names;
    QList<float> inputGains;
    QList<float> outputGains;
    QList<TMatrixSettings::AudioConfig> configs;
    QList<quint32> words;

    explicit Snapshot(const TMatrixSettings &m)
        : words({m.options(), m.masterGain(), m.volume()})
    {
        for (int input = 0; input < TMatrixSettings::InputCount; ++input) {
            names << m.inputNames(input);
            inputGains << m.inputGain(input);
            for (int output = 0; output < TMatrixSettings::OutputCount; ++output) {
                if (input == 0)
                    outputGains << m.outputGain(output);
                flags << m.node(input, output).flags;
                gains << m.node(input, output).gain;
                balances << m.node(input, output).balance;
            }
        }
        for (int position = 0; position < TMatrixSettings::HeadphoneCount; ++position)
            configs << m.audioConfig(position);
    }
    bool operator==(const Snapshot &other) const
    {
        return flags == other.flags && gains == other.gains && balances == other.balances
               && names == other.names && inputGains == other.inputGains
               && outputGains == other.outputGains && configs == other.configs
               && words == other.words;
    }
};

} // namespace

// A row the unit did not send (or sent in a form that is not read), or a balance row or word its
// firmware never sends, is never written: the change that would write it is refused and changes
// nothing, and the other rows are written as before.
void tst_MatrixSettings::missingRowsAreNotWritten_data()
{
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("unitValue"); // empty: the unit does not send the row
    QTest::addColumn<Action>("change");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("index");

    using M = TMatrixSettings;
    using Row = TMatrixSettings::Row;
    const quint32 any = kFirmwareVersionUnknown;
    QTest::newRow("input routing")
        << any << "matrix_in1" << QString() << Action([](M &m) { return m.setNodeOn(0, 0, true); })
        << int(Row::Input) << 0;
    QTest::newRow("input name") << any << "matrix_in5" << QString() << Action([](M &m) {
        return m.setInputName(4, QStringLiteral("Feed"));
    }) << int(Row::Input) << 4;
    QTest::newRow("input gain, row not hex")
        << any << "matrix_in5"
        << "ZZ,Studio" << Action([](M &m) { return m.setInputGain(4, -6.0F); }) << int(Row::Input)
        << 4;
    QTest::newRow("output routing")
        << any << "matrix_ou11" << QString()
        << Action([](M &m) { return m.setNodeOn(20, 10, true); }) << int(Row::Output) << 10;
    QTest::newRow("mix routing") << any << "matrix_hp2" << QString()
                                 << Action([](M &m) { return m.setNodeOn(8, 4, true); })
                                 << int(Row::Mix) << 1;
    QTest::newRow("mix gain, row not hex")
        << any << "matrix_hp2" << bytes("C0", 20) + "Cx"
        << Action([](M &m) { return m.setNodeGain(8, 4, -6.0F); }) << int(Row::Mix) << 1;
    QTest::newRow("mix edit") << any << "matrix_hp1" << QString() << Action([](M &m) {
        const M::HeadphoneMix before = m.beginHeadphoneEdit(0);
        const bool routed = m.setNodeOn(8, 2, true) || m.setNodeGain(8, 3, 3.0F);
        return m.commitHeadphoneEdit(0, before) && routed;
    }) << int(Row::Mix) << 0;
    QTest::newRow("balance") << any << "matrix_bal2" << QString()
                             << Action([](M &m) { return m.setNodeBalance(20, 4, 0); })
                             << int(Row::Balance) << 1;
    QTest::newRow("position") << any << "matrix_po2" << QString() << Action([](M &m) {
        return m.setAudioConfig(1, config(9, 3, 4, 14), true);
    }) << int(Row::Position) << 1;

    // The words: the side tone of headphone 2 would carry the other three headphones' bytes, a
    // master gain the other output's byte and the low half, the options every other bit.
    const Action sideTone = [](M &m) { return m.setNodeGain(1, 4, -10.0F); };
    const Action coordination = [](M &m) { return m.setOutputGain(1, -3.0F); };
    QTest::newRow("volume") << any << "matrix_vol" << QString() << sideTone << int(Row::Volume)
                            << 0;
    QTest::newRow("master gain") << any << "matrix_mgn" << QString() << coordination
                                 << int(Row::MasterGain) << 0;
    QTest::newRow("master gain, word not hex")
        << any << "matrix_mgn"
        << "80-00000" << Action([](M &m) { return m.setMasterGain(0x7F800000U, true); })
        << int(Row::MasterGain) << 0;
    QTest::newRow("options") << any << "matrix_opt" << QString()
                             << Action([](M &m) { return m.setMatrixOptions(0x20000000U, true); })
                             << int(Row::Options) << 0;
    // Rows and words the firmware never sends: the unit has them on record, they are not read.
    QTest::newRow("volume before 1.8") << 0x107ffU << "matrix_vol"
                                       << "E0E0E0E0" << sideTone << int(Row::Volume) << 0;
    QTest::newRow("master gain before 1.6")
        << 0x105ffU << "matrix_mgn"
        << "80800000" << coordination << int(Row::MasterGain) << 0;
    QTest::newRow("balance before 2.0")
        << 0x10d09U << "matrix_bal1"
        << "060606060606" << Action([](M &m) { return m.setNodeBalance(20, 2, 0); })
        << int(Row::Balance) << 0;
}

void tst_MatrixSettings::missingRowsAreNotWritten()
{
    QFETCH(quint32, firmware);
    QFETCH(QString, key);
    QFETCH(QString, unitValue);
    QFETCH(Action, change);
    QFETCH(int, row);
    QFETCH(int, index);

    firmwareVersion = firmware;
    seedUnit();
    if (unitValue.isEmpty())
        m_link.fake->removeValue(key, kAudio);
    else
        m_link.fake->setValue(key, unitValue, kAudio);
    TMatrixSettings m(m_link.com.get());
    QVERIFY(m.start(true));
    m_link.fake->clearLog();
    const auto missing = TMatrixSettings::Row(row);
    QVERIFY(m.isRowMissing(missing, index));
    QVERIFY(!m.isRowKnown(missing, index));
    const Snapshot before(m);

    QVERIFY(!change(m));
    QCOMPARE(m_link.fake->requestCount(), 0);
    QVERIFY(Snapshot(m) == before);

    // The rows the unit sent are written as ever.
    QVERIFY(m.setNodeOn(8, 6, true));
    QCOMPARE(m_link.fake->requestCount(), 1);
    QVERIFY(m_link.fake->lastRequest().isSetOf(QStringLiteral("matrix_hp3")));
}

// A missing row is asked for again, alone; a row still missing after a read that was sent not
// more than once in a while, one whose read was never sent at once. Once it arrives it is
// announced and written like any other.
void tst_MatrixSettings::missingRowsReadAgain()
{
    firmwareVersion = 0x10d09;
    seedUnit();
    m_link.fake->removeValue(QStringLiteral("matrix_hp2"), kAudio);
    m_link.fake->setValue(QStringLiteral("matrix_in9"), QStringLiteral("-1,Laptop"), kAudio);
    TMatrixSettings m(m_link.com.get());
    QVERIFY(m.start(true));
    using Row = TMatrixSettings::Row;
    // Firmware before 2.0 has no balance rows: they stay missing and are never asked for.
    QVERIFY(m.isRowMissing(Row::Balance, 1));
    const std::vector<TMatrixSettings::RowId> rows
        = {{Row::Mix, 0}, {Row::Mix, 1}, {Row::Input, 8}, {Row::Balance, 1}};
    QSignalSpy received(&m, &TMatrixSettings::rowReceived);
    m_link.fake->clearLog();

    // Asked while the client waits for another answer, the read is never sent: nothing holds
    // the next one back.
    m_link.fake->setReplyDelay(200);
    bool askedWhileBusy = true;
    QTimer::singleShot(50, &m, [&] { askedWhileBusy = m.readMissingRows(rows); });
    QVERIFY(m.setMatrixOptions(0x20000000U, true));
    m_link.fake->setReplyDelay(0);
    QVERIFY(!askedWhileBusy);
    QCOMPARE(m_link.fake->requestCount(), 1);
    m_link.fake->clearLog();

    // A read that was sent but failed holds the rows back as one the unit answered without them
    // would: a unit that fails every read is not asked at each page opening.
    m_link.fake->replyWithErrorCode(7);
    QVERIFY(!m.readMissingRows(rows));
    m_link.fake->clearErrorReply();
    QCOMPARE(m_link.fake->requestCount(), 1);
    QCOMPARE(m_link.fake->lastRequest().gets(),
             QStringList({QStringLiteral("matrix_hp2"), QStringLiteral("matrix_in9")}));
    QCOMPARE(received.count(), 0);

    // Asked again at once, the rows are not asked for; the unit's change report brings them.
    QVERIFY(!m.readMissingRows(rows));
    QCOMPARE(m_link.fake->requestCount(), 1);
    ksm::CMsg info(ksm::CMsg::Info);
    info.setParam("info_type", "audio_changeset");
    info.setParam("matrix_hp2", (bytes("00", 20) + "C5").toStdString());
    info.setParam("matrix_in9", "9D,Laptop");
    QVERIFY(m.handleInfo(info));
    QCOMPARE(received.count(), 2);
    QVERIFY(m.inputNames(8) == QStringLiteral("Laptop") && m.node(8, 0).isOn());
    QVERIFY(m.node(24, 4).isOn());
    QVERIFY(!m.readMissingRows(rows));
    QVERIFY(m.readMissingRows({rows.begin(), rows.begin() + 3}));
    QCOMPARE(m_link.fake->requestCount(), 1);
    m_link.fake->clearLog();
    QVERIFY(m.setNodeOn(8, 4, true));
    QCOMPARE(m_link.fake->lastRequest().value(QStringLiteral("matrix_hp2")),
             bytes("00", 7) + "40" + bytes("00", 12) + "C5");
    QCOMPARE(received.count(), 2);
}

// A word the unit did not send at the start comes with its change report; a change is then
// written over the unit's own bytes, the other headphones' levels, the other output's gain and
// the low half of the master-gain word as received.
void tst_MatrixSettings::wordsWrittenOverTheUnits()
{
    seedUnit();
    for (const char *key : {"matrix_vol", "matrix_mgn", "matrix_opt"})
        m_link.fake->removeValue(QLatin1String(key), kAudio);
    TMatrixSettings m(m_link.com.get());
    QVERIFY(m.start(true));
    QSignalSpy received(&m, &TMatrixSettings::rowReceived);
    ksm::CMsg info(ksm::CMsg::Info);
    info.setParam("info_type", "audio_changeset");
    info.setParam("matrix_vol", "E0D0C8E0");
    info.setParam("matrix_mgn", "84801234");
    info.setParam("matrix_opt", "00000004");
    QVERIFY(m.handleInfo(info));
    QCOMPARE(received.count(), 3);
    m_link.fake->clearLog();

    QVERIFY(m.setNodeGain(0, 2, -10.0F));
    QVERIFY(m.setOutputGain(1, -3.0F));
    QVERIFY(m.setMatrixOptions(0x20000004U, true));
    const QList<FakeRequest> writes = m_link.fake->requests();
    QCOMPARE(writes.size(), 3);
    QCOMPARE(writes.at(0).value(QStringLiteral("matrix_vol")), QStringLiteral("D6D0C8E0"));
    QCOMPARE(writes.at(1).value(QStringLiteral("matrix_mgn")), QStringLiteral("847D1234"));
    QCOMPARE(writes.at(2).value(QStringLiteral("matrix_opt")), QStringLiteral("20000004"));
}

// A start that cannot read the matrix leaves the session without it: nothing is known, so no
// row is written, until a start reads them.
void tst_MatrixSettings::failedReadLeavesEveryRowMissing()
{
    seedUnit();
    TMatrixSettings m(m_link.com.get());
    QSignalSpy failed(&m, &TMatrixSettings::readFailed);
    m_link.fake->replyWithErrorCode(3);
    QVERIFY(!m.start(true));
    QVERIFY(!m.start(true));
    QCOMPARE(failed.count(), 1);
    using Row = TMatrixSettings::Row;
    QVERIFY(m.isRowMissing(Row::Input, 0));
    QVERIFY(m.isRowMissing(Row::Mix, 3));
    m_link.fake->clearErrorReply();
    m_link.fake->clearLog();
    QVERIFY(!m.setNodeOn(8, 8, true));
    QVERIFY(!m.node(8, 8).isOn());
    QVERIFY(!m.readMissingRows({{Row::Mix, 3}}));
    QCOMPARE(m_link.fake->requestCount(), 0);

    QVERIFY(m.start(true));
    QVERIFY(!m.isRowMissing(Row::Mix, 3));
    QVERIFY(m.setNodeOn(8, 8, true));
    // A new session starts with nothing missing.
    m.reset();
    QVERIFY(!m.isRowMissing(Row::Input, 0));
}

void tst_MatrixSettings::readAllKeys_data()
{
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    QTest::newRow("1.5.255")
        << 0x105ffU << 24 << QStringList{"matrix_in11", "matrix_ou14", "matrix_po4", "matrix_opt"}
        << QStringList{"matrix_mgn", "matrix_in15", "matrix_in12"};
    QTest::newRow("1.6.0") << 0x10600U << 25 << QStringList{"matrix_mgn"}
                           << QStringList{"matrix_in16", "matrix_ou15"};
    QTest::newRow("1.6.255") << 0x106ffU << 25 << QStringList{} << QStringList{"matrix_in16"};
    QTest::newRow("1.7.0") << 0x10700U << 30
                           << QStringList{"matrix_in15", "matrix_in18", "matrix_ou15"}
                           << QStringList{"matrix_vol", "matrix_in19"};
    QTest::newRow("1.7.255") << 0x107ffU << 30 << QStringList{} << QStringList{"matrix_vol"};
    QTest::newRow("1.8.0") << 0x10800U << 31 << QStringList{"matrix_vol"}
                           << QStringList{"matrix_in19"};
    QTest::newRow("1.12.255") << 0x10cffU << 31 << QStringList{} << QStringList{"matrix_in19"};
    QTest::newRow("1.13.0") << 0x10d00U << 32 << QStringList{"matrix_in19"}
                            << QStringList{"matrix_bal1"};
    QTest::newRow("2.0.0") << 0x20000U << 36 << QStringList{"matrix_bal1", "matrix_bal4"}
                           << QStringList{};
    QTest::newRow("unknown") << kFirmwareVersionUnknown << 36 << QStringList{"matrix_bal4"}
                             << QStringList{};
}

void tst_MatrixSettings::readAllKeys()
{
    QFETCH(quint32, firmware);
    QFETCH(int, count);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);

    firmwareVersion = firmware;
    TMatrixSettings m(m_link.com.get());
    m_link.fake->setValue(QStringLiteral("matrix_opt"), QStringLiteral("00000004"), kAudio);
    QVERIFY(m.readAll());
    QCOMPARE(m_link.fake->requestCount(), 1);
    const FakeRequest request = m_link.fake->lastRequest();
    QCOMPARE(request.target(), kAudio);
    QCOMPARE(request.gets().size(), count);
    QCOMPARE(request.gets().first(), QStringLiteral("matrix_in1"));
    for (const QString &key : present)
        QVERIFY2(request.gets().contains(key), qPrintable(key));
    for (const QString &key : absent)
        QVERIFY2(!request.gets().contains(key), qPrintable(key));
    QCOMPARE(m.options(), 4U);
}

void tst_MatrixSettings::startReadsSilently()
{
    TMatrixSettings m(m_link.com.get());
    m_link.fake->setValue(QStringLiteral("matrix_in5"), QStringLiteral("006A,Mic"), kAudio);
    QSignalSpy nodeSpy(&m, &TMatrixSettings::nodeChanged);
    QSignalSpy stateSpy(&m, &TComController::controllerStateChanged);

    QVERIFY(m.start(true));
    QCOMPARE(m.state(), int(TComController::StateReady));
    QVERIFY(m.node(4, 1).isOn());
    QCOMPARE(m.inputNames(4), QStringLiteral("Mic"));
    QCOMPARE(nodeSpy.count(), 0);
    QCOMPARE(stateSpy.count(), 1);
    QTRY_VERIFY(m_link.fake->isSubscribed(QStringLiteral("audio_changeset")));
    // Reading sent nothing back.
    for (const FakeRequest &request : m_link.fake->requests())
        QVERIFY(request.gets().size() > 0 || request.message.type == FakeMessage::Do);

    TMatrixSettings failing(m_link.com.get());
    m_link.com->disconnect();
    QVERIFY(!failing.start(true));
    QCOMPARE(failing.state(), int(TComController::StateUnknown));
    QVERIFY(!failing.read({}));
    QVERIFY(!failing.write({"matrix_in1"}));
    QVERIFY(!failing.applyParams({}));
}

void tst_MatrixSettings::infoChangesetSendsNothing()
{
    TMatrixSettings m(m_link.com.get());
    startReady(m);
    QSignalSpy nodeSpy(&m, &TMatrixSettings::nodeChanged);
    QSignalSpy nameSpy(&m, &TMatrixSettings::inputNameChanged);
    QSignalSpy gainSpy(&m, &TMatrixSettings::inputGainChanged);

    // Rows of every kind arrive while the controller is ready: applying them must not write
    // any row back.
    ksm::CMsg info(ksm::CMsg::Info);
    info.setParam("info_type", "audio_changeset");
    info.setParam("matrix_in5", "01EA,Mic");
    info.setParam("matrix_ou11", "FF");
    info.setParam("matrix_hp1", "C5" + std::string(40, '0'));
    info.setParam("matrix_vol", "DAE0E0E0");
    info.setParam("matrix_bal1", "000C06060606");
    info.setParam("matrix_opt", "40000000");
    QVERIFY(m.handleInfo(info));
    QCOMPARE(m_link.fake->requestCount(), 0);

    QVERIFY(m.node(4, 0).isOn());
    QVERIFY(m.node(4, 18).isOn());
    QVERIFY(m.node(19, 10).isOn());
    QVERIFY(m.node(1, 2).isOn());
    QCOMPARE(m.node(1, 2).gain, -27.0F);
    QCOMPARE(m.node(0, 2).gain, -6.0F);
    QCOMPARE(m.node(12, 3).balance, 0);
    QCOMPARE(m.options(), 0x40000000U);
    QCOMPARE(nameSpy.count(), 1);
    QCOMPARE(gainSpy.count(), 1);
    QVERIFY(nodeSpy.count() > 0);
    // The stored rows match what arrived, so the next edit sends only its own change.
    QCOMPARE(m.inputRow(4).word, quint16(0x1EA));
    QCOMPARE(m.headphoneMix(0)[1], quint8(0xC5));
    QCOMPARE(m.volume(), 0xE0E0E0DAU);

    ksm::CMsg other(ksm::CMsg::Info);
    other.setParam("info_type", "config_changeset");
    other.setParam("matrix_opt", "00000000");
    QVERIFY(!m.handleInfo(other));
    QCOMPARE(m.options(), 0x40000000U);
    QVERIFY(!m.handleEvent(info));
}

void tst_MatrixSettings::resetRestoresRows()
{
    TMatrixSettings m(m_link.com.get());
    startReady(m);
    QVERIFY(m.setNodeOn(0, 0, true));
    QVERIFY(m.setInputName(4, QStringLiteral("X")));
    QVERIFY(m.setInputGain(6, -10.0F));
    QVERIFY(m.setNodeOn(20, 10, true));
    QVERIFY(m.setNodeBalance(20, 2, 0));
    QVERIFY(m.setMatrixOptions(0x20000000U, true));
    QVERIFY(m.setAudioConfig(0, config(9, 9, 9, 9), true));
    QVERIFY(m.setOutputGain(5, -6.0F));
    m.setStoredGain(1, -4.0F);
    m.copyOutput(3, 5);
    m_link.fake->clearLog();
    QSignalSpy nodeSpy(&m, &TMatrixSettings::nodeChanged);
    QSignalSpy optionSpy(&m, &TMatrixSettings::matrixOptionsChanged);
    QSignalSpy stateSpy(&m, &TComController::controllerStateChanged);

    m.reset();
    QCOMPARE(m.state(), int(TComController::StateUnknown));
    QCOMPARE(stateSpy.count(), 1);
    QCOMPARE(nodeSpy.count(), 0);
    QCOMPARE(optionSpy.count(), 0);
    QCOMPARE(m_link.fake->requestCount(), 1);
    QVERIFY(m_link.fake->lastRequest().isCommand(QStringLiteral("unsubscribe")));
    // Nothing of the unit's is known any more.
    using Row = TMatrixSettings::Row;
    for (Row row :
         {Row::Input, Row::Mix, Row::Position, Row::Options, Row::MasterGain, Row::Volume})
        QVERIFY(!m.isRowKnown(row, 0));
    QVERIFY(!m.isRowKnown(TMatrixSettings::Row::Output, 10));

    QVERIFY(!m.node(0, 0).isOn());
    QCOMPARE(m.inputRow(0).word, quint16(0x20));
    QVERIFY(m.inputNames(4).isEmpty());
    QCOMPARE(m.inputGain(6), 0.0F);
    QVERIFY(!m.node(20, 10).isOn());
    QCOMPARE(m.outputRow(10), quint8(0));
    // Mix bytes of 0xC0: both cells on, gain off.
    QVERIFY(m.node(5, 2).isOn());
    QVERIFY(m.node(5, 3).isOn());
    QCOMPARE(m.node(5, 2).gain, -160.0F);
    QCOMPARE(m.headphoneMix(0)[5], quint8(0xC0));
    QCOMPARE(m.node(20, 2).balance, 6);
    QCOMPARE(m.options(), 0U);
    QCOMPARE(m.audioConfig(0), config(2, 3, 4, 0x0E));
    QCOMPARE(m.volume(), 0xE0E0E0E0U);
    // Output gains, stored gains and copies stay.
    QCOMPARE(m.outputGain(5), -6.0F);
    QCOMPARE(m.auxGain(1), -4.0F);
    QVERIFY(m.isCopyTarget(5));

    // Writes after the reset are stored, not sent.
    QVERIFY(m.setNodeOn(0, 0, true));
    QCOMPARE(m_link.fake->requestCount(), 1);
}

void tst_MatrixSettings::accessorIsShared()
{
    TMatrixSettings *first = matrixSettings();
    QVERIFY(first);
    QCOMPARE(matrixSettings(), first);
    QCOMPARE(first->request().com(), comClient());
    destroySharedObjects();
}

QTEST_GUILESS_MAIN(tst_MatrixSettings)
#include "tst_matrixsettings.moc"
