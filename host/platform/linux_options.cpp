// The Linux build's own options: -root, -window-id ID, -mirrors, -no-mirrors, -fps, -help, each with
// one dash or two (XScreenSaver 6 writes two). The saver's switches (/s, /p ID, /c, -s ...) pass
// through untouched. Pairs with linux_options.h.
#include "host/platform/linux_options.h"

#include <cstring>

namespace linux_platform {

const char* const kUsage =
    "usage: morvane [/s | /p ID | /c [ID] | --root | --window-id ID] [--mirrors | --no-mirrors] [--fps]\n";

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

namespace {

// The option's name without its one or two leading dashes, or nullptr for a word that has none.
const char* optionName(const char* word) {
    if (word[0] != '-') return nullptr;
    return word[1] == '-' ? word + 2 : word + 1;
}

}  // namespace

bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error) {
    bool root = false;
    for (int i = 1; i < argc; ++i) {
        const char* word = argv[i];
        const char* name = optionName(word);
        if (!name) {
            options.words.push_back(word);
        } else if (std::strcmp(name, "root") == 0) {
            root = true;
        } else if (std::strcmp(name, "window-id") == 0) {
            if (i + 1 >= argc || !parseWindowId(argv[i + 1], options.windowId)) {
                error = i + 1 < argc ? std::string("not a window id: ") + argv[i + 1] : "--window-id needs a window id";
                return false;
            }
            options.target = DrawTarget::WindowId;
            ++i;
        } else if (std::strcmp(name, "mirrors") == 0) {
            options.mirrors = 1;
        } else if (std::strcmp(name, "no-mirrors") == 0) {
            options.mirrors = 0;
        } else if (std::strcmp(name, "fps") == 0) {
            options.fps = true;
        } else if (std::strcmp(name, "help") == 0) {
            options.help = true;
        } else if (word[1] == '-') {
            // Two dashes never start a saver switch.
            error = std::string("unknown option: ") + word;
            return false;
        } else {
            options.words.push_back(word);
        }
    }
    // XScreenSaver's settings preview passes both: the given window wins.
    if (root && options.target != DrawTarget::WindowId) options.target = DrawTarget::Root;
    // Drawing into a given window is a run mode of its own: a saver switch beside it is a mistake,
    // and so is an option this program does not know.
    if (options.target != DrawTarget::OwnWindow && !options.words.empty()) {
        error = "unknown option: " + options.words.front();
        return false;
    }
    return true;
}

}  // namespace linux_platform
