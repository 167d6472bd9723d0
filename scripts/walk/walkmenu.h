#pragma once

class WalkDriver;

// The settings menu, walked as a user would: every section and every page the demo unit
// offers, only looked at; the unit's notifications on the pages that follow them and Refresh
// after the unit changed, the mobile SIM's PIN, Apply during calls on both links, refused writes
// and the panel's shortcuts into the menu; then every section again with every row changed and
// applied, and once more changed and left without Apply; last, the unit starting over.
void walkSettingsMenu(WalkDriver &walk);

// The audio pages (input gains, inputs, auxiliary, outputs) and the four headphone pages:
// knob steps, switches, popups, positions and the buttons between the pages.
void walkPanelPages(WalkDriver &walk);

// The unit slow to answer, later than the program waits: typing into a keyboard and tapping the
// page shown while the program waits, a tap on a page the wait replaced, a page left while it
// is read, and two page buttons tapped in one wait.
void walkSlowUnit(WalkDriver &walk);

// The unit's configuration events while the operator edits an Ethernet interface: events
// between the edits, one that brings the edit itself, and one that arrives while the program
// waits for the unit and an Apply is tapped.
void walkEditsAndEvents(WalkDriver &walk);
