#pragma once

#include "editor/BackgroundReferences.h"
#include "editor/EditorView.h"
#include "editor/EditorZoom.h"
#include "editor/ImageLoadPipeline.h"
#include "editor/TextRecognitionTask.h"
#include "presets/RatioTemplate.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumeris {

class BackgroundPictures;
class DesktopPictureSource;
class OneShotTimer;
class ScreenLocator;
class SettingsStore;

// The decisions of one editor window, free of any display: it keeps the session's composition
// values in step with the settings the controls are bound to, restyles or reloads the document,
// loads and re-derives the working image, and keeps the debounced output snapshot. Created
// through `create()` so that timers and background work can hold it weakly.
class EditorController : public std::enable_shared_from_this<EditorController> {
public:
    static constexpr double OUTPUT_DEBOUNCE_SECONDS = 0.75;
    // A shadow picture this large (device pixels a side) takes about 0.15 s to make.
    static constexpr int SHADOW_PICTURE_MAX_SIDE = 1000;

    // Recognises a bitmap in the background and answers through the handlers on the main thread
    // (TextRecognitionTask in the program).
    using RecognitionStarter =
        std::function<void(std::shared_ptr<const RgbaImage> bitmap, double imagePointWidth,
                           TextRecognitionTask::Handlers handlers)>;
    // Smart text wrap of `source`'s original in the background; `done` runs on the main thread
    // with the wrapped session (working image and Base64 replaced), or not at all on failure.
    using TextWrapStarter =
        std::function<void(const PreparedImage& source, bool useYOffset,
                           std::function<void(std::optional<PreparedImage> wrapped)> done)>;

    // The window owns the controller, so the view and the other references outlive it.
    struct Services {
        SettingsStore& settings;
        EditorView& view;
        OneShotTimer& timer;
        BackgroundPictures& pictures;
        std::filesystem::path rendererFolder;
        RecognitionStarter recognize;
        TextWrapStarter wrapText;
        ScreenLocator* screens = nullptr;
        DesktopPictureSource* desktopSource = nullptr;
        // The application shell's history of recognised text.
        std::function<void(const std::string& text)> addDetectedText;
        // The preset menu follows every control change.
        std::function<void()> presetStateChanged;
    };

    static std::shared_ptr<EditorController> create(Services services);
    ~EditorController();

    // The window is up: statuses, background references, watermark field, values.
    void start();
    // Reads, names, titles, analyses, composes and recognises. `completion` runs once the first
    // recognition result for the current working image has been applied; never when the file
    // cannot be read.
    void loadImage(const std::filesystem::path& path, std::function<void()> completion = {});
    // The same for an image the intake has read and analysed already.
    void loadPrepared(PreparedImage prepared, std::function<void()> completion = {});

    void updateValuesFromControls();
    // Restyles the loaded document in place, or rebuilds and reloads it; nothing before a load.
    void refresh(bool reload);

    // Control actions, each after the window has written the bound setting.
    void sliderAction();
    void reactEmailCheckboxAction();
    void borderSliderAction();
    void insetSliderAction();
    void borderColorWellAction(const std::string& color);
    void tiltResetButtonAction();
    void controlTextDidChange(const std::string& watermarkText);
    void didSelectWatermarkText();
    void showWatermarkCheckboxAction();
    void bgImageButtonAction(const std::optional<std::string>& identifier);
    void backgroundColorChanged();
    void backgroundFileChosen();
    void ratioButtonAction(const std::optional<std::string>& identifier);
    void didSelectRatio(const RatioTemplate& ratioTemplate);
    void didSelectSize(const RatioTemplate& ratioTemplate);
    void customRatioApplied();
    // Why the custom ratio `text` cannot be applied: not a ratio or size, or a canvas for the
    // loaded screenshot with more pixels at `scale` than can be drawn.
    std::optional<std::string> ratioProblem(const std::string& text, double scale) const;
    // A label button's entry: "padding", "inset", "rounded" or "shadow".
    void inputTooltipConfirmed(const std::string& field, int value);
    void balanceButtonAction();
    void activateSmartWrapText();

    // Redaction settings popover: a new box colour restyles; a switched rule recognises again.
    void redactColorAction(const std::string& color);
    void redactionRulesChanged();
    // The end of applying a preset whose controls and settings are written: the inset comes
    // back for an inset of at least 1, and a changed balance derives the working image again.
    void presetApplied(std::optional<RatioTemplate> ratioTemplate, int inset, bool balanceChanged);

    EditorZoom& zoom() { return zoom_; }

    // The closing snapshot has been taken: no more output snapshots.
    void markDisappeared() { disappeared_ = true; }

    const CompositionValues& values() const { return session_.values; }
    const PreparedImage& session() const { return session_; }
    bool hasWorkingImage() const { return loaded_; }
    const std::optional<RatioTemplate>& ratioTemplate() const { return ratioTemplate_; }
    const EditorView::Snapshot& lastOutputImage() const { return lastOutputImage_; }
    bool textProcessed() const { return textProcessed_; }
    const std::vector<Rect>& redactRects() const { return redactRects_; }
    const std::vector<Rect>& allTextRects() const { return allTextRects_; }
    const std::vector<std::string>& detectedText() const { return detectedText_; }

private:
    struct Private {};

public:
    EditorController(Private, Services services);

private:
    void tail(bool reload);
    void ratioChanged(std::optional<RatioTemplate> ratioTemplate, const std::string& ratio);
    void processOriginalImage();
    void computeCurrentImage(std::function<void()> callback);
    void initCurrentImage(std::function<void()> completion);
    void rederive();
    void repositionWindow(double minWindowWidth, double minWindowHeight);
    void startRecognition();
    void applyTextRecognition(TextDetectionResult result);
    void updateOutput();

    Services services_;
    BackgroundReferences backgrounds_;
    std::chrono::system_clock::time_point capturedDate_;
    PreparedImage session_;
    bool loaded_ = false;
    std::optional<RatioTemplate> ratioTemplate_;
    EditorZoom zoom_;
    bool smartWrapTextEnabled_ = false;
    bool useYOffset_ = true;
    std::vector<std::string> detectedText_;
    std::vector<Rect> redactRects_;
    std::vector<Rect> allTextRects_;
    bool textProcessed_ = false;
    // Counts working images; recognition results of an earlier one are dropped.
    unsigned workingImageGeneration_ = 0;
    // The load's completion, run with the first result for the current working image.
    std::function<void()> loadCompletion_;
    EditorView::Snapshot lastOutputImage_;
    // Invalidates earlier debounce timers: only the last scheduled one takes the snapshot.
    unsigned outputGeneration_ = 0;
    bool disappeared_ = false;
};

} // namespace lumeris
