// The entry function's steps for every mode that needs no GL context, and the change-password
// mode. Pairs with host/saver_main.cpp.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/saver.h"
#include "host/saver_constants.h"
#include "tests/support/fake_platform.h"
#include "tests/support/host_fixture.h"

namespace {

struct ChangeCall {
    std::string provider;
    std::uintptr_t window;
    std::uint32_t reserved1;
    std::uint32_t reserved2;
};
std::vector<ChangeCall> changeCalls;

int scriptedChangePassword(const char* provider, std::uintptr_t window, std::uint32_t reserved1,
                           std::uint32_t reserved2) {
    changeCalls.push_back({provider, window, reserved1, reserved2});
    return 0;
}

class SaverMain : public HostFixture {
protected:
    void SetUp() override { startOver(); }
    void startOver() {
        HostFixture::startOver();
        changeCalls.clear();
    }

    int runWith(const char* line) {
        fake::state.commandLine = line;
        return saverMain(0x400000, SW_SHOWDEFAULT);
    }
    bool calledAny(const std::string& prefix) const {
        for (const std::string& call : fake::state.calls)
            if (call.compare(0, prefix.size(), prefix) == 0) return true;
        return false;
    }
};

TEST_F(SaverMain, NoActionLoadsTheSettingsAndDoesNothingElse) {
    for (const char* line : {"saver.scr /x", "saver.scr //", "saver.scr -", "saver.scr /?"}) {
        startOver();
        EXPECT_EQ(runWith(line), 0);
        EXPECT_EQ(static_cast<int>(host.runMode), static_cast<int>(RunMode::NoAction)) << line;
        EXPECT_EQ(host.instance, 0x400000u);
        ASSERT_EQ(fake::state.keyOpens.size(), 2u);
        EXPECT_EQ(fake::state.keyOpens[0].path, kSystemSettingsKey);
        EXPECT_EQ(fake::state.keyOpens[1].path, kOwnSettingsKey);
        EXPECT_TRUE(fake::state.calls.empty()) << fake::state.calls.front();
        EXPECT_TRUE(fake::state.loadedLibraries.empty());
        EXPECT_EQ(host.settings, nullptr);
    }
}

TEST_F(SaverMain, ConfigureShowsTheDialogOwnedByTheParent) {
    fake::state.userInDialog = [](platform::WindowHandle dialog, platform::DialogProc proc) {
        proc(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    EXPECT_EQ(runWith("saver.scr /c:55"), 0);
    ASSERT_EQ(fake::state.dialogs.size(), 1u);
    EXPECT_EQ(fake::state.dialogs[0].templateId, 104);
    EXPECT_EQ(fake::state.dialogs[0].owner, 55u);
    EXPECT_EQ(fake::state.dialogs[0].initParam, 0);

    startOver();
    fake::state.foreground = 0x1234;
    EXPECT_EQ(runWith("saver.scr"), 0);
    ASSERT_EQ(fake::state.dialogs.size(), 1u);
    EXPECT_EQ(fake::state.dialogs[0].owner, 0u);
}

TEST_F(SaverMain, ChangePasswordCallsTheProviderAndFreesItsLibrary) {
    fake::state.libraries["MPR.DLL"]["PwdChangePasswordA"] = reinterpret_cast<void*>(scriptedChangePassword);
    EXPECT_EQ(runWith("saver.scr /a 1234"), 0);
    ASSERT_EQ(changeCalls.size(), 1u);
    EXPECT_EQ(changeCalls[0].provider, "SCRSAVE");
    EXPECT_EQ(changeCalls[0].window, 1234u);
    EXPECT_EQ(changeCalls[0].reserved1, 0u);
    EXPECT_EQ(changeCalls[0].reserved2, 0u);
    EXPECT_TRUE(fake::state.openLibraries.empty());
}

TEST_F(SaverMain, ChangePasswordWithoutItsLibraryOrFunctionIsSilent) {
    EXPECT_EQ(runWith("saver.scr /a 1234"), 0);
    EXPECT_EQ(fake::state.loadedLibraries, std::vector<std::string>{"MPR.DLL"});

    startOver();
    fake::state.libraries["MPR.DLL"] = {};
    EXPECT_EQ(runWith("saver.scr -A"), 0);
    EXPECT_TRUE(fake::state.openLibraries.empty());
    EXPECT_TRUE(changeCalls.empty());
    EXPECT_TRUE(fake::state.messageBoxes.empty());
}

TEST_F(SaverMain, SaverModesThatCannotOpenTheirWindowStillExitZero) {
    EXPECT_EQ(runWith("saver.scr /p 999"), 0);
    startOver();  // a window class is registered once a process
    EXPECT_EQ(runWith("saver.scr /p"), 0);
    EXPECT_TRUE(fake::state.createdWindows.empty());
    EXPECT_TRUE(fake::state.messageBoxes.empty());

    startOver();
    fake::state.failRegisterClass = true;
    EXPECT_EQ(runWith("saver.scr /s"), 0);
    EXPECT_EQ(fake::state.messageBoxes.size(), 1u);
    EXPECT_TRUE(fake::state.screenSaverRunning.empty());

    startOver();
    fake::state.pixelFormat = 0;
    EXPECT_EQ(runWith("saver.scr /s"), 0);
    EXPECT_EQ(fake::state.screenSaverRunning, (std::vector<bool>{true, false}));
    EXPECT_EQ(host.scene, nullptr);
}

}  // namespace
