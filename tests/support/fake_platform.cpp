// The scripted test platform: host/platform.h answered from in-memory state and the window model,
// with every call that matters recorded. Pairs with fake_platform.h, which declares the test's controls.
#include "tests/support/fake_platform.h"

#include <cstring>
#include <list>
#include <set>

#include "host/platform/window_model.h"
#include "host/saver_constants.h"
#include "resources/embedded.h"

namespace {

constexpr std::uint32_t kWriteAccess = 0x2 | 0x4;
constexpr std::intptr_t kBnClicked = 0;

struct Library {
    std::map<std::string, void*> functions;
};

struct Resource {
    const std::uint8_t* data;
    std::uint32_t size;
};

struct State {
    std::string commandLine = "morvane.scr";
    std::int32_t screenWidth = 1920;
    std::int32_t screenHeight = 1080;
    platform::WindowHandle foreground = 0;
    bool virtualScreenSet = false;
    platform::Rect virtualScreen = {0, 0, 0, 0};
    std::vector<platform::Rect> monitors;
    std::int32_t monitorQueries = 0;
    bool displayOff = false;
    bool resumedFromStop = false;
    bool resized = false;
    std::int32_t resizedWidth = 0;
    std::int32_t resizedHeight = 0;
    std::function<bool()> displayPowerHook;
    std::int32_t displayPowerQueries = 0;

    std::map<platform::WindowHandle, platform::Rect> rects;
    platform::WindowHandle nextHandle = 0x100;
    std::vector<platform::WindowClass> classes;
    bool failRegister = false;
    std::vector<fake::CreatedWindow> created;
    std::vector<platform::Message> posted;
    std::vector<platform::Message> defaults;
    std::vector<std::int32_t> quits;

    platform::Point cursor = {0, 0};
    std::vector<platform::CursorHandle> cursors;
    std::vector<bool> saverRunning;

    std::int32_t pixelFormat = 7;
    bool failPixelFormat = false;
    std::vector<platform::PixelFormatRequest> formatRequests;
    std::int32_t swaps = 0;
    std::vector<std::uint32_t> sleeps;
    std::function<void(std::uint32_t)> sleepHook;
    std::vector<std::string> calls;
    std::function<void(const std::string&)> callHook;

    std::vector<fake::MessageBoxCall> boxes;
    std::vector<fake::DialogStep> dialogScript;
    std::vector<std::int32_t> autoChecks;
    std::vector<fake::DialogCall> dialogs;
    std::map<std::int32_t, std::uint32_t> buttons;
    bool dialogEnded = false;
    std::intptr_t dialogResult = -1;

    std::uint32_t tick = 0;
    std::int64_t counter = 0;
    std::int64_t frequency = 1000000;

    std::uint32_t platformId = VER_PLATFORM_WIN32_NT;
    std::map<std::string, Library> libraries;
    std::map<platform::LibraryHandle, std::string> loaded;
    platform::LibraryHandle nextLibrary = 0x5000;
    std::vector<std::string> loadedNames;

    std::map<std::string, std::map<std::string, std::vector<std::uint8_t>>> settings;
    std::set<std::string> readOnlyKeys;
    std::set<std::string> unreadableKeys;
    std::set<std::pair<std::string, std::string>> unreadableValues;
    bool failWrites = false;
    std::map<platform::SettingsKey, std::string> openKeys;
    platform::SettingsKey nextKey = 0x9000;
    std::vector<fake::KeyOpen> keyOpens;
    std::int32_t writes = 0;

    std::map<std::string, std::vector<std::uint8_t>> resourceOverrides;
    std::set<std::string> hiddenResources;
    std::map<platform::ResourceHandle, Resource> resources;
    platform::ResourceHandle nextResource = 0x7000;
};

State state;
// Bytes handed out by lockResource must outlive any reset: they are kept here for the process.
std::list<std::vector<std::uint8_t>> resourceBytes;

void logCall(const std::string& call) {
    state.calls.push_back(call);
    if (state.callHook) state.callHook(call);
}

void sendToDialog(platform::WindowHandle dialog, platform::DialogProc proc, std::int32_t id) {
    proc(dialog, WM_COMMAND, (static_cast<std::uintptr_t>(kBnClicked) << 16) | static_cast<std::uint16_t>(id), 0);
}

// regOpenKey, and regCreateKey when `create`.
std::int32_t openKey(const char* path, std::uint32_t access, bool create, platform::SettingsKey& key) {
    const std::string wanted = path ? path : "";
    std::int32_t result = ERROR_SUCCESS;
    if (state.unreadableKeys.count(wanted) || (state.readOnlyKeys.count(wanted) && (access & kWriteAccess)))
        result = ERROR_ACCESS_DENIED;
    else if (!create && !state.settings.count(wanted))
        result = ERROR_FILE_NOT_FOUND;
    state.keyOpens.push_back({wanted, access, create, result});
    if (result != ERROR_SUCCESS) return result;
    state.settings[wanted];
    key = state.nextKey++;
    state.openKeys[key] = wanted;
    return result;
}

}  // namespace

namespace fake {

void reset() {
    state = State();
    window_model::reset();
}

void setTickCount(std::uint32_t milliseconds) { state.tick = milliseconds; }
void setPerformanceCounter(std::int64_t counts) { state.counter = counts; }
void setPerformanceFrequency(std::int64_t countsPerSecond) { state.frequency = countsPerSecond; }

void setResource(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    state.resourceOverrides[name] = bytes;
    state.hiddenResources.erase(name);
}
void hideResource(const std::string& name) { state.hiddenResources.insert(name); }

void setCommandLine(const std::string& line) { state.commandLine = line; }
void setScreenSize(std::int32_t width, std::int32_t height) {
    state.screenWidth = width;
    state.screenHeight = height;
}
void setForegroundWindow(platform::WindowHandle window) { state.foreground = window; }
void setVirtualScreen(const platform::Rect& rect) {
    state.virtualScreen = rect;
    state.virtualScreenSet = true;
}
void setMonitors(const std::vector<platform::Rect>& monitors) { state.monitors = monitors; }
std::int32_t monitorQueries() { return state.monitorQueries; }

void setDisplayOff(bool off) { state.displayOff = off; }
void resumeFromStop() { state.resumedFromStop = true; }
void resizeSaverWindow(std::int32_t width, std::int32_t height) {
    state.resized = true;
    state.resizedWidth = width;
    state.resizedHeight = height;
}
void setDisplayPowerHook(std::function<bool()> hook) { state.displayPowerHook = std::move(hook); }
std::int32_t displayPowerQueries() { return state.displayPowerQueries; }

platform::WindowHandle addForeignWindow(const platform::Rect& rect) {
    const platform::WindowHandle handle = state.nextHandle++;
    state.rects[handle] = rect;
    window_model::create(handle, nullptr, 0);
    return handle;
}
bool windowExists(platform::WindowHandle window) { return window_model::alive(window); }
platform::WindowHandle windowParent(platform::WindowHandle window) { return window_model::parent(window); }
void failRegisterClass(bool fail) { state.failRegister = fail; }
const std::vector<CreatedWindow>& createdWindows() { return state.created; }
const std::vector<platform::WindowClass>& registeredClasses() { return state.classes; }

const std::vector<platform::Message>& postedMessages() { return state.posted; }
const std::vector<platform::Message>& defaultHandled() { return state.defaults; }
std::vector<std::int32_t> quitCodes() { return state.quits; }
std::size_t queuedMessageCount() { return window_model::queued(); }
void queueMessage(const platform::Message& m) { window_model::post(m.window, m.message, m.wParam, m.lParam); }

void setCursorPos(std::int32_t x, std::int32_t y) { state.cursor = {x, y}; }
const std::vector<platform::CursorHandle>& cursorsSet() { return state.cursors; }
const std::vector<bool>& screenSaverRunningCalls() { return state.saverRunning; }

void setChoosePixelFormatResult(std::int32_t format) { state.pixelFormat = format; }
void failSetPixelFormat(bool fail) { state.failPixelFormat = fail; }
const std::vector<platform::PixelFormatRequest>& pixelFormatRequests() { return state.formatRequests; }
std::int32_t swapCount() { return state.swaps; }
const std::vector<std::uint32_t>& sleeps() { return state.sleeps; }
void setSleepHook(std::function<void(std::uint32_t)> hook) { state.sleepHook = std::move(hook); }
const std::vector<std::string>& calls() { return state.calls; }
void setCallHook(std::function<void(const std::string& call)> hook) { state.callHook = std::move(hook); }

const std::vector<MessageBoxCall>& messageBoxes() { return state.boxes; }
void setDialogScript(const std::vector<DialogStep>& steps, const std::vector<std::int32_t>& autoCheckBoxes) {
    state.dialogScript = steps;
    state.autoChecks = autoCheckBoxes;
}
const std::vector<DialogCall>& dialogs() { return state.dialogs; }
std::uint32_t dialogButtonState(std::int32_t id) {
    auto found = state.buttons.find(id);
    return found == state.buttons.end() ? BST_UNCHECKED : found->second;
}

void setPlatformId(std::uint32_t id) { state.platformId = id; }
void setLibrary(const std::string& library) { state.libraries[library]; }
void setLibraryFunction(const std::string& library, const std::string& name, void* function) {
    state.libraries[library].functions[name] = function;
}
const std::vector<std::string>& loadedLibraries() { return state.loadedNames; }
std::int32_t openLibraryCount() { return static_cast<std::int32_t>(state.loaded.size()); }

void setSettingBytes(const std::string& path, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    state.settings[path][name] = bytes;
}
void setSettingDword(const std::string& path, const std::string& name, std::uint32_t value) {
    std::vector<std::uint8_t> bytes(4);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    setSettingBytes(path, name, bytes);
}
bool hasSettingKey(const std::string& path) { return state.settings.count(path) != 0; }
bool settingBytes(const std::string& path, const std::string& name, std::vector<std::uint8_t>& bytes) {
    auto key = state.settings.find(path);
    if (key == state.settings.end()) return false;
    auto value = key->second.find(name);
    if (value == key->second.end()) return false;
    bytes = value->second;
    return true;
}
void setKeyReadOnly(const std::string& path) { state.readOnlyKeys.insert(path); }
void setKeyUnreadable(const std::string& path) { state.unreadableKeys.insert(path); }
void setValueUnreadable(const std::string& path, const std::string& name) {
    state.unreadableValues.insert({path, name});
}
void failSettingWrites(bool fail) { state.failWrites = fail; }
const std::vector<KeyOpen>& keyOpens() { return state.keyOpens; }
std::int32_t openKeyCount() { return static_cast<std::int32_t>(state.openKeys.size()); }
std::int32_t settingWriteCount() { return state.writes; }

}  // namespace fake

namespace platform {

const char* getCommandLine() { return state.commandLine.c_str(); }

bool registerClass(const WindowClass& windowClass) {
    logCall(std::string("registerClass ") + (windowClass.className ? windowClass.className : ""));
    if (state.failRegister || !window_model::registerClass(windowClass.className, windowClass.windowProc)) return false;
    state.classes.push_back(windowClass);
    return true;
}

WindowHandle createWindow(std::uint32_t exStyle, const char* className, const char* title, std::uint32_t style,
                          std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          WindowHandle parent, InstanceHandle /*instance*/) {
    logCall(std::string("createWindow ") + (title ? title : ""));
    const WindowProc proc = window_model::classProc(className);
    if (!proc || (((style & WS_CHILD) || parent != 0) && !window_model::alive(parent))) return 0;
    const WindowHandle handle = state.nextHandle++;
    state.rects[handle] = {x, y, x + width, y + height};
    state.created.push_back({handle, exStyle, className, title ? title : "", style, state.rects[handle], parent});
    return window_model::create(handle, proc, parent) ? handle : 0;
}

bool showWindow(WindowHandle window, std::int32_t showCommand) {
    logCall("showWindow " + std::to_string(showCommand));
    return window_model::alive(window);
}

bool destroyWindow(WindowHandle window) {
    logCall("destroyWindow");
    return window_model::destroy(window);
}

std::intptr_t defWindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    state.defaults.push_back({window, message, wParam, lParam});
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

void postQuitMessage(std::int32_t exitCode) {
    state.quits.push_back(exitCode);
    window_model::postQuit(exitCode);
}

bool getWindowRect(WindowHandle window, Rect& rect) {
    if (!window_model::alive(window)) return false;
    rect = state.rects[window];
    return true;
}

std::int32_t getSystemMetrics(std::int32_t index) {
    const Rect virtualScreen =
        state.virtualScreenSet ? state.virtualScreen : Rect{0, 0, state.screenWidth, state.screenHeight};
    switch (index) {
    case SM_CXSCREEN: return state.screenWidth;
    case SM_CYSCREEN: return state.screenHeight;
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
    return state.displayPowerHook ? state.displayPowerHook() : state.displayOff;
}

bool takeResumedFromStop() {
    const bool resumed = state.resumedFromStop;
    state.resumedFromStop = false;
    return resumed;
}

bool takeNewWindowSize(WindowHandle, std::int32_t& width, std::int32_t& height) {
    if (!state.resized) return false;
    state.resized = false;
    width = state.resizedWidth;
    height = state.resizedHeight;
    return true;
}

WindowHandle getForegroundWindow() { return state.foreground; }

bool getCursorPos(Point& point) {
    point = state.cursor;
    return true;
}

CursorHandle loadCursor(InstanceHandle instance, std::uintptr_t cursorId) {
    return instance == 0 && cursorId == IDC_ARROW ? fake::kArrowCursor : 0;
}

CursorHandle setCursor(CursorHandle cursor) {
    CursorHandle previous = state.cursors.empty() ? 0 : state.cursors.back();
    state.cursors.push_back(cursor);
    return previous;
}

bool setScreenSaverRunning(bool running) {
    logCall(running ? "setScreenSaverRunning 1" : "setScreenSaverRunning 0");
    state.saverRunning.push_back(running);
    return true;
}

DeviceContext getDC(WindowHandle window) {
    logCall("getDC");
    return window_model::alive(window) ? 0xDC00 + window : 0;
}

std::int32_t releaseDC(WindowHandle /*window*/, DeviceContext /*dc*/) {
    logCall("releaseDC");
    return 1;
}

std::int32_t choosePixelFormat(DeviceContext /*dc*/, const PixelFormatRequest& request) {
    logCall("choosePixelFormat");
    state.formatRequests.push_back(request);
    return state.pixelFormat;
}

bool setPixelFormat(DeviceContext /*dc*/, std::int32_t format, const PixelFormatRequest& /*request*/) {
    logCall("setPixelFormat " + std::to_string(format));
    return !state.failPixelFormat;
}

bool swapBuffers(DeviceContext /*dc*/) {
    logCall("swapBuffers");
    ++state.swaps;
    return true;
}

GlContext createGlContext(DeviceContext dc) {
    logCall("createGlContext");
    return dc ? 0x6100 : 0;
}

bool makeCurrent(DeviceContext dc, GlContext context) {
    logCall(dc && context ? "makeCurrent 1" : "makeCurrent 0");
    return true;
}

bool deleteGlContext(GlContext /*context*/) {
    logCall("deleteGlContext");
    return true;
}

std::int32_t messageBox(WindowHandle owner, const char* text, const char* caption, std::uint32_t type) {
    logCall("messageBox");
    state.boxes.push_back({owner, text ? text : "", caption ? caption : "", type});
    return static_cast<std::int32_t>(IDOK);
}

std::intptr_t dialogBoxParam(InstanceHandle /*instance*/, std::int32_t templateId, WindowHandle owner,
                             DialogProc proc, std::intptr_t initParam) {
    logCall("dialogBoxParam " + std::to_string(templateId));
    WindowHandle dialog = state.nextHandle++;
    state.buttons.clear();
    state.dialogEnded = false;
    state.dialogResult = -1;
    fake::DialogCall call = {templateId, owner, initParam, 0, 0, -1};
    call.initResult = proc(dialog, WM_INITDIALOG, 0, initParam);
    if (!state.autoChecks.empty()) call.checkAfterInit = fake::dialogButtonState(state.autoChecks.front());
    for (const fake::DialogStep& step : state.dialogScript) {
        if (state.dialogEnded) break;
        if (step.kind == fake::DialogStep::Kind::SetCheck) {
            state.buttons[step.id] = step.check;
            continue;
        }
        for (std::int32_t box : state.autoChecks)
            if (box == step.id) state.buttons[box] = state.buttons[box] == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        sendToDialog(dialog, proc, step.id);
    }
    call.result = state.dialogResult;
    state.dialogs.push_back(call);
    return state.dialogResult;
}

bool checkDlgButton(WindowHandle /*dialog*/, std::int32_t id, std::uint32_t check) {
    state.buttons[id] = check;
    return true;
}

std::uint32_t isDlgButtonChecked(WindowHandle /*dialog*/, std::int32_t id) { return fake::dialogButtonState(id); }

bool endDialog(WindowHandle /*dialog*/, std::intptr_t result) {
    state.dialogEnded = true;
    state.dialogResult = result;
    return true;
}

std::uint32_t getTickCount() { return state.tick; }

void sleepMs(std::uint32_t milliseconds) {
    logCall("sleep " + std::to_string(milliseconds));
    state.sleeps.push_back(milliseconds);
    if (state.sleepHook) state.sleepHook(milliseconds);
}

std::int64_t queryPerformanceFrequency() { return state.frequency; }
std::int64_t queryPerformanceCounter() { return state.counter; }

std::uint32_t getPlatformId() { return state.platformId; }

LibraryHandle loadLibrary(const char* name) {
    std::string wanted = name ? name : "";
    logCall("loadLibrary " + wanted);
    state.loadedNames.push_back(wanted);
    if (!state.libraries.count(wanted)) return 0;
    LibraryHandle handle = state.nextLibrary++;
    state.loaded[handle] = wanted;
    return handle;
}

void* getProcAddress(LibraryHandle library, const char* name) {
    auto found = state.loaded.find(library);
    if (found == state.loaded.end() || !name) return nullptr;
    const auto& functions = state.libraries[found->second].functions;
    auto function = functions.find(name);
    return function == functions.end() ? nullptr : function->second;
}

bool freeLibrary(LibraryHandle library) {
    logCall("freeLibrary");
    return state.loaded.erase(library) != 0;
}

std::int32_t regOpenKey(const char* path, std::uint32_t access, SettingsKey& key) {
    return openKey(path, access, false, key);
}

std::int32_t regQueryValue(SettingsKey key, const char* name, std::uint8_t* data, std::uint32_t& size) {
    auto open = state.openKeys.find(key);
    if (open == state.openKeys.end()) return ERROR_INVALID_HANDLE;
    std::string wanted = name ? name : "";
    if (state.unreadableValues.count({open->second, wanted})) return ERROR_ACCESS_DENIED;
    std::vector<std::uint8_t> bytes;
    if (!fake::settingBytes(open->second, wanted, bytes)) return ERROR_FILE_NOT_FOUND;
    if (bytes.size() > size) {
        size = static_cast<std::uint32_t>(bytes.size());
        return ERROR_MORE_DATA;
    }
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    size = static_cast<std::uint32_t>(bytes.size());
    return ERROR_SUCCESS;
}

std::int32_t regCreateKey(const char* path, std::uint32_t access, SettingsKey& key) {
    return openKey(path, access, true, key);
}

std::int32_t regSetValueDword(SettingsKey key, const char* name, std::uint32_t value) {
    auto open = state.openKeys.find(key);
    if (open == state.openKeys.end()) return ERROR_INVALID_HANDLE;
    if (state.failWrites || state.readOnlyKeys.count(open->second)) return ERROR_ACCESS_DENIED;
    ++state.writes;
    fake::setSettingDword(open->second, name ? name : "", value);
    return ERROR_SUCCESS;
}

std::int32_t regCloseKey(SettingsKey key) { return state.openKeys.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE; }

ResourceHandle findResource(InstanceHandle /*instance*/, const char* name) {
    if (!name || state.hiddenResources.count(name)) return 0;
    Resource resource;
    auto replaced = state.resourceOverrides.find(name);
    if (replaced != state.resourceOverrides.end()) {
        resourceBytes.push_back(replaced->second);
        resource = {resourceBytes.back().data(), static_cast<std::uint32_t>(resourceBytes.back().size())};
    } else {
        const EmbeddedResource* embedded = findEmbeddedResource(name);
        if (!embedded) return 0;
        resource = {embedded->data, embedded->size};
    }
    ResourceHandle handle = state.nextResource++;
    state.resources[handle] = resource;
    return handle;
}

std::uint32_t sizeofResource(InstanceHandle /*instance*/, ResourceHandle resource) {
    auto found = state.resources.find(resource);
    return found == state.resources.end() ? 0 : found->second.size;
}

ResourceData loadResource(InstanceHandle /*instance*/, ResourceHandle resource) {
    return state.resources.count(resource) ? resource : 0;
}

const void* lockResource(ResourceData data) {
    auto found = state.resources.find(data);
    return found == state.resources.end() ? nullptr : found->second.data;
}

}  // namespace platform
