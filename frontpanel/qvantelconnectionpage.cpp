#include "frontpanel/qvantelconnectionpage.h"

#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/comclient.h"
#include "model/accesslevel.h"
#include "model/comaudioconnection.h"
#include "model/comdevice.h"
#include "model/textconversions.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelconninfo.h"
#include "widgets/qvantelconnpanel.h"
#include "widgets/qvantellazyicon.h"
#include "widgets/qvantellinkstatecolour.h"
#include "widgets/qvantellocalize.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuselectable.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelstatuspanel.h"
#include "widgets/qvantelswitch.h"
#include "widgets/qvantelvirtual.h"

#include <QCoreApplication>
#include <QIcon>
#include <QLabel>

#include <memory>
#include <string>

namespace {

// The Opus algorithm, the only one whose transmit bit rate can change during a call.
constexpr int kOpus = 19;
// The choice lists sit this far below the page's centre.
constexpr int kSelectionOffset = 25;
// The communication link of a coordination-line call.
constexpr int kCoordinationCommLink = 2;

bool isCodingPage(QVantel::Page page)
{
    return page == QVantel::SettingsCodingLink1 || page == QVantel::SettingsCodingLink2;
}

} // namespace

QVantelConnectionPage::QVantelConnectionPage(QVantelWindow *parent)
    : QVantelBasePage(parent)
{
    setupUi();
}

QVantelConnectionPage::~QVantelConnectionPage() = default;

void QVantelConnectionPage::setupUi()
{
    m_panel1 = new QVantelConnPanel(1, this);
    m_panel1->setObjectName(QStringLiteral("connPanel1"));
    m_panel1->move(10, 134);
    m_panel1->setCodecMode(1, 0);
    m_panel2 = new QVantelConnPanel(2, this);
    m_panel2->setObjectName(QStringLiteral("connPanel2"));
    m_panel2->move(466, 134);
    m_panel2->setCodecMode(1, 0);

    QPalette pagePalette = palette();
    pagePalette.setBrush(QPalette::All, QPalette::Window, QBrush(Qt::white));
    pagePalette.setBrush(QPalette::All, QPalette::WindowText, QBrush(Qt::black));
    const auto makePageButton
        = [this, &pagePalette](const char *name, const QString &icon, int x, int y) {
              auto *button = new QVantelButton(this);
              button->setObjectName(QLatin1String(name));
              button->setGeometry(x, y, 98, 66);
              button->setBorderWidth(4);
              button->setPalette(pagePalette);
              button->setIcon(QVantelLazyIcon::icon(icon));
              button->setIconSize(QSize(48, 48));
              button->setProperty(QVantel::kLeavesPageProperty, true);
              return button;
          };
    m_homeButton = makePageButton("homeButton", QStringLiteral(":/images/home.png"), 10, 7);
    m_networkButton
        = makePageButton("networkButton", QStringLiteral(":/images/network.png"), 351, 186);

    for (QVantelConnPanel *panel : {m_panel1, m_panel2}) {
        connect(
            panel, &QVantelConnPanel::panelClicked, this, [this, panel] { panelClicked(panel); });
        connect(panel, &QVantelConnPanel::dialClicked, this, [this, panel] { dialClicked(panel); });
        connect(panel, &QVantelConnPanel::histClicked, this, [this, panel] { histClicked(panel); });
        connect(panel, &QVantelConnPanel::autoRedialClicked, this, [this, panel] {
            autoRedialClicked(panel);
        });
        connect(panel, &QVantelConnPanel::pageActivated, this, [this, panel](QVantel::Page page) {
            pageActivated(panel, page);
        });
    }
    connect(m_homeButton, &QVantelButton::clicked, this, &QVantelConnectionPage::page1Clicked);
    connect(m_networkButton, &QVantelButton::clicked, this, &QVantelConnectionPage::page2Clicked);
}

QVantelConnPanel *QVantelConnectionPage::panel(int link) const
{
    if (link == 1)
        return m_panel1;
    if (link == 2)
        return m_panel2;
    return nullptr;
}

bool QVantelConnectionPage::isOwnPanel(const QVantelConnPanel *panel) const
{
    return panel && (panel == m_panel1 || panel == m_panel2);
}

QVantelConnPanel *QVantelConnectionPage::panelOf(const QVantelPopup *popup) const
{
    if (!popup)
        return nullptr;
    auto *panel = static_cast<QVantelConnPanel *>(popup->item());
    return isOwnPanel(panel) ? panel : nullptr;
}

// Status operations.

void QVantelConnectionPage::setCodecMode(int routingCode, int coordinationMode)
{
    statusPanel()->setCodecMode(routingCode, coordinationMode);
    m_panel1->setCodecMode(routingCode, coordinationMode);
    m_panel2->setCodecMode(routingCode, coordinationMode);
}

void QVantelConnectionPage::setLinkState(int link, int state)
{
    statusPanel()->setLinkState(link, state);
    if (QVantelConnPanel *target = panel(link))
        target->setLinkState(state);
}

void QVantelConnectionPage::setLinkMessage(int link, const QString &text)
{
    if (QVantelConnPanel *target = panel(link))
        target->stateLabel()->setText(text);
}

void QVantelConnectionPage::setLinkInfo(int link, const QString &text)
{
    if (QVantelConnPanel *target = panel(link))
        target->connInfo()->stateLabel()->setText(text);
}

void QVantelConnectionPage::setRemoteAddress(int link, const QString &address, int kind)
{
    if (QVantelConnPanel *target = panel(link))
        target->setRemoteAddress(address, kind);
}

// Page buttons.

void QVantelConnectionPage::page1Clicked()
{
    if (QVantelWindow *window = vantelWindow())
        window->pageActivated(QVantel::MainPage);
}

void QVantelConnectionPage::page2Clicked()
{
    if (QVantelWindow *window = vantelWindow())
        window->pageActivated(QVantel::SettingsNetwork);
}

void QVantelConnectionPage::showCentred(QVantelPopup *popup, int yOffset)
{
    const QPoint origin = mapToGlobal(QPoint(0, yOffset));
    popup->move(origin.x() + (width() - popup->width()) / 2,
                origin.y() + (height() - popup->height()) / 2);
}

// Calls.

bool QVantelConnectionPage::readyToDial(int link) const
{
    const TComDevice *device = comDevice();
    return device->loaded()
           && TComDevice::networkFamily(device->defaultNetwork()) != TComDevice::InvalidFamily
           && !device->audioConnection(link);
}

void QVantelConnectionPage::panelClicked(QVantelConnPanel *panel)
{
    if (!isOwnPanel(panel))
        return;
    const TComAudioConnection *call = comDevice()->audioConnection(panel->link());
    if (!call) {
        placeCall(panel);
        return;
    }
    if (call->state() != TComAudioConnection::StateSettingUp
        && call->state() != TComAudioConnection::StateActive) {
        return;
    }
    auto *question = new QVantelMessage(
        tr("Are you sure you want to hang up?"), QVantelMessage::CancelAndOk, this);
    m_popup = question;
    question->setWindowModality(Qt::ApplicationModal);
    showCentred(question, 0);
    question->setItem(panel);
    connect(question, &QVantelPopup::popupClosed, this, [this, question] {
        messagePopupClosed(question);
    });
    question->popup();
    ksm::processEventsApart();
}

void QVantelConnectionPage::placeCall(QVantelConnPanel *panel)
{
    TComDevice *device = comDevice();
    const std::string &network = device->defaultNetwork();
    if (!device->loaded() || TComDevice::networkFamily(network) == TComDevice::InvalidFamily)
        return;

    const int link = panel->link();
    std::unique_ptr<TComAudioConnection> call;
    int result = 0;
    if (link == 1 || device->codecMode() == 1) {
        const QString address = panel->remoteAddress(TComDevice::networkTransport(network));
        if (address.isEmpty())
            return;
        call = std::make_unique<TComAudioConnection>(comClient(), link == 1 ? 0 : 1);
        result = call->dial(network, toStdString(address));
    } else {
        if (!device->hasCoordinationLine())
            return;
        const QString address = panel->remoteAddress(QVantelConnPanel::VoiceAddress);
        if (address.isEmpty())
            return;
        call = std::make_unique<TComAudioConnection>(comClient(), kCoordinationCommLink);
        // The coordination line runs on the first mobile interface.
        result = call->dial(TComDevice::networkToString(TComDevice::MobileFamily),
                            toStdString(address));
    }

    QVantelWindow *window = vantelWindow();
    if (result != 0) {
        call.reset();
        if (window) {
            window->showMessagePopup(
                tr("Failed to initiate call\n(%1)").arg(localize()->localizedText(result)), 0);
        }
        return;
    }
    // The device refuses a connection whose id it already holds; the page frees it then.
    if (!device->addConnection(call.get()))
        return;
    TComAudioConnection *added = call.release();
    if (window)
        window->audioCallStatusChanged(added);
}

void QVantelConnectionPage::messagePopupClosed(QVantelMessage *question)
{
    QVantelConnPanel *panel = panelOf(question);
    if (!panel || question->isCancelled())
        return;
    if (TComAudioConnection *call = comDevice()->audioConnection(panel->link()))
        call->hangUp();
}

// Remote addresses.

void QVantelConnectionPage::dialClicked(QVantelConnPanel *panel)
{
    if (!isOwnPanel(panel) || !readyToDial(panel->link()))
        return;
    // Mode 0: the numeric pad, which widens into the full keyboard on "Abc".
    auto *keyboard = new QVantelVirtual(0, this);
    m_popup = keyboard;
    keyboard->setWindowModality(Qt::ApplicationModal);
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    keyboard->move(origin.x() + (width() - keyboard->width()) / 2,
                   origin.y() + height() - keyboard->height());
    keyboard->setItem(panel);
    keyboard->titleLabel()->setText(tr("Dial Number"));
    keyboard->lineEdit()->setText(panel->remoteAddress(comDevice()->linkTransport(panel->link())));
    connect(keyboard, &QVantelPopup::popupClosed, this, [this, keyboard] { dialClosed(keyboard); });
    keyboard->show();
}

void QVantelConnectionPage::dialClosed(QVantelVirtual *keyboard)
{
    QVantelConnPanel *panel = panelOf(keyboard);
    if (!panel || keyboard->isCancelled() || !readyToDial(panel->link()))
        return;
    storeAddress(panel, keyboard->lineEdit()->text());
}

void QVantelConnectionPage::histClicked(QVantelConnPanel *panel)
{
    if (!isOwnPanel(panel) || !readyToDial(panel->link()))
        return;
    TComDevice *device = comDevice();
    auto *list = new QVantelMenuSelect(this);
    m_popup = list;
    list->setWindowModality(Qt::ApplicationModal);
    showCentred(list, kSelectionOffset);
    list->setItem(panel);

    std::vector<std::string> entries;
    device->readAddressHistory(panel == m_panel2 && device->hasCoordinationLine(), entries);

    const QString current = panel->remoteAddress(device->linkTransport(panel->link()));
    QVantelMenuSelectable *selected = nullptr;
    QVantelMenuSelectable *first = nullptr;
    int position = 0;
    for (const std::string &entry : entries) {
        auto *row = new QVantelMenuSelectable(position++);
        row->label()->setText(toQString(entry));
        list->addSelectable(row);
        if (!first)
            first = row;
        if (row->label()->text() == current)
            selected = row;
    }
    if (!selected)
        selected = first;
    if (selected)
        list->setCurrentSelectable(selected);
    connect(list, &QVantelPopup::popupClosed, this, [this, list] { histClosed(list); });
    list->show();
}

void QVantelConnectionPage::histClosed(QVantelMenuSelect *list)
{
    QVantelConnPanel *panel = panelOf(list);
    QVantelMenuSelectable *row = list->currentSelectable();
    if (!panel || list->isCancelled() || !row || !readyToDial(panel->link()))
        return;
    storeAddress(panel, row->label()->text());
}

void QVantelConnectionPage::storeAddress(QVantelConnPanel *panel, const QString &text)
{
    const int link = panel->link();
    const int kind = comDevice()->linkTransport(link);
    panel->setRemoteAddress(text, kind);
    setLinkState(link, text.isEmpty() ? QVantel::LinkIdle : QVantel::LinkAddressed);
    if (QVantelWindow *window = vantelWindow())
        window->storeRemoteNumber(link, text, kind);
}

// Coding and bit rate.

std::vector<int> QVantelConnectionPage::bitRateChoices(const std::vector<int> &rates, int current)
{
    std::vector<int> choices;
    int previous = 0;
    for (const int rate : rates) {
        if (previous < current && current < rate)
            choices.push_back(current);
        choices.push_back(rate);
        previous = rate;
    }
    if (!rates.empty() && rates.back() < current)
        choices.push_back(current);
    return choices;
}

void QVantelConnectionPage::pageActivated(QVantelConnPanel *panel, QVantel::Page page)
{
    if (!isOwnPanel(panel))
        return;
    TComDevice *device = comDevice();
    QVantelWindow *window = vantelWindow();
    const TComAudioConnection *call = device->audioConnection(panel->link());
    if (!call) {
        if (accessLevel == AccessLevel::Operator && isCodingPage(page))
            return;
        if (window)
            window->pageActivated(page);
        return;
    }
    const TCodecConfig &tx = call->codecTx();
    if (tx.algorithm != kOpus || !isCodingPage(page))
        return;

    if (call->autoBitrate()) {
        const TCodecConfig &rx = call->codecRx();
        const auto describe = [](const TCodecConfig &coding) {
            return QStringLiteral("%1 %2 %3kbit/s")
                .arg(QVantelLocalize::codecName(coding.algorithm),
                     QVantelLocalize::channelModeName(coding.channelMode))
                .arg(coding.bitRate / 1000);
        };
        if (window) {
            window->showMessagePopup(tr("Auto bit rate is active\n\n") + QLatin1String("Tx: ")
                                         + describe(tx) + QLatin1String("\nRx: ") + describe(rx),
                                     0);
        }
        return;
    }

    std::vector<int> rates;
    device->listBitRates(
        device->codecMode(), kOpus, tx.channelMode, tx.sampleRate, rates, TComDevice::NoNetwork);
    if (rates.empty())
        return;
    auto *list = new QVantelMenuSelect(this);
    m_popup = list;
    list->setWindowModality(Qt::ApplicationModal);
    showCentred(list, kSelectionOffset);
    list->setItem(panel);
    for (const int rate : bitRateChoices(rates, tx.bitRate)) {
        auto *row = new QVantelMenuSelectable(rate);
        row->label()->setText(tr("%1 kbit/s").arg(rate / 1000));
        list->addSelectable(row);
    }
    if (QVantelMenuSelectable *current = list->findSelectable(tx.bitRate))
        list->setCurrentSelectable(current);
    connect(list, &QVantelPopup::popupClosed, this, [this, list] { codingClosed(list); });
    list->show();
}

void QVantelConnectionPage::codingClosed(QVantelMenuSelect *list)
{
    QVantelConnPanel *panel = panelOf(list);
    QVantelMenuSelectable *row = list->currentSelectable();
    if (!panel || list->isCancelled() || !row)
        return;
    if (TComAudioConnection *call = comDevice()->audioConnection(panel->link()))
        call->sendTxBitRate(row->id());
}

// Auto redial.

void QVantelConnectionPage::readAutoRedial()
{
    bool link1 = false;
    bool link2 = false;
    comDevice()->readAutoRedial(link1, link2);
    const bool enabled = accessLevel != AccessLevel::Operator;
    const auto apply = [enabled](QVantelConnPanel *panel, bool on) {
        panel->autoRedialSwitch()->setChecked(on);
        panel->autoRedialSwitch()->setEnabled(enabled);
    };
    apply(m_panel1, link1);
    apply(m_panel2, link2);
}

void QVantelConnectionPage::autoRedialClicked(QVantelConnPanel *panel)
{
    if (!isOwnPanel(panel))
        return;
    comDevice()->setAutoRedial(panel == m_panel1 ? 1 : 2, panel->autoRedialSwitch()->isChecked());
}

void QVantelConnectionPage::showEvent(QShowEvent *event)
{
    readAutoRedial();
    QVantelBasePage::showEvent(event);
}
