#include "ui/BezelIcon.h"

#include "base/Logger.h"
#include "base/ResourceLocator.h"
#include "export/ImageReader.h"

namespace lumeris {

std::optional<RgbaImage> BezelIcon::named(const std::string& name) {
    auto path = ResourceLocator::resource("icons/" + name + ".svg");
    if (!path) {
        LOG_WARNING("No bezel icon named {}", name);
        return std::nullopt;
    }
    std::string error;
    auto loaded = ImageReader::read(*path, &error);
    if (!loaded) {
        LOG_WARNING("Bezel icon {} is unreadable: {}", path->string(), error);
        return std::nullopt;
    }
    return std::move(loaded->image);
}

} // namespace lumeris
