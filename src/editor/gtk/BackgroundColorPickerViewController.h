#pragma once

#include "ui/gtk/PopoverContentViewController.h"

#include <filesystem>
#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/colorbutton.h>
#include <gtkmm/radiobutton.h>
#include <map>
#include <memory>
#include <string>

namespace lumeris {

class Alerts;
class FileChooser;
class SettingsStore;

// The user's own background: a plain colour, a two-colour gradient or a picture file, plus four
// further built-in backgrounds. Every change is stored at once and then told to the editor.
class BackgroundColorPickerViewController : public PopoverContentViewController {
public:
    static constexpr int WIDTH = 234;
    static constexpr int HEIGHT = 224;
    static constexpr const char* FILE_CHOOSER_TITLE = "Select a background image";
    static constexpr const char* BUILT_INS[] = {"morning", "bright", "nice", "rain"};

    // The editor's reactions; each may find the editor gone.
    struct Delegate {
        // Colours and option stored: the background becomes "custom".
        std::function<void()> colorChanged;
        // A new picture stored, its cached copy dropped.
        std::function<void()> fileChosen;
        // "morning", "bright", "nice" or "rain".
        std::function<void(const std::string&)> builtInChosen;
    };

    BackgroundColorPickerViewController(SettingsStore& settings,
                                        std::shared_ptr<FileChooser> fileChooser,
                                        std::shared_ptr<Alerts> alerts, Delegate delegate,
                                        int scale);

    // The controls show the stored choice again (a preset may have changed it since).
    void reload();

    // "plain", "gradient-start" or "gradient-stop".
    Gtk::ColorButton& colorWell(const std::string& which) { return *wells_.at(which); }
    // "plain", "gradient" or "file".
    Gtk::RadioButton& optionButton(const std::string& option) { return *options_.at(option); }
    Gtk::Button& selectFileButton() { return selectFileButton_; }
    Gtk::Button& builtInButton(const std::string& id) { return *builtIns_.at(id); }

private:
    void settingChangedAction(const std::string& option);
    void bgOptionChanged(const std::string& option);
    void selectFileButtonAction();
    void fileChosen(const std::filesystem::path& file);
    void showOption(const std::string& option);

    SettingsStore& settings_;
    std::shared_ptr<FileChooser> fileChooser_;
    std::shared_ptr<Alerts> alerts_;
    Delegate delegate_;
    Gtk::Box box_;
    std::map<std::string, Gtk::ColorButton*> wells_;
    std::map<std::string, Gtk::RadioButton*> options_;
    std::map<std::string, Gtk::Button*> builtIns_;
    Gtk::Button selectFileButton_;
    // Showing the stored option toggles the buttons without it being a choice.
    bool showing_ = false;
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

} // namespace lumeris
