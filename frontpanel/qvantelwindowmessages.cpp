#include "frontpanel/qvantelwindow.h"

#include "frontpanel/ivantelmeterpage.h"
#include "frontpanel/ivantelsettingspage.h"
#include "frontpanel/qvantelconnectionpage.h"
#include "frontpanel/qvantelsoftkeys.h"
#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/protocolkeys.h"
#include "link/valueconversions.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/comravennacontroller.h"
#include "model/matrixsettings.h"
#include "model/textconversions.h"
#include "widgets/ivantelstatuspanel.h"
#include "widgets/qvantelevent.h"
#include "widgets/qvantellocalize.h"

#include <QCoreApplication>
#include <QTimer>

#include <string>

namespace {

const std::string &param(const ksm::CMsg &message, const std::string &key)
{
    return *message.param(key);
}

int number(const std::string &text)
{
    return int(stringToLong(text));
}

} // namespace

// Device messages.

void QVantelWindow::messageReceived(const RpcMessage &message)
{
    if (message.type() != RpcMessage::Signal)
        return;
    const ksm::CMsg &body = message.body();
    if (body.type() == ksm::CMsg::Event && param(body, kKeyEventType) == kEventAudioLevels) {
        handleLevels(body);
        return;
    }
    // A message that did not come from the link (none is numbered) counts as the newest.
    const qint64 arrival = comClient()->signalArrival();
    m_deferredMessages.append({message, arrival > 0 ? arrival : ksm::CCom::kNewestSignal});
    if (comClient()->isReady()) {
        QCoreApplication::postEvent(this, new QVantelEvent(QVantelEvent::DeviceMessage, -1, 0));
    }
}

void QVantelWindow::sendSyncMsgCompleted()
{
    if (!m_deferredMessages.isEmpty() || m_setupPending || m_initPending)
        scheduleDrain();
}

void QVantelWindow::scheduleDrain()
{
    if (m_drainScheduled)
        return;
    m_drainScheduled = true;
    QTimer::singleShot(0, this, &QVantelWindow::processDeferredMessages);
}

void QVantelWindow::processDeferredMessages()
{
    m_drainScheduled = false;
    runPending();
    while (dispatchNext()) {
    }
}

void QVantelWindow::runPending()
{
    if (!comClient()->isReady() || m_inSetup || m_dispatching)
        return;
    if (m_initPending)
        startInitialization();
    else if (m_setupPending)
        setupControllers();
}

bool QVantelWindow::dispatchNext()
{
    if (m_deferredMessages.isEmpty())
        return false;
    // A message is never handled inside a synchronous call, nor inside another message's
    // handling (a popup shown by a handler lets posted events through), nor while a task such as
    // a step of the settings menu runs (a page built, tested or applied: a popup it paints lets
    // posted events through too, and an event handled there would change the values the step
    // is about to write); it stays queued for the drain that follows.
    if (!comClient()->isReady() || m_dispatching || comClient()->hasTask()) {
        return false;
    }
    const QueuedMessage next = m_deferredMessages.takeFirst();
    m_dispatching = true;
    {
        // What it reports is as old as its arrival, however long it waited here.
        const ksm::HandledSignal handled(comClient(), next.arrival);
        dispatch(next.message);
    }
    m_dispatching = false;
    if (!m_deferredMessages.isEmpty() || m_setupPending || m_initPending)
        scheduleDrain();
    return true;
}

void QVantelWindow::dispatch(const RpcMessage &message)
{
    switch (message.body().type()) {
    case ksm::CMsg::Info:
        handleInfoMessage(message);
        break;
    case ksm::CMsg::Event:
        handleEventMessage(message);
        break;
    default:
        break;
    }
}

void QVantelWindow::handleLevels(const ksm::CMsg &body)
{
    IVantelStatusPanel *panel = currentStatusPanel();
    if (!panel || showsSettingsPage())
        return;
    m_cachedLevels[TxLeft] = number(param(body, kLevelKeyTxL));
    m_cachedLevels[TxRight] = number(param(body, kLevelKeyTxR));
    m_cachedLevels[RxLeft] = number(param(body, kLevelKeyRxL));
    m_cachedLevels[RxRight] = number(param(body, kLevelKeyRxR));
    for (int output = 0; output < 2; ++output) {
        const std::string *value = body.param(kLevelKeyOu + std::to_string(output + 1), false);
        m_cachedLevels[size_t(Output1 + output)] = value ? number(*value) : kNoLevel;
    }
    // The input levels are sent only for the audio page's meters.
    const int shown = shownPage();
    if (shown == QVantel::AudioPage) {
        for (int input = 0; input < 11; ++input) {
            const std::string *value = body.param(kLevelKeyIn + std::to_string(input + 1), false);
            m_cachedLevels[size_t(Input1 + input)] = value ? number(*value) : kNoLevel;
        }
    }
    pushCachedLevels(shown, false);
}

void QVantelWindow::handleInfoMessage(const RpcMessage &message)
{
    const ksm::CMsg &body = message.body();
    const std::string &infoType = param(body, kKeyInfoType);
    if (infoType.empty())
        return;
    if (infoType == kEventAudioChangeset) {
        const std::string &source = param(body, kKeyInfoSource);
        if (source == kSourceAic) {
            audioSettings()->handleInfo(body);
            matrixSettings()->handleInfo(body);
        } else if (source == kSourceZman0 || source == kSourceBklyn0) {
            handleModuleReport(body);
        } else if (source == kSourceCore) {
            comDevice()->handleInfo(body);
        }
    } else if (infoType == kEventConfigChangeset) {
        if (param(body, kKeyInfoSource) == kSourceHcc)
            softkeys()->handleEvent(body);
    } else if (infoType == kEventRemoteNumbers) {
        handleRemoteNumbers(message);
    } else {
        comDevice()->handleInfo(body);
    }
    if (settings())
        settings()->audioChangesetEvent(body);
}

void QVantelWindow::handleModuleReport(const ksm::CMsg &body)
{
    if (const std::string *status = body.param(kKeySystemStatus, false)) {
        if ((number(*status) & 1) == 0) {
            ravennaController()->reset();
            if (settings())
                settings()->audioChangesetEvent(TComDevice::coreAudioChangeset());
        }
    }
    if (const std::string *update = body.param(kKeySystemUpdate, false)) {
        if (settings())
            settings()->deviceBusy(true);
        const int progress = number(param(body, kKeyProgress));
        QString text;
        switch (number(*update)) {
        case 1:
            text = tr("AES67 module update...\n\nUploading firmware %1%\n\nDo not turn off the "
                      "unit!");
            break;
        case 2:
            text = tr("AES67 module update...\n\nInstalling firmware %1%\n\nDo not turn off the "
                      "unit!");
            break;
        case 3:
            text = tr("AES67 module update failed!\n\nPlease reboot the unit!");
            break;
        case 4:
            text = tr("AES67 module update finished\n\nPlease reboot the unit!");
            break;
        default:
            return;
        }
        if (text.contains(QLatin1String("%1")))
            text = text.arg(progress);
        showMessagePopup(text, 0);
    }
}

void QVantelWindow::handleRemoteNumbers(const RpcMessage &message)
{
    if (connectionPage()) {
        for (const TComDevice::RemoteNumber &entry : TComDevice::remoteNumbers(message.body()))
            connectionPage()->setRemoteAddress(entry.link, toQString(entry.number), entry.kind);
    }
    refreshShownPage();
}

void QVantelWindow::handleEventMessage(const RpcMessage &message)
{
    const ksm::CMsg &body = message.body();
    const std::string &eventType = param(body, kKeyEventType);
    if (eventType.empty())
        return;
    if (eventType == kEventShuttingdown) {
        if (settings())
            settings()->deviceBusy(true);
        showMessagePopup(tr("System is going down..."), 0);
    } else if (eventType == kEventRebooting) {
        if (settings())
            settings()->deviceBusy(true);
        showMessagePopup(tr("System is restarting..."), 0);
    } else if (eventType == kEventReinit) {
        m_soundIdPlayerState = -1;
        resetModel();
        if (settings())
            settings()->loadPasswords();
        setupControllers();
        refreshShownPage();
    } else if (eventType == kEventSystemUpdate) {
        if (settings())
            settings()->deviceBusy(true);
        const std::string &cause = param(body, kKeyCause);
        if (!cause.empty()) {
            showMessagePopup(tr("System update failed!\n%1\nPlease reboot the unit!")
                                 .arg(localize()->localizedText(cause)),
                             0);
        } else {
            showMessagePopup(tr("System update started...\nDo not turn off the unit!\n\n%1")
                                 .arg(localize()->localizedText(param(body, kKeyState))),
                             0);
        }
    } else if (eventType == kEventDisplay) {
        const std::string &text = param(body, kKeyMessage);
        if (!text.empty()) {
            if (settings())
                settings()->deviceReleased(true);
            showMessagePopup(fromDeviceString(text), 0);
        }
    } else if (eventType == kEventRecStatus) {
        const std::string &state = param(body, kKeyState);
        if (state == kRecorderPlay || state == kRecorderPlayPaused)
            m_soundIdPlayerState = 0;
        else if (state == kRecorderStopped || state == kRecorderError)
            m_soundIdPlayerState = -1;
        refreshShownSoundIdState();
    } else {
        comDevice()->handleEvent(body);
    }
    if (eventType != kEventRelayIn && settings())
        settings()->configurationEvent(body);
}
