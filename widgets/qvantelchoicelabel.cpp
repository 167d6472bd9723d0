#include "widgets/qvantelchoicelabel.h"

QVantelChoiceLabel::QVantelChoiceLabel(QWidget *parent)
    : QVantelWrapLabel(Qt::ElideMiddle, parent)
{}

QVantelChoiceLabel::~QVantelChoiceLabel() = default;
