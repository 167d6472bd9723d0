#include "widgets/qvantelmenuitems.h"

#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuselectable.h"
#include "widgets/qvantelmenuwidget.h"
#include "widgets/qvantelpagestack.h"
#include "widgets/qvantelvirtual.h"

#include <QLabel>
#include <QVBoxLayout>

QVantelMenuItems::QVantelMenuItems(int id, QVantelMenuWidget *parent)
    : QVantelMenuItems(id, -1, parent)
{}

QVantelMenuItems::QVantelMenuItems(int id, int data, QVantelMenuWidget *parent)
    : QVantelSlideWidget(parent)
    , m_id(id)
    , m_data(data)
    , m_menu(parent)
    , m_builtAt(parent ? parent->pageStack()->changes() : -1)
{}

QVantelMenuItems::~QVantelMenuItems() = default;

QVantelMenuWidget *QVantelMenuItems::menuWidget() const
{
    return m_menu;
}

namespace {

// Rows per block of the column (see addItem).
constexpr int kRowsPerBlock = 32;

QVBoxLayout *blockLayout(QLayoutItem *item)
{
    QWidget *block = item ? item->widget() : nullptr;
    return block ? qobject_cast<QVBoxLayout *>(block->layout()) : nullptr;
}

} // namespace

void QVantelMenuItems::addItem(QVantelMenuItem *item)
{
    if (!item || item->page() != this)
        return;
    // The rows sit in blocks down the column rather than side by side in it: Qt weighs each
    // row it repaints against its siblings, and a long list's rows would each be weighed
    // against all the others.
    QVBoxLayout *block
        = column()->count() > 0 ? blockLayout(column()->itemAt(column()->count() - 1)) : nullptr;
    if (!block || block->count() >= kRowsPerBlock) {
        auto *widget = new QWidget;
        block = new QVBoxLayout(widget);
        block->setContentsMargins(0, 0, 0, 0);
        block->setSpacing(0);
        column()->addWidget(widget);
    }
    block->addWidget(item);
}

void QVantelMenuItems::removeItem(QVantelMenuItem *item)
{
    if (!item || item->page() != this)
        return;
    for (int i = 0; i < column()->count(); ++i) {
        if (QVBoxLayout *block = blockLayout(column()->itemAt(i));
            block && block->indexOf(item) >= 0) {
            block->removeWidget(item);
            return;
        }
    }
}

QList<QVantelMenuItem *> QVantelMenuItems::items() const
{
    QList<QVantelMenuItem *> result;
    for (int i = 0; i < column()->count(); ++i) {
        QVBoxLayout *block = blockLayout(column()->itemAt(i));
        for (int j = 0; block && j < block->count(); ++j) {
            if (auto *item = qobject_cast<QVantelMenuItem *>(block->itemAt(j)->widget()))
                result.append(item);
        }
    }
    return result;
}

QVantelMenuItem *QVantelMenuItems::findItem(int id) const
{
    const QList<QVantelMenuItem *> all = items();
    for (QVantelMenuItem *item : all) {
        if (item->id() == id)
            return item;
    }
    return nullptr;
}

QVantelMenuItem *QVantelMenuItems::findItem(int id, int data) const
{
    const QList<QVantelMenuItem *> all = items();
    for (QVantelMenuItem *item : all) {
        if (item->id() == id && item->data() == data)
            return item;
    }
    return nullptr;
}

void QVantelMenuItems::commitItem(QVantelMenuItem *item)
{
    if (m_menu)
        m_menu->itemCommitted(item);
}

void QVantelMenuItems::childClicked(QWidget *child)
{
    if (!m_menu || !child)
        return;
    auto *item = qobject_cast<QVantelMenuItem *>(child->parentWidget());
    if (!item || item->isReadOnly())
        return;

    const int kind = item->kind();
    if (kind >= QVantelMenuItem::TextEntry && kind <= QVantelMenuItem::NumericMaskedEntry) {
        const int mode = kind <= QVantelMenuItem::MaskedEntry ? 1 : 0;
        auto *keyboard = new QVantelVirtual(mode, this);
        keyboard->setWindowModality(Qt::ApplicationModal);
        m_menu->placeCentred(keyboard);
        if (kind == QVantelMenuItem::MaskedEntry || kind == QVantelMenuItem::NumericMaskedEntry)
            keyboard->lineEdit()->setEchoMode(QLineEdit::Password);
        keyboard->setItem(item);
        keyboard->titleLabel()->setText(item->titleText());
        keyboard->lineEdit()->setText(item->valueText());
        m_menu->prepareKeyboard(item, keyboard);
        connect(keyboard, &QVantelPopup::popupClosed, this, [this, keyboard] {
            editionClosed(keyboard);
        });
        keyboard->show();
        return;
    }

    if (kind == QVantelMenuItem::Choice) {
        if (item->values().isEmpty())
            return;
        auto *select = new QVantelMenuSelect(this);
        select->setWindowModality(Qt::ApplicationModal);
        m_menu->placeOver(select, this);
        select->setItem(item);
        select->addItemValues(item);
        m_menu->prepareSelection(item, select);
        connect(
            select, &QVantelPopup::popupClosed, this, [this, select] { selectionClosed(select); });
        select->show();
        return;
    }

    m_menu->itemClicked(item);
}

QVantelMenuItem *QVantelMenuItems::liveItem(void *item) const
{
    // The row may have been deleted while its popup was open; only a row that still lives on
    // this page is written to.
    const QList<QVantelMenuItem *> rows = findChildren<QVantelMenuItem *>();
    for (QVantelMenuItem *row : rows) {
        if (row == item)
            return row;
    }
    return nullptr;
}

void QVantelMenuItems::editionClosed(QVantelVirtual *keyboard)
{
    if (keyboard->isCancelled() || !keyboard->item())
        return;
    QVantelMenuItem *item = liveItem(keyboard->item());
    if (!item)
        return;
    const QString text = keyboard->lineEdit()->text();
    if (text == item->valueText())
        return;
    item->setValueText(text, false);
    if (m_menu)
        m_menu->itemCommitted(item);
}

void QVantelMenuItems::selectionClosed(QVantelMenuSelect *select)
{
    if (select->isCancelled() || !select->item() || !select->currentSelectable())
        return;
    QVantelMenuItem *item = liveItem(select->item());
    if (!item)
        return;
    // A confirmed choice is committed even when it is the entry already shown: the row may show
    // an entry in place of a value the unit holds but the list does not name, and only the
    // owner knows whether the unit already has the chosen value.
    item->selectText(select->currentSelectable()->label()->text(), true, false);
    if (m_menu)
        m_menu->itemCommitted(item);
}
