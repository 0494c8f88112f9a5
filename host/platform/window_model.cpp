// The window and message rules of the non-Windows builds: class table, window records, the posted
// queue and the quit message. Pairs with window_model.h.
#include "host/platform/window_model.h"

#include <deque>
#include <string>
#include <vector>

#include "host/saver_constants.h"

namespace window_model {

namespace {

struct ClassRecord {
    std::string name;
    platform::WindowProc proc;
};

struct WindowRecord {
    platform::WindowHandle handle;
    platform::WindowProc proc;
    platform::WindowHandle parent;
    bool alive;
    void* native;
};

struct Model {
    std::vector<ClassRecord> classes;
    // Oldest first; records stay after destruction so that known() can answer for them.
    std::deque<WindowRecord> windows;
    std::deque<platform::Message> posted;
    bool quitPosted = false;
    std::int32_t quitCode = 0;
    void (*release)(platform::WindowHandle) = nullptr;
};

Model model;

WindowRecord* find(platform::WindowHandle window) {
    for (WindowRecord& record : model.windows)
        if (record.handle == window) return &record;
    return nullptr;
}

WindowRecord* live(platform::WindowHandle window) {
    WindowRecord* record = find(window);
    return record && record->alive ? record : nullptr;
}

std::intptr_t deliver(const WindowRecord& record, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (!record.proc) return defaultProc(record.handle, message, wParam, lParam);
    return record.proc(record.handle, message, wParam, lParam);
}

// The end of a live window, however it came; the record is alive on entry.
void end(WindowRecord& record) {
    const platform::WindowHandle window = record.handle;
    const platform::WindowProc proc = record.proc;
    record.alive = false;
    if (proc) proc(window, WM_DESTROY, 0, 0);
    for (auto it = model.posted.begin(); it != model.posted.end();) {
        if (it->window == window) it = model.posted.erase(it);
        else ++it;
    }
    if (model.release) model.release(window);
    record.native = nullptr;
    std::vector<platform::WindowHandle> children;
    for (const WindowRecord& child : model.windows)
        if (child.alive && child.parent == window) children.push_back(child.handle);
    for (platform::WindowHandle child : children) destroy(child);
}

}  // namespace

void reset() {
    void (*release)(platform::WindowHandle) = model.release;
    model = Model();
    model.release = release;
}

bool registerClass(const char* name, platform::WindowProc proc) {
    if (!name || !proc || classProc(name)) return false;
    model.classes.push_back({name, proc});
    return true;
}

platform::WindowProc classProc(const char* name) {
    if (!name) return nullptr;
    for (const ClassRecord& record : model.classes)
        if (record.name == name) return record.proc;
    return nullptr;
}

bool create(platform::WindowHandle window, platform::WindowProc proc, platform::WindowHandle parent, void* native) {
    model.windows.push_back({window, proc, parent, true, native});
    if (proc && proc(window, WM_CREATE, 0, 0) == -1) {
        destroy(window);
        return false;
    }
    return true;
}

void setReleaseHook(void (*release)(platform::WindowHandle window)) { model.release = release; }

void* native(platform::WindowHandle window) {
    const WindowRecord* record = find(window);
    return record ? record->native : nullptr;
}

std::vector<platform::WindowHandle> liveWindows() {
    std::vector<platform::WindowHandle> windows;
    for (const WindowRecord& record : model.windows)
        if (record.alive) windows.push_back(record.handle);
    return windows;
}

bool alive(platform::WindowHandle window) { return live(window) != nullptr; }
bool known(platform::WindowHandle window) { return find(window) != nullptr; }

platform::WindowHandle parent(platform::WindowHandle window) {
    const WindowRecord* record = find(window);
    return record ? record->parent : 0;
}

bool destroy(platform::WindowHandle window) {
    WindowRecord* record = live(window);
    if (!record) return false;
    end(*record);
    return true;
}

bool post(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (window != 0 && !live(window)) return false;
    model.posted.push_back({window, message, wParam, lParam});
    return true;
}

std::intptr_t send(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    const WindowRecord* record = live(window);
    return record ? deliver(*record, message, wParam, lParam) : 0;
}

std::intptr_t dispatch(const platform::Message& message) {
    return send(message.window, message.message, message.wParam, message.lParam);
}

void postQuit(std::int32_t exitCode) {
    model.quitPosted = true;
    model.quitCode = exitCode;
}

bool take(platform::Message& message) {
    if (!model.posted.empty()) {
        message = model.posted.front();
        model.posted.pop_front();
        return true;
    }
    if (!model.quitPosted) return false;
    model.quitPosted = false;
    message = {0, WM_QUIT, static_cast<std::uintptr_t>(model.quitCode), 0};
    return true;
}

std::size_t queued() { return model.posted.size() + (model.quitPosted ? 1 : 0); }

std::intptr_t defaultProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t /*wParam*/,
                          std::intptr_t /*lParam*/) {
    if (message == WM_CLOSE) destroy(window);
    return 0;
}

}  // namespace window_model
