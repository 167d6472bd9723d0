#include "frontpanel/qvantelwindow.h"

#include "frontpanel/ivantelresetpage.h"
#include "frontpanel/ivantelsettingspage.h"
#include "frontpanel/qvantelconnectionpage.h"
#include "frontpanel/qvantelloginpage.h"
#include "frontpanel/qvantelmainpage.h"
#include "frontpanel/qvantelsoftkeys.h"
#include "link/ccom.h"
#include "link/comclient.h"
#include "link/logtext.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/comravennacontroller.h"
#include "model/matrixsettings.h"
#include "model/textconversions.h"
#include "widgets/qvantelconnpanel.h"

#include <QTimer>

#include <optional>
#include <string>

namespace {

// Interval of the device's level reports.
constexpr int kLevelPeriodMs = 150;

} // namespace

// Session: connection state, initialisation, set-up, keep-alive.

void QVantelWindow::stateChanged(RpcConnection::ConnectionState state)
{
    if (state == RpcConnection::Connected) {
        if (m_currentPage != QVantel::LoginPage)
            QTimer::singleShot(m_timing.startDelayMs, this, &QVantelWindow::startInitialization);
        return;
    }
    if (state != RpcConnection::Unconnected && state != RpcConnection::Closing)
        return;
    m_setupTimer->stop();
    m_keepAliveTimer->stop();
    m_cachedLevels.fill(kNoLevel);
    m_deferredMessages.clear();
    m_soundIdPlayerState = -1;
    m_setupPending = false;
    m_initPending = false;
    resetModel();
    const int shown = shownPage();
    if (shown >= 0 && shown != QVantel::SettingsPage) {
        pushCachedLevels(shown, true);
        refreshCurrentPage(shown);
    }
}

void QVantelWindow::resetModel()
{
    comDevice()->reset(true);
    audioSettings()->reset();
    matrixSettings()->reset();
    ravennaController()->reset();
}

void QVantelWindow::startInitialization()
{
    ksm::CCom *client = comClient();
    if (client->state() != RpcConnection::Connected)
        return;
    if (!client->isReady() || m_inSetup) {
        m_initPending = true;
        return;
    }
    m_initPending = false;
    if (settings())
        settings()->loadPasswords();
    setupControllers();
    m_setupTimer->start(m_timing.setupIntervalMs);
}

void QVantelWindow::setupControllers()
{
    ksm::CCom *client = comClient();
    if (m_inSetup || !client->isReady()) {
        m_setupPending = true;
        return;
    }
    m_inSetup = true;
    m_setupPending = false;
    if (client->state() == RpcConnection::Connected)
        setupPass();
    m_inSetup = false;
    // The next pass comes a whole interval after this one ended, however long it took: a unit
    // that answers late must not keep the program in passes that follow each other without end.
    if (m_setupTimer->isActive())
        m_setupTimer->start(m_timing.setupIntervalMs);
    // What was asked for meanwhile runs from the event loop, after this pass has returned.
    if (m_setupPending || m_initPending)
        scheduleDrain();
}

void QVantelWindow::setupTimerFired()
{
    // A tick that finds a pass or another call running is not remembered: the timer comes
    // again after the interval.
    if (m_inSetup || !comClient()->isReady())
        return;
    setupControllers();
}

void QVantelWindow::setupPass()
{
    TComDevice *device = comDevice();
    if (!device->loaded()) {
        if (!device->refresh())
            return;
        frontPanelSetup();
    }
    TMatrixSettings *matrix = matrixSettings();
    if (device->loaded() && matrix->state() == TComController::StateUnknown) {
        if (matrix->start(true) && mainPage())
            mainPage()->refreshInputNames();
    }
    TAudioSettings *audio = audioSettings();
    if (device->loaded() && audio->state() == TComController::StateUnknown) {
        if (audio->start(true))
            softkeys()->readAll();
    }
    TComRavennaController *ravenna = ravennaController();
    if (device->loaded() && audio->state() == TComController::StateReady && audio->auxiliaryBoard()
        && TComDevice::hasOption(TComDevice::OptionRavenna) && !device->aes67Reset()
        && ravenna->state() == TComController::StateUnknown) {
        if (ravenna->startWithIdentity() && settings())
            settings()->audioChangesetEvent(TComDevice::coreAudioChangeset());
    }
}

void QVantelWindow::frontPanelSetup()
{
    TComDevice *device = comDevice();
    refreshShownPage();

    TComDevice::PanelRecord record;
    device->readPanelRecord(record);
    if (connectionPage()) {
        for (const TComDevice::RemoteNumber &entry : record.numbers)
            connectionPage()->setRemoteAddress(entry.link, toQString(entry.number), entry.kind);
    }
    if (mainPage()) {
        // Relay inputs light the contact lamps, relay outputs the info lamps.
        for (int relay = 0; relay < 2; ++relay) {
            if (const std::optional<bool> on = record.relayInputs[size_t(relay)])
                mainPage()->setContactLamp(relay, *on);
        }
        for (int relay = 0; relay < 2; ++relay) {
            if (const std::optional<bool> on = record.relayOutputs[size_t(relay)])
                mainPage()->setInfoLamp(relay, *on);
        }
    }

    if (TComDevice::hasOption(TComDevice::OptionRecord)) {
        bool playing = false;
        if (device->readRecorderPlaying(playing))
            m_soundIdPlayerState = playing ? 0 : -1;
    }

    refreshShownPage();
    device->subscribeAudioLevels(kLevelPeriodMs);
    device->requestCommEvents();
}

void QVantelWindow::keepAliveEvent()
{
    ksm::CCom *client = comClient();
    TComDevice *device = comDevice();
    if (client->state() != RpcConnection::Connected || !client->isReady() || !device->loaded())
        return;
    if (device->readNetworks())
        return;
    logWarning(QStringLiteral("QVantelWindow: keep-alive probe failed, reconnecting"));
    m_keepAliveTimer->stop();
    const QString host = client->host();
    const quint16 tcpPort = client->tcpPort();
    const quint16 datagramPort = client->datagramPort();
    client->disconnect();
    client->connect(host, tcpPort, datagramPort);
}

void QVantelWindow::deviceStateChanged(TComDevice::DeviceState state)
{
    TComDevice *device = comDevice();
    TMatrixSettings *matrix = matrixSettings();
    switch (state) {
    case TComDevice::RelayInputsState:
        if (mainPage()) {
            mainPage()->setContactLamp(0, device->relayInput1().active);
            mainPage()->setContactLamp(1, device->relayInput2().active);
        }
        return;
    case TComDevice::Aes67ResetState:
        if ((device->hardwareVariant() & 0xF) != 0
            && TComDevice::hasOption(TComDevice::OptionRavenna) && device->aes67Reset()) {
            ravennaController()->reset();
        }
        return;
    case TComDevice::OperationModeState:
        if (matrix->state() == TComController::StateReady)
            matrix->setOperationMode(device->operationMode());
        break;
    case TComDevice::DeviceStateAll:
    case TComDevice::Coder1State:
        if (matrix->state() == TComController::StateReady)
            matrix->audioCallStateChanged(device->coder1().channelMode == 2);
        break;
    default:
        break;
    }
    refreshShownPage();
    if (state == TComDevice::DeviceStateAll)
        m_keepAliveTimer->start(m_timing.keepAliveIntervalMs);
}

// Login completion.

void QVantelWindow::completeLogin()
{
    std::string tabName;
    const bool named = comDevice()->readTabName(tabName);
    emit loginClicked(named ? fromDeviceString(tabName) : QString());
    if (connectionPage()) {
        connectionPage()->panel(1)->reset();
        connectionPage()->panel(2)->reset();
    }
    for (int index = QVantel::AudioPage; index <= QVantel::Headphone4Page; ++index) {
        if (auto *resettable = dynamic_cast<IVantelResetPage *>(page(index)))
            resettable->resetView();
    }
    startInitialization();
}
