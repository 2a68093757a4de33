#include "editor/gtk/ShareMenu.h"

#include "base/GLibHandles.h"
#include "base/GObjectPtr.h"
#include "base/Logger.h"
#include "editor/DragOut.h"
#include "editor/ImageIntake.h"

#include <giomm/menu.h>

namespace lumeris {

namespace {

constexpr const char* PNG_TYPE = "image/png";
constexpr const char* SHARE_TIP = "Share";
constexpr const char* WAITING_TIP = "Share is available once the picture has been composed";

bool hasApplicationsFor(const char* contentType) {
    GList* applications = g_app_info_get_all_for_type(contentType);
    const bool any = applications != nullptr;
    g_list_free_full(applications, g_object_unref);
    return any;
}

} // namespace

ShareMenu::ShareMenu(Gtk::ApplicationWindow& window, Gtk::MenuButton& button,
                     std::function<Picture()> picture)
    : window_(window), button_(button), picture_(std::move(picture)) {
    const bool canOpenWith = hasApplicationsFor(PNG_TYPE);
    const bool canEmail = GCharPtr(g_find_program_in_path("xdg-email")) != nullptr;
    auto menu = Gio::Menu::create();
    if (canOpenWith) {
        window_.add_action(OPEN_WITH, [this] { openWith(); });
        menu->append("Open With…", std::string("win.") + OPEN_WITH);
    }
    if (canEmail) {
        window_.add_action(EMAIL, [this] { email(); });
        menu->append("Email…", std::string("win.") + EMAIL);
    }
    button_.set_use_popover(false);
    button_.set_menu_model(menu);
    // Nothing to offer: no button.
    button_.set_visible(canOpenWith || canEmail);
    update();
}

ShareMenu::~ShareMenu() {
    window_.remove_action(OPEN_WITH);
    window_.remove_action(EMAIL);
}

void ShareMenu::update() {
    const bool ready = picture_().image != nullptr;
    button_.set_sensitive(ready);
    button_.set_tooltip_text(ready ? SHARE_TIP : WAITING_TIP);
    for (const char* name : {OPEN_WITH, EMAIL}) {
        if (auto action =
                Glib::RefPtr<Gio::SimpleAction>::cast_dynamic(window_.lookup_action(name))) {
            action->set_enabled(ready);
        }
    }
}

// The picture as a PNG in the temporary folder, named after the output.
std::optional<std::filesystem::path> ShareMenu::writePicture() const {
    const Picture picture = picture_();
    if (!picture.image) {
        return std::nullopt;
    }
    const auto path =
        DragOut::filePath(ImageIntake::defaultTemporaryFolder(), picture.fileName, false);
    if (!DragOut::writeFile(*picture.image, path, false)) {
        return std::nullopt;
    }
    return path;
}

void ShareMenu::openWith() {
    chooser_ = std::make_unique<Gtk::AppChooserDialog>(PNG_TYPE, window_);
    chooser_->set_modal(true);
    chooser_->signal_response().connect([this](int response) {
        Glib::RefPtr<Gio::AppInfo> application;
        if (response == Gtk::RESPONSE_OK) {
            application = chooser_->get_app_info();
        }
        chooser_->hide();
        const auto path = application ? writePicture() : std::nullopt;
        if (!path) {
            return;
        }
        GObjectPtr<GFile> file(g_file_new_for_path(path->c_str()));
        GList files{file.get(), nullptr, nullptr};
        GErrorPtr error;
        if (g_app_info_launch(application->gobj(), &files, nullptr, GErrorOut(error))) {
            LOG_INFO("Opened {} with {}", path->string(), application->get_name());
        } else {
            LOG_ERROR("Cannot open {} with {}: {}", path->string(), application->get_name(),
                      error ? error->message : "");
        }
    });
    chooser_->present();
}

void ShareMenu::email() {
    const auto path = writePicture();
    if (!path) {
        return;
    }
    std::string file = path->string();
    gchar* argv[] = {const_cast<gchar*>("xdg-email"), const_cast<gchar*>("--attach"), file.data(),
                     nullptr};
    GErrorPtr error;
    if (g_spawn_async(nullptr, argv, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr,
                      GErrorOut(error))) {
        LOG_INFO("Email client opened with {}", file);
    } else {
        LOG_ERROR("Email client cannot be opened: {}", error ? error->message : "");
    }
}

} // namespace lumeris
