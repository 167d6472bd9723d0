#include "pages/qvantelheadphoneselect.h"

#include "widgets/qvantelaudio.h"
#include "widgets/qvantelbutton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

QVantelHeadphoneSelect::QVantelHeadphoneSelect(QWidget *parent)
    : QVantelPopup(parent)
{
    setPanelLook(QSize(300, 180));

    m_display = new QVantelAudio(this);
    m_display->setObjectName(QStringLiteral("selectDisplay"));
    m_display->setAlignment(Qt::AlignCenter);
    m_display->setTextFormat(Qt::PlainText);
    QFont displayFont = QApplication::font();
    displayFont.setPixelSize(22);
    m_display->setFont(displayFont);
    QPalette pal = m_display->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 141, 233));
    m_display->setPalette(pal);
    m_display->setText(tr("Use encoder"));
    m_display->setValue(-1);
    m_display->setPanning(QVantel::PanBoth);

    const CancelOk buttons = layOutAboveCancelOk(m_display);
    m_cancelButton = buttons.cancel;
    m_okButton = buttons.ok;

    connect(m_okButton, &QAbstractButton::clicked, this, &QVantelHeadphoneSelect::okClicked);
    connect(
        m_cancelButton, &QAbstractButton::clicked, this, &QVantelHeadphoneSelect::cancelClicked);
}

QVantelHeadphoneSelect::~QVantelHeadphoneSelect() = default;

void QVantelHeadphoneSelect::addItem(int value, const QString &text)
{
    m_items.append(Choice{value, text});
}

void QVantelHeadphoneSelect::removeItem(int value)
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).value == value) {
            m_items.removeAt(i);
            return;
        }
    }
}

void QVantelHeadphoneSelect::setCurrent(int value)
{
    m_display->setText(tr("Use encoder"));
    m_display->setPanning(QVantel::PanBoth);
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).value == value) {
            showChoice(int(i));
            return;
        }
    }
    m_display->setValue(-1);
    m_currentIndex = -1;
}

void QVantelHeadphoneSelect::showChoice(int index)
{
    m_currentIndex = index;
    m_display->setText(m_items.at(index).text);
    m_display->setValue(m_items.at(index).value);
}

void QVantelHeadphoneSelect::step(int direction)
{
    if (m_items.isEmpty())
        return;
    const int count = int(m_items.size());
    int index = m_currentIndex + direction;
    if (direction > 0 && (index >= count || index < 0))
        index = 0;
    else if (direction < 0 && (index < 0 || index >= count))
        index = count - 1;
    showChoice(index);
}

void QVantelHeadphoneSelect::cyclePanning()
{
    switch (m_display->panning()) {
    case QVantel::PanBoth:
        m_display->setPanning(QVantel::PanLeft);
        break;
    case QVantel::PanLeft:
        m_display->setPanning(QVantel::PanRight);
        break;
    case QVantel::PanRight:
        m_display->setPanning(QVantel::PanNone);
        break;
    default:
        m_display->setPanning(QVantel::PanBoth);
        break;
    }
}

void QVantelHeadphoneSelect::okClicked()
{
    m_selectedValue = m_display->value();
    m_selectedPanning = m_display->panning();
    clearCancelled();
    close();
}

void QVantelHeadphoneSelect::cancelClicked()
{
    close();
}

void QVantelHeadphoneSelect::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
        step(1);
        break;
    case Qt::Key_Minus:
        step(-1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case kEncoderKey:
        cyclePanning();
        break;
    default:
        QVantelPopup::keyPressEvent(event);
        return;
    }
    event->accept();
}

void QVantelHeadphoneSelect::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton)
        cyclePanning();
    event->accept();
}

void QVantelHeadphoneSelect::wheelEvent(QWheelEvent *event)
{
    step(event->angleDelta().y() > 0 ? 1 : -1);
    event->accept();
}
