// The saver host: run modes, the settings record, and the process-wide state that the window
// procedure and the dialog procedure reach without a context argument.
#pragma once

#include <cstdint>

#include "host/platform.h"

class Scene;

enum class RunMode : std::int32_t {
    NoAction = 0,
    Configure = 1,
    ChangePassword = 2,
    Preview = 3,
    FullScreen = 4,
};

struct CommandLine {
    RunMode mode;
    platform::WindowHandle parent;
};

struct SaverSettings {
    platform::WindowHandle window = 0;
    std::int32_t passwordDelay = 15;  // seconds
    std::int32_t mouseThreshold = 50;  // pixels, on either axis
    platform::Point startCursor = {0, 0};
    std::uint32_t startTick = 0;  // milliseconds of the platform tick
    std::uint32_t checkingPassword = 0;
    std::uint32_t closeRequested = 0;
    std::uint32_t useMirrors = 1;
};

// Process-wide host state, one of each.
struct HostState {
    RunMode runMode = RunMode::NoAction;
    platform::InstanceHandle instance = 0;
    SaverSettings* settings = nullptr;
    platform::WindowHandle saverWindow = 0;
    Scene* scene = nullptr;
};
extern HostState host;

// Entry function: called once by the platform's start-up code. Returns 0 in every case.
int saverMain(platform::InstanceHandle instance, std::int32_t showCommand);

// The command-line grammar as a pure function of the line's text. `foreground` stands in for
// GetForegroundWindow, asked only when "/c" is followed by nothing but spaces and colons.
CommandLine parseCommandLineText(const char* line, platform::WindowHandle (*foreground)());
// The process's own command line, through the platform.
CommandLine parseCommandLine();

void changePassword(platform::WindowHandle parent);
void runSaverWindow(platform::WindowHandle parent, std::int32_t showCommand);

std::intptr_t saverWindowProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam);
void requestClose();
void beginPasswordPrompt();
void endPasswordPrompt();
std::int32_t verifyPassword(platform::WindowHandle window);

void readSystemSettings(SaverSettings& settings);
void readOwnSettings(SaverSettings& settings);
void writeOwnSettings(const SaverSettings& settings);
std::intptr_t configDialogProc(platform::WindowHandle dialog, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam);

// The frame flags word handed to Scene::render: bit 16 when the mirrors are on.
constexpr std::int32_t kMirrorFlag = 0x10000;
