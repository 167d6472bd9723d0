#pragma once

#include "link/ccom.h"
#include "widgets/qvantelpage.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <vector>

class QHideEvent;
class QShowEvent;
class QVantelMenuEntries;
class QVantelMenuEntry;
class QVantelMenuHeader;
class QVantelMenuItem;
class QVantelMenuItems;
class QVantelMenuSelect;
class QVantelMessage;
class QVantelPageStack;
class QVantelPopup;
class QVantelVirtual;

// Base of the menu-driven front-panel pages: a column of root entries on the left and, on the
// right, a header (back, title path, apply, refresh) above a stack of item pages.
//
// The widget owns the navigation state (current entry, page stack, title path, modified mark),
// opens the menu's popups (keyboard, choice popup, confirmation, message) as application-modal
// children placed over itself, and reports every user action through twelve virtual hooks whose
// defaults keep the navigation state. A subclass builds the entries and pages and overrides the
// hooks. Pages that leave the stack and closed popups are deleted with deleteLater(), so a page
// may pop or replace itself from inside one of its own handlers. The signals pageActivated and
// menuItemChanges are declared here and emitted only by subclasses.
//
// After showing a popup, showKeyboard, showSelection, confirmAction and showMessage (when it opens
// a new message) process pending events once, socket notifiers excluded, so the popup is painted
// before they return.
//
// Navigation. A tap on a navigation row clears the modified mark and the refresh icon at once;
// the row's title joins the path (and the back icon shows) only when the page it opens is
// pushed, so that while the page's builder waits for the unit the header never names it over
// the rows of the page under it. A page is pushed only onto the stack it was built for: when the
// stack changed while it was being built (Back, another entry, a list built afresh), pushPage()
// drops it, to be deleted later, and the row's title with it.
//
// Popups belong to the menu. When the menu is hidden (the front panel shows another page, as it
// does when the session ends), every popup it opened closes, cancelled, and none opens until the
// menu is entered (showEntry()) or shown again: showMessage() does nothing then, and
// showKeyboard(), showSelection() and confirmAction() return null. A popup opened while the menu
// is entered but not yet shown is placed over the panel that holds the menu, where it will show.
// The dynamic property of a widget whose controls act on whatever page the page stack next to it
// shows (the menu's header): input aimed at it belongs to that page as much as to the widget.
inline constexpr char kFollowsPagesProperty[] = "followsPages";

class QVantelMenuWidget : public QWidget
{
    Q_OBJECT

public:
    // While it lives, the device calls made are one step of the menu's: a page being built, read
    // again, tested or applied. Once the menu moves on without it (a page put on or taken off the
    // stack by anything but the step and the steps it runs itself, or the menu left), or the
    // operator's input ends it (ksm::CCom::endTasks(): input held during a wait that leaves the
    // page, the end of the session), the step's reads are not sent any more (ksm::CallScope) and
    // a page it builds is not pushed: nothing is read or shown for a page the operator has left.
    // Steps live on the stack, inside the menu's own hooks.
    class Step
    {
    public:
        explicit Step(QVantelMenuWidget *menu);
        ~Step();
        Q_DISABLE_COPY_MOVE(Step)

        // The menu has not moved on without the step, and nothing ended the step or a step it
        // runs in (ksm::CCom::endTasks()).
        [[nodiscard]] bool stillWanted() const;

    private:
        friend class QVantelMenuWidget;

        [[nodiscard]] bool menuStillThere() const;

        QPointer<QVantelMenuWidget> m_menu;
        int m_baseline = 0;
        ksm::CallScope m_scope;
    };

    explicit QVantelMenuWidget(QWidget *parent = nullptr);
    ~QVantelMenuWidget() override;

    // The page to return to when the user leaves the menu; written by the front-panel window.
    QVantel::Page returnPage = QVantel::MainPage;
    // Id of the entry last opened by entryClicked; -1 before.
    int currentEntry = -1;
    // Second argument of the last showEntry, for the subclass while it opens the entry.
    int entryTarget = 0;

    QVantelMenuHeader *header() const { return m_header; }
    QVantelMenuEntries *entries() const { return m_entries; }
    QVantelPageStack *pageStack() const { return m_stack; }
    QVantelMessage *message() const;
    const QStringList &titlePath() const { return m_titlePath; }

    void addEntry(QVantelMenuEntry *entry);
    void pushPage(QVantelMenuItems *page);
    QVantelMenuItems *findPage(int id) const;
    QVantelMenuItems *findPage(int id, int data) const;
    QVantelMenuItems *currentPage() const;
    // The page is the one shown, or one being built that pushPage() would show now. A step that
    // waited for the unit touches the header for its page only while this holds.
    [[nodiscard]] bool isPageInView(const QVantelMenuItems *page) const;

    // Moves popup (already sized) to the middle of the menu; placeOver() centres it across page
    // instead, still in the middle of the menu's height. Global coordinates.
    void placeCentred(QWidget *popup) const;
    void placeOver(QWidget *popup, const QWidget *page) const;

    QVantelVirtual *showKeyboard(int mode, QVantelMenuItem *item, bool show);
    QVantelMenuSelect *showSelection(const QString &title, QVantelMenuItem *item, bool show);
    QVantelMessage *confirmAction(const QString &text, QVantelMenuItem *item);
    void showMessage(const QString &text, int autoCloseMs);
    void closeMessage();

    // Hooks, in their fixed order.
    virtual void backClicked();
    virtual void applyClicked();
    virtual void refreshClicked();
    virtual void openEntry(QVantelMenuEntry *entry);
    virtual bool entryClicked(QVantelMenuEntry *entry);
    virtual void itemClicked(QVantelMenuItem *item);
    virtual void prepareKeyboard(QVantelMenuItem *item, QVantelVirtual *keyboard);
    virtual void prepareSelection(QVantelMenuItem *item, QVantelMenuSelect *select);
    virtual void itemCommitted(QVantelMenuItem *item);
    virtual void keyboardAccepted(QVantelMenuItem *item, QVantelVirtual *keyboard);
    virtual void selectionAccepted(QVantelMenuItem *item, QVantelMenuSelect *select);
    // Opens an entry for the window, which shows the menu when this returns true: false when
    // the entry is missing or disabled, or when the menu is hidden and the operator's input
    // ended the entry's build (ksm::CCom::endTasks()): they went elsewhere meanwhile.
    virtual bool showEntry(int entryId, int target);

signals:
    void pageActivated(QVantel::Page page);
    void menuItemChanges(QVantelMenuItem *item, int code);

protected:
    // Forgets the title of the navigation row last tapped. A subclass calls it once the row's
    // step is over without a page pushed (its read failed), so that the next page pushed, by
    // whatever row, does not take that title.
    void dropPendingTitle();

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // A navigation row's title, waiting for the page the row opens: the stack's changes() when
    // the row was tapped.
    struct PendingTitle
    {
        QString title;
        int stackChanges = 0;
    };

    // Closes every popup of the menu, cancelled.
    void closePopups();
    // What a popup the menu opened reports when it closes; each runs the matching hook for a row
    // that still lives.
    void messagePopupClosed(QVantelMessage *message);
    void actionPopupClosed(QVantelMessage *question);
    void keyboardPopupClosed(QVantelVirtual *keyboard);
    void selectionPopupClosed(QVantelMenuSelect *select);
    void placeOverPage(QWidget *popup) const;
    // Lays the menu out over its panel while it is hidden, so that a popup opened before it is
    // shown is placed where it will show.
    void takePanelGeometry();
    // The stack changed: the steps that made the change, directly or through the steps they
    // run, go on; any other sees the menu move on without it.
    void stackChanged();
    void showTitlePath();
    void hideRefresh();
    // The popup's item when it is a row that still lives in this menu, else null.
    QVantelMenuItem *liveItem(const QVantelPopup *popup) const;
    static void paintNow();

    QVantelMenuHeader *m_header = nullptr;
    QVantelMenuEntries *m_entries = nullptr;
    QVantelPageStack *m_stack = nullptr;
    QPointer<QVantelMessage> m_message;
    QStringList m_titlePath;
    std::optional<PendingTitle> m_pendingTitle;
    // Hidden after having been shown: the menu was left, and opens no popup.
    bool m_left = false;
    // The steps that live now, the innermost last.
    std::vector<Step *> m_steps;

    Q_DISABLE_COPY_MOVE(QVantelMenuWidget)
};
