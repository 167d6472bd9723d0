#pragma once

#include "widgets/qvantelpopup.h"

#include <QLineEdit>

#include <array>

class QLabel;
class QShowEvent;
class QVantelButton;

// The on-screen keyboard: a popup of 32 touch keys, a title and an entry line.
//
// Mode 0 opens it as a numeric pad, which widens once into the full keyboard (mode 1) when the
// user presses "Abc"; any other mode is the full keyboard with four pages (0 lower case, 1 upper
// case, 2 and 3 symbols). The owner sets the title and the starting text, opens it and, in its
// slot for popupClosed(), takes lineEdit()->text() when isCancelled() is false. "OK" clears the
// cancelled flag and closes; "Cancel" closes with the flag set. Each key button carries its index
// in the dynamic property "vkb_button" and the object name "vkb_button<index>".
class QVantelVirtual : public QVantelPopup
{
    Q_OBJECT

public:
    // The entry line; it behaves as any line edit.
    class QMyLineEdit : public QLineEdit
    {
    public:
        explicit QMyLineEdit(QWidget *parent = nullptr);
        ~QMyLineEdit() override;
    };

    static constexpr int kKeyCount = 32;

    QVantelVirtual(int mode, QWidget *parent = nullptr);
    ~QVantelVirtual() override;

    int mode() const { return m_mode; }
    int layout() const { return m_layout; }

    // Shows the key captions of a page: the numeric pad in mode 0, else page 1, 2 or 3, and page 0
    // for any other number.
    void selectLayout(int layout);

    QLabel *titleLabel() const { return m_title; }
    QMyLineEdit *lineEdit() const { return m_edit; }
    QVantelButton *key(int index) const;

    // What a press of the key with this index does; other indexes are ignored.
    void buttonClicked(int index);

protected:
    void showEvent(QShowEvent *event) override;

private:
    int m_mode;
    int m_layout = 0;
    QLabel *m_title = nullptr;
    QMyLineEdit *m_edit = nullptr;
    std::array<QVantelButton *, kKeyCount> m_keys{};

    Q_DISABLE_COPY_MOVE(QVantelVirtual)
};
