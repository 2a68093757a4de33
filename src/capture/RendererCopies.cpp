#include "capture/RendererCopies.h"

#include "base/AtomicFile.h"
#include "base/Logger.h"
#include "base/ResourceLocator.h"
#include "capture/CustomBackgroundCache.h"
#include "export/ImageEncoder.h"

#include <unistd.h>

namespace lumeris {

namespace fs = std::filesystem;

RendererCopies::RendererCopies(const std::string& owner)
    : prefix_(owner + "-" + std::to_string(getpid()) + "-") {}

RendererCopies::~RendererCopies() {
    for (const fs::path& copy : copies_) {
        std::error_code ignored;
        fs::remove(copy, ignored);
    }
}

std::optional<fs::path> RendererCopies::copy(const fs::path& source, const std::string& name) {
    auto copied = CustomBackgroundCache::copyToRendererData(source, prefix_ + name);
    if (copied) {
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
    auto png = ImageEncoder::pngData(picture.image);
    if (png.empty() || !AtomicFile::writeFileAtomically(target, png, error)) {
        LOG_ERROR("cannot place the picture \"{}\" for the renderer: {}", name, error);
        return std::nullopt;
    }
    copies_.push_back(target);
    return target;
}

} // namespace lumeris
