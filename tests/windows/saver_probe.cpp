// A small Win32 program the Wine tests use around morvane.scr: it hosts the saver's preview in a
// window of its own, as the Display settings do, and reads or closes the saver's windows from outside.
//   saver_probe preview SCR HOLD_MS   parent window, start "SCR /p HWND", report the child, wait
//                                     HOLD_MS, destroy the parent, report the saver's exit code
//   saver_probe window CLASS TITLE    report a top-level window (waits for it to appear)
//   saver_probe dialog                report the configuration dialog's controls and check box
//   saver_probe close TITLE           the caption's close button (SC_CLOSE) on a top-level window
//   saver_probe start SCR SHOW MS     start "SCR /s" with STARTUPINFO's show command SHOW (0: SW_HIDE),
//                                     as a launcher may; report its exit code within MS, else
//                                     "running" (and end it)
// Each prints key=value lines for the scripts in this folder; exit code 0 means the expected state.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kParentClass[] = "MorvaneProbeParent";
const char kDialogTitle[] = "Config dialog";

// Messages keep flowing while the probe waits, so the saver's cross-process calls are answered.
void pumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

HWND waitForTopLevel(const char* className, const char* title, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        if (HWND window = FindWindowA(className, title)) return window;
        pumpFor(100);
    }
    return nullptr;
}

// What CreateProcess reported, in the system's words, for the scripts to show.
void printStartError(const char* saverPath) {
    const DWORD error = GetLastError();
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof(text),
                   nullptr);
    for (char* end = text + std::strlen(text); end > text && (end[-1] == '\r' || end[-1] == '\n');) *--end = '\0';
    std::printf("error=cannot start %s: error %lu (%s)\n", saverPath, static_cast<unsigned long>(error), text);
}

void printWindow(const char* prefix, HWND window) {
    char className[64] = "";
    char title[128] = "";
    GetClassNameA(window, className, sizeof(className));
    GetWindowTextA(window, title, sizeof(title));
    RECT rect = {};
    GetWindowRect(window, &rect);
    std::printf("%sclass=%s\n%stitle=%s\n%sstyle=0x%08lX\n%srect=%ld,%ld,%ld,%ld\n", prefix, className, prefix, title,
                prefix, static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)), prefix, rect.left, rect.top,
                rect.right, rect.bottom);
}

int preview(const char* saverPath, DWORD holdMs) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kParentClass;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    if (!RegisterClassA(&windowClass)) return 2;
    HWND parent = CreateWindowExA(0, kParentClass, "Preview parent", WS_POPUP | WS_VISIBLE, 100, 100, 320, 240,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!parent) return 2;
    std::printf("parent=%lu\n", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(parent)));

    char commandLine[MAX_PATH + 64];
    std::snprintf(commandLine, sizeof(commandLine), "\"%s\" /p %lu", saverPath,
                  static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(parent)));
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        printStartError(saverPath);
        return 2;
    }

    HWND child = nullptr;
    for (DWORD waited = 0; !child && waited < 30000; waited += 100) {
        child = FindWindowExA(parent, nullptr, "OpenGL", nullptr);
        if (!child) pumpFor(100);
    }
    // Found at once, the child may still be inside its CreateWindow call, where WS_VISIBLE is not yet
    // set: look at it once it is shown, or after 5 s.
    for (DWORD waited = 0; child && !IsWindowVisible(child) && waited < 5000; waited += 50) pumpFor(50);
    int failures = 0;
    if (child) {
        printWindow("child.", child);
    } else {
        std::printf("child=none\n");
        ++failures;
    }
    std::fflush(stdout);
    pumpFor(holdMs);

    DestroyWindow(parent);
    pumpFor(100);
    const DWORD waitResult = WaitForSingleObject(process.hProcess, 20000);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &exitCode);
    std::printf("saver.exit=%lu\n", static_cast<unsigned long>(exitCode));
    if (waitResult != WAIT_OBJECT_0 || exitCode != 0) {
        if (waitResult != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
        ++failures;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return failures == 0 ? 0 : 1;
}

int window(const char* className, const char* title) {
    HWND found = waitForTopLevel(className, title, 30000);
    if (!found) {
        std::printf("window=none\n");
        return 1;
    }
    printWindow("", found);
    std::printf("screen=%d,%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return 0;
}

BOOL CALLBACK printControl(HWND control, LPARAM) {
    char className[64] = "";
    char text[128] = "";
    GetClassNameA(control, className, sizeof(className));
    GetWindowTextA(control, text, sizeof(text));
    std::printf("control=%d|%s|0x%08lX|%s\n", GetDlgCtrlID(control), className,
                static_cast<unsigned long>(GetWindowLongA(control, GWL_STYLE)), text);
    return TRUE;
}

int dialog() {
    HWND found = waitForTopLevel(nullptr, kDialogTitle, 30000);
    if (!found) {
        std::printf("dialog=none\n");
        return 1;
    }
    printWindow("dialog.", found);
    EnumChildWindows(found, printControl, 0);
    std::printf("checked=%u\n", IsDlgButtonChecked(found, 1001));
    return 0;
}

int closeWindow(const char* title) {
    HWND found = waitForTopLevel(nullptr, title, 30000);
    if (!found) return 1;
    return PostMessageA(found, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
}

int startShown(const char* saverPath, WORD show, DWORD waitMs) {
    char commandLine[MAX_PATH + 16];
    std::snprintf(commandLine, sizeof(commandLine), "\"%s\" /s", saverPath);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        printStartError(saverPath);
        return 2;
    }
    CloseHandle(process.hThread);
    if (WaitForSingleObject(process.hProcess, waitMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        std::printf("exit=%lu\n", static_cast<unsigned long>(code));
    } else {
        std::printf("exit=running\n");
        TerminateProcess(process.hProcess, 9);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hProcess);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int result = 2;
    if (argc == 4 && std::strcmp(argv[1], "preview") == 0)
        result = preview(argv[2], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)));
    else if (argc == 4 && std::strcmp(argv[1], "window") == 0)
        result = window(argv[2], argv[3]);
    else if (argc == 2 && std::strcmp(argv[1], "dialog") == 0)
        result = dialog();
    else if (argc == 3 && std::strcmp(argv[1], "close") == 0)
        result = closeWindow(argv[2]);
    else if (argc == 5 && std::strcmp(argv[1], "start") == 0)
        result = startShown(argv[2], static_cast<WORD>(std::strtoul(argv[3], nullptr, 10)),
                            static_cast<DWORD>(std::strtoul(argv[4], nullptr, 10)));
    else
        std::fprintf(stderr, "usage: saver_probe preview SCR HOLD_MS | window CLASS TITLE | dialog | close TITLE"
                             " | start SCR SHOW MS\n");
    std::fflush(stdout);
    return result;
}
