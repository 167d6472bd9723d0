#include "widgets/qvantelmenuselectable.h"

#include "widgets/qvantelchoicelabel.h"
#include "widgets/qvantelmenupalette.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelswitch.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>

QVantelMenuSelectable::QVantelMenuSelectable(int id, QWidget *parent)
    : QWidget(parent)
    , m_id(id)
{
    m_grid = new QGridLayout(this);
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setHorizontalSpacing(15);
    m_grid->setColumnStretch(0, 0);
    m_grid->setColumnStretch(1, 1);

    m_label = new QVantelChoiceLabel(this);
    m_label->setMinimumHeight(44);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QVantelMenuPalette::setTextColor(m_label, Qt::white);

    m_switch = new QVantelSwitch(this);
    m_switch->setFixedSize(60, 34);
    m_switch->setCheckable(true);
    // The popup disables the marked row's switch only so that it stays marked.
    m_switch->setDimmedWhenDisabled(false);
    connect(m_switch, &QAbstractButton::clicked, this, &QVantelMenuSelectable::switchClicked);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);

    m_grid->addWidget(m_switch, 0, 0);
    m_grid->addWidget(m_label, 0, 1);
    m_grid->addWidget(line, 1, 0, 1, 2);
}

QVantelMenuSelectable::~QVantelMenuSelectable() = default;

void QVantelMenuSelectable::switchClicked()
{
    if (m_owner)
        m_owner->setCurrentSelectable(this);
}

QVantelMenuSelect *QVantelMenuSelectable::owner() const
{
    return m_owner;
}

void QVantelMenuSelectable::setOwner(QVantelMenuSelect *owner)
{
    m_owner = owner;
}
