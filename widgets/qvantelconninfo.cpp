#include "widgets/qvantelconninfo.h"

#include "widgets/qvantelbutton.h"
#include "widgets/qvantelimage.h"
#include "widgets/qvantellinkstatecolour.h"

#include "resources/tallydeskresources.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

constexpr int kIconSize = 50;
constexpr int kIconOffset = 5;

QLabel *makeLabel(QWidget *parent, int pixels, Qt::Alignment alignment, bool bold)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPixelSize(pixels);
    if (bold)
        font.setWeight(QFont::Bold);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setWordWrap(true);
    return label;
}

} // namespace

QVantelConnInfo::QVantelConnInfo(QWidget *parent)
    : QWidget(parent)
{
    initTallydeskResources();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(0);

    m_titleLabel = makeLabel(this, 22, Qt::AlignHCenter | Qt::AlignTop, true);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_titleLabel->setText(tr("Program"));
    m_stateLabel = makeLabel(this, 14, Qt::AlignCenter, false);
    m_stateLabel->setObjectName(QStringLiteral("stateLabel"));
    m_addressLabel = makeLabel(this, 14, Qt::AlignCenter, false);
    m_addressLabel->setObjectName(QStringLiteral("addressLabel"));
    layout->addWidget(m_titleLabel);
    layout->addWidget(m_stateLabel);
    layout->addWidget(m_addressLabel);

    // Outside the layout and raised, so the icon sits on top of the labels.
    m_iconLabel = new QLabel(this);
    m_iconLabel->setObjectName(QStringLiteral("iconLabel"));
    m_iconLabel->setGeometry(kIconOffset, kIconOffset, kIconSize, kIconSize);
    m_iconLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_iconLabel->raise();

    applyState();
}

QVantelConnInfo::~QVantelConnInfo() = default;

void QVantelConnInfo::setBorderWidth(int width)
{
    if (width < 1 || width == m_borderWidth)
        return;
    m_borderWidth = width;
    update();
}

void QVantelConnInfo::setRadius(qreal radius)
{
    if (radius < 0 || radius == m_radius)
        return;
    m_radius = radius;
    update();
}

void QVantelConnInfo::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    applyState();
    update();
}

void QVantelConnInfo::applyState()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QVantel::linkStateColour(m_state));
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Text, Qt::black);
    setPalette(palette);

    QString icon;
    if (m_state == 2)
        icon = QStringLiteral(":/images/phone-call.png");
    else if (m_state >= 3 && m_state <= 5)
        icon = QStringLiteral(":/images/phone-hangup.png");
    if (icon.isEmpty()) {
        m_iconLabel->clear();
        m_iconLabel->hide();
        return;
    }
    const QPixmap image = qvantelPixmap(icon);
    m_iconLabel->setPixmap(
        image.scaled(kIconSize, kIconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    m_iconLabel->show();
}

void QVantelConnInfo::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QVantelButton::paintFrame(painter, rect(), m_borderWidth, m_radius, palette());
}

void QVantelConnInfo::mousePressEvent(QMouseEvent *event)
{
    // Taking the press makes the tile receive the matching release.
    event->accept();
}

void QVantelConnInfo::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    // A press dragged off the tile and released elsewhere is no touch of the tile.
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}
