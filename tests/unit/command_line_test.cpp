// The command-line grammar, table-driven over the lines the platform's saver machinery and users
// give. Pairs with host/command_line.cpp.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "host/saver.h"
#include "tests/support/fake_platform.h"

namespace {

constexpr platform::WindowHandle kForeground = 0xF00D;
platform::WindowHandle foreground() { return kForeground; }

struct Case {
    const char* line;
    RunMode mode;
    platform::WindowHandle parent;
};

platform::WindowHandle handleOf(std::int32_t number) {
    return static_cast<platform::WindowHandle>(static_cast<std::intptr_t>(number));
}

void expectCases(const std::initializer_list<Case>& cases) {
    for (const Case& c : cases) {
        const CommandLine parsed = parseCommandLineText(c.line, foreground);
        EXPECT_EQ(static_cast<int>(parsed.mode), static_cast<int>(c.mode)) << "line: [" << c.line << "]";
        EXPECT_EQ(parsed.parent, c.parent) << "line: [" << c.line << "]";
    }
}

TEST(CommandLine, NothingAfterTheProgramMeansConfigureWithoutOwner) {
    expectCases({
        {"", RunMode::Configure, 0},
        {"saver.scr", RunMode::Configure, 0},
        {"saver.scr    ", RunMode::Configure, 0},
        {"\"C:\\Program Files\\saver.scr\"", RunMode::Configure, 0},
        {"\"C:\\Program Files\\saver.scr\"   ", RunMode::Configure, 0},
        // A tab is no separator: the whole line is the program path.
        {"saver.scr\t/s", RunMode::Configure, 0},
        // An unterminated quote runs to the end of the line.
        {"\"C:\\saver.scr /s", RunMode::Configure, 0},
    });
    EXPECT_EQ(static_cast<int>(parseCommandLineText(nullptr, foreground).mode), static_cast<int>(RunMode::Configure));
}

TEST(CommandLine, ConfigureTakesTheForegroundWindowOnlyWhenNothingFollows) {
    expectCases({
        {"saver.scr /c", RunMode::Configure, kForeground},
        {"saver.scr /C", RunMode::Configure, kForeground},
        {"saver.scr /c: : ", RunMode::Configure, kForeground},
        {"saver.scr c", RunMode::Configure, kForeground},
        {"saver.scr /c:1234", RunMode::Configure, 1234},
        {"saver.scr -C 1234", RunMode::Configure, 1234},
        {"saver.scr /c1234", RunMode::Configure, 1234},
        {"saver.scr /config", RunMode::Configure, 0},
    });
    EXPECT_EQ(parseCommandLineText("saver.scr /c", nullptr).parent, 0u);
}

TEST(CommandLine, FullScreenReadsOnlyTheLetter) {
    expectCases({
        {"saver.scr /s", RunMode::FullScreen, 0},
        {"saver.scr /S", RunMode::FullScreen, 0},
        {"saver.scr -s", RunMode::FullScreen, 0},
        {"saver.scr s", RunMode::FullScreen, 0},
        {"saver.scr /save", RunMode::FullScreen, 0},
        {"saver.scr /s 1234", RunMode::FullScreen, 0},
        {"\"C:\\My Savers\\saver.scr\" /s", RunMode::FullScreen, 0},
        {"\"C:\\My Savers\\saver.scr\"/s", RunMode::FullScreen, 0},
        {"saver.scr    /s", RunMode::FullScreen, 0},
    });
}

TEST(CommandLine, PreviewAndChangePasswordReadTheWindowNumber) {
    expectCases({
        {"saver.scr /p 1234", RunMode::Preview, 1234},
        {"saver.scr /p:1234", RunMode::Preview, 1234},
        {"saver.scr /P::  1234", RunMode::Preview, 1234},
        {"saver.scr /l1234", RunMode::Preview, 1234},
        {"saver.scr /L 1234", RunMode::Preview, 1234},
        {"saver.scr /p", RunMode::Preview, 0},
        {"saver.scr /p abc", RunMode::Preview, 0},
        {"saver.scr /p 12ab34", RunMode::Preview, 12},
        {"saver.scr /p\t+77", RunMode::Preview, 77},
        {"saver.scr /p -5", RunMode::Preview, handleOf(-5)},
        {"saver.scr /a 1234", RunMode::ChangePassword, 1234},
        {"saver.scr -A:99", RunMode::ChangePassword, 99},
        {"saver.scr /a", RunMode::ChangePassword, 0},
    });
}

TEST(CommandLine, NumbersOutsideThe32BitRangeSaturate) {
    expectCases({
        {"saver.scr /p 2147483647", RunMode::Preview, handleOf(INT32_MAX)},
        {"saver.scr /p 2147483648", RunMode::Preview, handleOf(INT32_MAX)},
        {"saver.scr /p 99999999999999999999999999", RunMode::Preview, handleOf(INT32_MAX)},
        {"saver.scr /p -2147483648", RunMode::Preview, handleOf(INT32_MIN)},
        {"saver.scr /p -99999999999999999999", RunMode::Preview, handleOf(INT32_MIN)},
    });
}

TEST(CommandLine, AnythingElseInThePlaceOfTheLetterDoesNothing) {
    expectCases({
        {"saver.scr /x", RunMode::NoAction, 0},
        {"saver.scr /?", RunMode::NoAction, 0},
        {"saver.scr /", RunMode::NoAction, 0},
        {"saver.scr -", RunMode::NoAction, 0},
        {"saver.scr / s", RunMode::NoAction, 0},
        {"saver.scr //s", RunMode::NoAction, 0},
        {"saver.scr -/s", RunMode::NoAction, 0},
        {"saver.scr \t/s", RunMode::NoAction, 0},
        {"saver.scr 1234", RunMode::NoAction, 0},
    });
}

TEST(CommandLine, ParseCommandLineReadsThePlatformsLineAndForegroundWindow) {
    fake::reset();
    fake::state.foreground = 0x4321;
    fake::state.commandLine = "\"/usr/bin/my saver\" /c";
    CommandLine parsed = parseCommandLine();
    EXPECT_EQ(static_cast<int>(parsed.mode), static_cast<int>(RunMode::Configure));
    EXPECT_EQ(parsed.parent, 0x4321u);
    fake::state.commandLine = "/usr/bin/morvane -p 77";
    parsed = parseCommandLine();
    EXPECT_EQ(static_cast<int>(parsed.mode), static_cast<int>(RunMode::Preview));
    EXPECT_EQ(parsed.parent, 77u);
}

}  // namespace
