// Win32 platform: the settings store, named 32-bit values under HKEY_CURRENT_USER (advapi32).
// Pairs with host/platform.h; the keys, defaults and access rights are the host's.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "host/platform.h"

namespace platform {

namespace {

HKEY keyOf(SettingsKey key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

std::int32_t regOpenKey(const char* path, std::uint32_t access, SettingsKey& key) {
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, access, &opened);
    key = result == ERROR_SUCCESS ? reinterpret_cast<SettingsKey>(opened) : 0;
    return result;
}

std::int32_t regQueryValue(SettingsKey key, const char* name, std::uint8_t* data, std::uint32_t& size) {
    DWORD type = 0;
    DWORD length = size;
    const LONG result = RegQueryValueExA(keyOf(key), name, nullptr, &type, data, &length);
    size = length;
    return result;
}

std::int32_t regCreateKey(const char* path, std::uint32_t access, SettingsKey& key) {
    HKEY created = nullptr;
    const LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                        nullptr, &created, nullptr);
    key = result == ERROR_SUCCESS ? reinterpret_cast<SettingsKey>(created) : 0;
    return result;
}

std::int32_t regSetValueDword(SettingsKey key, const char* name, std::uint32_t value) {
    const DWORD data = value;
    return RegSetValueExA(keyOf(key), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
}

std::int32_t regCloseKey(SettingsKey key) { return RegCloseKey(keyOf(key)); }

}  // namespace platform
