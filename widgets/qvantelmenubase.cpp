#include "widgets/qvantelmenubase.h"

#include <QGridLayout>

QVantelMenuBase::QVantelMenuBase(int id, QWidget *parent)
    : QWidget(parent)
    , m_id(id)
{
    m_grid = new QGridLayout(this);
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setSpacing(0);
}

QVantelMenuBase::~QVantelMenuBase() = default;
