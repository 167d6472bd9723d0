#pragma once

// The system's font configuration (every configuration file and font cache) takes longer to load
// than anything else before the main window's first frame, and nothing needs it until the first
// text is measured. startFontWarmup() loads it on a worker thread while the application object
// and the first widgets are built; waitForFontWarmup() joins that thread and must run before the
// first text is measured, so that the toolkit finds the configuration ready instead of loading
// it a second time. Waiting without a start, or twice, does nothing. Main thread only.
void startFontWarmup();
void waitForFontWarmup();
