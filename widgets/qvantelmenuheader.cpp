#include "widgets/qvantelmenuheader.h"

#include "widgets/qvantelimage.h"
#include "widgets/qvantelmenupalette.h"
#include "widgets/qvantelmenuwidget.h"
#include "widgets/qvantelwraplabel.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPixmap>

QVantelMenuHeader::QMyLabel::QMyLabel(QVantelMenuHeader *header, QWidget *parent)
    : QLabel(parent)
    , m_header(header)
{}

QVantelMenuHeader::QMyLabel::~QMyLabel() = default;

void QVantelMenuHeader::QMyLabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (m_header)
        m_header->iconClicked(this);
}

namespace {

QVantelMenuHeader::QMyLabel *
makeIcon(QVantelMenuHeader *header, int margin, int size, const QString &image, const char *name)
{
    auto *icon = new QVantelMenuHeader::QMyLabel(header, header);
    icon->setObjectName(QLatin1String(name));
    icon->setMargin(margin);
    icon->setFixedSize(size, size);
    icon->setScaledContents(true);
    icon->setPixmap(qvantelPixmap(image));
    return icon;
}

} // namespace

QVantelMenuHeader::QVantelMenuHeader(QVantelMenuWidget *parent)
    : QWidget(parent)
    , m_menu(parent)
{
    m_box = new QHBoxLayout(this);
    m_box->setContentsMargins(0, 0, 0, 0);
    m_box->setSpacing(0);

    m_back = makeIcon(this, 4, 50, QStringLiteral(":/images/navleft.png"), "backIcon");

    // A title path too long for the header (a stored item's name without blanks) ends in an
    // ellipsis.
    m_title = new QVantelWrapLabel(this);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setObjectName(QStringLiteral("headerTitle"));
    m_title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_title->setWordWrap(true);
    QFont titleFont = m_title->font();
    titleFont.setPixelSize(20);
    m_title->setFont(titleFont);
    QVantelMenuPalette::setTextColor(m_title, QVantelMenuPalette::kAccentBlue);

    m_apply = makeIcon(this, 0, 54, QStringLiteral(":/images/check.png"), "applyIcon");
    // The title keeps the apply icon's room while the icon is hidden, so that the modified mark
    // never rewraps a long title path onto two lines.
    QSizePolicy keepRoom = m_apply->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_apply->setSizePolicy(keepRoom);
    m_apply->hide();
    m_refresh = makeIcon(this, 0, 54, QStringLiteral(":/images/refresh.png"), "refreshIcon");
    m_refresh->hide();

    m_box->addWidget(m_back);
    m_box->addWidget(m_title, 1);
    m_box->addWidget(m_apply);
    m_box->addWidget(m_refresh);
}

QVantelMenuHeader::~QVantelMenuHeader() = default;

void QVantelMenuHeader::setModified(bool on)
{
    if (on == m_modified)
        return;
    m_modified = on;
    QVantelMenuPalette::setTextColor(m_title,
                                     on ? QColor(Qt::red) : QVantelMenuPalette::kAccentBlue);
    m_apply->setVisible(on);
}

void QVantelMenuHeader::setRefreshVisible(bool on)
{
    if (on == m_refreshVisible)
        return;
    m_refreshVisible = on;
    m_refresh->setVisible(on);
}

void QVantelMenuHeader::setBackVisible(bool on)
{
    m_back->setVisible(on);
    m_box->setContentsMargins(on ? 0 : 10, 0, 0, 0);
}

void QVantelMenuHeader::iconClicked(QMyLabel *icon)
{
    if (!m_menu)
        return;
    if (icon == m_back)
        m_menu->backClicked();
    else if (icon == m_apply)
        m_menu->applyClicked();
    else if (icon == m_refresh)
        m_menu->refreshClicked();
}
