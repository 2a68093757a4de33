#pragma once

#include "capture/RecentlyClosed.h"
#include "editor/ImageIntake.h"
#include "editor/ImageLoadPipeline.h"
#include "editor/gtk/EditorWindow.h"
#include "ui/AlertRequest.h"

#include <filesystem>
#include <functional>
#include <gtkmm/application.h>
#include <memory>
#include <string>
#include <vector>

namespace lumeris {

class Alerts;
class SettingsStore;

// Brings pictures into editor windows: files, the open dialog, the clipboard, the recently
// closed list and captures, and the editor that copies a capture without being seen. Keeps the
// process-wide list of open editor windows, in the order they opened. Main thread.
class EditorIntake : public std::enable_shared_from_this<EditorIntake> {
public:
    static constexpr const char* OPEN_TITLE = "Select an image";
    static constexpr const char* PROCESSING = "Processing...";

    struct Dependencies {
        Gtk::Application& application;
        SettingsStore& settings;
        std::shared_ptr<Alerts> alerts;
        // What every editor window is built with (its clipboard and file chooser serve here too).
        EditorWindow::Dependencies editor;
    };

    explicit EditorIntake(Dependencies dependencies);

    // Checks, copies and analyses the file on a worker thread, then opens an editor on the copy,
    // or shows the error alert. The application stays up meanwhile.
    void activateFromFile(const std::filesystem::path& path);
    // "Select an image": every file chosen opens on its own.
    void chooseFilesToOpen();
    // A copied image file's picture, else the clipboard's image data.
    void activateFromClipboard();
    // The newest picture of the recently closed list, where it is; "No more" when none is left.
    void reopenRecentFile();
    // A capture (already backed up) opened where it is.
    void openCapture(const std::filesystem::path& capture);
    // "Processing...", then an editor kept off screen copies the composed capture and closes.
    void captureAndCopy(const std::filesystem::path& capture);

    // A new visible editor window on an image already read, appended to the open-window list.
    void openEditorWithImage(PreparedImage prepared);
    // An editor is likely soon (a capture or a file choice has begun): its renderer starts now.
    void expectEditor();
    // It was not (the capture was cancelled): with no editor open, the renderer goes again.
    void noEditorComing();

    const std::vector<std::unique_ptr<EditorWindow>>& openWindows() const { return windows_; }

    static AlertRequest errorAlert(const std::string& message);
    static AlertRequest noImageAlert();
    static AlertRequest noMoreAlert();

private:
    // Work for a worker thread, returning what the main thread does with its result.
    using Continuation = std::function<void(EditorIntake&)>;
    void inBackground(std::function<Continuation()> work);
    // Reads a file of ours as it is, then hands it on.
    void load(const std::filesystem::path& path,
              std::function<void(EditorIntake&, PreparedImage)> open);
    void opened(std::variant<PreparedImage, std::string> outcome);
    // Runs `read` once this process may read the clipboard.
    void withClipboardFocus(std::function<void()> read);
    void readClipboardFiles();
    void clipboardData();
    void keptFromClipboard(std::variant<PreparedImage, ImageIntake::Failure> kept);
    void copyInvisibly(PreparedImage prepared);
    EditorWindow* addWindow(std::unique_ptr<EditorWindow> window,
                            std::vector<std::unique_ptr<EditorWindow>>& list);
    void showAlert(const AlertRequest& alert);
    void closed(EditorWindow* window);
    // Keeps the application running while it lives.
    std::shared_ptr<void> hold();

    Dependencies dependencies_;
    std::vector<std::unique_ptr<EditorWindow>> windows_;
    // Capture-and-copy editors: never in the open-window list.
    std::vector<std::unique_ptr<EditorWindow>> copying_;
    RecentlyClosed recentlyClosed_;
    // Takes the keyboard focus on Wayland while the clipboard is read.
    std::unique_ptr<Gtk::Window> focusWindow_;
};

} // namespace lumeris
