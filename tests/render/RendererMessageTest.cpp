#include "render/RendererMessage.h"

#include "TemporaryFolder.h"
#include "base/ResourceLocator.h"
#include "render/SnapshotPixels.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace lumeris;

TEST(RendererMessageTest, MessagesAreReadStrictly) {
    EXPECT_EQ(RendererMessage::userEventFromJson(R"({"name":"windowload"})"),
              (UserEvent{"windowload", std::nullopt}));
    EXPECT_EQ(RendererMessage::userEventFromJson(R"({"name":"CHANGE_MODE","payload":"redact"})"),
              (UserEvent{"CHANGE_MODE", nlohmann::json("redact")}));
    // A null payload is a payload; an absent one is none.
    EXPECT_EQ(RendererMessage::userEventFromJson(R"({"name":"x","payload":null})")->payload,
              nlohmann::json(nullptr));
    for (const char* dropped :
         {R"({"name":5})", R"({"payload":"a"})", R"("windowload")", "[1,2]", "", "{not json"}) {
        EXPECT_FALSE(RendererMessage::userEventFromJson(dropped)) << dropped;
    }
    EXPECT_EQ(RendererMessage::logLineFromJson("\"\\ud83d\\udcd7 JS log: a\""),
              "\U0001F4D7 JS log: a");
    EXPECT_FALSE(RendererMessage::logLineFromJson(R"({"a":1})"));
    EXPECT_TRUE(RendererMessage::isTrue("true"));
    EXPECT_FALSE(RendererMessage::isTrue("\"true\"") || RendererMessage::isTrue("1"));
    EXPECT_EQ(RendererMessage::stringValue("\"selected\""), "selected");
    EXPECT_FALSE(RendererMessage::stringValue("3"));
}

TEST(SnapshotPixelsTest, PremultipliedArgbBecomesStraightRgba) {
    // Opaque red, half-transparent white (premultiplied 0x80 each), fully transparent.
    std::uint32_t argb[3] = {0xFFFF0000u, 0x80808080u, 0x00000000u};
    const auto* bytes = reinterpret_cast<std::uint8_t*>(argb);
    auto image = SnapshotPixels::fromPremultipliedArgb32(bytes, 3, 1, 12);
    ASSERT_EQ(image.width, 3);
    EXPECT_EQ(std::vector<std::uint8_t>(image.at(0, 0), image.at(0, 0) + 12),
              (std::vector<std::uint8_t>{255, 0, 0, 255, 255, 255, 255, 128, 0, 0, 0, 0}));
    // No pixels, or rows shorter than the width: nothing.
    EXPECT_TRUE(SnapshotPixels::fromPremultipliedArgb32(nullptr, 3, 1, 12).empty());
    EXPECT_TRUE(SnapshotPixels::fromPremultipliedArgb32(bytes, 3, 1, 8).empty());
}

TEST(ResourceLocatorTest, InstalledFolderWinsOverTheSourceTree) {
    TemporaryFolder root;
    std::filesystem::create_directories(root / "share/lumeris/web");
    std::filesystem::create_directories(root / "bin");
    EXPECT_FALSE(ResourceLocator::findFolder({root / "share/lumeris"}));
    std::ofstream(root / "share/lumeris/web/viewer.html") << "<html></html>";
    EXPECT_EQ(ResourceLocator::findFolder(ResourceLocator::candidateFolders(root / "bin")),
              std::filesystem::weakly_canonical(root / "share/lumeris"));
    // A program in the build tree (as this test is) finds the source resources; one elsewhere,
    // installed or copied, never does.
    const auto buildTree = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    auto fromBuild = ResourceLocator::findFolder(ResourceLocator::candidateFolders(buildTree));
    ASSERT_TRUE(fromBuild);
    EXPECT_TRUE(std::filesystem::exists(*fromBuild / "web/draw.js"));
    EXPECT_FALSE(
        ResourceLocator::findFolder(ResourceLocator::candidateFolders("/nonexistent/bin")));
}
