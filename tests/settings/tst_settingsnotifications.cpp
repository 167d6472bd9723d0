#include "settings/qvantelsettingspage.h"

#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/matrixsettings.h"
#include "settings/settingsids.h"
#include "tests/settings/settingspagerig.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QLabel>
#include <QTest>

namespace {

const QString kAudio = QStringLiteral("audio");
constexpr quint32 kFirmware2 = 0x20007;

} // namespace

// What the settings pages do when the unit reports a change while they are shown: the audio
// parameter changes and the core's change-set info on the Audio page, and the configuration
// events on the Network, Coding, Audio and Status pages. The model is changed without telling
// the page, so that a row shows the change only when the notification refreshed it.
class TestSettingsNotifications : public QObject, private SettingsPageRig
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void audioParameterChanges_data();
    void audioParameterChanges();
    void audioChangeset_data();
    void audioChangeset();
    void configurationEvents_data();
    void configurationEvents();

private:
    void openSection(int section);
    // Opens the Audio page, then turns the model to extended operation behind its back.
    void extendedBehindTheAudioPage();
    QVantelMenuItem *row(int id) const;
    // What a row shows: its label and its value.
    QString shown(int id) const;
};

void TestSettingsNotifications::init()
{
    QVERIFY(startDemoUnit(AccessLevel::Administrator, kFirmware2));
    // The auxiliary board (operation mode row), double streaming on several networks (secondary
    // network row), and a mono coder 1 without coordination line.
    m_fake->setList(QStringLiteral("device_opts"),
                    {QStringLiteral("ip_dcodec"),
                     QStringLiteral("hardware_1"),
                     QStringLiteral("ravenna"),
                     QStringLiteral("ip_dstream_2")},
                    QStringLiteral("general"));
    m_fake->setValue(QStringLiteral("codec"), QStringLiteral("OPUS/48000/mono/64000"), kAudio);
    QVERIFY(connectPage([] {
        return comDevice()->refresh() && audioSettings()->start(true)
               && matrixSettings()->start(true);
    }));
    QCOMPARE(comDevice()->operationMode(), 0);
}

void TestSettingsNotifications::cleanup()
{
    stopUnit();
}

void TestSettingsNotifications::openSection(int section)
{
    QVantelMenuEntries *entries = m_page->entries();
    entries->childClicked(entries->findEntry(section)->titleLabel());
}

void TestSettingsNotifications::extendedBehindTheAudioPage()
{
    openSection(kPageAudio);
    QVERIFY(row(kRowOperationMode) && !row(kRowOperationMode)->isChecked());
    QVERIFY(comDevice()->setOperationMode(1, false));
}

QVantelMenuItem *TestSettingsNotifications::row(int id) const
{
    QVantelMenuItems *page = m_page->currentPage();
    return page ? page->findItem(id) : nullptr;
}

QString TestSettingsNotifications::shown(int id) const
{
    const QVantelMenuItem *item = row(id);
    return item ? item->titleText() + QLatin1Char('|') + item->valueText() : QString();
}

void TestSettingsNotifications::audioParameterChanges_data()
{
    QTest::addColumn<int>("param");
    QTest::addColumn<bool>("audioPage"); // shown when the parameter changes
    QTest::addColumn<bool>("refreshed");

    for (const TAudioSettings::CtlrParam param : {TAudioSettings::LimiterThreshold,
                                                  TAudioSettings::InputSource,
                                                  TAudioSettings::DrcState,
                                                  TAudioSettings::DrcLimThreshold,
                                                  TAudioSettings::DrcThresholdCmp,
                                                  TAudioSettings::DrcRatioCmp,
                                                  TAudioSettings::DrcAttack}) {
        QTest::addRow("parameter %d", int(param)) << int(param) << true << true;
    }
    for (const TAudioSettings::CtlrParam param :
         {TAudioSettings::LineOutput2Level, TAudioSettings::WaveFile, TAudioSettings::WaveScut}) {
        QTest::addRow("parameter %d ignored", int(param)) << int(param) << true << false;
    }
    QTest::newRow("monitoring page shown")
        << int(TAudioSettings::LimiterThreshold) << false << false;
}

// An audio parameter the Audio page shows re-reads the whole page from the model.
void TestSettingsNotifications::audioParameterChanges()
{
    QFETCH(int, param);
    QFETCH(bool, audioPage);
    QFETCH(bool, refreshed);
    extendedBehindTheAudioPage();
    if (!audioPage)
        m_page->itemClicked(row(kPageMonitoring));
    emit audioSettings()->controllerParamChanged(audioSettings(), TAudioSettings::CtlrParam(param));
    if (!audioPage)
        m_page->backClicked();
    QCOMPARE(m_page->currentPage()->id(), kPageAudio);
    QCOMPARE(row(kRowOperationMode)->isChecked(), refreshed);
}

void TestSettingsNotifications::audioChangeset_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("refreshed");

    const QString changeset = QStringLiteral("audio_changeset");
    const QString core = QStringLiteral("core");
    QTest::newRow("core") << changeset << core << true;
    QTest::newRow("other source") << changeset << QStringLiteral("matrix") << false;
    QTest::newRow("other info") << QStringLiteral("network_info") << core << false;
}

// The core's change-set info re-reads the Audio page; other infos do not.
void TestSettingsNotifications::audioChangeset()
{
    QFETCH(QString, type);
    QFETCH(QString, source);
    QFETCH(bool, refreshed);
    extendedBehindTheAudioPage();
    ksm::CMsg info(ksm::CMsg::Info);
    info.setParam("info_type", type.toStdString());
    info.setParam("info_source", source.toStdString());
    m_page->audioChangesetEvent(info);
    QCOMPARE(row(kRowOperationMode)->isChecked(), refreshed);
}

void TestSettingsNotifications::configurationEvents_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<QString>("event");
    // What changes in the model: the default or secondary network, the codec mode, coder 1's
    // coding or the operation mode.
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("rowId");
    QTest::addColumn<bool>("refreshed");

    const int network = kPageNetwork;
    const int coding = kPageCoding;
    const int audio = kPageAudio;
    const int status = kPageStatus;
    const auto row = [](const char *name,
                        int section,
                        const char *event,
                        const char *change,
                        int rowId,
                        bool refreshed) {
        QTest::newRow(name) << section << QString::fromLatin1(event) << QString::fromLatin1(change)
                            << rowId << refreshed;
    };
    // clang-format off
    // Network page: row 7 default network, row 8 secondary network, row 9 codec mode.
    row("network, default network",      network, "default_network",   "default",    kRowDefaultNetwork,   1);
    row("network, default network, 8",   network, "default_network",   "secondary",  kRowSecondaryNetwork, 0);
    row("network, secondary network",    network, "secondary_network", "secondary",  kRowSecondaryNetwork, 1);
    row("network, secondary network, 7", network, "secondary_network", "default",    kRowDefaultNetwork,   0);
    row("network, default codec, 8",     network, "default_codec",     "secondary",  kRowSecondaryNetwork, 1);
    row("network, default codec, 9",     network, "default_codec",     "codec mode", kRowCodecMode,        1);
    row("network, codec change, 8",      network, "codec_change",      "secondary",  kRowSecondaryNetwork, 1);
    row("network, codec change, 9",      network, "codec_change",      "codec mode", kRowCodecMode,        0);
    row("network, other event",          network, "other",             "default",    kRowDefaultNetwork,   0);
    // Coding page: the codec rows' network and coding.
    row("coding, default network",       coding,  "default_network",   "default",    kPageCodec1,          1);
    row("coding, default codec",         coding,  "default_codec",     "coder 1",    kPageCodec1,          1);
    row("coding, codec change",          coding,  "codec_change",      "coder 1",    kPageCodec1,          0);
    // Audio page.
    row("audio, default codec",          audio,   "default_codec",     "operation",  kRowOperationMode,    1);
    row("audio, default network",        audio,   "default_network",   "operation",  kRowOperationMode,    0);
    // Status page: the codec 1 row.
    row("status, default network",       status,  "default_network",   "default",    kRowStatusCodec1,     1);
    row("status, default codec",         status,  "default_codec",     "coder 1",    kRowStatusCodec1,     1);
    row("status, secondary network",     status,  "secondary_network", "coder 1",    kRowStatusCodec1,     0);
    // clang-format on
}

// Each configuration event refreshes the rows of the shown page that depend on it, and only
// those.
void TestSettingsNotifications::configurationEvents()
{
    QFETCH(int, section);
    QFETCH(QString, event);
    QFETCH(QString, change);
    QFETCH(int, rowId);
    QFETCH(bool, refreshed);
    openSection(section);
    QCOMPARE(m_page->currentPage()->id(), section);
    QVERIFY(row(rowId));
    const QString before = shown(rowId);

    TComDevice *device = comDevice();
    if (change == QLatin1String("default")) {
        QVERIFY(device->defaultNetwork() != "eth.1");
        QVERIFY(device->setDefaultNetwork("eth.1", false));
    } else if (change == QLatin1String("secondary")) {
        QVERIFY(device->secondaryNetwork() != "eth.1");
        QVERIFY(device->setSecondaryNetwork("eth.1", false));
    } else if (change == QLatin1String("codec mode")) {
        QVERIFY(device->setCodecMode(1, false));
    } else if (change == QLatin1String("coder 1")) {
        QVERIFY(device->setCodec(1, "MPA2/48000/mono/64000", false));
    } else {
        QVERIFY(device->setOperationMode(1, false));
    }
    QCOMPARE(shown(rowId), before);

    ksm::CMsg configuration(ksm::CMsg::Event);
    configuration.setParam("event_type", event.toStdString());
    m_page->configurationEvent(configuration);
    QCOMPARE(shown(rowId) != before, refreshed);
}

QTEST_MAIN(TestSettingsNotifications)
#include "tst_settingsnotifications.moc"
