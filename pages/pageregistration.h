#pragma once

// Registers the front-panel pages of this library with the window's page factory. The main
// window calls it once, before it builds the front-panel window. Each page family has its own
// registration function, called from here.
void registerPages();

// The audio, input, auxiliary and output pages (stack slots 3 to 6).
void registerAudioPages();

// The four headphone monitoring pages (stack slots 7 to 10).
void registerHeadphonePages();
