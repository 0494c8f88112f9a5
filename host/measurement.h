// The measurement settings of the benchmarks and tests, read from the environment once at start on
// every platform. Pairs with measurement.cpp; the frame loop counts each presented frame through it.
#pragma once

// Reads MORVANE_EXIT_AFTER_FRAMES (a positive count: the run ends after that many presented frames),
// MORVANE_FRAME_REPORT (1: one line on standard error at the end of the run) and MORVANE_SEED
// (0..255: the generator's seed in place of the calendar time, so that runs draw the same
// animation), through `get` (the environment's getenv). A count or seed that is not one leaves its
// setting off, with one line saying so. Every count starts again from zero.
void readMeasurementSettings(const char* (*get)(const char* name));
// Called right after each buffer swap; true once the count is reached, with the last frame finished:
// the caller then ends the run through its normal tear-down.
bool framePresented();
// Writes the frame report, when it was asked for: frames presented, the seconds from the first to
// the last of them, the same two figures for the last few seconds of the run, the longest pause
// between two presents and the most frames within a second after it, and the longest span one
// measurement of the frame clock's pacing covered.
void writeFrameReport();
