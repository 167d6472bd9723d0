#include "widgets/qvantelpopup.h"

#include "widgets/qvantelbutton.h"
#include "widgets/qvantelevent.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

QVantelPopup::QVantelPopup(QWidget *parent)
    : QFrame(parent, Qt::Popup)
{
    setAttribute(Qt::WA_WindowPropagation);
    // Qt schedules the deletion with deleteLater() after the close handler has returned.
    setAttribute(Qt::WA_DeleteOnClose);
}

QVantelPopup::~QVantelPopup() = default;

void QVantelPopup::setPanelLook(const QSize &size)
{
    setFixedSize(size);
    setFrameStyle(QFrame::Panel | QFrame::Plain);
    setLineWidth(4);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(50, 50, 50));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
}

QVantelButton *QVantelPopup::makePanelButton(const QString &text)
{
    auto *button = new QVantelButton(this);
    button->setText(text);
    button->setFixedHeight(60);
    QPalette pal = button->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    button->setPalette(pal);
    return button;
}

QVantelPopup::CancelOk QVantelPopup::layOutAboveCancelOk(QWidget *content, Qt::Alignment alignment)
{
    const CancelOk buttons{makePanelButton(tr("Cancel")), makePanelButton(tr("OK"))};
    QFont font = QApplication::font();
    font.setPixelSize(18);
    buttons.cancel->setFont(font);
    buttons.ok->setFont(font);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(0);
    column->addWidget(content, 1, alignment);
    auto *row = new QHBoxLayout;
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(20);
    row->addWidget(buttons.cancel);
    row->addWidget(buttons.ok);
    column->addLayout(row);
    return buttons;
}

void QVantelPopup::closeEvent(QCloseEvent *event)
{
    // A second close() before the deferred deletion must not report the closing again.
    if (!m_closeSignalled) {
        m_closeSignalled = true;
        emit popupClosed();
    }
    QFrame::closeEvent(event);
}

void QVantelPopup::keyPressEvent(QKeyEvent *event)
{
    forwardKey(event->key(), QVantelEvent::KeyPress, false);
}

void QVantelPopup::keyReleaseEvent(QKeyEvent *event)
{
    forwardKey(event->key(), QVantelEvent::KeyRelease, false);
}
