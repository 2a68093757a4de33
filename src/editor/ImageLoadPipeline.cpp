#include "editor/ImageLoadPipeline.h"

#include "analysis/BalancedCrop.h"
#include "analysis/BorderColor.h"
#include "analysis/TextRecognizer.h"
#include "analysis/TextWrapper.h"
#include "base/Base64.h"
#include "base/Diagnostics.h"
#include "base/GLibHandles.h"
#include "base/Logger.h"
#include "base/NumberText.h"
#include "capture/FileNaming.h"
#include "editor/RedactionRules.h"
#include "editor/TextRecognitionTask.h"
#include "export/ImageEncoder.h"
#include "export/ImageReader.h"
#include "render/EditorDocument.h"
#include "settings/SettingsStore.h"

#include <cmath>
#include <cstdio>
#include <glib.h>

namespace lumeris {

std::optional<PreparedImage>
ImageLoadPipeline::load(const std::filesystem::path& path, const SettingsStore& settings,
                        std::chrono::system_clock::time_point capturedDate, std::string* error,
                        bool encode) {
    LOG_DEBUG("load image");
    std::string readError;
    auto image = ImageReader::read(path, &readError);
    if (!image) {
        LOG_ERROR("load image fail: {}: {}", path.string(), readError);
        if (error != nullptr) {
            *error = readError;
        }
        return std::nullopt;
    }

    PreparedImage prepared = prepare(std::move(*image), path, settings, capturedDate, false);
    if (ImageReader::isPlainPng(path)) {
        prepared.originalUrl = fileUrl(path);
    }
    if (encode) {
        encodeCurrentImage(prepared);
    }
    return prepared;
}

std::string ImageLoadPipeline::fileUrl(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    GCharPtr uri(error ? nullptr : g_filename_to_uri(absolute.c_str(), nullptr, nullptr));
    return uri ? std::string(uri.get()) : std::string();
}

bool ImageLoadPipeline::showOriginalFile(PreparedImage& prepared) {
    if (prepared.originalUrl.empty() ||
        prepared.currentImage.image != prepared.originalImage.image) {
        return false;
    }
    prepared.imageUrl = prepared.originalUrl;
    prepared.strBase64.clear();
    return true;
}

PreparedImage ImageLoadPipeline::prepare(LoadedImage image, const std::filesystem::path& path,
                                         const SettingsStore& settings,
                                         std::chrono::system_clock::time_point capturedDate,
                                         bool encode) {
    PreparedImage prepared;
    prepared.currentPath = path;
    prepared.capturedDate = capturedDate;
    prepared.originalImage = std::move(image);
    prepared.fileName = FileNaming::outputFileName(settings);
    prepared.values.applyBorderAnalysis(BorderColor::getBorderColor(prepared.originalImage),
                                        prepared.originalImage.scale());
    // Balancing is decided by the stored switch, so read the values before the working image.
    prepared.values.updateValuesFromControls(settings, capturedDate);
    prepared.currentImage = computeCurrentImage(prepared.originalImage, prepared.values);
    if (encode) {
        encodeCurrentImage(prepared);
    }
    return prepared;
}

void ImageLoadPipeline::encodeCurrentImage(PreparedImage& prepared) {
    if (showOriginalFile(prepared)) {
        return;
    }
    prepared.imageUrl.clear();
    auto png = ImageEncoder::pngData(prepared.currentImage.image);
    prepared.strBase64 = png.empty() ? std::string() : Base64::encode(png);
    if (png.empty()) {
        LOG_ERROR("the working image could not be encoded");
    }
}

bool ImageLoadPipeline::wrapText(PreparedImage& prepared, TextRecognizer& recognizer,
                                 bool useYOffset, std::string* error) {
    const RgbaImage& bitmap = prepared.originalImage.image;
    TextRecognitionOutcome outcome = recognizer.recognize(bitmap);
    if (outcome.failed()) {
        Diagnostics::print(TextRecognitionTask::failureLine(*outcome.error));
        if (error != nullptr) {
            *error = *outcome.error;
        }
        return false;
    }
    const double scale = prepared.values.imageScale > 0 ? prepared.values.imageScale : 1.0;
    RgbaImage wrapped = TextWrapper::wrapIt(outcome, bitmap, useYOffset, scale,
                                            prepared.values.borderColor.value_or("#ffffff"));
    prepared.currentImage.pointWidth = wrapped.width / scale;
    prepared.currentImage.pointHeight = wrapped.height / scale;
    prepared.currentImage.image = std::move(wrapped);
    encodeCurrentImage(prepared);
    return true;
}

std::optional<TextDetectionResult> ImageLoadPipeline::detectText(const PreparedImage& prepared,
                                                                 TextRecognizer& recognizer,
                                                                 const SettingsStore& settings,
                                                                 std::string* error) {
    return TextDetection::detect(recognizer, prepared.currentImage.image,
                                 prepared.currentImage.pointWidth,
                                 RedactionRules::activePatterns(settings), error);
}

LoadedImage ImageLoadPipeline::computeCurrentImage(const LoadedImage& original,
                                                   const CompositionValues& values) {
    if (values.insetBalanceValue && values.edgeInsetsValue) {
        if (auto cropped = BalancedCrop::balancedCrop(original, *values.edgeInsetsValue)) {
            return *cropped;
        }
    }
    return original;
}

ImageSize ImageLoadPipeline::canvas(const PreparedImage& prepared) {
    const auto& values = prepared.values;
    ImageSize size(values.insetValue, values.paddingValue, values.ratioValue,
                   values.shownWatermark(), prepared.currentImage.pointWidth,
                   prepared.currentImage.pointHeight);
    LOG_DEBUG("ratio: {}", values.ratioValue);
    LOG_DEBUG("image dimension: {} x {}", NumberText::format(prepared.currentImage.pointWidth),
              NumberText::format(prepared.currentImage.pointHeight));
    LOG_DEBUG("bg dimension: {} x {}", NumberText::format(size.bgWidth),
              NumberText::format(size.bgHeight));
    return size;
}

std::optional<std::string> ImageLoadPipeline::canvasProblem(const ImageSize& canvas, double scale) {
    const double width = std::ceil(canvas.bgWidth * scale);
    const double height = std::ceil(canvas.bgHeight * scale);
    if (std::isfinite(width) && std::isfinite(height) && width > 0 && height > 0 &&
        width * height <= static_cast<double>(ImageReader::MAX_PIXELS)) {
        return std::nullopt;
    }
    const auto whole = [](double pixels) {
        return std::isfinite(pixels) && pixels < 1e18
                   ? NumberText::format(static_cast<std::int64_t>(pixels))
                   : NumberText::format(pixels);
    };
    return "canvas too large: " + whole(width) + " x " + whole(height) + " pixels (at most " +
           std::to_string(ImageReader::MAX_PIXELS / 1'000'000) + " million)";
}

StyleSheetInputs ImageLoadPipeline::styleInputs(const PreparedImage& prepared,
                                                const SettingsStore& settings,
                                                const std::optional<std::string>& desktopURL,
                                                const std::optional<std::string>& customURL) {
    const auto& values = prepared.values;
    StyleSheetInputs inputs;
    inputs.borderRadius = values.borderRadiusValue;
    inputs.padding = values.paddingValue;
    inputs.inset = values.insetValue;
    inputs.tiltX = values.tiltXValue;
    inputs.tiltY = values.tiltYValue;
    inputs.shadow = values.shadowValue;
    inputs.watermarkText = values.shownWatermark();
    inputs.imageWidth = prepared.currentImage.pointWidth;
    inputs.imageHeight = prepared.currentImage.pointHeight;
    inputs.ratio = values.ratioValue;
    inputs.backgroundID = values.backgroundID;
    inputs.insetEnabled = values.insetEnabled;
    inputs.borderColor = values.borderColor;
    inputs.redactColor = values.redactColor;
    inputs.desktopBackgroundURL = desktopURL;
    inputs.customBackgroundURL = customURL;
    inputs.readColorSettings(settings);
    return inputs;
}

std::string ImageLoadPipeline::document(const PreparedImage& prepared, const std::string& styleText,
                                        const std::vector<Rect>& redactRects,
                                        const std::vector<Rect>& allTextRects) {
    auto lists = EditorDocument::rectangleLists(prepared.values.autoRedactEnabled, redactRects,
                                                allTextRects);
    lists.redacted = TextDetection::coveringBoxes(lists.redacted, prepared.currentImage.pointWidth,
                                                  prepared.currentImage.pointHeight);
    return EditorDocument::html(styleText, prepared.values.shownWatermark(),
                                prepared.imageUrl.empty() ? prepared.strBase64 : prepared.imageUrl,
                                lists.redacted, lists.text, prepared.currentImage.pointWidth,
                                prepared.currentImage.pointHeight);
}

} // namespace lumeris
