#include "capture/RendererCopies.h"

#include "base/AtomicFile.h"
#include "base/Logger.h"
#include "base/ResourceLocator.h"
#include "capture/CustomBackgroundCache.h"
#include "export/ImageEncoder.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace lumeris {

namespace fs = std::filesystem;

namespace {

// Copies are named RENDERER_COPY_PREFIX + owner + "-" + process id + "-" + name; those of a
// process that no longer runs were left by a killed run.
void removeStaleCopies(const fs::path& folder) {
    const std::string prefix = CustomBackgroundCache::RENDERER_COPY_PREFIX;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (!name.starts_with(prefix)) {
            continue;
        }
        const auto first = name.find('-', prefix.size());
        const auto second = first == std::string::npos ? first : name.find('-', first + 1);
        if (second == std::string::npos || second == first + 1 ||
            name.find_first_not_of("0123456789", first + 1) != second) {
            continue;
        }
        const auto owner =
            static_cast<pid_t>(std::stol(name.substr(first + 1, second - first - 1)));
        if (kill(owner, 0) != 0 && errno == ESRCH) {
            std::error_code ignored;
            fs::remove(entry->path(), ignored);
        }
    }
}

} // namespace

RendererCopies::RendererCopies(const std::string& owner)
    : prefix_(owner + "-" + std::to_string(getpid()) + "-") {
    removeStaleCopies(ResourceLocator::rendererDataFolder());
}

RendererCopies::~RendererCopies() {
    for (const fs::path& copy : copies_) {
        std::error_code ignored;
        fs::remove(copy, ignored);
    }
}

std::optional<fs::path> RendererCopies::copy(const fs::path& source, const std::string& name) {
    auto copied = CustomBackgroundCache::copyToRendererData(source, prefix_ + name);
    if (copied) {
        const std::lock_guard lock(mutex_);
        copies_.push_back(*copied);
    }
    return copied;
}

std::optional<fs::path> RendererCopies::write(const LoadedImage& picture, const std::string& name) {
    const fs::path target = ResourceLocator::rendererDataFolder() /
                            (CustomBackgroundCache::RENDERER_COPY_PREFIX + prefix_ + name);
    std::error_code ignored;
    fs::create_directories(target.parent_path(), ignored);
    std::string error;
    auto png = ImageEncoder::quickPngData(picture.image);
    if (png.empty() || !AtomicFile::writeFileAtomically(target, png, error)) {
        LOG_ERROR("cannot place the picture \"{}\" for the renderer: {}", name, error);
        return std::nullopt;
    }
    const std::lock_guard lock(mutex_);
    copies_.push_back(target);
    return target;
}

void RendererCopies::remove(const fs::path& copy) {
    const std::lock_guard lock(mutex_);
    // Only what this object placed: never a file of the user's.
    if (std::erase(copies_, copy) > 0) {
        std::error_code ignored;
        fs::remove(copy, ignored);
    }
}

} // namespace lumeris
