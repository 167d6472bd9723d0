#include "shell/dialogform.h"

#include "shell/dialogrunner.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("DeviceForm", text);
}

} // namespace

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

bool isDeviceAddress(const QHostAddress &host)
{
    return !host.isNull() && host.protocol() == QAbstractSocket::IPv4Protocol
           && host != QHostAddress::AnyIPv4 && host != QHostAddress::Broadcast
           && !host.isMulticast();
}

QString addressProblem(const QString &label, const QString &text)
{
    if (text.isEmpty())
        return translated("%1: enter the device's IPv4 address, for example 192.168.1.20.")
            .arg(label);
    if (text.count(QLatin1Char('.')) != 3 || !isDeviceAddress(QHostAddress(text))) {
        return translated("%1: \"%2\" is not the IPv4 address of a device. Enter four numbers "
                          "from 0 to 255 separated by dots, for example 192.168.1.20.")
            .arg(label, text);
    }
    return {};
}

QString portProblem(const QString &label, const QString &text)
{
    bool ok = false;
    const uint port = text.toUInt(&ok, 10);
    if (!ok || port < 1 || port > 65535) {
        return translated("%1: \"%2\" is not a TCP port. Enter a number from 1 to 65535.")
            .arg(label, text);
    }
    return {};
}

bool checkDeviceFields(QDialog *form,
                       QLineEdit *addressEdit,
                       const QString &addressLabel,
                       QLineEdit *portEdit,
                       const QString &portLabel)
{
    QLineEdit *field = addressEdit;
    // A read-only address is not the user's to correct: checking it would only lock the form.
    QString problem
        = addressEdit->isReadOnly() ? QString() : addressProblem(addressLabel, addressEdit->text());
    if (problem.isEmpty()) {
        field = portEdit;
        problem = portProblem(portLabel, portEdit->text());
    }
    if (problem.isEmpty())
        return true;
    showCritical(form, form->windowTitle(), problem);
    field->setFocus();
    field->selectAll();
    return false;
}
