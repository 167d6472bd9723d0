#include "widgets/qvantelmessage.h"

#include "widgets/qvantelbutton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

QVantelMessage::QVantelMessage(const QString &text, int kind, QWidget *parent)
    : QVantelPopup(parent)
    , m_kind(kind)
    , m_text(text)
{
    setPanelLook(QSize(400, 180));

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(10, 10, 10, 10);
    box->setSpacing(0);

    m_label = new QLabel(text, this);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    QFont labelFont = m_label->font();
    labelFont.setPixelSize(22);
    m_label->setFont(labelFont);
    box->addWidget(m_label, kind != NoButtons ? 1 : 0);

    if (kind != NoButtons) {
        auto *row = new QHBoxLayout;
        row->setContentsMargins(10, 10, 10, 10);
        row->setSpacing(20);
        if (kind & CancelButton) {
            m_button1 = makeMessageButton(tr("Cancel"));
            m_button1->setObjectName(QStringLiteral("cancelButton"));
            connect(m_button1, &QAbstractButton::clicked, this, &QVantelMessage::button1Clicked);
            row->addWidget(m_button1);
        }
        if (kind & OkButton) {
            m_button2 = makeMessageButton(tr("OK"));
            m_button2->setObjectName(QStringLiteral("okButton"));
            connect(m_button2, &QAbstractButton::clicked, this, &QVantelMessage::button2Clicked);
            row->addWidget(m_button2);
        }
        box->addLayout(row);
    }

    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &QVantelMessage::timeout);
}

QVantelButton *QVantelMessage::makeMessageButton(const QString &text)
{
    QVantelButton *button = makePanelButton(text);
    button->setMaximumWidth(180);
    QFont font = button->font();
    font.setPixelSize(18);
    button->setFont(font);
    return button;
}

QVantelMessage::~QVantelMessage()
{
    m_timer->stop();
}

void QVantelMessage::popup()
{
    show();
    if (m_kind == NoButtons && QWidget::mouseGrabber() != this)
        grabMouse();
}

void QVantelMessage::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_label->setText(text);
    if (m_autoCloseMs >= 1) {
        m_timer->start(m_autoCloseMs);
        m_autoCloseMs = 0;
    } else {
        m_timer->stop();
    }
}

void QVantelMessage::button1Clicked()
{
    closeMessage();
}

void QVantelMessage::button2Clicked()
{
    clearCancelled();
    closeMessage();
}

void QVantelMessage::timeout()
{
    button1Clicked();
}

void QVantelMessage::showEvent(QShowEvent *event)
{
    QVantelPopup::showEvent(event);
    if (!event->spontaneous() && m_autoCloseMs >= 1) {
        m_timer->start(m_autoCloseMs);
        m_autoCloseMs = 0;
    }
}

void QVantelMessage::mouseReleaseEvent(QMouseEvent *event)
{
    // Releases on the buttons never get here; anything else on the message closes it.
    event->accept();
    closeMessage();
}

void QVantelMessage::closeMessage()
{
    m_timer->stop();
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
    hide();
    close();
}
