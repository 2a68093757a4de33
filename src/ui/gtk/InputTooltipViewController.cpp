#include "ui/gtk/InputTooltipViewController.h"

#include "ui/NumberEntry.h"
#include "ui/gtk/InterfaceFile.h"
#include "ui/gtk/PopoverRegistry.h"

namespace lumeris {

std::shared_ptr<InputTooltipViewController> InputTooltipViewController::create() {
    auto builder = InterfaceFile::load("InputTooltipViewController");
    auto* view = builder ? InterfaceFile::widget<Gtk::Widget>(builder, "view") : nullptr;
    if (view == nullptr) {
        return nullptr;
    }
    std::shared_ptr<InputTooltipViewController> controller(
        new InputTooltipViewController(builder, *view));
    if (!controller->label_ || !controller->textField_ || !controller->applyButton_) {
        return nullptr;
    }
    auto apply = sigc::mem_fun(*controller, &InputTooltipViewController::applyButtonAction);
    controller->applyButton_->signal_clicked().connect(apply);
    controller->textField_->signal_activate().connect(apply);
    return controller;
}

InputTooltipViewController::InputTooltipViewController(Glib::RefPtr<Gtk::Builder> builder,
                                                       Gtk::Widget& view)
    : PopoverContentViewController(builder, view) {
    label_ = InterfaceFile::widget<Gtk::Label>(builder, "label");
    textField_ = InterfaceFile::widget<Gtk::Entry>(builder, "textField");
    applyButton_ = InterfaceFile::widget<Gtk::Button>(builder, "applyButton");
}

void InputTooltipViewController::showNumberEntry(PopoverRegistry& registry, Gtk::Widget& button,
                                                 const std::string& identifier,
                                                 std::weak_ptr<NumberEntryDelegate> delegate) {
    if (!numberEntryField(identifier) || delegate.expired()) {
        return;
    }
    auto* entry = registry.showPopover(identifier, button, PopoverEdge::Top, WIDTH, HEIGHT, true,
                                       PopoverBehavior::Transient,
                                       PopoverRegistry::ContentFactory([] { return create(); }));
    if (auto* controller = entry ? entry->contentAs<InputTooltipViewController>() : nullptr) {
        // The delegate is set on every show: the kept popover may have been built for another
        // editor.
        controller->configure(identifier, std::move(delegate));
    }
}

bool InputTooltipViewController::configure(const std::string& fieldName,
                                           std::weak_ptr<NumberEntryDelegate> delegate) {
    auto editor = delegate.lock();
    auto contents = editor ? NumberEntry::contents(fieldName, *editor) : std::nullopt;
    if (!contents) {
        return false;
    }
    fieldName_ = fieldName;
    delegate_ = std::move(delegate);
    maximum_ = contents->maximum;
    textField_->set_text(contents->text);
    textField_->select_region(0, -1);
    label_->set_text(contents->label);
    return true;
}

void InputTooltipViewController::applyButtonAction() {
    if (auto editor = delegate_.lock(); editor && fieldName_) {
        NumberEntry::apply(*fieldName_, textField_->get_text().raw(), editor.get());
    }
    closePopover();
}

} // namespace lumeris
