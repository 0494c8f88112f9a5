// The saver host: run modes, the settings record, and the process-wide state that the window
// procedure and the dialog procedure reach without a context argument.
#pragma once

#include <cstdint>
#include <vector>

#include "host/platform.h"
#include "host/saver_ids.h"
#include "scene/frame_flags.h"
#include "scene/viewports.h"

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

// The system's values where it stores none.
constexpr std::int32_t kDefaultPasswordDelay = 15;  // seconds
constexpr std::int32_t kDefaultMouseThreshold = 50;  // pixels, on either axis

struct SaverSettings {
    platform::WindowHandle window = 0;
    std::int32_t passwordDelay = kDefaultPasswordDelay;  // seconds
    std::int32_t mouseThreshold = kDefaultMouseThreshold;  // pixels, on either axis
    platform::Point startCursor = {0, 0};
    // False where the platform could not tell at the start where the pointer is (Wayland tells a
    // client only once the pointer comes over its window): the first position it reports is the start.
    bool startCursorKnown = true;
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
    // True while runSaverWindow sets up, until its Scene exists and the window is about to be shown:
    // a message box of a failed set-up takes the focus, and that must not close the saver under it.
    bool settingUp = false;
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

// The frame flags for the Mirrors setting (kMirrorFlag when on).
std::int32_t frameFlags(std::uint32_t useMirrors);

// The saver window's set-up and tear-down around the Scene, apart so that they can be exercised
// without a GL context. openSaverWindow registers the class, creates the window (raising the
// screen-saver-running state in full screen), sets the pixel format and makes a GL context current;
// on failure it has shown its message, undone what it raised and returns false.
struct SaverSurface {
    platform::WindowHandle window = 0;
    platform::DeviceContext dc = 0;
    platform::GlContext context = 0;
    std::int32_t x = 0;  // the window's origin in screen coordinates; negative where the virtual
    std::int32_t y = 0;  // screen extends left of or above the primary monitor
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool saverRunningRaised = false;
    // Where the picture is drawn: each of the window's drawables (getWindowDrawables) with its
    // viewports, one per monitor it covers (full screen) or the whole drawable. A drawable without
    // viewports is not drawn.
    struct Drawable {
        platform::DeviceContext dc = 0;
        std::vector<SceneViewport> viewports;
    };
    std::vector<Drawable> drawables;
};
bool openSaverWindow(platform::WindowHandle parent, SaverSurface& surface);
// The monitors, of those given, that show a picture of their own, in their order: not one enclosed
// by another monitor, the same as an earlier one, or partly over an earlier one (as the X11 hosts
// decide: the area only it covers stays black), nor an empty one.
std::vector<platform::Rect> monitorsWithAPicture(const platform::Rect* monitors, std::int32_t count);
// The viewports of a full-screen window at `window` (screen coordinates): one per monitor that the
// platform reports and that shows a picture of its own, cut to the window; the whole window when
// the platform knows no monitors.
std::vector<SceneViewport> fullScreenViewports(const platform::Rect& window);
// Where the platform resized the saver window (its parent, the screen or the outputs changed), takes
// the new size and lays the drawables and their viewports out again as openSaverWindow does; returns
// whether anything changed.
bool followWindowSize(SaverSurface& surface);
// After the Scene is gone: no context current, the device context released, the context deleted,
// the screen-saver-running state lowered if it was raised.
void closeSaverWindow(const SaverSurface& surface);

// What the frame loop draws with: render composes a frame, presents it and says whether anything
// was presented; pauseMs is read after every frame.
struct FrameStep {
    bool (*render)(void* target, std::int32_t flags);
    std::int32_t (*pauseMs)(void* target);
    void* target;
    // Called when the display comes back on, before the first frame after the dark spell.
    void (*resume)(void* target) = nullptr;
};
// Drains every waiting message, then draws, presents and sleeps; returns at WM_QUIT. While the
// display is powered off it draws nothing and sleeps kDisplayOffPauseMs between turns, so input is
// still answered within that time.
constexpr std::uint32_t kDisplayOffPauseMs = 250;
void runFrameLoop(const SaverSettings& settings, const FrameStep& step);
// One frame of `scene` in every drawable of `surface` that has viewports: the animation moved on
// once, then in each drawable, with the surface's context made current there (unless the drawable
// is the window's own device context, where it is current already), the picture drawn, the
// platform's overlay laid over it and the frame presented. Returns whether any was presented.
bool presentFrame(Scene& scene, const SaverSurface& surface, std::int32_t flags);

// The close rules of the window procedure as functions of numbers. Ticks are the platform's wrapping
// 32-bit milliseconds; the delay is in seconds and multiplied in 32-bit unsigned arithmetic.
bool closeWithinDelay(std::uint32_t now, std::uint32_t startTick, std::int32_t passwordDelay);
// True when the cursor is more than `threshold` pixels from `start` on either axis.
bool cursorMovedBeyond(platform::Point start, platform::Point now, std::int32_t threshold);

