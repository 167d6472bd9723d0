#pragma once

#include <QString>

namespace ksm {
class CMsg;
} // namespace ksm

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
    // Id of the root entry opened last, -1 before any.
    [[nodiscard]] virtual int lastSectionId() const = 0;

    // Notifications: every INFO message the window handled (and the "core" audio change-set the
    // window builds itself), every EVENT but "relay_in", and the device becoming busy (shutting
    // down, rebooting, updating) or released (a "display" message).
    virtual void audioChangesetEvent(const ksm::CMsg &message) = 0;
    virtual void configurationEvent(const ksm::CMsg &message) = 0;
    virtual void deviceBusy(bool busy) = 0;
    virtual void deviceReleased(bool released) = 0;

protected:
    IVantelSettingsPage() = default;
    IVantelSettingsPage(const IVantelSettingsPage &) = default;
    IVantelSettingsPage &operator=(const IVantelSettingsPage &) = default;
};
