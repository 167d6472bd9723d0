#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The form in which the user types the address and TCP port of a device and chooses how its
// level meters arrive: as UDP datagrams to the local port shown, or over the TCP link itself.
//
// The caller fills the fields' texts before running it and reads them afterwards. "OK" accepts
// only a usable IP address and TCP port; otherwise a message box names the field and why, and
// the dialog stays open on that field. The UDP port field is never enabled, it shows the port
// the caller will use. exec() gives 1 for "OK" (also Enter in a field, OK being the default
// button) and 0 for "Cancel" or closing. The widgets are children of the dialog.
class ConnectDeviceDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ConnectDeviceDialog(QWidget *parent = nullptr);
    ~ConnectDeviceDialog() override;
    Q_DISABLE_COPY_MOVE(ConnectDeviceDialog)

    QLineEdit *addressEdit() const { return m_addressEdit; }
    QLineEdit *portEdit() const { return m_portEdit; }
    QLineEdit *udpPortEdit() const { return m_udpPortEdit; }
    QCheckBox *tcpCheckBox() const { return m_tcpCheckBox; }
    QPushButton *okButton() const { return m_okButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }

    // The port field as an unsigned decimal number; 0 when it is not one.
    [[nodiscard]] uint port() const;
    // 1 (level meters over the TCP link) when the box is checked, else the UDP port field as an
    // unsigned decimal number; 0 when it is not one.
    [[nodiscard]] uint datagramPort() const;
    // What keeps "OK" from accepting, naming the field: the address when it is not a dotted IPv4
    // address of one host, the port when it is not 1 to 65535. Empty when both are usable.
    [[nodiscard]] QString problem() const;

private slots:
    void okClicked();
    void cancelClicked();

private:
    void setupUi();

    QLineEdit *m_addressEdit = nullptr;
    QLineEdit *m_portEdit = nullptr;
    QLineEdit *m_udpPortEdit = nullptr;
    QCheckBox *m_tcpCheckBox = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
