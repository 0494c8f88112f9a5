// X11 platform: the measurement hook of the benchmarks and tests, read from the environment once
// at start. Pairs with x11_bench.cpp; x11_glx.cpp counts each presented frame through it.
#pragma once

namespace x11 {

// Reads MORVANE_EXIT_AFTER_FRAMES (a positive count: the run ends after that many presented frames),
// MORVANE_FRAME_REPORT (1: one line on standard error at the end of the run) and MORVANE_SEED
// (0..255: the generator's seed in place of the calendar time, so that runs draw the same
// animation). A count or seed that is not one leaves its setting off, with one line saying so.
void readBenchSettings();
// Called right after each buffer swap. Once the count is reached the run is asked to stop the way
// SIGTERM asks it, so that the normal tear-down runs and the exit code stays 0.
void framePresented();
// Writes the frame report, when it was asked for: frames presented, the seconds from the first to
// the last of them, and the same two figures for the last few seconds of the run.
void writeFrameReport();

}  // namespace x11
