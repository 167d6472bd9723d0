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
#include <QStringList>

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

namespace {

enum class AddressForm { Decimal, LeadingZero, Other };

// Whether text is four decimal numbers from 0 to 255 joined by dots. The address parser would
// also take octal ("010" is 8) and hexadecimal ("0x0a") parts and quietly make another address
// of them, so those forms never reach it.
AddressForm addressForm(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return AddressForm::Other;
    bool leadingZero = false;
    for (const QString &part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return AddressForm::Other;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return AddressForm::Other;
        }
        if (part.toInt() > 255)
            return AddressForm::Other;
        leadingZero = leadingZero || (part.size() > 1 && part.front() == QLatin1Char('0'));
    }
    return leadingZero ? AddressForm::LeadingZero : AddressForm::Decimal;
}

} // namespace

QString addressProblem(const QString &label, const QString &text)
{
    if (text.isEmpty())
        return translated("%1: enter the device's IPv4 address, for example 192.168.1.20.")
            .arg(label);
    const AddressForm form = addressForm(text);
    if (form == AddressForm::LeadingZero) {
        return translated("%1: \"%2\" has a number with a leading zero, which can be read as "
                          "another address. Write the numbers without leading zeros, for example "
                          "192.168.1.20.")
            .arg(label, text);
    }
    if (form != AddressForm::Decimal || !isDeviceAddress(QHostAddress(text))) {
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
