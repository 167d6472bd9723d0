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

class QAbstractButton;
class QTextStream;
class QVantelKnob;
class QVantelMenuItem;
class QVantelMenuItems;
class QVantelMenuSelect;
class QVantelMenuWidget;
class QVantelMessage;
class QVantelPopup;
class QVantelVirtual;
class QVantelWindow;
class QWidget;

// The one place where the walk touches the program and reads it back: the demo unit in the same
// process, the front-panel window logged in as Administrator, and the transcript.
//
// Every action of the walk is a step: the driver runs it, lets the program finish what it
// started (posted events, one-way messages, deferred deletes), writes the step's label, what
// the panel shows (the settings page's title path and rows, or the controls of the page shown),
// the popups that are open and every request the unit received for it, and then closes the
// notices (messages without buttons) so that no timer decides what the next step sees. The
// transcript holds no times, ports, addresses or pointers; password cipher texts, which differ
// on every run, are written as the text they hold.
//
// The walk reaches the program only through what a user sees and does, found by visible text,
// class or object name: the menu widget's pages and rows (through QVantelMenuItems::items()),
// its header icons, the popups' buttons, the widgets of the audio and headphone pages. When the
// program's widgets change shape, this file is the one to adapt.
//
// The window's periodic set-up and keep-alive are pushed far beyond the walk's length, so that
// only the walk's own steps make requests. Unit notifications are pushed by the walk and waited
// for until the window has handled them.
class WalkDriver : public QObject
{
    Q_OBJECT

public:
    explicit WalkDriver(QTextStream &out, QObject *parent = nullptr);
    ~WalkDriver() override;
    Q_DISABLE_COPY_MOVE(WalkDriver)

    // Builds the unit and the window, connects and logs in as Administrator (the first step).
    [[nodiscard]] bool start();
    // Writes the closing line and takes everything down, the window first.
    void finish();

    // --- Transcript ---------------------------------------------------------------------------
    void step(const QString &label, const std::function<void()> &action);
    // A line of the walk's own, for what it could not do (a row it did not find, ...).
    void note(const QString &text);
    [[nodiscard]] int steps() const { return m_steps; }
    [[nodiscard]] int requests() const { return m_requests; }

    // --- The unit -----------------------------------------------------------------------------
    [[nodiscard]] FakeQuorix &unit() const { return *m_fake; }
    // From now on the unit refuses every write of these settings with "015-not allowed" and
    // keeps its values; reads are answered as before. An empty list ends the refusals.
    void refuseWrites(const QStringList &keys);
    // An EVENT or INFO from the unit, as one step that ends once the window has handled it.
    void unitEvent(const QString &eventType, const FakePairs &pairs);
    void unitInfo(const QString &infoType, const FakePairs &pairs);

    // --- The window ---------------------------------------------------------------------------
    [[nodiscard]] QVantelWindow *window() const { return m_window.get(); }
    // Asks the window for a page, as the panel's keys and shortcuts do (settings targets too).
    void showPanelPage(int page);
    [[nodiscard]] int shownPanelPage() const;
    // One pass of the window's periodic controller set-up, which the walk runs in place of its
    // timer (after the unit reset a controller, for one).
    void setupPass();
    [[nodiscard]] QWidget *panelPage() const;

    // --- The settings menu --------------------------------------------------------------------
    [[nodiscard]] QVantelMenuWidget *menu() const;
    [[nodiscard]] QStringList sectionTitles() const;
    void tapSection(const QString &title);
    [[nodiscard]] QVantelMenuItems *menuPage() const;
    [[nodiscard]] QString menuPath() const;
    [[nodiscard]] QList<QVantelMenuItem *> rows() const;
    // The row of the page shown with this title (the occurrence-th of them); null when none.
    [[nodiscard]] QVantelMenuItem *row(const QString &title, int occurrence = 0) const;
    // How many rows before row on its page have its title.
    [[nodiscard]] int occurrence(const QVantelMenuItem *row) const;
    // A tap on the row's title: the keyboard, the choice popup or the page's own reaction.
    void tapRow(QVantelMenuItem *row);
    void flipSwitch(QVantelMenuItem *row);
    // A tap on the row's wheel, steps of "+" (negative: "-"), and a tap to let it go.
    void turnWheel(QVantelMenuItem *row, int steps);
    [[nodiscard]] bool applyOffered() const;
    [[nodiscard]] bool refreshOffered() const;
    [[nodiscard]] bool backOffered() const;
    void tapApply();
    void tapRefresh();
    void tapBack();

    // --- Popups -------------------------------------------------------------------------------
    [[nodiscard]] QList<QVantelPopup *> popups() const;
    [[nodiscard]] QVantelVirtual *keyboard() const;
    [[nodiscard]] QVantelMenuSelect *selection() const;
    // An open message with buttons.
    [[nodiscard]] QVantelMessage *question() const;
    // Clears the keyboard's line, types text and presses OK (or Cancel).
    void typeText(const QString &text);
    void cancelKeyboard();
    // Marks the choice with this text (false when the list has none) and presses OK.
    bool chooseText(const QString &text);
    // Marks the choice after the marked one (the first when none is) and presses OK.
    void chooseNext();
    void cancelSelection();
    void answer(bool ok);
    // Closes every popup without buttons.
    void dismissNotices();

    // --- Pages of controls --------------------------------------------------------------------
    template<typename T = QWidget>
    [[nodiscard]] T *control(const QString &objectName) const
    {
        QWidget *page = panelPage();
        return page ? page->findChild<T *>(objectName) : nullptr;
    }
    void click(QWidget *widget);
    void rightPress(QWidget *widget);
    void key(QWidget *widget, int key);
    // An engaging tap on a knob, steps of "+" (negative: "-"), presses of Return, and a tap
    // that lets it go.
    void turnKnob(QVantelKnob *knob, int steps, int panningSteps = 0);
    // A finger drawn down the page from fromY to toY (up when toY is smaller), in the middle.
    void swipe(QWidget *page, int fromY, int toY);

    // Another value for a field that holds text, its own for each salt (a small number, such as
    // the field's place on its page): an address with its last part moved on by salt, a number
    // salt up, a word with "w" and salt added; an empty field gets a number (digits) or a word.
    [[nodiscard]] static QString otherText(const QString &text, bool digits, int salt);

    // The widget's name in the transcript: its object name, else its class and its text.
    [[nodiscard]] static QString nameOf(const QWidget *widget);

private:
    void settle();
    static void typeInto(QWidget *widget, const QString &text);
    [[nodiscard]] std::optional<QList<FakeReply>> refusedWrite(const FakeRequest &request);
    void waitForNotifications(int expected);
    [[nodiscard]] QStringList describeShown() const;
    void describeMenu(QStringList &lines) const;
    void describeControls(const QWidget *widget, QStringList &lines, int depth) const;
    [[nodiscard]] QStringList describePopups() const;
    [[nodiscard]] static QString describeRow(const QVantelMenuItem *row);
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
    QSet<QString> m_refusedWrites;
};
