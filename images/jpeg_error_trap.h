// The error manager that turns a libjpeg error into a jump back to the loader's recovery point.
// Pairs with jpeg_decode.cpp, which sets the recovery point and defines jumpOnJpegError.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// `manager` must stay the first member: the error exit finds the jump buffer from the object's
// `err` pointer alone.
struct JpegErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf recoveryPoint;
};

// Installed as error_exit: writes the library's message to standard error, then jumps to the
// recovery point with value 1. Never returns to the library.
[[noreturn]] void jumpOnJpegError(j_common_ptr cinfo);
