#include "widgets/qvantelmenuselect.h"

#include "widgets/qvantelbutton.h"
#include "widgets/qvantellazycolumn.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuselectable.h"
#include "widgets/qvantelswitch.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

// Lists up to this long get all their rows at once; longer ones make their rows as they are seen.
constexpr int kRowsMadeAtOnce = 64;

// The rows of a long value list, made as they are seen.
class DeferredSelectables : public QVantelLazyColumn
{
public:
    DeferredSelectables(QVantelMenuSelect *owner, const QList<QVantelMenuItem::Value> &values)
        : QVantelLazyColumn(owner->list(), owner->list()->inner())
        , m_owner(owner)
        , m_values(values)
    {
        appendEntries(int(values.size()));
    }

    int indexOfValue(int value) const
    {
        for (int i = 0; i < m_values.size(); ++i) {
            if (m_values.at(i).value == value)
                return i;
        }
        return -1;
    }

protected:
    QWidget *makeRow(int index) override
    {
        auto *row = new QVantelMenuSelectable(m_values.at(index).value, this);
        row->label()->setText(m_values.at(index).text);
        row->setOwner(m_owner);
        return row;
    }

private:
    QVantelMenuSelect *m_owner;
    QList<QVantelMenuItem::Value> m_values;
};

DeferredSelectables *deferredSelectables(QLayoutItem *item)
{
    return item ? dynamic_cast<DeferredSelectables *>(item->widget()) : nullptr;
}

} // namespace

QVantelMenuSelect::QMyVantelSlideWidget::QMyVantelSlideWidget(QWidget *parent)
    : QVantelSlideWidget(parent)
{}

QVantelMenuSelect::QMyVantelSlideWidget::~QMyVantelSlideWidget() = default;

void QVantelMenuSelect::QMyVantelSlideWidget::childClicked(QWidget *child)
{
    if (!child)
        return;
    auto *row = qobject_cast<QVantelMenuSelectable *>(child->parentWidget());
    if (row && row->owner())
        row->owner()->setCurrentSelectable(row);
}

QVantelMenuSelect::QVantelMenuSelect(QWidget *parent)
    : QVantelPopup(parent)
{
    setPanelLook(QSize(400, 340));
    QFont f = font();
    f.setPixelSize(18);
    setFont(f);

    m_list = new QMyVantelSlideWidget(this);
    m_list->setObjectName(QStringLiteral("selectList"));

    m_title = new QLabel(this);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setWordWrap(true);
    m_title->setMargin(5);
    m_title->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_title->setFrameShape(QFrame::Panel);
    m_title->hide();

    m_cancel = makePanelButton(tr("Cancel"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_ok = makePanelButton(tr("OK"));
    m_ok->setObjectName(QStringLiteral("okButton"));
    connect(m_cancel, &QAbstractButton::clicked, this, &QVantelMenuSelect::cancelClicked);
    connect(m_ok, &QAbstractButton::clicked, this, &QVantelMenuSelect::okClicked);

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(10, 10, 10, 10);
    box->setSpacing(0);
    box->addWidget(m_title);
    box->addWidget(m_list, 1);
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(10, 10, 10, 0);
    buttons->setSpacing(20);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_ok);
    box->addLayout(buttons);
}

QVantelMenuSelect::~QVantelMenuSelect() = default;

void QVantelMenuSelect::setTitle(const QString &text)
{
    m_title->setText(text);
    m_title->setVisible(!text.isEmpty());
}

void QVantelMenuSelect::addSelectable(QVantelMenuSelectable *row)
{
    if (!row || row->owner())
        return;
    m_list->column()->addWidget(row, 0);
    row->setOwner(this);
}

void QVantelMenuSelect::addItemValues(const QVantelMenuItem *item)
{
    if (!item)
        return;
    const QList<QVantelMenuItem::Value> &values = item->values();
    if (values.size() > kRowsMadeAtOnce) {
        auto *deferred = new DeferredSelectables(this, values);
        m_list->column()->addWidget(deferred, 0);
        if (item->currentIndex() >= 0 && item->currentIndex() < values.size())
            setCurrentSelectable(
                static_cast<QVantelMenuSelectable *>(deferred->row(item->currentIndex())));
        return;
    }
    for (int i = 0; i < values.size(); ++i) {
        auto *row = new QVantelMenuSelectable(values.at(i).value);
        row->label()->setText(values.at(i).text);
        addSelectable(row);
        // The current entry itself, not the first entry that shares its value: opening the list
        // and pressing OK must not change the choice.
        if (i == item->currentIndex())
            setCurrentSelectable(row);
    }
}

void QVantelMenuSelect::setCurrentSelectable(QVantelMenuSelectable *row)
{
    if (row == m_current)
        return;
    if (m_current) {
        m_current->switchButton()->setChecked(false);
        m_current->switchButton()->setEnabled(true);
    }
    if (row && row->owner() == this) {
        // A row made as it was seen stays once marked: the owner reads it when the popup closes.
        QVantelLazyColumn::keepRow(row);
        m_current = row;
        row->switchButton()->setChecked(true);
        row->switchButton()->setEnabled(false);
    }
}

QVantelMenuSelectable *QVantelMenuSelect::findSelectable(int id) const
{
    QVBoxLayout *column = m_list->column();
    for (int i = 0; i < column->count(); ++i) {
        if (DeferredSelectables *deferred = deferredSelectables(column->itemAt(i))) {
            const int index = deferred->indexOfValue(id);
            if (index >= 0)
                return static_cast<QVantelMenuSelectable *>(deferred->row(index));
            continue;
        }
        auto *row = qobject_cast<QVantelMenuSelectable *>(column->itemAt(i)->widget());
        if (row && row->id() == id)
            return row;
    }
    return nullptr;
}

void QVantelMenuSelect::okClicked()
{
    if (m_current)
        clearCancelled();
    hide();
    close();
}

void QVantelMenuSelect::cancelClicked()
{
    hide();
    close();
}

void QVantelMenuSelect::showEvent(QShowEvent *event)
{
    QVantelPopup::showEvent(event);
    if (m_current && !event->spontaneous())
        m_list->ensureWidgetVisible(m_current, 50, 50);
}

QVantelMenuSelectable *QVantelMenuSelect::currentSelectable() const
{
    return m_current;
}
