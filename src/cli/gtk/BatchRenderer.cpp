#include "cli/gtk/BatchRenderer.h"

#include "base/AtomicFile.h"
#include "capture/RendererCopies.h"
#include "cli/RenderOptions.h"
#include "editor/ImageLoadPipeline.h"
#include "editor/RedactionLeakCheck.h"
#include "editor/RedactionRules.h"
#include "editor/TextDetection.h"
#include "export/ImageEncoder.h"
#include "export/ImageReader.h"
#include "render/EditorDocument.h"
#include "render/gtk/MainLoopWait.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <cmath>
#include <unistd.h>

namespace lumeris {

namespace fs = std::filesystem;

namespace {

constexpr std::chrono::seconds WARM_UP_LIMIT{30};

} // namespace

BatchRenderer::BatchRenderer(const RenderOptions& options, const SettingsStore& settings,
                             Backgrounds backgrounds, std::string baseUri, std::FILE* pictureStream,
                             RendererCopies& copies)
    : options_(options), settings_(settings), backgrounds_(std::move(backgrounds)),
      baseUri_(std::move(baseUri)), pictureStream_(pictureStream), copies_(copies), window_(1, 1) {}

void BatchRenderer::warmUp() {
    if (options_.wrap || settings_.boolValue(std::string(SettingKeys::AUTO_REDACT.name), true)) {
        recognizer_.warmUp();
    }
    warming_ = true;
    // The view belongs to this renderer: once it is gone, so is the callback.
    window_.load("<html><body></body></html>", baseUri_,
                 [this](const std::optional<std::string>&) { warming_ = false; });
}

std::variant<BatchRenderer::Job, std::string> BatchRenderer::prepare(const fs::path& input) {
    std::string error;
    const auto now = std::chrono::system_clock::now();
    std::optional<PreparedImage> prepared;
    if (input == RenderOptions::STANDARD_STREAM) {
        auto image = ImageReader::readStream(STDIN_FILENO, &error);
        if (!image) {
            return error;
        }
        prepared = ImageLoadPipeline::prepare(std::move(*image), input, settings_, now, false);
    } else {
        // No Base64: the renderer reads the screenshot from a file, placed below.
        prepared = ImageLoadPipeline::load(input, settings_, now, &error, false);
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
    if (auto problem = ImageLoadPipeline::canvasProblem(canvas, options_.scale)) {
        return *problem;
    }
    StyleSheetInputs style = ImageLoadPipeline::styleInputs(
        *prepared, settings_, backgrounds_.desktop, backgrounds_.custom);
    style.shadowPictureScale = options_.scale;
    const std::string styleText = EditorDocument::styleSheet(style);
    Job job;
    // The renderer shows a plain PNG input itself; anything else goes to it as a quickly written
    // plain PNG, which still loads faster than Base64 of an interlaced one.
    if (!ImageLoadPipeline::showOriginalFile(*prepared)) {
        const auto copy =
            copies_.write(prepared->currentImage, "screenshot" + std::to_string(screenshots_++));
        prepared->imageUrl = copy ? ImageLoadPipeline::fileUrl(*copy) : std::string();
        if (prepared->imageUrl.empty()) {
            return std::string("the screenshot could not be placed for the renderer");
        }
        job.screenshot = *copy;
    }
    job.html = ImageLoadPipeline::document(*prepared, styleText, detection.redactRects,
                                           detection.allTextRects);
    job.width = static_cast<int>(std::lround(canvas.bgWidth));
    job.height = static_cast<int>(std::lround(canvas.bgHeight));
    job.output.fileName = prepared->fileName;
    if (prepared->values.autoRedactEnabled) {
        job.output.redactionPatterns = RedactionRules::activePatterns(settings_);
        job.output.redactColor = prepared->values.redactColor;
        auto boxes =
            TextDetection::coveringBoxes(detection.redactRects, prepared->currentImage.pointWidth,
                                         prepared->currentImage.pointHeight);
        job.output.firstReading =
            RedactionLeakCheck::reading(std::move(prepared->currentImage), boxes);
    }
    return job;
}

std::variant<RgbaImage, std::string> BatchRenderer::draw(const Job& job) {
    std::string error;
    if (warming_ && !MainLoopWait::runUntil([this] { return !warming_; }, WARM_UP_LIMIT)) {
        warming_ = false; // the inputs after this one are not held up again
        return std::string("rendering failed: the renderer did not start");
    }
    window_.setCanvasSize(job.width, job.height);
    auto picture = window_.renderBlocking(job.html, baseUri_, &error);
    copies_.remove(job.screenshot); // nothing when the input itself was shown
    if (!picture) {
        return "rendering failed: " + error;
    }
    return std::move(*picture);
}

std::variant<fs::path, std::string> BatchRenderer::save(RgbaImage picture, const Output& output,
                                                        std::string* note) {
    std::string checkError;
    // A box the renderer drew in the wrong place, or text the first reading missed, is found
    // here at the latest; the margin is the document's, in pixels of the picture.
    const auto covered = RedactionLeakCheck::cover(
        recognizer_, picture, output.redactionPatterns, output.redactColor,
        TextDetection::REDACTION_MARGIN * options_.scale, &checkError, &output.firstReading);
    if (!covered) {
        return "text recognition failed while checking the picture: " + checkError;
    }
    if (*covered > 0 && note != nullptr) {
        *note = std::to_string(*covered) +
                " piece(s) of text the redaction rules match were found in the composed picture "
                "and covered";
    }
    const std::string& fileName = output.fileName;
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
    std::string error;
    std::error_code folderError;
    if (options_.output) {
        const fs::path target = *options_.output;
        if (!target.parent_path().empty()) {
            fs::create_directories(target.parent_path(), folderError);
        }
        // The user named it: replaced, keeping its permissions.
        if (!AtomicFile::writeFileAtomically(target, data, error)) {
            return "cannot write " + target.string() + ": " + error;
        }
        return target;
    }
    const fs::path folder = options_.outputDir ? fs::path(*options_.outputDir) : fs::current_path();
    fs::create_directories(folder, folderError);
    // Claimed create-exclusive: a run writing into the same folder at the same second takes the
    // other name instead of replacing this one.
    fs::path target;
    bool taken = true;
    for (int attempt = 0; taken && attempt < 4; ++attempt) {
        target = options_.outputPathFor(fileName, folder, attempt);
        if (AtomicFile::writeNewFileAtomically(target, data, error, taken)) {
            return target;
        }
    }
    return "cannot write " + target.string() + ": " + error;
}

} // namespace lumeris
