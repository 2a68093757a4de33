#pragma once

#include "editor/ImageLoadPipeline.h"

#include <filesystem>
#include <string>
#include <variant>

namespace lumeris {

class SettingsStore;

// A file opened by the user, made ready for an editor: checked to be a picture, copied as PNG to
// a temporary file of its own (the editor works on that copy), backed up, read and analysed.
class ImageIntake {
public:
    static constexpr const char* NOT_AN_IMAGE =
        "The file you selected is not an image or have unsupported format.";
    static constexpr const char* NO_TEMPORARY_FILE =
        "File Error: Unable to create temporary file for image.";
    static constexpr const char* CANNOT_OPEN = "Error: Unable to open image.";

    // The prepared copy, or the message to show the user. Any thread.
    static std::variant<PreparedImage, std::string>
    activateFromFile(const std::filesystem::path& file, const SettingsStore& settings,
                     const std::filesystem::path& temporaryFolder = defaultTemporaryFolder());

    // A picture that is not a file of ours (the clipboard's, or one read from a file), kept as
    // a temporary PNG and backed up.
    enum class Failure { NoTemporaryFile, CannotWrite };
    static std::variant<PreparedImage, Failure>
    keep(LoadedImage image, const SettingsStore& settings,
         const std::filesystem::path& temporaryFolder = defaultTemporaryFolder());

    // This process's private folder.
    static std::filesystem::path defaultTemporaryFolder();
};

} // namespace lumeris
