// The command-line grammar: the program path, an optional "-" or "/", one switch letter and a
// decimal window handle. Pairs with saver.h (parseCommandLineText, parseCommandLine).
#include <cstdint>

#include "host/saver.h"

namespace {

bool isAtoiSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Steps over spaces and colons, then reads a number as atoi does, except that a value outside the
// 32-bit range saturates at its end instead of being undefined.
platform::WindowHandle readHandle(const char* p) {
    while (*p == ' ' || *p == ':') ++p;
    while (isAtoiSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    std::int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > limit) value = limit;
    }
    const std::int32_t number = static_cast<std::int32_t>(negative ? -value : value);
    // An int handed over as a handle widens with its sign, as the platform's handle type does.
    return static_cast<platform::WindowHandle>(static_cast<std::intptr_t>(number));
}

}  // namespace

CommandLine parseCommandLineText(const char* line, platform::WindowHandle (*foreground)()) {
    const char* p = line ? line : "";
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
    } else {
        while (*p && *p != ' ') ++p;
    }
    if (*p) ++p;
    while (*p == ' ') ++p;
    if (!*p) return {RunMode::Configure, 0};

    if (*p == '-' || *p == '/') ++p;
    switch (*p) {
    case 's':
    case 'S':
        return {RunMode::FullScreen, 0};
    case 'p':
    case 'P':
    case 'l':
    case 'L':
        return {RunMode::Preview, readHandle(p + 1)};
    case 'a':
    case 'A':
        return {RunMode::ChangePassword, readHandle(p + 1)};
    case 'c':
    case 'C': {
        const char* rest = p + 1;
        while (*rest == ' ' || *rest == ':') ++rest;
        if (!*rest) return {RunMode::Configure, foreground ? foreground() : 0};
        return {RunMode::Configure, readHandle(rest)};
    }
    default:
        return {RunMode::NoAction, 0};
    }
}

CommandLine parseCommandLine() { return parseCommandLineText(platform::getCommandLine(), platform::getForegroundWindow); }
