#pragma once

#include "ui/Clipboard.h"

namespace lumeris {

// The CLIPBOARD selection of the default display, through GtkClipboard. Main thread only.
class SystemClipboard : public Clipboard {
public:
    void setImage(const RgbaImage& image) override;
    void setText(const std::string& text) override;
    void readImage(ImageReceiver receiver) override;
    void readText(TextReceiver receiver) override;
    void readFiles(FilesReceiver receiver) override;
};

} // namespace lumeris
