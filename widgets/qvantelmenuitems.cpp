#include "widgets/qvantelmenuitems.h"

#include "widgets/qvantellazycolumn.h"
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

// A run of rows added with addDeferredItem(), made as they are seen.
class DeferredItems : public QVantelLazyColumn
{
public:
    DeferredItems(QVantelMenuItems *page, QWidget *parent)
        : QVantelLazyColumn(page, parent)
        , m_page(page)
    {}

    void append(const QVantelMenuItem::Spec &spec)
    {
        m_specs.append(spec);
        appendEntries(1);
    }

    void remove(int index)
    {
        if (index < 0 || index >= m_specs.size())
            return;
        m_specs.removeAt(index);
        takeEntry(index);
    }

    const QVantelMenuItem::Spec &spec(int index) const { return m_specs.at(index); }

    QVantelMenuItem *item(int index) { return static_cast<QVantelMenuItem *>(row(index)); }

protected:
    QWidget *makeRow(int index) override
    {
        return new QVantelMenuItem(m_specs.at(index), m_page, this);
    }

    // Rows of one kind, margins and number of value lines are as high as each other.
    int heightKey(int index) const override
    {
        const QVantelMenuItem::Spec &spec = m_specs.at(index);
        const int lines = int(spec.value.count(QLatin1Char('\n')));
        return spec.kind + 16 * (spec.margins.top() + 1000 * lines);
    }

private:
    QVantelMenuItems *m_page;
    QList<QVantelMenuItem::Spec> m_specs;
};

DeferredItems *deferredItems(QLayoutItem *item)
{
    return item ? dynamic_cast<DeferredItems *>(item->widget()) : nullptr;
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

void QVantelMenuItems::addDeferredItem(const QVantelMenuItem::Spec &spec)
{
    DeferredItems *block
        = column()->count() > 0 ? deferredItems(column()->itemAt(column()->count() - 1)) : nullptr;
    if (!block) {
        block = new DeferredItems(this, inner());
        column()->addWidget(block);
    }
    block->append(spec);
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
        if (DeferredItems *deferred = deferredItems(column()->itemAt(i));
            deferred && deferred->indexOf(item) >= 0) {
            deferred->remove(deferred->indexOf(item));
            return;
        }
    }
}

QList<QVantelMenuItem *> QVantelMenuItems::items() const
{
    QList<QVantelMenuItem *> result;
    for (int i = 0; i < column()->count(); ++i) {
        if (DeferredItems *deferred = deferredItems(column()->itemAt(i))) {
            for (int j = 0; j < deferred->count(); ++j)
                result.append(deferred->item(j));
            continue;
        }
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
    return findItem([id](int rowId, int) { return rowId == id; });
}

QVantelMenuItem *QVantelMenuItems::findItem(int id, int data) const
{
    return findItem([id, data](int rowId, int rowData) { return rowId == id && rowData == data; });
}

QVantelMenuItem *QVantelMenuItems::findItem(const std::function<bool(int, int)> &match) const
{
    // Rows not made yet are looked up in what they will show; only the row found is made.
    for (int i = 0; i < column()->count(); ++i) {
        if (DeferredItems *deferred = deferredItems(column()->itemAt(i))) {
            for (int j = 0; j < deferred->count(); ++j) {
                if (match(deferred->spec(j).id, deferred->spec(j).data))
                    return deferred->item(j);
            }
            continue;
        }
        QVBoxLayout *block = blockLayout(column()->itemAt(i));
        for (int j = 0; block && j < block->count(); ++j) {
            auto *item = qobject_cast<QVantelMenuItem *>(block->itemAt(j)->widget());
            if (item && match(item->id(), item->data()))
                return item;
        }
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
    // The hooks and popups may hold on to the row.
    QVantelLazyColumn::keepRow(item);

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
