#include "ui/gtk/TooltipViewController.h"

#include "ui/gtk/InterfaceFile.h"

namespace lumeris {

std::unique_ptr<TooltipViewController> TooltipViewController::create(OnceHints hints) {
    auto builder = InterfaceFile::load("TooltipViewController");
    if (!builder) {
        return nullptr;
    }
    std::unique_ptr<TooltipViewController> controller(new TooltipViewController(builder, hints));
    if (!controller->view_ || !controller->label_ || !controller->controlStackView_ ||
        !controller->okButton_ || !controller->dontShowAgainButton_) {
        return nullptr;
    }
    controller->okButton_->signal_clicked().connect(
        sigc::mem_fun(*controller, &TooltipViewController::okButtonAction));
    controller->dontShowAgainButton_->signal_clicked().connect(
        sigc::mem_fun(*controller, &TooltipViewController::dontShowAgainButtonAction));
    return controller;
}

TooltipViewController::TooltipViewController(Glib::RefPtr<Gtk::Builder> builder, OnceHints hints)
    : builder_(std::move(builder)), hints_(hints) {
    view_ = InterfaceFile::widget<Gtk::Widget>(builder_, "view");
    label_ = InterfaceFile::widget<Gtk::Label>(builder_, "label");
    controlStackView_ = InterfaceFile::widget<Gtk::Box>(builder_, "controlStackView");
    okButton_ = InterfaceFile::widget<Gtk::Button>(builder_, "okButton");
    dontShowAgainButton_ = InterfaceFile::widget<Gtk::Button>(builder_, "dontShowAgainButton");
}

void TooltipViewController::configure(const std::string& text, std::optional<std::string> onceID) {
    label_->set_text(text);
    onceID_ = std::move(onceID);
    controlStackView_->set_visible(onceID_.has_value());
}

void TooltipViewController::okButtonAction() {
    close();
}

void TooltipViewController::dontShowAgainButtonAction() {
    if (onceID_) {
        hints_.dontShowAgain(*onceID_);
    }
    close();
}

void TooltipViewController::close() {
    if (parentPopover_ != nullptr) {
        parentPopover_->popdown();
    }
}

} // namespace lumeris
