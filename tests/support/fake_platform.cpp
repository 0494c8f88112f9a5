// The scripted test platform: host/platform.h answered from fake::state and the window model, with
// every call that matters recorded there.
#include "tests/support/fake_platform.h"

#include <cstring>
#include <list>

#include "resources/embedded.h"

namespace fake {

State state;

void reset() { state = State(); window_model::reset(); }

void setSettingDword(const std::string& path, const std::string& name, std::uint32_t value) {
    Bytes bytes(4);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    state.settings[path][name] = bytes;
}

platform::WindowHandle addForeignWindow(const platform::Rect& rect) {
    const platform::WindowHandle handle = state.nextHandle++;
    state.windowRects[handle] = rect;
    window_model::create(handle, nullptr, 0);
    return handle;
}

}  // namespace fake

namespace {

using fake::state;

// Logs the call, runs the test's hook on it, and answers true.
bool logged(const std::string& call) {
    state.calls.push_back(call);
    if (state.callHook) state.callHook(call);
    return true;
}

// regOpenKey, and regCreateKey when `create`.
std::int32_t openKey(const char* path, std::uint32_t access, bool create, platform::SettingsKey& key) {
    constexpr std::uint32_t kWriteAccess = 0x2 | 0x4;  // KEY_SET_VALUE, KEY_CREATE_SUB_KEY
    const std::string wanted = path ? path : "";
    std::int32_t result = ERROR_SUCCESS;
    if (state.unreadableKeys.count(wanted) || (state.readOnlyKeys.count(wanted) && (access & kWriteAccess)))
        result = ERROR_ACCESS_DENIED;
    else if (!create && !state.settings.count(wanted))
        result = ERROR_FILE_NOT_FOUND;
    state.keyOpens.push_back({wanted, access, create, result});
    if (result != ERROR_SUCCESS) return result;
    state.settings[wanted];
    key = state.nextHandle++;
    state.openKeys[key] = wanted;
    return result;
}

// Resources a test replaced, as entries of the embedded table's form. The code may hold a locked
// resource past a reset, so they are kept for the process.
struct Replaced {
    std::string name;
    fake::Bytes bytes;
    EmbeddedResource entry;
};
std::list<Replaced> replacedResources;

}  // namespace

namespace platform {

const char* getCommandLine() { return state.commandLine.c_str(); }

// ---- windows and messages: the window model's, recorded --------------------------------------------
bool registerClass(const WindowClass& windowClass) {
    logged(std::string("registerClass ") + (windowClass.className ? windowClass.className : ""));
    if (state.failRegisterClass || !window_model::registerClass(windowClass.className, windowClass.windowProc))
        return false;
    state.registeredClasses.push_back(windowClass);
    return true;
}

WindowHandle createWindow(std::uint32_t exStyle, const char* className, const char* title, std::uint32_t style,
                          std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          WindowHandle parent, InstanceHandle) {
    logged(std::string("createWindow ") + (title ? title : ""));
    const WindowProc proc = window_model::classProc(className);
    if (!proc || (((style & WS_CHILD) || parent != 0) && !window_model::alive(parent))) return 0;
    const WindowHandle handle = state.nextHandle++;
    const Rect rect = {x, y, x + width, y + height};
    state.windowRects[handle] = rect;
    state.createdWindows.push_back({handle, exStyle, className, title ? title : "", style, rect, parent});
    return window_model::create(handle, proc, parent) ? handle : 0;
}

bool showWindow(WindowHandle window, std::int32_t show) {
    return logged("showWindow " + std::to_string(show)) && window_model::alive(window);
}
bool destroyWindow(WindowHandle window) { return logged("destroyWindow") && window_model::destroy(window); }
std::intptr_t defWindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    state.defaultHandled.push_back({window, message, wParam, lParam});
    return window_model::defaultProc(window, message, wParam, lParam);
}
bool peekMessage(Message& message) { return window_model::take(message); }
bool translateMessage(const Message& message) { return message.message == WM_KEYDOWN; }
std::intptr_t dispatchMessage(const Message& message) { return window_model::dispatch(message); }
bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    state.posted.push_back({window, message, wParam, lParam});
    return window_model::post(window, message, wParam, lParam);
}
std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return window_model::send(window, message, wParam, lParam);
}
void postQuitMessage(std::int32_t exitCode) { state.quitCodes.push_back(exitCode); window_model::postQuit(exitCode); }
bool getWindowRect(WindowHandle window, Rect& rect) {
    if (!window_model::alive(window)) return false;
    rect = state.windowRects[window];
    return true;
}

// ---- screen, input, time -----------------------------------------------------------------------
std::int32_t getSystemMetrics(std::int32_t index) {
    const Rect virtualScreen = state.virtualScreen.value_or(Rect{0, 0, state.screen.width, state.screen.height});
    switch (index) {
    case SM_CXSCREEN: return state.screen.width;
    case SM_CYSCREEN: return state.screen.height;
    case SM_XVIRTUALSCREEN: return virtualScreen.left;
    case SM_YVIRTUALSCREEN: return virtualScreen.top;
    case SM_CXVIRTUALSCREEN: return virtualScreen.right - virtualScreen.left;
    case SM_CYVIRTUALSCREEN: return virtualScreen.bottom - virtualScreen.top;
    default: return 0;
    }
}
std::int32_t getMonitorRects(Rect* rects, std::int32_t capacity) {
    ++state.monitorQueries;
    const std::int32_t count = static_cast<std::int32_t>(state.monitors.size());
    for (std::int32_t i = 0; rects && i < count && i < capacity; ++i) rects[i] = state.monitors[i];
    return count;
}
bool isDisplayOff() {
    ++state.displayPowerQueries;
    return state.displayPowerHook && state.displayPowerHook();
}
bool takeResumedFromStop() { return std::exchange(state.resumedFromStop, false); }
bool takeStopRequest() { return std::exchange(state.stopRequested, false); }
bool takeNewWindowSize(WindowHandle window, std::int32_t& width, std::int32_t& height) {
    const std::optional<fake::Size> size = std::exchange(state.newWindowSize, std::nullopt);
    if (!size) return false;
    width = size->width, height = size->height;
    Rect& rect = state.windowRects[window];
    rect.right = rect.left + width, rect.bottom = rect.top + height;
    return true;
}
WindowHandle getForegroundWindow() { return state.foreground; }
bool getCursorPos(Point& point) {
    if (state.cursorUnknown) return false;
    point = state.cursor;
    return true;
}
CursorHandle loadCursor(InstanceHandle instance, std::uintptr_t id) {
    return !instance && id == IDC_ARROW ? fake::kArrowCursor : 0;
}
CursorHandle setCursor(CursorHandle cursor) {
    const CursorHandle previous = state.cursorsSet.empty() ? 0 : state.cursorsSet.back();
    state.cursorsSet.push_back(cursor);
    return previous;
}
bool setScreenSaverRunning(bool running) {
    logged(running ? "setScreenSaverRunning 1" : "setScreenSaverRunning 0");
    state.screenSaverRunning.push_back(running);
    return true;
}
std::uint32_t getTickCount() { return state.tick; }
void sleepMs(std::uint32_t milliseconds) {
    logged("sleep " + std::to_string(milliseconds));
    state.sleeps.push_back(milliseconds);
    if (state.sleepHook) state.sleepHook(milliseconds);
}
std::int64_t queryPerformanceFrequency() { return state.frequency; }
std::int64_t queryPerformanceCounter() { return state.counter; }
std::uint32_t getPlatformId() { return state.platformId; }

// ---- drawing surface ---------------------------------------------------------------------------
DeviceContext getDC(WindowHandle window) {
    return logged("getDC") && window_model::alive(window) ? 0xDC00 + window : 0;
}
std::int32_t releaseDC(WindowHandle, DeviceContext) { return logged("releaseDC"); }
std::int32_t choosePixelFormat(DeviceContext, const PixelFormatRequest& request) {
    logged("choosePixelFormat");
    state.pixelFormatRequests.push_back(request);
    return state.pixelFormat;
}
bool setPixelFormat(DeviceContext, std::int32_t format, const PixelFormatRequest&) {
    return logged("setPixelFormat " + std::to_string(format)) && !state.failSetPixelFormat;
}
std::int32_t getWindowDrawables(WindowHandle window, Drawable* drawables, std::int32_t capacity) {
    std::vector<Drawable> listed = state.drawables;
    if (listed.empty() && window_model::alive(window)) listed = {{0xDC00 + window, state.windowRects[window]}};
    for (std::size_t i = 0; i < listed.size() && i < static_cast<std::size_t>(capacity); ++i) drawables[i] = listed[i];
    return static_cast<std::int32_t>(listed.size());
}
void drawFrameOverlay(DeviceContext dc) { logged("drawFrameOverlay " + std::to_string(dc)); }
bool swapBuffers(DeviceContext dc) { return logged("swapBuffers " + std::to_string(dc)) && ++state.swaps; }
GlContext createGlContext(DeviceContext dc) { return logged("createGlContext") && dc ? 0x6100 : 0; }
void* getGlProcAddress(const char* name) { return state.glProcAddress ? state.glProcAddress(name) : nullptr; }
bool makeCurrent(DeviceContext dc, GlContext context) {
    return logged(dc && context ? "makeCurrent 1" : "makeCurrent 0");
}
bool deleteGlContext(GlContext) { return logged("deleteGlContext"); }

// ---- dialogs -----------------------------------------------------------------------------------
std::int32_t messageBox(WindowHandle owner, const char* text, const char* caption, std::uint32_t type) {
    logged("messageBox");
    state.messageBoxes.push_back({owner, text ? text : "", caption ? caption : "", type});
    return static_cast<std::int32_t>(IDOK);
}
std::intptr_t dialogBoxParam(InstanceHandle, std::int32_t templateId, WindowHandle owner, DialogProc proc,
                             std::intptr_t initParam) {
    logged("dialogBoxParam " + std::to_string(templateId));
    const WindowHandle dialog = state.nextHandle++;
    state.buttons.clear();
    state.dialogResult.reset();
    fake::DialogCall call = {templateId, owner, initParam, proc(dialog, WM_INITDIALOG, 0, initParam), -1};
    if (state.userInDialog) state.userInDialog(dialog, proc);
    call.result = state.dialogResult.value_or(-1);
    state.dialogs.push_back(call);
    return call.result;
}
bool checkDlgButton(WindowHandle, std::int32_t id, std::uint32_t check) { state.buttons[id] = check; return true; }
std::uint32_t isDlgButtonChecked(WindowHandle, std::int32_t id) { return state.buttons[id]; }
bool endDialog(WindowHandle, std::intptr_t result) { state.dialogResult = result; return true; }

// ---- libraries ---------------------------------------------------------------------------------
LibraryHandle loadLibrary(const char* name) {
    const std::string wanted = name ? name : "";
    logged("loadLibrary " + wanted);
    state.loadedLibraries.push_back(wanted);
    if (!state.libraries.count(wanted)) return 0;
    const LibraryHandle handle = state.nextHandle++;
    state.openLibraries[handle] = wanted;
    return handle;
}
void* getProcAddress(LibraryHandle library, const char* name) {
    auto open = state.openLibraries.find(library);
    if (open == state.openLibraries.end() || !name) return nullptr;
    auto& functions = state.libraries[open->second];
    return functions.count(name) ? functions[name] : nullptr;
}
bool freeLibrary(LibraryHandle library) { return logged("freeLibrary") && state.openLibraries.erase(library); }

// ---- settings ----------------------------------------------------------------------------------
std::int32_t regOpenKey(const char* path, std::uint32_t access, SettingsKey& key) {
    return openKey(path, access, false, key);
}
std::int32_t regCreateKey(const char* path, std::uint32_t access, SettingsKey& key) {
    return openKey(path, access, true, key);
}
std::int32_t regQueryValue(SettingsKey key, const char* name, std::uint8_t* data, std::uint32_t& size) {
    auto open = state.openKeys.find(key);
    if (open == state.openKeys.end()) return ERROR_INVALID_HANDLE;
    const std::string wanted = name ? name : "";
    if (state.unreadableValues.count({open->second, wanted})) return ERROR_ACCESS_DENIED;
    const auto& values = state.settings[open->second];
    auto value = values.find(wanted);
    if (value == values.end()) return ERROR_FILE_NOT_FOUND;
    const std::uint32_t length = static_cast<std::uint32_t>(value->second.size());
    const bool fits = length <= size;
    if (fits && length) std::memcpy(data, value->second.data(), length);
    size = length;
    return fits ? ERROR_SUCCESS : ERROR_MORE_DATA;
}
std::int32_t regSetValueDword(SettingsKey key, const char* name, std::uint32_t value) {
    auto open = state.openKeys.find(key);
    if (open == state.openKeys.end()) return ERROR_INVALID_HANDLE;
    if (state.failSettingWrites || state.readOnlyKeys.count(open->second)) return ERROR_ACCESS_DENIED;
    ++state.settingWrites;
    fake::setSettingDword(open->second, name ? name : "", value);
    return ERROR_SUCCESS;
}
std::int32_t regCloseKey(SettingsKey key) { return state.openKeys.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE; }

// ---- resources: the embedded table, unless a test replaced or hid the name ---------------------------
ResourceHandle findResource(InstanceHandle, const char* name) {
    if (!name) return 0;
    auto replaced = state.resources.find(name);
    if (replaced == state.resources.end()) return reinterpret_cast<ResourceHandle>(findEmbeddedResource(name));
    if (!replaced->second) return 0;
    Replaced& copy = replacedResources.emplace_back(Replaced{name, *replaced->second, {}});
    copy.entry = {copy.name.c_str(), copy.bytes.data(), static_cast<std::uint32_t>(copy.bytes.size())};
    return reinterpret_cast<ResourceHandle>(&copy.entry);
}

}  // namespace platform
