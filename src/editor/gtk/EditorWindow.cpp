#include "editor/gtk/EditorWindow.h"

#include "base/BuildInfo.h"
#include "base/ColorText.h"
#include "base/GObjectPtr.h"
#include "base/Logger.h"
#include "base/ResourceLocator.h"
#include "capture/DesktopPicture.h"
#include "editor/DragOut.h"
#include "editor/ImageIntake.h"
#include "editor/ImageLoadPipeline.h"
#include "editor/RedactionRules.h"
#include "editor/TextDetection.h"
#include "editor/gtk/BackgroundColorPickerViewController.h"
#include "editor/gtk/ImageDragSource.h"
#include "editor/gtk/RatioListSelectorViewController.h"
#include "editor/gtk/RatioPicker.h"
#include "editor/gtk/RedactSettingsViewController.h"
#include "editor/gtk/ShareMenu.h"
#include "editor/gtk/ToolbarPictures.h"
#include "presets/RatioTemplates.h"
#include "render/BackgroundPictures.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"
#include "ui/Alerts.h"
#include "ui/MainLoopTimer.h"
#include "ui/SoundPlayer.h"
#include "ui/gtk/InputTooltipViewController.h"
#include "ui/gtk/InterfaceFile.h"
#include "ui/gtk/NotificationBezel.h"
#include "ui/gtk/PopoverRegistry.h"

#include <cmath>
#include <giomm/menu.h>
#include <giomm/simpleaction.h>
#include <glibmm/main.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/headerbar.h>
#include <gtkmm/icontheme.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/stylecontext.h>

namespace lumeris {

namespace {

constexpr const char* CHOSEN = "chosen";
constexpr const char* COPY_TIP = "Double-click to background = Copy and Close";
constexpr const char* FEEDBACK_ADDRESS = "feedback@lumeris.app";

constexpr const char* TIPS = "Press \"1\": Add text (repeat to change size)\n\n"
                             "Press \"2\": Add an arrow (repeat to change style)\n\n"
                             "Press \"3\": Start redaction mode\n\n"
                             "Press \"4\": Add shapes (repeat to change shape)";

// The tool buttons, the renderer's command that enters each tool, and the mode it reports.
struct Tool {
    const char* button;
    const char* command;
    const char* mode;
};
constexpr Tool TOOLS[] = {
    {"textTool", "addTextActivated", "add-text"},
    {"arrowTool", "addArrowActivated", "add-arrow"},
    {"redactTool", "redactActivated", "redact"},
    {"shapeTool", "addShapeActivated", "add-shape"},
};

constexpr const char* PLATFORMS[] = {"twitter", "facebook",  "instagram", "linkedin",
                                     "youtube", "pinterest", "reddit",    "snapchat"};

bool isPlatform(const std::string& identifier) {
    return std::find(std::begin(PLATFORMS), std::end(PLATFORMS), identifier) != std::end(PLATFORMS);
}

// The selection border of the toolbar's choices, and compact value buttons.
void installStyle() {
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    auto provider = Gtk::CssProvider::create();
    provider->load_from_data(R"(
        .ratio-button, .background-button { border: 1.5px solid transparent; }
        .ratio-button { border-radius: 8px; padding: 2px 6px; min-height: 24px; }
        .platform-button { padding: 2px; }
        .background-button { border-radius: 4.8px; padding: 1px; }
        .ratio-button.chosen, .background-button.chosen { border-color: rgb(35, 103, 251); }
        .value-button { padding: 0 4px; min-height: 0; min-width: 28px; }
        .small-button { padding: 0 2px; min-height: 0; min-width: 0; }
        .caption-row { min-height: 26px; }
        .border-well { padding: 0; min-height: 0; min-width: 0; }
        .border-well colorswatch { min-width: 14px; min-height: 14px; }
        .drag-area { border: 1px dashed alpha(currentColor, 0.45); border-radius: 6px; }
    )");
    Gtk::StyleContext::add_provider_for_screen(Gdk::Screen::get_default(), provider,
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    // The tool icons are ours; symbolic ones take the theme's colours.
    if (auto resources = ResourceLocator::resourcesFolder()) {
        Gtk::IconTheme::get_default()->append_search_path((*resources / "icons").string());
    }
}

void setChosen(Gtk::Widget& widget, bool chosen) {
    auto style = widget.get_style_context();
    if (chosen) {
        style->add_class(CHOSEN);
    } else {
        style->remove_class(CHOSEN);
    }
}

} // namespace

std::unique_ptr<EditorWindow> EditorWindow::create(Dependencies dependencies) {
    if (!dependencies.clipboard || !dependencies.fileChooser || !dependencies.alerts) {
        LOG_ERROR("an editor needs the clipboard, the file chooser and alerts");
        return nullptr;
    }
    InterfaceFile::ensureGtkmm();
    auto builder = InterfaceFile::load("ImageEditor");
    if (!builder) {
        return nullptr;
    }
    try {
        return std::unique_ptr<EditorWindow>(new EditorWindow(std::move(dependencies), builder));
    } catch (const std::runtime_error& error) {
        LOG_ERROR("cannot build the editor window: {}", error.what());
        return nullptr;
    }
}

template <typename T> T& EditorWindow::widget(const char* id) {
    return InterfaceFile::required<T>(builder_, id);
}

EditorWindow::EditorWindow(Dependencies dependencies, Glib::RefPtr<Gtk::Builder> builder)
    : dependencies_(std::move(dependencies)), builder_(std::move(builder)) {
    installStyle();
    if (!dependencies_.timer) {
        dependencies_.timer = std::make_shared<MainLoopTimer>();
    }
    set_default_size(MIN_WIDTH, MIN_HEIGHT);
    set_titlebar(widget<Gtk::HeaderBar>("headerBar"));
    add(widget<Gtk::Box>("content"));

    buildRenderer();
    leakGuard_ = std::make_shared<ExportLeakGuard>(dependencies_.recognizer);
    controller_ = EditorController::create(EditorController::Services{
        dependencies_.settings, *this, *dependencies_.timer, BackgroundPictures::shared(),
        dependencies_.rendererFolder, dependencies_.recognize, dependencies_.wrapText,
        dependencies_.screens, dependencies_.desktopSource, dependencies_.addDetectedText, [this] {
            if (presets_) {
                presets_->presetStateChanged();
            }
        }});
    commands_ = EditorCommands::create(EditorCommands::Services{
        dependencies_.settings, *controller_, *this, *dependencies_.clipboard,
        *dependencies_.fileChooser, *dependencies_.alerts,
        [](BezelParameters bezel) { NotificationBezel::show(std::move(bezel)); },
        [this] { return heldModifiers(); }, dependencies_.showTextDetectedHint});
    bindControls();
    connectButtons();
    buildMenus();
    connectDragArea();
    share_ = std::make_unique<ShareMenu>(*this, *shareButton_, [this] {
        return ShareMenu::Picture{controller_->lastOutputImage(), controller_->session().fileName};
    });
    buildToolbarPictures();
    controller_->start();
    buildPresetMenu();
}

void EditorWindow::buildPresetMenu() {
    presetMenu_ = &widget<Gtk::ComboBoxText>("presetMenu");
    auto& save = widget<Gtk::Button>("savePresetButton");
    auto& remove = widget<Gtk::Button>("deletePresetButton");
    presets_ = std::make_unique<EditorPresets>(
        dependencies_.settings, *controller_, *dependencies_.alerts,
        EditorPresets::Menu{
            [this](const std::vector<std::string>& titles, const std::string& selected) {
                presetChosen_.block();
                presetMenu_->remove_all();
                for (const auto& title : titles) {
                    presetMenu_->append(title, title);
                }
                presetMenu_->set_active_id(selected);
                presetChosen_.unblock();
            },
            [&save, &remove](bool saveVisible, bool deleteVisible) {
                save.set_visible(saveVisible);
                remove.set_visible(deleteVisible);
            },
            [this](const std::string& text) {
                setWatermarkField(text);
            }});
    presetChosen_ = presetMenu_->signal_changed().connect(
        [this] { presets_->menuChanged(presetMenu_->get_active_id()); });
    save.signal_clicked().connect([this] { showPresetNameEntry(); });
    remove.signal_clicked().connect([this] { presets_->deleteSelected(); });
    presets_->start();
}

void EditorWindow::showPresetNameEntry() {
    auto& anchor = widget<Gtk::Button>("savePresetButton");
    auto* popover = Gtk::make_managed<Gtk::Popover>(anchor);
    auto* box = Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_HORIZONTAL, 6);
    auto* name = Gtk::make_managed<Gtk::Entry>();
    auto* done = Gtk::make_managed<Gtk::Button>("Done");
    name->set_placeholder_text("Preset name");
    name->set_width_chars(22);
    done->get_style_context()->add_class("suggested-action");
    box->set_margin_start(12);
    box->set_margin_end(12);
    box->set_margin_top(10);
    box->set_margin_bottom(10);
    box->pack_start(*name, true, true);
    box->pack_start(*done, false, false);
    popover->add(*box);
    auto confirm = [this, popover, name] {
        if (presets_->presetNameEntered(name->get_text())) {
            popover->popdown();
        }
    };
    name->signal_activate().connect(confirm);
    done->signal_clicked().connect(confirm);
    popover->signal_closed().connect(
        [popover] { Glib::signal_idle().connect_once([popover] { delete popover; }); });
    box->show_all();
    popover->popup();
}

EditorWindow::~EditorWindow() {
    // Popovers and pending callbacks hold the window weakly through this.
    lifetime_.reset();
    watermarkChanged_.disconnect();
    watermarkTextSelected_.disconnect();
    presetChosen_.disconnect();
    // The contents go before the window (the renderer's frame is a member): the window must not
    // keep pointing at them as its focus.
    gtk_window_set_focus(GTK_WINDOW(gobj()), nullptr);
    remove();
}

void EditorWindow::buildRenderer() {
    scroller_ = &widget<Gtk::ScrolledWindow>("scroller");
    view_ = dependencies_.spareView ? dependencies_.spareView->take() : CustomWKWebView::create();
    view_->setDelegate(weakSelf<CustomWKWebViewDelegate>());
    gtk_container_add(GTK_CONTAINER(frame_.gobj()), view_->widget());
    // A picture dragged out and dropped back here would only make the page navigate; no drop
    // target here means the drag fails and the window comes back.
    gtk_drag_dest_unset(view_->widget());
    frame_.set_halign(Gtk::ALIGN_CENTER);
    frame_.set_valign(Gtk::ALIGN_CENTER);
    scroller_->add(frame_);
    frame_.show_all();
    // The picture has the keys (copy, the tools), not the first text field of the toolbar.
    gtk_window_set_focus(GTK_WINDOW(gobj()), view_->widget());
}

void EditorWindow::bindControls() {
    auto& settings = dependencies_.settings;
    const struct {
        Slider slider;
        const char* id;
        const SettingKey& key;
        void (EditorController::*action)();
    } sliders[] = {
        {Slider::Padding, "paddingSlider", SettingKeys::PADDING, &EditorController::sliderAction},
        {Slider::Inset, "insetSlider", SettingKeys::INSET, &EditorController::insetSliderAction},
        {Slider::Radius, "radiusSlider", SettingKeys::BORDER_RADIUS,
         &EditorController::borderSliderAction},
        {Slider::Shadow, "shadowSlider", SettingKeys::SHADOW, &EditorController::sliderAction},
        {Slider::TiltX, "tiltXSlider", SettingKeys::TILT_X, &EditorController::sliderAction},
        {Slider::TiltY, "tiltYSlider", SettingKeys::TILT_Y, &EditorController::sliderAction},
    };
    for (const auto& entry : sliders) {
        auto& scale = widget<Gtk::Scale>(entry.id);
        sliders_[entry.slider] = &scale;
        sliderBindings_[entry.slider] =
            SettingBinding::range(scale, settings, entry.key,
                                  [this, action = entry.action] { (*controller_.*action)(); });
    }

    const struct {
        const char* id;
        const SettingKey& key;
        void (EditorController::*action)();
    } checkboxes[] = {
        {"autoRedactCheckbox", SettingKeys::AUTO_REDACT,
         &EditorController::reactEmailCheckboxAction},
        {"showWatermarkCheckbox", SettingKeys::SHOW_WATERMARK,
         &EditorController::showWatermarkCheckboxAction},
        {"balanceCheckbox", SettingKeys::INSET_BALANCE, &EditorController::balanceButtonAction},
    };
    for (const auto& entry : checkboxes) {
        checkboxBindings_.push_back(
            SettingBinding::toggle(widget<Gtk::CheckButton>(entry.id), settings, entry.key,
                                   [this, action = entry.action] { (*controller_.*action)(); }));
    }
    autoRedactCheckbox_ = &widget<Gtk::CheckButton>("autoRedactCheckbox");

    watermarkField_ = &widget<Gtk::Entry>("watermarkField");
    watermarkChanged_ = watermarkField_->signal_changed().connect(
        [this] { controller_->controlTextDidChange(watermarkField_->get_text()); });
    auto& templatesButton = widget<Gtk::Button>("watermarkTemplatesButton");
    if (dependencies_.showWatermarkTemplates && dependencies_.watermarkTextSelected != nullptr) {
        templatesButton.signal_clicked().connect(dependencies_.showWatermarkTemplates);
        watermarkTextSelected_ = dependencies_.watermarkTextSelected->connect(
            [this] { controller_->didSelectWatermarkText(); });
    } else {
        templatesButton.hide();
    }

    borderColorWell_ = &widget<Gtk::ColorButton>("borderColorWell");
    borderColorWell_->signal_color_set().connect([this] {
        const Gdk::RGBA picked = borderColorWell_->get_rgba();
        controller_->borderColorWellAction(
            ColorText::colorHexString(picked.get_red(), picked.get_green(), picked.get_blue()));
    });

    redactionStatus_ = &widget<Gtk::Label>("redactionStatus");
    insetStatus_ = &widget<Gtk::Label>("insetStatus");
    tipLabel_ = &widget<Gtk::Label>("tipLabel");
    zoomButton_ = &widget<Gtk::MenuButton>("zoomButton");
    shareButton_ = &widget<Gtk::MenuButton>("shareButton");
    dragArea_ = &widget<Gtk::EventBox>("dragArea");
}

void EditorWindow::connectButtons() {
    for (const char* id : {"paddingLabel", "insetLabel", "roundedLabel", "shadowLabel"}) {
        auto& button = widget<Gtk::Button>(id);
        const std::string field = button.get_name();
        if (auto known = numberEntryField(field)) {
            labelButtons_[*known] = &button;
        }
        button.signal_clicked().connect([this, &button, field] {
            InputTooltipViewController::showNumberEntry(PopoverRegistry::shared(), button, field,
                                                        weakSelf<NumberEntryDelegate>());
        });
    }

    for (auto* child : widget<Gtk::Box>("backgroundButtons").get_children()) {
        auto* button = dynamic_cast<Gtk::Button*>(child);
        const std::string identifier = button->get_name();
        backgroundButtons_[identifier] = button;
        button->signal_clicked().connect([this, identifier, button] {
            if (identifier == "custom") {
                // The thumbnail shows the user's own background: a click uses it as it is, and
                // the picker beside it changes it.
                controller_->backgroundColorChanged();
                showBackgroundPicker(*button);
            } else {
                controller_->bgImageButtonAction(identifier);
            }
        });
    }

    for (auto* child : widget<Gtk::Box>("ratioButtons").get_children()) {
        auto* button = dynamic_cast<Gtk::Button*>(child);
        const std::string identifier = button->get_name();
        ratioButtons_[identifier] = button;
        button->signal_clicked().connect([this, identifier, button] {
            if (identifier == "custom") {
                showRatioPicker(*button);
            } else if (isPlatform(identifier)) {
                showRatioList(identifier, *button);
            } else {
                controller_->ratioButtonAction(identifier);
            }
        });
    }

    widget<Gtk::Button>("tiltResetButton").signal_clicked().connect([this] {
        controller_->tiltResetButtonAction();
    });

    redactSettingsButton_ = &widget<Gtk::Button>("redactSettingsButton");
    redactSettingsButton_->signal_clicked().connect([this] {
        std::weak_ptr<EditorWindow> weak = weakSelf<EditorWindow>();
        RedactSettingsViewController::Delegate delegate{
            [weak](const std::string& color) {
                if (auto self = weak.lock()) {
                    self->controller_->redactColorAction(color);
                }
            },
            [weak] {
                if (auto self = weak.lock()) {
                    self->controller_->redactionRulesChanged();
                }
            }};
        PopoverRegistry::shared().showPopover(
            "redact-settings", *redactSettingsButton_, PopoverEdge::Left,
            RedactSettingsViewController::WIDTH, RedactSettingsViewController::HEIGHT, false,
            PopoverBehavior::Transient,
            std::make_shared<RedactSettingsViewController>(dependencies_.settings, delegate));
    });

    for (const Tool& tool : TOOLS) {
        auto& button = widget<Gtk::ToggleButton>(tool.button);
        toolButtons_[tool.mode] = &button;
        button.signal_toggled().connect([this, &button, command = tool.command] {
            if (!showingMode_ && button.get_active()) {
                activateTool(command);
            }
        });
    }

    widget<Gtk::Button>("tipsButton").signal_clicked().connect([this] { showTips(); });
}

void EditorWindow::showTips() {
    auto& tips = widget<Gtk::Button>("tipsButton");
    auto* label = Gtk::make_managed<Gtk::Label>(TIPS);
    label->set_xalign(0);
    label->set_margin_start(12);
    label->set_margin_end(12);
    label->set_margin_top(10);
    label->set_margin_bottom(10);
    auto* popover = Gtk::make_managed<Gtk::Popover>(tips);
    popover->add(*label);
    popover->signal_closed().connect(
        [popover] { Glib::signal_idle().connect_once([popover] { delete popover; }); });
    label->show();
    popover->popup();
}

void EditorWindow::buildMenus() {
    const struct {
        const char* name;
        std::function<void()> run;
    } actions[] = {
        {"zoom-in",
         [this] {
             controller_->zoom().zoomIn();
         }},
        {"zoom-out",
         [this] {
             controller_->zoom().zoomOut();
         }},
        {"zoom-fit",
         [this] {
             controller_->zoom().zoomToFit(false);
         }},
        {"zoom-fill",
         [this] {
             controller_->zoom().zoomToFit(true);
         }},
        {"zoom-50",
         [this] {
             controller_->zoom().zoom50();
         }},
        {"zoom-100",
         [this] {
             controller_->zoom().resetZoom();
         }},
        {"zoom-200",
         [this] {
             controller_->zoom().zoom200();
         }},
        {"smart-wrap",
         [this] {
             controller_->activateSmartWrapText();
         }},
        {"close",
         [this] {
             close();
         }},
    };
    for (const auto& entry : actions) {
        add_action(entry.name, entry.run);
    }

    auto zoomMenu = Gio::Menu::create();
    auto steps = Gio::Menu::create();
    steps->append("Zoom In", "win.zoom-in");
    steps->append("Zoom Out", "win.zoom-out");
    zoomMenu->append_section(steps);
    auto fit = Gio::Menu::create();
    fit->append("Zoom To Fit", "win.zoom-fit");
    zoomMenu->append_section(fit);
    auto fixed = Gio::Menu::create();
    fixed->append("50%", "win.zoom-50");
    fixed->append("100%", "win.zoom-100");
    fixed->append("200%", "win.zoom-200");
    zoomMenu->append_section(fixed);
    // Drop-down menus show the keys beside the items; popovers would not.
    zoomButton_->set_use_popover(false);
    zoomButton_->set_menu_model(zoomMenu);

    auto moreMenu = Gio::Menu::create();
    const std::vector<std::vector<std::pair<const char*, const char*>>> sections = {
        {{"Copy", "win.copy"}, {"Copy & Close", "win.copy-close"}},
        {{"Save", "win.save"}, {"Save As…", "win.save-as"}},
        // Alt+click, which inverts the compression choice, is often taken by window managers.
        {{"Save as PNG", "win.save-png"}, {"Save as JPEG", "win.save-jpeg"}},
        {{"Save Original…", "win.save-original"}, {"Copy Original", "win.copy-original"}},
        {{"Smart Text Wrap", "win.smart-wrap"}, {"Fill the Window", "win.zoom-fill"}},
        {{"Send Feedback…", "win.feedback"}, {"Close", "win.close"}},
    };
    for (const auto& items : sections) {
        auto section = Gio::Menu::create();
        for (const auto& [label, action] : items) {
            section->append(label, action);
        }
        moreMenu->append_section(section);
    }
    auto& more = widget<Gtk::MenuButton>("moreButton");
    more.set_use_popover(false);
    more.set_menu_model(moreMenu);
}

void EditorWindow::buildToolbarPictures() {
    const int scale = get_scale_factor();
    for (auto& [identifier, button] : backgroundButtons_) {
        if (identifier == "desktop") {
            continue;
        }
        auto* image = dynamic_cast<Gtk::Image*>(button->get_child());
        auto surface =
            ToolbarPictures::backgroundThumbnail(identifier, dependencies_.settings, scale);
        gtk_image_set_from_surface(image->gobj(), surface->cobj());
    }
    for (const char* platform : PLATFORMS) {
        auto* image = dynamic_cast<Gtk::Image*>(ratioButtons_.at(platform)->get_child());
        gtk_image_set_from_surface(image->gobj(),
                                   ToolbarPictures::platformBadge(platform, scale)->cobj());
    }
    // A desktop background must be in the cache before the first load; otherwise the picture is
    // only needed for the thumbnail, which can wait for the first paint.
    if (dependencies_.settings.string(SettingKeys::BACKGROUND_ID, "") == "desktop") {
        prepareDesktopPicture();
    } else {
        std::weak_ptr<EditorWindow> weak = weakSelf<EditorWindow>();
        Glib::signal_idle().connect_once(
            [weak] {
                if (auto self = weak.lock()) {
                    self->prepareDesktopPicture();
                }
            },
            Glib::PRIORITY_LOW);
    }
}

void EditorWindow::prepareDesktopPicture() {
    RgbaImage picture;
    if (dependencies_.desktopSource != nullptr) {
        picture = DesktopPicture::desktopPictureWithFallback(dependencies_.settings,
                                                             *dependencies_.desktopSource)
                      .image;
    }
    auto* image = dynamic_cast<Gtk::Image*>(backgroundButtons_.at("desktop")->get_child());
    gtk_image_set_from_surface(
        image->gobj(), ToolbarPictures::desktopThumbnail(picture, get_scale_factor())->cobj());
}

void EditorWindow::keepOffScreen() {
    offScreen_ = true;
    set_opacity(0.0);
    set_skip_taskbar_hint(true);
    set_skip_pager_hint(true);
    set_accept_focus(false);
    set_focus_on_map(false);
    move(OFF_SCREEN, OFF_SCREEN);
}

void EditorWindow::loadImage(PreparedImage prepared, std::function<void()> completion) {
    controller_->loadPrepared(std::move(prepared), std::move(completion));
    if (dependencies_.spareView) {
        // After this window's first paint, so that starting a process does not slow it down.
        // Not for a window closed meanwhile: it may have been the last.
        view_->whenPageLoaded([weak = weakSelf<EditorWindow>()](bool) {
            Glib::signal_idle().connect_once([weak] {
                auto self = weak.lock();
                if (self && self->get_visible()) {
                    self->dependencies_.spareView->prepare();
                }
            });
        });
    }
}

void EditorWindow::showRatioList(const std::string& platform, Gtk::Widget& anchor) {
    const auto& templates = RatioTemplates::forPlatform(platform);
    if (templates.empty()) {
        if (dependencies_.alerts) {
            dependencies_.alerts->show(AlertRequest{"Something went wrong!",
                                                    "Unable to load data for selected platform",
                                                    {"OK"}},
                                       [](int) {});
        }
        return;
    }
    std::weak_ptr<EditorWindow> weak = weakSelf<EditorWindow>();
    auto forward = [weak](void (EditorController::*choice)(const RatioTemplate&)) {
        return [weak, choice](const RatioTemplate& chosen) {
            if (auto self = weak.lock()) {
                (*self->controller_.*choice)(chosen);
            }
        };
    };
    PopoverRegistry::shared().showPopover(
        "ratio-list-selector", anchor, PopoverEdge::Top, RatioListSelectorViewController::WIDTH,
        RatioListSelectorViewController::HEIGHT, false, PopoverBehavior::Transient,
        std::make_shared<RatioListSelectorViewController>(
            templates, controller_->ratioTemplate(),
            RatioListSelectorViewController::Delegate{forward(&EditorController::didSelectRatio),
                                                      forward(&EditorController::didSelectSize)}));
}

void EditorWindow::showBackgroundPicker(Gtk::Widget& anchor) {
    if (!backgroundPicker_) {
        std::weak_ptr<EditorWindow> weak = weakSelf<EditorWindow>();
        backgroundPicker_ = std::make_shared<BackgroundColorPickerViewController>(
            dependencies_.settings, dependencies_.fileChooser, dependencies_.alerts,
            BackgroundColorPickerViewController::Delegate{
                [weak] {
                    if (auto self = weak.lock()) {
                        self->controller_->backgroundColorChanged();
                        self->refreshCustomThumbnail();
                    }
                },
                [weak] {
                    if (auto self = weak.lock()) {
                        self->controller_->backgroundFileChosen();
                        self->refreshCustomThumbnail();
                    }
                },
                [weak](const std::string& id) {
                    if (auto self = weak.lock()) {
                        self->controller_->bgImageButtonAction(id);
                    }
                }},
            get_scale_factor());
    }
    backgroundPicker_->reload();
    PopoverRegistry::shared().showPopover("bg-picker", anchor, PopoverEdge::Top,
                                          BackgroundColorPickerViewController::WIDTH,
                                          BackgroundColorPickerViewController::HEIGHT, false,
                                          PopoverBehavior::Transient, backgroundPicker_);
}

void EditorWindow::refreshCustomThumbnail() {
    auto* image = dynamic_cast<Gtk::Image*>(backgroundButtons_.at("custom")->get_child());
    gtk_image_set_from_surface(
        image->gobj(),
        ToolbarPictures::backgroundThumbnail("custom", dependencies_.settings, get_scale_factor())
            ->cobj());
}

void EditorWindow::showRatioPicker(Gtk::Widget& anchor) {
    std::weak_ptr<EditorWindow> weak = weakSelf<EditorWindow>();
    PopoverRegistry::shared().showPopover(
        "ratio-picker", anchor, PopoverEdge::Top, RatioPicker::WIDTH, RatioPicker::HEIGHT, false,
        PopoverBehavior::Transient,
        std::make_shared<RatioPicker>(
            dependencies_.settings,
            [weak](const std::string& text) -> std::optional<std::string> {
                auto self = weak.lock();
                return self ? self->controller_->ratioProblem(text, self->get_scale_factor())
                            : std::nullopt;
            },
            [weak] {
                if (auto self = weak.lock()) {
                    self->controller_->customRatioApplied();
                }
            }));
}

void EditorWindow::activateTool(const std::string& command) {
    auto& settings = dependencies_.settings;
    if (settings.boolValue(SettingKeys::USER_ANNOTATION_BETA_ENABLED, false)) {
        view_->activateCommand(command);
        return;
    }
    showMode(""); // the button stays up until the tools are switched on
    std::weak_ptr<EditorWindow> weak = weakSelf<EditorWindow>();
    dependencies_.alerts->show(
        AlertRequest{"Annotation tools are in beta",
                     "Text, arrows, redaction boxes and shapes are drawn into the picture. "
                     "They are new, so some edits may not yet behave as you expect.",
                     {"Enable Annotation Tools", "Not Now"}},
        [weak](int button) {
            auto self = weak.lock();
            if (!self || button != 0) {
                return;
            }
            self->dependencies_.settings.set(SettingKeys::USER_ANNOTATION_BETA_ENABLED, true);
            self->showTips();
        });
}

void EditorWindow::showMode(const std::string& mode) {
    showingMode_ = true;
    for (auto& [toolMode, button] : toolButtons_) {
        button->set_active(toolMode == mode);
    }
    showingMode_ = false;
}

void EditorWindow::onWebViewUserEvents(const std::string& name,
                                       const std::optional<nlohmann::json>& payload) {
    if (name == "dblclick") {
        commands_->copyImage(true);
    } else if (name == "mousedown") {
        mouseDown_ = true;
    } else if (name == "mouseup") {
        mouseDown_ = false;
    } else if (name == "CHANGE_MODE") {
        const std::string mode = payload && payload->is_string() ? payload->get<std::string>() : "";
        LOG_DEBUG("mode={}", mode);
        showMode(mode);
    }
    if (!mouseDown_) {
        tipLabel_->set_text(COPY_TIP);
    }
}

void EditorWindow::onWebViewMouseExited() {
    if (!mouseDown_) {
        return;
    }
    mouseDown_ = false;
    startDrag(view_->widget());
    tipLabel_->set_text(COPY_TIP);
}

void EditorWindow::connectDragArea() {
    dragArea_->signal_realize().connect([this] {
        dragArea_->get_window()->set_cursor(Gdk::Cursor::create(get_display(), "grab"));
    });
    dragArea_->signal_button_press_event().connect([this](GdkEventButton* event) {
        if (event->button != GDK_BUTTON_PRIMARY || event->type != GDK_BUTTON_PRESS) {
            return false;
        }
        startDrag(GTK_WIDGET(dragArea_->gobj()));
        return true;
    });
}

void EditorWindow::startDrag(GtkWidget* source) {
    play(SoundPlayer::PURR);
    const bool compressed = EditorCommands::compressionApplies(
        dependencies_.settings.boolValue(SettingKeys::IMAGE_COMPRESSION, false), heldModifiers());
    view_->resetDragState();
    std::weak_ptr<EditorWindow> weak = weakSelf<EditorWindow>();
    // `source` belongs to the window, which the callback finds alive before using it. The
    // picture is usually the debounced output's, checked already, so the drag starts at once.
    requestSnapshot(true, [weak, source, compressed](const Snapshot& image) {
        auto self = weak.lock();
        if (!self || !image) {
            return;
        }
        const auto file = DragOut::filePath(ImageIntake::defaultTemporaryFolder(),
                                            self->controller_->session().fileName, compressed);
        if (!DragOut::writeFile(*image, file, compressed)) {
            return;
        }
        ImageDragSource::begin(source, file, *image, [weak, compressed](bool copied) {
            if (auto self = weak.lock()) {
                self->dragEnded(copied, compressed);
            }
        });
    });
}

void EditorWindow::dragEnded(bool copied, bool compressed) {
    dependencies_.settings.set(SettingKeys::FIRST_DRAG_DONE, true);
    const auto ending =
        DragOut::ended(copied, compressed, EditorCommands::altAlone(heldModifiers()));
    play(ending.sound.c_str());
    if (!ending.closeWindow) {
        present();
        return;
    }
    if (ending.bezel) {
        NotificationBezel::show(*ending.bezel);
    }
    close();
}

void EditorWindow::play(const char* sound) const {
    if (dependencies_.sounds) {
        dependencies_.sounds->play(sound);
    }
}

bool EditorWindow::onWebViewContextMenu(WebKitContextMenu* menu) {
    // Page navigation and image downloads make no sense on the composed picture.
    const WebKitContextMenuAction removed[] = {
        WEBKIT_CONTEXT_MENU_ACTION_RELOAD, WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_IMAGE_TO_DISK,
        WEBKIT_CONTEXT_MENU_ACTION_COPY_IMAGE_TO_CLIPBOARD,
        WEBKIT_CONTEXT_MENU_ACTION_OPEN_IMAGE_IN_NEW_WINDOW,
        WEBKIT_CONTEXT_MENU_ACTION_COPY_IMAGE_URL_TO_CLIPBOARD};
    GList* items = g_list_copy(webkit_context_menu_get_items(menu));
    for (GList* item = items; item != nullptr; item = item->next) {
        auto* entry = static_cast<WebKitContextMenuItem*>(item->data);
        const auto action = webkit_context_menu_item_get_stock_action(entry);
        if (std::find(std::begin(removed), std::end(removed), action) != std::end(removed)) {
            webkit_context_menu_remove(menu, entry);
        }
    }
    g_list_free(items);
    if (auto action = lookup_action("copy-close")) {
        webkit_context_menu_append(menu, webkit_context_menu_item_new_from_gaction(
                                             action->gobj(), "Copy Image & Close", nullptr));
    }
    if (controller_->lastOutputImage()) {
        GObjectPtr<WebKitContextMenu> share(webkit_context_menu_new());
        for (const auto& [name, label] : {std::pair{ShareMenu::OPEN_WITH, "Open With…"},
                                          std::pair{ShareMenu::EMAIL, "Email…"}}) {
            if (auto action = lookup_action(name)) {
                webkit_context_menu_append(share.get(), webkit_context_menu_item_new_from_gaction(
                                                            action->gobj(), label, nullptr));
            }
        }
        if (webkit_context_menu_get_n_items(share.get()) > 0) {
            webkit_context_menu_append(
                menu, webkit_context_menu_item_new_with_submenu("Share Image", share.get()));
        }
    }
    return false;
}

bool EditorWindow::on_key_press_event(GdkEventKey* event) {
    if (auto* focus = get_focus(); focus != nullptr && GTK_IS_EDITABLE(focus->gobj()) &&
                                   gtk_window_propagate_key_event(GTK_WINDOW(gobj()), event)) {
        return true;
    }
    const auto modifiers = event->state & gtk_accelerator_get_default_mod_mask();
    const bool shift = (modifiers & GDK_SHIFT_MASK) != 0;
    if (modifiers == 0 && event->keyval == GDK_KEY_Escape) {
        commands_->cancel();
        return true;
    }
    if ((modifiers & ~GDK_SHIFT_MASK) != GDK_CONTROL_MASK) {
        return Gtk::ApplicationWindow::on_key_press_event(event);
    }
    auto& zoom = controller_->zoom();
    switch (gdk_keyval_to_lower(event->keyval)) {
    case GDK_KEY_plus:
    case GDK_KEY_equal:
    case GDK_KEY_KP_Add:
        zoom.zoomIn();
        return true;
    case GDK_KEY_minus:
    case GDK_KEY_KP_Subtract:
        zoom.zoomOut();
        return true;
    case GDK_KEY_1:
    case GDK_KEY_KP_1:
        zoom.zoomToFit(false);
        return true;
    case GDK_KEY_0:
    case GDK_KEY_KP_0:
        zoom.resetZoom();
        return true;
    case GDK_KEY_c:
        shift ? commands_->copyImage(true) : commands_->copy();
        return true;
    case GDK_KEY_s:
        shift ? commands_->saveAs() : commands_->save();
        return true;
    case GDK_KEY_w:
        close();
        return true;
    default:
        return Gtk::ApplicationWindow::on_key_press_event(event);
    }
}

bool EditorWindow::on_delete_event(GdkEventAny*) {
    if (closing_) {
        return true; // the closing picture is on its way
    }
    closing_ = true;
    std::weak_ptr<EditorWindow> weak = weakSelf<EditorWindow>();
    commands_->viewWillDisappear([weak] {
        if (auto self = weak.lock()) {
            self->hide();
        }
    });
    return true;
}

EditorCommands::Modifiers EditorWindow::heldModifiers() const {
    const guint state =
        gdk_keymap_get_modifier_state(gdk_keymap_get_for_display(gdk_display_get_default()));
    return EditorCommands::Modifiers{.shift = (state & GDK_SHIFT_MASK) != 0,
                                     .control = (state & GDK_CONTROL_MASK) != 0,
                                     .alt = (state & GDK_MOD1_MASK) != 0,
                                     .super = (state & (GDK_SUPER_MASK | GDK_MOD4_MASK)) != 0,
                                     .hyper = (state & (GDK_HYPER_MASK | GDK_MOD3_MASK)) != 0,
                                     .meta = (state & GDK_META_MASK) != 0};
}

void EditorWindow::sendFeedback() {
    const std::string subject = "Feedback for Lumeris version " + std::string(build::VERSION) +
                                " (" + build::BUILD_NUMBER + ")";
    char* escaped = g_uri_escape_string(subject.c_str(), nullptr, FALSE);
    const std::string uri = std::string("mailto:") + FEEDBACK_ADDRESS +
                            "?subject=" + (escaped != nullptr ? escaped : "unknown");
    g_free(escaped);
    GError* error = nullptr;
    if (g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error)) {
        LOG_INFO("Email client opened");
    } else {
        LOG_ERROR("Email client cannot be opened: {}", error != nullptr ? error->message : "");
        g_clear_error(&error);
    }
}

// EditorView

void EditorWindow::setSliderValue(Slider slider, int value) {
    sliderBindings_.at(slider)->show(value);
}

void EditorWindow::setLabelTitles(int padding, int inset, int radius, int shadow) {
    const std::pair<NumberEntryField, int> titles[] = {{NumberEntryField::Padding, padding},
                                                       {NumberEntryField::Inset, inset},
                                                       {NumberEntryField::Rounded, radius},
                                                       {NumberEntryField::Shadow, shadow}};
    for (const auto& [field, value] : titles) {
        labelButtons_.at(field)->set_label(std::to_string(value));
    }
}

void EditorWindow::setWatermarkField(const std::string& text) {
    watermarkChanged_.block();
    watermarkField_->set_text(text);
    watermarkChanged_.unblock();
}

void EditorWindow::setBorderColor(const std::string& color) {
    Gdk::RGBA rgba;
    if (rgba.set(color)) {
        borderColorWell_->set_rgba(rgba);
    }
}

void EditorWindow::setInsetStatus(const std::string& text) {
    insetStatus_->set_text(text.empty() ? "" : "Inset " + text);
}

void EditorWindow::setRedactionStatus(const std::string& text, bool visible) {
    redactionStatus_->set_text(text);
    redactionStatus_->set_visible(visible);
}

void EditorWindow::highlightBackground(BackgroundButton button) {
    for (auto& [identifier, widget] : backgroundButtons_) {
        setChosen(*widget, EditorButtons::backgroundButton(identifier) == button);
    }
}

void EditorWindow::highlightRatio(RatioButton button) {
    for (auto& [identifier, widget] : ratioButtons_) {
        const RatioButton stands =
            isPlatform(identifier)
                ? EditorButtons::ratioButton("", RatioTemplate{"", {}, identifier})
                : EditorButtons::ratioButton(EditorButtons::ratioSetting(identifier), std::nullopt);
        setChosen(*widget, stands == button);
    }
}

void EditorWindow::setCanvasSize(double width, double height) {
    view_->setCanvasSize(static_cast<int>(std::lround(width)),
                         static_cast<int>(std::lround(height)));
}

void EditorWindow::restyle(const std::string& script) {
    view_->restyle(script);
}

void EditorWindow::loadDocument(const std::string& html) {
    // Every reload shows the same picture (another ratio, redaction boxes); the document drops
    // annotations drawn on a picture of another size itself.
    view_->loadDocumentKeepingAnnotations(html, dependencies_.baseUri);
    // The document's own keys (the annotation tools) reach it unless the user is typing.
    std::weak_ptr<EditorWindow> weak = weakSelf<EditorWindow>();
    view_->whenPageLoaded([weak](bool loaded) {
        auto self = weak.lock();
        if (!self || !loaded) {
            return;
        }
        auto* focus = self->get_focus();
        if (focus == nullptr || !GTK_IS_EDITABLE(focus->gobj())) {
            gtk_widget_grab_focus(self->view_->widget());
        }
    });
}

void EditorWindow::requestSnapshot(bool saveCache, std::function<void(Snapshot)> done) {
    std::weak_ptr<EditorWindow> weak = weakSelf<EditorWindow>();
    view_->getScreenshot(
        saveCache, [weak, done = std::move(done)](CustomWKWebView::Image image,
                                                  const std::optional<std::string>& error) mutable {
            if (error) {
                LOG_ERROR("output snapshot failed: {}", *error);
            }
            auto self = weak.lock();
            if (!self || !image) {
                done(std::move(image));
                return;
            }
            auto request = self->leakCheckRequest(*image);
            self->leakGuard_->pass(std::move(image), std::move(request),
                                   [weak, done = std::move(done)](Snapshot checked) {
                                       done(std::move(checked));
                                       // The debounced output may have just arrived: share
                                       // follows it.
                                       if (auto self = weak.lock(); self && self->share_) {
                                           self->share_->update();
                                       }
                                   });
        });
}

std::optional<ExportLeakGuard::Request>
EditorWindow::leakCheckRequest(const RgbaImage& picture) const {
    const CompositionValues& values = controller_->values();
    if (!values.autoRedactEnabled || !controller_->hasWorkingImage()) {
        return std::nullopt;
    }
    // The document's margin is in points; the snapshot may have more pixels per point.
    const double canvasWidth = ImageLoadPipeline::canvas(controller_->session()).bgWidth;
    const double scale = canvasWidth > 0 ? picture.width / canvasWidth : 1.0;
    const LoadedImage& read = controller_->session().currentImage;
    auto first = std::make_shared<const RedactionLeakCheck::Reading>(RedactionLeakCheck::reading(
        read, TextDetection::coveringBoxes(controller_->redactRects(), read.pointWidth,
                                           read.pointHeight)));
    return ExportLeakGuard::Request{RedactionRules::activePatterns(dependencies_.settings),
                                    values.redactColor, TextDetection::REDACTION_MARGIN * scale,
                                    std::move(first)};
}

void EditorWindow::selectedText(std::function<void(std::string)> done) {
    view_->selectedText(std::move(done));
}

void EditorWindow::cancelOperation(std::function<void(bool consumed)> done) {
    view_->handleCancelOperation(std::move(done));
}

void EditorWindow::closeWindow() {
    close();
}

void EditorWindow::setTitle(const std::string& title) {
    set_title(title);
}

int EditorWindow::titleBarHeight() const {
    const Gtk::Widget* bar = get_titlebar();
    if (bar == nullptr || !bar->get_visible()) {
        return 0;
    }
    int minimum = 0;
    int natural = 0;
    bar->get_preferred_height(minimum, natural);
    return std::max(bar->get_allocated_height(), natural);
}

// Frames are the whole window, title bar included, as the screen's visible frame is; GTK sizes
// a window with a client-side title bar without it.
ScreenInfo::Frame EditorWindow::windowFrame() const {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    get_position(x, y);
    get_size(width, height);
    return ScreenInfo::Frame{static_cast<double>(x), static_cast<double>(y),
                             static_cast<double>(width),
                             static_cast<double>(height + titleBarHeight())};
}

void EditorWindow::setWindowFrame(const ScreenInfo::Frame& frame) {
    resize(static_cast<int>(std::lround(frame.width)),
           std::max(1, static_cast<int>(std::lround(frame.height)) - titleBarHeight()));
    // Ignored where the display server places windows itself (Wayland).
    if (!offScreen_) {
        move(static_cast<int>(std::lround(frame.x)), static_cast<int>(std::lround(frame.y)));
    }
}

double EditorWindow::magnification() const {
    return view_->zoom();
}

void EditorWindow::setMagnification(double magnification, bool) {
    view_->setZoom(magnification);
    controller_->zoom().boundsChanged();
}

double EditorWindow::visibleWidth() const {
    return scroller_->get_allocated_width();
}

double EditorWindow::visibleHeight() const {
    return scroller_->get_allocated_height();
}

void EditorWindow::setZoomTitle(const std::string& title) {
    zoomButton_->set_label(title);
}

// NumberEntryDelegate

double EditorWindow::sliderValue(NumberEntryField field) const {
    const auto target = EditorButtons::labelField(std::string(numberEntryFieldName(field)));
    return target ? sliders_.at(target->slider)->get_value() : 0;
}

double EditorWindow::sliderMaximum(NumberEntryField field) const {
    const auto target = EditorButtons::labelField(std::string(numberEntryFieldName(field)));
    return target ? sliders_.at(target->slider)->get_adjustment()->get_upper() : 0;
}

void EditorWindow::numberEntered(NumberEntryField field, int value) {
    controller_->inputTooltipConfirmed(std::string(numberEntryFieldName(field)), value);
}

} // namespace lumeris
