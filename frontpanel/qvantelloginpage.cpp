#include "frontpanel/qvantelloginpage.h"

#include "frontpanel/firmwareversiontext.h"
#include "frontpanel/ivantelsettingspage.h"
#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/logtext.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "model/textconversions.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelswitch.h"
#include "widgets/qvantelvirtual.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QShowEvent>
#include <QVariant>

#include <string>

namespace {

// The firmware this program was made for; a device with newer major or minor numbers gets a
// recommendation to update the program.
constexpr char kKnownFirmware[] = "2.00.0.5197";
constexpr char kLevelProperty[] = "vkb_accessLevel";

void setLabelLook(QWidget *widget)
{
    QPalette palette = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, QColor(50, 50, 50));
        palette.setColor(group, QPalette::WindowText, Qt::white);
    }
    widget->setPalette(palette);
}

void setPixelFont(QWidget *widget, int pixels)
{
    QFont font = widget->font();
    font.setPixelSize(pixels);
    widget->setFont(font);
}

} // namespace

QVantelLoginPage::QVantelLoginPage(QVantelWindow *window)
    : QWidget(window)
    , m_window(window)
{
    setupUi();
}

QVantelLoginPage::~QVantelLoginPage() = default;

void QVantelLoginPage::setupUi()
{
    struct Row
    {
        QVantelSwitch **field;
        const char *objectName;
        QString text;
        int y;
    };
    const Row rows[] = {
        {&m_operatorSwitch, "operatorSwitch", tr("Operator"), 115},
        {&m_expertSwitch, "expertSwitch", tr("Expert"), 175},
        {&m_administratorSwitch, "administratorSwitch", tr("Administrator"), 235},
    };
    int level = 0;
    for (const Row &row : rows) {
        auto *levelSwitch = new QVantelSwitch(this);
        levelSwitch->setObjectName(QLatin1String(row.objectName));
        levelSwitch->setCheckable(true);
        // The chosen level's switch is disabled only so that it cannot be switched off.
        levelSwitch->setDimmedWhenDisabled(false);
        levelSwitch->setGeometry(285, row.y, 60, 34);
        connect(
            levelSwitch, &QAbstractButton::clicked, this, [this, level] { switchClicked(level); });
        *row.field = levelSwitch;

        auto *label = new QLabel(row.text, this);
        label->setGeometry(355, row.y - 5, 160, 44);
        setLabelLook(label);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setPixelFont(label, 18);
        ++level;
    }

    m_loginButton = new QVantelButton(this);
    m_loginButton->setObjectName(QStringLiteral("loginButton"));
    m_loginButton->setGeometry(240, 300, 150, 66);
    m_loginButton->setText(tr("Log in"));
    m_loginButton->setBorderWidth(4);
    QPalette palette = m_loginButton->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    m_loginButton->setPalette(palette);
    setPixelFont(m_loginButton, 18);
    connect(m_loginButton, &QAbstractButton::clicked, this, &QVantelLoginPage::buttonClicked);
}

QVantelSwitch *QVantelLoginPage::levelSwitch(int level) const
{
    switch (level) {
    case 0:
        return m_operatorSwitch;
    case 1:
        return m_expertSwitch;
    case 2:
        return m_administratorSwitch;
    default:
        return nullptr;
    }
}

int QVantelLoginPage::chosenLevel() const
{
    if (m_administratorSwitch->isChecked())
        return 2;
    if (m_expertSwitch->isChecked())
        return 1;
    return 0;
}

void QVantelLoginPage::showEvent(QShowEvent *event)
{
    const int current = int(accessLevel);
    for (int level = 0; level < 3; ++level) {
        QVantelSwitch *levelSwitch = this->levelSwitch(level);
        levelSwitch->setChecked(current == level);
        levelSwitch->setEnabled(current != level);
    }
    QWidget::showEvent(event);
}

void QVantelLoginPage::switchClicked(int level)
{
    for (int other = 0; other < 3; ++other) {
        QVantelSwitch *levelSwitch = this->levelSwitch(other);
        levelSwitch->setChecked(other == level);
        levelSwitch->setEnabled(other != level);
    }
}

void QVantelLoginPage::buttonClicked()
{
    if (!m_window)
        return;
    ksm::CCom *client = comClient();
    if (client->state() != RpcConnection::Connected) {
        m_window->showMessagePopup(tr("Not connected!"), 0);
        return;
    }
    // The login's reads are one task: the operator may end the session while the unit is slow
    // to answer (Exit, Disconnect), and what the cut reads would say is then not shown.
    const ksm::CallScope login(client, [] { return true; });

    TComDevice::Identity identity;
    if (!comDevice()->readIdentity(identity)) {
        if (login.stillWanted())
            showReadFailure(tr("The unit refuses to send\nits type and version!"));
        return;
    }
    if (!identity.isQuorix()) {
        m_window->showMessagePopup(tr("Remote device is not\na Quorix!"), 0);
        return;
    }

    if (identity.version.empty()) {
        firmwareVersion = kFirmwareVersionUnknown;
    } else {
        firmwareVersion = parseFirmwareVersion(identity.version);
        const quint32 known = parseFirmwareVersion(kKnownFirmware);
        if (firmwareRelease(firmwareVersion) > firmwareRelease(known)) {
            m_window->showMessagePopup(
                tr("Newer firmware detected on this\nunit (Version %1)\n\nAn update of the "
                   "\"My Quorix\" application is recommended to access all the features of the "
                   "device")
                    .arg(toQString(identity.version)),
                0);
        }
    }

    const int level = chosenLevel();
    IVantelSettingsPage *settings = m_window->settings();
    // Without the device's current passwords no level can be checked: the login fails rather
    // than admitting anyone against a stale or empty cache.
    if (!settings || !settings->loadPasswords()) {
        logWarning(QStringLiteral("QVantelLoginPage: the device's passwords cannot be read"));
        if (login.stillWanted())
            m_window->showMessagePopup(passwordReadFailureText(), 0);
        return;
    }
    if (settings->password(level).isEmpty()) {
        acceptLogin(level);
        return;
    }
    askPassword(level);
}

void QVantelLoginPage::showReadFailure(const QString &refusedText)
{
    m_window->showMessagePopup(readFailureText(refusedText), 0);
}

QString QVantelLoginPage::readFailureText(const QString &refusedText)
{
    // The status bar may well say "Connected to device" while the unit is silent or refuses:
    // the message names the cause the link reported.
    switch (comDevice()->lastReadFailure()) {
    case TComDevice::ReadFailure::NoAnswer:
        return tr("The unit does not answer!");
    case TComDevice::ReadFailure::Refused:
        return refusedText;
    case TComDevice::ReadFailure::None:
    case TComDevice::ReadFailure::NotConnected:
        break;
    }
    return tr("Not connected!");
}

QString QVantelLoginPage::passwordReadFailureText()
{
    return readFailureText(tr("The unit refuses to send\nits passwords!"));
}

void QVantelLoginPage::askPassword(int level)
{
    auto *keyboard = new QVantelVirtual(1, this);
    m_keyboard = keyboard;
    keyboard->setWindowModality(Qt::ApplicationModal);
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    keyboard->move(origin.x() + (width() - keyboard->width()) / 2,
                   origin.y() + (height() - keyboard->height()) / 2);
    keyboard->titleLabel()->setText(tr("Enter Password"));
    keyboard->lineEdit()->setText(QString());
    keyboard->setProperty(kLevelProperty, level);
    keyboard->lineEdit()->setEchoMode(QLineEdit::Password);
    connect(keyboard, &QVantelPopup::popupClosed, this, &QVantelLoginPage::keyboardClosed);
    keyboard->show();
}

void QVantelLoginPage::keyboardClosed()
{
    QVantelVirtual *keyboard = m_keyboard;
    m_keyboard = nullptr;
    if (!m_window || !keyboard || keyboard->isCancelled())
        return;
    keyboard->hide();
    const int level = keyboard->property(kLevelProperty).toInt();
    const QString typed = keyboard->lineEdit()->text();

    IVantelSettingsPage *settings = m_window->settings();
    // The passwords are forgotten when the link drops while the keyboard is open: that session
    // is gone, and nothing typed may pass against passwords no longer known.
    if (!settings || comClient()->state() != RpcConnection::Connected
        || !settings->passwordsKnown()) {
        m_window->showMessagePopup(tr("Not connected!"), 0);
        return;
    }
    if (typed == settings->password(level)) {
        acceptLogin(level);
        return;
    }
    m_window->showMessagePopup(tr("Wrong password!"), 0);
}

void QVantelLoginPage::acceptLogin(int level)
{
    accessLevel = AccessLevel(level);
    m_window->pageActivated(QVantel::MainPage);
    m_window->completeLogin();
}
