#pragma once

#include "editor/EditorView.h"

#include <filesystem>
#include <functional>
#include <gtkmm/appchooserdialog.h>
#include <gtkmm/applicationwindow.h>
#include <gtkmm/menubutton.h>
#include <memory>
#include <optional>
#include <string>

namespace lumeris {

// The header bar's share button on the last composed picture: "Open With…" an application for
// PNG pictures and "Email…" through xdg-email, each offered only where it can run. Until there is
// a composed picture the button is insensitive and says why. The items are the window actions
// "win.open-with" and "win.email", so other menus can offer them too.
class ShareMenu {
public:
    static constexpr const char* OPEN_WITH = "open-with";
    static constexpr const char* EMAIL = "email";

    struct Picture {
        EditorView::Snapshot image;
        // The output's name, which the shared file takes.
        std::string fileName;
    };

    // `window` and `button` must outlive the menu.
    ShareMenu(Gtk::ApplicationWindow& window, Gtk::MenuButton& button,
              std::function<Picture()> picture);
    ~ShareMenu();

    // Follows whether there is a picture to share.
    void update();

private:
    std::optional<std::filesystem::path> writePicture() const;
    void openWith();
    void email();

    Gtk::ApplicationWindow& window_;
    Gtk::MenuButton& button_;
    std::function<Picture()> picture_;
    std::unique_ptr<Gtk::AppChooserDialog> chooser_;
};

} // namespace lumeris
