#pragma once

#include "frontpanel/qvantelbasepage.h"
#include "frontpanel/qvantelloginpage.h"
#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/firmwareversion.h"
#include "model/passwordtext.h"
#include "settings/qvantelsettingspage.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelvirtual.h"

#include <QTest>

#include <memory>

// A front-panel window whose client is connected to a fake unit on loopback, with the settings
// page registered and base pages (which carry a status strip) in the audio and headphone slots;
// the main and connection pages are the window's own. The fake answers as a Quorix with firmware
// 2.00.7, an Ethernet default network and the given passwords. Level reports travel over the TCP
// link (datagram port 1).
struct WindowFixture
{
    std::unique_ptr<FakeQuorix> fake;
    std::unique_ptr<QVantelWindow> window;

    static QWidget *basePage(QVantelWindow *window) { return new QVantelBasePage(window); }

    [[nodiscard]] bool start(bool connect = true)
    {
        firmwareVersion = kFirmwareVersionUnknown;
        accessLevel = AccessLevel::Operator;
        fake = std::make_unique<FakeQuorix>();
        if (!fake->listen())
            return false;
        seedDevice();
        QVantelSettingsPage::registerPage();
        for (QVantel::Page page :
             {QVantel::AudioPage, QVantel::Headphone1Page, QVantel::Headphone2Page}) {
            QVantelWindow::setPageFactory(page, &WindowFixture::basePage);
        }
        window = std::make_unique<QVantelWindow>();
        window->setTiming({10, 400, 400});
        window->show();
        return !connect || connectClient();
    }

    [[nodiscard]] bool connectClient()
    {
        if (!comClient()->connect(QStringLiteral("127.0.0.1"), fake->port(), 1))
            return false;
        return QTest::qWaitFor([] { return comClient()->state() == RpcConnection::Connected; },
                               5000);
    }

    void stop()
    {
        window.reset();
        destroySharedObjects();
        fake.reset();
        for (int page = 1; page < QVantelWindow::kPageCount; ++page)
            QVantelWindow::setPageFactory(QVantel::Page(page), nullptr);
        firmwareVersion = kFirmwareVersionUnknown;
        accessLevel = AccessLevel::Operator;
    }

    void seedDevice()
    {
        const QString general = QStringLiteral("general");
        fake->setValue(QStringLiteral("device"), QStringLiteral("vantel"), general);
        fake->setValue(QStringLiteral("version"), QStringLiteral("2.00.7"), general);
        fake->setValue(QStringLiteral("builddate"), QStringLiteral("2024-05-01"), general);
        fake->setList(QStringLiteral("device_opts"), {QStringLiteral("record_1")}, general);
        fake->setValue(QStringLiteral("tabname"),
                       QStringLiteral("Studio A"),
                       QStringLiteral("db"),
                       QStringLiteral("web"));
        const QString network = QStringLiteral("network");
        fake->setList(network, {QStringLiteral("aoip"), QStringLiteral("eth.0")}, network);
        fake->setValue(QStringLiteral("default_network"), QStringLiteral("eth.0"), network);
        setPasswords({}, {}, {});
    }

    // Empty texts store no value; a level without one has no password.
    void setPasswords(const QString &administrator, const QString &expert, const QString &op)
    {
        const QString db = QStringLiteral("db");
        const QString owner = QStringLiteral("vn_frontpanel");
        const std::pair<const char *, QString> entries[]
            = {{"password_al", administrator}, {"password_el", expert}, {"password_ol", op}};
        for (const auto &entry : entries) {
            const QString key = QLatin1String(entry.first);
            if (entry.second.isEmpty()) {
                fake->removeValue(key, db, owner);
            } else {
                const std::string cipher = encryptPassword(entry.second.toLatin1().toStdString());
                fake->setValue(key, QString::fromLatin1(cipher.c_str()), db, owner);
            }
        }
    }

    QVantelLoginPage *loginPage() const { return window->loginPage(); }

    // Chooses a level and presses "Log in".
    void pressLogin(int level)
    {
        loginPage()->switchClicked(level);
        loginPage()->loginButton()->click();
    }

    // Answers the password keyboard: OK with text, or Cancel when text is null.
    [[nodiscard]] bool answerKeyboard(const QString &text)
    {
        QVantelVirtual *keyboard = loginPage()->keyboard();
        if (!keyboard)
            return false;
        if (text.isNull()) {
            keyboard->key(28)->click();
        } else {
            keyboard->lineEdit()->setText(text);
            keyboard->key(31)->click();
        }
        return true;
    }

    // The text of the window's message popup, empty when none is open.
    QString message() const
    {
        QVantelMessage *popup = window->messagePopup();
        return popup ? popup->text() : QString();
    }

    void closeMessage()
    {
        if (QVantelMessage *popup = window->messagePopup())
            popup->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // True once the fake received a request matching predicate (the log is searched from the
    // start).
    [[nodiscard]] bool received(const FakeRequestPredicate &predicate, int timeoutMs = 5000) const
    {
        return fake->waitForRequest(predicate, timeoutMs);
    }

    int countOf(const FakeRequestPredicate &predicate) const
    {
        int count = 0;
        const QList<FakeRequest> log = fake->requests();
        for (const FakeRequest &request : log) {
            if (predicate(request))
                ++count;
        }
        return count;
    }
};
