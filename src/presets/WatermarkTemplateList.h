#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace lumeris {

class SettingsStore;

// The user's favourite watermark texts, as the template window edits them: at most one blank
// row (a new one, being typed), which is discarded rather than stored, and no edit that blanks a
// template. Every change that keeps text is written to "settings.watermark-templates" at once.
class WatermarkTemplateList {
public:
    // What the end of editing a row did.
    enum class EditEnd {
        Stored,   // the text replaced the row's template
        Restored, // the text was empty: the row shows its template again
        Removed,  // a blank new row left blank is gone
    };

    // The stored list without its empty entries.
    explicit WatermarkTemplateList(SettingsStore& settings);

    const std::vector<std::string>& templates() const { return templates_; }

    // Appends a blank row to type into; false (nothing added) while the last row is blank.
    bool add();
    // The end of editing `row` with `text`; an index past the list changes nothing (Restored).
    EditEnd endEditing(std::size_t row, const std::string& text);
    void remove(std::size_t row);
    // Makes `row`'s text the watermark text; nothing for a row that is blank or past the list.
    std::optional<std::string> select(std::size_t row);

private:
    void store();

    SettingsStore& settings_;
    std::vector<std::string> templates_;
};

} // namespace lumeris
