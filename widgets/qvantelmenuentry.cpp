#include "widgets/qvantelmenuentry.h"

#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenupalette.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>

QVantelMenuEntry::QVantelMenuEntry(int id, QWidget *parent)
    : QVantelMenuBase(id, parent)
    , m_owner(qobject_cast<QVantelMenuEntries *>(parent))
{
    m_title = new QLabel(this);
    m_title->setTextFormat(Qt::PlainText);
    QFont titleFont = m_title->font();
    titleFont.setPixelSize(22);
    m_title->setFont(titleFont);
    QVantelMenuPalette::setTextColor(m_title, Qt::white);
    m_title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_icon = new QLabel(this);
    m_icon->setMargin(5);
    m_icon->setFixedSize(60, 60);
    m_icon->setScaledContents(true);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);

    grid()->setColumnStretch(0, 0);
    grid()->setColumnStretch(1, 1);
    grid()->addWidget(m_icon, 0, 0);
    grid()->addWidget(m_title, 0, 1);
    grid()->addWidget(line, 1, 0, 1, 2);
}

QVantelMenuEntry::~QVantelMenuEntry() = default;

void QVantelMenuEntry::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    QColor color = Qt::white;
    if (state == Selected)
        color = QVantelMenuPalette::kAccentBlue;
    else if (state == Disabled)
        color = QVantelMenuPalette::kGrey;
    QVantelMenuPalette::setTextColor(m_title, color);
}

QVantelMenuEntries *QVantelMenuEntry::owner() const
{
    return m_owner;
}

void QVantelMenuEntry::setOwner(QVantelMenuEntries *owner)
{
    m_owner = owner;
}
