#include "walkdriver.h"
#include "walkmenu.h"

#include "widgets/qvantelpage.h"

namespace {

using Control = WalkDriver::Control;
using ControlKind = WalkDriver::ControlKind;
using PopupKind = WalkDriver::PopupKind;

constexpr int kMaxPopups = 6;

// Answers the popups a page opened: a keyboard gets another name, a question OK, a source popup
// the next source heard on the next ears, a gain popup one step more.
void answerPopups(WalkDriver &w, int salt)
{
    for (int i = 0; i < kMaxPopups; ++i) {
        switch (w.popup()) {
        case PopupKind::Keyboard:
            w.typeOtherValue(salt);
            break;
        case PopupKind::Question:
            w.step(QStringLiteral("question: OK"), [&] { w.answer(true); });
            break;
        case PopupKind::Choices:
            w.step(QStringLiteral("choices: the next, OK"), [&] { w.chooseNext(); });
            break;
        case PopupKind::Source:
            w.step(QStringLiteral("source popup: \"+\""), [&] { w.keyOnPopup(Qt::Key_Plus); });
            w.step(QStringLiteral("source popup: Return"), [&] { w.keyOnPopup(Qt::Key_Return); });
            w.step(QStringLiteral("source popup: OK"), [&] { w.acceptPopup(); });
            break;
        case PopupKind::Gain:
            w.step(QStringLiteral("gain popup: knob one step up"), [&] { w.turnPopupKnob(1); });
            w.step(QStringLiteral("gain popup: OK"), [&] { w.acceptPopup(); });
            break;
        case PopupKind::None:
        case PopupKind::Notice:
            return;
        case PopupKind::Other:
            w.step(QStringLiteral("close the popup"), [&] { w.closePopup(); });
            break;
        }
    }
}

// Every control of the page shown, in the page's order: knobs a step up, a step back down and,
// where they pan, one step of the ears; switches and pair buttons flipped; positions opened with
// either button; other buttons pressed. The buttons to other pages are left to the walk.
void exercise(WalkDriver &w)
{
    const QList<Control> controls = w.controls();
    int salt = 0;
    for (const Control &control : controls) {
        ++salt;
        // A step before may have hidden, locked or left the control.
        if (!w.usable(control))
            continue;
        const QString name = w.nameOf(control);
        switch (control.kind) {
        case ControlKind::Knob:
            w.step(name + QStringLiteral(": one step up"), [&] { w.turnKnob(control, 1); });
            if (w.usable(control))
                w.step(name + QStringLiteral(": one step down"), [&] { w.turnKnob(control, -1); });
            if (w.usable(control) && control.pans)
                w.step(name + QStringLiteral(": next ears"), [&] { w.turnKnob(control, 0, 1); });
            break;
        case ControlKind::Position:
            w.step(name + QStringLiteral(": tap"), [&] { w.tap(control); });
            answerPopups(w, salt);
            if (w.usable(control)) {
                w.step(name + QStringLiteral(": right press"), [&] { w.rightPress(control); });
                answerPopups(w, salt);
            }
            break;
        case ControlKind::Toggle:
        case ControlKind::Button:
            w.step(name + QStringLiteral(": press"), [&] { w.tap(control); });
            answerPopups(w, salt);
            break;
        }
    }
}

void press(WalkDriver &w, const QString &objectName)
{
    w.step(QStringLiteral("press ") + objectName, [&] { w.pressButton(objectName); });
    answerPopups(w, 1);
}

void headphonePage(WalkDriver &w, int page, const QString &name)
{
    w.step(QStringLiteral("panel: ") + name, [&] { w.showPanelPage(page); });
    exercise(w);
    // The grid's further screens, swiped up one after the other, and back to the first.
    for (int screen = 0; screen < 2; ++screen) {
        w.step(QStringLiteral("swipe up"), [&] { w.swipe(370, 290); });
        exercise(w);
    }
    w.step(QStringLiteral("swipe down"), [&] { w.swipe(200, 370); });
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
