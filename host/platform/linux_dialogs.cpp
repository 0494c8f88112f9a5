// Linux platform: the dialogs of host/platform.h. Standard error carries the text of every message box;
// the boxes and the configuration dialog come from the GTK module of gtk_dialogs.h, opened the first
// time one is needed. Once GTK is up, the saver's own X error handlers are installed again.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/platform/gtk_dialogs.h"
#include "host/platform/x11_internal.h"
#include "host/saver_constants.h"
#include "host/saver_ids.h"

namespace {

enum class State { Untried, Ready, NoModule, NoDisplay };
State state = State::Untried;
const gtkdialogs::Module* module = nullptr;
const gtkdialogs::Host host = {linux_platform::stopRequested};

// The folder this program was started from, links resolved; empty when the system does not say.
std::string programFolder() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "";
    const std::string program(path, static_cast<std::size_t>(length));
    const std::size_t slash = program.rfind('/');
    return slash == std::string::npos ? "" : program.substr(0, slash);
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Where the module may lie, in order, and nowhere else: beside the program (the build folder); for an
// installed program, under its prefix, worked out from the install layout (the program in the
// prefix's bin/, wherever the prefix was moved, or in the hosts' hack folder); in the configured
// prefix. No other folder above the program is looked at: dlopen runs a module's constructors before
// any check, and a folder such as /tmp/lib is one any user can make.
std::vector<std::string> moduleCandidates() {
    const std::string name = std::string("/") + gtkdialogs::kFileName;
    const std::string bin = "/" MORVANE_BIN_DIR;
    const std::string hackPrefix = MORVANE_HACK_PREFIX;
    std::vector<std::string> candidates;
    const std::string folder = programFolder();
    if (!folder.empty()) {
        candidates.push_back(folder + name);
        if (endsWith(folder, bin))
            candidates.push_back(folder.substr(0, folder.size() - bin.size()) + "/" MORVANE_MODULE_DIR + name);
        if (folder == MORVANE_HACK_DIR && !hackPrefix.empty())
            candidates.push_back(hackPrefix + "/" MORVANE_MODULE_DIR + name);
    }
    candidates.push_back(MORVANE_MODULE_DIR_FULL + name);
    return candidates;
}

const gtkdialogs::Module* loadModule() {
    std::string failure = std::string("no ") + gtkdialogs::kFileName + " beside the program or in " + MORVANE_MODULE_DIR_FULL;
    for (const std::string& path : moduleCandidates()) {
        if (access(path.c_str(), F_OK) != 0) continue;
        // GTK cannot be unloaded: the module stays for the rest of the process.
        void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            failure = dlerror();
            continue;
        }
        auto entry = reinterpret_cast<gtkdialogs::EntryFunction>(dlsym(library, gtkdialogs::kEntryName));
        const gtkdialogs::Module* table = entry ? entry(gtkdialogs::kInterface) : nullptr;
        if (table) return table;
        failure = path + " is from another build of the program";
    }
    std::fprintf(stderr, "morvane: cannot show dialogs: %s\n", failure.c_str());
    return nullptr;
}

State start() {
    if (state != State::Untried) return state;
    module = loadModule();
    if (!module) return state = State::NoModule;
    const bool started = module->start(&host);
    // GTK's own handlers end the process with exit code 1 when the server goes away. Its error traps
    // lose nothing by this: GTK puts its protocol handler in for each trap and the one before it back
    // when the trap ends (tests/x11_errors).
    x11::installErrorHandlers();
    return state = started ? State::Ready : State::NoDisplay;
}

}  // namespace

namespace platform {

std::int32_t messageBox(WindowHandle owner, const char* text, const char* caption, std::uint32_t /*type*/) {
    // MB_OK is the only kind the saver shows; standard error keeps the message where no one sees a screen.
    const char* title = caption ? caption : "Error";
    const char* body = text ? text : "";
    std::fprintf(stderr, "%s: %s\n", title, body);
    std::fflush(stderr);
    if (start() != State::Ready) return 0;
    module->messageBox(owner, body, title);
    return static_cast<std::int32_t>(IDOK);
}

std::intptr_t dialogBoxParam(InstanceHandle /*instance*/, std::int32_t templateId, WindowHandle owner, DialogProc proc,
                             std::intptr_t initParam) {
    if (templateId != kConfigDialogId || !proc) return -1;
    const State started = start();
    if (started == State::NoDisplay) {
        const char* display = std::getenv("DISPLAY");
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        if (display && *display) {
            std::fprintf(stderr, "morvane: cannot show the configuration dialog: cannot open the X display \"%s\"\n",
                         display);
        } else if (wayland && *wayland) {
            std::fprintf(stderr, "morvane: cannot show the configuration dialog: cannot open the Wayland display \"%s\"\n",
                         wayland);
        } else {
            std::fputs("morvane: cannot show the configuration dialog: DISPLAY is not set\n", stderr);
        }
    }
    if (started != State::Ready) return -1;
    return module->configDialog(owner, proc, initParam);
}

bool checkDlgButton(WindowHandle dialog, std::int32_t id, std::uint32_t check) {
    return module && module->checkDlgButton(dialog, id, check);
}

std::uint32_t isDlgButtonChecked(WindowHandle dialog, std::int32_t id) {
    return module ? module->isDlgButtonChecked(dialog, id) : BST_UNCHECKED;
}

bool endDialog(WindowHandle dialog, std::intptr_t result) { return module && module->endDialog(dialog, result); }

}  // namespace platform
