#include "widgets/qvantelmenuitem.h"

#include "widgets/qpwdlabel.h"
#include "widgets/qvantelelidedlabel.h"
#include "widgets/qvanteliconlabel.h"
#include "widgets/qvantelimage.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenupalette.h"
#include "widgets/qvantelswitch.h"
#include "widgets/qvantelwheel.h"
#include "widgets/qvantelwraplabel.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QShowEvent>

QVantelMenuItem::QVantelMenuItem(int id, int kind, QWidget *parent)
    : QVantelMenuItem(id, -1, kind, parent)
{}

QVantelMenuItem::QVantelMenuItem(int id, int data, int kind, QWidget *parent)
    : QVantelMenuBase(id, parent)
    , m_page(qobject_cast<QVantelMenuItems *>(parent))
    , m_kind(kind)
    , m_data(data)
{
    build(kind);
}

QVantelMenuItem::QVantelMenuItem(const Spec &spec, QVantelMenuItems *page, QWidget *parent)
    : QVantelMenuBase(spec.id, parent)
    , m_page(page)
    , m_kind(spec.kind)
    , m_data(spec.data)
{
    build(spec.kind);
    grid()->setContentsMargins(spec.margins);
    m_title->setText(spec.title);
    if (!spec.value.isNull())
        setValueText(spec.value);
    if (spec.readOnly)
        setReadOnly(true);
}

QVantelMenuItem::~QVantelMenuItem() = default;

void QVantelMenuItem::build(int kind)
{
    // Titles and values hold device and user texts (names, addresses): never read as markup. A
    // title too long for the row is cut short, so that it never pushes the icon column off the
    // page.
    m_title = new QVantelElidedLabel(this);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setFixedHeight(32);
    QFont titleFont = m_title->font();
    titleFont.setPixelSize(22);
    m_title->setFont(titleFont);
    QVantelMenuPalette::setTextColor(m_title, Qt::white);
    m_title->setAlignment(Qt::AlignLeft | Qt::AlignBottom);

    if (kind != Caption) {
        if (kind == MaskedEntry || kind == NumericMaskedEntry)
            m_valueLabel = new QPwdLabel(this);
        else
            m_valueLabel = new QVantelWrapLabel(this);
        m_valueLabel->setTextFormat(Qt::PlainText);
        m_valueLabel->setMinimumHeight(26);
        // Values wrap at blanks; one unbroken word too long for the row (an address, a
        // passphrase) is cut short with an ellipsis at the row's edge rather than widening the
        // page.
        m_valueLabel->setMinimumWidth(1);
        m_valueLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_valueLabel->setWordWrap(true);
        QFont valueFont = m_valueLabel->font();
        valueFont.setPixelSize(18);
        m_valueLabel->setFont(valueFont);
        QVantelMenuPalette::setTextColor(m_valueLabel, QVantelMenuPalette::kAccentBlue);
    }

    QWidget *control = nullptr;
    if (kind == Navigation || kind == Action) {
        m_icon = new QVantelIconLabel(this);
        m_icon->setFixedSize(34, 34);
        m_icon->setScaledContents(true);
        m_icon->setPixmap(qvantelPixmap(kind == Navigation
                                            ? QStringLiteral(":/images/navright.png")
                                            : QStringLiteral(":/images/action.png")));
        control = m_icon;
    } else if (kind == Switch) {
        m_switch = new QVantelSwitch(this);
        m_switch->setFixedSize(60, 34);
        m_switch->setCheckable(true);
        connect(m_switch, &QAbstractButton::clicked, this, &QVantelMenuItem::switchClicked);
        control = m_switch;
    } else if (kind == WheelOnRelease || kind == WheelOnStep) {
        m_wheel = new QVantelWheel(this);
        m_wheel->setFixedSize(58, 58);
        QFont wheelFont = m_wheel->font();
        wheelFont.setPixelSize(18);
        m_wheel->setFont(wheelFont);
        connect(m_wheel, &QVantelWheel::valueChanged, this, &QVantelMenuItem::wheelChanged);
        connect(m_wheel, &QAbstractButton::toggled, this, &QVantelMenuItem::wheelToggled);
        control = m_wheel;
    }

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);

    grid()->setColumnStretch(0, 1);
    grid()->setColumnStretch(1, 0);
    grid()->addWidget(m_title, 0, 0);
    if (m_valueLabel)
        grid()->addWidget(m_valueLabel, 1, 0);
    if (control)
        grid()->addWidget(control, 0, 1, 2, 1);
    grid()->addWidget(line, 2, 0, 1, 2);
}

QString QVantelMenuItem::titleText() const
{
    return m_title->text();
}

QString QVantelMenuItem::valueText() const
{
    return m_valueLabel ? m_valueLabel->text() : QString();
}

bool QVantelMenuItem::isChecked() const
{
    return m_switch && m_switch->isChecked();
}

const QVantelMenuItem::Value *QVantelMenuItem::currentValue() const
{
    if (m_currentIndex < 0 || m_currentIndex >= m_values.size())
        return nullptr;
    return &m_values.at(m_currentIndex);
}

void QVantelMenuItem::addValue(int value, const QString &text)
{
    m_values.append(Value{value, text});
}

void QVantelMenuItem::clearValues()
{
    m_currentIndex = -1;
    m_values.clear();
}

int QVantelMenuItem::findValue(int value, bool noFallback) const
{
    if (m_values.isEmpty())
        return -1;
    for (int i = 0; i < m_values.size(); ++i) {
        if (m_values.at(i).value == value)
            return i;
    }
    return noFallback ? -1 : 0;
}

int QVantelMenuItem::findText(const QString &text, bool noFallback) const
{
    if (m_values.isEmpty())
        return -1;
    for (int i = 0; i < m_values.size(); ++i) {
        if (m_values.at(i).text == text)
            return i;
    }
    return noFallback ? -1 : 0;
}

int QVantelMenuItem::selectValue(int value, bool showText, bool clearWhenAbsent)
{
    return selectFound(m_values.isEmpty() ? -1 : findValue(value, clearWhenAbsent), showText);
}

int QVantelMenuItem::selectText(const QString &text, bool showText, bool clearWhenAbsent)
{
    return selectFound(m_values.isEmpty() ? -1 : findText(text, clearWhenAbsent), showText);
}

int QVantelMenuItem::selectFound(int index, bool showText)
{
    if (index < 0) {
        m_currentIndex = -1;
        return -1;
    }
    selectIndex(index, showText);
    return m_currentIndex;
}

void QVantelMenuItem::selectIndex(int index, bool showText)
{
    m_currentIndex = index;
    if (m_valueLabel && showText) {
        m_valueLabel->setText(m_values.at(index).text);
        if (m_wheel && isVisible())
            updateControl();
    }
}

void QVantelMenuItem::setValueText(const QString &text, bool clearWhenAbsent)
{
    if (!m_valueLabel)
        return;
    m_valueLabel->setText(text);
    if (m_kind == Choice)
        selectText(text, false, clearWhenAbsent);
}

void QVantelMenuItem::setValueText(const QString &text, const QColor &color, bool clearWhenAbsent)
{
    if (!m_valueLabel)
        return;
    setValueColor(color);
    setValueText(text, clearWhenAbsent);
}

void QVantelMenuItem::setValueText(const QString &text, Qt::GlobalColor color, bool clearWhenAbsent)
{
    setValueText(text, QColor(color), clearWhenAbsent);
}

void QVantelMenuItem::setValueColor(const QColor &color)
{
    if (m_valueLabel && color.isValid() && color != QVantelMenuPalette::textColor(m_valueLabel))
        QVantelMenuPalette::setTextColor(m_valueLabel, color);
}

void QVantelMenuItem::setChecked(bool on)
{
    if (!m_switch)
        return;
    m_switch->setChecked(on);
    updateSwitchText();
}

void QVantelMenuItem::setReadOnly(bool on)
{
    setReadOnly(on, on ? QVantelMenuPalette::kGrey : QVantelMenuPalette::kAccentBlue);
}

void QVantelMenuItem::setReadOnly(bool on, const QColor &color)
{
    setValueColor(color);
    if (on == m_readOnly)
        return;
    m_readOnly = on;
    if (m_switch)
        m_switch->setEnabled(!on);
    // Dimmed, a locked row's chevron or action icon no longer looks like a usable row's.
    if (m_icon)
        m_icon->setEnabled(!on);
    updateControl();
}

void QVantelMenuItem::updateControl()
{
    if (m_kind == Switch) {
        updateSwitchText();
        return;
    }
    if (!m_wheel)
        return;
    m_wheel->setRevert(m_kind == WheelOnRelease);
    if (!m_values.isEmpty()) {
        m_wheel->setCheckable(!m_readOnly);
        m_wheel->setMaximum(int(m_values.size()) - 1);
        const int index = findText(valueText(), true);
        if (index >= 0)
            m_wheel->setValue(index);
    } else {
        m_wheel->setCheckable(false);
    }
    m_wheel->update();
}

void QVantelMenuItem::updateSwitchText()
{
    if (!m_switch || !m_valueLabel)
        return;
    const bool on = m_switch->isChecked();
    if (m_values.size() > 1) {
        m_currentIndex = on ? 1 : 0;
        m_valueLabel->setText(m_values.at(m_currentIndex).text);
    } else {
        m_valueLabel->setText(on ? tr("Active") : tr("Disabled"));
    }
}

void QVantelMenuItem::commit()
{
    if (m_page)
        m_page->commitItem(this);
}

void QVantelMenuItem::switchClicked()
{
    updateSwitchText();
    commit();
}

void QVantelMenuItem::wheelChanged(int index)
{
    if (index < 0 || index >= m_values.size())
        return;
    if (m_valueLabel)
        m_valueLabel->setText(m_values.at(index).text);
    if (m_kind == WheelOnStep) {
        m_currentIndex = index;
        commit();
    }
}

void QVantelMenuItem::wheelToggled(bool checked)
{
    if (m_kind == WheelOnRelease) {
        setValueColor(checked ? QColor(Qt::red) : QVantelMenuPalette::kAccentBlue);
    }
    if (!m_page || checked || !m_wheel)
        return;
    const int index = m_wheel->value();
    if (index < 0 || index >= m_values.size())
        return;
    const bool changed = index != m_currentIndex;
    m_currentIndex = index;
    if (m_valueLabel)
        m_valueLabel->setText(m_values.at(index).text);
    m_wheel->setValue(index);
    if (m_kind == WheelOnStep || changed)
        commit();
}

void QVantelMenuItem::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        updateControl();
    QVantelMenuBase::showEvent(event);
}

QVantelMenuItems *QVantelMenuItem::page() const
{
    return m_page;
}
