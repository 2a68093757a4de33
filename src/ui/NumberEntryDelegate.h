#pragma once

#include "ui/NumberEntryField.h"

namespace lumeris {

// What the number-entry popover needs from the editor: the slider behind a field, and one call
// that sets it and lets the editor recompute, redraw and mark its preset as changed.
class NumberEntryDelegate {
public:
    virtual ~NumberEntryDelegate() = default;

    virtual double sliderValue(NumberEntryField field) const = 0;
    virtual double sliderMaximum(NumberEntryField field) const = 0;
    virtual void numberEntered(NumberEntryField field, int value) = 0;
};

} // namespace lumeris
