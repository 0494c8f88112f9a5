// What the Linux platform files share whichever display system draws: the display system of the run,
// the stop request of the signals, the one clock, the command line and the pictures decoded ahead.
// The display systems' own parts are in x11_internal.h and wayland_internal.h.
#pragma once

#include <cstdint>
#include <future>
#include <string>

#include "images/texture_image.h"

namespace linux_platform {

// ---- the display system (linux_display.cpp) --------------------------------------------------------
// X11 unless the run was given to Wayland, before the first call that needs a display.
void useWayland();
bool onWayland();
// Closes whichever connection the run opened.
void closeDisplay();

// ---- stop request (linux_signals.cpp, whose opening comment describes the whole path) -------------
void installStopHandlers();
void deferStop();
bool stopRequested();
// Sleeps up to `milliseconds`, returning early once a stop is requested.
void sleepUnlessStopped(std::uint32_t milliseconds);

// ---- time (linux_time.cpp) ----------------------------------------------------------------------------
// The one clock of the Linux build: CLOCK_MONOTONIC in nanoseconds, which no change of the wall clock moves.
std::int64_t monotonicNs();

// ---- process (linux_system.cpp) -----------------------------------------------------------------------
void setCommandLine(const std::string& line);

// ---- pictures (linux_pictures_ahead.cpp) -----------------------------------------------------------------
// Starts decoding the sprite field's pictures on a thread of their own; the future of the result is
// for offerPicturesAhead. An empty future where no thread could be started.
std::future<PicturesAhead> decodePicturesAhead();

}  // namespace linux_platform
