// libFuzzer target for the command-line grammar: any bytes as a line must parse without reading past
// its end, and give a known mode with a handle only where the mode takes one.
// Pairs with host/command_line.cpp.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "host/saver.h"

namespace {
platform::WindowHandle foreground() { return 0xF00D; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy with its terminator, so that any read past the end is caught.
    std::vector<char> line(data, data + size);
    line.push_back('\0');
    const CommandLine parsed = parseCommandLineText(line.data(), foreground);
    switch (parsed.mode) {
    case RunMode::NoAction:
    case RunMode::FullScreen:
        if (parsed.parent != 0) std::abort();
        break;
    case RunMode::Configure:
    case RunMode::Preview:
    case RunMode::ChangePassword:
        break;
    default:
        std::abort();
    }
    return 0;
}
