// The X11 build's own options: -root, -window-id ID, -mirrors, -no-mirrors, -fps, --help. The
// saver's switches (/s, /p ID, /c, -s ...) pass through untouched. Pairs with x11_options.h.
#include "host/platform/x11_options.h"

#include <cstring>

namespace x11 {

const char* const kUsage =
    "usage: morvane [/s | /p ID | /c [ID] | -root | -window-id ID] [-mirrors | -no-mirrors] [-fps]\n";

bool parseWindowId(const char* text, unsigned long& id) {
    if (!text || !*text) return false;
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
        if (!*text) return false;
    }
    unsigned long value = 0;
    for (const char* c = text; *c; ++c) {
        int digit = -1;
        if (*c >= '0' && *c <= '9') digit = *c - '0';
        else if (base == 16 && *c >= 'a' && *c <= 'f') digit = *c - 'a' + 10;
        else if (base == 16 && *c >= 'A' && *c <= 'F') digit = *c - 'A' + 10;
        if (digit < 0) return false;
        value = value * base + static_cast<unsigned long>(digit);
        // X resource ids have their top three bits clear, which also keeps the id within what the
        // saver's own grammar reads back from "/p ID".
        if (value > 0x1FFFFFFFul) return false;
    }
    if (value == 0) return false;
    id = value;
    return true;
}

bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error) {
    bool targetGiven = false;
    for (int i = 1; i < argc; ++i) {
        const char* word = argv[i];
        if (std::strcmp(word, "-root") == 0 || std::strcmp(word, "-window-id") == 0) {
            if (targetGiven) {
                error = "give only one of -root and -window-id";
                return false;
            }
            targetGiven = true;
            if (word[1] == 'r') {
                options.target = DrawTarget::Root;
                continue;
            }
            if (i + 1 >= argc || !parseWindowId(argv[i + 1], options.windowId)) {
                error = i + 1 < argc ? std::string("not a window id: ") + argv[i + 1] : "-window-id needs a window id";
                return false;
            }
            options.target = DrawTarget::WindowId;
            ++i;
        } else if (std::strcmp(word, "-mirrors") == 0) {
            options.mirrors = 1;
        } else if (std::strcmp(word, "-no-mirrors") == 0) {
            options.mirrors = 0;
        } else if (std::strcmp(word, "-fps") == 0) {
            options.fps = true;
        } else if (std::strcmp(word, "--help") == 0 || std::strcmp(word, "-help") == 0) {
            options.help = true;
        } else {
            options.words.push_back(word);
        }
    }
    // Drawing into a given window is a run mode of its own: a saver switch beside it is a mistake,
    // and so is an option this program does not know.
    if (targetGiven && !options.words.empty()) {
        error = "unknown option: " + options.words.front();
        return false;
    }
    return true;
}

}  // namespace x11
