#include "widgets/qvantelaudiobase.h"

#include "widgets/qvantellocalize.h"

QVantelAudioBase::QVantelAudioBase(QWidget *parent)
    : QFrame(parent)
{}

QVantelAudioBase::~QVantelAudioBase() = default;

QString QVantelAudioBase::displayName() const
{
    QString name = QVantelLocalize::inputName(m_input);
    if (!m_label.isEmpty())
        name += QLatin1Char('\n') + m_label;
    return name;
}
