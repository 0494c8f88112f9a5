// Tests of the Linux settings store (host/platform/linux_settings.cpp) against real files: each test gets
// its own $XDG_CONFIG_HOME in a fresh temporary folder.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "host/platform.h"
#include "host/platform/linux_settings_file.h"
#include "host/platform/settings_override.h"

namespace {

namespace fs = std::filesystem;

const char* const kSystemKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
const char* const kOwnKey = "Software\\Zu\\Keldric Saver";

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/morvane-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        setenv("XDG_CONFIG_HOME", root.c_str(), 1);
        folder = root + "/morvane";
        file = folder + "/settings.ini";
        linux_settings::clearOverrides();
    }

    void TearDown() override {
        std::error_code ignored;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(root, ignored);
        linux_settings::clearOverrides();
    }

    void writeFile(const std::string& bytes) {
        fs::create_directories(folder);
        std::ofstream(file, std::ios::binary) << bytes;
    }

    static std::string readBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    // Open, read, close, as the host does; the call's result, with the value when it succeeds.
    static std::int32_t query(const char* keyPath, const char* name, std::uint32_t& value) {
        platform::SettingsKey key = 0;
        std::int32_t result = platform::regOpenKey(keyPath, 0xF003F, key);
        if (result != 0) return result;
        std::uint8_t bytes[4] = {0xAA, 0xAA, 0xAA, 0xAA};
        std::uint32_t size = sizeof bytes;
        result = platform::regQueryValue(key, name, bytes, size);
        EXPECT_EQ(platform::regCloseKey(key), 0);
        if (result == 0) {
            EXPECT_EQ(size, 4u);
            value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                    static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
        }
        return result;
    }

    static std::int32_t store(const char* keyPath, const char* name, std::uint32_t value) {
        platform::SettingsKey key = 0;
        std::int32_t result = platform::regCreateKey(keyPath, 0xF003F, key);
        if (result != 0) return result;
        result = platform::regSetValueDword(key, name, value);
        EXPECT_EQ(platform::regCloseKey(key), 0);
        return result;
    }

    // Every name in the settings folder: a failed write must not leave a temporary file behind.
    std::set<std::string> folderEntries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
        return names;
    }

    std::string root;
    std::string folder;
    std::string file;
};

TEST_F(SettingsStore, MissingFileGroupOrValueFailsTheRead) {
    std::uint32_t value = 7;
    EXPECT_NE(query(kOwnKey, "UseMirrors", value), 0);

    writeFile("[Screen Savers]\nPassword Delay=30\n");
    EXPECT_NE(query(kOwnKey, "UseMirrors", value), 0);
    EXPECT_NE(query(kSystemKey, "Mouse Threshold", value), 0);
    EXPECT_EQ(value, 7u);
    EXPECT_EQ(query(kSystemKey, "Password Delay", value), 0);
    EXPECT_EQ(value, 30u);

    platform::SettingsKey key = 0;
    EXPECT_NE(platform::regOpenKey("Software\\Somebody Else", 0xF003F, key), 0);
}

TEST_F(SettingsStore, NumbersReadAsTheirFourBytes) {
    struct Case {
        const char* text;
        std::uint32_t bits;
    };
    const Case cases[] = {
        {"1", 1},
        {"0", 0},
        {"-5", 0xFFFFFFFBu},
        {"4294967295", 0xFFFFFFFFu},
        {"-2147483648", 0x80000000u},
        {"2147483648", 0x80000000u},
        {"0x10", 16},
        {"0XfFfFfFfF", 0xFFFFFFFFu},
        {"+12", 12},
        {"007", 7},
    };
    for (const Case& c : cases) {
        writeFile(std::string("[Keldric Saver]\nUseMirrors=") + c.text + "\n");
        std::uint32_t value = 0xDEADBEEF;
        EXPECT_EQ(query(kOwnKey, "UseMirrors", value), 0) << c.text;
        EXPECT_EQ(value, c.bits) << c.text;
    }
    // The host keeps the two system values in signed fields: -5 must come back as -5.
    writeFile("[Screen Savers]\nMouse Threshold=-5\n");
    std::uint32_t bits = 0;
    ASSERT_EQ(query(kSystemKey, "Mouse Threshold", bits), 0);
    std::int32_t threshold = 0;
    std::memcpy(&threshold, &bits, sizeof threshold);
    EXPECT_EQ(threshold, -5);
}

TEST_F(SettingsStore, AnythingButA32BitNumberFailsTheRead) {
    const char* const garbage[] = {
        "", "abc", "12abc", "1.5", "--1", "-0x5", "0x", "true", "1 2", "4294967296", "-2147483649",
        "99999999999999999999999999", "0x100000000", "\xC3\xA9", "0x0x5", "0x-5", "-+1", "- 5",
    };
    for (const char* text : garbage) {
        writeFile(std::string("[Keldric Saver]\nUseMirrors=") + text + "\n");
        std::uint32_t value = 3;
        EXPECT_NE(query(kOwnKey, "UseMirrors", value), 0) << '"' << text << '"';
        EXPECT_EQ(value, 3u);
    }
}

TEST_F(SettingsStore, QueryHonoursTheBufferSize) {
    writeFile("[Keldric Saver]\nUseMirrors=258\n");
    platform::SettingsKey key = 0;
    ASSERT_EQ(platform::regOpenKey(kOwnKey, 0xF003F, key), 0);
    std::uint8_t bytes[4] = {9, 9, 9, 9};
    std::uint32_t size = 2;
    EXPECT_NE(platform::regQueryValue(key, "UseMirrors", bytes, size), 0);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(bytes[0], 9);
    EXPECT_EQ(bytes[2], 9);
    EXPECT_EQ(platform::regCloseKey(key), 0);
}

TEST_F(SettingsStore, HandlesAreCheckedAndReused) {
    writeFile("[Keldric Saver]\nUseMirrors=1\n");
    platform::SettingsKey key = 0;
    ASSERT_EQ(platform::regOpenKey(kOwnKey, 0xF003F, key), 0);
    EXPECT_EQ(platform::regCloseKey(key), 0);
    EXPECT_NE(platform::regCloseKey(key), 0);
    std::uint8_t bytes[4];
    std::uint32_t size = 4;
    EXPECT_NE(platform::regQueryValue(key, "UseMirrors", bytes, size), 0);
    EXPECT_NE(platform::regSetValueDword(0, "UseMirrors", 1), 0);
    EXPECT_NE(platform::regSetValueDword(12345, "UseMirrors", 1), 0);
    // Closed keys give their slots back: far more opens than slots all succeed.
    for (int i = 0; i < 200; ++i) {
        std::uint32_t value = 0;
        ASSERT_EQ(query(kOwnKey, "UseMirrors", value), 0) << i;
    }
}

TEST_F(SettingsStore, WriteCreatesFolderAndFileAndReadsBack) {
    ASSERT_FALSE(fs::exists(folder));
    EXPECT_EQ(store(kOwnKey, "UseMirrors", 0), 0);
    ASSERT_TRUE(fs::is_regular_file(file));
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    std::uint32_t value = 9;
    EXPECT_EQ(query(kOwnKey, "UseMirrors", value), 0);
    EXPECT_EQ(value, 0u);

    EXPECT_EQ(store(kOwnKey, "UseMirrors", 1), 0);
    EXPECT_EQ(query(kOwnKey, "UseMirrors", value), 0);
    EXPECT_EQ(value, 1u);
    // Written once, not appended again.
    std::string text = readBytes(file);
    EXPECT_EQ(text.find("UseMirrors"), text.rfind("UseMirrors"));
    EXPECT_EQ(folderEntries(), std::set<std::string>{"settings.ini"});
}

TEST_F(SettingsStore, WriteKeepsOtherGroupsValuesAndComments) {
    const std::string before =
        "# Morvane settings, edited by hand\n"
        "\n"
        "[Screen Savers]\n"
        "# seconds before a password is asked\n"
        "Password Delay=30\n"
        "Mouse Threshold=-5\n"
        "\n"
        "[Keldric Saver]\n"
        "UseMirrors=1\n"
        "Name[fr]=Miroirs\n"
        "\n"
        "[Somebody Else]\n"
        "Colour=blue\n";
    writeFile(before);
    EXPECT_EQ(store(kOwnKey, "UseMirrors", 0), 0);

    std::string after = readBytes(file);
    std::string expected = before;
    expected.replace(expected.find("UseMirrors=1"), 12, "UseMirrors=0");
    EXPECT_EQ(after, expected);
}

TEST_F(SettingsStore, WindowsLineEndingsReadTheSameBeforeAndAfterAWrite) {
    // The last line keeps its carriage return when the file does not end in a newline; the rewrite
    // ends it with one. The value must mean the same both times.
    writeFile("[Screen Savers]\r\nPassword Delay=30\r\nMouse Threshold=7\r");
    std::uint32_t value = 0;
    ASSERT_EQ(query(kSystemKey, "Mouse Threshold", value), 0);
    EXPECT_EQ(value, 7u);
    ASSERT_EQ(store(kOwnKey, "UseMirrors", 0), 0);
    ASSERT_EQ(query(kSystemKey, "Mouse Threshold", value), 0);
    EXPECT_EQ(value, 7u);
    ASSERT_EQ(query(kSystemKey, "Password Delay", value), 0);
    EXPECT_EQ(value, 30u);
}

TEST_F(SettingsStore, FailedWriteLeavesTheOldFileByteIdentical) {
    const std::string before = "# keep me\n[Keldric Saver]\nUseMirrors=1\n";
    writeFile(before);
    // A file-size limit smaller than the new contents makes the write of the temporary file fail
    // part-way, as a full disk would.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = saved;
    tight.rlim_cur = 8;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    std::int32_t result = store(kOwnKey, "UseMirrors", 0);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);

    EXPECT_NE(result, 0);
    EXPECT_EQ(readBytes(file), before);
    EXPECT_EQ(folderEntries(), std::set<std::string>{"settings.ini"});
    std::uint32_t value = 0;
    EXPECT_EQ(query(kOwnKey, "UseMirrors", value), 0);
    EXPECT_EQ(value, 1u);
}

TEST_F(SettingsStore, UnwritableFolderFailsWithoutLoss) {
    // The settings folder's place is taken by a file: the folder cannot be made.
    std::ofstream(folder) << "not a folder";
    EXPECT_NE(store(kOwnKey, "UseMirrors", 0), 0);
    EXPECT_EQ(readBytes(folder), "not a folder");
    fs::remove(folder);

    // A folder without write permission (root writes anyway, so this half needs an ordinary user).
    const std::string before = "[Keldric Saver]\nUseMirrors=1\n";
    writeFile(before);
    if (geteuid() != 0) {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_NE(store(kOwnKey, "UseMirrors", 0), 0);
        fs::permissions(folder, fs::perms::owner_all);
        EXPECT_EQ(readBytes(file), before);
        EXPECT_EQ(folderEntries(), std::set<std::string>{"settings.ini"});
    }
}

TEST_F(SettingsStore, FilesThatAreNotSettingsGiveDefaultsAndAreNeverReplaced) {
    std::string huge = "[Keldric Saver]\nUseMirrors=0\n";
    huge += "#" + std::string(linux_settings::kMaxFileBytes, 'x') + "\n";
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"binary", std::string("[Keldric Saver]\nUseMirrors=0\n") + std::string(1, '\0') + "\x01\xFF\xFE"},
        {"not UTF-8", "[Keldric Saver]\nUseMirrors=0\nName=\xFF\xFE\n"},
        {"not key-value lines", "[Keldric Saver]\nUseMirrors=0\nthis is not a setting\n"},
        {"huge", huge},
    };
    for (const Case& c : cases) {
        writeFile(c.bytes);
        std::uint32_t value = 1;
        EXPECT_NE(query(kOwnKey, "UseMirrors", value), 0) << c.what;
        EXPECT_EQ(value, 1u) << c.what;
        EXPECT_NE(store(kOwnKey, "UseMirrors", 1), 0) << c.what;
        EXPECT_EQ(readBytes(file), c.bytes) << c.what;
    }

    // An empty file holds nothing, and becomes a settings file at the first write.
    writeFile("");
    std::uint32_t value = 1;
    EXPECT_NE(query(kOwnKey, "UseMirrors", value), 0);
    EXPECT_EQ(store(kOwnKey, "UseMirrors", 0), 0);
    EXPECT_EQ(query(kOwnKey, "UseMirrors", value), 0);
    EXPECT_EQ(value, 0u);

    // A folder where the file should be.
    fs::remove(file);
    fs::create_directories(file);
    EXPECT_NE(query(kOwnKey, "UseMirrors", value), 0);
    EXPECT_NE(store(kOwnKey, "UseMirrors", 1), 0);
    EXPECT_TRUE(fs::is_directory(file));

    // A pipe with no writer: reading it would wait for ever.
    fs::remove(file);
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
    EXPECT_NE(query(kOwnKey, "UseMirrors", value), 0);
    EXPECT_NE(store(kOwnKey, "UseMirrors", 1), 0);
    EXPECT_TRUE(fs::is_fifo(file));
}

TEST_F(SettingsStore, ReadingNeverTouchesTheFile) {
    writeFile("[Keldric Saver]\nUseMirrors=1\n");
    struct stat before;
    ASSERT_EQ(stat(file.c_str(), &before), 0);
    std::uint32_t value = 0;
    query(kOwnKey, "UseMirrors", value);
    query(kSystemKey, "Password Delay", value);
    struct stat after;
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(before.st_mtim.tv_sec, after.st_mtim.tv_sec);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
    EXPECT_EQ(folderEntries(), std::set<std::string>{"settings.ini"});
}

TEST_F(SettingsStore, WriteThroughASymbolicLinkUpdatesItsTarget) {
    fs::create_directories(folder);
    const std::string target = root + "/dotfiles-settings.ini";
    std::ofstream(target) << "[Keldric Saver]\nUseMirrors=1\n";
    fs::create_symlink(target, file);
    EXPECT_EQ(store(kOwnKey, "UseMirrors", 0), 0);
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(readBytes(target), "[Keldric Saver]\nUseMirrors=0\n");
}

TEST_F(SettingsStore, OverridesAnswerInPlaceOfTheFileAndAreNeverWritten) {
    overrideSettingValue(kOwnKey, "UseMirrors", 0);
    std::uint32_t value = 1;
    EXPECT_EQ(query(kOwnKey, "UseMirrors", value), 0);
    EXPECT_EQ(value, 0u);
    EXPECT_FALSE(fs::exists(folder));

    writeFile("[Keldric Saver]\nUseMirrors=1\n[Screen Savers]\nPassword Delay=3\n");
    overrideSettingValue(kOwnKey, "UseMirrors", 5);
    EXPECT_EQ(query(kOwnKey, "UseMirrors", value), 0);
    EXPECT_EQ(value, 5u);
    EXPECT_EQ(query(kSystemKey, "Password Delay", value), 0);
    EXPECT_EQ(value, 3u);
    EXPECT_EQ(readBytes(file), "[Keldric Saver]\nUseMirrors=1\n[Screen Savers]\nPassword Delay=3\n");

    overrideSettingValue("Software\\Somebody Else", "UseMirrors", 1);
    platform::SettingsKey key = 0;
    EXPECT_NE(platform::regOpenKey("Software\\Somebody Else", 0xF003F, key), 0);
}

TEST(SettingsFilePath, FollowsXdgConfigHomeElseHome) {
    std::string savedXdg = getenv("XDG_CONFIG_HOME") ? getenv("XDG_CONFIG_HOME") : "";
    std::string savedHome = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", "/home/ann", 1);
    setenv("XDG_CONFIG_HOME", "/srv/conf", 1);
    EXPECT_EQ(linux_settings::settingsFilePath(), "/srv/conf/morvane/settings.ini");
    // A relative or empty XDG_CONFIG_HOME is ignored, as the base-directory rules say.
    setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(linux_settings::settingsFilePath(), "/home/ann/.config/morvane/settings.ini");
    setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(linux_settings::settingsFilePath(), "/home/ann/.config/morvane/settings.ini");
    unsetenv("HOME");
    EXPECT_EQ(linux_settings::settingsFilePath(), "");
    setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
