#pragma once

#include <QString>

#include <functional>

class QDialog;
class QWidget;

// Every modal dialog of the shell (the device dialogs, the about box and the message boxes) is
// run through runDialog(), so that tests can answer it without a nested event loop.
//
// Normally runDialog() is QDialog::exec(). While a handler is installed, runDialog() calls the
// handler instead and returns what it returns: the handler may fill in the dialog's fields and
// return QDialog::Accepted or QDialog::Rejected, or, for a message box, a
// QMessageBox::StandardButton. GUI thread only.
using DialogHandler = std::function<int(QDialog &dialog)>;

// Installs the handler; an empty function restores QDialog::exec().
void setDialogHandler(DialogHandler handler);

int runDialog(QDialog &dialog);

// A question box with the buttons Yes and Cancel, Cancel being the default. True for Yes.
[[nodiscard]] bool askYesCancel(QWidget *parent, const QString &title, const QString &text);

// A critical message box with an OK button.
void showCritical(QWidget *parent, const QString &title, const QString &text);
