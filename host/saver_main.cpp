// The entry function and the change-password mode: parse the command line, load the settings,
// run the chosen mode, exit 0. Pairs with saver.h; the modes live in saver_window.cpp and
// config_dialog.cpp.
#include <cstdint>
#include <cstdlib>

#include "host/measurement.h"
#include "host/saver.h"

namespace {

const char* environment(const char* name) { return std::getenv(name); }

}  // namespace

// The change-password service of the password provider library: provider name, owner window,
// two reserved numbers.
using ChangePasswordFunction = int(PLATFORM_STDCALL*)(const char* provider, std::uintptr_t window, std::uint32_t, std::uint32_t);

void changePassword(platform::WindowHandle parent) {
    const platform::LibraryHandle library = platform::loadLibrary("MPR.DLL");
    if (!library) return;
    if (void* found = platform::getProcAddress(library, "PwdChangePasswordA")) {
        const auto change = reinterpret_cast<ChangePasswordFunction>(found);
        change("SCRSAVE", parent, 0, 0);
    }
    platform::freeLibrary(library);
}

int saverMain(platform::InstanceHandle instance, std::int32_t showCommand) {
    host.instance = instance;
    readMeasurementSettings(environment);
    const CommandLine commandLine = parseCommandLine();
    host.runMode = commandLine.mode;

    SaverSettings settings;
    host.settings = &settings;
    readSystemSettings(settings);
    readOwnSettings(settings);

    switch (commandLine.mode) {
    case RunMode::ChangePassword:
        changePassword(commandLine.parent);
        break;
    case RunMode::Configure:
        platform::dialogBoxParam(instance, kConfigDialogId, commandLine.parent, configDialogProc, 0);
        break;
    case RunMode::Preview:
    case RunMode::FullScreen:
        runSaverWindow(commandLine.parent, showCommand);
        break;
    case RunMode::NoAction:
        break;
    }

    host.settings = nullptr;
    writeFrameReport();
    return 0;
}
