#include "platform/NativeFileChooser.h"

#include "base/GLibHandles.h"
#include "base/Logger.h"

#include <exception>
#include <gtkmm/window.h>
#include <memory>
#include <type_traits>
#include <vector>

namespace lumeris {

namespace {

// The files chosen, in the dialog's order; none when it was cancelled.
std::vector<std::filesystem::path> chosenFiles(GtkNativeDialog* dialog, gint response) {
    std::vector<std::filesystem::path> files;
    if (response != GTK_RESPONSE_ACCEPT) {
        return files;
    }
    GSList* names = gtk_file_chooser_get_filenames(GTK_FILE_CHOOSER(dialog));
    for (GSList* name = names; name != nullptr; name = name->next) {
        files.emplace_back(static_cast<const char*>(name->data));
    }
    g_slist_free_full(names, g_free);
    return files;
}

template <typename Answer, typename Value>
void onResponse(GtkNativeDialog* dialog, gint response, gpointer data) {
    std::unique_ptr<Answer> chosen(static_cast<Answer*>(data));
    g_signal_handlers_disconnect_by_data(dialog, data);
    auto files = chosenFiles(dialog, response);
    Value path{};
    if constexpr (std::is_same_v<Value, std::vector<std::filesystem::path>>) {
        path = std::move(files);
    } else if (!files.empty()) {
        path = files.front();
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

template <typename Answer, typename Value>
void showDialog(GtkFileChooserNative* dialog, Answer answer) {
    g_signal_connect(dialog, "response", G_CALLBACK((onResponse<Answer, Value>)),
                     new Answer(std::move(answer)));
    gtk_native_dialog_show(GTK_NATIVE_DIALOG(dialog));
}

} // namespace

NativeFileChooser::NativeFileChooser(ParentProvider parent) : parent_(std::move(parent)) {}

void NativeFileChooser::chooseFileToOpen(const FileChooserRequest& request, Chosen chosen) {
    showDialog<Chosen, std::optional<std::filesystem::path>>(
        dialog(GTK_FILE_CHOOSER_ACTION_OPEN, request), std::move(chosen));
}

void NativeFileChooser::chooseFileToSave(const FileChooserRequest& request, Chosen chosen) {
    showDialog<Chosen, std::optional<std::filesystem::path>>(
        dialog(GTK_FILE_CHOOSER_ACTION_SAVE, request), std::move(chosen));
}

void NativeFileChooser::chooseFilesToOpen(const FileChooserRequest& request, ChosenFiles chosen) {
    GtkFileChooserNative* opening = dialog(GTK_FILE_CHOOSER_ACTION_OPEN, request);
    gtk_file_chooser_set_select_multiple(GTK_FILE_CHOOSER(opening), TRUE);
    showDialog<ChosenFiles, std::vector<std::filesystem::path>>(opening, std::move(chosen));
}

GtkFileChooserNative* NativeFileChooser::dialog(GtkFileChooserAction action,
                                                const FileChooserRequest& request) {
    Gtk::Window* parent = parent_ ? parent_() : nullptr;
    const bool saving = action == GTK_FILE_CHOOSER_ACTION_SAVE;
    GtkFileChooserNative* dialog = gtk_file_chooser_native_new(
        request.title.c_str(), parent != nullptr ? parent->gobj() : nullptr, action,
        saving ? "_Save" : "_Open", "_Cancel");
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    if (request.suggestedFolder) {
        gtk_file_chooser_set_current_folder(chooser, request.suggestedFolder->c_str());
    }
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
    return dialog;
}

} // namespace lumeris
