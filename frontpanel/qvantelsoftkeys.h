#pragma once

#include "frontpanel/qvantelsoftkey.h"

#include <QObject>
#include <QString>

#include <array>
#include <string>

namespace ksm {
class CMsg;
} // namespace ksm

// The program's model of the device's seven soft keys and of its two info and two contact
// labels. readAll() loads them after login, handleEvent() follows the device's "config_changeset"
// reports, and user changes (through the records' setters and the label setters) are written
// back to the device through the device model (TComDevice::readPanelKeys and writePanelKey;
// the results of both are handed to the caller).
//
// Values that come from the device are applied with the updating flag set: they are stored and
// signalled but never written back, also when a signal handler changes a key meanwhile.
//
// Signals: softKeyCategoryChanging before a category change; softKeyFunctionChanging before a
// function change asked for through setFunction(); softKeyFunctionChanged after every function
// selection (category changes included); softKeyBehaviorChanged after a behaviour change;
// infoLabelChanged / contactLabelChanged after a label change.
//
// One process-wide instance, reached through softkeys(); the seven records are members.
// GUI thread only; reads and writes block in the client's nested event loop.
class QVantelSoftkeys : public QObject
{
    Q_OBJECT

public:
    static constexpr int kKeyCount = 7;
    static constexpr int kLabelCount = 2;

    explicit QVantelSoftkeys(QObject *parent = nullptr);
    ~QVantelSoftkeys() override;
    Q_DISABLE_COPY_MOVE(QVantelSoftkeys)

    // The record of index 0 to 6; null for any other index.
    [[nodiscard]] QVantelSoftkey *key(int index);
    [[nodiscard]] bool isUpdating() const { return m_updating; }
    [[nodiscard]] QString infoLabel(int index) const;
    [[nodiscard]] QString contactLabel(int index) const;

    // Subscribes to "config_changeset" and reads the labels and keys; applies them only when all
    // eleven values came back.
    void readAll();
    // Applies a "config_changeset" INFO; other messages change nothing.
    void handleEvent(const ksm::CMsg &event);

    // How a label write ended.
    enum class LabelWrite {
        Held,    // the unit holds the text given (also when nothing was to be written)
        Other,   // the unit holds the model's text: it refused the write, or it was read back
                 // after an answer that did not come in time and holds another text
        Unknown, // no answer in time and the read after it failed: the unit's text is unknown,
                 // the model keeps its own
    };

    // Index 0 or 1; nothing for another index or an unchanged text. Unless updating, the text is
    // written first (UTF-8), and stored and signalled once the unit holds it; a text the unit
    // was read back with is stored and signalled in its place.
    LabelWrite setInfoLabel(int index, const QString &text);
    LabelWrite setContactLabel(int index, const QString &text);
    // Writes the key's stored form, unless updating; false when the device did not take it.
    bool writeKey(QVantelSoftkey *key);

    // One device parameter: "softkey" 1 to 7, "info_label" 1 or 2, "contact_label" 1 or 2.
    void applyKey(const std::string &key, const std::string &value);
    void applyInfoLabel(const std::string &key, const std::string &value);
    void applyContactLabel(const std::string &key, const std::string &value);

signals:
    void softKeyCategoryChanging(QVantelSoftkey *softKey, QVantelSoftkey::Category category);
    void softKeyFunctionChanging(QVantelSoftkey *softKey, QVantelSoftkey::Function function);
    void softKeyFunctionChanged(QVantelSoftkey *softKey);
    void softKeyBehaviorChanged(QVantelSoftkey *softKey);
    void infoLabelChanged(int index, const QString &value);
    void contactLabelChanged(int index, const QString &value);

private:
    void dispatch(const std::string &key, const std::string &value);
    LabelWrite setLabel(bool info, int index, const QString &text);

    bool m_updating = false;
    std::array<QString, kLabelCount> m_infoLabels;
    std::array<QString, kLabelCount> m_contactLabels;
    std::array<QVantelSoftkey, kKeyCount> m_keys;
};

// The process-wide soft-key model, built on first use without parent and destroyed with the
// other shared objects. Always the same non-null pointer in between.
[[nodiscard]] QVantelSoftkeys *softkeys();
// The record of index 0 to 6 of softkeys(); null for any other index.
[[nodiscard]] QVantelSoftkey *softkey(int index);
