#include "frontpanel/qvantelwindow.h"

#include "frontpanel/ivantelheadphonepage.h"
#include "frontpanel/ivantelmeterpage.h"
#include "frontpanel/ivantelsettingspage.h"
#include "frontpanel/qvantelbanner.h"
#include "frontpanel/qvantelconnectionpage.h"
#include "frontpanel/qvantelmainpage.h"
#include "model/audiosettings.h"
#include "model/comaudioconnection.h"
#include "model/comdataconnection.h"
#include "model/comdevice.h"
#include "model/matrixsettings.h"
#include "model/textconversions.h"
#include "widgets/ivantelstatuspanel.h"
#include "widgets/qvantelconnpanel.h"
#include "widgets/qvantellinkstatecolour.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuitem.h"

#include <string>

namespace {

// The call link of an audio connection: 1 for "audio", 2 for "audio2" and "coord_line".
int linkOf(const TComAudioConnection *connection)
{
    return connection->type() == TComBaseConnection::AudioLink1 ? 1 : 2;
}

} // namespace

// Status refresh.

int QVantelWindow::soundIdState(int page) const
{
    if (m_soundIdPlayerState == 0)
        return 1;
    if (audioSettings()->waveScut() && page == QVantel::MainPage)
        return 2;
    return 0;
}

void QVantelWindow::pushCachedLevels(int page, bool immediate)
{
    IVantelStatusPanel *panel = currentStatusPanel();
    if (!panel)
        return;
    panel->setAudioLevels(m_cachedLevels[TxLeft],
                          m_cachedLevels[TxRight],
                          m_cachedLevels[RxLeft],
                          m_cachedLevels[RxRight],
                          m_cachedLevels[Output1],
                          m_cachedLevels[Output2],
                          immediate);
    if (page == QVantel::AudioPage) {
        if (auto *meters = dynamic_cast<IVantelMeterPage *>(this->page(QVantel::AudioPage)))
            meters->setMeterLevels(&m_cachedLevels[Input1], 11, immediate);
    }
}

void QVantelWindow::refreshCurrentPage(int page)
{
    IVantelStatusPanel *panel = currentStatusPanel();
    if (!panel)
        return;
    TComDevice *device = comDevice();
    panel->setSoundIdState(soundIdState(page));
    panel->setBatteryLevel(device->batteryLevel());

    const std::string &network = device->defaultNetwork();
    const int family = TComDevice::networkFamily(network);
    const auto dataActive = [device, &network] {
        const TComBaseConnection *data
            = device->findConnection(TComBaseConnection::DataLink, network);
        return data && data->state() == 2;
    };
    switch (family) {
    case 0x100:
        panel->setNetworkType(0x100, 0);
        panel->setDataActive(device->ethernetController()->cable());
        break;
    case 0x300:
        panel->setNetworkType(0x300, device->mobileController()->technology() + 1);
        panel->setDataActive(dataActive());
        panel->setSignalQuality(device->mobileController()->state(), device->mobileSignalBars());
        break;
    case 0x400:
        panel->setNetworkType(0x400, 0);
        panel->setDataActive(dataActive());
        panel->setSignalQuality(device->wifiController()->state(), device->wifiSignalBars());
        break;
    default:
        panel->setNetworkType(family, 0);
        panel->setDataActive(false);
        break;
    }
    panel->setCodecMode(device->currentAudioRouting(), device->operationMode());
    panel->setSipState(1, sipState(1));
    panel->setSipState(2, sipState(2));
    refreshLinkStatus(panel, 1);
    refreshLinkStatus(panel, 2);
}

void QVantelWindow::refreshSoundIdState(int page)
{
    if (IVantelStatusPanel *panel = currentStatusPanel())
        panel->setSoundIdState(soundIdState(page));
}

void QVantelWindow::refreshLinkStatus(IVantelStatusPanel *panel, int link)
{
    if (!panel)
        return;
    TComDevice *device = comDevice();
    QVantelBanner *banner = mainPage() ? mainPage()->banner() : nullptr;
    const auto disable = [panel](int which) {
        panel->setLinkEnabled(which, false);
        panel->setLinkQuality(which, 100, 100);
    };
    const auto showQuality = [panel](int which, const TComAudioConnection *c, int stream) {
        panel->setLinkQuality(
            which, c->txStatistics(stream).netQuality, c->rxStatistics(stream).netQuality);
        panel->setLinkEnabled(which, true);
    };
    // The texts of a link on the connection page (network and coding on one line) and the banner.
    const auto showNames = [this, banner, link](const QString &interfaceText,
                                                const QString &codingText) {
        if (connectionPage())
            connectionPage()->setLinkInfo(link, interfaceText + QLatin1String(" / ") + codingText);
        if (banner)
            banner->setLinkNames(link, interfaceText, codingText);
    };
    const auto showAddress = [this, banner, link](const QString &address) {
        if (connectionPage())
            connectionPage()->setRemoteAddress(link, address, -1);
        if (banner)
            banner->setLinkDetail(link, address);
    };

    if (const TComAudioConnection *c = device->audioConnection(link)) {
        const int state = c->state();
        // An idle or ended call leaves the link state as it is.
        if (state == TComAudioConnection::StateSettingUp
            || state == TComAudioConnection::StateActive
            || state == TComAudioConnection::StateDisconnecting) {
            panel->setLinkState(link, QVantel::linkState(c, QVantel::LinkIdle));
        }
        if (state == TComAudioConnection::StateActive && c->codecRx().algorithm != -1) {
            showNames(QVantelLocalize::interfaceName(TComDevice::networkFromString(c->network())),
                      QVantelLocalize::codingSummary(c->codecRx()));
        }
        const bool dualStream = link == 1 && c->streamAddressing();
        if (state == TComAudioConnection::StateActive && TComDevice::connectionTransport(c) == 0) {
            showQuality(link, c, 0);
            if (dualStream)
                showQuality(2, c, 1);
        } else {
            disable(link);
            if (dualStream)
                disable(2);
        }
        const QString remote = toQString(c->remoteAddresses());
        if (!remote.isEmpty())
            showAddress(remote);
        return;
    }

    const TComAudioConnection *first = link == 2 ? device->audioConnection(1) : nullptr;
    if (first && first->streamAddressing())
        showQuality(2, first, 1);
    else
        disable(link);

    if (link == 2 && !device->hasCoordinationLine() && device->codecMode() != 1) {
        panel->setLinkState(2, QVantel::LinkUnused);
        return;
    }
    const QString address = rememberedAddress(link);
    QVantel::LinkState idle = QVantel::LinkUnused;
    if (device->loaded()
        && TComDevice::networkFamily(device->defaultNetwork()) != TComDevice::InvalidFamily) {
        idle = address.isEmpty() ? QVantel::LinkIdle : QVantel::LinkAddressed;
    }
    if (link == 2 && device->hasCoordinationLine()) {
        showNames(QVantelLocalize::interfaceName(TComDevice::MobileFamily),
                  QVantelLocalize::codecName(TComDevice::GsmAlgorithm));
    } else {
        showNames(
            QVantelLocalize::interfaceName(TComDevice::networkFromString(device->defaultNetwork())),
            QVantelLocalize::codingSummary(link == 1 ? device->coder1() : device->coder2()));
    }
    showAddress(address);
    panel->setLinkState(link, idle);
}

int QVantelWindow::sipState(int link) const
{
    TComDevice *device = comDevice();
    const SipAccount &account = device->aoipController()->account(link == 2 ? 2 : 1);
    if (account.registered())
        return device->linkTransport(link) == 0 ? 1 : 2;
    return account.cause().empty() ? 0 : 3;
}

void QVantelWindow::refreshShownSoundIdState()
{
    const int shown = shownPage();
    if (shown >= 0 && shown != QVantel::SettingsPage)
        refreshSoundIdState(shown);
}

void QVantelWindow::audioControllerStateChanged(TComController *controller)
{
    if (!controller || controller->state() != TComController::StateReady)
        return;
    if (TComDevice::hasOption(TComDevice::OptionRecord))
        refreshShownSoundIdState();
}

void QVantelWindow::audioControllerParamChanged(TComController *controller,
                                                TAudioSettings::CtlrParam param)
{
    Q_UNUSED(controller)
    if (param != TAudioSettings::WaveFile && param != TAudioSettings::WaveScut)
        return;
    if (TComDevice::hasOption(TComDevice::OptionRecord))
        refreshShownSoundIdState();
}

// Reactions to model events.

void QVantelWindow::connectionAdded(TComBaseConnection *connection)
{
    if (connection && connection->type() != TComBaseConnection::DataLink && settings())
        settings()->deviceBusy(true);
}

void QVantelWindow::connectionRemoved(TComBaseConnection *connection)
{
    if (!connection || connection->type() == TComBaseConnection::DataLink)
        return;
    refreshShownPage();
    if (!comDevice()->hasAudioConnection() && settings())
        settings()->deviceReleased(true);
}

void QVantelWindow::dataConnectionStateChanged(TComDataConnection *connection)
{
    if (connection && connection->network() == comDevice()->defaultNetwork())
        refreshShownPage();
}

void QVantelWindow::disableLink(IVantelStatusPanel *panel,
                                int link,
                                const TComAudioConnection *call)
{
    panel->setLinkEnabled(link, false);
    panel->setLinkQuality(link, 100, 100);
    if (link == 1 && call->streamAddressing()) {
        panel->setLinkEnabled(2, false);
        panel->setLinkQuality(2, 100, 100);
    }
}

void QVantelWindow::audioConnectionStateChanged(TComAudioConnection *connection)
{
    if (!connection)
        return;
    TComDevice *device = comDevice();
    TMatrixSettings *matrix = matrixSettings();
    const int link = linkOf(connection);
    const int state = connection->state();
    const bool coordinationLine = connection->type() == TComBaseConnection::CoordinationLine;
    QVantelBanner *banner = mainPage() ? mainPage()->banner() : nullptr;

    if (state == TComAudioConnection::StateActive && coordinationLine)
        matrix->coordLineStateChanged(true);
    if (state == TComAudioConnection::StateDisconnecting && connectionPage())
        connectionPage()->setLinkMessage(link, tr("Releasing call..."));
    if (state == TComAudioConnection::StateEnded) {
        if (coordinationLine)
            matrix->coordLineStateChanged(false);
        else if (link == 1)
            matrix->audioCallStateChanged(device->coder1().channelMode == 2);

        const std::string &cause = connection->cause();
        const QString message
            = cause.empty() ? tr("Call released")
                            : tr("Call released (%1)").arg(localize()->localizedText(cause));
        // The link's idle description comes back.
        QString interfaceText;
        QString codingText;
        QString address;
        if (link == 2 && device->hasCoordinationLine()) {
            interfaceText = QVantelLocalize::interfaceName(TComDevice::MobileFamily);
            codingText = QVantelLocalize::codecName(TComDevice::GsmAlgorithm);
            if (connectionPage())
                address = connectionPage()->panel(2)->remoteAddress(QVantelConnPanel::VoiceAddress);
        } else {
            interfaceText = QVantelLocalize::interfaceName(
                TComDevice::networkFromString(device->defaultNetwork()));
            codingText
                = QVantelLocalize::codingSummary(link == 1 ? device->coder1() : device->coder2());
            address = rememberedAddress(link);
        }
        if (connectionPage()) {
            connectionPage()->setLinkMessage(link, message);
            connectionPage()->setLinkInfo(link, interfaceText + QLatin1Char('\n') + codingText);
            connectionPage()->setRemoteAddress(link, address, -1);
        }
        if (banner) {
            banner->setLinkNames(link, interfaceText, codingText);
            banner->setLinkDetail(link, address);
        }
    }

    IVantelStatusPanel *panel = statusPageShown();
    if (panel
        && (state == TComAudioConnection::StateSettingUp
            || state == TComAudioConnection::StateDisconnecting
            || state == TComAudioConnection::StateEnded)) {
        const QVantel::LinkState idle
            = rememberedAddress(link).isEmpty() ? QVantel::LinkIdle : QVantel::LinkAddressed;
        panel->setLinkState(link, QVantel::linkState(connection, idle));
        if (state != TComAudioConnection::StateSettingUp)
            disableLink(panel, link, connection);
    }
    if (settings())
        settings()->audioConnectionStateChanged(connection);
}

void QVantelWindow::audioCallStatusChanged(TComAudioConnection *connection)
{
    if (!connection)
        return;
    TComDevice *device = comDevice();
    const int link = linkOf(connection);
    const int state = connection->state();
    const int status = connection->status();
    const QString remote = toQString(connection->remoteAddresses());
    const QString interfaceText
        = QVantelLocalize::interfaceName(TComDevice::networkFromString(connection->network()));
    const QString codingText = QVantelLocalize::codingSummary(connection->codecRx());
    QVantelBanner *banner = mainPage() ? mainPage()->banner() : nullptr;

    const auto message = [this, link](const QString &text) {
        if (connectionPage())
            connectionPage()->setLinkMessage(link, text);
    };
    const auto showRemote = [this, banner, link, &remote] {
        if (connectionPage())
            connectionPage()->setRemoteAddress(link, remote, -1);
        if (banner)
            banner->setLinkDetail(link, remote);
    };
    const auto showNames = [this, banner, link, &interfaceText, &codingText] {
        if (connectionPage())
            connectionPage()->setLinkInfo(link, interfaceText + QLatin1Char('\n') + codingText);
        if (banner)
            banner->setLinkNames(link, interfaceText, codingText);
    };
    const auto routeStereo = [connection, link] {
        if (link == 1)
            matrixSettings()->audioCallStateChanged(connection->codecRx().channelMode == 2);
    };

    if (state == TComAudioConnection::StateSettingUp) {
        if (status == TComAudioConnection::StatusRinging) {
            message(tr("Incoming call..."));
            showRemote();
        } else if (status == TComAudioConnection::StatusAutoRedial) {
            message(tr("Call redial pending..."));
        } else {
            message(tr("Call in progress..."));
        }
    } else if (state == TComAudioConnection::StateActive) {
        switch (status) {
        case TComAudioConnection::StatusActive:
            if (connection->codecRx().algorithm != -1) {
                routeStereo();
                showNames();
            }
            message(tr("Call in progress (%1)").arg(tr("negociating")));
            showRemote();
            break;
        case TComAudioConnection::StatusNegotiating:
            message(tr("Call in progress (%1)").arg(tr("negociating")));
            break;
        case TComAudioConnection::StatusWaitingForSync:
            message(tr("Call in progress (%1)").arg(tr("waiting for sync")));
            break;
        case TComAudioConnection::StatusSync:
            routeStereo();
            if (connectionPage())
                connectionPage()->setLinkInfo(link, interfaceText + QLatin1Char('\n') + codingText);
            message(tr("Call established (%1)").arg(tr("synchronized")));
            if (banner)
                banner->setLinkNames(link, interfaceText, codingText);
            break;
        case TComAudioConnection::StatusSyncLost:
            message(tr("Call established (%1)").arg(tr("sync lost")));
            break;
        default:
            break;
        }
        if (status >= TComAudioConnection::StatusNegotiating
            && status <= TComAudioConnection::StatusSyncLost && !remote.isEmpty()) {
            showRemote();
        }
    }

    IVantelStatusPanel *panel = statusPageShown();
    if (panel
        && (state == TComAudioConnection::StateSettingUp
            || state == TComAudioConnection::StateActive)) {
        const QVantel::LinkState shown = QVantel::linkState(connection, QVantel::LinkIdle);
        panel->setLinkState(link, shown);
        const int previous = connection->previousStatus();
        // The codec mode and quality only when the call becomes synchronised, not on a repeated
        // report.
        if (shown == QVantel::LinkUp && previous != TComAudioConnection::StatusSync
            && previous != TComAudioConnection::StatusSyncLost) {
            panel->setCodecMode(device->currentAudioRouting(), device->operationMode());
            if (TComDevice::connectionTransport(connection) == 0) {
                panel->setLinkQuality(link,
                                      connection->txStatistics(0).netQuality,
                                      connection->rxStatistics(0).netQuality);
                panel->setLinkEnabled(link, true);
                if (link == 1 && connection->streamAddressing()) {
                    panel->setLinkQuality(2,
                                          connection->txStatistics(1).netQuality,
                                          connection->rxStatistics(1).netQuality);
                    panel->setLinkEnabled(2, true);
                }
            }
        }
    }
    if (settings())
        settings()->audioCallStatusChanged(connection);
}

void QVantelWindow::audioCallStatisticChanged(TComAudioConnection *connection)
{
    if (!connection)
        return;
    const int type = connection->type();
    IVantelStatusPanel *panel = statusPageShown();
    if (panel && type != TComBaseConnection::CoordinationLine) {
        const int link = type == TComBaseConnection::AudioLink2 ? 2 : 1;
        panel->setLinkQuality(
            link, connection->txStatistics(0).netQuality, connection->rxStatistics(0).netQuality);
        panel->setLinkEnabled(link, true);
        if (link == 1 && connection->streamAddressing()) {
            panel->setLinkQuality(
                2, connection->txStatistics(1).netQuality, connection->rxStatistics(1).netQuality);
            panel->setLinkEnabled(2, true);
        }
    }
    if (settings())
        settings()->audioCallStatisticChanged(connection);
}

void QVantelWindow::audioCallRelayChanged(TComAudioConnection *connection)
{
    if (!connection || connection->type() != TComBaseConnection::AudioLink1
        || !connection->relaysValid() || !mainPage()) {
        return;
    }
    mainPage()->setInfoLamp(0, connection->relay1());
    mainPage()->setInfoLamp(1, connection->relay2());
}

void QVantelWindow::copyMonitoringClicked(int target, QWidget *source)
{
    if (target < 1 || target > 4)
        return;
    auto *page
        = dynamic_cast<IVantelHeadphonePage *>(this->page(QVantel::Headphone1Page + target - 1));
    if (source && page)
        page->copySettingsFrom(source);
}

void QVantelWindow::menuItemChanges(QVantelMenuItem *item, int code)
{
    if (!item || !item->page() || !settings() || (code != 19 && code != 20))
        return;
    const int link = code == 19 ? 1 : 2;
    QString address = settings()->remoteAddressText(0);
    if (address.isEmpty())
        return;
    const QString second = settings()->remoteAddressText(1);
    if (!second.isEmpty())
        address += QLatin1Char(',') + second;

    TComDevice *device = comDevice();
    if (!device->loaded()
        || TComDevice::networkFamily(device->defaultNetwork()) == TComDevice::InvalidFamily) {
        return;
    }
    const int kind = device->linkTransport(link);
    if (connectionPage()) {
        connectionPage()->panel(link)->setRemoteAddress(address, kind);
        connectionPage()->setLinkState(link, QVantel::LinkAddressed);
    }
    storeRemoteNumber(link, address, kind);
}

void QVantelWindow::storeRemoteNumber(int link, const QString &number, int kind)
{
    if (kind == -1)
        return;
    comDevice()->storeRemoteNumber(link, toStdString(number), kind);
    if (mainPage())
        mainPage()->banner()->setLinkDetail(link, number);
}
