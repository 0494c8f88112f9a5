// The Linux build's settings store: the two settings keys kept as groups of one per-user INI file.
// Implemented in linux_settings.cpp beside the reg* calls of host/platform.h; the pieces here are its testable parts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace linux_settings {

// A file larger than this is not a settings file: it is neither read nor replaced.
constexpr std::size_t kMaxFileBytes = 64 * 1024;

// $XDG_CONFIG_HOME/morvane/settings.ini, with ~/.config when the variable is unset, empty or relative.
// Empty when neither it nor $HOME gives an absolute path.
std::string settingsFilePath();

// The group that stands for a registry key path, or null for a key the saver does not keep.
const char* groupForKey(const char* keyPath);

// A stored value as the 4 bytes of a 32-bit number: decimal from -2147483648 to 4294967295 (a negative
// number gives its two's-complement pattern) or 0x hex up to 8 digits, with blanks around it allowed.
// False for anything else, which leaves `value` untouched.
bool parseNumber(const char* text, std::uint32_t& value);

// Forgets every value given to overrideSettingValue, as at the start of a process.
void clearOverrides();

}  // namespace linux_settings
