#pragma once

#include "ui/Clipboard.h"

namespace lumeris {

// A clipboard in memory that answers reads at once.
class FakeClipboard : public Clipboard {
public:
    void setImage(const RgbaImage& value) override {
        image = value;
        text.reset();
    }
    void setText(const std::string& value) override {
        text = value;
        image.reset();
    }
    void readImage(ImageReceiver receiver) override { receiver(image); }
    void readText(TextReceiver receiver) override { receiver(text); }
    void readFiles(FilesReceiver receiver) override { receiver(files); }

    std::optional<RgbaImage> image;
    std::optional<std::string> text;
    std::vector<std::filesystem::path> files;
};

} // namespace lumeris
