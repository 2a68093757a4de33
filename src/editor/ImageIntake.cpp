#include "editor/ImageIntake.h"

#include "base/AtomicFile.h"
#include "base/Logger.h"
#include "capture/FileNaming.h"
#include "capture/RawBackup.h"
#include "capture/TemporaryFiles.h"
#include "export/ImageEncoder.h"
#include "export/ImageReader.h"

namespace lumeris {

namespace fs = std::filesystem;

fs::path ImageIntake::defaultTemporaryFolder() {
    return TemporaryFiles::folder();
}

std::variant<PreparedImage, std::string>
ImageIntake::activateFromFile(const fs::path& file, const SettingsStore& settings,
                              const fs::path& temporaryFolder) {
    auto image = ImageReader::read(file);
    if (!image) {
        return std::string(NOT_AN_IMAGE);
    }
    auto kept = keep(std::move(*image), settings, temporaryFolder);
    if (auto* failure = std::get_if<Failure>(&kept)) {
        return std::string(*failure == Failure::NoTemporaryFile ? NO_TEMPORARY_FILE : CANNOT_OPEN);
    }
    return std::get<PreparedImage>(std::move(kept));
}

std::variant<PreparedImage, ImageIntake::Failure>
ImageIntake::keep(LoadedImage image, const SettingsStore& settings,
                  const fs::path& temporaryFolder) {
    if (temporaryFolder.empty()) {
        return Failure::NoTemporaryFile;
    }
    const fs::path copy = temporaryFolder / FileNaming::generateFileName(
                                                std::nullopt, FileNaming::uuidString(), "png");
    std::string error;
    const auto png = ImageEncoder::pngData(image.image);
    if (png.empty() || !AtomicFile::writeFileAtomically(copy, png, error)) {
        LOG_ERROR("cannot write {}: {}", copy.string(), png.empty() ? "no PNG data" : error);
        return Failure::CannotWrite;
    }
    RawBackup::makeRawBackup(settings, copy);
    LOG_DEBUG("load image");
    // The decoded picture keeps its density (imageScale), which the plain PNG copy does not say.
    PreparedImage prepared = ImageLoadPipeline::prepare(std::move(image), copy, settings,
                                                        std::chrono::system_clock::now(),
                                                        /*encode=*/false);
    // The copy is the picture exactly, so the document can show it instead of encoding it again.
    prepared.originalUrl = ImageLoadPipeline::fileUrl(copy);
    ImageLoadPipeline::encodeCurrentImage(prepared);
    return prepared;
}

} // namespace lumeris
