#pragma once

#include <QDialog>

// The about box: the program's logo, its title and version, a rights line and its web address
// as a link that opens in the browser. No signals or slots of its own; its widgets are its
// children.
class QuorixDialog : public QDialog
{
    Q_OBJECT

public:
    explicit QuorixDialog(QWidget *parent = nullptr);
    ~QuorixDialog() override;
    Q_DISABLE_COPY_MOVE(QuorixDialog)
};
