#include "presets/WatermarkTemplateList.h"

#include "TemporaryFolder.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

using namespace lumeris;
using Strings = std::vector<std::string>;
using EditEnd = WatermarkTemplateList::EditEnd;

namespace {

class WatermarkTemplateListTest : public ::testing::Test {
protected:
    Strings stored() const { return settings.stringArray(SettingKeys::WATERMARK_TEMPLATES, {}); }

    TemporaryFolder folder;
    SettingsStore settings{folder / "settings.json", SettingsStore::Persistence::InMemory};
};

} // namespace

TEST_F(WatermarkTemplateListTest, BlankRowsAreNeverStoredAndNeverBlankATemplate) {
    settings.set(SettingKeys::WATERMARK_TEMPLATES, Strings{"", "Docs {date:yyyy}", ""});
    WatermarkTemplateList list(settings);
    EXPECT_EQ(list.templates(), Strings{"Docs {date:yyyy}"});

    // One blank row at a time, and it is not stored.
    EXPECT_TRUE(list.add());
    EXPECT_FALSE(list.add());
    EXPECT_EQ(list.templates(), (Strings{"Docs {date:yyyy}", ""}));
    EXPECT_EQ(stored(), (Strings{"", "Docs {date:yyyy}", ""}));

    const struct {
        std::size_t row;
        const char* text;
        EditEnd end;
        Strings templates;
    } edits[] = {
        // An existing template cannot be blanked.
        {0, "", EditEnd::Restored, {"Docs {date:yyyy}", ""}},
        // Typed text is kept.
        {1, "Release", EditEnd::Stored, {"Docs {date:yyyy}", "Release"}},
        {0, "Docs", EditEnd::Stored, {"Docs", "Release"}},
        // Past the list: nothing happens.
        {7, "x", EditEnd::Restored, {"Docs", "Release"}},
    };
    for (const auto& edit : edits) {
        EXPECT_EQ(list.endEditing(edit.row, edit.text), edit.end) << edit.row << edit.text;
        EXPECT_EQ(list.templates(), edit.templates) << edit.row << edit.text;
    }
    EXPECT_EQ(stored(), (Strings{"Docs", "Release"}));

    // A new row left blank goes, and nothing is written for it.
    EXPECT_TRUE(list.add());
    settings.set(SettingKeys::WATERMARK_TEMPLATES, Strings{"untouched"});
    EXPECT_EQ(list.endEditing(2, ""), EditEnd::Removed);
    EXPECT_EQ(list.templates(), (Strings{"Docs", "Release"}));
    EXPECT_EQ(stored(), Strings{"untouched"});
}

TEST_F(WatermarkTemplateListTest, RemoveWritesAndSelectSetsTheWatermarkText) {
    settings.set(SettingKeys::WATERMARK_TEMPLATES, Strings{"A", "B", "C"});
    settings.set(SettingKeys::WATERMARK_TEXT, std::string("before"));
    WatermarkTemplateList list(settings);
    list.remove(1);
    list.remove(9);
    EXPECT_EQ(stored(), (Strings{"A", "C"}));

    EXPECT_EQ(list.select(1), "C");
    EXPECT_EQ(settings.string(SettingKeys::WATERMARK_TEXT, ""), "C");
    // A blank row or a row past the list picks nothing.
    ASSERT_TRUE(list.add());
    EXPECT_EQ(list.select(2), std::nullopt);
    EXPECT_EQ(list.select(5), std::nullopt);
    EXPECT_EQ(settings.string(SettingKeys::WATERMARK_TEXT, ""), "C");
}
