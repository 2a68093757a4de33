#include "editor/DragOut.h"

#include "base/AtomicFile.h"
#include "base/Logger.h"
#include "capture/FileNaming.h"
#include "editor/EditorCommands.h"
#include "export/ImageEncoder.h"
#include "ui/SoundPlayer.h"

namespace lumeris {

namespace fs = std::filesystem;

fs::path DragOut::filePath(const fs::path& folder, const std::string& fileName, bool compressed) {
    const fs::path name =
        fileName.empty() ? fs::path(FileNaming::generateFileName(std::nullopt, std::nullopt, "png"))
                         : fs::path(fileName);
    return folder / (compressed ? EditorCommands::compressedPath(name) : name);
}

bool DragOut::writeFile(const RgbaImage& picture, const fs::path& path, bool compressed) {
    const auto data = compressed
                          ? ImageEncoder::jpegData(picture, ImageEncoder::DEFAULT_JPEG_QUALITY)
                          : ImageEncoder::pngData(picture);
    if (data.empty()) {
        LOG_ERROR("no image data for {}", path.string());
        return true;
    }
    std::string error;
    if (!AtomicFile::writeFileAtomically(path, data, error)) {
        LOG_ERROR("fail to drop image: {}", error);
        return false;
    }
    return true;
}

DragOut::Ending DragOut::ended(bool copied, bool compressed, bool altAlone) {
    if (!copied) {
        return Ending{.closeWindow = false, .sound = SoundPlayer::BOTTLE, .bezel = std::nullopt};
    }
    return Ending{.closeWindow = true,
                  .sound = SoundPlayer::GLASS,
                  .bezel = altAlone
                               ? std::optional(EditorCommands::compressionFeedback(compressed, {}))
                               : std::nullopt};
}

} // namespace lumeris
