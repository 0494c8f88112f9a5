// Win32 platform: the monitors of the virtual screen (EnumDisplayMonitors) and the console display's
// power state from power-setting notifications. Pairs with host/platform.h (getMonitorRects,
// isDisplayOff).
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdlib>

#include "host/platform.h"

namespace {

struct MonitorList {
    platform::Rect* rects;
    std::int32_t capacity;
    std::int32_t count;
};

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MonitorList& list = *reinterpret_cast<MonitorList*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    if (list.rects && list.count < list.capacity)
        list.rects[list.count] = {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                                  info.rcMonitor.bottom};
    ++list.count;
    return TRUE;
}

// GUID_CONSOLE_DISPLAY_STATE; its data is a DWORD: 0 off, 1 on, 2 dimmed (still lit).
const GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr DWORD kDisplayOff = 0;

// Looked up at run time: systems before Vista have no power-setting notifications, and there the
// display counts as always on.
using RegisterPowerSettingNotificationFn = HANDLE(WINAPI*)(HANDLE recipient, LPCGUID setting, DWORD flags);
using UnregisterPowerSettingNotificationFn = BOOL(WINAPI*)(HANDLE notification);

constexpr const char* kListenerClass = "MorvaneDisplayPower";

struct PowerListener {
    bool started = false;
    bool displayOff = false;
    HWND window = nullptr;
    HANDLE notification = nullptr;
};
PowerListener listener;

FARPROC user32Function(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? GetProcAddress(user32, name) : nullptr;
}

// At the process's end: the registration, the window and its class, in the reverse order of their
// making.
void stopListening() {
    if (listener.notification) {
        auto unregisterNotification = reinterpret_cast<UnregisterPowerSettingNotificationFn>(
            reinterpret_cast<void*>(user32Function("UnregisterPowerSettingNotification")));
        if (unregisterNotification) unregisterNotification(listener.notification);
        listener.notification = nullptr;
    }
    if (listener.window) {
        DestroyWindow(listener.window);
        listener.window = nullptr;
    }
    UnregisterClassA(kListenerClass, GetModuleHandleA(nullptr));
}

LRESULT CALLBACK powerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_POWERBROADCAST && wParam == PBT_POWERSETTINGCHANGE && lParam) {
        const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
        if (IsEqualGUID(setting->PowerSetting, kConsoleDisplayState) && setting->DataLength >= sizeof(DWORD)) {
            DWORD state = 0;
            CopyMemory(&state, setting->Data, sizeof(state));
            listener.displayOff = state == kDisplayOff;
        }
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A message-only window of its own receives the notifications; the frame loop's PeekMessageA for
// every window of the thread pumps it. The system sends the current state right after registering.
void startListening() {
    listener.started = true;
    auto registerNotification = reinterpret_cast<RegisterPowerSettingNotificationFn>(
        reinterpret_cast<void*>(user32Function("RegisterPowerSettingNotification")));
    if (!registerNotification) return;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = powerWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kListenerClass;
    if (!RegisterClassA(&windowClass)) return;
    std::atexit(stopListening);
    listener.window = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      instance, nullptr);
    if (!listener.window) return;
    listener.notification = registerNotification(listener.window, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
}

}  // namespace

namespace platform {

std::int32_t getMonitorRects(Rect* rects, std::int32_t capacity) {
    MonitorList list = {rects, capacity, 0};
    if (!EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&list))) return 0;
    return list.count;
}

bool isDisplayOff() {
    if (!listener.started) startListening();
    return listener.displayOff;
}

bool takeResumedFromStop() { return false; }
bool takeStopRequest() { return false; }

}  // namespace platform
