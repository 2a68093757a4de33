#pragma once

#include "editor/ImageLoadPipeline.h"
#include "editor/gtk/EditorWindow.h"
#include "ui/AlertRequest.h"

#include <filesystem>
#include <gtkmm/application.h>
#include <memory>
#include <string>
#include <vector>

namespace lumeris {

class Alerts;
class SettingsStore;

// Brings image files into editor windows and keeps the open ones alive: the process-wide list of
// open editor windows, in the order they opened. Main thread, except where said.
class EditorIntake : public std::enable_shared_from_this<EditorIntake> {
public:
    struct Dependencies {
        Gtk::Application& application;
        SettingsStore& settings;
        std::shared_ptr<Alerts> alerts;
        // What every editor window is built with.
        EditorWindow::Dependencies editor;
    };

    explicit EditorIntake(Dependencies dependencies);

    // Checks, copies and analyses the file on a worker thread, then opens an editor on the copy,
    // or shows the error alert. The application stays up meanwhile.
    void activateFromFile(const std::filesystem::path& path);

    // A new visible editor window on an image already read, appended to the open-window list.
    void openEditorWithImage(PreparedImage prepared);

    const std::vector<std::unique_ptr<EditorWindow>>& openWindows() const { return windows_; }

    // Title "Error", the message, one "OK" button.
    static AlertRequest errorAlert(const std::string& message);

private:
    void showError(const std::string& message);
    void closed(EditorWindow* window);

    Dependencies dependencies_;
    std::vector<std::unique_ptr<EditorWindow>> windows_;
};

} // namespace lumeris
