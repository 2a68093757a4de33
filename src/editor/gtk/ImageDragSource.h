#pragma once

#include "base/RgbaImage.h"

#include <filesystem>
#include <functional>
#include <gtk/gtk.h>

namespace lumeris {

// One drag of a picture file out of the program: the file's URI is offered as text/uri-list
// with the copy action only, the picture shows at half its size under the pointer, and the
// source's window is lowered while the drag runs, so that the windows beneath can take the drop.
class ImageDragSource {
public:
    // Starts the drag from `source` while the primary button is still held (the press that
    // asked for the picture); false, and no drag, once it has been released. `ended(copied)` runs
    // on a later turn of the main loop, with `copied` true when the target accepted the file.
    static bool begin(GtkWidget* source, const std::filesystem::path& file,
                      const RgbaImage& picture, std::function<void(bool copied)> ended);
};

} // namespace lumeris
