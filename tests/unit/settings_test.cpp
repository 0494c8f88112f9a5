// The settings store and the configuration dialog on the scripted platform: defaults, reads,
// access rights, OK and Cancel. Pairs with host/settings.cpp and host/config_dialog.cpp.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "host/saver.h"
#include "host/saver_constants.h"
#include "tests/support/fake_platform.h"
#include "tests/support/host_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class Settings : public HostFixture {
protected:
    void readAll() {
        readSystemSettings(settings);
        readOwnSettings(settings);
    }
    // Shows the dialog as the entry function does; the user clicks the controls in turn until one
    // ends it. The check box is an automatic one: it toggles, then notifies.
    fake::DialogCall showDialog(const std::vector<std::int32_t>& clicks) {
        fake::state.userInDialog = [&](platform::WindowHandle dialog, platform::DialogProc proc) {
            checkAfterInit = fake::state.buttons[kUseMirrorsCheckBox];
            for (std::int32_t id : clicks) {
                if (fake::state.dialogResult) break;
                std::uint32_t& check = fake::state.buttons[id];
                if (id == kUseMirrorsCheckBox) check = check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
                proc(dialog, WM_COMMAND, static_cast<std::uint16_t>(id), 0);
            }
        };
        platform::dialogBoxParam(0, kConfigDialogId, 0, configDialogProc, 0);
        return fake::state.dialogs.back();
    }
    bool storedMirrors(std::uint32_t& value) {
        auto key = fake::state.settings.find(kOwnSettingsKey);
        if (key == fake::state.settings.end() || !key->second.count(kUseMirrorsValue)) return false;
        const Bytes& bytes = key->second.at(kUseMirrorsValue);
        if (bytes.size() != 4) return false;
        value = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
        return true;
    }

    std::uint32_t checkAfterInit = 99;  // the check box as the dialog set it up
};

const std::int32_t clickOk = IDOK;
const std::int32_t clickCancel = IDCANCEL;
const std::int32_t clickBox = kUseMirrorsCheckBox;

TEST_F(Settings, DefaultsStandForEverythingThatCannotBeRead) {
    settings.passwordDelay = 99;
    settings.mouseThreshold = 99;
    settings.useMirrors = 0;
    settings.checkingPassword = 1;
    readAll();
    EXPECT_EQ(settings.passwordDelay, 15);
    EXPECT_EQ(settings.mouseThreshold, 50);
    EXPECT_EQ(settings.useMirrors, 1u);
    EXPECT_EQ(settings.checkingPassword, 0u);

    fake::state.unreadableKeys.insert(kSystemSettingsKey);
    fake::setSettingDword(kSystemSettingsKey, kPasswordDelayValue, 3);
    fake::setSettingDword(kOwnSettingsKey, "Other", 0);
    readAll();
    EXPECT_EQ(settings.passwordDelay, 15);
    EXPECT_EQ(settings.useMirrors, 1u);
}

TEST_F(Settings, StoredValuesAreReadAsTheirRawNumbers) {
    fake::setSettingDword(kSystemSettingsKey, kPasswordDelayValue, 0xFFFFFFFFu);
    fake::setSettingDword(kSystemSettingsKey, kMouseThresholdValue, 5);
    fake::setSettingDword(kOwnSettingsKey, kUseMirrorsValue, 7);
    readAll();
    EXPECT_EQ(settings.passwordDelay, -1);
    EXPECT_EQ(settings.mouseThreshold, 5);
    EXPECT_EQ(settings.useMirrors, 7u);
    EXPECT_TRUE(fake::state.openKeys.empty());
}

TEST_F(Settings, ValuesOfOtherLengthsAndUnreadableValues) {
    // Longer than 4 bytes: cannot be read, the default stays. Shorter: its raw bytes.
    fake::state.settings[kSystemSettingsKey][kPasswordDelayValue] = Bytes{1, 0, 0, 0, 0};
    fake::state.settings[kSystemSettingsKey][kMouseThresholdValue] = Bytes{0x2C, 0x01};
    readSystemSettings(settings);
    EXPECT_EQ(settings.passwordDelay, 15);
    EXPECT_EQ(settings.mouseThreshold, 300);

    fake::state.unreadableValues.insert({kSystemSettingsKey, kMouseThresholdValue});
    fake::setSettingDword(kSystemSettingsKey, kPasswordDelayValue, 30);
    readSystemSettings(settings);
    EXPECT_EQ(settings.passwordDelay, 30);
    EXPECT_EQ(settings.mouseThreshold, 50);
    EXPECT_TRUE(fake::state.openKeys.empty());
}

TEST_F(Settings, KeysThatAreOnlyReadAreOpenedForReading) {
    fake::setSettingDword(kSystemSettingsKey, kMouseThresholdValue, 8);
    fake::setSettingDword(kOwnSettingsKey, kUseMirrorsValue, 0);
    fake::state.readOnlyKeys.insert(kSystemSettingsKey);
    fake::state.readOnlyKeys.insert(kOwnSettingsKey);
    readAll();
    EXPECT_EQ(settings.mouseThreshold, 8);
    EXPECT_EQ(settings.useMirrors, 0u);
    for (const fake::KeyOpen& open : fake::state.keyOpens) {
        EXPECT_EQ(open.access, KEY_READ) << open.path;
        EXPECT_FALSE(open.create);
    }
}

TEST_F(Settings, WritingCreatesTheKeyAndFailsSilently) {
    settings.useMirrors = 0;
    writeOwnSettings(settings);
    std::uint32_t stored = 99;
    ASSERT_TRUE(storedMirrors(stored));
    EXPECT_EQ(stored, 0u);
    EXPECT_TRUE(fake::state.openKeys.empty());

    fake::state.failSettingWrites = true;
    settings.useMirrors = 1;
    writeOwnSettings(settings);
    ASSERT_TRUE(storedMirrors(stored));
    EXPECT_EQ(stored, 0u);
    EXPECT_TRUE(fake::state.openKeys.empty());
}

TEST_F(Settings, DialogShowsTheSettingAndOkStoresZeroOrOne) {
    readAll();
    fake::DialogCall call = showDialog({clickOk});
    EXPECT_EQ(call.initResult, 1);
    EXPECT_EQ(checkAfterInit, BST_CHECKED);
    EXPECT_EQ(call.result, IDOK);
    std::uint32_t stored = 99;
    ASSERT_TRUE(storedMirrors(stored));
    EXPECT_EQ(stored, 1u);

    call = showDialog({clickBox, clickOk});
    EXPECT_EQ(call.result, IDOK);
    ASSERT_TRUE(storedMirrors(stored));
    EXPECT_EQ(stored, 0u);
    EXPECT_EQ(settings.useMirrors, 0u);

    readOwnSettings(settings);
    call = showDialog({clickOk});
    EXPECT_EQ(checkAfterInit, BST_UNCHECKED);
    // The system values are never written.
    EXPECT_FALSE(fake::state.settings.count(kSystemSettingsKey));
    for (const fake::KeyOpen& open : fake::state.keyOpens) EXPECT_TRUE(open.path != kSystemSettingsKey || !open.create);
}

TEST_F(Settings, DialogShowsAnyNonZeroSettingCheckedSoOkKeepsTheMirrors) {
    fake::setSettingDword(kOwnSettingsKey, kUseMirrorsValue, 7);
    readAll();
    showDialog({clickOk});
    EXPECT_EQ(checkAfterInit, BST_CHECKED);
    std::uint32_t stored = 99;
    ASSERT_TRUE(storedMirrors(stored));
    EXPECT_EQ(stored, 1u);
}

TEST_F(Settings, CancelStoresNothing) {
    readAll();
    const fake::DialogCall call = showDialog({clickBox, clickCancel});
    EXPECT_EQ(call.result, IDCANCEL);
    EXPECT_FALSE(fake::state.settings.count(kOwnSettingsKey));
    EXPECT_EQ(fake::state.settingWrites, 0);
}

TEST_F(Settings, DialogReadsOnlyTheControlIdOfACommand) {
    readAll();
    const platform::WindowHandle dialog = 0x55;
    // Another control, or a notification with no known control, does nothing.
    EXPECT_EQ(configDialogProc(dialog, WM_COMMAND, 1002, 0), 0);
    EXPECT_EQ(configDialogProc(dialog, WM_COMMAND, (1u << 16) | kUseMirrorsCheckBox, 0), 0);
    EXPECT_EQ(configDialogProc(dialog, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(fake::state.settingWrites, 0);
    // The notification code in the high word does not stop OK.
    platform::checkDlgButton(dialog, kUseMirrorsCheckBox, BST_UNCHECKED);
    EXPECT_EQ(configDialogProc(dialog, WM_COMMAND, (1u << 16) | IDOK, 0), 0);
    EXPECT_EQ(fake::state.settingWrites, 1);
}

TEST_F(Settings, OkClosesTheDialogEvenWhenTheSettingCannotBeWritten) {
    fake::state.readOnlyKeys.insert(kOwnSettingsKey);
    readAll();
    const fake::DialogCall call = showDialog({clickOk});
    EXPECT_EQ(call.result, IDOK);
    EXPECT_EQ(fake::state.settingWrites, 0);
    EXPECT_TRUE(fake::state.openKeys.empty());
}

}  // namespace
