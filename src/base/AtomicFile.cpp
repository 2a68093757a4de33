#include "base/AtomicFile.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumeris {

namespace fs = std::filesystem;

namespace {

std::string reason(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t count = ::write(fd, data.data(), data.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

// After a rename the folder entry must reach the disk too, or a crash may undo it.
void syncFolder(const fs::path& folder) {
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

mode_t currentUmask() {
    // The only way to read it is to set it; nothing else in this process changes it.
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// A synced temporary beside `path` holding `data`, with `mode` (exact, the umask already
// applied); its path, or an empty path with `error` set.
fs::path writeTemporary(const fs::path& path, std::string_view data, mode_t mode,
                        std::string& error) {
    std::string name = (path.parent_path() / ("." + path.filename().string())).string() +
                       AtomicFile::TEMPORARY_MARK + std::to_string(getpid()) + "-XXXXXX";
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        error = reason("cannot create a temporary file in " + path.parent_path().string());
        return {};
    }
    const bool written = writeAll(fd, data) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    if (!written) {
        error = reason("cannot write " + name);
    }
    if (close(fd) != 0 && written) {
        error = reason("cannot write " + name);
        unlink(name.c_str());
        return {};
    }
    if (!written) {
        unlink(name.c_str());
        return {};
    }
    return name;
}

} // namespace

bool AtomicFile::writeFileAtomically(const fs::path& path, std::string_view data,
                                     std::string& error, int mode) {
    struct stat existing {};
    mode_t permissions = static_cast<mode_t>(mode) & ~currentUmask();
    if (stat(path.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            error = path.string() + " is a folder";
            return false;
        }
        permissions = existing.st_mode & 07777;
    }
    const fs::path temporary = writeTemporary(path, data, permissions, error);
    if (temporary.empty()) {
        return false;
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        error = reason("cannot replace " + path.string());
        unlink(temporary.c_str());
        return false;
    }
    syncFolder(path.parent_path());
    return true;
}

bool AtomicFile::writeFileAtomically(const fs::path& path, const std::vector<std::uint8_t>& data,
                                     std::string& error, int mode) {
    return writeFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()), error,
        mode);
}

bool AtomicFile::writeNewFileAtomically(const fs::path& path, const std::vector<std::uint8_t>& data,
                                        std::string& error, bool& taken, int mode) {
    taken = false;
    const mode_t permissions = static_cast<mode_t>(mode) & ~currentUmask();
    const fs::path temporary = writeTemporary(
        path, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()),
        permissions, error);
    if (temporary.empty()) {
        return false;
    }
    // The claim exists only for the moment between these two calls.
    const int claim = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions);
    if (claim < 0) {
        taken = errno == EEXIST;
        error = reason("cannot create " + path.string());
        unlink(temporary.c_str());
        return false;
    }
    close(claim);
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        error = reason("cannot write " + path.string());
        unlink(temporary.c_str());
        unlink(path.c_str());
        return false;
    }
    syncFolder(path.parent_path());
    return true;
}

void AtomicFile::removeStaleTemporaries(const fs::path& folder) {
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        const auto mark = name.rfind(TEMPORARY_MARK);
        if (name.front() != '.' || mark == std::string::npos) {
            continue;
        }
        const std::string rest = name.substr(mark + std::strlen(TEMPORARY_MARK));
        const auto dash = rest.find('-');
        if (dash == std::string::npos || dash == 0 || rest.size() != dash + 7 ||
            rest.find_first_not_of("0123456789") != dash) {
            continue;
        }
        // A process id that is in use may belong to a writer still at work: kept.
        const pid_t writer = static_cast<pid_t>(std::stol(rest.substr(0, dash)));
        if (kill(writer, 0) != 0 && errno == ESRCH) {
            std::error_code ignored;
            fs::remove(entry->path(), ignored);
        }
    }
}

} // namespace lumeris
