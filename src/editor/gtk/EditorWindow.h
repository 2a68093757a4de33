#pragma once

#include "editor/ImageLoadPipeline.h"
#include "render/gtk/CustomWKWebView.h"

#include <gtkmm/fixed.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/window.h>
#include <memory>
#include <optional>
#include <string>

namespace lumeris {

class SettingsStore;
class TextRecognizer;

// An editor window on one image: the composed picture in the renderer, scrolled when larger than
// the window. Holds widgets only; the composition comes from the display-free load pipeline.
class EditorWindow : public Gtk::Window {
public:
    // Background pictures placed where the renderer may read them, as the style sheet names them.
    struct Backgrounds {
        std::optional<std::string> desktop;
        std::optional<std::string> custom;
    };

    EditorWindow(const SettingsStore& settings, std::shared_ptr<TextRecognizer> recognizer,
                 Backgrounds backgrounds, std::string baseUri);

    // Composes and shows `prepared`; recognition for redaction follows in the background.
    void showImage(PreparedImage prepared);

    CustomWKWebView& renderer() { return *view_; }

protected:
    // Ctrl+W closes the editor, as everywhere on the desktop.
    bool on_key_press_event(GdkEventKey* event) override;

private:
    void startRecognition();

    const SettingsStore& settings_;
    std::shared_ptr<TextRecognizer> recognizer_;
    Backgrounds backgrounds_;
    std::string baseUri_;
    Gtk::ScrolledWindow scroller_;
    // Gives the view exactly the size it requests (not its page-dependent natural size).
    Gtk::Fixed frame_;
    // After its containers, so it leaves them before they go.
    std::shared_ptr<CustomWKWebView> view_;
    std::shared_ptr<const PreparedImage> prepared_;
    std::string styleText_;
};

} // namespace lumeris
