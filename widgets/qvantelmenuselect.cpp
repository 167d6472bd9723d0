#include "widgets/qvantelmenuselect.h"

#include "widgets/qvantelbutton.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuselectable.h"
#include "widgets/qvantelswitch.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

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
        m_current = row;
        row->switchButton()->setChecked(true);
        row->switchButton()->setEnabled(false);
    }
}

QVantelMenuSelectable *QVantelMenuSelect::findSelectable(int id) const
{
    QVBoxLayout *column = m_list->column();
    for (int i = 0; i < column->count(); ++i) {
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
