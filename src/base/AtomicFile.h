#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lumeris {

// Writes files so that a reader sees the old file or the new one, never half of one: a temporary
// file in the same folder is written, synced and renamed into place.
class AtomicFile {
public:
    // Temporaries are named "." + the target's name + this mark + the writer's process id + "-" +
    // six random characters, so that a later run can tell those of a killed writer.
    static constexpr const char* TEMPORARY_MARK = ".lumeris-tmp-";

    // Replaces or creates `path`. False with `error` set when the file could not be written; an
    // existing file then stays as it was. A replaced file keeps its permissions; `mode` applies
    // to a new one (before the umask).
    static bool writeFileAtomically(const std::filesystem::path& path, std::string_view data,
                                    std::string& error, int mode = 0666);
    static bool writeFileAtomically(const std::filesystem::path& path,
                                    const std::vector<std::uint8_t>& data, std::string& error,
                                    int mode = 0666);

    // Creates `path` and never replaces anything: the name is claimed create-exclusive once the
    // contents are safely written, and the contents renamed over the claim. False with `taken`
    // set when a file of that name exists (another run may just have claimed it).
    static bool writeNewFileAtomically(const std::filesystem::path& path,
                                       const std::vector<std::uint8_t>& data, std::string& error,
                                       bool& taken, int mode = 0666);

    // Removes the temporaries in `folder` whose writer no longer runs (killed mid-write).
    static void removeStaleTemporaries(const std::filesystem::path& folder);
};

} // namespace lumeris
