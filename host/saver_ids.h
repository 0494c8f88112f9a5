// The saver's own names and numbers that the host and the platforms share: the settings keys and
// values, and the configuration dialog's template and check box. The Windows resource script reads
// the two dialog numbers from here too.
#pragma once

#define MORVANE_CONFIG_DIALOG 104
#define MORVANE_USE_MIRRORS_BOX 1001

#ifndef RC_INVOKED
#include <cstdint>

// Settings store keys (under the current user) and values.
constexpr const char* kSystemSettingsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
constexpr const char* kPasswordDelayValue = "Password Delay";
constexpr const char* kMouseThresholdValue = "Mouse Threshold";
constexpr const char* kOwnSettingsKey = "Software\\Zu\\Keldric Saver";
constexpr const char* kUseMirrorsValue = "UseMirrors";

// The configuration dialog's template and its check box.
constexpr std::int32_t kConfigDialogId = MORVANE_CONFIG_DIALOG;
constexpr std::int32_t kUseMirrorsCheckBox = MORVANE_USE_MIRRORS_BOX;
#endif
