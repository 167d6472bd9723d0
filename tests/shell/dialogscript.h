#pragma once

#include "shell/dialogrunner.h"

#include <QDialog>
#include <QMessageBox>
#include <QStringList>

#include <deque>
#include <functional>

// Answers the shell's modal dialogs in order while it lives. Each answer sees the dialog (to
// fill in its fields) and returns its result. A dialog with no answer left is rejected (a
// message box cancelled) and counted as unexpected. Records every title it saw.
class DialogScript
{
public:
    using Answer = std::function<int(QDialog &dialog)>;

    DialogScript()
    {
        setDialogHandler([this](QDialog &dialog) { return answer(dialog); });
    }
    ~DialogScript() { setDialogHandler({}); }
    DialogScript(const DialogScript &) = delete;
    DialogScript &operator=(const DialogScript &) = delete;

    void then(Answer answer) { m_answers.push_back(std::move(answer)); }
    // Answers a message box with button after checking nothing; for brevity.
    void thenButton(QMessageBox::StandardButton button)
    {
        then([button](QDialog &) { return int(button); });
    }

    QStringList titles() const { return m_titles; }
    // The texts of the message boxes seen.
    QStringList texts() const { return m_texts; }
    int unexpected() const { return m_unexpected; }
    bool allUsed() const { return m_answers.empty(); }

private:
    int answer(QDialog &dialog)
    {
        m_titles << dialog.windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(&dialog))
            m_texts << box->text();
        if (m_answers.empty()) {
            ++m_unexpected;
            return qobject_cast<QMessageBox *>(&dialog) ? int(QMessageBox::Cancel)
                                                        : int(QDialog::Rejected);
        }
        Answer next = std::move(m_answers.front());
        m_answers.pop_front();
        return next(dialog);
    }

    std::deque<Answer> m_answers;
    QStringList m_titles;
    QStringList m_texts;
    int m_unexpected = 0;
};
