// The window and message rules of the system the seam speaks for, kept once for the builds that have
// no such system underneath (X11 and the test platform). A platform port creates its native window,
// then hands the handle here; from then on window lifetime, messages and the quit message are this
// model's. Portable: no Xlib, no GL. Pairs with window_model.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/platform.h"

namespace window_model {

// Everything back to the start: no classes, no windows, nothing queued, no quit.
void reset();

// A class name is registered once; null names and procedures are refused.
bool registerClass(const char* name, platform::WindowProc proc);
// The class's procedure; null when no class of that name is registered.
platform::WindowProc classProc(const char* name);

// Records a live window under the platform's handle and sends it WM_CREATE; an answer of -1 refuses
// the window, which is then destroyed and false returned. A window with a null procedure is one that
// another program owns: what it is sent gets default handling. `native` is the port's own record of
// the window, kept here until the window is released.
bool create(platform::WindowHandle window, platform::WindowProc proc, platform::WindowHandle parent,
            void* native = nullptr);
// What a port does when the model lets a window go (after its WM_DESTROY): free its native side.
void setReleaseHook(void (*release)(platform::WindowHandle window));
// The port's record of a window not yet released; null otherwise.
void* native(platform::WindowHandle window);
// The live windows, oldest first.
std::vector<platform::WindowHandle> liveWindows();

bool alive(platform::WindowHandle window);
// Created here, alive or not: late native events for a destroyed window are recognised by this.
bool known(platform::WindowHandle window);
platform::WindowHandle parent(platform::WindowHandle window);

// Marks the window dead (nothing it does in answer can reach it again), sends WM_DESTROY, drops its
// posted messages, releases it, then destroys the live children it knows. False for a window that is
// not alive, also from inside its own destruction, so a window that went away natively without being
// asked (its parent was destroyed) is destroyed here once, however often the port reports it.
bool destroy(platform::WindowHandle window);

// Window 0 is the thread's own queue; any other window must be alive.
bool post(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
// Send and dispatch reach live windows only, and answer 0 otherwise.
std::intptr_t send(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
std::intptr_t dispatch(const platform::Message& message);
void postQuit(std::int32_t exitCode);
// The oldest posted message, or once nothing is posted the quit message; false when neither.
bool take(platform::Message& message);
std::size_t queued();

// Default handling: WM_CLOSE destroys the window; everything else is answered 0.
std::intptr_t defaultProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam);

}  // namespace window_model
