// The Linux build's settings store: the reg* calls of host/platform.h over one per-user INI file
// (GLib's GKeyFile), and the command-line overrides of settings_override.h. Pairs with linux_settings_file.h.
#include <fcntl.h>
#include <glib.h>
#include <glib/gstdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/platform.h"
#include "host/platform/linux_settings_file.h"
#include "host/platform/settings_override.h"
#include "host/saver_constants.h"
#include "host/saver_ids.h"

namespace linux_settings {
namespace {

struct KeyGroup {
    const char* keyPath;
    const char* group;
};

constexpr KeyGroup kKeyGroups[] = {
    {kSystemSettingsKey, "Screen Savers"},
    {kOwnSettingsKey, "Keldric Saver"},
};

struct Override {
    std::string group;
    std::string name;
    std::uint32_t value;
};

std::vector<Override>& overrides() {
    static std::vector<Override> list;
    return list;
}

const Override* findOverride(const char* group, const char* name) {
    for (const Override& entry : overrides()) {
        if (entry.group == group && entry.name == name) return &entry;
    }
    return nullptr;
}

bool hasOverrideInGroup(const char* group) {
    for (const Override& entry : overrides()) {
        if (entry.group == group) return true;
    }
    return false;
}

// An open key. The handle the caller holds is the slot's index plus one, so 0 is never valid.
struct OpenKey {
    bool inUse = false;
    const char* group = nullptr;
    GKeyFile* file = nullptr;  // the file as read at open time; null for a key opened for writing
};

constexpr std::size_t kMaxOpenKeys = 16;
OpenKey openKeys[kMaxOpenKeys];

OpenKey* keyFromHandle(platform::SettingsKey key) {
    if (key == 0 || key > kMaxOpenKeys || !openKeys[key - 1].inUse) return nullptr;
    return &openKeys[key - 1];
}

std::int32_t allocateKey(const char* group, GKeyFile* file, platform::SettingsKey& key) {
    for (std::size_t i = 0; i < kMaxOpenKeys; ++i) {
        if (!openKeys[i].inUse) {
            openKeys[i] = {true, group, file};
            key = i + 1;
            return 0;
        }
    }
    if (file) g_key_file_free(file);
    return ERROR_ACCESS_DENIED;
}

enum class FileState { Missing, Loaded, Unusable };

// Loads the settings file without ever writing to it. Anything but a small, regular, UTF-8 text file
// without NUL bytes that GKeyFile can parse is Unusable: a directory, a device, a huge or binary file.
FileState loadSettingsFile(const std::string& path, GKeyFile*& file, std::string& reason) {
    file = nullptr;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) return FileState::Missing;
        reason = std::strerror(errno);
        return FileState::Unusable;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        reason = "not a regular file";
        return FileState::Unusable;
    }
    // Read one byte past the limit to see a file that grew past it since fstat.
    std::string data;
    data.resize(kMaxFileBytes + 1);
    std::size_t length = 0;
    while (length < data.size()) {
        ssize_t got = read(fd, &data[length], data.size() - length);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            reason = std::strerror(errno);
            close(fd);
            return FileState::Unusable;
        }
        if (got == 0) break;
        length += static_cast<std::size_t>(got);
    }
    close(fd);
    if (length > kMaxFileBytes) {
        reason = "larger than a settings file can be";
        return FileState::Unusable;
    }
    data.resize(length);
    if (data.find('\0') != std::string::npos || !g_utf8_validate(data.data(), length, nullptr)) {
        reason = "not a text file";
        return FileState::Unusable;
    }
    GKeyFile* parsed = g_key_file_new();
    GError* error = nullptr;
    if (!g_key_file_load_from_data(parsed, data.data(), length,
                                   static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS),
                                   &error)) {
        reason = error->message;
        g_error_free(error);
        g_key_file_free(parsed);
        return FileState::Unusable;
    }
    file = parsed;
    return FileState::Loaded;
}

// A value name GKeyFile can store as a key: no line break, no '=' or brackets, no blanks at either end.
bool isStorableName(const char* name) {
    std::size_t length = std::strlen(name);
    if (length == 0 || name[0] == ' ' || name[length - 1] == ' ') return false;
    return std::strpbrk(name, "=[]\r\n\t") == nullptr;
}

void reportWriteFailure(const std::string& path, const std::string& reason) {
    std::fprintf(stderr, "morvane: settings not saved to %s: %s\n", path.c_str(), reason.c_str());
}

// Writes `text` over the file at `path` in one step: GLib writes a temporary file beside it, flushes
// it to disk and renames it over the old one, so a failure at any point leaves the old file whole.
bool replaceFile(const std::string& path, const std::string& text, std::string& reason) {
    // Replace what a symbolic link points at, not the link itself.
    std::string target = path;
    if (char* resolved = realpath(path.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    int mode = 0600;
    struct stat info;
    if (stat(target.c_str(), &info) == 0) mode = static_cast<int>(info.st_mode & 0777);

    GError* error = nullptr;
    if (!g_file_set_contents_full(target.c_str(), text.data(), static_cast<gssize>(text.size()),
                                  G_FILE_SET_CONTENTS_CONSISTENT, mode, &error)) {
        reason = error->message;
        g_error_free(error);
        return false;
    }
    return true;
}

// The digits at `p` in `base` (10 or 16), which carry no sign or prefix of their own, as a number of
// at most 32 bits. Returns where they end; null when there are none or they need more bits.
const char* readMagnitude(const char* p, int base, std::uint64_t& number) {
    const std::size_t length = std::strspn(p, base == 16 ? "0123456789abcdefABCDEF" : "0123456789");
    if (length == 0) return nullptr;
    // strtoull would take blanks, a sign and a 0x of its own: it must stop where the digits do.
    errno = 0;
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(p, &end, base);
    if (end != p + length || errno == ERANGE || parsed > 0xFFFFFFFFull) return nullptr;
    number = parsed;
    return end;
}

}  // namespace

std::string settingsFilePath() {
    std::string base;
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && configHome[0] == '/') {
        base = configHome;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/') return std::string();
        base = std::string(home) + "/.config";
    }
    return base + "/morvane/settings.ini";
}

const char* groupForKey(const char* keyPath) {
    if (!keyPath) return nullptr;
    for (const KeyGroup& entry : kKeyGroups) {
        if (g_ascii_strcasecmp(entry.keyPath, keyPath) == 0) return entry.group;
    }
    return nullptr;
}

bool parseNumber(const char* text, std::uint32_t& value) {
    if (!text) return false;
    const char* p = text + std::strspn(text, " \t");
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    const bool hex = p[0] == '0' && (p[1] == 'x' || p[1] == 'X');
    if (hex) p += 2;
    std::uint64_t number = 0;
    p = readMagnitude(p, hex ? 16 : 10, number);
    // A carriage return too: the last line of a file with Windows line endings keeps it when the
    // file does not end in a newline, and rewriting the file drops it.
    if (!p || p[std::strspn(p, " \t\r")] != '\0') return false;
    if (negative && (hex || number > 0x80000000ull)) return false;
    // A negative number gives its two's-complement pattern.
    value = negative ? 0u - static_cast<std::uint32_t>(number) : static_cast<std::uint32_t>(number);
    return true;
}

void clearOverrides() {
    overrides().clear();
}

}  // namespace linux_settings

void overrideSettingValue(const char* keyPath, const char* valueName, std::uint32_t value) {
    const char* group = linux_settings::groupForKey(keyPath);
    if (!group || !valueName) return;
    for (linux_settings::Override& entry : linux_settings::overrides()) {
        if (entry.group == group && entry.name == valueName) {
            entry.value = value;
            return;
        }
    }
    linux_settings::overrides().push_back({group, valueName, value});
}

namespace platform {

using namespace linux_settings;

std::int32_t regOpenKey(const char* path, std::uint32_t /*access*/, SettingsKey& key) {
    const char* group = groupForKey(path);
    if (!group) return ERROR_FILE_NOT_FOUND;
    GKeyFile* file = nullptr;
    std::string reason;
    std::string filePath = settingsFilePath();
    if (!filePath.empty() && loadSettingsFile(filePath, file, reason) == FileState::Loaded &&
        !g_key_file_has_group(file, group)) {
        g_key_file_free(file);
        file = nullptr;
    }
    // Like a registry key that does not exist: no file, no group and nothing given on the command line.
    if (!file && !hasOverrideInGroup(group)) return ERROR_FILE_NOT_FOUND;
    return allocateKey(group, file, key);
}

std::int32_t regQueryValue(SettingsKey key, const char* name, std::uint8_t* data, std::uint32_t& size) {
    OpenKey* open = keyFromHandle(key);
    if (!open || !name) return ERROR_INVALID_HANDLE;
    std::uint32_t value = 0;
    if (const Override* given = findOverride(open->group, name)) {
        value = given->value;
    } else {
        if (!open->file) return ERROR_FILE_NOT_FOUND;
        gchar* text = g_key_file_get_value(open->file, open->group, name, nullptr);
        if (!text) return ERROR_FILE_NOT_FOUND;
        bool ok = parseNumber(text, value);
        g_free(text);
        if (!ok) return ERROR_INVALID_DATA;
    }
    if (!data) {
        size = sizeof value;
        return 0;
    }
    if (size < sizeof value) {
        size = sizeof value;
        return ERROR_MORE_DATA;
    }
    // REG_DWORD's byte order, whatever the machine's.
    for (std::size_t i = 0; i < sizeof value; ++i) data[i] = static_cast<std::uint8_t>(value >> (8 * i));
    size = sizeof value;
    return 0;
}

std::int32_t regCreateKey(const char* path, std::uint32_t /*access*/, SettingsKey& key) {
    const char* group = groupForKey(path);
    if (!group) return ERROR_ACCESS_DENIED;
    return allocateKey(group, nullptr, key);
}

std::int32_t regSetValueDword(SettingsKey key, const char* name, std::uint32_t value) {
    OpenKey* open = keyFromHandle(key);
    if (!open || !name) return ERROR_INVALID_HANDLE;
    if (!isStorableName(name)) return ERROR_INVALID_DATA;
    std::string path = settingsFilePath();
    if (path.empty()) {
        reportWriteFailure("~/.config/morvane/settings.ini", "neither XDG_CONFIG_HOME nor HOME is set");
        return ERROR_ACCESS_DENIED;
    }
    GKeyFile* file = nullptr;
    std::string reason;
    FileState state = loadSettingsFile(path, file, reason);
    if (state == FileState::Unusable) {
        // Not ours to overwrite: the user may want what is in it.
        reportWriteFailure(path, reason);
        return ERROR_ACCESS_DENIED;
    }
    if (state == FileState::Missing) {
        file = g_key_file_new();
        std::string folder = path.substr(0, path.rfind('/'));
        if (g_mkdir_with_parents(folder.c_str(), 0700) != 0) {
            reportWriteFailure(path, std::strerror(errno));
            g_key_file_free(file);
            return ERROR_ACCESS_DENIED;
        }
    }
    char text[16];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
    g_key_file_set_value(file, open->group, name, text);
    gsize length = 0;
    gchar* contents = g_key_file_to_data(file, &length, nullptr);
    g_key_file_free(file);
    bool saved = replaceFile(path, std::string(contents, length), reason);
    g_free(contents);
    if (!saved) {
        reportWriteFailure(path, reason);
        return ERROR_WRITE_FAULT;
    }
    return 0;
}

std::int32_t regCloseKey(SettingsKey key) {
    OpenKey* open = keyFromHandle(key);
    if (!open) return ERROR_INVALID_HANDLE;
    if (open->file) g_key_file_free(open->file);
    *open = OpenKey();
    return 0;
}

}  // namespace platform
