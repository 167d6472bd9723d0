#include "widgets/qvantelmessage.h"

#include "widgets/qvantelbutton.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kWidth = 400;
constexpr int kMinimumHeight = 180;
// The front panel is 480 pixels high: a box never outgrows it.
constexpr int kMaximumHeight = 460;
constexpr int kMargin = 10;
constexpr int kTextPixelSize = 22;
constexpr int kSmallestTextPixelSize = 12;
constexpr int kButtonRowHeight = 60 + 2 * 10;

QVantelMessage::Clock s_clock = nullptr;

} // namespace

void QVantelMessage::setClock(Clock clock)
{
    s_clock = clock;
}

qint64 QVantelMessage::clock()
{
    if (s_clock)
        return s_clock();
    static QElapsedTimer monotonic;
    if (!monotonic.isValid())
        monotonic.start();
    return monotonic.elapsed();
}

QVantelMessage::QVantelMessage(const QString &text, int kind, QWidget *parent)
    : QVantelPopup(parent)
    , m_kind(kind)
    , m_text(text)
{
    setPanelLook(QSize(kWidth, kMinimumHeight));

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    box->setSpacing(0);

    m_label = new QLabel(text, this);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    QFont labelFont = m_label->font();
    labelFont.setPixelSize(kTextPixelSize);
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

    fitToText();
}

void QVantelMessage::fitToText()
{
    // What surrounds the text: the frame, the margins and the button row.
    const int frame = 2 * frameWidth();
    const int labelWidth = kWidth - frame - 2 * kMargin;
    const int chrome = frame + 2 * kMargin + (m_kind != NoButtons ? kButtonRowHeight : 0);

    // Short texts keep the usual box; a longer one makes it taller, and a text too long for the
    // tallest box is set smaller until it fits. Nothing is ever cut off.
    QFont font = m_label->font();
    int pixelSize = kTextPixelSize;
    int height = kMinimumHeight;
    for (;;) {
        font.setPixelSize(pixelSize);
        m_label->setFont(font);
        height = std::max(kMinimumHeight, chrome + m_label->heightForWidth(labelWidth));
        if (height <= kMaximumHeight || pixelSize <= kSmallestTextPixelSize)
            break;
        --pixelSize;
    }
    height = std::min(height, kMaximumHeight);
    if (height == this->height())
        return;
    // Grows about its centre, so that a box already placed stays centred.
    const QPoint centre = geometry().center();
    setFixedSize(kWidth, height);
    if (isVisible())
        move(centre - rect().center());
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
    fitToText();
    m_shownAt = clock();
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
    if (!event->spontaneous())
        m_shownAt = clock();
    if (!event->spontaneous() && m_autoCloseMs >= 1) {
        m_timer->start(m_autoCloseMs);
        m_autoCloseMs = 0;
    }
}

void QVantelMessage::mousePressEvent(QMouseEvent *event)
{
    // Clicks made while the program waited for the unit reach the message in a burst as soon as
    // the wait ends, right after the message they would close appeared.
    m_pressCounts = m_shownAt && clock() - *m_shownAt >= kClickGuardMs;
    if (!m_pressCounts) {
        event->accept();
        return;
    }
    // A press outside the box closes it as popups close.
    QVantelPopup::mousePressEvent(event);
}

void QVantelMessage::mouseReleaseEvent(QMouseEvent *event)
{
    // Releases on the buttons never get here; anything else on the message closes it, when its
    // press counted.
    event->accept();
    if (!m_pressCounts)
        return;
    m_pressCounts = false;
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
