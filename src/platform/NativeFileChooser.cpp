#include "platform/NativeFileChooser.h"

#include "base/GLibHandles.h"
#include "base/Logger.h"

#include <exception>
#include <gtkmm/window.h>
#include <memory>

namespace lumeris {

namespace {

void onResponse(GtkNativeDialog* dialog, gint response, gpointer data) {
    std::unique_ptr<FileChooser::Chosen> chosen(static_cast<FileChooser::Chosen*>(data));
    g_signal_handlers_disconnect_by_data(dialog, data);
    std::optional<std::filesystem::path> path;
    if (response == GTK_RESPONSE_ACCEPT) {
        GCharPtr file(gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog)));
        if (file) {
            path = file.get();
        }
    }
    // The dialog's one reference goes once its response emission is over.
    g_idle_add_full(
        G_PRIORITY_DEFAULT_IDLE, [](gpointer) { return G_SOURCE_REMOVE; }, dialog, g_object_unref);
    try {
        (*chosen)(std::move(path));
    } catch (const std::exception& error) {
        LOG_ERROR("A file chooser's answer failed: {}", error.what());
    }
}

} // namespace

NativeFileChooser::NativeFileChooser(ParentProvider parent) : parent_(std::move(parent)) {}

void NativeFileChooser::chooseFileToOpen(const FileChooserRequest& request, Chosen chosen) {
    choose(GTK_FILE_CHOOSER_ACTION_OPEN, request, std::move(chosen));
}

void NativeFileChooser::chooseFileToSave(const FileChooserRequest& request, Chosen chosen) {
    choose(GTK_FILE_CHOOSER_ACTION_SAVE, request, std::move(chosen));
}

void NativeFileChooser::choose(GtkFileChooserAction action, const FileChooserRequest& request,
                               Chosen chosen) {
    Gtk::Window* parent = parent_ ? parent_() : nullptr;
    const bool saving = action == GTK_FILE_CHOOSER_ACTION_SAVE;
    GtkFileChooserNative* dialog = gtk_file_chooser_native_new(
        request.title.c_str(), parent != nullptr ? parent->gobj() : nullptr, action,
        saving ? "_Save" : "_Open", "_Cancel");
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    if (request.suggestedFolder) {
        gtk_file_chooser_set_current_folder(chooser, request.suggestedFolder->c_str());
    }
    gtk_file_chooser_set_show_hidden(chooser, request.showHidden ? TRUE : FALSE);
    if (saving) {
        gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
        if (!request.suggestedName.empty()) {
            gtk_file_chooser_set_current_name(chooser, request.suggestedName.c_str());
        }
    }
    for (const auto& filter : request.filters) {
        GtkFileFilter* fileFilter = gtk_file_filter_new();
        gtk_file_filter_set_name(fileFilter, filter.name.c_str());
        for (const auto& pattern : filter.patterns) {
            gtk_file_filter_add_pattern(fileFilter, pattern.c_str());
        }
        gtk_file_chooser_add_filter(chooser, fileFilter);
    }
    gtk_native_dialog_set_modal(GTK_NATIVE_DIALOG(dialog), parent != nullptr);
    g_signal_connect(dialog, "response", G_CALLBACK(onResponse), new Chosen(std::move(chosen)));
    gtk_native_dialog_show(GTK_NATIVE_DIALOG(dialog));
}

} // namespace lumeris
