#pragma once

#include "base/RgbaImage.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lumeris {

// The desktop's copy-and-paste clipboard. Reads answer later from the main loop, with nothing
// when the clipboard holds no content of that kind.
class Clipboard {
public:
    using ImageReceiver = std::function<void(std::optional<RgbaImage>)>;
    using TextReceiver = std::function<void(std::optional<std::string>)>;
    using FilesReceiver = std::function<void(std::vector<std::filesystem::path>)>;

    virtual ~Clipboard() = default;
    // Offered as image/png (and whatever else the toolkit converts to).
    virtual void setImage(const RgbaImage& image) = 0;
    // UTF-8 text.
    virtual void setText(const std::string& text) = 0;
    virtual void readImage(ImageReceiver receiver) = 0;
    virtual void readText(TextReceiver receiver) = 0;
    // Local files copied in a file manager; none when the clipboard holds no file list.
    virtual void readFiles(FilesReceiver receiver) = 0;
};

} // namespace lumeris
