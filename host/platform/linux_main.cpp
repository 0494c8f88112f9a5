// The Linux build's entry point: reads its own options (the hack options of XScreenSaver), rebuilds
// the saver's command line from what is left, picks the display system (Wayland for a full-screen
// run in a Wayland session, X11 for everything else) and runs the host's entry function. Exit code 0
// in every case. Pairs with linux_options.h and host/saver.h (saverMain).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/platform/settings_override.h"
#include "host/platform/x11_internal.h"
#include "host/platform/linux_options.h"
#include "host/saver.h"
#include "host/saver_constants.h"

namespace {

// The module handle stands for this program; any non-zero value does, as nothing looks inside it.
const char moduleTag = 0;

// The program path first, in double quotes when it holds a space, as the saver's grammar expects.
std::string programWord(const char* path) {
    const std::string word = path && *path ? path : "morvane";
    return word.find(' ') == std::string::npos ? word : "\"" + word + "\"";
}

// The window a hack draws into: --window-id's, else $XSCREENSAVER_WINDOW's (when set and not
// empty), else the root window. Returns 0 (after saying why) when there is none.
unsigned long targetWindow(const linux_platform::Options& options) {
    if (options.target == linux_platform::DrawTarget::WindowId) return options.windowId;
    const char* named = std::getenv("XSCREENSAVER_WINDOW");
    if (named && *named) {
        unsigned long id = 0;
        if (linux_platform::parseWindowId(named, id)) return id;
        std::fprintf(stderr, "morvane: XSCREENSAVER_WINDOW is not a window id: \"%s\"\n", named);
        return 0;
    }
    Display* d = x11::display();
    return d ? DefaultRootWindow(d) : 0;
}

// A full-screen run draws through Wayland in a Wayland session, also where Xwayland offers X11 beside
// it; a host's window (--root, --window-id, a preview's /p) is an X window, and stays X11's.
bool drawsThroughWayland(const linux_platform::Options& options, RunMode mode) {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return wayland && *wayland && options.target == linux_platform::DrawTarget::OwnWindow &&
           mode == RunMode::FullScreen;
}

}  // namespace

int main(int argc, char** argv) {
    linux_platform::Options options;
    std::string error;
    if (!linux_platform::parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "morvane: %s\n%s", error.c_str(), linux_platform::kUsage);
        return 0;
    }
    if (options.help) {
        std::fputs(linux_platform::kUsage, stdout);
        return 0;
    }
    linux_platform::installStopHandlers();

    std::string line = programWord(argc > 0 ? argv[0] : nullptr);
    if (options.target == linux_platform::DrawTarget::OwnWindow) {
        for (const std::string& word : options.words) line += " " + word;
    } else {
        // A hack draws the way the preview does: a child of the given window, no input taken.
        const unsigned long window = targetWindow(options);
        if (window == 0) return 0;
        line += " /p " + std::to_string(window);
        x11::leaveCursorToHost();
        // The host's own settings decide a display mode's look: its "Use mirrors" box adds
        // --no-mirrors when cleared and nothing when ticked, so no option means mirrors.
        if (options.mirrors < 0) options.mirrors = 1;
    }
    linux_platform::setCommandLine(line);
    const RunMode mode = parseCommandLineText(line.c_str(), nullptr).mode;
    if (drawsThroughWayland(options, mode)) linux_platform::useWayland();
    // An override is for the run it is given to: the dialog shows and stores the stored value.
    if (options.mirrors >= 0 && mode != RunMode::Configure)
        overrideSettingValue(kOwnSettingsKey, kUseMirrorsValue, static_cast<std::uint32_t>(options.mirrors));
    x11::setShowFps(options.fps);
    if (mode == RunMode::FullScreen || mode == RunMode::Preview) {
        // Mesa's software renderer draws on this thread rather than on helpers of its own, unless the
        // user chose otherwise: handing each frame's work to them and back cost more than it saved,
        // 7.2 against 5.8 ms of processor time a frame at 1920x1080, and a 3840x2160 frame still
        // takes under 20 ms on one core. No other driver reads the variable.
        setenv("LP_NUM_THREADS", "0", 0);
        // A run that draws decodes its pictures meanwhile on a spare processor.
        offerPicturesAhead(linux_platform::decodePicturesAhead());
    }

    const int result = saverMain(reinterpret_cast<platform::InstanceHandle>(&moduleTag), SW_SHOWDEFAULT);
    dropPicturesAhead();
    linux_platform::closeDisplay();
    return result;
}
