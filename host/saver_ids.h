// The saver's own names and numbers that the host and the platforms share: the settings keys and
// values, and the configuration dialog's template and check box.
#pragma once

#include <cstdint>

// Settings store keys (under the current user) and values.
constexpr const char* kSystemSettingsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
constexpr const char* kPasswordDelayValue = "Password Delay";
constexpr const char* kMouseThresholdValue = "Mouse Threshold";
constexpr const char* kOwnSettingsKey = "Software\\Zu\\Keldric Saver";
constexpr const char* kUseMirrorsValue = "UseMirrors";

// The configuration dialog's template and its check box.
constexpr std::int32_t kConfigDialogId = 104;
constexpr std::int32_t kUseMirrorsCheckBox = 1001;
