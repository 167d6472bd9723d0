#pragma once

#include <QString>

namespace ksm {
class CMsg;
} // namespace ksm

class TComAudioConnection;

// What the front-panel window needs of its settings page (stack page 11). The settings menu
// lives in a higher layer than the window, so the window knows it only through this interface;
// the settings page, a QVantelMenuWidget, implements it and is built by the page factory that
// its library registers with QVantelWindow::setPageFactory().
class IVantelSettingsPage
{
public:
    virtual ~IVantelSettingsPage() = default;

    // Reads the access-level passwords from the device into the page's cache; false, with the
    // cache unchanged, when they cannot be read.
    virtual bool loadPasswords() = 0;
    // The cached password of level 2 Administrator, 1 Expert, any other value Operator; empty
    // when the level has none.
    [[nodiscard]] virtual const QString &password(int level) const = 0;
    // True once the passwords were read from the unit on the present connection; false again
    // when the link drops. An empty password means "no password" only while this is true, so
    // no level is ever granted against passwords that could not be read.
    [[nodiscard]] virtual bool passwordsKnown() const = 0;
    // Id of the root entry opened last, -1 before any.
    [[nodiscard]] virtual int lastSectionId() const = 0;

    // Notifications: every INFO message the window handled (and the "core" audio change-set,
    // TComDevice::coreAudioChangeset(), when the window found such a change itself), every
    // EVENT but "relay_in", and the device becoming busy (shutting down, rebooting, updating)
    // or released (a "display" message).
    virtual void audioChangesetEvent(const ksm::CMsg &message) = 0;
    virtual void configurationEvent(const ksm::CMsg &message) = 0;
    virtual void deviceBusy(bool busy) = 0;
    virtual void deviceReleased(bool released) = 0;

    // Call notifications: a call's state, status or statistics changed. The window calls them
    // for every audio connection; a page that shows no call information keeps the empty default.
    virtual void audioConnectionStateChanged(TComAudioConnection *connection)
    {
        Q_UNUSED(connection)
    }
    virtual void audioCallStatusChanged(TComAudioConnection *connection) { Q_UNUSED(connection) }
    virtual void audioCallStatisticChanged(TComAudioConnection *connection) { Q_UNUSED(connection) }

    // The first (index 0) and second (index 1) remote-address texts of the call profile being
    // edited, read by the window when the menu reports a changed remote address of a link
    // (QVantelMenuWidget::menuItemChanges with code 19 or 20). Empty by default.
    [[nodiscard]] virtual QString remoteAddressText(int index) const
    {
        Q_UNUSED(index)
        return QString();
    }

protected:
    IVantelSettingsPage() = default;
    IVantelSettingsPage(const IVantelSettingsPage &) = default;
    IVantelSettingsPage &operator=(const IVantelSettingsPage &) = default;
};
