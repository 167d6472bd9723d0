#include "widgets/qvantelmenuwidget.h"

#include "link/ccom.h"
#include "link/comclient.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmessage.h"
#include "widgets/qvantelpagestack.h"
#include "widgets/qvantelpopup.h"
#include "widgets/qvantelvirtual.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLayout>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kPathSeparator = QStringLiteral(" > ");

QFrame *plainLine(QFrame::Shape shape, QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Plain);
    return line;
}

} // namespace

QVantelMenuWidget::QVantelMenuWidget(QWidget *parent)
    : QWidget(parent)
{
    auto *box = new QHBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->setAlignment(Qt::AlignLeft);

    m_entries = new QVantelMenuEntries(this);
    m_entries->setObjectName(QStringLiteral("menuEntries"));
    m_entries->setFixedWidth(200);
    // A section tapped while a page is read leaves that page.
    m_entries->setProperty(QVantel::kLeavesPageProperty, true);
    box->addWidget(m_entries);
    box->addWidget(plainLine(QFrame::VLine, this));

    auto *right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    right->setAlignment(Qt::AlignTop);

    m_header = new QVantelMenuHeader(this);
    // Back, refresh and Apply act on the page shown: a tap meant for one page is not another's.
    m_header->setProperty(kFollowsPagesProperty, true);
    m_header->setObjectName(QStringLiteral("menuHeader"));
    m_header->setFixedHeight(60);
    m_header->backIcon()->setProperty(QVantel::kLeavesPageProperty, true);
    m_header->layout()->setSpacing(10);
    right->addWidget(m_header);
    right->addWidget(plainLine(QFrame::HLine, this));

    m_stack = new QVantelPageStack;
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->setSpacing(0);
    connect(m_stack, &QVantelPageStack::changed, this, &QVantelMenuWidget::stackChanged);
    right->addLayout(m_stack);

    box->addLayout(right, 1);
}

QVantelMenuWidget::~QVantelMenuWidget() = default;

QVantelMenuWidget::Step::Step(QVantelMenuWidget *menu)
    : m_menu(menu)
    , m_baseline(menu ? menu->m_stack->changes() : 0)
    , m_scope(comClient(), [this] { return menuStillThere(); })
{
    if (menu)
        menu->m_steps.push_back(this);
}

QVantelMenuWidget::Step::~Step()
{
    if (m_menu) {
        std::vector<Step *> &steps = m_menu->m_steps;
        steps.erase(std::remove(steps.begin(), steps.end(), this), steps.end());
    }
}

bool QVantelMenuWidget::Step::stillWanted() const
{
    return m_scope.stillWanted();
}

bool QVantelMenuWidget::Step::menuStillThere() const
{
    return m_menu && !m_menu->m_left && m_menu->m_stack->changes() == m_baseline;
}

void QVantelMenuWidget::stackChanged()
{
    // The scopes from the innermost out, as far as the code that runs is the step's own: a
    // neutral scope (input handed on, an event loop pass) starts something else.
    for (const ksm::CallScope *scope = comClient()->scope(); scope && !scope->isNeutral();
         scope = scope->outer()) {
        for (Step *step : m_steps) {
            if (&step->m_scope == scope)
                step->m_baseline = m_stack->changes();
        }
    }
}

QVantelMessage *QVantelMenuWidget::message() const
{
    return m_message;
}

void QVantelMenuWidget::addEntry(QVantelMenuEntry *entry)
{
    m_entries->addEntry(entry);
}

void QVantelMenuWidget::pushPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    // Built over another stack than there is now (the menu moved on while the page's builder
    // waited for the unit), or by a step the operator left meanwhile: the page belongs nowhere.
    if ((page->builtAt() >= 0 && page->builtAt() != m_stack->changes())
        || (!m_steps.empty() && !m_steps.back()->stillWanted())) {
        m_pendingTitle.reset();
        page->hide();
        page->deleteLater();
        return;
    }
    // The page under it stays shown, so nothing takes the focus from its controls: an engaged
    // wheel would keep stepping out of sight and commit on the next tap. Leaving the page drops
    // the focus, which disengages the wheel and shows its value again.
    if (QWidget *previous = m_stack->currentWidget()) {
        QWidget *focused = window()->focusWidget();
        if (focused && previous->isAncestorOf(focused))
            focused->clearFocus();
    }
    // The pages under it stay shown: the page paints all of its area, so they are never painted.
    page->setAutoFillBackground(true);
    const int builtOver = m_stack->changes();
    m_stack->addWidget(page);
    // The title of the row that opened the page, now that its rows are there.
    if (m_pendingTitle && m_pendingTitle->stackChanges == builtOver) {
        m_titlePath.append(m_pendingTitle->title);
        showTitlePath();
        if (m_titlePath.size() == 2)
            m_header->setBackVisible(true);
    }
    m_pendingTitle.reset();
}

QVantelMenuItems *QVantelMenuWidget::findPage(int id) const
{
    for (int i = 0; i < m_stack->count(); ++i) {
        auto *page = qobject_cast<QVantelMenuItems *>(m_stack->widget(i));
        if (page && page->id() == id)
            return page;
    }
    return nullptr;
}

QVantelMenuItems *QVantelMenuWidget::findPage(int id, int data) const
{
    for (int i = 0; i < m_stack->count(); ++i) {
        auto *page = qobject_cast<QVantelMenuItems *>(m_stack->widget(i));
        if (page && page->id() == id && page->data() == data)
            return page;
    }
    return nullptr;
}

QVantelMenuItems *QVantelMenuWidget::currentPage() const
{
    return qobject_cast<QVantelMenuItems *>(m_stack->currentWidget());
}

bool QVantelMenuWidget::isPageInView(const QVantelMenuItems *page) const
{
    if (!page)
        return false;
    if (page == currentPage())
        return true;
    return m_stack->indexOf(page) < 0 && page->builtAt() == m_stack->changes();
}

void QVantelMenuWidget::takePanelGeometry()
{
    // A menu being entered builds its page before it is shown, and a popup it opens meanwhile
    // (the notice of a failed read) must stand where the menu will: over the panel that holds
    // it, which the menu fills, not at a size and place it never had.
    QWidget *panel = parentWidget();
    if (isVisible() || !panel)
        return;
    setGeometry(panel->contentsRect());
    if (QLayout *box = layout()) {
        box->invalidate();
        box->activate();
    }
}

void QVantelMenuWidget::placeCentred(QWidget *popup) const
{
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    popup->move(origin.x() + (width() - popup->width()) / 2,
                origin.y() + (height() - popup->height()) / 2);
}

void QVantelMenuWidget::placeOver(QWidget *popup, const QWidget *page) const
{
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    popup->move(page->mapToGlobal(QPoint(0, 0)).x() + (page->width() - popup->width()) / 2,
                origin.y() + (height() - popup->height()) / 2);
}

void QVantelMenuWidget::placeOverPage(QWidget *popup) const
{
    if (const QVantelMenuItems *page = currentPage())
        placeOver(popup, page);
    else
        placeCentred(popup);
}

void QVantelMenuWidget::paintNow()
{
    ksm::processEventsApart();
}

void QVantelMenuWidget::showTitlePath()
{
    m_header->titleLabel()->setText(m_titlePath.join(kPathSeparator));
}

void QVantelMenuWidget::hideRefresh()
{
    m_header->setRefreshVisible(false);
}

QVantelMenuItem *QVantelMenuWidget::liveItem(const QVantelPopup *popup) const
{
    if (!popup || !popup->item())
        return nullptr;
    // Rows may be deleted while a popup opened for them is still up; never touch one that is
    // gone.
    const QList<QVantelMenuItem *> rows = findChildren<QVantelMenuItem *>();
    for (QVantelMenuItem *row : rows) {
        if (row == popup->item())
            return row;
    }
    return nullptr;
}

QVantelVirtual *QVantelMenuWidget::showKeyboard(int mode, QVantelMenuItem *item, bool show)
{
    if (m_left)
        return nullptr;
    takePanelGeometry();
    auto *keyboard = new QVantelVirtual(mode, this);
    keyboard->setWindowModality(Qt::ApplicationModal);
    placeCentred(keyboard);
    if (item) {
        keyboard->setItem(item);
        keyboard->titleLabel()->setText(item->titleText());
        keyboard->lineEdit()->setText(item->valueText());
        if (show)
            prepareKeyboard(item, keyboard);
    }
    connect(keyboard, &QVantelPopup::popupClosed, this, [this, keyboard] {
        keyboardPopupClosed(keyboard);
    });
    if (show) {
        keyboard->show();
        paintNow();
    }
    return keyboard;
}

QVantelMenuSelect *
QVantelMenuWidget::showSelection(const QString &title, QVantelMenuItem *item, bool show)
{
    if (m_left)
        return nullptr;
    takePanelGeometry();
    auto *select = new QVantelMenuSelect(this);
    select->setWindowModality(Qt::ApplicationModal);
    placeOverPage(select);
    select->setTitle(title);
    select->setItem(item);
    if (item && show) {
        select->addItemValues(item);
        prepareSelection(item, select);
    }
    connect(
        select, &QVantelPopup::popupClosed, this, [this, select] { selectionPopupClosed(select); });
    if (show) {
        select->show();
        paintNow();
    }
    return select;
}

QVantelMessage *QVantelMenuWidget::confirmAction(const QString &text, QVantelMenuItem *item)
{
    if (m_left)
        return nullptr;
    takePanelGeometry();
    auto *question = new QVantelMessage(text, QVantelMessage::CancelAndOk, this);
    question->setWindowModality(Qt::ApplicationModal);
    placeOverPage(question);
    connect(question, &QVantelPopup::popupClosed, this, [this, question] {
        actionPopupClosed(question);
    });
    question->setItem(item);
    question->popup();
    paintNow();
    return question;
}

void QVantelMenuWidget::showMessage(const QString &text, int autoCloseMs)
{
    if (m_left)
        return;
    if (m_message) {
        m_message->setAutoCloseMs(autoCloseMs);
        m_message->setText(text);
        return;
    }
    takePanelGeometry();
    auto *message = new QVantelMessage(text, QVantelMessage::NoButtons, this);
    m_message = message;
    message->setWindowModality(Qt::ApplicationModal);
    placeOverPage(message);
    connect(message, &QVantelPopup::popupClosed, this, [this, message] {
        messagePopupClosed(message);
    });
    message->setAutoCloseMs(autoCloseMs);
    message->popup();
    paintNow();
}

void QVantelMenuWidget::closeMessage()
{
    QVantelMessage *message = m_message;
    if (!message)
        return;
    m_message = nullptr;
    if (QWidget::mouseGrabber() == message)
        message->releaseMouse();
    message->hide();
    message->close();
}

void QVantelMenuWidget::closePopups()
{
    closeMessage();
    const QList<QVantelPopup *> popups = findChildren<QVantelPopup *>();
    for (QVantelPopup *popup : popups)
        popup->close();
}

void QVantelMenuWidget::showEvent(QShowEvent *event)
{
    m_left = false;
    QWidget::showEvent(event);
}

void QVantelMenuWidget::hideEvent(QHideEvent *event)
{
    // Hidden with the program's window (minimised) the menu is still where the user left it.
    if (!event->spontaneous()) {
        m_left = true;
        closePopups();
    }
    QWidget::hideEvent(event);
}

void QVantelMenuWidget::backClicked()
{
    m_header->setModified(false);
    hideRefresh();
    if (m_stack->count() <= 1)
        return;
    m_pendingTitle.reset();
    QWidget *top = m_stack->widget(m_stack->count() - 1);
    m_stack->removeWidget(top);
    top->hide();
    top->deleteLater();
    if (m_titlePath.size() > 1) {
        m_titlePath.removeLast();
        showTitlePath();
        if (m_titlePath.size() == 1)
            m_header->setBackVisible(false);
    }
}

void QVantelMenuWidget::applyClicked()
{
    m_header->setModified(false);
}

void QVantelMenuWidget::refreshClicked() {}

void QVantelMenuWidget::openEntry(QVantelMenuEntry *entry)
{
    entryClicked(entry);
}

bool QVantelMenuWidget::entryClicked(QVantelMenuEntry *entry)
{
    if (!entry || entry->state() == QVantelMenuEntry::Disabled)
        return false;
    currentEntry = entry->id();
    m_pendingTitle.reset();
    m_entries->setCurrentEntry(entry);
    while (m_stack->count() > 0) {
        QWidget *top = m_stack->widget(m_stack->count() - 1);
        m_stack->removeWidget(top);
        top->hide();
        top->deleteLater();
    }
    m_titlePath.clear();
    m_titlePath.append(entry->titleLabel()->text());
    showTitlePath();
    m_header->setBackVisible(false);
    m_header->setModified(false);
    hideRefresh();
    return true;
}

void QVantelMenuWidget::itemClicked(QVantelMenuItem *item)
{
    if (!item || item->kind() != QVantelMenuItem::Navigation)
        return;
    // The title waits for the page's rows (pushPage()).
    m_pendingTitle = PendingTitle{item->titleText(), m_stack->changes()};
    m_header->setModified(false);
    hideRefresh();
}

void QVantelMenuWidget::dropPendingTitle()
{
    m_pendingTitle.reset();
}

void QVantelMenuWidget::prepareKeyboard(QVantelMenuItem *, QVantelVirtual *) {}

void QVantelMenuWidget::prepareSelection(QVantelMenuItem *, QVantelMenuSelect *) {}

void QVantelMenuWidget::itemCommitted(QVantelMenuItem *) {}

void QVantelMenuWidget::keyboardAccepted(QVantelMenuItem *, QVantelVirtual *) {}

void QVantelMenuWidget::selectionAccepted(QVantelMenuItem *, QVantelMenuSelect *) {}

bool QVantelMenuWidget::showEntry(int entryId, int target)
{
    QVantelMenuEntry *entry = m_entries->findEntry(entryId);
    if (!entry || entry->state() == QVantelMenuEntry::Disabled)
        return false;
    entryTarget = target;
    // The menu is entered: the window shows it once the entry's page is built, and the page is
    // read for it.
    m_left = false;
    const Step step(this);
    openEntry(entry);
    if (step.stillWanted() || isVisible())
        return true;
    // The operator went elsewhere while the page was read from outside the menu (another page,
    // the end of the session): the menu is not shown, and is left again.
    m_left = true;
    closePopups();
    return false;
}

void QVantelMenuWidget::messagePopupClosed(QVantelMessage *message)
{
    if (message == m_message.data())
        m_message = nullptr;
}

void QVantelMenuWidget::actionPopupClosed(QVantelMessage *question)
{
    if (question->isCancelled())
        return;
    if (QVantelMenuItem *item = liveItem(question))
        itemCommitted(item);
}

void QVantelMenuWidget::keyboardPopupClosed(QVantelVirtual *keyboard)
{
    if (keyboard->isCancelled())
        return;
    if (QVantelMenuItem *item = liveItem(keyboard))
        keyboardAccepted(item, keyboard);
}

void QVantelMenuWidget::selectionPopupClosed(QVantelMenuSelect *select)
{
    if (select->isCancelled())
        return;
    if (QVantelMenuItem *item = liveItem(select))
        selectionAccepted(item, select);
}
