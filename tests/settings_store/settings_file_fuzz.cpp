// libFuzzer target for the Linux settings store (host/platform/linux_settings.cpp): any bytes as the
// settings file. Reading never changes the file, and a write either fails or reads back what it wrote.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "host/platform.h"
#include "host/platform/linux_settings_file.h"

namespace {

const char* const kKeys[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers",
    "Software\\Zu\\Keldric Saver",
};
const char* const kNames[] = {"Password Delay", "Mouse Threshold", "UseMirrors"};

char configHome[] = "/tmp/morvane-settings-fuzz-XXXXXX";

void removeConfigHome() {
    std::string folder = std::string(configHome) + "/morvane";
    unlink((folder + "/settings.ini").c_str());
    rmdir(folder.c_str());
    rmdir(configHome);
}

std::string& settingsFile() {
    static std::string path;
    if (path.empty()) {
        if (!mkdtemp(configHome)) std::abort();
        std::atexit(removeConfigHome);
        setenv("XDG_CONFIG_HOME", configHome, 1);
        path = std::string(configHome) + "/morvane";
        mkdir(path.c_str(), 0700);
        path += "/settings.ini";
    }
    return path;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool queryValue(const char* keyPath, const char* name, std::uint32_t& value) {
    platform::SettingsKey key = 0;
    if (platform::regOpenKey(keyPath, 0xF003F, key) != 0) return false;
    std::uint32_t size = sizeof value;
    bool ok = platform::regQueryValue(key, name, reinterpret_cast<std::uint8_t*>(&value), size) == 0;
    if (platform::regCloseKey(key) != 0) std::abort();
    return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = settingsFile();
    const std::string input(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << input;
    }

    // The number reader on its own, on the same bytes up to the first NUL.
    std::uint32_t parsed = 0;
    linux_settings::parseNumber(input.c_str(), parsed);

    std::uint32_t before[3][2] = {};
    bool readable[3][2] = {};
    for (int k = 0; k < 2; ++k) {
        for (int n = 0; n < 3; ++n) readable[n][k] = queryValue(kKeys[k], kNames[n], before[n][k]);
    }
    if (readBytes(path) != input) std::abort();

    // Writing one value keeps every other value that could be read, and reads back itself.
    std::uint32_t stored = size > 0 ? data[0] : 0;
    platform::SettingsKey key = 0;
    if (platform::regCreateKey(kKeys[1], 0xF003F, key) != 0) std::abort();
    bool written = platform::regSetValueDword(key, "UseMirrors", stored) == 0;
    platform::regCloseKey(key);
    if (!written) {
        if (readBytes(path) != input) std::abort();
        return 0;
    }
    std::uint32_t value = 0;
    if (!queryValue(kKeys[1], "UseMirrors", value) || value != stored) std::abort();
    for (int k = 0; k < 2; ++k) {
        for (int n = 0; n < 3; ++n) {
            if (k == 1 && n == 2) continue;
            std::uint32_t after = 0;
            bool readableAfter = queryValue(kKeys[k], kNames[n], after);
            if (readableAfter != readable[n][k] || (readableAfter && after != before[n][k])) std::abort();
        }
    }
    return 0;
}
