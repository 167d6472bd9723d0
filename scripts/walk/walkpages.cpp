#include "walkdriver.h"
#include "walkmenu.h"

#include "pages/qvantelheadphoneaudio.h"
#include "pages/qvantelheadphoneselect.h"
#include "widgets/qvantelaudiobase.h"
#include "widgets/qvantelaudiobutton.h"
#include "widgets/qvantelaudioinput.h"
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelknob.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelpage.h"
#include "widgets/qvantelpair.h"
#include "widgets/qvantelpopup.h"
#include "widgets/qvantelstatuspanel.h"
#include "widgets/qvantelswitch.h"
#include "widgets/qvantelvirtual.h"

#include <QLineEdit>
#include <QPointer>

namespace {

constexpr int kMaxPopups = 6;

// The buttons that lead to another page; the walk takes them in its own order.
bool isNavigation(const QWidget *widget)
{
    static const QStringList names = {QStringLiteral("inputSettingsButton"),
                                      QStringLiteral("auxSettingsButton"),
                                      QStringLiteral("outputSettingsButton"),
                                      QStringLiteral("backButton"),
                                      QStringLiteral("homeButton")};
    const QString name = widget->objectName();
    return names.contains(name) || name.startsWith(QLatin1String("pageBar"));
}

// The status strip shows the unit's state; it takes no part in the page's own controls.
bool inStatusPanel(const QWidget *widget, const QWidget *page)
{
    for (const QWidget *at = widget; at && at != page; at = at->parentWidget()) {
        if (qobject_cast<const QVantelStatusPanel *>(at))
            return true;
    }
    return false;
}

// A control in the transcript: a strip's knob by the strip's name, else the control's own.
QString controlName(const QWidget *widget)
{
    for (const QWidget *at = widget; at; at = at->parentWidget()) {
        if (const auto *strip = qobject_cast<const QVantelAudioBase *>(at)) {
            QString name = strip->displayName();
            name.replace(QLatin1Char('\n'), QLatin1Char('/'));
            return QStringLiteral("strip \"%1\"").arg(name);
        }
    }
    return WalkDriver::nameOf(widget);
}

bool usable(const QWidget *widget)
{
    return widget && widget->isVisible() && widget->isEnabled();
}

// Answers the popups a page opened: a keyboard gets a name, a question OK, a source list the
// next source heard on the next ears, a gain popup one step more.
void answerPopups(WalkDriver &w, int salt)
{
    for (int i = 0; i < kMaxPopups; ++i) {
        const QList<QVantelPopup *> open = w.popups();
        if (open.isEmpty())
            return;
        QVantelPopup *popup = open.constLast();
        if (auto *board = qobject_cast<QVantelVirtual *>(popup)) {
            const QString text
                = WalkDriver::otherText(board->lineEdit()->text(), board->mode() == 0, salt);
            w.step(QStringLiteral("keyboard: type \"%1\", OK").arg(text),
                   [&] { w.typeText(text); });
        } else if (auto *message = qobject_cast<QVantelMessage *>(popup)) {
            const bool ok = message->okButton() != nullptr;
            w.step(ok ? QStringLiteral("question: OK") : QStringLiteral("question: Cancel"),
                   [&] { w.answer(ok); });
        } else if (qobject_cast<QVantelMenuSelect *>(popup)) {
            w.step(QStringLiteral("choices: the next, OK"), [&] { w.chooseNext(); });
        } else if (auto *select = qobject_cast<QVantelHeadphoneSelect *>(popup)) {
            QPointer<QVantelHeadphoneSelect> guard = select;
            w.step(QStringLiteral("source popup: \"+\""), [&] { w.key(guard, Qt::Key_Plus); });
            if (guard)
                w.step(QStringLiteral("source popup: Return"),
                       [&] { w.key(guard, Qt::Key_Return); });
            if (guard)
                w.step(QStringLiteral("source popup: OK"), [&] { w.click(guard->okButton()); });
        } else if (auto *audio = qobject_cast<QVantelHeadphoneAudio *>(popup)) {
            QPointer<QVantelHeadphoneAudio> guard = audio;
            w.step(QStringLiteral("gain popup: knob one step up"),
                   [&] { w.turnKnob(guard->strip()->knob(), 1); });
            if (guard)
                w.step(QStringLiteral("gain popup: OK"), [&] { w.click(guard->okButton()); });
        } else {
            w.note(QStringLiteral("a popup the walk does not know: ")
                   + QString::fromLatin1(popup->metaObject()->className()));
            popup->close();
            return;
        }
    }
}

// Every control of the page shown, in the page's order: knobs a step up, a step back down and,
// where they pan, one panning step; switches and pair buttons flipped; position buttons opened
// with either button; other buttons pressed. The buttons to other pages are left alone.
void exercise(WalkDriver &w)
{
    QWidget *page = w.panelPage();
    if (!page)
        return w.note(QStringLiteral("no page shown"));
    QList<QPointer<QWidget>> controls;
    const QList<QWidget *> all = page->findChildren<QWidget *>();
    for (QWidget *widget : all) {
        if (!usable(widget) || isNavigation(widget) || inStatusPanel(widget, page))
            continue;
        if (qobject_cast<QVantelKnob *>(widget) || qobject_cast<QVantelSwitch *>(widget)
            || qobject_cast<QVantelPair *>(widget) || qobject_cast<QVantelAudioButton *>(widget)) {
            controls << widget;
        } else if (qobject_cast<QVantelButton *>(widget)
                   && !qobject_cast<QVantelAudioButton *>(widget->parentWidget())) {
            controls << widget;
        }
    }

    int salt = 0;
    for (const QPointer<QWidget> &control : controls) {
        ++salt;
        // A step may have hidden, locked or left the control (or the page).
        if (!usable(control) || w.panelPage() != page)
            continue;
        const QString name = controlName(control);
        if (auto *knob = qobject_cast<QVantelKnob *>(control.data())) {
            w.step(name + QStringLiteral(": one step up"), [&] { w.turnKnob(knob, 1); });
            if (usable(control))
                w.step(name + QStringLiteral(": one step down"), [&] { w.turnKnob(knob, -1); });
            if (usable(control) && knob->hasPanning())
                w.step(name + QStringLiteral(": next ears"), [&] { w.turnKnob(knob, 0, 1); });
        } else if (auto *position = qobject_cast<QVantelAudioButton *>(control.data())) {
            w.step(name + QStringLiteral(": tap"), [&] { w.click(position->button()); });
            answerPopups(w, salt);
            if (usable(control)) {
                w.step(name + QStringLiteral(": right press"), [&] { w.rightPress(position); });
                answerPopups(w, salt);
            }
        } else {
            w.step(name + QStringLiteral(": press"), [&] { w.click(control); });
            answerPopups(w, salt);
        }
    }
}

void press(WalkDriver &w, const QString &objectName)
{
    w.step(QStringLiteral("press ") + objectName, [&] { w.click(w.control<QWidget>(objectName)); });
    answerPopups(w, 1);
}

void headphonePage(WalkDriver &w, int page, const QString &name)
{
    w.step(QStringLiteral("panel: ") + name, [&] { w.showPanelPage(page); });
    exercise(w);
    // The grid's further screens, swiped up one after the other, and back to the first.
    for (int screen = 0; screen < 2; ++screen) {
        w.step(QStringLiteral("swipe up"), [&] { w.swipe(w.panelPage(), 370, 290); });
        exercise(w);
    }
    w.step(QStringLiteral("swipe down"), [&] { w.swipe(w.panelPage(), 200, 370); });
}

} // namespace

void walkPanelPages(WalkDriver &w)
{
    w.note(QStringLiteral("--- the audio pages"));
    w.step(QStringLiteral("panel: audio"), [&] { w.showPanelPage(QVantel::AudioPage); });
    exercise(w);
    press(w, QStringLiteral("inputSettingsButton"));
    exercise(w);
    press(w, QStringLiteral("auxSettingsButton"));
    exercise(w);
    press(w, QStringLiteral("outputSettingsButton"));
    exercise(w);
    press(w, QStringLiteral("inputSettingsButton"));
    press(w, QStringLiteral("backButton"));
    press(w, QStringLiteral("homeButton"));

    w.note(QStringLiteral("--- the headphone pages"));
    headphonePage(w, QVantel::Headphone1Page, QStringLiteral("headphone 1"));
    headphonePage(w, QVantel::Headphone2Page, QStringLiteral("headphone 2"));
    headphonePage(w, QVantel::Headphone3Page, QStringLiteral("headphone 3"));
    headphonePage(w, QVantel::Headphone4Page, QStringLiteral("headphone 4"));
    // The page bar, from page 4 round to the main page.
    for (const int button : {0, 1, 3, 4, 2})
        press(w, QStringLiteral("pageBar%1").arg(button));
}
