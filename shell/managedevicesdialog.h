#pragma once

#include "shell/configuration.h"

#include <QDialog>
#include <QModelIndex>
#include <QString>

class ManageDevicesView;
class QPushButton;

// Lists the known devices and lets the user add, edit and delete them, or pick one to connect
// to.
//
// The dialog keeps a configuration store of its own on the file of the store it is given (it
// reads the file once when built, not the given store's content) and writes the file after
// every add, edit and delete, so the caller must re-read the file once the dialog has closed.
// Adding a device at an address that is already known replaces that entry. A device without a
// valid address, or whose port is not 1 to 65535, is not stored. The add and edit forms and the
// delete question run through runDialog().
//
// exec() gives 1 only through "&Connect", with selectedAddress() naming the device; closing
// gives 0. "&Delete", "&Edit..." and "&Connect" are enabled only while a clicked row is
// current; every change disables them again.
class ManageDevicesDialog : public QDialog
{
    Q_OBJECT

public:
    ManageDevicesDialog(const Configuration &configuration, QWidget *parent = nullptr);
    ~ManageDevicesDialog() override;
    Q_DISABLE_COPY_MOVE(ManageDevicesDialog)

    // The address text of the device to connect to; empty until "&Connect".
    QString selectedAddress() const { return m_selectedAddress; }

    ManageDevicesView *view() const { return m_view; }
    QPushButton *addButton() const { return m_addButton; }
    QPushButton *deleteButton() const { return m_deleteButton; }
    QPushButton *editButton() const { return m_editButton; }
    QPushButton *connectButton() const { return m_connectButton; }
    const Configuration &configuration() const { return m_configuration; }

private slots:
    void onViewClicked(const QModelIndex &index);
    void addButtonClicked();
    void deleteButtonClicked();
    void editButtonClicked();
    void connectButtonClicked();

private:
    void setupUi();
    // The map key of the device in the current row; empty when there is none or it is not known.
    QString currentKey() const;
    // Writes the file, disables the row buttons and refills the table.
    void storeChange();

    ManageDevicesView *m_view = nullptr;
    QPushButton *m_addButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QPushButton *m_editButton = nullptr;
    QPushButton *m_connectButton = nullptr;
    Configuration m_configuration;
    QString m_selectedAddress;
};
