// The scripted platform of the unit and GL tests: every service of host/platform.h, with the
// cursor, ticks, counter, settings and resources set by the test and every call that matters recorded.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/platform.h"

namespace fake {

// Everything back to its starting state: no windows, no settings, cursor (0, 0), tick 0, counter 0
// at 1,000,000 counts per second, NT platform, every embedded picture present.
void reset();

// Time
void setTickCount(std::uint32_t milliseconds);
void setPerformanceCounter(std::int64_t counts);
void setPerformanceFrequency(std::int64_t countsPerSecond);

// Embedded data: by default the real embedded pictures. A test may replace or add a resource, or
// hide one so that findResource fails for it.
void setResource(const std::string& name, const std::vector<std::uint8_t>& bytes);
void hideResource(const std::string& name);

// ---- process and screen ------------------------------------------------------------------------
void setCommandLine(const std::string& line);  // "morvane.scr" after reset
void setScreenSize(std::int32_t width, std::int32_t height);  // 1920 x 1080 after reset
void setForegroundWindow(platform::WindowHandle window);  // 0 after reset
// The virtual screen that spans every monitor (SM_XVIRTUALSCREEN..SM_CYVIRTUALSCREEN): after reset
// it follows the primary screen, (0, 0) and the size of setScreenSize.
void setVirtualScreen(const platform::Rect& rect);
// What getMonitorRects answers: none after reset (the platform cannot tell).
void setMonitors(const std::vector<platform::Rect>& monitors);
std::int32_t monitorQueries();  // calls of getMonitorRects

// ---- display power -----------------------------------------------------------------------------
// What isDisplayOff answers: false after reset. The hook, when set, is asked instead, once a call,
// so a test can switch the display on and off as the loop goes.
void setDisplayOff(bool off);
void setDisplayPowerHook(std::function<bool()> hook);
std::int32_t displayPowerQueries();  // calls of isDisplayOff
// The next takeResumedFromStop answers true, once.
void resumeFromStop();
// The next takeNewWindowSize answers true with this size, once.
void resizeSaverWindow(std::int32_t width, std::int32_t height);

// ---- windows and messages ----------------------------------------------------------------------
// The windows and the queue are the window model's (host/platform/window_model.h), as on X11; what
// follows scripts and records around it. A window that some other program owns (a preview parent): it has no procedure of the saver's,
// its default handling is the platform's.
platform::WindowHandle addForeignWindow(const platform::Rect& rect);
bool windowExists(platform::WindowHandle window);
platform::WindowHandle windowParent(platform::WindowHandle window);
void failRegisterClass(bool fail);

struct CreatedWindow {
    platform::WindowHandle handle;
    std::uint32_t exStyle;
    std::string className;
    std::string title;
    std::uint32_t style;
    platform::Rect rect;  // x, y, x + width, y + height as asked for
    platform::WindowHandle parent;
};
const std::vector<CreatedWindow>& createdWindows();
const std::vector<platform::WindowClass>& registeredClasses();

// Messages in the order the code asked for them.
const std::vector<platform::Message>& postedMessages();
const std::vector<platform::Message>& defaultHandled();  // every call of defWindowProc
std::vector<std::int32_t> quitCodes();  // every postQuitMessage
std::size_t queuedMessageCount();
// Puts a message in the queue as if the platform had posted it (input, say); not recorded as posted.
void queueMessage(const platform::Message& message);

// ---- cursor ------------------------------------------------------------------------------------
void setCursorPos(std::int32_t x, std::int32_t y);
// The handle loadCursor gives for the arrow.
constexpr platform::CursorHandle kArrowCursor = 0xA770;
const std::vector<platform::CursorHandle>& cursorsSet();

// ---- saver state -------------------------------------------------------------------------------
const std::vector<bool>& screenSaverRunningCalls();

// ---- drawing surface ---------------------------------------------------------------------------
void setChoosePixelFormatResult(std::int32_t format);  // 7 after reset
void failSetPixelFormat(bool fail);
const std::vector<platform::PixelFormatRequest>& pixelFormatRequests();
std::int32_t swapCount();
// Every sleepMs, in order. The hook, when set, runs inside sleepMs (a test's stand-in for time
// passing between frames: it may queue messages).
const std::vector<std::uint32_t>& sleeps();
void setSleepHook(std::function<void(std::uint32_t milliseconds)> hook);

// The ordered log of the calls that matter to set-up and tear-down order, one line each, e.g.
// "registerClass OpenGL", "createWindow SaverWindow", "setScreenSaverRunning 1", "getDC",
// "choosePixelFormat", "setPixelFormat 7", "createGlContext", "makeCurrent 1", "makeCurrent 0",
// "showWindow 10", "releaseDC", "deleteGlContext", "destroyWindow", "messageBox", "sleep 41",
// "swapBuffers", "loadLibrary NAME", "freeLibrary", "dialogBoxParam 104".
const std::vector<std::string>& calls();
// Runs after each call is logged, inside it: a message box's modal loop, say, or a check of the
// state the code is in at that call.
void setCallHook(std::function<void(const std::string& call)> hook);

// ---- dialogs -----------------------------------------------------------------------------------
struct MessageBoxCall {
    platform::WindowHandle owner;
    std::string text;
    std::string caption;
    std::uint32_t type;
};
const std::vector<MessageBoxCall>& messageBoxes();

// One thing the user does inside a modal dialog: click a control (an automatic check box toggles
// and then notifies; any other control just notifies its id with WM_COMMAND), or set a check box
// directly with no notification.
struct DialogStep {
    enum class Kind { Click, SetCheck } kind;
    std::int32_t id;
    std::uint32_t check = 0;  // SetCheck only
};
// The script for the next dialogs; the check boxes listed in `autoCheckBoxes` toggle when clicked.
// A dialog whose script ends without EndDialog returns -1.
void setDialogScript(const std::vector<DialogStep>& steps, const std::vector<std::int32_t>& autoCheckBoxes = {});
struct DialogCall {
    std::int32_t templateId;
    platform::WindowHandle owner;
    std::intptr_t initParam;
    std::intptr_t initResult;  // what the procedure answered to WM_INITDIALOG
    std::uint32_t checkAfterInit;  // state of the first auto check box after WM_INITDIALOG
    std::intptr_t result;
};
const std::vector<DialogCall>& dialogs();
std::uint32_t dialogButtonState(std::int32_t id);  // of the last dialog

// ---- libraries ---------------------------------------------------------------------------------
void setPlatformId(std::uint32_t id);  // 2 after reset
// Makes `library` loadable with the function `name`. A library with no functions: setLibrary(name).
void setLibrary(const std::string& library);
void setLibraryFunction(const std::string& library, const std::string& name, void* function);
const std::vector<std::string>& loadedLibraries();  // names, each load
std::int32_t openLibraryCount();  // loaded and not yet freed

// ---- settings ----------------------------------------------------------------------------------
void setSettingBytes(const std::string& path, const std::string& name, const std::vector<std::uint8_t>& bytes);
void setSettingDword(const std::string& path, const std::string& name, std::uint32_t value);
bool hasSettingKey(const std::string& path);
// True with the value's bytes when it exists.
bool settingBytes(const std::string& path, const std::string& name, std::vector<std::uint8_t>& bytes);
// Opening with any access that includes writing (KEY_SET_VALUE 0x2, KEY_CREATE_SUB_KEY 0x4) fails with
// ERROR_ACCESS_DENIED (5): a key the user may read but not write.
void setKeyReadOnly(const std::string& path);
// Opening fails with ERROR_ACCESS_DENIED whatever the access.
void setKeyUnreadable(const std::string& path);
// Every read of this value fails, although it is there.
void setValueUnreadable(const std::string& path, const std::string& name);
// Every regSetValueDword fails with ERROR_ACCESS_DENIED.
void failSettingWrites(bool fail);
struct KeyOpen {
    std::string path;
    std::uint32_t access;
    bool create;
    std::int32_t result;
};
const std::vector<KeyOpen>& keyOpens();
std::int32_t openKeyCount();  // opened and not yet closed
std::int32_t settingWriteCount();

}  // namespace fake
