#pragma once

#include "capture/FileManager.h"

namespace lumeris {

// Asks the desktop's file manager (org.freedesktop.FileManager1.ShowItems on the session bus)
// to show an item; when none answers, opens the item itself with its default application.
// The answer arrives on the main loop; nothing waits for it.
class DbusFileManager : public FileManager {
public:
    void showItem(const std::filesystem::path& path) override;
};

} // namespace lumeris
