#pragma once

#include "ui/NumberEntryDelegate.h"

#include <map>
#include <utility>
#include <vector>

namespace lumeris {

// Sliders held as plain numbers; every entered number is recorded and set.
class FakeNumberEntryDelegate : public NumberEntryDelegate {
public:
    double sliderValue(NumberEntryField field) const override { return values.at(field); }
    double sliderMaximum(NumberEntryField field) const override { return maximums.at(field); }
    void numberEntered(NumberEntryField field, int value) override {
        entered.emplace_back(field, value);
        values[field] = value;
    }

    using enum NumberEntryField;
    std::map<NumberEntryField, double> values{
        {Padding, 100}, {Inset, 20}, {Rounded, 20}, {Shadow, 25}};
    std::map<NumberEntryField, double> maximums{
        {Padding, 200}, {Inset, 80}, {Rounded, 50}, {Shadow, 100}};
    std::vector<std::pair<NumberEntryField, int>> entered;
};

} // namespace lumeris
