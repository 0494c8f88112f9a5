// The Linux build's own command-line options (those a hack of XScreenSaver is started with), taken
// out of argv before the rest is read with the saver's usual grammar. Pairs with linux_options.cpp.
#pragma once

#include <string>
#include <vector>

namespace linux_platform {

enum class DrawTarget { OwnWindow, Root, WindowId };

struct Options {
    DrawTarget target = DrawTarget::OwnWindow;
    unsigned long windowId = 0;  // with DrawTarget::WindowId
    int mirrors = -1;            // -1: the stored setting; 0 or 1: this run only
    bool fps = false;
    bool help = false;
    std::vector<std::string> words;  // everything else, for the saver's own grammar
};

// Reads argv[1..argc-1]; each option may start with one dash or two, and a window id given beside
// --root wins. Returns false with `error` set for a malformed or unexpected option.
bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error);

// A window id written in decimal or as 0x hex, as XScreenSaver writes it; 0 and numbers that do
// not fit an X id (29 bits) are refused.
bool parseWindowId(const char* text, unsigned long& id);

extern const char* const kUsage;

}  // namespace linux_platform
