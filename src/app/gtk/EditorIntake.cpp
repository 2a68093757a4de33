#include "app/gtk/EditorIntake.h"

#include "base/Logger.h"
#include "editor/ImageIntake.h"
#include "ui/Alerts.h"

#include <algorithm>
#include <glib.h>
#include <glibmm/main.h>
#include <thread>

namespace lumeris {

namespace {

// Runs `work` once on the main context.
void postToMain(std::function<void()> work) {
    g_main_context_invoke_full(
        nullptr, G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        new std::function<void()>(std::move(work)),
        [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

} // namespace

EditorIntake::EditorIntake(Dependencies dependencies) : dependencies_(std::move(dependencies)) {}

AlertRequest EditorIntake::errorAlert(const std::string& message) {
    return AlertRequest{"Error", message, {"OK"}};
}

void EditorIntake::activateFromFile(const std::filesystem::path& path) {
    dependencies_.application.hold();
    std::weak_ptr<EditorIntake> weak = weak_from_this();
    const SettingsStore& settings = dependencies_.settings;
    // Worker thread: reads only the file and the (locked) settings store.
    std::thread([weak, path, &settings] {
        auto outcome = ImageIntake::activateFromFile(path, settings);
        // Main thread; the intake (and with it the application) may be gone.
        postToMain([weak, outcome = std::move(outcome)]() mutable {
            auto self = weak.lock();
            if (!self) {
                return;
            }
            if (auto* prepared = std::get_if<PreparedImage>(&outcome)) {
                self->openEditorWithImage(std::move(*prepared));
            } else {
                self->showError(std::get<std::string>(outcome));
            }
            self->dependencies_.application.release();
        });
    }).detach();
}

void EditorIntake::showError(const std::string& message) {
    std::weak_ptr<EditorIntake> weak = weak_from_this();
    // The application stays up until the alert is answered.
    dependencies_.application.hold();
    dependencies_.alerts->show(errorAlert(message), [weak](int) {
        if (auto self = weak.lock()) {
            self->dependencies_.application.release();
        }
    });
}

void EditorIntake::openEditorWithImage(PreparedImage prepared) {
    auto window = EditorWindow::create(dependencies_.editor);
    if (!window) {
        showError(ImageIntake::CANNOT_OPEN);
        return;
    }
    EditorWindow* raw = window.get();
    windows_.push_back(std::move(window));
    dependencies_.application.add_window(*raw);
    std::weak_ptr<EditorIntake> weak = weak_from_this();
    raw->signal_hide().connect([weak, raw] {
        if (auto self = weak.lock()) {
            self->closed(raw);
        }
    });
    raw->present();
    raw->loadImage(std::move(prepared));
    LOG_DEBUG("create new window");
}

void EditorIntake::closed(EditorWindow* window) {
    auto found = std::find_if(windows_.begin(), windows_.end(),
                              [window](const auto& held) { return held.get() == window; });
    if (found == windows_.end()) {
        return;
    }
    // Destroyed from the main loop, not inside its own hide signal.
    auto held = std::make_shared<std::unique_ptr<EditorWindow>>(std::move(*found));
    windows_.erase(found);
    Glib::signal_idle().connect_once([held] { held->reset(); });
}

} // namespace lumeris
