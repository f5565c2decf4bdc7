// What the in-process benchmarks share: the real panel from the installation folder, set up
// as start-up leaves it, and the means to start games and let the event loop run.
#pragma once

// Loads the panel on Qt's offscreen platform; sound stays off so that only drawing counts.
void openGamePanel();
// Presses Start and answers Yes, as a player does.
void startGameAnsweringYes();
// Runs the event loop for the given seconds (paints, timer ticks).
void runEventLoop(double seconds);
// Seconds of CPU time used by the process so far.
double processCpuSeconds();
// Resident memory of the process in KiB.
long residentKiB();
