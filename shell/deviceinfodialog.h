#pragma once

#include "shell/knowndevice.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

// The form for adding or editing one known device: address, name, TCP port and how its level
// meters travel ("UDP" or "TCP").
//
// The caller sets the title, fills the form with setDeviceInfo() and makes the address field
// read-only where the address must not change; after exec() returned 1 ("OK", also Enter in a
// field) it takes deviceInfo(). "OK" accepts only a usable IP address (unless the address field
// is read-only) and TCP port, checked as the connect form checks them; otherwise a message box
// names the field and why, and the form stays open on that field. The widgets are children of
// the dialog.
class DeviceInfoDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DeviceInfoDialog(QWidget *parent = nullptr);
    ~DeviceInfoDialog() override;
    Q_DISABLE_COPY_MOVE(DeviceInfoDialog)

    // The form's content: the address (null when the text is not an address), the port as a
    // signed decimal (0 when it is not a number), the name, and audioLevels true for "TCP".
    [[nodiscard]] KnownDevice deviceInfo() const;
    // Fills the form from device, but only when its address is not null and its port is at least
    // 1; otherwise the form keeps what it shows.
    void setDeviceInfo(const KnownDevice &device);

    // Whether a device taken from the form may be kept: an IPv4 address of one host (unless
    // addressKept: an entry being edited keeps the address it was stored under, whatever it is),
    // and a port a TCP connection can use (1 to 65535).
    [[nodiscard]] static bool isStorable(const KnownDevice &device, bool addressKept = false);

    QLineEdit *addressEdit() const { return m_addressEdit; }
    QLineEdit *portEdit() const { return m_portEdit; }
    QLineEdit *nameEdit() const { return m_nameEdit; }
    QComboBox *levelsCombo() const { return m_levelsCombo; }
    QPushButton *okButton() const { return m_okButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }

private slots:
    void okClicked();
    void cancelClicked();

private:
    void setupUi();

    QLineEdit *m_addressEdit = nullptr;
    QLineEdit *m_portEdit = nullptr;
    QLineEdit *m_nameEdit = nullptr;
    QComboBox *m_levelsCombo = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
