#pragma once

class QWidget;

// A headphone page (headphones 1 to 4) as the front-panel window sees it. The pages live in a
// higher layer than the window; when headphone page 1 or 2 (registered with
// QVantelWindow::registerHeadphonePage()) asks, through its copySettingsClicked(int) signal, for
// its monitoring mix to be copied to page 1 to 4, the window hands the asking page to the
// target's copySettingsFrom().
class IVantelHeadphonePage
{
public:
    virtual ~IVantelHeadphonePage() = default;

    // Takes over the monitoring settings of source, another headphone page.
    virtual void copySettingsFrom(QWidget *source) = 0;

protected:
    IVantelHeadphonePage() = default;
    IVantelHeadphonePage(const IVantelHeadphonePage &) = default;
    IVantelHeadphonePage &operator=(const IVantelHeadphonePage &) = default;
};
