#include "settings/qvantelsettingspage.h"

#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/codecconfig.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/audiosettings.h"
#include "model/comaudioconnection.h"
#include "model/comdevice.h"
#include "model/comravennacontroller.h"
#include "model/firmwareversion.h"
#include "model/matrixsettings.h"
#include "settings/settingsids.h"
#include "tests/settings/settingspagerig.h"
#include "tests/support/demounit.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelswitch.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTest>

#include <functional>
#include <memory>

namespace {

const QString kAudio = QStringLiteral("audio");
const QString kRefused = QStringLiteral("105-invalid value");
constexpr quint32 kFirmware2 = 0x20007;

QStringList texts(const QVantelMenuItem *row)
{
    QStringList out;
    for (const QVantelMenuItem::Value &value : row->values())
        out << value.text;
    return out;
}

} // namespace

// The Coding and Audio sections of the settings menu against the demo unit: the coding page,
// the codec pages, automatic bit rate, the audio page and the monitoring options.
class TestSettingsCodingAudio : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void codingPageRows_data();
    void codingPageRows();
    void codecPageFollowsTheUnitsLists();
    void coordinationLineKeepsCoderOneMono_data();
    void coordinationLineKeepsCoderOneMono();
    void codecApplySendsCoderAndRelay();
    void storedAlgorithmMissingFromTheList();
    void autoBitRateRows();
    void confirmedChoiceOfTheShownEntry();
    void audioPageRowsPerVariant_data();
    void audioPageRowsPerVariant();
    void limiterMovesCompressorFirst();
    void valuesOutOfRangeStayBounded_data();
    void valuesOutOfRangeStayBounded();
    void refusedAudioRowGoesBack();
    void standardModeMakesCoderOneMono();
    void operationModeSwitch_data();
    void operationModeSwitch();
    void aes67StateResetsTheModule_data();
    void aes67StateResetsTheModule();
    void monitoringEditsAndApply();
    void abandonedMonitoringEditsNeverSent();
    void unreadMonitoringOptions();

private:
    // Connects to the demo unit (after adjust changed it) and loads the model.
    bool start(const std::function<void(FakeQuorix &)> &adjust = {});
    void openSection(int section);
    QVantelMenuItems *open(int rowId);
    QVantelMenuItem *row(int id) const;
    void commit(int id, int value);
    void commitSwitch(int id, bool on);
    // Opens the row's choice popup with a tap and presses OK on the entry it marks.
    void confirmShownChoice(int id);
    bool received(const QString &key, const QString &value) const;
    // "key=value" of every write of keys to the audio target since the log was cleared; a
    // write repeated at once (one per audio processor) is listed once.
    QStringList audioWrites(const QStringList &keys) const;
    // Puts a call on link 2, which every audio row counts as a connection.
    static void addCall();
};

void TestSettingsCodingAudio::init()
{
    QVERIFY(startDemoUnit(AccessLevel::Administrator, kFirmware2));
}

void TestSettingsCodingAudio::cleanup()
{
    stopUnit();
}

bool TestSettingsCodingAudio::start(const std::function<void(FakeQuorix &)> &adjust)
{
    if (adjust)
        adjust(*m_fake);
    const bool loaded = connectPage([] {
        return comDevice()->refresh() && audioSettings()->start(true)
               && matrixSettings()->start(true);
    });
    if (!loaded)
        return false;
    m_fake->clearLog();
    return true;
}

void TestSettingsCodingAudio::openSection(int section)
{
    QVantelMenuEntries *entries = m_page->entries();
    entries->childClicked(entries->findEntry(section)->titleLabel());
}

QVantelMenuItems *TestSettingsCodingAudio::open(int rowId)
{
    QVantelMenuItem *item = row(rowId);
    if (!item)
        return nullptr;
    m_page->itemClicked(item);
    return m_page->currentPage();
}

QVantelMenuItem *TestSettingsCodingAudio::row(int id) const
{
    QVantelMenuItems *page = m_page->currentPage();
    return page ? page->findItem(id) : nullptr;
}

void TestSettingsCodingAudio::commit(int id, int value)
{
    QVantelMenuItem *item = row(id);
    QVERIFY(item);
    QVERIFY(item->selectValue(value, true, true) >= 0);
    m_page->itemCommitted(item);
}

void TestSettingsCodingAudio::commitSwitch(int id, bool on)
{
    QVantelMenuItem *item = row(id);
    QVERIFY(item);
    item->setChecked(on);
    m_page->itemCommitted(item);
}

void TestSettingsCodingAudio::confirmShownChoice(int id)
{
    QVantelMenuItems *page = m_page->currentPage();
    QVERIFY(page && row(id));
    page->childClicked(row(id)->valueLabel());
    auto *select = page->findChild<QVantelMenuSelect *>();
    QVERIFY(select && select->isVisible());
    QTest::mouseClick(select->okButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool TestSettingsCodingAudio::received(const QString &key, const QString &value) const
{
    const QList<FakeRequest> log = m_fake->requests();
    for (const FakeRequest &request : log) {
        if (request.isSetOf(key, value))
            return true;
    }
    return false;
}

QStringList TestSettingsCodingAudio::audioWrites(const QStringList &keys) const
{
    QStringList writes;
    for (const FakeRequest &request : m_fake->requests()) {
        if (request.target() != kAudio)
            continue;
        for (const QString &key : keys) {
            if (!request.isSetOf(key))
                continue;
            const QString write = key + QLatin1Char('=') + request.value(key);
            if (writes.isEmpty() || writes.constLast() != write)
                writes << write;
        }
    }
    return writes;
}

void TestSettingsCodingAudio::addCall()
{
    auto *call = new TComAudioConnection(comClient(), 1);
    call->attach(0, 41, "eth.0");
    QVERIFY(comDevice()->addConnection(call));
}

void TestSettingsCodingAudio::codingPageRows_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<QString>("network");
    QTest::addColumn<bool>("autoBitRate");
    QTest::addColumn<QString>("coding"); // "single", "double" or "coordination line"

    const QString eth = QStringLiteral("eth.0");
    const QString single = QStringLiteral("single");
    QTest::newRow("administrator") << 2 << kFirmware2 << eth << true << single;
    QTest::newRow("operator locked") << 0 << kFirmware2 << eth << true << single;
    QTest::newRow("firmware 1.11.255") << 2 << 0x10bffu << eth << false << single;
    QTest::newRow("isdn default") << 2 << kFirmware2 << QStringLiteral("isdn.0") << false << single;
    QTest::newRow("unknown default") << 2 << kFirmware2 << QString() << false << single;
    QTest::newRow("double codec") << 2 << kFirmware2 << eth << true << QStringLiteral("double");
    QTest::newRow("double codec, operator")
        << 0 << kFirmware2 << eth << true << QStringLiteral("double");
    QTest::newRow("coordination line")
        << 2 << kFirmware2 << eth << true << QStringLiteral("coordination line");
}

void TestSettingsCodingAudio::codingPageRows()
{
    QFETCH(int, level);
    QFETCH(quint32, firmware);
    QFETCH(QString, network);
    QFETCH(bool, autoBitRate);
    QFETCH(QString, coding);
    QVERIFY(start([&network, &coding](FakeQuorix &fake) {
        fake.setValue(QStringLiteral("default_network"), network, QStringLiteral("network"));
        if (coding == QLatin1String("double")) {
            fake.setValue(QStringLiteral("codec_mode"), QStringLiteral("cmode_double"), kAudio);
            fake.setValue(
                QStringLiteral("dcodec_2"), QStringLiteral("OPUS/48000/mono/32000"), kAudio);
        } else if (coding == QLatin1String("coordination line")) {
            fake.setValue(QStringLiteral("coord_mode"), QStringLiteral("enabled"), kAudio);
            fake.setValue(QStringLiteral("codec"), QStringLiteral("OPUS/48000/mono/64000"), kAudio);
        }
    }));
    accessLevel = AccessLevel(level);
    firmwareVersion = firmware;
    openSection(kPageCoding);

    const QString name
        = QVantelLocalize::interfaceName(TComDevice::networkFromString(network.toStdString()));
    if (network.isEmpty())
        QCOMPARE(name, QStringLiteral("Invalid"));
    QCOMPARE(row(kPageCodec1)->titleText(), QStringLiteral("Codec 1 [ %1 ]").arg(name));
    QCOMPARE(row(kPageCodec1)->valueText(), QVantelLocalize::codingSummary(comDevice()->coder1()));
    QCOMPARE(row(kPageCodec1)->isReadOnly(), level == 0);
    if (coding == QLatin1String("double")) {
        // Coder 2 runs on the same network as coder 1.
        QCOMPARE(row(kPageCodec2)->titleText(), QStringLiteral("Codec 2 [ %1 ]").arg(name));
        QCOMPARE(row(kPageCodec2)->valueText(),
                 QVantelLocalize::codingSummary(codecConfigFromString("OPUS/48000/mono/32000")));
        QCOMPARE(row(kPageCodec2)->isReadOnly(), level == 0);
    } else if (coding == QLatin1String("coordination line")) {
        // Link 2 is the mobile voice line: shown, never edited.
        QCOMPARE(row(kPageCodec2)->titleText(),
                 QStringLiteral("Codec 2 [ %1 ]").arg(QVantelLocalize::interfaceName(0x300)));
        QCOMPARE(row(kPageCodec2)->valueText(), QVantelLocalize::codecName(17));
        QVERIFY(row(kPageCodec2)->isReadOnly());
    } else {
        // Single codec mode without coordination line: coder 2 cannot be opened at any level.
        QCOMPARE(row(kPageCodec2)->titleText(), QStringLiteral("Codec 2"));
        QCOMPARE(row(kPageCodec2)->valueText(),
                 QStringLiteral("Not applicable in single codec mode"));
        QVERIFY(row(kPageCodec2)->isReadOnly());
    }
    QCOMPARE(row(kPageAutoBitRate) != nullptr, autoBitRate);
    if (row(kPageAutoBitRate))
        QCOMPARE(row(kPageAutoBitRate)->isReadOnly(), level == 0);
}

void TestSettingsCodingAudio::codecPageFollowsTheUnitsLists()
{
    // Coder 1 runs OPUS/48000/stereo/64000; the demo lists six algorithms.
    QVERIFY(start());
    openSection(kPageCoding);
    QVERIFY(open(kPageCodec1));
    QCOMPARE(m_page->currentPage()->id(), kPageCodec1);
    QCOMPARE(texts(row(kRowCodecAlgorithm)),
             (QStringList{QVantelLocalize::codecName(19),
                          QVantelLocalize::codecName(8),
                          QVantelLocalize::codecName(27),
                          QVantelLocalize::codecName(20),
                          QVantelLocalize::codecName(3),
                          QVantelLocalize::codecName(0)}));
    QCOMPARE(row(kRowCodecAlgorithm)->currentValue()->value, 19);
    QCOMPARE(row(kRowCodecSampleRate)->valueText(), QStringLiteral("48 kHz"));
    QVERIFY(row(kRowCodecSampleRate)->isReadOnly()); // one listed rate
    QCOMPARE(row(kRowCodecBitRate)->valueText(), QStringLiteral("64 kbit/s"));
    QCOMPARE(row(kRowCodecRelay)->valueText(), QStringLiteral("Disabled"));
    QVERIFY(!row(kRowCodecRelay)->isReadOnly());
    QVERIFY(!m_page->header()->isModified());

    // MPA2 in stereo lists other bit rates: 64000 is gone, the first listed one replaces it.
    commit(kRowCodecAlgorithm, 8);
    QCOMPARE(row(kRowCodecChannelMode)->currentValue()->value, 2);
    QCOMPARE(texts(row(kRowCodecSampleRate)),
             (QStringList{QStringLiteral("48 kHz"), QStringLiteral("32 kHz")}));
    QVERIFY(!row(kRowCodecSampleRate)->isReadOnly());
    QCOMPARE(row(kRowCodecBitRate)->currentValue()->value, 128000);
    QCOMPARE(row(kRowCodecBitRate)->valueText(), QStringLiteral("128 kbit/s"));
    QVERIFY(m_page->header()->isModified());

    // G.722 runs at a fixed rate: nothing is asked about rates, the row is locked at 16 kHz.
    // Its coding holds 48000 Hz, the rate the unit lists its bit rate at.
    m_fake->clearLog();
    commit(kRowCodecAlgorithm, 3);
    QCOMPARE(texts(row(kRowCodecSampleRate)), QStringList{QStringLiteral("16 kHz")});
    QVERIFY(row(kRowCodecSampleRate)->isReadOnly());
    QCOMPARE(row(kRowCodecBitRate)->valueText(), QStringLiteral("64 kbit/s"));
    for (const FakeRequest &request : m_fake->requests())
        QVERIFY(!request.isListOf(QStringLiteral("samplerate")));

    // Back to the coding as read: no change left.
    commit(kRowCodecAlgorithm, 19);
    commit(kRowCodecChannelMode, 2);
    commit(kRowCodecBitRate, 64000);
    QVERIFY(!m_page->header()->isModified());
    // A relay toggle alone is a change.
    commitSwitch(kRowCodecRelay, true);
    QVERIFY(m_page->header()->isModified());
}

void TestSettingsCodingAudio::coordinationLineKeepsCoderOneMono_data()
{
    QTest::addColumn<QString>("operationMode");
    QTest::addColumn<QStringList>("modes");

    const QString mono = QVantelLocalize::channelModeName(0);
    QTest::newRow("standard") << QStringLiteral("standard") << QStringList{mono};
    QTest::newRow("extended") << QStringLiteral("extended")
                              << QStringList{mono, QVantelLocalize::channelModeName(2)};
}

// A mono coder 1 with the coordination line on link 2: in standard operation its channel modes
// offer mono only, although the unit lists stereo too.
void TestSettingsCodingAudio::coordinationLineKeepsCoderOneMono()
{
    QFETCH(QString, operationMode);
    QFETCH(QStringList, modes);
    QVERIFY(start([&operationMode](FakeQuorix &fake) {
        fake.setValue(QStringLiteral("coord_mode"), QStringLiteral("enabled"), kAudio);
        fake.setValue(QStringLiteral("codec"), QStringLiteral("OPUS/48000/mono/64000"), kAudio);
        fake.setValue(QStringLiteral("operation_mode"), operationMode, kAudio);
    }));
    QCOMPARE(comDevice()->audioRouting(), int(TComDevice::RoutingMonoCoordination));
    openSection(kPageCoding);
    QVERIFY(open(kPageCodec1));
    QCOMPARE(texts(row(kRowCodecChannelMode)), modes);
    QCOMPARE(row(kRowCodecChannelMode)->valueText(), QVantelLocalize::channelModeName(0));
    QCOMPARE(row(kRowCodecChannelMode)->isReadOnly(), modes.size() < 2);
}

void TestSettingsCodingAudio::codecApplySendsCoderAndRelay()
{
    QVERIFY(start());
    openSection(kPageCoding);
    QVERIFY(open(kPageCodec1));
    commit(kRowCodecAlgorithm, 8);
    commit(kRowCodecBitRate, 192000);
    commitSwitch(kRowCodecRelay, true);
    m_page->applyClicked();
    QVERIFY(received(QStringLiteral("codec"), QStringLiteral("MPA2/48000/stereo/192000/-1")));
    QVERIFY(received(QStringLiteral("relay"), QStringLiteral("on")));
    QCOMPARE(comDevice()->coder1().algorithm, 8);
    QVERIFY(!m_page->header()->isModified());
    // The relay state is read back.
    QCOMPARE(row(kRowCodecRelay)->valueText(), QStringLiteral("Active"));

    // A telephone-band coding after it: the page, read anew, shows its one bit rate.
    commit(kRowCodecAlgorithm, 0);
    m_page->applyClicked();
    QVERIFY(received(QStringLiteral("codec"), QStringLiteral("PCMA")));
    QCOMPARE(row(kRowCodecSampleRate)->valueText(), QStringLiteral("8 kHz"));
    QCOMPARE(row(kRowCodecBitRate)->valueText(), QStringLiteral("64 kbit/s"));
    QVERIFY(!m_page->header()->isModified());
    commit(kRowCodecAlgorithm, 8);
    commit(kRowCodecBitRate, 192000);

    // A refused coding keeps the edits and the mark.
    commit(kRowCodecBitRate, 256000);
    m_fake->refuseKey(QStringLiteral("codec"), kRefused);
    m_page->applyClicked();
    QCOMPARE(shownMessage(), QStringLiteral("Failed to apply changes!"));
    QVERIFY(m_page->header()->isModified());
    QCOMPARE(row(kRowCodecBitRate)->currentValue()->value, 256000);
}

void TestSettingsCodingAudio::storedAlgorithmMissingFromTheList()
{
    // L24 is stored but not offered; the relay is not reported.
    QVERIFY(start([](FakeQuorix &fake) {
        fake.setValue(QStringLiteral("codec"), QStringLiteral("L24/48000/stereo/2304000"), kAudio);
        fake.removeValue(QStringLiteral("relay"), kAudio);
    }));
    openSection(kPageCoding);
    QVERIFY(open(kPageCodec1));
    // The first entry is shown, but the lists below still ask about the stored algorithm.
    QCOMPARE(row(kRowCodecAlgorithm)->valueText(), QVantelLocalize::codecName(19));
    bool askedAboutStored = false;
    for (const FakeRequest &request : m_fake->requests()) {
        if (request.isListOf(QStringLiteral("mode"))
            && request.value(QStringLiteral("alg")) == QLatin1String("L24")) {
            askedAboutStored = true;
        }
    }
    QVERIFY(askedAboutStored);
    // Nothing is listed for it: the rows below are empty and locked.
    QVERIFY(row(kRowCodecChannelMode)->values().isEmpty());
    QVERIFY(row(kRowCodecBitRate)->isReadOnly());
    QCOMPARE(row(kRowCodecRelay)->valueText(), QStringLiteral("Not available"));
    QVERIFY(row(kRowCodecRelay)->isReadOnly());
}

void TestSettingsCodingAudio::autoBitRateRows()
{
    QVERIFY(start([](FakeQuorix &fake) {
        fake.setValue(QStringLiteral("abr_profile"), QStringLiteral("aggressive"), kAudio);
    }));
    openSection(kPageCoding);
    QVERIFY(open(kPageAutoBitRate));
    QCOMPARE(m_page->currentPage()->id(), kPageAutoBitRate);
    QVERIFY(row(kRowAutoAdapt)->isChecked());
    // An unknown policy word shows "Standard"; committing it sends the lower-case word.
    QCOMPARE(row(kRowAdaptPolicy)->valueText(), QStringLiteral("Standard"));
    QCOMPARE(texts(row(kRowMinBitRate)).front(), QStringLiteral("6 kbit/s"));
    QCOMPARE(row(kRowMinBitRate)->currentValue()->value, 24000);
    QCOMPARE(row(kRowMaxBitRate)->valueText(), QStringLiteral("128 kbit/s"));
    for (const int id : {kRowAutoAdapt, kRowAdaptPolicy, kRowMinBitRate, kRowMaxBitRate})
        QVERIFY(!row(id)->isReadOnly());

    m_page->itemCommitted(row(kRowAdaptPolicy));
    QVERIFY(received(QStringLiteral("abr_profile"), QStringLiteral("standard")));
    commit(kRowAdaptPolicy, 2);
    QVERIFY(received(QStringLiteral("abr_profile"), QStringLiteral("punchy")));
    commitSwitch(kRowAutoAdapt, false);
    QVERIFY(received(QStringLiteral("abr_calls"), QStringLiteral("off")));
    // No check between the limits.
    commit(kRowMaxBitRate, 64000);
    commit(kRowMinBitRate, 32000);
    QVERIFY(received(QStringLiteral("abr_maxbr"), QStringLiteral("64000")));
    QVERIFY(received(QStringLiteral("abr_minbr"), QStringLiteral("32000")));
    // A refusal is not reported and the row keeps the choice.
    m_fake->refuseKey(QStringLiteral("abr_minbr"), kRefused);
    commit(kRowMinBitRate, 6000);
    QCOMPARE(shownMessage(), QString());
    QCOMPARE(row(kRowMinBitRate)->currentValue()->value, 6000);
    QVERIFY(!m_page->header()->isModified());

    // Double streaming locks every row.
    m_page->backClicked();
    comDevice()->setDstreamMode(1);
    QVERIFY(open(kPageAutoBitRate));
    for (const int id : {kRowAutoAdapt, kRowAdaptPolicy, kRowMinBitRate, kRowMaxBitRate})
        QVERIFY(row(id)->isReadOnly());
}

void TestSettingsCodingAudio::confirmedChoiceOfTheShownEntry()
{
    // A policy the page has no entry for shows as "Standard"; confirming that entry in the
    // popup sends it, so that the unit ends up with what the row shows.
    QVERIFY(start([](FakeQuorix &fake) {
        fake.setValue(QStringLiteral("abr_profile"), QStringLiteral("turbo"), kAudio);
    }));
    openSection(kPageCoding);
    QVERIFY(open(kPageAutoBitRate));
    QCOMPARE(row(kRowAdaptPolicy)->valueText(), QStringLiteral("Standard"));
    confirmShownChoice(kRowAdaptPolicy);
    QVERIFY(received(QStringLiteral("abr_profile"), QStringLiteral("standard")));
    QCOMPARE(m_fake->value(QStringLiteral("abr_profile"), kAudio), QStringLiteral("standard"));

    // Confirming what the unit holds sends nothing.
    m_fake->clearLog();
    confirmShownChoice(kRowAdaptPolicy);
    confirmShownChoice(kRowMaxBitRate);
    QCOMPARE(m_fake->requestCount(), 0);
}

void TestSettingsCodingAudio::audioPageRowsPerVariant_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<bool>("auxRows");
    QTest::addColumn<bool>("operationMode");
    QTest::addColumn<bool>("aes67");
    QTest::addColumn<QString>("module");

    QTest::newRow("no options") << QStringList{} << kFirmware2 << false << false << false
                                << QStringLiteral("RAVENNA");
    QTest::newRow("variant 1 ravenna")
        << QStringList{QStringLiteral("hardware_1"), QStringLiteral("ravenna")} << kFirmware2
        << true << true << true << QStringLiteral("RAVENNA");
    QTest::newRow("variant 1 firmware 1.15")
        << QStringList{QStringLiteral("hardware_1"), QStringLiteral("ravenna")} << 0x10f00u << true
        << false << true << QStringLiteral("RAVENNA");
    QTest::newRow("variant 2 dante")
        << QStringList{QStringLiteral("hardware_2"),
                       QStringLiteral("ravenna"),
                       QStringLiteral("ravenna_2")}
        << kFirmware2 << false << false << true << QStringLiteral("DANTE");
}

void TestSettingsCodingAudio::audioPageRowsPerVariant()
{
    QFETCH(QStringList, options);
    QFETCH(quint32, firmware);
    QFETCH(bool, auxRows);
    QFETCH(bool, operationMode);
    QFETCH(bool, aes67);
    QFETCH(QString, module);
    QVERIFY(start([&options](FakeQuorix &fake) {
        fake.setList(QStringLiteral("device_opts"), options, QStringLiteral("general"));
    }));
    firmwareVersion = firmware;
    openSection(kPageAudio);
    QCOMPARE(m_page->currentPage()->id(), kPageAudio);

    QCOMPARE(row(kRowInputFormat) != nullptr, auxRows);
    QCOMPARE(row(kRowOperationMode) != nullptr, operationMode);
    QCOMPARE(row(kRowAes67State) != nullptr, aes67);
    QCOMPARE(row(kPageRavenna)->titleText(), module);
    // The module row stays locked until the audio-over-IP controller has been read.
    QVERIFY(row(kPageRavenna)->isReadOnly());
    if (auxRows) // analog input in the demo: the switch is on
        QCOMPARE(row(kRowInputFormat)->valueText(), QStringLiteral("Analog (AUX2)"));
    if (aes67)
        QCOMPARE(row(kRowAes67State)->valueText(), QStringLiteral("Active"));
    // The demo's values fill the rows.
    QCOMPARE(row(kRowInputLimiters)->valueText(), QStringLiteral("-9 dBFS"));
    QCOMPARE(row(kRowChannelKnob)->valueText(), QStringLiteral("Side Tone"));
    QCOMPARE(row(kRowDynamics)->valueText(), QStringLiteral("Disabled"));
    QCOMPARE(row(kRowLimiterThreshold)->valueText(), QStringLiteral("-2 dBFS"));
    QCOMPARE(row(kRowCompressorThreshold)->values().size(), 38); // -40 to -3
    QCOMPARE(row(kRowCompressorThreshold)->values().back().value, -3);
    QCOMPARE(row(kRowCompressorRatio)->valueText(), QStringLiteral("2:1"));
    QCOMPARE(row(kRowAttackTime)->valueText(), QStringLiteral("Fast"));
}

void TestSettingsCodingAudio::limiterMovesCompressorFirst()
{
    QVERIFY(start([](FakeQuorix &fake) {
        fake.setValue(QStringLiteral("drc_threshold_cmp"), QStringLiteral("-10"), kAudio);
    }));
    openSection(kPageAudio);
    commit(kRowLimiterThreshold, -10);
    const QList<FakeRequest> log = m_fake->requests();
    int compressor = -1;
    int limiter = -1;
    for (int i = 0; i < log.size(); ++i) {
        if (log.at(i).isSetOf(QStringLiteral("drc_threshold_cmp"), QStringLiteral("-11")))
            compressor = i;
        if (log.at(i).isSetOf(QStringLiteral("drc_lim_threshold"), QStringLiteral("-10")))
            limiter = i;
    }
    QVERIFY(compressor >= 0);
    QVERIFY(limiter > compressor);
    QCOMPARE(row(kRowCompressorThreshold)->values().back().value, -11);
    QCOMPARE(row(kRowCompressorThreshold)->valueText(), QStringLiteral("-11 dBFS"));

    // A refused compressor move stops before the limiter is written.
    m_fake->clearLog();
    m_fake->refuseKey(QStringLiteral("drc_threshold_cmp"), kRefused);
    commit(kRowLimiterThreshold, -12);
    QVERIFY(!received(QStringLiteral("drc_lim_threshold"), QStringLiteral("-12")));
    QCOMPARE(row(kRowLimiterThreshold)->valueText(), QStringLiteral("-10 dBFS"));
    QCOMPARE(shownMessage(), QStringLiteral("Failed to apply changes!"));
}

void TestSettingsCodingAudio::valuesOutOfRangeStayBounded_data()
{
    QTest::addColumn<QString>("limiter");
    QTest::addColumn<QString>("ratio");
    QTest::addColumn<int>("compressorEnd");
    QTest::addColumn<QString>("limiterShown");
    QTest::addColumn<QString>("ratioShown");
    // The compressor wheel ends one below the limiter's range at most, -3, and at least -21.
    QTest::newRow("limiter above its range") << "100"
                                             << "2.0" << -3 << "-20 dBFS"
                                             << "2:1";
    QTest::newRow("limiter at INT_MAX") << "2147483647"
                                        << "2.0" << -3 << "-20 dBFS"
                                        << "2:1";
    QTest::newRow("limiter past 64 bits") << "99999999999999999999999"
                                          << "2.0" << -3 << "-20 dBFS"
                                          << "2:1";
    QTest::newRow("limiter at INT_MIN") << "-2147483648"
                                        << "2.0" << -21 << "-20 dBFS"
                                        << "2:1";
    // A ratio whose tenfold no int holds shows the first entry, as any unlisted ratio does.
    QTest::newRow("ratio below an int") << "-2"
                                        << "-2147483649" << -3 << "-2 dBFS"
                                        << "1:1 (Off)";
    QTest::newRow("ratio at the float limit")
        << "-2"
        << "999999999999999999999999999999999999999999" << -3 << "-2 dBFS"
        << "1:1 (Off)";
}

void TestSettingsCodingAudio::valuesOutOfRangeStayBounded()
{
    QFETCH(QString, limiter);
    QFETCH(QString, ratio);
    QFETCH(int, compressorEnd);
    QFETCH(QString, limiterShown);
    QFETCH(QString, ratioShown);
    QVERIFY(start([&](FakeQuorix &fake) {
        fake.setValue(QStringLiteral("drc_lim_threshold"), limiter, kAudio);
        fake.setValue(QStringLiteral("drc_ratio_cmp"), ratio, kAudio);
    }));
    openSection(kPageAudio);
    QVERIFY(row(kRowCompressorThreshold));
    // Built, and built again by a refresh, never past the limiter's range.
    for (int pass = 0; pass < 2; ++pass) {
        QCOMPARE(row(kRowCompressorThreshold)->values().size(), compressorEnd + 41);
        QCOMPARE(row(kRowCompressorThreshold)->values().front().value, -40);
        QCOMPARE(row(kRowCompressorThreshold)->values().back().value, compressorEnd);
        m_page->audioControllerParamChanged(audioSettings(), TAudioSettings::DrcLimThreshold);
    }
    QCOMPARE(row(kRowLimiterThreshold)->values().size(), 19);
    QCOMPARE(row(kRowLimiterThreshold)->valueText(), limiterShown);
    QCOMPARE(row(kRowCompressorRatio)->valueText(), ratioShown);
    // Shown, never written back.
    QVERIFY(requestsWhere([](const FakeRequest &r) {
                return r.message.type == FakeMessage::Param && r.gets().isEmpty();
            }).isEmpty());
}

void TestSettingsCodingAudio::refusedAudioRowGoesBack()
{
    QVERIFY(start());
    openSection(kPageAudio);
    commit(kRowCompressorRatio, 15);
    QVERIFY(received(QStringLiteral("drc_ratio_cmp"), QStringLiteral("1.5")));
    m_fake->refuseKey(QStringLiteral("limiter_threshold"), kRefused);
    commit(kRowInputLimiters, -16);
    QCOMPARE(row(kRowInputLimiters)->valueText(), QStringLiteral("-9 dBFS"));
    QCOMPARE(audioSettings()->limiterThreshold(), -9);
    QCOMPARE(shownMessage(), QStringLiteral("Failed to apply changes!"));
}

void TestSettingsCodingAudio::standardModeMakesCoderOneMono()
{
    // Double codec mode, extended operation, coder 1 in MPA2 stereo at a rate mono lacks.
    QVERIFY(start([](FakeQuorix &fake) {
        fake.setList(QStringLiteral("device_opts"),
                     {QStringLiteral("ip_dcodec"), QStringLiteral("hardware_1")},
                     QStringLiteral("general"));
        fake.setValue(QStringLiteral("codec_mode"), QStringLiteral("cmode_double"), kAudio);
        fake.setValue(QStringLiteral("operation_mode"), QStringLiteral("extended"), kAudio);
        fake.setValue(
            QStringLiteral("dcodec_1"), QStringLiteral("MPA2/48000/stereo/192000"), kAudio);
    }));
    QCOMPARE(comDevice()->codecMode(), 1);
    openSection(kPageAudio);
    QVERIFY(row(kRowOperationMode));
    QVERIFY(row(kRowOperationMode)->isChecked());
    commitSwitch(kRowOperationMode, false);
    const QList<FakeRequest> log = m_fake->requests();
    int coder = -1;
    int mode = -1;
    for (int i = 0; i < log.size(); ++i) {
        if (log.at(i).isSetOf(QStringLiteral("dcodec_1"),
                              QStringLiteral("MPA2/48000/mono/64000/-1"))) {
            coder = i;
        }
        if (log.at(i).isSetOf(QStringLiteral("operation_mode"), QStringLiteral("standard")))
            mode = i;
    }
    QVERIFY(coder >= 0);
    QVERIFY(mode > coder);
    QCOMPARE(comDevice()->operationMode(), 0);
}

void TestSettingsCodingAudio::operationModeSwitch_data()
{
    QTest::addColumn<QStringList>("values"); // "key=value" of the audio target
    QTest::addColumn<bool>("busy");
    QTest::addColumn<bool>("extended"); // the switch is turned on
    QTest::addColumn<bool>("refused");  // the unit refuses the operation mode
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<QStringList>("bitRateLists"); // the codec mode each bit-rate list names
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("mode");

    const QString failed = QStringLiteral("Failed to apply changes!");
    const QStringList none;
    const QString doubleCodec = QStringLiteral("double_codec");
    const QStringList standard{QStringLiteral("operation_mode=standard")};
    const QStringList extended{QStringLiteral("operation_mode=extended")};
    const QStringList stereoTransmit
        = extended + QStringList{QStringLiteral("ip-dcodec_tx_1=OPUS/48000/stereo/96000")};
    const QString monoTransmit = QStringLiteral("ip-dcodec_tx_1=OPUS/48000/mono/32000");

    QTest::newRow("extended") << standard << false << true << false << extended << none << QString()
                              << 1;
    QTest::newRow("extended, refused")
        << standard << false << true << true << extended << none << failed << 0;
    QTest::newRow("standard during a call")
        << stereoTransmit << true << false << false << none << none
        << QStringLiteral("Cannot apply changes\n(a connection is established)") << 1;
    // Single codec mode: the IP transmit coding of coder 1 becomes mono at a rate the unit
    // lists for mono; coder 1 itself (stereo, no coordination line) is left alone.
    QTest::newRow("standard, stereo transmit coding")
        << stereoTransmit << false << false << false << QStringList{monoTransmit} + standard
        << QStringList{doubleCodec} << QString() << 0;
    QTest::newRow("standard, mono transmit coding")
        << extended + QStringList{QStringLiteral("ip-dcodec_tx_1=OPUS/48000/mono/48000")} << false
        << false << false << standard << none << QString() << 0;
    // Stereo with the coordination line exists only in extended operation: coder 1 becomes
    // mono, keeping its bit rate where mono has it.
    QTest::newRow("standard, stereo with the coordination line")
        << extended
               + QStringList{QStringLiteral("coord_mode=enabled"),
                             QStringLiteral("codec=OPUS/48000/stereo/64000"),
                             QStringLiteral("ip-dcodec_tx_1=OPUS/48000/mono/64000")}
        << false << false << false
        << QStringList{QStringLiteral("codec=OPUS/48000/mono/64000")} + standard
        << QStringList{QStringLiteral("single_codec")} << QString() << 0;
    // The coding writes decide nothing: a refused mode keeps the switch on.
    QTest::newRow("standard, refused")
        << stereoTransmit << false << false << true << QStringList{monoTransmit} + standard
        << QStringList{doubleCodec} << failed << 1;
}

void TestSettingsCodingAudio::operationModeSwitch()
{
    QFETCH(QStringList, values);
    QFETCH(bool, busy);
    QFETCH(bool, extended);
    QFETCH(bool, refused);
    QFETCH(QStringList, writes);
    QFETCH(QStringList, bitRateLists);
    QFETCH(QString, message);
    QFETCH(int, mode);
    QVERIFY(start([&values](FakeQuorix &fake) {
        fake.setList(QStringLiteral("device_opts"),
                     {QStringLiteral("ip_dcodec"), QStringLiteral("hardware_1")},
                     QStringLiteral("general"));
        for (const QString &value : values)
            fake.setValue(
                value.section(QLatin1Char('='), 0, 0), value.section(QLatin1Char('='), 1), kAudio);
    }));
    QCOMPARE(comDevice()->codecMode(), 0);
    if (busy)
        addCall();
    if (refused)
        m_fake->refuseKey(QStringLiteral("operation_mode"), kRefused);
    openSection(kPageAudio);
    QVERIFY(row(kRowOperationMode));
    commitSwitch(kRowOperationMode, extended);

    QCOMPARE(audioWrites({QStringLiteral("codec"),
                          QStringLiteral("dcodec_1"),
                          QStringLiteral("ip-dcodec_tx_1"),
                          QStringLiteral("operation_mode")}),
             writes);
    QStringList lists;
    for (const FakeRequest &request : m_fake->requests()) {
        if (request.isListOf(QStringLiteral("bitrate")))
            lists << request.value(QStringLiteral("codec_mode"));
    }
    QCOMPARE(lists, bitRateLists);
    QCOMPARE(shownMessage(), message);
    QCOMPARE(comDevice()->operationMode(), mode);
    QCOMPARE(row(kRowOperationMode)->isChecked(), mode == 1);
}

void TestSettingsCodingAudio::aes67StateResetsTheModule_data()
{
    QTest::addColumn<int>("hardware");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("writes"); // of aes67_reset
    QTest::addColumn<QString>("message");

    QTest::newRow("variant 1") << 1 << false << false << 1 << QString();
    QTest::newRow("variant 1 during a call") << 1 << true << false << 1 << QString();
    QTest::newRow("variant 4") << 4 << false << false << 1 << QString();
    QTest::newRow("variant 4 during a call")
        << 4 << true << false << 0
        << QStringLiteral("Cannot apply changes\n(a connection is established)");
    QTest::newRow("refused") << 1 << false << true << 1
                             << QStringLiteral("Failed to apply changes!");
}

// Disabling AES67 restarts the audio-over-IP module: its controller starts over and the module
// row stays locked until the controller has been read again.
void TestSettingsCodingAudio::aes67StateResetsTheModule()
{
    QFETCH(int, hardware);
    QFETCH(bool, busy);
    QFETCH(bool, refused);
    QFETCH(int, writes);
    QFETCH(QString, message);
    QVERIFY(start([hardware](FakeQuorix &fake) {
        fake.setList(QStringLiteral("device_opts"),
                     {QStringLiteral("hardware_%1").arg(hardware), QStringLiteral("ravenna")},
                     QStringLiteral("general"));
    }));
    QVERIFY(ravennaController()->startWithIdentity());
    if (busy)
        addCall();
    if (refused)
        m_fake->refuseKey(QStringLiteral("aes67_reset"), kRefused);
    openSection(kPageAudio);
    QCOMPARE(row(kRowAes67State)->valueText(), QStringLiteral("Active"));
    QVERIFY(!row(kPageRavenna)->isReadOnly());

    m_fake->clearLog();
    commit(kRowAes67State, 0);
    QCOMPARE(audioWrites({QStringLiteral("aes67_reset")}).size(), writes);
    QCOMPARE(shownMessage(), message);
    const bool done = message.isEmpty();
    QCOMPARE(m_fake->value(QStringLiteral("aes67_reset"), kAudio),
             done ? QStringLiteral("on") : QStringLiteral("off"));
    QCOMPARE(comDevice()->aes67Reset(), done);
    QCOMPARE(row(kRowAes67State)->valueText(),
             done ? QStringLiteral("Disabled") : QStringLiteral("Active"));
    QCOMPARE(ravennaController()->state() == TComController::StateUnknown, done);
    QCOMPARE(row(kPageRavenna)->isReadOnly(), done);
    if (!done)
        return;

    // Active again: the module restarts once more, and its row opens after it has been read.
    commit(kRowAes67State, 1);
    QCOMPARE(m_fake->value(QStringLiteral("aes67_reset"), kAudio), QStringLiteral("off"));
    QVERIFY(row(kPageRavenna)->isReadOnly());
    QVERIFY(ravennaController()->startWithIdentity());
    m_page->audioChangesetEvent(TComDevice::coreAudioChangeset());
    QVERIFY(!row(kPageRavenna)->isReadOnly());
}

void TestSettingsCodingAudio::monitoringEditsAndApply()
{
    QVERIFY(start([](FakeQuorix &fake) {
        fake.setValue(QStringLiteral("matrix_opt"), QStringLiteral("0000001F"), kAudio);
    }));
    firmwareVersion = 0x105ff;
    openSection(kPageAudio);
    QVERIFY(row(kRowChannelKnob)->isReadOnly()); // below 1.8.0
    QVERIFY(open(kPageMonitoring));
    QCOMPARE(m_page->currentPage()->id(), kPageMonitoring);
    QVERIFY(row(kRowIntercom)->isReadOnly()); // below 1.6.0
    QCOMPARE(row(kRowSideTone)->valueText(), QStringLiteral("Permanently available"));

    // Toggling and toggling back leaves no change; Apply then sends nothing.
    commitSwitch(kRowSideTone, true);
    QCOMPARE(row(kRowSideTone)->valueText(),
             QStringLiteral("Only when routed to Program or Coord."));
    QVERIFY(m_page->header()->isModified());
    commitSwitch(kRowSideTone, false);
    QVERIFY(!m_page->header()->isModified());
    m_page->applyClicked();
    QCOMPARE(shownMessage(), QString());
    for (const FakeRequest &request : m_fake->requests())
        QVERIFY(!request.isSetOf(QStringLiteral("matrix_opt")));

    // The whole word goes back with the changed bit.
    commitSwitch(kRowSideTone, true);
    m_page->applyClicked();
    QVERIFY(received(QStringLiteral("matrix_opt"), QStringLiteral("8000001F")));
    QVERIFY(!m_page->header()->isModified());

    // Refused: the switches show the unit's word again, and with no change left the mark goes.
    commitSwitch(kRowSideTone, false);
    QVERIFY(m_page->header()->isModified());
    m_fake->refuseKey(QStringLiteral("matrix_opt"), kRefused);
    m_page->applyClicked();
    QCOMPARE(shownMessage(), QStringLiteral("Failed to apply changes!"));
    QVERIFY(row(kRowSideTone)->isChecked());
    QVERIFY(!m_page->header()->isModified());
}

void TestSettingsCodingAudio::abandonedMonitoringEditsNeverSent()
{
    QVERIFY(start());
    openSection(kPageAudio);
    QVERIFY(open(kPageMonitoring));
    commitSwitch(kRowSideTone, true);
    commitSwitch(kRowIntercom, true);
    // Left without Apply: the channel knob sends only its own bit.
    m_page->backClicked();
    QCOMPARE(m_page->currentPage()->id(), kPageAudio);
    commitSwitch(kRowChannelKnob, true);
    QVERIFY(received(QStringLiteral("matrix_opt"), QStringLiteral("20000000")));
    QVERIFY(!received(QStringLiteral("matrix_opt"), QStringLiteral("E0000000")));
    QCOMPARE(row(kRowChannelKnob)->valueText(), QStringLiteral("Mic Fader"));
    QCOMPARE(matrixSettings()->options(), 0x20000000u);
}

// Options the unit did not send are asked for when the page opens; while it still has not sent
// them the switches say so, and Apply writes nothing over them. Once they arrive the page shows
// them.
void TestSettingsCodingAudio::unreadMonitoringOptions()
{
    QVERIFY(
        start([](FakeQuorix &fake) { fake.removeValue(QStringLiteral("matrix_opt"), kAudio); }));
    openSection(kPageAudio);
    // The channel knob's function is one of the options: unknown and locked as well.
    QVERIFY(row(kRowChannelKnob)->isReadOnly());
    QCOMPARE(row(kRowChannelKnob)->valueText(), QStringLiteral("Unknown"));
    QVERIFY(!row(kRowChannelKnob)->switchButton()->isVisibleTo(row(kRowChannelKnob)));
    QVERIFY(open(kPageMonitoring));
    QVERIFY(m_fake->waitForRequest(
        [](const FakeRequest &request) { return request.isGetOf(QStringLiteral("matrix_opt")); },
        0));
    for (const int id : {kRowSideTone, kRowIntercom}) {
        QVERIFY(row(id)->isReadOnly());
        QCOMPARE(row(id)->valueText(), QStringLiteral("Unknown"));
    }
    m_page->applyClicked();
    QVERIFY(audioWrites({QStringLiteral("matrix_opt")}).isEmpty());

    ksm::CMsg info(ksm::CMsg::Info);
    info.setParam("info_type", "audio_changeset");
    info.setParam("matrix_opt", "80000000");
    info.setParam("info_source", "core");
    QVERIFY(matrixSettings()->handleInfo(info));
    m_page->backClicked();
    QCOMPARE(m_page->currentPage()->id(), kPageAudio);
    m_page->audioChangesetEvent(info);
    QVERIFY(!row(kRowChannelKnob)->isReadOnly());
    QCOMPARE(row(kRowChannelKnob)->valueText(), QStringLiteral("Side Tone"));
    QVERIFY(row(kRowChannelKnob)->switchButton()->isVisibleTo(row(kRowChannelKnob)));
    QVERIFY(open(kPageMonitoring));
    QVERIFY(!row(kRowSideTone)->isReadOnly());
    QVERIFY(row(kRowSideTone)->isChecked());
    commitSwitch(kRowIntercom, true);
    m_page->applyClicked();
    QVERIFY(received(QStringLiteral("matrix_opt"), QStringLiteral("C0000000")));
}

QTEST_MAIN(TestSettingsCodingAudio)
#include "tst_settingscodingaudio.moc"
