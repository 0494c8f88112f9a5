// The Win32 numbers the host logic speaks in, as the saver's own constants. Every platform keeps
// these values, so the window procedure and dialog procedure are one piece of code everywhere.
// Never include this beside <windows.h>: its macros of the same names would collide.
#pragma once

#include <cstdint>

// Messages
constexpr std::uint32_t WM_CREATE = 0x0001;
constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_ACTIVATE = 0x0006;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr std::uint32_t WM_SETCURSOR = 0x0020;
constexpr std::uint32_t WM_NCACTIVATE = 0x0086;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_CHAR = 0x0102;
constexpr std::uint32_t WM_INITDIALOG = 0x0110;
constexpr std::uint32_t WM_COMMAND = 0x0111;
constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;

// System commands (wParam of WM_SYSCOMMAND), compared as whole values
constexpr std::uintptr_t SC_CLOSE = 0xF060;
constexpr std::uintptr_t SC_SCREENSAVE = 0xF140;

// Window class and window styles
constexpr std::uint32_t CS_VREDRAW = 0x0001;
constexpr std::uint32_t CS_HREDRAW = 0x0002;
constexpr std::uint32_t CS_OWNDC = 0x0020;
constexpr std::uint32_t WS_POPUP = 0x80000000u;
constexpr std::uint32_t WS_CHILD = 0x40000000u;
constexpr std::uint32_t WS_VISIBLE = 0x10000000u;

// Show commands
constexpr std::int32_t SW_SHOWDEFAULT = 10;

// System metrics
constexpr std::int32_t SM_CXSCREEN = 0;
constexpr std::int32_t SM_CYSCREEN = 1;
constexpr std::int32_t SM_XVIRTUALSCREEN = 76;
constexpr std::int32_t SM_YVIRTUALSCREEN = 77;
constexpr std::int32_t SM_CXVIRTUALSCREEN = 78;
constexpr std::int32_t SM_CYVIRTUALSCREEN = 79;

// Cursors
constexpr std::uintptr_t IDC_ARROW = 0x7F00;

// Pixel format
constexpr std::uint32_t PFD_DOUBLEBUFFER = 0x01;
constexpr std::uint32_t PFD_DRAW_TO_WINDOW = 0x04;
constexpr std::uint32_t PFD_SUPPORT_OPENGL = 0x20;
constexpr std::uint8_t PFD_TYPE_RGBA = 0;
constexpr std::uint8_t PFD_MAIN_PLANE = 0;

// Message boxes
constexpr std::uint32_t MB_OK = 0x0;

// Dialogs
constexpr std::intptr_t IDOK = 1;
constexpr std::intptr_t IDCANCEL = 2;
constexpr std::uint32_t BST_UNCHECKED = 0;
constexpr std::uint32_t BST_CHECKED = 1;

// Platform ids of GetVersionExA
constexpr std::uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr std::uint32_t VER_PLATFORM_WIN32_NT = 2;

// Registry, and the error codes its calls answer with
constexpr std::int32_t ERROR_SUCCESS = 0;
constexpr std::int32_t ERROR_FILE_NOT_FOUND = 2;
constexpr std::int32_t ERROR_ACCESS_DENIED = 5;
constexpr std::int32_t ERROR_INVALID_HANDLE = 6;
constexpr std::int32_t ERROR_INVALID_DATA = 13;
constexpr std::int32_t ERROR_WRITE_FAULT = 29;
constexpr std::int32_t ERROR_MORE_DATA = 234;
constexpr std::uint32_t KEY_READ = 0x20019;
constexpr std::uint32_t KEY_ALL_ACCESS = 0xF003F;
constexpr std::uint32_t REG_DWORD = 4;
