#include "shell/quorixdialog.h"

#include "resources/tallydeskresources.h"
#include "shell/productinfo.h"
#include "widgets/qvantelimage.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

QuorixDialog::QuorixDialog(QWidget *parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowSystemMenuHint)
{
    initTallydeskResources();
    setWindowTitle(tr("About %1").arg(productTitle()));
    setFixedSize(350, 272);

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(20, 20, 20, 20);
    box->setSpacing(3);
    box->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("logoLabel"));
    logo->setPixmap(qvantelPixmap(QStringLiteral(":/images/Tallydesk.png")));
    logo->setAlignment(Qt::AlignCenter);
    box->addWidget(logo);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    box->addWidget(line);

    QFont bold = font();
    bold.setWeight(QFont::Bold);

    auto *title = new QLabel(tr("%1 - Version %2").arg(productTitle(), productVersion()), this);
    title->setObjectName(QStringLiteral("titleLabel"));
    auto *rights = new QLabel(tr("Copyright (C) The Tallydesk developers"), this);
    rights->setObjectName(QStringLiteral("rightsLabel"));
    auto *link = new QLabel(
        QStringLiteral("<a href=\"https://tallydesk.example/\">tallydesk.example</a>"), this);
    link->setObjectName(QStringLiteral("linkLabel"));
    link->setTextFormat(Qt::RichText);
    link->setOpenExternalLinks(true);
    for (QLabel *label : {title, rights, link}) {
        label->setFont(bold);
        label->setAlignment(Qt::AlignCenter);
        box->addWidget(label);
    }
}

QuorixDialog::~QuorixDialog() = default;
