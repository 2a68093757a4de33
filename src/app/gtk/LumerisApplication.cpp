#include "app/gtk/LumerisApplication.h"

#include "app/EditorAddress.h"
#include "base/Logger.h"
#include "base/ResourceLocator.h"
#include "editor/EditorBackgroundWork.h"
#include "platform/TesseractRecognizer.h"
#include "render/gtk/RenderWindow.h"
#include "ui/TextDetectedHint.h"

namespace lumeris {

Glib::RefPtr<LumerisApplication> LumerisApplication::create() {
    return Glib::RefPtr<LumerisApplication>(new LumerisApplication());
}

LumerisApplication::LumerisApplication() : Gtk::Application(ID, Gio::APPLICATION_HANDLES_OPEN) {}

void LumerisApplication::on_startup() {
    Gtk::Application::on_startup();
    Logger::setUp(Logger::defaultLogDirectory());
    followClipboardOwnership();
    settings_.registerDefaultSettings();
    LOG_INFO("Settings are at {}", settings_.file().string());
    services_ = DesktopServices::create(settings_, [this] { return get_active_window(); });
    // Shown beside the editor's menu items; the editor handles the keys itself.
    for (const auto& [action, accel] : EditorWindow::ACCELERATORS) {
        set_accel_for_action(action, accel);
    }
    screens_ = std::make_unique<GdkScreenLocator>();
    desktopPicture_ = std::make_unique<WallpaperDesktopPicture>(*screens_);
    auto baseUri = RenderWindow::viewerBaseUri();
    if (!baseUri) {
        LOG_ERROR("web/viewer.html is missing from the resources; editors stay empty");
    }
    auto recognizer = std::make_shared<TesseractRecognizer>();
    EditorWindow::Dependencies editor{
        .settings = settings_,
        .alerts = services_.alerts,
        .clipboard = services_.clipboard,
        .fileChooser = services_.fileChooser,
        .sounds = services_.sounds,
        .recognize = EditorBackgroundWork::recognition(recognizer, settings_),
        .wrapText = EditorBackgroundWork::textWrap(recognizer),
        .recognizer = recognizer,
        .baseUri = baseUri.value_or(""),
        .rendererFolder = ResourceLocator::rendererDataFolder(),
        .screens = screens_.get(),
        .desktopSource = desktopPicture_.get(),
        .addDetectedText =
            [this](const std::string& text) {
                if (tray_) {
                    tray_->addDetectedText(text);
                }
            },
        .showTextDetectedHint = [this] { TextDetectedHint::show(settings_, *services_.notifier); },
    };
    intake_ = std::make_shared<EditorIntake>(
        EditorIntake::Dependencies{*this, settings_, services_.alerts, std::move(editor)});
    // A tray application: closing the last window does not end it, "Quit" does.
    hold();
    tray_ = std::make_unique<TrayShell>(TrayShell::Dependencies{*this, settings_, services_});
    tray_->start();
}

void LumerisApplication::followClipboardOwnership() {
    g_signal_connect(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), "owner-change",
                     G_CALLBACK(+[](GtkClipboard*, GdkEvent*, gpointer data) {
                         static_cast<LumerisApplication*>(data)->holdWhileOwningClipboard();
                     }),
                     this);
    // The owner-change notice arrives after the copy that closed the last window; asking then
    // keeps the application from ending before it.
    signal_window_removed().connect([this](Gtk::Window*) { holdWhileOwningClipboard(); });
}

void LumerisApplication::holdWhileOwningClipboard() {
    const bool ours = gdk_selection_owner_get(GDK_SELECTION_CLIPBOARD) != nullptr;
    if (ours && !heldForClipboard_) {
        hold();
    } else if (!ours && heldForClipboard_) {
        release();
    }
    heldForClipboard_ = ours;
}

// A plain `lumeris`: the launch window the first time, later a window brought forward.
void LumerisApplication::on_activate() {
    tray_->activate(startHidden_);
}

void LumerisApplication::on_open(const type_vec_files& files, const Glib::ustring&) {
    tray_->opened();
    for (const auto& file : files) {
        const std::string path = file->get_path();
        if (!path.empty()) {
            intake_->activateFromFile(path);
        } else if (auto named = EditorAddress::fileToOpen(file->get_uri())) {
            intake_->activateFromFile(*named);
        } else {
            LOG_DEBUG("Ignored the address {}", file->get_uri());
        }
    }
}

} // namespace lumeris
