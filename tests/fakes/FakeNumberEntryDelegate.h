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

    std::map<NumberEntryField, double> values{{NumberEntryField::Padding, 100},
                                              {NumberEntryField::Inset, 20},
                                              {NumberEntryField::Rounded, 20},
                                              {NumberEntryField::Shadow, 25}};
    std::map<NumberEntryField, double> maximums{{NumberEntryField::Padding, 200},
                                                {NumberEntryField::Inset, 80},
                                                {NumberEntryField::Rounded, 50},
                                                {NumberEntryField::Shadow, 100}};
    std::vector<std::pair<NumberEntryField, int>> entered;
};

} // namespace lumeris
