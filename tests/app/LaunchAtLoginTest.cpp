#include "app/LaunchAtLogin.h"

#include "TemporaryFolder.h"
#include "base/GLibHandles.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <fstream>
#include <glib.h>
#include <gtest/gtest.h>

using namespace lumeris;

namespace {

// The arguments a desktop would start from the entry's Exec line (no field codes in it).
std::vector<std::string> execArguments(const std::filesystem::path& entry) {
    GHandle<GKeyFile, g_key_file_free> file(g_key_file_new());
    EXPECT_TRUE(g_key_file_load_from_file(file.get(), entry.c_str(), G_KEY_FILE_NONE, nullptr));
    GCharPtr exec(g_key_file_get_string(file.get(), "Desktop Entry", "Exec", nullptr));
    std::string line = exec ? exec.get() : "";
    for (auto at = line.find("%%"); at != std::string::npos; at = line.find("%%", at + 1)) {
        line.erase(at, 1);
    }
    gchar** argv = nullptr;
    EXPECT_TRUE(g_shell_parse_argv(line.c_str(), nullptr, &argv, nullptr)) << line;
    std::vector<std::string> arguments(argv, argv + (argv ? g_strv_length(argv) : 0));
    g_strfreev(argv);
    return arguments;
}

} // namespace

// The Exec line read back as a desktop would must give the path unchanged, whatever it holds.
TEST(LaunchAtLoginTest, EntryStartsTheProgramHiddenWhateverItsPathHolds) {
    TemporaryFolder home;
    const bool validator = GCharPtr(g_find_program_in_path("desktop-file-validate")) != nullptr;
    for (const std::string executable :
         {"/usr/bin/lumeris", "/opt/My Apps/lumeris", "/tmp/it's 100%/a\"b$c`d\\e/lumeris"}) {
        const auto entry = home / "config/autostart/app.lumeris.Lumeris.desktop";
        LaunchAtLogin launch(entry, executable);
        std::string error;
        ASSERT_TRUE(launch.setEnabled(true, error)) << error;
        EXPECT_TRUE(launch.isEnabled());
        EXPECT_EQ(execArguments(entry), (std::vector<std::string>{executable, "--hidden"}));
        if (validator) {
            gint status = -1;
            gchar* output = nullptr;
            const std::string command = "desktop-file-validate '" + entry.string() + "'";
            ASSERT_TRUE(
                g_spawn_command_line_sync(command.c_str(), &output, nullptr, &status, nullptr));
            EXPECT_TRUE(g_spawn_check_wait_status(status, nullptr)) << output;
            g_free(output);
        }
        ASSERT_TRUE(launch.setEnabled(false, error)) << error;
        EXPECT_FALSE(std::filesystem::exists(entry));
        EXPECT_FALSE(launch.isEnabled());
        // Removing what is not there is no failure.
        EXPECT_TRUE(launch.setEnabled(false, error)) << error;
    }
}

TEST(LaunchAtLoginTest, EntriesSwitchedOffByTheDesktopCountAsOff) {
    TemporaryFolder home;
    const auto entry = home / "app.lumeris.Lumeris.desktop";
    LaunchAtLogin launch(entry, "/usr/bin/lumeris");
    const struct {
        const char* extra;
        bool enabled;
    } cases[] = {
        {"", true},
        {"Hidden=true\n", false},
        {"X-GNOME-Autostart-enabled=false\n", false},
        {"X-GNOME-Autostart-enabled=true\n", true},
    };
    for (const auto& test : cases) {
        std::ofstream(entry) << "[Desktop Entry]\nType=Application\nName=Lumeris\n"
                                "Exec=lumeris --hidden\n"
                             << test.extra;
        EXPECT_EQ(launch.isEnabled(), test.enabled) << test.extra;
    }
    std::ofstream(entry) << "not a key file";
    EXPECT_FALSE(launch.isEnabled());
}

TEST(LaunchAtLoginTest, FollowsTheSettingAndReportsWhatCannotBeWritten) {
    TemporaryFolder home;
    SettingsStore settings(home / "settings.json", SettingsStore::Persistence::InMemory);
    const auto entry = home / "autostart/app.lumeris.Lumeris.desktop";
    LaunchAtLogin launch(entry, "/usr/bin/lumeris");
    std::string error;
    settings.set(SettingKeys::LAUNCH_AT_LOGIN, true);
    EXPECT_TRUE(launch.follow(settings, error));
    EXPECT_TRUE(launch.isEnabled());
    settings.set(SettingKeys::LAUNCH_AT_LOGIN, false);
    EXPECT_TRUE(launch.follow(settings, error));
    EXPECT_FALSE(std::filesystem::exists(entry));

    // A file where the autostart folder should be.
    std::ofstream(home / "blocked") << "";
    LaunchAtLogin blocked(home / "blocked/app.lumeris.Lumeris.desktop", "/usr/bin/lumeris");
    EXPECT_FALSE(blocked.setEnabled(true, error));
    EXPECT_NE(error.find("blocked"), std::string::npos) << error;
}
