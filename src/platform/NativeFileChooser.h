#pragma once

#include "ui/FileChooser.h"

#include <functional>
#include <gtk/gtk.h>

namespace Gtk {
class Window;
}

namespace lumeris {

// Open and save dialogs through GtkFileChooserNative, which uses the desktop portal where there
// is one and GTK's own dialog elsewhere. Main thread only.
class NativeFileChooser : public FileChooser {
public:
    // The window the dialogs are modal to, asked when each opens; none makes them free-standing.
    using ParentProvider = std::function<Gtk::Window*()>;

    explicit NativeFileChooser(ParentProvider parent = {});

    void chooseFileToOpen(const FileChooserRequest& request, Chosen chosen) override;
    void chooseFileToSave(const FileChooserRequest& request, Chosen chosen) override;
    void chooseFilesToOpen(const FileChooserRequest& request, ChosenFiles chosen) override;

private:
    // The dialog for `request`, shown once the caller has connected its answer.
    GtkFileChooserNative* dialog(GtkFileChooserAction action, const FileChooserRequest& request);

    ParentProvider parent_;
};

} // namespace lumeris
