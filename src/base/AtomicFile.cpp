#include "base/AtomicFile.h"

#include "base/GLibHandles.h"

namespace lumeris {

bool AtomicFile::writeFileAtomically(const std::filesystem::path& path, std::string_view data,
                                     std::string& error, int mode) {
    GErrorPtr failure;
    // CONSISTENT writes a temporary file in the same folder and renames it over the target;
    // DURABLE syncs it first, so a crash right after the rename cannot leave an empty file.
    const bool written =
        g_file_set_contents_full(path.c_str(), data.data(), static_cast<gssize>(data.size()),
                                 static_cast<GFileSetContentsFlags>(G_FILE_SET_CONTENTS_CONSISTENT |
                                                                    G_FILE_SET_CONTENTS_DURABLE),
                                 mode, GErrorOut(failure));
    if (!written) {
        error = failure ? failure->message : "unknown error";
    }
    return written;
}

bool AtomicFile::writeFileAtomically(const std::filesystem::path& path,
                                     const std::vector<std::uint8_t>& data, std::string& error,
                                     int mode) {
    return writeFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()), error,
        mode);
}

} // namespace lumeris
