#include "app/gtk/LumerisApplication.h"

#include "app/EditorAddress.h"
#include "base/Logger.h"
#include "base/ResourceLocator.h"
#include "capture/CaptureBackends.h"
#include "capture/CommandCaptureTool.h"
#include "capture/PortalCaptureTool.h"
#include "capture/ScreenCapture.h"
#include "capture/TemporaryFiles.h"
#include "cli/PresetCommand.h"
#include "editor/EditorBackgroundWork.h"
#include "platform/TesseractRecognizer.h"
#include "render/gtk/RenderWindow.h"
#include "settings/SettingKeys.h"
#include "ui/TextDetectedHint.h"

namespace lumeris {

Glib::RefPtr<LumerisApplication> LumerisApplication::create() {
    return Glib::RefPtr<LumerisApplication>(new LumerisApplication());
}

LumerisApplication::LumerisApplication() : Gtk::Application(ID, Gio::APPLICATION_HANDLES_OPEN) {
    const std::pair<const char*, const char*> verbs[] = {
        {CAPTURE, "select a region or window and open it in an editor"},
        {CAPTURE_WINDOW, "select a window and open it in an editor"},
        {CAPTURE_COPY, "select a region or window and copy it framed"},
        {FROM_CLIPBOARD, "open the clipboard's image in an editor"},
        {REOPEN, "reopen the picture of the editor closed last"},
    };
    for (const auto& [verb, description] : verbs) {
        add_main_option_entry(OptionType::OPTION_TYPE_BOOL, verb, '\0', description);
    }
    signal_handle_local_options().connect(sigc::mem_fun(*this, &LumerisApplication::runVerb),
                                          false);
}

// A verb becomes its action in the primary instance, this one or the running one.
int LumerisApplication::runVerb(const Glib::RefPtr<Glib::VariantDict>& options) {
    for (const char* verb : VERBS) {
        if (!options->contains(verb)) {
            continue;
        }
        if (!register_application()) {
            return 1;
        }
        activate_action(verb);
        if (is_remote()) {
            // Sent before this process ends.
            g_dbus_connection_flush_sync(g_application_get_dbus_connection(G_APPLICATION(gobj())),
                                         nullptr, nullptr);
            return 0;
        }
        // Started by the verb: the tray stays, without the launch window.
        startHidden_ = true;
        return -1;
    }
    return -1;
}

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
        .showWatermarkTemplates = [this] { showWatermarkTemplates(); },
        .watermarkTextSelected = &watermarkTextSelected_,
        .spareView = std::make_shared<SpareRendererView>(baseUri.value_or("")),
    };
    intake_ = std::make_shared<EditorIntake>(
        EditorIntake::Dependencies{*this, settings_, services_.alerts, std::move(editor)});
    auto bus = [this] {
        return g_application_get_dbus_connection(G_APPLICATION(gobj()));
    };
    auto screenCapture = std::make_shared<ScreenCapture>(
        [this] {
            return CaptureBackends::order(CaptureEnvironment::current(),
                                          settings_.string(SettingKeys::CAPTURE_COMMAND, ""));
        },
        [bus](const std::string& backend) -> std::shared_ptr<CaptureTool> {
            if (backend != CaptureBackends::PORTAL) {
                return CommandCaptureTool::forBackend(backend);
            }
            GDBusConnection* connection = bus();
            return connection ? std::make_shared<PortalCaptureTool>(
                                    GObjectPtr<GDBusConnection>::retain(connection))
                              : nullptr;
        },
        TemporaryFiles::folder(), [this] { permission_->showWindow(); });
    permission_ = std::make_shared<CapturePermission>(settings_, bus);
    capture_ = std::make_unique<CaptureController>(*this, settings_, intake_, screenCapture);
    addActions();
    // A tray application: closing the last window does not end it, "Quit" does.
    hold();
    tray_ = std::make_unique<TrayShell>(
        TrayShell::Dependencies{*this, settings_, services_, permission_.get()});
    tray_->start();
}

void LumerisApplication::addActions() {
    add_action(CAPTURE, [this] { capture_->activate(false, false); });
    add_action(CAPTURE_WINDOW, [this] { capture_->activate(false, true); });
    add_action(CAPTURE_COPY, [this] { capture_->activate(true, false); });
    add_action(OPEN_FILE, [this] { intake_->chooseFilesToOpen(); });
    add_action(FROM_CLIPBOARD, [this] { intake_->activateFromClipboard(); });
    add_action(REOPEN, [this] { intake_->reopenRecentFile(); });
    // `lumeris preset save/delete` while this runs: the list it worked out, stored here so that
    // this process's settings (written back on every change) hold it too.
    add_action_with_parameter(
        PresetCommand::STORE_PRESETS_ACTION, Glib::Variant<Glib::ustring>::variant_type(),
        [this](const Glib::VariantBase& parameter) {
            const std::string json =
                Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(parameter).get();
            settings_.set(SettingKeys::PRESETS_STORAGE_KEY, RawData{{json.begin(), json.end()}});
            for (const auto& window : intake_->openWindows()) {
                window->presets().storedPresetsChanged();
            }
        });
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

void LumerisApplication::showWatermarkTemplates() {
    if (!watermarkTemplates_) {
        watermarkTemplates_ =
            WatermarkTemplateWindow::create(settings_, [this] { watermarkTextSelected_.emit(); });
    }
    if (watermarkTemplates_) {
        watermarkTemplates_->present();
    }
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
