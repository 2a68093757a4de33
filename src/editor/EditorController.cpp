#include "editor/EditorController.h"

#include "base/Logger.h"
#include "capture/DesktopPicture.h"
#include "capture/ScreenChoice.h"
#include "editor/WindowPlacement.h"
#include "render/EditorDocument.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"
#include "ui/OneShotTimer.h"

#include <cctype>
#include <utility>

namespace lumeris {

std::shared_ptr<EditorController> EditorController::create(Services services) {
    return std::make_shared<EditorController>(Private{}, std::move(services));
}

EditorController::EditorController(Private, Services services)
    : services_(std::move(services)), backgrounds_(services_.settings, services_.rendererFolder),
      capturedDate_(std::chrono::system_clock::now()), zoom_(services_.view) {
    session_.capturedDate = capturedDate_;
}

EditorController::~EditorController() {
    LOG_DEBUG("DEINIT>>");
}

void EditorController::start() {
    services_.view.setRedactionStatus("", false);
    backgrounds_.start();
    services_.view.setInsetStatus("");
    services_.view.setWatermarkField(services_.settings.string(SettingKeys::WATERMARK_TEXT, ""));
    updateValuesFromControls();
}

void EditorController::updateValuesFromControls() {
    auto& values = session_.values;
    values.updateValuesFromControls(services_.settings, capturedDate_);
    services_.view.highlightBackground(EditorButtons::backgroundButton(values.backgroundID));
    services_.view.highlightRatio(EditorButtons::ratioButton(values.ratioValue, ratioTemplate_));
    services_.view.setLabelTitles(values.paddingValue, values.insetValue, values.borderRadiusValue,
                                  values.shadowValue);
}

void EditorController::refresh(bool reload) {
    if (!loaded_) {
        return;
    }
    LOG_DEBUG("viewer loaded: {}",
              session_.currentPath.empty() ? std::string("?") : session_.currentPath.string());
    const auto& values = session_.values;
    const ImageSize canvas(values.insetValue, values.paddingValue, values.ratioValue,
                           values.shownWatermark(), session_.currentImage.pointWidth,
                           session_.currentImage.pointHeight);
    services_.view.setCanvasSize(canvas.bgWidth, canvas.bgHeight);
    zoom_.setCanvas(canvas.bgWidth, canvas.bgHeight);
    auto inputs = ImageLoadPipeline::styleInputs(session_, services_.settings,
                                                 backgrounds_.getDesktopCachedPath(),
                                                 backgrounds_.getCustomPNGCachedPath());
    // `box-shadow` is blurred again at every paint of the view (a third of a second for a full
    // screen); the picture once, here, where it is quick to make.
    inputs.shadowPictureScale = services_.view.backingScale();
    inputs.shadowPictureMaxSide = SHADOW_PICTURE_MAX_SIDE;
    const std::string style = EditorDocument::styleSheet(inputs, services_.pictures);
    if (reload) {
        services_.view.loadDocument(
            ImageLoadPipeline::document(session_, style, redactRects_, allTextRects_));
    } else {
        services_.view.restyle(EditorDocument::restyleScript(style, values.shownWatermark()));
    }
    LOG_DEBUG("rendered");
    const unsigned generation = ++outputGeneration_;
    services_.timer.schedule(OUTPUT_DEBOUNCE_SECONDS, [weak = weak_from_this(), generation] {
        auto self = weak.lock();
        if (self && self->outputGeneration_ == generation) {
            self->updateOutput();
        }
    });
}

void EditorController::updateOutput() {
    if (disappeared_) {
        return;
    }
    services_.view.requestSnapshot(false, [weak = weak_from_this()](EditorView::Snapshot image) {
        if (auto self = weak.lock()) {
            self->lastOutputImage_ = std::move(image);
        }
    });
}

void EditorController::tail(bool reload) {
    updateValuesFromControls();
    refresh(reload);
    if (services_.presetStateChanged) {
        services_.presetStateChanged();
    }
}

void EditorController::sliderAction() {
    tail(false);
}

void EditorController::reactEmailCheckboxAction() {
    tail(true);
}

void EditorController::borderSliderAction() {
    session_.values.useWindowBorder = false;
    tail(false);
}

void EditorController::insetSliderAction() {
    session_.values.insetEnabled = true;
    services_.view.setInsetStatus("");
    tail(false);
}

void EditorController::borderColorWellAction(const std::string& color) {
    session_.values.insetEnabled = true;
    services_.view.setInsetStatus("");
    session_.values.borderColor = color;
    tail(false);
}

void EditorController::tiltResetButtonAction() {
    services_.settings.set(SettingKeys::TILT_X, 15.0);
    services_.settings.set(SettingKeys::TILT_Y, 15.0);
    services_.view.setSliderValue(EditorView::Slider::TiltX, 15);
    services_.view.setSliderValue(EditorView::Slider::TiltY, 15);
    tail(false);
}

void EditorController::controlTextDidChange(const std::string& watermarkText) {
    services_.settings.set(SettingKeys::WATERMARK_TEXT, watermarkText);
    tail(false);
}

void EditorController::didSelectWatermarkText() {
    services_.view.setWatermarkField(services_.settings.string(SettingKeys::WATERMARK_TEXT, ""));
    tail(false);
}

void EditorController::showWatermarkCheckboxAction() {
    tail(false);
}

void EditorController::bgImageButtonAction(const std::optional<std::string>& identifier) {
    if (identifier == "desktop") {
        backgrounds_.desktopChanged();
        if (services_.desktopSource != nullptr) {
            // Refreshes the desktop cache file the renderer's copy is made from.
            DesktopPicture::desktopPictureWithFallback(services_.settings,
                                                       *services_.desktopSource);
        }
    }
    services_.settings.set(SettingKeys::BACKGROUND_ID,
                           EditorButtons::backgroundSetting(identifier));
    tail(false);
}

void EditorController::backgroundColorChanged() {
    services_.settings.set(SettingKeys::BACKGROUND_ID, std::string("custom"));
    tail(false);
}

void EditorController::backgroundFileChosen() {
    services_.settings.set(SettingKeys::BACKGROUND_ID, std::string("custom"));
    backgrounds_.customFileChosen();
    tail(false);
}

void EditorController::ratioChanged(std::optional<RatioTemplate> ratioTemplate,
                                    const std::string& ratio) {
    ratioTemplate_ = std::move(ratioTemplate);
    services_.settings.set(SettingKeys::RATIO, ratio);
    updateValuesFromControls();
    refresh(true);
    zoom_.zoomToFit(false);
    if (services_.presetStateChanged) {
        services_.presetStateChanged();
    }
}

void EditorController::ratioButtonAction(const std::optional<std::string>& identifier) {
    ratioChanged(std::nullopt, EditorButtons::ratioSetting(identifier));
}

void EditorController::didSelectRatio(const RatioTemplate& ratioTemplate) {
    ratioChanged(ratioTemplate, EditorButtons::templateRatioSetting(ratioTemplate, false));
}

void EditorController::didSelectSize(const RatioTemplate& ratioTemplate) {
    ratioChanged(ratioTemplate, EditorButtons::templateRatioSetting(ratioTemplate, true));
}

void EditorController::customRatioApplied() {
    tail(false);
}

std::optional<std::string> EditorController::ratioProblem(const std::string& text,
                                                          double scale) const {
    if (!SettingKeys::isRatio(text)) {
        return "Not a ratio such as 16:10 or a size such as 1200x675 (sides up to " +
               std::to_string(SettingKeys::MAX_EXACT_SIDE) + ")";
    }
    if (!loaded_) {
        return std::nullopt;
    }
    const auto& values = session_.values;
    const ImageSize canvas(values.insetValue, values.paddingValue, text.empty() ? "auto" : text,
                           values.shownWatermark(), session_.currentImage.pointWidth,
                           session_.currentImage.pointHeight);
    auto problem = ImageLoadPipeline::canvasProblem(canvas, scale);
    if (problem && !problem->empty()) {
        (*problem)[0] = static_cast<char>(std::toupper(static_cast<unsigned char>((*problem)[0])));
    }
    return problem;
}

void EditorController::inputTooltipConfirmed(const std::string& field, int value) {
    const auto target = EditorButtons::labelField(field);
    if (!target) {
        return;
    }
    services_.settings.set(target->key, static_cast<double>(value));
    services_.view.setSliderValue(target->slider, value);
    // The slider's own action: the inset comes back, the radius replaces the window's.
    if (target->slider == EditorView::Slider::Inset) {
        insetSliderAction();
    } else if (target->slider == EditorView::Slider::Radius) {
        borderSliderAction();
    } else {
        sliderAction();
    }
}

void EditorController::redactColorAction(const std::string& color) {
    services_.settings.set(SettingKeys::REDACT_COLOR, color);
    updateValuesFromControls();
    refresh(false);
}

void EditorController::redactionRulesChanged() {
    if (loaded_) {
        startRecognition();
    }
}

void EditorController::presetApplied(std::optional<RatioTemplate> ratioTemplate, int inset,
                                     bool balanceChanged) {
    ratioTemplate_ = std::move(ratioTemplate);
    if (inset >= 1) {
        session_.values.insetEnabled = true;
        services_.view.setInsetStatus("");
    }
    updateValuesFromControls();
    if (!loaded_) {
        return; // the image arrives later and is derived with these values
    }
    if (balanceChanged) {
        rederive();
    } else {
        refresh(true);
    }
}

void EditorController::balanceButtonAction() {
    updateValuesFromControls();
    rederive();
    if (services_.presetStateChanged) {
        services_.presetStateChanged();
    }
}

void EditorController::activateSmartWrapText() {
    smartWrapTextEnabled_ = true;
    useYOffset_ = !useYOffset_;
    rederive();
}

void EditorController::rederive() {
    computeCurrentImage([weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->initCurrentImage({});
        }
    });
}

void EditorController::loadImage(const std::filesystem::path& path,
                                 std::function<void()> completion) {
    auto prepared = ImageLoadPipeline::load(path, services_.settings, capturedDate_);
    if (!prepared) {
        return; // the pipeline has logged "load image fail"
    }
    loadPrepared(std::move(*prepared), std::move(completion));
}

void EditorController::loadPrepared(PreparedImage prepared, std::function<void()> completion) {
    session_ = std::move(prepared);
    session_.capturedDate = capturedDate_;
    loaded_ = true;
    services_.view.setTitle(WindowPlacement::windowTitle(session_.fileName));
    processOriginalImage();
    // The pipeline has derived and encoded the working image already.
    initCurrentImage(std::move(completion));
}

void EditorController::processOriginalImage() {
    const auto& values = session_.values;
    if (values.borderColor) {
        services_.view.setBorderColor(*values.borderColor);
    }
    if (values.insetBackgroundDetected) {
        services_.view.setInsetStatus("(background color detected)");
    } else {
        services_.view.setSliderValue(EditorView::Slider::Inset, 0);
        services_.view.setInsetStatus("(disabled)");
    }
}

void EditorController::computeCurrentImage(std::function<void()> callback) {
    if (!loaded_) {
        LOG_ERROR("computeCurrentImage should only be called when the original image is "
                  "available");
        callback();
        return;
    }
    if (!smartWrapTextEnabled_) {
        session_.currentImage =
            ImageLoadPipeline::computeCurrentImage(session_.originalImage, session_.values);
        ImageLoadPipeline::encodeCurrentImage(session_);
        callback();
        return;
    }
    services_.wrapText(session_, useYOffset_,
                       [weak = weak_from_this(),
                        callback = std::move(callback)](std::optional<PreparedImage> wrapped) {
                           auto self = weak.lock();
                           if (!self || !wrapped) {
                               return;
                           }
                           self->session_.currentImage = std::move(wrapped->currentImage);
                           self->session_.strBase64 = std::move(wrapped->strBase64);
                           self->session_.imageUrl = std::move(wrapped->imageUrl);
                           callback();
                       });
}

void EditorController::initCurrentImage(std::function<void()> completion) {
    if (!loaded_) {
        return;
    }
    const ImageSize sizing = ImageLoadPipeline::canvas(session_);
    services_.view.setCanvasSize(sizing.bgWidth, sizing.bgHeight);
    repositionWindow(sizing.minWindowWidth, sizing.minWindowHeight);
    ++workingImageGeneration_;
    if (completion) {
        loadCompletion_ = std::move(completion);
    }
    updateValuesFromControls();
    refresh(true);
    startRecognition();
}

void EditorController::repositionWindow(double minWindowWidth, double minWindowHeight) {
    std::optional<ScreenInfo::Frame> visible;
    if (services_.screens != nullptr) {
        if (auto screen = ScreenChoice::screenWithMouse(*services_.screens)) {
            visible = screen->visibleFrame;
        }
    }
    if (auto frame = WindowPlacement::repositionWindow(services_.view.windowFrame(), minWindowWidth,
                                                       minWindowHeight, visible)) {
        services_.view.setWindowFrame(*frame);
    }
}

void EditorController::startRecognition() {
    if (!services_.recognize) {
        return;
    }
    TextRecognitionTask::Handlers handlers;
    handlers.addDetectedText = services_.addDetectedText;
    // Runs on the main thread; a window closed meanwhile ends the chain here, and the result
    // for a working image derived again meanwhile would put its rectangles in the wrong places.
    handlers.applied = [weak = weak_from_this(),
                        generation = workingImageGeneration_](TextDetectionResult result) {
        auto self = weak.lock();
        if (self && self->workingImageGeneration_ == generation) {
            self->applyTextRecognition(std::move(result));
        }
    };
    services_.recognize(std::make_shared<const RgbaImage>(session_.currentImage.image),
                        session_.currentImage.pointWidth, std::move(handlers));
}

void EditorController::applyTextRecognition(TextDetectionResult result) {
    detectedText_ = std::move(result.detectedText);
    redactRects_ = std::move(result.redactRects);
    allTextRects_ = std::move(result.allTextRects);
    textProcessed_ = true;
    services_.view.setRedactionStatus("(found " + std::to_string(redactRects_.size()) + ")", true);
    // Nothing would change in the document: spare the reload.
    if (session_.values.autoRedactEnabled || !redactRects_.empty() || !allTextRects_.empty()) {
        refresh(true);
    }
    if (auto completion = std::exchange(loadCompletion_, {})) {
        completion();
    }
}

} // namespace lumeris
