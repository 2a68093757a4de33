#include "editor/gtk/EditorWindow.h"

#include "base/Logger.h"
#include "editor/RedactionRules.h"
#include "editor/TextRecognitionTask.h"
#include "editor/WindowPlacement.h"
#include "render/EditorDocument.h"

#include <algorithm>
#include <cmath>

namespace lumeris {

namespace {

constexpr int MIN_DEFAULT_WIDTH = 1200;
constexpr int MIN_DEFAULT_HEIGHT = 800;

} // namespace

EditorWindow::EditorWindow(const SettingsStore& settings,
                           std::shared_ptr<TextRecognizer> recognizer, Backgrounds backgrounds,
                           std::string baseUri)
    : settings_(settings), recognizer_(std::move(recognizer)), backgrounds_(std::move(backgrounds)),
      baseUri_(std::move(baseUri)), view_(CustomWKWebView::create()) {
    set_default_size(MIN_DEFAULT_WIDTH, MIN_DEFAULT_HEIGHT);
    scroller_.set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
    gtk_container_add(GTK_CONTAINER(frame_.gobj()), view_->widget());
    frame_.set_halign(Gtk::ALIGN_CENTER);
    frame_.set_valign(Gtk::ALIGN_CENTER);
    scroller_.add(frame_);
    add(scroller_);
    scroller_.show_all();
}

void EditorWindow::showImage(PreparedImage prepared) {
    LOG_DEBUG("load image");
    prepared_ = std::make_shared<const PreparedImage>(std::move(prepared));
    set_title(WindowPlacement::windowTitle(prepared_->fileName));

    const ImageSize canvas = ImageLoadPipeline::canvas(*prepared_);
    const int width = static_cast<int>(std::lround(canvas.bgWidth));
    const int height = static_cast<int>(std::lround(canvas.bgHeight));
    view_->setCanvasSize(width, height);
    int shownWidth = 0;
    int shownHeight = 0;
    get_size(shownWidth, shownHeight);
    resize(std::max({shownWidth, MIN_DEFAULT_WIDTH, static_cast<int>(canvas.minWindowWidth)}),
           std::max({shownHeight, MIN_DEFAULT_HEIGHT, static_cast<int>(canvas.minWindowHeight)}));

    styleText_ = EditorDocument::styleSheet(ImageLoadPipeline::styleInputs(
        *prepared_, settings_, backgrounds_.desktop, backgrounds_.custom));
    view_->loadDocument(ImageLoadPipeline::document(*prepared_, styleText_, {}, {}), baseUri_);
    if (prepared_->values.autoRedactEnabled) {
        startRecognition();
    }
}

bool EditorWindow::on_key_press_event(GdkEventKey* event) {
    const auto modifiers = event->state & gtk_accelerator_get_default_mod_mask();
    if (modifiers == GDK_CONTROL_MASK &&
        (event->keyval == GDK_KEY_w || event->keyval == GDK_KEY_W)) {
        close();
        return true;
    }
    return Gtk::Window::on_key_press_event(event);
}

void EditorWindow::startRecognition() {
    auto bitmap = std::make_shared<const RgbaImage>(prepared_->currentImage.image);
    std::weak_ptr<CustomWKWebView> weakView = view_;
    TextRecognitionTask::Handlers handlers;
    // Main thread; a window closed meanwhile (its view gone) ends here.
    handlers.applied = [weakView, prepared = prepared_, style = styleText_,
                        baseUri = baseUri_](TextDetectionResult result) {
        auto view = weakView.lock();
        if (!view || (result.redactRects.empty() && result.allTextRects.empty())) {
            return;
        }
        view->loadDocument(
            ImageLoadPipeline::document(*prepared, style, result.redactRects, result.allTextRects),
            baseUri);
    };
    TextRecognitionTask::start(recognizer_, std::move(bitmap), prepared_->currentImage.pointWidth,
                               RedactionRules::activePatterns(settings_), std::move(handlers));
}

} // namespace lumeris
