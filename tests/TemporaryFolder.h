#pragma once

#include <filesystem>
#include <fstream>
#include <glib.h>
#include <sstream>
#include <string>

// A fresh folder for one test, removed with everything in it at the end.
class TemporaryFolder {
public:
    TemporaryFolder() {
        gchar* made = g_dir_make_tmp("lumeris-test-XXXXXX", nullptr);
        path_ = made;
        g_free(made);
    }
    ~TemporaryFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// How many entries `folder` holds.
inline long entryCount(const std::filesystem::path& folder) {
    return std::distance(std::filesystem::directory_iterator(folder), {});
}

// The whole text of `path`; empty when it cannot be read.
inline std::string fileText(const std::filesystem::path& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}
