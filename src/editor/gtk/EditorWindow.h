#pragma once

#include "editor/EditorCommands.h"
#include "editor/EditorController.h"
#include "editor/EditorPresets.h"
#include "editor/EditorView.h"
#include "editor/ExportLeakGuard.h"
#include "editor/gtk/CanvasFrame.h"
#include "render/gtk/CustomWKWebView.h"
#include "render/gtk/SpareRendererView.h"
#include "ui/NumberEntryDelegate.h"
#include "ui/gtk/SettingBinding.h"

#include <gtkmm/applicationwindow.h>
#include <gtkmm/builder.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/colorbutton.h>
#include <gtkmm/comboboxtext.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventbox.h>
#include <gtkmm/label.h>
#include <gtkmm/menubutton.h>
#include <gtkmm/scale.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/togglebutton.h>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lumeris {

class Alerts;
class BackgroundColorPickerViewController;
class Clipboard;
class DesktopPictureSource;
class FileChooser;
class OneShotTimer;
class ScreenLocator;
class SettingsStore;
class ShareMenu;
class SoundPlayer;

// An editor window on one screenshot: the header bar with the annotation tools, the composed
// picture in a zoomable scrolled view, and the two-row toolbar of the look. It holds widgets and
// binds them to their settings; the controller decides everything else.
class EditorWindow : public Gtk::ApplicationWindow,
                     public EditorView,
                     public NumberEntryDelegate,
                     public CustomWKWebViewDelegate {
public:
    static constexpr int MIN_WIDTH = 1200;
    static constexpr int MIN_HEIGHT = 800;
    // Where an editor kept off screen stands: beyond any arrangement of monitors.
    static constexpr int OFF_SCREEN = -30000;

    // The window actions' keys, for the application to show in menus.
    static constexpr std::pair<const char*, const char*> ACCELERATORS[] = {
        {"win.zoom-in", "<Control>plus"},
        {"win.zoom-out", "<Control>minus"},
        {"win.zoom-fit", "<Control>1"},
        {"win.zoom-100", "<Control>0"},
        {"win.close", "<Control>w"},
        {"win.copy", "<Control>c"},
        {"win.copy-close", "<Control><Shift>c"},
        {"win.save", "<Control>s"},
        {"win.save-as", "<Control><Shift>s"},
    };

    struct Dependencies {
        SettingsStore& settings;
        std::shared_ptr<Alerts> alerts = nullptr;
        std::shared_ptr<Clipboard> clipboard = nullptr;
        std::shared_ptr<FileChooser> fileChooser = nullptr;
        // The drag sounds; silent without one.
        std::shared_ptr<SoundPlayer> sounds = nullptr;
        EditorController::RecognitionStarter recognize = {};
        EditorController::TextWrapStarter wrapText = {};
        // Reads every exported picture once more with auto-redaction on; exports go out as drawn
        // without one.
        std::shared_ptr<TextRecognizer> recognizer = nullptr;
        std::string baseUri = {};
        std::filesystem::path rendererFolder = {};
        ScreenLocator* screens = nullptr;
        DesktopPictureSource* desktopSource = nullptr;
        std::function<void(const std::string&)> addDetectedText = {};
        // The first-time hint about recognised text, after a copy that closed the window.
        std::function<void()> showTextDetectedHint = {};
        // The main loop's timer when none is given.
        std::shared_ptr<OneShotTimer> timer = nullptr;
        // The application's watermark template window, and its news that one was picked (the
        // watermark field follows); without them the templates button is hidden.
        std::function<void()> showWatermarkTemplates = {};
        sigc::signal<void()>* watermarkTextSelected = nullptr;
        // A view with its web process started, taken for this window; the next one is prepared
        // once this window has painted. Without it the window starts its own.
        std::shared_ptr<SpareRendererView> spareView = nullptr;
    };

    // Nothing but a logged error when the interface file is missing.
    static std::unique_ptr<EditorWindow> create(Dependencies dependencies);
    ~EditorWindow() override;

    // For an editor that is never seen (capture and copy): transparent, out of the task list and
    // placed beyond the screens, where it stays, so that it is invisible without a compositor.
    void keepOffScreen();

    // The intake's image, read and analysed; `completion` runs once recognition has been applied.
    void loadImage(PreparedImage prepared, std::function<void()> completion = {});

    EditorController& controller() { return *controller_; }
    EditorCommands& commands() { return *commands_; }
    EditorPresets& presets() { return *presets_; }
    Gtk::ComboBoxText& presetMenu() { return *presetMenu_; }
    CustomWKWebView& renderer() { return *view_; }
    Gtk::Scale& slider(Slider slider) { return *sliders_.at(slider); }
    Gtk::CheckButton& autoRedactCheckbox() { return *autoRedactCheckbox_; }
    Gtk::Label& redactionStatusLabel() { return *redactionStatus_; }
    Gtk::Button& ratioButton(const std::string& identifier) {
        return *ratioButtons_.at(identifier);
    }
    Gtk::Button& backgroundButton(const std::string& identifier) {
        return *backgroundButtons_.at(identifier);
    }
    Gtk::Entry& watermarkField() { return *watermarkField_; }
    Gtk::Button& redactSettingsButton() { return *redactSettingsButton_; }
    // Pressing here drags the picture out as a file.
    Gtk::EventBox& dragArea() { return *dragArea_; }

    // EditorView
    void setSliderValue(Slider slider, int value) override;
    void setLabelTitles(int padding, int inset, int radius, int shadow) override;
    void setWatermarkField(const std::string& text) override;
    void setBorderColor(const std::string& color) override;
    void setInsetStatus(const std::string& text) override;
    void setRedactionStatus(const std::string& text, bool visible) override;
    void highlightBackground(BackgroundButton button) override;
    void highlightRatio(RatioButton button) override;
    void setCanvasSize(double width, double height) override;
    void restyle(const std::string& script) override;
    void loadDocument(const std::string& html) override;
    void requestSnapshot(bool saveCache, std::function<void(Snapshot)> done) override;
    void selectedText(std::function<void(std::string)> done) override;
    void cancelOperation(std::function<void(bool consumed)> done) override;
    void closeWindow() override;
    void setTitle(const std::string& title) override;
    ScreenInfo::Frame windowFrame() const override;
    int backingScale() const override { return get_scale_factor(); }
    void setWindowFrame(const ScreenInfo::Frame& frame) override;
    double magnification() const override;
    void setMagnification(double magnification, bool animated) override;
    double visibleWidth() const override;
    double visibleHeight() const override;
    void setZoomTitle(const std::string& title) override;

    // NumberEntryDelegate
    double sliderValue(NumberEntryField field) const override;
    double sliderMaximum(NumberEntryField field) const override;
    void numberEntered(NumberEntryField field, int value) override;

    // CustomWKWebViewDelegate
    void onWebViewUserEvents(const std::string& name,
                             const std::optional<nlohmann::json>& payload) override;
    void onWebViewMouseExited() override;
    bool onWebViewContextMenu(WebKitContextMenu* menu) override;

protected:
    // The editor's keys; a focused text field sees its keys first.
    bool on_key_press_event(GdkEventKey* event) override;
    // Closing archives the picture first.
    bool on_delete_event(GdkEventAny* event) override;

private:
    // The client-side title bar, which GTK leaves out of a window's size.
    int titleBarHeight() const;
    EditorWindow(Dependencies dependencies, Glib::RefPtr<Gtk::Builder> builder);
    template <typename T> T& widget(const char* id);
    void buildRenderer();
    void bindControls();
    void buildToolbarPictures();
    void buildMenus();
    void connectButtons();
    void showRatioList(const std::string& platform, Gtk::Widget& anchor);
    void showRatioPicker(Gtk::Widget& anchor);
    void showBackgroundPicker(Gtk::Widget& anchor);
    void refreshCustomThumbnail();
    void activateTool(const std::string& mode);
    void showMode(const std::string& mode);
    void prepareDesktopPicture();
    void sendFeedback();
    void buildPresetMenu();
    void showPresetNameEntry();
    void connectDragArea();
    // Drag-out: the picture as a file, from `source`, while the button that pressed it is held.
    void startDrag(GtkWidget* source);
    void dragEnded(bool copied, bool compressed);
    void play(const char* sound) const;
    void showTips();
    EditorCommands::Modifiers heldModifiers() const;
    std::optional<ExportLeakGuard::Request> leakCheckRequest(const RgbaImage& picture) const;
    // The view as a delegate that expires with the window (the popovers hold it weakly).
    template <typename T> std::weak_ptr<T> weakSelf() {
        return std::shared_ptr<T>(lifetime_, static_cast<T*>(this));
    }

    Dependencies dependencies_;
    Glib::RefPtr<Gtk::Builder> builder_;
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);

    Gtk::ScrolledWindow* scroller_ = nullptr;
    CanvasFrame frame_;
    std::shared_ptr<CustomWKWebView> view_;
    std::map<Slider, Gtk::Scale*> sliders_;
    std::map<NumberEntryField, Gtk::Button*> labelButtons_;
    Gtk::Entry* watermarkField_ = nullptr;
    Gtk::ColorButton* borderColorWell_ = nullptr;
    Gtk::CheckButton* autoRedactCheckbox_ = nullptr;
    Gtk::Label* redactionStatus_ = nullptr;
    Gtk::Label* insetStatus_ = nullptr;
    Gtk::Label* tipLabel_ = nullptr;
    Gtk::Button* redactSettingsButton_ = nullptr;
    Gtk::MenuButton* zoomButton_ = nullptr;
    Gtk::MenuButton* shareButton_ = nullptr;
    Gtk::EventBox* dragArea_ = nullptr;
    std::unique_ptr<ShareMenu> share_;
    // Built on the first press of the custom background button and kept.
    std::shared_ptr<BackgroundColorPickerViewController> backgroundPicker_;
    std::shared_ptr<ExportLeakGuard> leakGuard_;
    std::map<std::string, Gtk::Button*> backgroundButtons_;
    std::map<std::string, Gtk::Button*> ratioButtons_;
    std::map<std::string, Gtk::ToggleButton*> toolButtons_;
    std::map<Slider, std::unique_ptr<SettingBinding>> sliderBindings_;
    std::vector<std::unique_ptr<SettingBinding>> checkboxBindings_;
    sigc::connection watermarkChanged_;
    sigc::connection watermarkTextSelected_;
    Gtk::ComboBoxText* presetMenu_ = nullptr;
    sigc::connection presetChosen_;
    bool showingMode_ = false;
    bool mouseDown_ = false;
    // The closing picture is being archived; the next close goes through.
    bool closing_ = false;
    bool offScreen_ = false;

    // Last: they go first, while the view and the widgets they drive still exist.
    std::shared_ptr<EditorController> controller_;
    std::shared_ptr<EditorCommands> commands_;
    std::unique_ptr<EditorPresets> presets_;
};

} // namespace lumeris
