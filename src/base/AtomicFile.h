#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lumeris {

// Replaces a file's contents so that a reader sees the old file or the new one, never half of
// one: a temporary file in the same folder is written, synced and renamed over the target.
class AtomicFile {
public:
    // False with `error` set when the file could not be written; an existing file then stays
    // as it was. `mode` applies to a newly written file (before the umask).
    static bool writeFileAtomically(const std::filesystem::path& path, std::string_view data,
                                    std::string& error, int mode = 0666);
    static bool writeFileAtomically(const std::filesystem::path& path,
                                    const std::vector<std::uint8_t>& data, std::string& error,
                                    int mode = 0666);
};

} // namespace lumeris
