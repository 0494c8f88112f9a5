// The settings store: the system's password delay and mouse threshold, read only, and the saver's
// own mirror switch, read at start and written by the dialog. Pairs with saver.h.
#include <cstdint>

#include "host/saver.h"
#include "host/saver_constants.h"

namespace {

// A value of up to 4 bytes, little-endian as stored; longer values cannot be read and are skipped.
bool readNumber(platform::SettingsKey key, const char* name, std::uint32_t& value) {
    std::uint8_t bytes[4] = {0, 0, 0, 0};
    std::uint32_t size = sizeof bytes;
    if (platform::regQueryValue(key, name, bytes, size) != ERROR_SUCCESS) return false;
    value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
            static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return true;
}

}  // namespace

void readSystemSettings(SaverSettings& settings) {
    settings.passwordDelay = kDefaultPasswordDelay;
    settings.mouseThreshold = kDefaultMouseThreshold;
    settings.checkingPassword = 0;
    platform::SettingsKey key = 0;
    // Read access only: the user may be allowed to read these values but not to change them.
    if (platform::regOpenKey(kSystemSettingsKey, KEY_READ, key) != ERROR_SUCCESS) return;
    std::uint32_t value = 0;
    if (readNumber(key, kPasswordDelayValue, value)) settings.passwordDelay = static_cast<std::int32_t>(value);
    if (readNumber(key, kMouseThresholdValue, value)) settings.mouseThreshold = static_cast<std::int32_t>(value);
    platform::regCloseKey(key);
}

void readOwnSettings(SaverSettings& settings) {
    settings.useMirrors = 1;
    platform::SettingsKey key = 0;
    if (platform::regOpenKey(kOwnSettingsKey, KEY_READ, key) != ERROR_SUCCESS) return;
    std::uint32_t value = 0;
    if (readNumber(key, kUseMirrorsValue, value)) settings.useMirrors = value;
    platform::regCloseKey(key);
}

void writeOwnSettings(const SaverSettings& settings) {
    platform::SettingsKey key = 0;
    if (platform::regCreateKey(kOwnSettingsKey, KEY_ALL_ACCESS, key) != ERROR_SUCCESS) return;
    platform::regSetValueDword(key, kUseMirrorsValue, settings.useMirrors);
    platform::regCloseKey(key);
}
