#pragma once

#include <filesystem>
#include <optional>

namespace lumeris {

class SettingsStore;

// Keeps a copy of every captured or opened picture in the archive's "raw" folder.
class RawBackup {
public:
    // The copy, or none when backups are switched off or the copy failed (logged). A file of the
    // same name already there is kept, not replaced. Any thread.
    static std::optional<std::filesystem::path> makeRawBackup(const SettingsStore& settings,
                                                              const std::filesystem::path& file);
};

} // namespace lumeris
