// Settings given on the command line of the Linux build (-mirrors, -no-mirrors, as XScreenSaver
// passes them): for this run the settings store answers them in place of the stored values,
// and writes nothing.
#pragma once

#include <cstdint>

void overrideSettingValue(const char* keyPath, const char* valueName, std::uint32_t value);
