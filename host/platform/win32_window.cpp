// Win32 platform: windows and messages, geometry, cursor, the saver-running state and dialogs (user32).
// Pairs with host/platform.h. The host's procedures take integer handles, so the procedures that
// user32 calls are thin wrappers that convert the handles and call through.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "host/platform.h"

namespace platform {

namespace {

HWND hwndOf(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle handleOf(HWND window) { return reinterpret_cast<WindowHandle>(window); }

// One window class and one dialog per process, so one procedure of each kind.
WindowProc hostWindowProc = nullptr;
DialogProc hostDialogProc = nullptr;

// The last message taken from the queue, kept whole (time and cursor position included) so that
// TranslateMessage and DispatchMessageA see exactly what PeekMessageA returned.
MSG lastMessage = {};

LRESULT CALLBACK windowProcThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!hostWindowProc) return DefWindowProcA(window, message, wParam, lParam);
    return hostWindowProc(handleOf(window), message, wParam, lParam);
}

INT_PTR CALLBACK dialogProcThunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!hostDialogProc) return FALSE;
    return hostDialogProc(handleOf(dialog), message, wParam, lParam);
}

MSG nativeMessage(const Message& message) {
    if (lastMessage.hwnd == hwndOf(message.window) && lastMessage.message == message.message &&
        lastMessage.wParam == message.wParam && lastMessage.lParam == message.lParam)
        return lastMessage;
    MSG native = {};
    native.hwnd = hwndOf(message.window);
    native.message = message.message;
    native.wParam = message.wParam;
    native.lParam = message.lParam;
    return native;
}

}  // namespace

bool registerClass(const WindowClass& windowClass) {
    hostWindowProc = windowClass.windowProc;
    WNDCLASSA native = {};
    native.style = windowClass.style;
    native.lpfnWndProc = windowProcThunk;
    native.hInstance = reinterpret_cast<HINSTANCE>(windowClass.instance);
    native.lpszClassName = windowClass.className;
    return RegisterClassA(&native) != 0;
}

WindowHandle createWindow(std::uint32_t exStyle, const char* className, const char* title, std::uint32_t style,
                          std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          WindowHandle parent, InstanceHandle instance) {
    return handleOf(CreateWindowExA(exStyle, className, title, style, x, y, width, height, hwndOf(parent), nullptr,
                                    reinterpret_cast<HINSTANCE>(instance), nullptr));
}

bool showWindow(WindowHandle window, std::int32_t showCommand) {
    return ShowWindow(hwndOf(window), showCommand) != 0;
}

bool destroyWindow(WindowHandle window) { return DestroyWindow(hwndOf(window)) != 0; }

std::intptr_t defWindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return DefWindowProcA(hwndOf(window), message, wParam, lParam);
}

bool peekMessage(Message& message) {
    MSG native = {};
    if (!PeekMessageA(&native, nullptr, 0, 0, PM_REMOVE)) return false;
    lastMessage = native;
    message = {handleOf(native.hwnd), native.message, native.wParam, native.lParam};
    return true;
}

bool translateMessage(const Message& message) {
    const MSG native = nativeMessage(message);
    return TranslateMessage(&native) != 0;
}

std::intptr_t dispatchMessage(const Message& message) {
    const MSG native = nativeMessage(message);
    return DispatchMessageA(&native);
}

bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return PostMessageA(hwndOf(window), message, wParam, lParam) != 0;
}

std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return SendMessageA(hwndOf(window), message, wParam, lParam);
}

void postQuitMessage(std::int32_t exitCode) { PostQuitMessage(exitCode); }

bool getWindowRect(WindowHandle window, Rect& rect) {
    RECT native = {};
    if (!GetWindowRect(hwndOf(window), &native)) return false;
    rect = {native.left, native.top, native.right, native.bottom};
    return true;
}

std::int32_t getSystemMetrics(std::int32_t index) { return GetSystemMetrics(index); }

WindowHandle getForegroundWindow() { return handleOf(GetForegroundWindow()); }

bool getCursorPos(Point& point) {
    POINT native = {};
    if (!GetCursorPos(&native)) return false;
    point = {native.x, native.y};
    return true;
}

CursorHandle loadCursor(InstanceHandle instance, std::uintptr_t cursorId) {
    return reinterpret_cast<CursorHandle>(
        LoadCursorA(reinterpret_cast<HINSTANCE>(instance), reinterpret_cast<LPCSTR>(cursorId)));
}

CursorHandle setCursor(CursorHandle cursor) {
    return reinterpret_cast<CursorHandle>(SetCursor(reinterpret_cast<HCURSOR>(cursor)));
}

bool setScreenSaverRunning(bool running) {
    BOOL previous = FALSE;
    return SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, &previous, 0) != 0;
}

std::int32_t messageBox(WindowHandle owner, const char* text, const char* caption, std::uint32_t type) {
    return MessageBoxA(hwndOf(owner), text, caption, type);
}

std::intptr_t dialogBoxParam(InstanceHandle instance, std::int32_t templateId, WindowHandle owner, DialogProc proc,
                             std::intptr_t initParam) {
    hostDialogProc = proc;
    return DialogBoxParamA(reinterpret_cast<HINSTANCE>(instance), MAKEINTRESOURCEA(templateId), hwndOf(owner),
                           dialogProcThunk, initParam);
}

bool checkDlgButton(WindowHandle dialog, std::int32_t id, std::uint32_t check) {
    return CheckDlgButton(hwndOf(dialog), id, check) != 0;
}

std::uint32_t isDlgButtonChecked(WindowHandle dialog, std::int32_t id) {
    return IsDlgButtonChecked(hwndOf(dialog), id);
}

bool endDialog(WindowHandle dialog, std::intptr_t result) { return EndDialog(hwndOf(dialog), result) != 0; }

bool takeNewWindowSize(WindowHandle, std::int32_t&, std::int32_t&) { return false; }

}  // namespace platform
