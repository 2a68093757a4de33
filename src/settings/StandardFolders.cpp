#include "settings/StandardFolders.h"

#include <glib.h>

namespace lumeris {

StandardFolders StandardFolders::fromEnvironment() {
    StandardFolders folders;
    folders.archives = std::filesystem::path(g_get_user_data_dir()) / "Lumeris" / "Archives";
    const char* desktop = g_get_user_special_dir(G_USER_DIRECTORY_DESKTOP);
    folders.desktop = desktop != nullptr ? std::filesystem::path(desktop)
                                         : std::filesystem::path(g_get_home_dir()) / "Desktop";
    return folders;
}

} // namespace lumeris
