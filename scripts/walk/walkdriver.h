#pragma once

#include "tests/support/fakequorix.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QTextStream;
class QVantelMenuItem;
class QVantelMenuWidget;
class QVantelPopup;
class QVantelWindow;
class QWidget;

// The one place where the walk touches the program and reads it back: the demo unit in the same
// process, the front-panel window logged in as Administrator, and the transcript. The walk's
// scripts (walkmenu.cpp, walkpages.cpp) say what to do in the words of this class; how a tap, a
// keyboard or a row is reached is written here only, so that when the program's widgets change
// shape this file is the one to adapt.
//
// Every action of the walk is a step: the driver runs it, lets the program finish what it
// started (posted events, one-way messages, deferred deletes), writes the step's label, what
// the panel shows (the settings menu's title path and rows, or the controls of the page shown),
// the popups that are open and every request the unit received for it, and then closes the
// notices (messages without buttons), so that no timer decides what the next step finds. The
// transcript holds no times, ports, addresses or pointers; password cipher texts, which differ
// on every run, are written as the text they hold.
//
// What the program shows is read where a user sees it: the menu's rows through its pages'
// items() and the rows' texts, marks and value lists; the header's icons; the popups' texts and
// buttons; the controls of the audio and headphone pages by class and object name. Rows are
// addressed by their visible title and, among rows of one title, their place.
//
// No timer decides what a step finds: notices do not close by their own timer while the walk
// runs (it closes them after each step), and nothing but the walk makes requests: the window's
// periodic set-up and keep-alive are pushed beyond the walk's length (setupPass() runs the set-up
// where the walk wants it), calls and notifications are the walk's own unit events, each waited for
// until the window has handled it. The demo's level reports keep coming; the meters they move are
// left out of the transcript.
class WalkDriver : public QObject
{
    Q_OBJECT

public:
    // What a menu row is, as far as the walk is concerned.
    enum class RowKind { Caption, Value, Switch, Text, Number, Choice, Page, Wheel, Action };

    // A row of the menu page shown: the occurrence-th row with this title.
    struct Row
    {
        QString title;
        int occurrence = 0;
        RowKind kind = RowKind::Value;
        bool locked = false;
        // A wheel that stands at its last value.
        bool atTop = false;
    };

    // What a popup is.
    enum class PopupKind { None, Keyboard, Choices, Question, Notice, Source, Gain, Other };

    // A control of an audio or headphone page.
    enum class ControlKind { Knob, Toggle, Position, Button };
    struct Control
    {
        QPointer<QWidget> widget;
        ControlKind kind = ControlKind::Button;
        bool pans = false;
    };

    explicit WalkDriver(QTextStream &out, QObject *parent = nullptr);
    ~WalkDriver() override;
    Q_DISABLE_COPY_MOVE(WalkDriver)

    // Builds the unit and the window, connects and logs in as Administrator (the first step).
    [[nodiscard]] bool start();
    // Writes the closing line and takes everything down, the window first.
    void finish();

    // --- Transcript ---------------------------------------------------------------------------
    void step(const QString &label, const std::function<void()> &action);
    // A line of the walk's own: a heading, or what it could not do (a row it did not find).
    void note(const QString &text);

    // --- The unit -----------------------------------------------------------------------------
    [[nodiscard]] FakeQuorix &unit() const { return *m_fake; }
    // From now on the unit refuses every write of these settings with "015-not allowed" and
    // keeps its values; reads are answered as before. An empty list ends the refusals.
    void refuseWrites(const QStringList &keys);
    // From now on the unit answers every read (lists too) this many milliseconds late; 0 makes it
    // prompt again. The client checks its time-outs often meanwhile, so that a read answered
    // after the give-up is one on every machine.
    void slowUnit(int readDelayMs);
    // Runs input once the next request has reached the unit, while the program waits for it.
    void duringNextRequest(const std::function<void()> &input);
    // A read of the unit that is no page's (as the keep-alive's probe), with input made while
    // the program waits for its answer.
    void unitReadWhile(const std::function<void()> &input);
    // An EVENT or INFO from the unit, as one step that ends once the window has handled it.
    void unitEvent(const QString &eventType, const FakePairs &pairs);
    void unitInfo(const QString &infoType, const FakePairs &pairs);

    // --- The window ---------------------------------------------------------------------------
    // Asks the window for a page, as the panel's keys and shortcuts do (settings targets too).
    void showPanelPage(int page);
    [[nodiscard]] int shownPanelPage() const;
    // One pass of the window's periodic controller set-up, as a step.
    void setupPass();
    // Presses the button of the page shown with this object name; a path of object names
    // ("connPanel1/codingButton") names a button inside a part of the page. A button the page
    // does not show is not pressed.
    void pressButton(const QString &objectName);

    // --- The settings menu --------------------------------------------------------------------
    [[nodiscard]] QStringList sectionTitles() const;
    void tapSection(const QString &title);
    [[nodiscard]] QString menuPath() const;
    // How many pages the menu has open, the section's own counting as one.
    [[nodiscard]] int menuDepth() const;
    [[nodiscard]] QList<Row> rows() const;
    // The row as it is now; nothing when the page has no such row.
    [[nodiscard]] std::optional<Row> row(const QString &title, int occurrence = 0) const;
    [[nodiscard]] bool hasRow(const QString &title, int occurrence = 0) const;
    // The title of the occurrence-th row whose title is title or, failing that, starts with it
    // (titles that carry a state, as "Codec 1 [ Ethernet ]"); empty when there is none.
    [[nodiscard]] QString titleLike(const QString &title, int occurrence = 0) const;
    // A tap on the row's title: the keyboard, the choice popup or the page's own reaction.
    void tapRow(const QString &title, int occurrence = 0);
    void flipSwitch(const QString &title, int occurrence = 0);
    // A tap on the row's wheel, steps of "+" (negative: "-"), and a tap to let it go.
    void turnWheel(const QString &title, int occurrence, int steps);
    [[nodiscard]] bool applyOffered() const;
    [[nodiscard]] bool refreshOffered() const;
    [[nodiscard]] bool backOffered() const;
    void tapApply();
    void tapRefresh();
    void tapBack();

    // --- Input as the window system hands it on ----------------------------------------------
    // Unlike the actions above, which call the widgets, these go through the windows, and so
    // through the program's judgement of input made while it waits for the unit.
    // A tap on the middle of the header's Back or Apply icon, or of a keyboard's key.
    void tapBackOnScreen();
    void tapApplyOnScreen();
    // A tap on the middle of the page's button (a path as pressButton() takes).
    void tapButtonOnScreen(const QString &objectName);
    void tapKeyOnScreen(int key);
    // Keys typed on the PC's keyboard, into the window that has the focus.
    void typeOnScreen(const QString &text);

    // --- Popups -------------------------------------------------------------------------------
    // The popup opened last of those open.
    [[nodiscard]] PopupKind popup() const;
    // Clears the keyboard's line, types text and presses OK, or presses Cancel.
    void typeText(const QString &text);
    // As a step, types another value than the keyboard opened with, its own for each salt (a
    // small number, such as the field's place on its page): an address with its last part moved
    // on by salt, a number salt up, a word with "w" and salt added; an empty field gets a number
    // (a keyboard of digits) or a word.
    void typeOtherValue(int salt);
    void cancelKeyboard();
    // Marks the choice with this text and presses OK (Cancel when the list has none).
    void chooseText(const QString &text);
    // Marks the choice after the marked one (the first when none is) and presses OK.
    void chooseNext();
    void cancelChoices();
    // OK or Cancel of the question open.
    void answer(bool ok);
    // A key on the source popup, a step of the gain popup's knob, and OK of either.
    void keyOnPopup(int key);
    void turnPopupKnob(int steps);
    void acceptPopup();
    // Closes the popup opened last, as a click outside it does.
    void closePopup();

    // --- Pages of controls --------------------------------------------------------------------
    // The usable controls of the page shown, in the page's order; the buttons that lead to
    // another page and the status strip are left out.
    [[nodiscard]] QList<Control> controls() const;
    [[nodiscard]] bool usable(const Control &control) const;
    // The control's name as the page shows it now: a strip's knob or a position by the strip's
    // names, anything else by its object name (or its class and text).
    [[nodiscard]] QString nameOf(const Control &control) const;
    // A knob: an engaging tap, steps of "+" (negative: "-"), presses of Return, a tap that lets
    // it go. Any other control: a tap (on a position, on its button).
    void turnKnob(const Control &control, int steps, int panningSteps = 0);
    void tap(const Control &control);
    void rightPress(const Control &control);
    // A finger drawn down the page shown from fromY to toY (up when toY is smaller).
    void swipe(int fromY, int toY);

protected:
    // Stops the notices' own closing timers before they fire.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    [[nodiscard]] static QString otherText(const QString &text, bool digits, int salt);
    [[nodiscard]] QWidget *panelPage() const;
    // The widget of the page shown at the path of object names; null when there is none.
    [[nodiscard]] QWidget *pageWidget(const QString &path) const;
    [[nodiscard]] QVantelMenuWidget *menu() const;
    [[nodiscard]] QList<QVantelMenuItem *> menuItems() const;
    [[nodiscard]] QVantelMenuItem *item(const QString &title, int occurrence) const;
    [[nodiscard]] QList<QVantelPopup *> popups() const;
    template<typename Popup>
    [[nodiscard]] Popup *open() const;
    void click(QWidget *widget);
    void tapOnScreen(QWidget *widget);
    void key(QWidget *widget, int key);
    void dismissNotices();
    void settle();
    static void typeInto(QWidget *widget, const QString &text);
    [[nodiscard]] std::optional<QList<FakeReply>> refusedWrite(const FakeRequest &request);
    // Pushes a message of the unit as one step, and waits until the window has handled it.
    void
    pushFromUnit(const QString &label, const FakePairs &pairs, const std::function<bool()> &push);
    void waitForNotifications(int expected);
    [[nodiscard]] QStringList describeShown() const;
    void describeMenu(QStringList &lines) const;
    void describeControls(const QWidget *widget, QStringList &lines, int depth) const;
    [[nodiscard]] QStringList describePopups() const;
    [[nodiscard]] static QString describeRow(const QVantelMenuItem *row);
    [[nodiscard]] static QString nameOf(const QWidget *widget);
    [[nodiscard]] static QString requestText(const FakeRequest &request);
    void write(const QString &line);

    QTextStream &m_out;
    std::unique_ptr<FakeQuorix> m_fake;
    std::unique_ptr<QVantelWindow> m_window;
    QStringList m_lastShown;
    int m_steps = 0;
    int m_requests = 0;
    int m_logged = 0;
    int m_notifications = 0;
    // Inputs the program dropped, since the transcript last said so.
    int m_dropped = 0;
    QSet<QString> m_refusedWrites;
};
