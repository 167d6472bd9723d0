#pragma once

class QHBoxLayout;
class QString;
class QWidget;

// The heading row of the shell's small forms: the text, then a sunken horizontal line that takes
// the rest of the width. The label and the line are children of parent.
[[nodiscard]] QHBoxLayout *createDialogHeading(const QString &text, QWidget *parent);
