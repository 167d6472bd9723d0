#include "shell/dialogheading.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

QHBoxLayout *createDialogHeading(const QString &text, QWidget *parent)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 4);
    row->setSpacing(10);
    row->setAlignment(Qt::AlignVCenter);

    auto *label = new QLabel(text, parent);
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setLineWidth(2);

    row->addWidget(label);
    row->addWidget(line, 1);
    return row;
}
