#include "capture/TemporaryFiles.h"

#include "base/GLibHandles.h"
#include "base/Logger.h"

#include <glib.h>

namespace lumeris {

std::filesystem::path TemporaryFiles::folder() {
    static const std::filesystem::path made = [] {
        GErrorPtr error;
        GCharPtr path(g_dir_make_tmp("lumeris-XXXXXX", GErrorOut(error)));
        if (!path) {
            LOG_ERROR("cannot make a temporary folder: {}", error->message);
            return std::filesystem::path();
        }
        return std::filesystem::path(path.get());
    }();
    return made;
}

} // namespace lumeris
