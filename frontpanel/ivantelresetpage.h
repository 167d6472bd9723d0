#pragma once

// A front-panel page (audio and headphone pages) whose controls return to their start state
// after every login. The page lives in a higher layer than the front-panel window, which calls
// resetView() on each such page at the end of a login.
class IVantelResetPage
{
public:
    virtual ~IVantelResetPage() = default;

    virtual void resetView() = 0;

protected:
    IVantelResetPage() = default;
    IVantelResetPage(const IVantelResetPage &) = default;
    IVantelResetPage &operator=(const IVantelResetPage &) = default;
};
