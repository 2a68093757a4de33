#pragma once

#include "ui/FileChooserRequest.h"

#include <filesystem>
#include <functional>
#include <optional>

namespace lumeris {

// The desktop's open and save dialogs, without blocking: `chosen` runs later with the file, or
// with nothing when the user cancels.
class FileChooser {
public:
    using Chosen = std::function<void(std::optional<std::filesystem::path>)>;

    virtual ~FileChooser() = default;
    virtual void chooseFileToOpen(const FileChooserRequest& request, Chosen chosen) = 0;
    // Asks before replacing an existing file.
    virtual void chooseFileToSave(const FileChooserRequest& request, Chosen chosen) = 0;
};

} // namespace lumeris
