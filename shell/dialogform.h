#pragma once

class QDialog;
class QGridLayout;
class QHBoxLayout;
class QHostAddress;
class QLineEdit;
class QPushButton;
class QString;
class QWidget;

// Building blocks of the shell's small forms (the connect form and the device form).

// The form's grid, set on dialog: margins 10, horizontal spacing 10, vertical spacing 2, top
// alignment, two columns without stretch.
[[nodiscard]] QGridLayout *createFormGrid(QWidget *dialog);

// The heading row: the text, then a sunken horizontal line that takes the rest of the width. The
// label and the line are children of parent.
[[nodiscard]] QHBoxLayout *createDialogHeading(const QString &text, QWidget *parent);

// The centred row of the OK button (the default button) and the Cancel button, spacing 10, with
// topMargin above it. The buttons, named "okButton" and "cancelButton", are children of parent
// and are handed back through ok and cancel.
[[nodiscard]] QHBoxLayout *createOkCancelRow(QWidget *parent,
                                             const QString &okText,
                                             const QString &cancelText,
                                             int topMargin,
                                             QPushButton *&ok,
                                             QPushButton *&cancel);

// The checks of the address and port fields, the same in every form that takes a device.

// Whether a program can connect to host: an IPv4 address of one host (not the any-address, the
// broadcast address or a multicast group).
[[nodiscard]] bool isDeviceAddress(const QHostAddress &host);
// Why text cannot be used as a device's address, naming the field by label ("IP Address: ...");
// empty when it can. Only four decimal numbers from 0 to 255 joined by dots are taken:
// "localhost", "10.1" and the like, which the link cannot connect to, are refused, and so are
// numbers with a leading zero ("010.0.0.9") or in hexadecimal ("0x0a.0.0.1"), which other readers
// take for another address.
[[nodiscard]] QString addressProblem(const QString &label, const QString &text);
// Why text cannot be used as a TCP port (a decimal number from 1 to 65535), naming the field;
// empty when it can.
[[nodiscard]] QString portProblem(const QString &label, const QString &text);

// Checks the address field (unless it is read-only), then the port field, of form. When one
// cannot be used, a message box titled like the form says which and why, the cursor goes to
// that field with its text selected, and false is returned: the form stays open. True when both
// can be used.
[[nodiscard]] bool checkDeviceFields(QDialog *form,
                                     QLineEdit *addressEdit,
                                     const QString &addressLabel,
                                     QLineEdit *portEdit,
                                     const QString &portLabel);
