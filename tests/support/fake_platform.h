// The scripted platform of the unit and GL tests: every service of host/platform.h answered from
// fake::state, which a test sets before the code runs and reads afterwards. Windows and the queue
// are the window model's (host/platform/window_model.h), as on X11: tests ask it directly.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/platform.h"
#include "host/platform/window_model.h"
#include "host/saver_constants.h"

namespace fake {

// The handle loadCursor gives for the arrow.
constexpr platform::CursorHandle kArrowCursor = 0xA770;

struct Size {
    std::int32_t width, height;
};
struct CreatedWindow {
    platform::WindowHandle handle;
    std::uint32_t exStyle;
    std::string className, title;
    std::uint32_t style;
    platform::Rect rect;  // x, y, x + width, y + height as asked for
    platform::WindowHandle parent;
};
struct MessageBoxCall {
    platform::WindowHandle owner;
    std::string text, caption;
    std::uint32_t type;
};
struct DialogCall {
    std::int32_t templateId;
    platform::WindowHandle owner;
    std::intptr_t initParam, initResult, result;  // initResult: the procedure's answer to WM_INITDIALOG
};
struct KeyOpen {
    std::string path;
    std::uint32_t access;
    bool create;
    std::int32_t result;
};
using Bytes = std::vector<std::uint8_t>;

struct State {
    // ---- what the test scripts; the defaults are a plain NT machine --------------------------------
    std::string commandLine = "morvane.scr";
    Size screen = {1920, 1080};
    // SM_XVIRTUALSCREEN..SM_CYVIRTUALSCREEN; unset, the primary screen at (0, 0).
    std::optional<platform::Rect> virtualScreen;
    std::vector<platform::Rect> monitors;  // getMonitorRects; none: the platform cannot tell
    platform::WindowHandle foreground = 0;
    platform::Point cursor = {0, 0};
    bool cursorUnknown = false;  // getCursorPos fails while set
    std::uint32_t tick = 0;
    std::int64_t counter = 0;
    std::int64_t frequency = 1000000;
    std::uint32_t platformId = VER_PLATFORM_WIN32_NT;

    std::function<bool()> displayPowerHook;  // isDisplayOff asks it once a call; unset, the display is on
    bool resumedFromStop = false;            // takeResumedFromStop answers it once
    bool stopRequested = false;              // takeStopRequest answers it once
    std::optional<Size> newWindowSize;       // takeNewWindowSize answers it once
    // getWindowDrawables; none: the window's own device context over the window, as on X11.
    std::vector<platform::Drawable> drawables;

    bool failRegisterClass = false;
    std::int32_t pixelFormat = 7;  // what choosePixelFormat answers
    bool failSetPixelFormat = false;
    // Answers getGlProcAddress; unset, the context offers nothing beyond OpenGL 1.1.
    std::function<void*(const char* name)> glProcAddress;
    // Runs inside sleepMs: a test's stand-in for time passing between frames (it may post messages).
    std::function<void(std::uint32_t milliseconds)> sleepHook;
    // Runs inside each logged call, after it is logged: a message box's modal loop, or a check of the
    // state the code is in at that call.
    std::function<void(const std::string& call)> callHook;

    // What the user does inside each modal dialog, after WM_INITDIALOG. A dialog that is not ended
    // (endDialog sets dialogResult) returns -1.
    std::function<void(platform::WindowHandle dialog, platform::DialogProc proc)> userInDialog;

    std::map<std::string, std::map<std::string, void*>> libraries;  // name -> its functions
    // Settings: key path -> value name -> bytes. Opening a read-only key with write access
    // (KEY_SET_VALUE, KEY_CREATE_SUB_KEY), or an unreadable key at all, fails with ERROR_ACCESS_DENIED,
    // as do reads of an unreadable value and, with failSettingWrites, every write.
    std::map<std::string, std::map<std::string, Bytes>> settings;
    std::set<std::string> readOnlyKeys;
    std::set<std::string> unreadableKeys;
    std::set<std::pair<std::string, std::string>> unreadableValues;
    bool failSettingWrites = false;
    // Resources replacing or adding to the embedded ones; nullopt hides one from findResource.
    std::map<std::string, std::optional<Bytes>> resources;

    // ---- what the fake records, in the order the code asked ----------------------------------------
    // The calls that matter to set-up and tear-down order, one line each as fake_platform.cpp logs
    // them: "createWindow SaverWindow", "setPixelFormat 7", "makeCurrent 0", "sleep 41" and so on.
    std::vector<std::string> calls;
    std::vector<platform::WindowClass> registeredClasses;
    std::vector<CreatedWindow> createdWindows;
    std::vector<platform::Message> posted;          // postMessage
    std::vector<platform::Message> defaultHandled;  // defWindowProc
    std::vector<std::int32_t> quitCodes;
    std::vector<platform::CursorHandle> cursorsSet;
    std::vector<bool> screenSaverRunning;
    std::vector<platform::PixelFormatRequest> pixelFormatRequests;
    std::int32_t swaps = 0;
    std::vector<std::uint32_t> sleeps;
    std::int32_t monitorQueries = 0;
    std::int32_t displayPowerQueries = 0;
    std::vector<MessageBoxCall> messageBoxes;
    std::vector<DialogCall> dialogs;
    std::map<std::int32_t, std::uint32_t> buttons;  // check box states of the last dialog
    std::optional<std::intptr_t> dialogResult;      // of the last dialog, once ended
    std::vector<std::string> loadedLibraries;       // each load, found or not
    std::map<platform::LibraryHandle, std::string> openLibraries;
    std::vector<KeyOpen> keyOpens;
    std::map<platform::SettingsKey, std::string> openKeys;
    std::int32_t settingWrites = 0;

    // ---- the fake's own bookkeeping ----------------------------------------------------------------
    std::map<platform::WindowHandle, platform::Rect> windowRects;
    std::uintptr_t nextHandle = 0x100;  // windows, dialogs, keys and libraries alike
};
extern State state;

// Everything back to the defaults above, the window model emptied.
void reset();
void setSettingDword(const std::string& path, const std::string& name, std::uint32_t value);
// A window that some other program owns (a preview parent): no procedure of the saver's.
platform::WindowHandle addForeignWindow(const platform::Rect& rect);

}  // namespace fake
