#include "cli/gtk/BatchRenderer.h"

#include "base/AtomicFile.h"
#include "cli/RenderOptions.h"
#include "editor/ImageLoadPipeline.h"
#include "export/ImageEncoder.h"
#include "export/ImageReader.h"
#include "render/EditorDocument.h"
#include "settings/SettingsStore.h"

#include <cmath>
#include <iostream>
#include <iterator>

namespace lumeris {

namespace fs = std::filesystem;

BatchRenderer::BatchRenderer(const RenderOptions& options, const SettingsStore& settings,
                             Backgrounds backgrounds, std::string baseUri, std::FILE* pictureStream)
    : options_(options), settings_(settings), backgrounds_(std::move(backgrounds)),
      baseUri_(std::move(baseUri)), pictureStream_(pictureStream), window_(1, 1) {}

std::variant<BatchRenderer::Job, std::string> BatchRenderer::prepare(const fs::path& input) {
    std::string error;
    const auto now = std::chrono::system_clock::now();
    std::optional<PreparedImage> prepared;
    if (input == RenderOptions::STANDARD_STREAM) {
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(std::cin)), {});
        auto image = ImageReader::readData(bytes.data(), bytes.size(), &error);
        if (!image) {
            return error;
        }
        prepared = ImageLoadPipeline::prepare(std::move(*image), input, settings_, now);
    } else {
        prepared = ImageLoadPipeline::load(input, settings_, now, &error);
        if (!prepared) {
            return error;
        }
    }
    if (options_.wrap &&
        !ImageLoadPipeline::wrapText(*prepared, recognizer_, /*useYOffset=*/false, &error)) {
        return "text recognition failed: " + error;
    }
    TextDetectionResult detection;
    if (prepared->values.autoRedactEnabled) {
        // Rendering without the redaction the user relies on would leak what it hides.
        auto detected = ImageLoadPipeline::detectText(*prepared, recognizer_, settings_, &error);
        if (!detected) {
            return "text recognition failed: " + error;
        }
        detection = std::move(*detected);
    }

    const ImageSize canvas = ImageLoadPipeline::canvas(*prepared);
    const std::string styleText = EditorDocument::styleSheet(ImageLoadPipeline::styleInputs(
        *prepared, settings_, backgrounds_.desktop, backgrounds_.custom));
    Job job;
    job.html = ImageLoadPipeline::document(*prepared, styleText, detection.redactRects,
                                           detection.allTextRects);
    job.width = static_cast<int>(std::lround(canvas.bgWidth));
    job.height = static_cast<int>(std::lround(canvas.bgHeight));
    job.fileName = prepared->fileName;
    return job;
}

std::variant<RgbaImage, std::string> BatchRenderer::draw(const Job& job) {
    std::string error;
    window_.setCanvasSize(job.width, job.height);
    auto picture = window_.renderBlocking(job.html, baseUri_, &error);
    if (!picture) {
        return "rendering failed: " + error;
    }
    return std::move(*picture);
}

std::variant<fs::path, std::string> BatchRenderer::save(const RgbaImage& picture,
                                                        const std::string& fileName) const {
    auto data = options_.jpeg ? ImageEncoder::jpegData(picture) : ImageEncoder::pngData(picture);
    if (data.empty()) {
        return std::string("the picture could not be encoded");
    }
    if (options_.output == RenderOptions::STANDARD_STREAM) {
        if (pictureStream_ == nullptr ||
            std::fwrite(data.data(), 1, data.size(), pictureStream_) != data.size() ||
            std::fflush(pictureStream_) != 0) {
            return std::string("cannot write to standard output");
        }
        return fs::path(RenderOptions::STANDARD_STREAM);
    }
    const fs::path target =
        options_.outputPathFor(fileName, options_.output ? fs::path() : fs::current_path());
    std::error_code folderError;
    if (!target.parent_path().empty()) {
        fs::create_directories(target.parent_path(), folderError);
    }
    std::string error;
    if (!AtomicFile::writeFileAtomically(target, data, error)) {
        return "cannot write " + target.string() + ": " + error;
    }
    return target;
}

} // namespace lumeris
