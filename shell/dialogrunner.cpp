#include "shell/dialogrunner.h"

#include <QDialog>
#include <QMessageBox>

#include <utility>

namespace {
DialogHandler &handler()
{
    static DialogHandler h;
    return h;
}
} // namespace

void setDialogHandler(DialogHandler h)
{
    handler() = std::move(h);
}

int runDialog(QDialog &dialog)
{
    // A copy, so that a handler that replaces itself stays alive while it runs.
    const DialogHandler h = handler();
    if (h)
        return h(dialog);
    return dialog.exec();
}

bool askYesCancel(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(
        QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Cancel);
    return runDialog(box) == QMessageBox::Yes;
}

void showCritical(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
    runDialog(box);
}
