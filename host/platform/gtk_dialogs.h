// The dialogs module: GTK's message box and configuration dialog, built as a shared object of its own
// (morvane-gtk.so) that linux_dialogs.cpp opens the first time one is shown. The saver and the display
// modes never show one, so they never load GTK. The program and the module are built together; the
// interface number keeps a module of another build from being used.
#pragma once

#include <cstdint>

#include "host/platform.h"

namespace gtkdialogs {

constexpr std::uint32_t kInterface = 1;
constexpr const char* kEntryName = "morvane_gtk_dialogs";
constexpr const char* kFileName = "morvane-gtk.so";

// What the module asks of the program.
struct Host {
    bool (*stopRequested)();  // SIGTERM, SIGINT or SIGHUP arrived since the saver window was shown
};

struct Module {
    // Starts GTK on a connection of its own; false when no display (X11 or Wayland) can be opened.
    bool (*start)(const Host* host);
    // An error box with one OK button, over `owner` when that is a window; returns once answered.
    void (*messageBox)(platform::WindowHandle owner, const char* text, const char* caption);
    // The configuration dialog, run modally; -1 when it cannot be made.
    std::intptr_t (*configDialog)(platform::WindowHandle owner, platform::DialogProc proc, std::intptr_t initParam);
    bool (*checkDlgButton)(platform::WindowHandle dialog, std::int32_t id, std::uint32_t check);
    std::uint32_t (*isDlgButtonChecked)(platform::WindowHandle dialog, std::int32_t id);
    bool (*endDialog)(platform::WindowHandle dialog, std::intptr_t result);
};

// The module's one exported function: its table, or null when `version` is not its own interface.
using EntryFunction = const Module* (*)(std::uint32_t version);

}  // namespace gtkdialogs
