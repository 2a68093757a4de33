#pragma once

#include "analysis/ImageSize.h"
#include "base/LoadedImage.h"
#include "base/Rect.h"
#include "editor/CompositionValues.h"
#include "editor/TextDetection.h"
#include "render/StyleSheetInputs.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumeris {

class SettingsStore;
class TextRecognizer;

// A screenshot read and analysed, ready to be composed.
struct PreparedImage {
    std::filesystem::path currentPath;
    std::string fileName;
    LoadedImage originalImage;
    LoadedImage currentImage; // the balanced crop, or the original
    std::string strBase64;    // currentImage as PNG; empty when encoding failed
    std::string imageUrl;     // a file holding currentImage, shown instead of strBase64 when set
    // The file originalImage came from when the renderer draws it with exactly the decoded
    // pixels (a plain PNG, such as the intake's own copy); empty otherwise.
    std::string originalUrl;
    CompositionValues values;
    std::chrono::system_clock::time_point capturedDate;
};

// The road from an image file to the document the renderer shows: read, name, border analysis,
// working image, Base64, values, canvas, style sheet and document. Display-free, so the editor and
// the headless render command share it.
class ImageLoadPipeline {
public:
    static std::optional<PreparedImage> load(const std::filesystem::path& path,
                                             const SettingsStore& settings,
                                             std::chrono::system_clock::time_point capturedDate,
                                             std::string* error = nullptr, bool encode = true);

    // The same for an image already decoded; `path` names where it came from. Without `encode`
    // strBase64 stays empty, for a caller that hands the renderer a file instead.
    static PreparedImage prepare(LoadedImage image, const std::filesystem::path& path,
                                 const SettingsStore& settings,
                                 std::chrono::system_clock::time_point capturedDate,
                                 bool encode = true);

    // Smart text wrap: the working image becomes the words of the original laid out again in a
    // narrow block (balancing does not apply). The working image stays as it was when
    // recognition fails; false with the reason in `error` then.
    static bool wrapText(PreparedImage& prepared, TextRecognizer& recognizer, bool useYOffset,
                         std::string* error = nullptr);

    // Recognises the working image's text and finds what the switched-on rules redact. None, with
    // the reason in `error`, when recognition could not be performed.
    static std::optional<TextDetectionResult> detectText(const PreparedImage& prepared,
                                                         TextRecognizer& recognizer,
                                                         const SettingsStore& settings,
                                                         std::string* error = nullptr);

    // The balanced crop when balancing is on and a band was found, else the original.
    static LoadedImage computeCurrentImage(const LoadedImage& original,
                                           const CompositionValues& values);

    // The working image for the document: originalUrl when it is the original unchanged (no
    // encoding, and a much smaller document), else strBase64.
    static void encodeCurrentImage(PreparedImage& prepared);
    // imageUrl = originalUrl when there is one and the working image is the original unchanged.
    static bool showOriginalFile(PreparedImage& prepared);
    // A file URL for `path`, made absolute; empty when there is none.
    static std::string fileUrl(const std::filesystem::path& path);

    static ImageSize canvas(const PreparedImage& prepared);

    // Why a canvas drawn at `scale` pixels per point is refused: more pixels than a decoded
    // picture may have, so that padding, ratios and scale cannot turn an allowed screenshot into
    // gigabytes of renderer memory. Nothing when it may be drawn.
    static std::optional<std::string> canvasProblem(const ImageSize& canvas, double scale);

    static StyleSheetInputs styleInputs(const PreparedImage& prepared,
                                        const SettingsStore& settings,
                                        const std::optional<std::string>& desktopURL,
                                        const std::optional<std::string>& customURL);

    // The document with the recognised rectangles (image points, lower-left origin).
    static std::string document(const PreparedImage& prepared, const std::string& styleText,
                                const std::vector<Rect>& redactRects,
                                const std::vector<Rect>& allTextRects);
};

} // namespace lumeris
