#pragma once

#include "base/RgbaImage.h"
#include "ui/BezelParameters.h"

#include <filesystem>
#include <optional>
#include <string>

namespace lumeris {

// Dragging the composed picture out of the editor as a file: the file's name and encoding, and
// what the window does when the drop is over. Display-free; the window runs the drag itself.
class DragOut {
public:
    // What the window does once the drag has ended.
    struct Ending {
        // Accepted as a copy: the window closes. Otherwise it comes back to the front.
        bool closeWindow = false;
        // A SoundPlayer name.
        std::string sound;
        // The compression feedback (without a size), only while Alt is held alone.
        std::optional<BezelParameters> bezel;
    };

    // The editor's output name in `folder`, its extension "jpg" when `compressed`; a generated
    // name when the editor has none.
    static std::filesystem::path filePath(const std::filesystem::path& folder,
                                          const std::string& fileName, bool compressed);

    // Encodes `picture` (JPEG 0.9 when `compressed`, else PNG) over any file at `path`. False,
    // logged, when the file cannot be written. A picture that does not encode is only logged:
    // the drag still offers the path.
    static bool writeFile(const RgbaImage& picture, const std::filesystem::path& path,
                          bool compressed);

    // `copied`: the target accepted the file as a copy; `compressed`: the file was written as
    // JPEG; `altAlone`: Alt is held alone as the drag ends.
    static Ending ended(bool copied, bool compressed, bool altAlone);
};

} // namespace lumeris
