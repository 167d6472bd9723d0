#pragma once

class QGridLayout;
class QHBoxLayout;
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
