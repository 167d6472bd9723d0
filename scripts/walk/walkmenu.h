#pragma once

class WalkDriver;

// The settings menu, walked as a user would: every section and every page the demo unit
// offers, first only looked at, then with every row changed and applied, then changed and left
// without Apply; then the unit's notifications on the pages that follow them, the panel's
// shortcuts into the menu, the mobile SIM's PIN, Apply during calls on both links, refused
// writes and Refresh after the unit changed.
void walkSettingsMenu(WalkDriver &walk);

// The audio pages (input gains, inputs, auxiliary, outputs) and the four headphone pages:
// knob steps, switches, popups, positions and the buttons between the pages.
void walkPanelPages(WalkDriver &walk);
