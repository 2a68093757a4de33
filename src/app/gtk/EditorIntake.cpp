#include "app/gtk/EditorIntake.h"

#include "base/Logger.h"
#include "base/MainContext.h"
#include "export/ImageReader.h"
#include "ui/Alerts.h"
#include "ui/BezelIcon.h"
#include "ui/Clipboard.h"
#include "ui/FileChooser.h"
#include "ui/gtk/NotificationBezel.h"

#include <algorithm>
#include <gdk/gdkwayland.h>
#include <glibmm/main.h>
#include <gtkmm/label.h>
#include <thread>

namespace lumeris {

namespace fs = std::filesystem;

namespace {

// The capture-and-copy editor: shown at once, copied from half a second after its load.
constexpr unsigned SHOW_DELAY_MS = 100;
constexpr unsigned COPY_DELAY_MS = 500;
constexpr double PROCESSING_FADE_OUT = 0.25;
constexpr int CLIPBOARD_WINDOW_SIZE = 240;
constexpr int CLIPBOARD_WINDOW_MARGIN = 18;
constexpr unsigned CLIPBOARD_FOCUS_WAIT_MS = 2000;

} // namespace

EditorIntake::EditorIntake(Dependencies dependencies) : dependencies_(std::move(dependencies)) {}

AlertRequest EditorIntake::errorAlert(const std::string& message) {
    return AlertRequest{"Error", message, {"OK"}};
}

AlertRequest EditorIntake::noImageAlert() {
    return AlertRequest{"No Image", "No image found in your clipboard.", {"OK"}};
}

AlertRequest EditorIntake::noMoreAlert() {
    return AlertRequest{RecentlyClosed::NO_MORE, RecentlyClosed::NONE_FOUND, {"OK"}};
}

std::shared_ptr<void> EditorIntake::hold() {
    Gtk::Application& application = dependencies_.application;
    application.hold();
    return {nullptr, [&application](void*) {
                application.release();
            }};
}

void EditorIntake::inBackground(std::function<Continuation()> work) {
    std::weak_ptr<EditorIntake> weak = weak_from_this();
    // Worker thread: reads files and the (locked) settings store only.
    // The hold ends on the main thread: it moves along with the result.
    std::thread([weak, held = hold(), work = std::move(work)]() mutable {
        Continuation next = work();
        // Main thread; the intake (and with it the application) may be gone.
        runOnMainContext([weak, held = std::move(held), next = std::move(next)] {
            if (auto self = weak.lock()) {
                next(*self);
            }
        });
    }).detach();
}

void EditorIntake::activateFromFile(const fs::path& path) {
    const SettingsStore& settings = dependencies_.settings;
    inBackground([path, &settings]() -> Continuation {
        auto outcome = ImageIntake::activateFromFile(path, settings);
        return [outcome = std::move(outcome)](EditorIntake& self) {
            self.opened(outcome);
        };
    });
}

void EditorIntake::opened(std::variant<PreparedImage, std::string> outcome) {
    if (auto* prepared = std::get_if<PreparedImage>(&outcome)) {
        openEditorWithImage(std::move(*prepared));
    } else {
        showAlert(errorAlert(std::get<std::string>(outcome)));
    }
}

void EditorIntake::chooseFilesToOpen() {
    expectEditor();
    std::weak_ptr<EditorIntake> weak = weak_from_this();
    dependencies_.editor.fileChooser->chooseFilesToOpen(
        FileChooserRequest{
            .title = OPEN_TITLE, .suggestedFolder = {}, .suggestedName = {}, .filters = {}},
        [weak, held = hold()](const std::vector<fs::path>& files) {
            if (auto self = weak.lock()) {
                if (files.empty()) {
                    self->noEditorComing();
                }
                for (const auto& file : files) {
                    self->activateFromFile(file);
                }
            }
        });
}

void EditorIntake::withClipboardFocus(std::function<void()> read) {
    GdkDisplay* display = gdk_display_get_default();
    Gtk::Window* active = dependencies_.application.get_active_window();
    if (display == nullptr || !GDK_IS_WAYLAND_DISPLAY(display) ||
        (active != nullptr && active->has_toplevel_focus())) {
        read();
        return;
    }
    // Wayland hands the clipboard only to the client with keyboard focus: a small window of
    // ours takes it first (a shortcut run from the desktop leaves it elsewhere).
    focusWindow_ = std::make_unique<Gtk::Window>();
    focusWindow_->set_title("Lumeris");
    focusWindow_->set_default_size(CLIPBOARD_WINDOW_SIZE, 1);
    focusWindow_->set_resizable(false);
    auto* label = Gtk::make_managed<Gtk::Label>("Reading the clipboard…");
    label->property_margin() = CLIPBOARD_WINDOW_MARGIN;
    focusWindow_->add(*label);
    label->show();
    auto once = std::make_shared<std::function<void()>>(std::move(read));
    std::weak_ptr<EditorIntake> weak = weak_from_this();
    auto finish = [weak, once] {
        if (auto pending = std::exchange(*once, {})) {
            pending();
            Glib::signal_idle().connect_once([weak] {
                if (auto self = weak.lock()) {
                    self->focusWindow_.reset();
                }
            });
        }
    };
    focusWindow_->signal_focus_in_event().connect([finish](GdkEventFocus*) {
        finish();
        return false;
    });
    // Read anyway when the focus does not come.
    Glib::signal_timeout().connect_once(finish, CLIPBOARD_FOCUS_WAIT_MS);
    dependencies_.application.add_window(*focusWindow_);
    focusWindow_->present();
}

void EditorIntake::activateFromClipboard() {
    std::weak_ptr<EditorIntake> weak = weak_from_this();
    withClipboardFocus([weak] {
        if (auto self = weak.lock()) {
            self->readClipboardFiles();
        }
    });
}

void EditorIntake::readClipboardFiles() {
    std::weak_ptr<EditorIntake> weak = weak_from_this();
    dependencies_.editor.clipboard->readFiles([weak, held = hold()](std::vector<fs::path> files) {
        auto self = weak.lock();
        if (!self) {
            return;
        }
        if (files.empty()) {
            self->clipboardData();
            return;
        }
        const SettingsStore& settings = self->dependencies_.settings;
        self->inBackground([file = files.front(), &settings]() -> Continuation {
            auto image = ImageReader::read(file);
            if (!image) {
                return [](EditorIntake& intake) {
                    intake.clipboardData();
                };
            }
            auto kept = ImageIntake::keep(std::move(*image), settings);
            return [kept = std::move(kept)](EditorIntake& intake) {
                intake.keptFromClipboard(kept);
            };
        });
    });
}

void EditorIntake::clipboardData() {
    std::weak_ptr<EditorIntake> weak = weak_from_this();
    dependencies_.editor.clipboard->readImage(
        [weak, held = hold()](std::optional<RgbaImage> image) {
            auto self = weak.lock();
            if (!self) {
                return;
            }
            if (!image) {
                self->showAlert(noImageAlert());
                return;
            }
            const SettingsStore& settings = self->dependencies_.settings;
            self->inBackground([image = std::move(*image), &settings]() mutable -> Continuation {
                LoadedImage loaded{std::move(image), 0, 0};
                loaded.pointWidth = loaded.image.width;
                loaded.pointHeight = loaded.image.height;
                auto kept = ImageIntake::keep(std::move(loaded), settings);
                return [kept = std::move(kept)](EditorIntake& intake) {
                    intake.keptFromClipboard(kept);
                };
            });
        });
}

void EditorIntake::keptFromClipboard(std::variant<PreparedImage, ImageIntake::Failure> kept) {
    if (auto* prepared = std::get_if<PreparedImage>(&kept)) {
        openEditorWithImage(std::move(*prepared));
    } else if (std::get<ImageIntake::Failure>(kept) == ImageIntake::Failure::NoTemporaryFile) {
        showAlert(noImageAlert());
    } else {
        LOG_ERROR("open from clipboard error: the temporary file could not be written");
        showAlert(errorAlert("Unable to open image from clipboard."));
    }
}

void EditorIntake::load(const fs::path& path,
                        std::function<void(EditorIntake&, PreparedImage)> open) {
    const SettingsStore& settings = dependencies_.settings;
    inBackground([path, &settings, open = std::move(open)]() -> Continuation {
        std::string error;
        auto prepared =
            ImageLoadPipeline::load(path, settings, std::chrono::system_clock::now(), &error);
        if (!prepared) {
            LOG_ERROR("cannot open {}: {}", path.string(), error);
            return [](EditorIntake& self) {
                self.showAlert(errorAlert(ImageIntake::CANNOT_OPEN));
            };
        }
        return [open, prepared = std::move(*prepared)](EditorIntake& self) {
            open(self, prepared);
        };
    });
}

void EditorIntake::reopenRecentFile() {
    auto picture = recentlyClosed_.reopen();
    if (!picture) {
        showAlert(noMoreAlert());
        return;
    }
    openCapture(*picture);
}

void EditorIntake::openCapture(const fs::path& capture) {
    load(capture, [](EditorIntake& self, PreparedImage prepared) {
        self.openEditorWithImage(std::move(prepared));
    });
}

void EditorIntake::captureAndCopy(const fs::path& capture) {
    NotificationBezel::show(PROCESSING, BezelIcon::named(BezelIcon::PROCESSING),
                            BezelLocation::Normal, BezelSize::Normal, BezelTimeToLive::shortTime(),
                            0.0, PROCESSING_FADE_OUT);
    std::weak_ptr<EditorIntake> weak = weak_from_this();
    Glib::signal_timeout().connect_once(
        [weak, capture, held = hold()] {
            if (auto self = weak.lock()) {
                self->load(capture, [](EditorIntake& intake, PreparedImage prepared) {
                    intake.copyInvisibly(std::move(prepared));
                });
            }
        },
        SHOW_DELAY_MS);
}

void EditorIntake::copyInvisibly(PreparedImage prepared) {
    auto created = EditorWindow::create(dependencies_.editor);
    if (!created) {
        LOG_DEBUG("unable to init ImageEditor");
        return;
    }
    EditorWindow* window = addWindow(std::move(created), copying_);
    window->keepOffScreen();
    window->show();
    std::weak_ptr<EditorIntake> weak = weak_from_this();
    window->loadImage(std::move(prepared), [weak, window] {
        Glib::signal_timeout().connect_once(
            [weak, window] {
                auto self = weak.lock();
                const bool open = self && std::any_of(self->copying_.begin(), self->copying_.end(),
                                                      [window](const auto& held) {
                                                          return held.get() == window;
                                                      });
                if (open) {
                    // Closes the window and shows "Image Copied", whatever the setting says.
                    window->commands().copyImage(true);
                }
            },
            COPY_DELAY_MS);
    });
}

void EditorIntake::expectEditor() {
    if (dependencies_.editor.spareView) {
        dependencies_.editor.spareView->prepare();
    }
}

void EditorIntake::noEditorComing() {
    // With no editor open the spare renderer's idle process is not worth keeping.
    if (windows_.empty() && copying_.empty() && dependencies_.editor.spareView) {
        dependencies_.editor.spareView->release();
    }
}

void EditorIntake::openEditorWithImage(PreparedImage prepared) {
    auto created = EditorWindow::create(dependencies_.editor);
    if (!created) {
        showAlert(errorAlert(ImageIntake::CANNOT_OPEN));
        return;
    }
    EditorWindow* window = addWindow(std::move(created), windows_);
    window->present();
    window->loadImage(std::move(prepared));
    LOG_DEBUG("create new window");
}

EditorWindow* EditorIntake::addWindow(std::unique_ptr<EditorWindow> window,
                                      std::vector<std::unique_ptr<EditorWindow>>& list) {
    EditorWindow* raw = window.get();
    list.push_back(std::move(window));
    dependencies_.application.add_window(*raw);
    std::weak_ptr<EditorIntake> weak = weak_from_this();
    raw->signal_hide().connect([weak, raw] {
        if (auto self = weak.lock()) {
            self->closed(raw);
        }
    });
    return raw;
}

void EditorIntake::showAlert(const AlertRequest& alert) {
    // The application stays up until the alert is answered.
    dependencies_.alerts->show(alert, [held = hold()](int) {});
}

void EditorIntake::closed(EditorWindow* window) {
    for (auto* list : {&windows_, &copying_}) {
        auto found = std::find_if(list->begin(), list->end(),
                                  [window](const auto& held) { return held.get() == window; });
        if (found == list->end()) {
            continue;
        }
        const fs::path& picture = window->controller().session().currentPath;
        if (!picture.empty()) {
            recentlyClosed_.add(picture);
        }
        // Destroyed from the main loop, not inside its own hide signal.
        auto held = std::make_shared<std::unique_ptr<EditorWindow>>(std::move(*found));
        list->erase(found);
        Glib::signal_idle().connect_once([held] { held->reset(); });
        noEditorComing();
        return;
    }
}

} // namespace lumeris
