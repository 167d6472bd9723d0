#include "shell/dialogform.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

QGridLayout *createFormGrid(QWidget *dialog)
{
    auto *grid = new QGridLayout(dialog);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    grid->setAlignment(Qt::AlignTop);
    grid->setColumnStretch(0, 0);
    grid->setColumnStretch(1, 0);
    return grid;
}

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

QHBoxLayout *createOkCancelRow(QWidget *parent,
                               const QString &okText,
                               const QString &cancelText,
                               int topMargin,
                               QPushButton *&ok,
                               QPushButton *&cancel)
{
    ok = new QPushButton(okText, parent);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    cancel = new QPushButton(cancelText, parent);
    cancel->setObjectName(QStringLiteral("cancelButton"));

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, topMargin, 0, 0);
    row->setSpacing(10);
    row->setAlignment(Qt::AlignHCenter);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}
