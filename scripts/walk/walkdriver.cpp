#include "walkdriver.h"

#include "frontpanel/busyinputgate.h"
#include "frontpanel/qvantelloginpage.h"
#include "frontpanel/qvantelwindow.h"
#include "link/ccom.h"
#include "link/cmsg.h"
#include "link/comclient.h"
#include "link/rpcmessage.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/audiosettings.h"
#include "model/firmwareversion.h"
#include "model/matrixsettings.h"
#include "model/passwordtext.h"
#include "pages/pageregistration.h"
#include "pages/qvantelheadphoneaudio.h"
#include "pages/qvantelheadphoneselect.h"
#include "settings/qvantelsettingspage.h"
#include "tests/support/demoarea.h"
#include "tests/support/demounit.h"
#include "widgets/qvantelaudio.h"
#include "widgets/qvantelaudiobalance.h"
#include "widgets/qvantelaudiobase.h"
#include "widgets/qvantelaudiobutton.h"
#include "widgets/qvantelaudioinput.h"
#include "widgets/qvantelbars.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelknob.h"
#include "widgets/qvantellazycolumn.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenupalette.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuselectable.h"
#include "widgets/qvantelmenuwidget.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelpagestack.h"
#include "widgets/qvantelpair.h"
#include "widgets/qvantelpopup.h"
#include "widgets/qvantelstatuspanel.h"
#include "widgets/qvantelswitch.h"
#include "widgets/qvantelvirtual.h"
#include "widgets/qvantelwheel.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace {

// Far beyond any walk: the window's periodic set-up and keep-alive never run during one.
constexpr int kNeverMs = 24 * 60 * 60 * 1000;
constexpr int kWaitMs = 20000;
// The client's tick while the unit is slow: it gives up on a call within a tenth of a second of
// its time-out, long before the late answer comes.
constexpr int kSlowTickMs = 100;

const QString kLevels = QStringLiteral("audio_levels");

// The on-screen keyboard's Cancel and OK keys.
constexpr int kKeyboardCancel = 28;
constexpr int kKeyboardOk = 31;

// A text on one line of the transcript.
QString oneLine(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + oneLine(text) + QLatin1Char('"');
}

QString kindName(int kind)
{
    switch (kind) {
    case QVantelMenuItem::Caption:
        return QStringLiteral("caption");
    case QVantelMenuItem::ReadOnlyValue:
        return QStringLiteral("value");
    case QVantelMenuItem::Switch:
        return QStringLiteral("switch");
    case QVantelMenuItem::TextEntry:
        return QStringLiteral("text");
    case QVantelMenuItem::MaskedEntry:
        return QStringLiteral("secret");
    case QVantelMenuItem::NumericEntry:
        return QStringLiteral("number");
    case QVantelMenuItem::NumericMaskedEntry:
        return QStringLiteral("secret number");
    case QVantelMenuItem::Choice:
        return QStringLiteral("choice");
    case QVantelMenuItem::Navigation:
        return QStringLiteral("page");
    case QVantelMenuItem::WheelOnRelease:
        return QStringLiteral("wheel");
    case QVantelMenuItem::WheelOnStep:
        return QStringLiteral("stepping wheel");
    case QVantelMenuItem::Action:
        return QStringLiteral("action");
    default:
        return QStringLiteral("kind %1").arg(kind);
    }
}

WalkDriver::RowKind rowKind(int kind)
{
    switch (kind) {
    case QVantelMenuItem::Caption:
        return WalkDriver::RowKind::Caption;
    case QVantelMenuItem::Switch:
        return WalkDriver::RowKind::Switch;
    case QVantelMenuItem::TextEntry:
    case QVantelMenuItem::MaskedEntry:
        return WalkDriver::RowKind::Text;
    case QVantelMenuItem::NumericEntry:
    case QVantelMenuItem::NumericMaskedEntry:
        return WalkDriver::RowKind::Number;
    case QVantelMenuItem::Choice:
        return WalkDriver::RowKind::Choice;
    case QVantelMenuItem::Navigation:
        return WalkDriver::RowKind::Page;
    case QVantelMenuItem::WheelOnRelease:
    case QVantelMenuItem::WheelOnStep:
        return WalkDriver::RowKind::Wheel;
    case QVantelMenuItem::Action:
        return WalkDriver::RowKind::Action;
    default:
        return WalkDriver::RowKind::Value;
    }
}

QString colourName(const QColor &colour)
{
    if (colour == QVantelMenuPalette::kAccentBlue)
        return QString();
    if (colour == QVantelMenuPalette::kGrey)
        return QStringLiteral("grey");
    if (colour == QColor(Qt::red))
        return QStringLiteral("red");
    if (colour == QColor(Qt::white))
        return QStringLiteral("white");
    return colour.name();
}

// Explicitly hidden by the program (not merely off screen or not shown yet).
bool hiddenByProgram(const QWidget *widget)
{
    return widget->testAttribute(Qt::WA_WState_ExplicitShowHide) && widget->isHidden();
}

// A password cipher text, which differs on every run, as the text it holds; anything else as it
// is. Cipher texts are Base64 of at least 40 bytes.
QString plainCipher(const QString &value)
{
    if (value.size() < 40)
        return value;
    const std::string text = value.toLatin1().toStdString();
    const std::string plain = decryptPassword(text);
    if (plain == text)
        return value;
    return QStringLiteral("<enciphered %1>").arg(QString::fromLatin1(plain.c_str()));
}

} // namespace

WalkDriver::WalkDriver(QTextStream &out, QObject *parent)
    : QObject(parent)
    , m_out(out)
{}

WalkDriver::~WalkDriver()
{
    finish();
}

bool WalkDriver::start()
{
    firmwareVersion = kFirmwareVersionUnknown;
    accessLevel = AccessLevel::Operator;
    m_fake = std::make_unique<FakeQuorix>();
    installDemoUnit(*m_fake);
    if (!m_fake->listen())
        return false;
    if (auto *demo = m_fake->findChild<DemoUnit *>()) {
        demo->addFirstHandler([this](const FakeRequest &request) { return refusedWrite(request); });
    }

    // A notice that closes itself after a second is still open when a slow machine gets to look
    // at it; on a fast one it may be gone: the walk closes notices itself, after each step.
    QCoreApplication::instance()->installEventFilter(this);

    registerPages();
    QVantelSettingsPage::registerPage();
    m_window = std::make_unique<QVantelWindow>();
    m_window->setTiming({10, kNeverMs, kNeverMs});
    m_window->show();
    if (auto *gate = m_window->findChild<BusyInputGate *>())
        connect(gate, &BusyInputGate::inputDropped, this, [this] { ++m_dropped; });

    // Notifications the walk pushes are counted as the client receives them; level reports are
    // not, they come on their own.
    connect(comClient(), &ksm::CCom::messageReceived, this, [this](const RpcMessage &message) {
        if (message.type() != RpcMessage::Signal)
            return;
        const std::string *type = message.body().param("event_type", false);
        if (!type || *type != kLevels.toStdString())
            ++m_notifications;
    });

    // Level reports travel on the TCP link (datagram port 1), so no local port shows anywhere.
    if (!comClient()->connect(QStringLiteral("127.0.0.1"), m_fake->port(), 1)
        || !QTest::qWaitFor([] { return comClient()->state() == RpcConnection::Connected; },
                            kWaitMs)) {
        return false;
    }
    settle();

    step(QStringLiteral("log in as Administrator"), [this] {
        QVantelLoginPage *login = m_window->loginPage();
        click(login->levelSwitch(2));
        click(login->loginButton());
        if (QVantelVirtual *board = login->keyboard()) {
            board->lineEdit()->clear();
            typeInto(board->lineEdit(), QStringLiteral("admin"));
            click(board->key(kKeyboardOk));
        }
        // The first set-up pass reads the unit; the walk starts once the audio settings are in.
        (void)QTest::qWaitFor(
            [] {
                return audioSettings()->state() == TComController::StateReady
                       && matrixSettings()->state() == TComController::StateReady;
            },
            kWaitMs);
    });
    return m_window->currentPage() == QVantel::MainPage;
}

bool WalkDriver::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Timer) {
        auto *timer = qobject_cast<QTimer *>(watched);
        if (timer && qobject_cast<QVantelMessage *>(timer->parent())) {
            timer->stop();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void WalkDriver::finish()
{
    QCoreApplication::instance()->removeEventFilter(this);
    if (!m_window)
        return;
    write(QStringLiteral("== %1 steps, %2 requests").arg(m_steps).arg(m_requests));
    m_out.flush();
    dismissNotices();
    for (QVantelPopup *shown : popups())
        shown->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_window.reset();
    destroySharedObjects();
    m_fake.reset();
    for (int page = 1; page < QVantelWindow::kPageCount; ++page)
        QVantelWindow::setPageFactory(QVantel::Page(page), nullptr);
}

// --- Transcript ----------------------------------------------------------------------------

void WalkDriver::write(const QString &line)
{
    m_out << line << '\n';
}

void WalkDriver::note(const QString &text)
{
    write(QStringLiteral("  !! ") + oneLine(text));
}

void WalkDriver::step(const QString &label, const std::function<void()> &action)
{
    ++m_steps;
    write(QStringLiteral("#%1 %2").arg(m_steps, 4, 10, QLatin1Char('0')).arg(oneLine(label)));
    action();
    settle();

    const QStringList shown = describeShown();
    if (shown == m_lastShown) {
        write(QStringLiteral("  (panel unchanged)"));
    } else {
        for (const QString &line : shown)
            write(QStringLiteral("  ") + line);
        m_lastShown = shown;
    }
    for (const QString &line : describePopups())
        write(QStringLiteral("  ") + line);
    if (m_dropped > 0) {
        write(QStringLiteral("  ! %1 input(s) dropped, marked on the panel").arg(m_dropped));
        m_dropped = 0;
    }

    const QList<FakeRequest> log = m_fake->requests();
    for (int i = m_logged; i < log.size(); ++i) {
        write(QStringLiteral("  > ") + requestText(log.at(i)));
        ++m_requests;
    }
    m_logged = int(log.size());

    // A notice closes by its own timer; the walk closes it here, so that no timer decides what
    // the next step finds open.
    dismissNotices();
    settle();
}

QString WalkDriver::requestText(const FakeRequest &request)
{
    QString body = QString::fromUtf8(request.body);
    // Pairs are "key:value;" with ";" and "\" escaped; only values that are cipher texts change.
    if (body.size() >= 40) {
        QString rewritten;
        QString segment;
        bool escaped = false;
        const auto flush = [&rewritten, &segment] {
            const int colon = int(segment.indexOf(QLatin1Char(':')));
            if (colon > 0) {
                QStringList items = segment.mid(colon + 1).split(QLatin1Char(','));
                for (QString &item : items)
                    item = plainCipher(item);
                segment = segment.left(colon + 1) + items.join(QLatin1Char(','));
            }
            rewritten += segment;
            segment.clear();
        };
        for (const QChar c : body) {
            if (escaped) {
                segment += c;
                escaped = false;
            } else if (c == QLatin1Char('\\')) {
                segment += c;
                escaped = true;
            } else if (c == QLatin1Char(';')) {
                flush();
                rewritten += c;
            } else {
                segment += c;
            }
        }
        flush();
        body = rewritten;
    }
    return QStringLiteral("%1: %2").arg(request.id).arg(oneLine(body));
}

void WalkDriver::settle()
{
    // Posted events, deferred deletes and the one-way messages a step may have sent: the rounds
    // go on while the unit still receives something.
    int seen = -1;
    for (int round = 0; round < 200; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const int count = m_fake ? m_fake->requestCount() : 0;
        const bool idle = !m_window || m_window->deferredMessageCount() == 0;
        if (round >= 3 && count == seen && idle)
            return;
        seen = count;
        QTest::qWait(2);
    }
}

void WalkDriver::waitForNotifications(int expected)
{
    if (!QTest::qWaitFor(
            [this, expected] {
                return m_notifications >= expected && m_window->deferredMessageCount() == 0;
            },
            kWaitMs)) {
        note(QStringLiteral("the window did not take the unit's message in time"));
    }
}

// --- The unit ------------------------------------------------------------------------------

void WalkDriver::unitEvent(const QString &eventType, const FakePairs &pairs)
{
    pushFromUnit(QStringLiteral("unit event \"%1\"").arg(eventType), pairs, [&] {
        return m_fake->pushEvent(eventType, pairs);
    });
}

void WalkDriver::unitInfo(const QString &infoType, const FakePairs &pairs)
{
    pushFromUnit(QStringLiteral("unit info \"%1\"").arg(infoType), pairs, [&] {
        return m_fake->pushInfo(infoType, pairs);
    });
}

void WalkDriver::pushFromUnit(const QString &label,
                              const FakePairs &pairs,
                              const std::function<bool()> &push)
{
    QStringList shown{label};
    for (const auto &pair : pairs)
        shown << pair.first + QLatin1Char('=') + pair.second;
    step(shown.join(QLatin1Char(' ')), [&] {
        const int expected = m_notifications + 1;
        if (push())
            waitForNotifications(expected);
        else
            note(QStringLiteral("the unit could not send it"));
    });
}

void WalkDriver::refuseWrites(const QStringList &keys)
{
    m_refusedWrites = QSet<QString>(keys.cbegin(), keys.cend());
}

std::optional<QList<FakeReply>> WalkDriver::refusedWrite(const FakeRequest &request)
{
    if (m_refusedWrites.isEmpty() || request.message.type != FakeMessage::Param
        || !request.gets().isEmpty() || !request.lists().isEmpty()) {
        return std::nullopt;
    }
    // The unit's own answer, with the refused settings refused for this one request.
    QStringList refused;
    for (const auto &pair : request.message.params) {
        if (m_refusedWrites.contains(pair.first)) {
            m_fake->refuseKey(pair.first, QStringLiteral("015-not allowed"));
            refused << pair.first;
        }
    }
    if (refused.isEmpty())
        return std::nullopt;
    QList<FakeReply> replies = m_fake->defaultReplies(request);
    for (const QString &key : std::as_const(refused))
        m_fake->acceptKey(key);
    return replies;
}

// --- The window ----------------------------------------------------------------------------

void WalkDriver::slowUnit(int readDelayMs)
{
    m_fake->setReadDelay(readDelayMs);
    comClient()->setTickInterval(readDelayMs > 0 ? kSlowTickMs : 0);
}

void WalkDriver::duringNextRequest(const std::function<void()> &input)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(m_fake.get(), &FakeQuorix::requestReceived, this, [connection, input] {
        QObject::disconnect(*connection);
        input();
    });
}

void WalkDriver::unitReadWhile(const std::function<void()> &input)
{
    duringNextRequest(input);
    ksm::CMsg request(ksm::CMsg::Param);
    request.setParam("target", "general");
    request.addGet("device");
    ksm::CMsg reply;
    (void)comClient()->sendSyncMsg(request, reply, 0, kWaitMs);
}

void WalkDriver::showPanelPage(int page)
{
    m_window->pageActivated(QVantel::Page(page));
}

void WalkDriver::setupPass()
{
    step(QStringLiteral("window: the periodic set-up"), [this] { m_window->setupControllers(); });
}

int WalkDriver::shownPanelPage() const
{
    return m_window->shownPage();
}

QWidget *WalkDriver::panelPage() const
{
    return m_window->page(m_window->shownPage());
}

// --- The settings menu ---------------------------------------------------------------------

QVantelMenuWidget *WalkDriver::menu() const
{
    return m_window->settingsPage();
}

QStringList WalkDriver::sectionTitles() const
{
    QStringList titles;
    if (QVantelMenuWidget *settings = menu()) {
        const QList<QVantelMenuEntry *> entries
            = settings->entries()->findChildren<QVantelMenuEntry *>();
        for (const QVantelMenuEntry *entry : entries)
            titles << entry->titleLabel()->text();
    }
    return titles;
}

void WalkDriver::tapSection(const QString &title)
{
    QVantelMenuWidget *settings = menu();
    if (!settings)
        return note(QStringLiteral("no settings menu"));
    const QList<QVantelMenuEntry *> entries
        = settings->entries()->findChildren<QVantelMenuEntry *>();
    for (QVantelMenuEntry *entry : entries) {
        if (entry->titleLabel()->text() == title) {
            settings->entries()->childClicked(entry->titleLabel());
            return;
        }
    }
    note(QStringLiteral("no section ") + quoted(title));
}

QString WalkDriver::menuPath() const
{
    QVantelMenuWidget *settings = menu();
    return settings ? settings->titlePath().join(QStringLiteral(" > ")) : QString();
}

int WalkDriver::menuDepth() const
{
    QVantelMenuWidget *settings = menu();
    return settings ? settings->pageStack()->count() : 0;
}

QList<QVantelMenuItem *> WalkDriver::menuItems() const
{
    QVantelMenuWidget *settings = menu();
    QVantelMenuItems *page = settings ? settings->currentPage() : nullptr;
    return page ? page->items() : QList<QVantelMenuItem *>();
}

QVantelMenuItem *WalkDriver::item(const QString &title, int occurrence) const
{
    for (QVantelMenuItem *row : menuItems()) {
        if (row->titleText() == title && occurrence-- == 0)
            return row;
    }
    return nullptr;
}

namespace {

WalkDriver::Row rowOf(const QVantelMenuItem *item, int occurrence)
{
    WalkDriver::Row row;
    row.title = item->titleText();
    row.occurrence = occurrence;
    row.kind = rowKind(item->kind());
    row.locked = item->isReadOnly();
    row.atTop = item->wheel() && item->wheel()->value() >= item->wheel()->maximum();
    return row;
}

} // namespace

QList<WalkDriver::Row> WalkDriver::rows() const
{
    QList<Row> found;
    QHash<QString, int> seen;
    for (const QVantelMenuItem *item : menuItems())
        found << rowOf(item, seen[item->titleText()]++);
    return found;
}

std::optional<WalkDriver::Row> WalkDriver::row(const QString &title, int occurrence) const
{
    if (const QVantelMenuItem *found = item(title, occurrence))
        return rowOf(found, occurrence);
    return std::nullopt;
}

bool WalkDriver::hasRow(const QString &title, int occurrence) const
{
    return item(title, occurrence) != nullptr;
}

QString WalkDriver::titleLike(const QString &title, int occurrence) const
{
    if (item(title, occurrence))
        return title;
    for (const QVantelMenuItem *row : menuItems()) {
        if (row->titleText().startsWith(title) && occurrence-- == 0)
            return row->titleText();
    }
    return QString();
}

void WalkDriver::tapRow(const QString &title, int occurrence)
{
    QVantelMenuItem *row = item(title, occurrence);
    if (!row)
        return note(QStringLiteral("no row ") + quoted(title));
    // What the page's drag-scrolled column does with a tap on the row's labels.
    if (QVantelMenuItems *page = row->page())
        page->childClicked(row->titleLabel());
}

void WalkDriver::flipSwitch(const QString &title, int occurrence)
{
    QVantelMenuItem *row = item(title, occurrence);
    if (!row || !row->switchButton())
        return note(QStringLiteral("no switch ") + quoted(title));
    click(row->switchButton());
}

void WalkDriver::turnWheel(const QString &title, int occurrence, int steps)
{
    QVantelMenuItem *row = item(title, occurrence);
    QVantelWheel *wheel = row ? row->wheel() : nullptr;
    if (!wheel)
        return note(QStringLiteral("no wheel ") + quoted(title));
    click(wheel);
    for (int i = 0; i < qAbs(steps); ++i)
        key(wheel, steps > 0 ? Qt::Key_Plus : Qt::Key_Minus);
    click(wheel);
}

bool WalkDriver::applyOffered() const
{
    QVantelMenuWidget *settings = menu();
    return settings && settings->header()->isModified();
}

bool WalkDriver::refreshOffered() const
{
    QVantelMenuWidget *settings = menu();
    return settings && settings->header()->isRefreshVisible();
}

bool WalkDriver::backOffered() const
{
    QVantelMenuWidget *settings = menu();
    return settings && settings->header()->backIcon()->isVisibleTo(settings->header());
}

void WalkDriver::tapApply()
{
    if (!applyOffered())
        return note(QStringLiteral("Apply is not offered"));
    click(menu()->header()->applyIcon());
}

void WalkDriver::tapRefresh()
{
    if (!refreshOffered())
        return note(QStringLiteral("Refresh is not offered"));
    click(menu()->header()->refreshIcon());
}

void WalkDriver::tapBack()
{
    if (!backOffered())
        return note(QStringLiteral("Back is not offered"));
    click(menu()->header()->backIcon());
}

// --- Popups --------------------------------------------------------------------------------

QList<QVantelPopup *> WalkDriver::popups() const
{
    QList<QVantelPopup *> shown;
    if (!m_window)
        return shown;
    const QList<QVantelPopup *> all = m_window->findChildren<QVantelPopup *>();
    for (QVantelPopup *popup : all) {
        if (popup->isVisible())
            shown << popup;
    }
    return shown;
}

template<typename Popup>
Popup *WalkDriver::open() const
{
    const QList<QVantelPopup *> shown = popups();
    for (auto it = shown.crbegin(); it != shown.crend(); ++it) {
        if (auto *popup = qobject_cast<Popup *>(*it))
            return popup;
    }
    return nullptr;
}

WalkDriver::PopupKind WalkDriver::popup() const
{
    const QList<QVantelPopup *> shown = popups();
    if (shown.isEmpty())
        return PopupKind::None;
    const QVantelPopup *last = shown.constLast();
    if (qobject_cast<const QVantelVirtual *>(last))
        return PopupKind::Keyboard;
    if (qobject_cast<const QVantelMenuSelect *>(last))
        return PopupKind::Choices;
    if (const auto *message = qobject_cast<const QVantelMessage *>(last))
        return message->kind() == QVantelMessage::NoButtons ? PopupKind::Notice
                                                            : PopupKind::Question;
    if (qobject_cast<const QVantelHeadphoneSelect *>(last))
        return PopupKind::Source;
    if (qobject_cast<const QVantelHeadphoneAudio *>(last))
        return PopupKind::Gain;
    return PopupKind::Other;
}

void WalkDriver::typeInto(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        // Qt Test spells only ASCII as keys; other characters come as the text of a key press.
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, char(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

void WalkDriver::typeText(const QString &text)
{
    QVantelVirtual *board = open<QVantelVirtual>();
    if (!board)
        return note(QStringLiteral("no keyboard"));
    board->lineEdit()->clear();
    typeInto(board->lineEdit(), text);
    click(board->key(kKeyboardOk));
}

void WalkDriver::typeOtherValue(int salt)
{
    QVantelVirtual *board = open<QVantelVirtual>();
    const QString text
        = board ? otherText(board->lineEdit()->text(), board->mode() == 0, salt) : QString();
    step(QStringLiteral("keyboard: type \"%1\", OK").arg(text), [&] { typeText(text); });
}

void WalkDriver::cancelKeyboard()
{
    QVantelVirtual *board = open<QVantelVirtual>();
    if (!board)
        return note(QStringLiteral("no keyboard"));
    click(board->key(kKeyboardCancel));
}

namespace {

// The choices in the popup's order; a long list that makes its rows as they are seen makes
// them all.
QList<QVantelMenuSelectable *> choicesOf(const QVantelMenuSelect *select)
{
    QList<QVantelMenuSelectable *> choices;
    const QVBoxLayout *column = select->list()->column();
    for (int i = 0; i < column->count(); ++i) {
        QWidget *widget = column->itemAt(i)->widget();
        if (auto *choice = qobject_cast<QVantelMenuSelectable *>(widget)) {
            choices << choice;
        } else if (auto *lazy = qobject_cast<QVantelLazyColumn *>(widget)) {
            for (int j = 0; j < lazy->count(); ++j) {
                if (auto *made = qobject_cast<QVantelMenuSelectable *>(lazy->row(j)))
                    choices << made;
            }
        }
    }
    return choices;
}

} // namespace

void WalkDriver::chooseText(const QString &text)
{
    QVantelMenuSelect *select = open<QVantelMenuSelect>();
    if (!select)
        return note(QStringLiteral("no choice popup"));
    for (QVantelMenuSelectable *choice : choicesOf(select)) {
        if (choice->label()->text() == text) {
            // A tap on the choice's label marks it.
            select->list()->childClicked(choice->label());
            click(select->okButton());
            return;
        }
    }
    note(QStringLiteral("no choice ") + quoted(text));
    click(select->cancelButton());
}

void WalkDriver::chooseNext()
{
    QVantelMenuSelect *select = open<QVantelMenuSelect>();
    if (!select)
        return note(QStringLiteral("no choice popup"));
    const QList<QVantelMenuSelectable *> choices = choicesOf(select);
    if (!choices.isEmpty()) {
        const int marked = int(choices.indexOf(select->currentSelectable()));
        select->list()->childClicked(choices.at((marked + 1) % choices.size())->label());
    }
    click(select->okButton());
}

void WalkDriver::cancelChoices()
{
    QVantelMenuSelect *select = open<QVantelMenuSelect>();
    if (!select)
        return note(QStringLiteral("no choice popup"));
    click(select->cancelButton());
}

void WalkDriver::answer(bool ok)
{
    QVantelMessage *message = nullptr;
    for (QVantelPopup *shown : popups()) {
        auto *question = qobject_cast<QVantelMessage *>(shown);
        if (question && question->kind() != QVantelMessage::NoButtons)
            message = question;
    }
    if (!message)
        return note(QStringLiteral("no question"));
    QVantelButton *button = ok ? message->okButton() : message->cancelButton();
    if (!button)
        return note(ok ? QStringLiteral("the question has no OK")
                       : QStringLiteral("the question has no Cancel"));
    click(button);
}

void WalkDriver::keyOnPopup(int key)
{
    QVantelHeadphoneSelect *select = open<QVantelHeadphoneSelect>();
    if (!select)
        return note(QStringLiteral("no source popup"));
    this->key(select, key);
}

void WalkDriver::turnPopupKnob(int steps)
{
    QVantelHeadphoneAudio *gain = open<QVantelHeadphoneAudio>();
    if (!gain)
        return note(QStringLiteral("no gain popup"));
    turnKnob(Control{gain->strip()->knob(), ControlKind::Knob, false}, steps);
}

void WalkDriver::acceptPopup()
{
    if (QVantelHeadphoneSelect *select = open<QVantelHeadphoneSelect>())
        return click(select->okButton());
    if (QVantelHeadphoneAudio *gain = open<QVantelHeadphoneAudio>())
        return click(gain->okButton());
    note(QStringLiteral("no source or gain popup"));
}

void WalkDriver::closePopup()
{
    const QList<QVantelPopup *> shown = popups();
    if (shown.isEmpty())
        return note(QStringLiteral("no popup"));
    shown.constLast()->close();
}

void WalkDriver::dismissNotices()
{
    if (!m_window)
        return;
    for (QVantelPopup *shown : popups()) {
        auto *message = qobject_cast<QVantelMessage *>(shown);
        if (message && message->kind() == QVantelMessage::NoButtons)
            message->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// --- Controls ------------------------------------------------------------------------------

namespace {

// The buttons that lead to another page; the walk takes them in its own order.
bool leadsAway(const QWidget *widget)
{
    static const QStringList names = {QStringLiteral("inputSettingsButton"),
                                      QStringLiteral("auxSettingsButton"),
                                      QStringLiteral("outputSettingsButton"),
                                      QStringLiteral("backButton"),
                                      QStringLiteral("homeButton")};
    const QString name = widget->objectName();
    return names.contains(name) || name.startsWith(QLatin1String("pageBar"));
}

bool inStatusPanel(const QWidget *widget, const QWidget *page)
{
    for (const QWidget *at = widget; at && at != page; at = at->parentWidget()) {
        if (qobject_cast<const QVantelStatusPanel *>(at))
            return true;
    }
    return false;
}

bool usableWidget(const QWidget *widget)
{
    return widget && widget->isVisible() && widget->isEnabled();
}

} // namespace

void WalkDriver::click(QWidget *widget)
{
    if (!widget)
        return note(QStringLiteral("nothing to click"));
    if (auto *button = qobject_cast<QAbstractButton *>(widget);
        button && !qobject_cast<QVantelKnob *>(widget) && !qobject_cast<QVantelWheel *>(widget)) {
        // A button's own click: the signals of a tap, without the platform's pointer.
        button->click();
        return;
    }
    QTest::mouseClick(widget, Qt::LeftButton);
}

void WalkDriver::tapOnScreen(QWidget *widget)
{
    if (!widget)
        return note(QStringLiteral("nothing to tap"));
    // A right press of a position is never let go (the popup it opens takes over); QTest would
    // go on counting its button as held, and the window system would take this tap for a press
    // of a second button while the first is down.
    QTestPrivate::qtestMouseButtons = Qt::NoButton;
    QWidget *window = widget->window();
    QTest::mouseClick(
        window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, widget->rect().center()));
}

void WalkDriver::tapBackOnScreen()
{
    if (QVantelMenuWidget *settings = menu())
        tapOnScreen(settings->header()->backIcon());
}

void WalkDriver::tapApplyOnScreen()
{
    if (QVantelMenuWidget *settings = menu())
        tapOnScreen(settings->header()->applyIcon());
}

void WalkDriver::tapKeyOnScreen(int key)
{
    QVantelVirtual *board = open<QVantelVirtual>();
    if (!board)
        return note(QStringLiteral("no keyboard"));
    tapOnScreen(board->key(key));
}

void WalkDriver::typeOnScreen(const QString &text)
{
    QWidget *popup = QApplication::activePopupWidget();
    QWindow *window = popup ? popup->windowHandle() : m_window->window()->windowHandle();
    for (const QChar c : text)
        QTest::keyClick(window, char(c.unicode()));
}

void WalkDriver::key(QWidget *widget, int key)
{
    if (!widget)
        return note(QStringLiteral("nothing to take the key"));
    QTest::keyClick(widget, Qt::Key(key));
}

QWidget *WalkDriver::pageWidget(const QString &path) const
{
    QWidget *at = panelPage();
    for (const QString &name : path.split(QLatin1Char('/'))) {
        if (!at)
            break;
        at = at->findChild<QWidget *>(name);
    }
    return at;
}

void WalkDriver::pressButton(const QString &objectName)
{
    QWidget *button = pageWidget(objectName);
    if (!button)
        return note(QStringLiteral("no button ") + objectName);
    if (!button->isVisible())
        return note(QStringLiteral("the button ") + objectName + QStringLiteral(" is not shown"));
    click(button);
}

void WalkDriver::tapButtonOnScreen(const QString &objectName)
{
    QWidget *button = pageWidget(objectName);
    if (!button || !button->isVisible())
        return note(QStringLiteral("no button shown: ") + objectName);
    tapOnScreen(button);
}

QList<WalkDriver::Control> WalkDriver::controls() const
{
    QList<Control> found;
    QWidget *page = panelPage();
    if (!page)
        return found;
    const QList<QWidget *> all = page->findChildren<QWidget *>();
    for (QWidget *widget : all) {
        if (!usableWidget(widget) || leadsAway(widget) || inStatusPanel(widget, page))
            continue;
        Control control{widget, ControlKind::Button, false};
        if (auto *knob = qobject_cast<QVantelKnob *>(widget)) {
            control.kind = ControlKind::Knob;
            control.pans = knob->hasPanning();
        } else if (qobject_cast<QVantelSwitch *>(widget) || qobject_cast<QVantelPair *>(widget)) {
            control.kind = ControlKind::Toggle;
        } else if (qobject_cast<QVantelAudioButton *>(widget)) {
            control.kind = ControlKind::Position;
        } else if (!qobject_cast<QVantelButton *>(widget)
                   || qobject_cast<QVantelAudioButton *>(widget->parentWidget())) {
            // A position's own button is taken with its position.
            continue;
        }
        found << control;
    }
    return found;
}

bool WalkDriver::usable(const Control &control) const
{
    QWidget *page = panelPage();
    return usableWidget(control.widget) && page && page->isAncestorOf(control.widget);
}

QString WalkDriver::nameOf(const Control &control) const
{
    for (const QWidget *at = control.widget; at; at = at->parentWidget()) {
        if (const auto *strip = qobject_cast<const QVantelAudioBase *>(at)) {
            QString name = strip->displayName();
            name.replace(QLatin1Char('\n'), QLatin1Char('/'));
            return QStringLiteral("strip \"%1\"").arg(name);
        }
    }
    return nameOf(control.widget.data());
}

void WalkDriver::turnKnob(const Control &control, int steps, int panningSteps)
{
    auto *knob = qobject_cast<QVantelKnob *>(control.widget.data());
    if (!knob)
        return note(QStringLiteral("no knob"));
    click(knob);
    for (int i = 0; i < qAbs(steps); ++i)
        key(knob, steps > 0 ? Qt::Key_Plus : Qt::Key_Minus);
    for (int i = 0; i < panningSteps; ++i)
        key(knob, Qt::Key_Return);
    if (knob->isChecked())
        click(knob);
}

void WalkDriver::tap(const Control &control)
{
    if (auto *position = qobject_cast<QVantelAudioButton *>(control.widget.data()))
        return click(position->button());
    click(control.widget);
}

void WalkDriver::rightPress(const Control &control)
{
    if (!control.widget)
        return note(QStringLiteral("nothing to press"));
    QTest::mousePress(control.widget, Qt::RightButton);
}

void WalkDriver::swipe(int fromY, int toY)
{
    QWidget *page = panelPage();
    if (!page)
        return note(QStringLiteral("nothing to swipe"));
    const auto send = [page](QEvent::Type type, int y) {
        const QPointF at(page->width() / 2, y);
        QMouseEvent event(type,
                          at,
                          page->mapToGlobal(at),
                          Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(page, &event);
    };
    send(QEvent::MouseButtonPress, fromY);
    const int direction = toY > fromY ? 1 : -1;
    for (int y = fromY + 15 * direction; (toY - y) * direction > 0; y += 15 * direction)
        send(QEvent::MouseMove, y);
    send(QEvent::MouseMove, toY);
    send(QEvent::MouseButtonRelease, toY);
}

QString WalkDriver::otherText(const QString &text, bool digits, int salt)
{
    static const QRegularExpression address(
        QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    const QRegularExpressionMatch match = address.match(text);
    if (match.hasMatch()) {
        const int last = (match.captured(4).toInt() + salt - 1) % 254 + 1;
        return QStringLiteral("%1.%2.%3.%4")
            .arg(match.captured(1), match.captured(2), match.captured(3))
            .arg(last);
    }
    bool number = false;
    const int value = text.toInt(&number);
    if (number)
        return QString::number(value + salt);
    if (text.isEmpty() || digits)
        return digits ? QString::number(salt + 6) : QStringLiteral("walk%1").arg(salt);
    return text + QStringLiteral("w%1").arg(salt);
}

QString WalkDriver::nameOf(const QWidget *widget)
{
    if (!widget)
        return QStringLiteral("(none)");
    if (!widget->objectName().isEmpty())
        return widget->objectName();
    QString text;
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        text = button->text();
    else if (const auto *label = qobject_cast<const QLabel *>(widget))
        text = label->text();
    return text.isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                          : QString::fromLatin1(widget->metaObject()->className())
                                + QLatin1Char(' ') + quoted(text);
}

// --- What the panel shows ------------------------------------------------------------------

QStringList WalkDriver::describeShown() const
{
    QStringList lines;
    const int shown = m_window->shownPage();
    lines << QStringLiteral("panel page %1").arg(shown);
    if (shown == QVantel::SettingsPage) {
        describeMenu(lines);
    } else if (QWidget *page = panelPage()) {
        describeControls(page, lines, 1);
    }
    return lines;
}

void WalkDriver::describeMenu(QStringList &lines) const
{
    QVantelMenuWidget *settings = menu();
    if (!settings)
        return;
    QStringList sections;
    const QList<QVantelMenuEntry *> entries
        = settings->entries()->findChildren<QVantelMenuEntry *>();
    for (const QVantelMenuEntry *entry : entries) {
        QString text = entry->titleLabel()->text();
        if (entry == settings->entries()->currentEntry())
            text.prepend(QLatin1Char('*'));
        if (entry->state() == QVantelMenuEntry::Disabled)
            text += QStringLiteral(" (disabled)");
        sections << text;
    }
    lines << QStringLiteral("sections: ") + sections.join(QStringLiteral(" | "));

    QVantelMenuHeader *header = settings->header();
    QString title = QStringLiteral("menu ") + quoted(header->titleLabel()->text());
    if (header->isModified())
        title += QStringLiteral(" [modified]");
    if (header->isRefreshVisible())
        title += QStringLiteral(" [refresh]");
    if (backOffered())
        title += QStringLiteral(" [back]");
    lines << title;
    for (const QVantelMenuItem *row : menuItems())
        lines << QStringLiteral("  ") + describeRow(row);
}

QString WalkDriver::describeRow(const QVantelMenuItem *row)
{
    QString line = kindName(row->kind()) + QLatin1Char(' ') + quoted(row->titleText());
    if (row->kind() != QVantelMenuItem::Caption)
        line += QStringLiteral(" = ") + quoted(row->valueText());
    if (row->switchButton())
        line += row->isChecked() ? QStringLiteral(" [on]") : QStringLiteral(" [off]");
    const QList<QVantelMenuItem::Value> &values = row->values();
    if (!values.isEmpty()) {
        QStringList texts;
        for (int i = 0; i < values.size(); ++i) {
            texts << (i == row->currentIndex() ? QStringLiteral("*") : QString())
                         + oneLine(values.at(i).text);
        }
        line += QStringLiteral(" {") + texts.join(QLatin1Char('|')) + QLatin1Char('}');
    }
    if (row->wheel())
        line += QStringLiteral(" [wheel %1]").arg(row->wheel()->value());
    if (row->isReadOnly())
        line += QStringLiteral(" [locked]");
    if (hiddenByProgram(row))
        line += QStringLiteral(" [hidden]");
    if (!row->isEnabled())
        line += QStringLiteral(" [disabled]");
    if (row->valueLabel()) {
        const QString colour = colourName(QVantelMenuPalette::textColor(row->valueLabel()));
        if (!colour.isEmpty())
            line += QStringLiteral(" [") + colour + QLatin1Char(']');
    }
    return line;
}

void WalkDriver::describeControls(const QWidget *widget, QStringList &lines, int depth) const
{
    const QList<QWidget *> children
        = widget->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    const QString indent(depth * 2, QLatin1Char(' '));
    for (const QWidget *child : children) {
        // Meters move with the unit's level reports; popups are listed apart.
        if (child->isWindow() || hiddenByProgram(child) || qobject_cast<const QVantelBars *>(child)
            || qobject_cast<const QVantelPopup *>(child)) {
            continue;
        }
        QString line;
        bool inside = true;
        if (const auto *strip = qobject_cast<const QVantelAudioBase *>(child)) {
            line = QStringLiteral("strip %1 %2 gain %3 panning %4")
                       .arg(nameOf(child), quoted(strip->displayName()))
                       .arg(strip->gain())
                       .arg(strip->panning());
            if (const auto *input = qobject_cast<const QVantelAudioInput *>(child)) {
                line += QStringLiteral(" state %1 knob %2")
                            .arg(input->state())
                            .arg(quoted(input->knob()->displayText()));
                if (input->knob()->isChecked())
                    line += QStringLiteral(" [engaged]");
                if (input->balanceControl())
                    line += QStringLiteral(" balance %1").arg(input->balanceControl()->value());
            }
            inside = false;
        } else if (const auto *knob = qobject_cast<const QVantelKnob *>(child)) {
            line = QStringLiteral("knob %1 %2").arg(nameOf(child), quoted(knob->displayText()));
            if (knob->hasPanning())
                line += QStringLiteral(" panning %1").arg(knob->panning());
            if (knob->isChecked())
                line += QStringLiteral(" [engaged]");
            inside = false;
        } else if (const auto *display = qobject_cast<const QVantelAudio *>(child)) {
            line = QStringLiteral("display %1 value %2 panning %3")
                       .arg(quoted(display->text()))
                       .arg(display->value())
                       .arg(display->panning());
            inside = false;
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(child)) {
            line = QStringLiteral("button ") + nameOf(child);
            if (!child->objectName().isEmpty() && !button->text().isEmpty())
                line += QLatin1Char(' ') + quoted(button->text());
            if (button->isCheckable())
                line += button->isChecked() ? QStringLiteral(" [on]") : QStringLiteral(" [off]");
        } else if (const auto *label = qobject_cast<const QLabel *>(child)) {
            if (!label->text().isEmpty())
                line = QStringLiteral("label ") + quoted(label->text());
        }
        if (!line.isEmpty()) {
            if (!child->isEnabled())
                line += QStringLiteral(" [disabled]");
            lines << indent + line;
        }
        if (inside)
            describeControls(child, lines, line.isEmpty() ? depth : depth + 1);
    }
}

QStringList WalkDriver::describePopups() const
{
    QStringList lines;
    for (QVantelPopup *popup : popups()) {
        if (auto *board = qobject_cast<QVantelVirtual *>(popup)) {
            QString line
                = QStringLiteral("keyboard %1: %2")
                      .arg(quoted(board->titleLabel()->text()), quoted(board->lineEdit()->text()));
            if (board->lineEdit()->echoMode() == QLineEdit::Password)
                line += QStringLiteral(" [hidden text]");
            if (board->mode() == 0)
                line += QStringLiteral(" [digits]");
            lines << line;
        } else if (auto *select = qobject_cast<QVantelMenuSelect *>(popup)) {
            QStringList texts;
            for (QVantelMenuSelectable *choice : choicesOf(select)) {
                texts << (choice == select->currentSelectable() ? QStringLiteral("*") : QString())
                             + oneLine(choice->label()->text());
            }
            lines << QStringLiteral("choices %1: %2")
                         .arg(quoted(select->titleLabel()->text()),
                              texts.join(QStringLiteral(" | ")));
        } else if (auto *message = qobject_cast<QVantelMessage *>(popup)) {
            QString line = QStringLiteral("message ") + quoted(message->text());
            if (message->cancelButton())
                line += QStringLiteral(" [") + message->cancelButton()->text() + QLatin1Char(']');
            if (message->okButton())
                line += QStringLiteral(" [") + message->okButton()->text() + QLatin1Char(']');
            lines << line;
        } else {
            lines << QStringLiteral("popup ")
                         + QString::fromLatin1(popup->metaObject()->className());
            describeControls(popup, lines, 1);
        }
    }
    return lines;
}
