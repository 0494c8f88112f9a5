// Win32 platform: the monitors of the virtual screen (EnumDisplayMonitors) and the console display's
// power state from power-setting notifications. Pairs with host/platform.h (getMonitorRects,
// isDisplayOff).
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

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

struct PowerListener {
    bool started = false;
    bool displayOff = false;
    HWND window = nullptr;
};
PowerListener listener;

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
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto registerNotification = user32 ? reinterpret_cast<RegisterPowerSettingNotificationFn>(reinterpret_cast<void*>(
                                             GetProcAddress(user32, "RegisterPowerSettingNotification")))
                                       : nullptr;
    if (!registerNotification) return;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = powerWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "MorvaneDisplayPower";
    if (!RegisterClassA(&windowClass)) return;
    listener.window = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      instance, nullptr);
    if (!listener.window) return;
    if (!registerNotification(listener.window, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE)) {
        DestroyWindow(listener.window);
        listener.window = nullptr;
    }
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

}  // namespace platform
