#pragma once

// A front-panel page with input level meters (the audio page). The front-panel window hands it
// the device's input levels while it shows; the page lives in a higher layer than the window.
class IVantelMeterPage
{
public:
    virtual ~IVantelMeterPage() = default;

    // Hands the values in order to the page's meters, stopping at count or at the last meter;
    // reset moves the meters' peak marks with them at once.
    virtual void setMeterLevels(const int *levels, int count, bool reset) = 0;

protected:
    IVantelMeterPage() = default;
    IVantelMeterPage(const IVantelMeterPage &) = default;
    IVantelMeterPage &operator=(const IVantelMeterPage &) = default;
};
