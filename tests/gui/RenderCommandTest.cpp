#include "TemporaryFolder.h"
#include "export/ImageEncoder.h"
#include "export/ImageReader.h"
#include "platform/TesseractRecognizer.h"
#include "support/ImageFiles.h"
#include "support/RunLumeris.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace lumeris;

namespace {

bool near(const std::uint8_t* pixel, int red, int green, int blue, int tolerance = 6) {
    return std::abs(pixel[0] - red) <= tolerance && std::abs(pixel[1] - green) <= tolerance &&
           std::abs(pixel[2] - blue) <= tolerance;
}

// `arguments`, then "--set settings.<setting>" for each setting.
std::vector<std::string> sets(std::initializer_list<std::string> settings,
                              std::vector<std::string> arguments = {}) {
    for (const auto& setting : settings) {
        arguments.insert(arguments.end(), {"--set", "settings." + setting});
    }
    return arguments;
}

class RenderCommandTest : public ::testing::Test {
protected:
    TemporaryFolder home;

    std::string write(const RgbaImage& image, const std::string& name = "shot.png") {
        return writePng(image, home / name);
    }

    // Renders `input` to out.png with recognition off (these tests are about the picture), plus
    // `extra` arguments; the decoded result.
    LoadedImage render(const std::string& input, std::vector<std::string> extra = {}) {
        std::vector<std::string> arguments{"render", input,
                                           "-o",     (home / "out.png").string(),
                                           "--set",  "settings.auto-redact=false"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        LumerisRun run = runLumeris(arguments, home.path());
        EXPECT_EQ(run.status, 0) << run.err;
        std::string error;
        auto image = ImageReader::read(home / "out.png", &error);
        EXPECT_TRUE(image.has_value()) << error << "\n" << run.err;
        return image ? *image : LoadedImage{};
    }
};

} // namespace

// 800 × 600 with no band: padding 100 on every side, no inset, and the 25-point watermark line.
TEST_F(RenderCommandTest, DefaultLookHasTheCanvasSizeWithContentCentredAndCornersRounded) {
    const RgbaImage source = screenshot(800, 600);
    LoadedImage out = render(write(source));
    ASSERT_EQ(sizeOf(out.image), std::pair(1000, 825));
    // The red square sits at the screenshot's centre, which sits 100 in from the top and left.
    EXPECT_TRUE(near(out.image.at(500, 400), 255, 0, 0));
    EXPECT_TRUE(near(out.image.at(420, 320), 255, 0, 0));
    // Just inside the screenshot's corner the rounding shows what is behind it.
    const std::uint8_t* corner = source.at(1, 1);
    EXPECT_FALSE(near(out.image.at(101, 101), corner[0], corner[1], corner[2], 12));
    const std::uint8_t* edge = source.at(1, 300);
    EXPECT_TRUE(near(out.image.at(101, 400), edge[0], edge[1], edge[2], 12));

    LoadedImage doubled = render(write(source), {"--scale", "2"});
    EXPECT_EQ(sizeOf(doubled.image), std::pair(2000, 1650));
    EXPECT_TRUE(near(doubled.image.at(1000, 800), 255, 0, 0));
}

// Sizes and refused names are PresetCommandTest's, which reads the look as a run does.
TEST_F(RenderCommandTest, StoredPresetsShapeTheCanvas) {
    LumerisRun saved =
        runLumeris({"preset", "save", "docs", "--set", "settings.padding=40"}, home.path());
    ASSERT_EQ(saved.status, 0) << saved.err;
    const std::string input = write(screenshot(800, 600));
    LoadedImage out = render(input, {"--preset", "docs"});
    EXPECT_EQ(sizeOf(out.image), std::pair(880, 705));
}

TEST_F(RenderCommandTest, BackgroundsReachTheCorners) {
    const std::string input = write(screenshot(400, 300));
    LoadedImage plain = render(
        input, sets({"background-id=custom", "bg-color.option=plain", "bg-color.plain=#336699"}));
    for (auto [x, y] : {std::pair{2, 2}, {plain.image.width - 3, plain.image.height - 3}}) {
        EXPECT_TRUE(near(plain.image.at(x, y), 0x33, 0x66, 0x99, 1)) << x << "," << y;
        EXPECT_EQ(plain.image.at(x, y)[3], 255);
    }

    LoadedImage clear = render(input, sets({"background-id=transparent"}));
    EXPECT_EQ(clear.image.at(2, 2)[3], 0);
    EXPECT_EQ(clear.image.at(clear.image.width - 3, 2)[3], 0);
    EXPECT_EQ(clear.image.at(clear.image.width / 2, clear.image.height / 2 - 12)[3], 255);

    // A picture file as the custom background, copied where the renderer may read it.
    const RgbaImage green = painted(64, 64, [](int, int) { return rgba(0, 200, 0); });
    LoadedImage file =
        render(input, sets({"background-id=custom", "bg-color.option=file",
                            "custom-background-file-path=" + write(green, "green.png")}));
    EXPECT_TRUE(near(file.image.at(2, 2), 0, 200, 0, 3));
}

// A 40-pixel margin is cut to 10 on each side (739 × 539), then framed by inset 20 and padding 100.
TEST_F(RenderCommandTest, UniformMarginComesOutBalanced) {
    LoadedImage out = render(write(screenshot(800, 600, 40)));
    EXPECT_EQ(sizeOf(out.image), std::pair(739 + 2 * 120, 539 + 2 * 120 + 25));
    // The band colour fills the inset around the picture.
    EXPECT_TRUE(near(out.image.at(112, 400), 235, 235, 235, 4));
}

TEST_F(RenderCommandTest, JpegOutputAndNamesInAFolder) {
    const std::string input = write(screenshot(400, 300));
    const auto folder = home / "results";
    LumerisRun run = runLumeris({"render", "--jpeg", "-q", "-d", folder.string(), "--set",
                                 "settings.auto-redact=false", input, input},
                                home.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    int written = 0; // the second of the same second gets a unique name
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++written;
        EXPECT_EQ(entry.path().extension(), ".jpg");
        EXPECT_TRUE(entry.path().filename().string().starts_with("Lumeris-"));
        EXPECT_EQ(fileText(entry.path()).substr(0, 2), "\xFF\xD8");
    }
    EXPECT_EQ(written, 2);
}

// In a pipe: the picture alone on standard output, however much else is said.
TEST_F(RenderCommandTest, StandardInputToStandardOutput) {
    const std::string input = write(screenshot(400, 300));
    LumerisRun run = runLumeris({"render", "-", "-o", "-", "--set", "settings.auto-redact=false"},
                                home.path(), {input, home / "piped.png", {}});
    ASSERT_EQ(run.status, 0) << run.err;
    auto image = ImageReader::read(home / "piped.png");
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(sizeOf(image->image), std::pair(400 + 200, 300 + 200 + 25));
    EXPECT_FALSE(std::filesystem::exists(home / "-"));
    // A plain PNG file is shown itself, not a copy: the same picture, and the input stays.
    EXPECT_EQ(render(input).image, image->image);
    EXPECT_TRUE(std::filesystem::exists(input));

    // A wrap whose recognition fails says so on standard error, never into the picture stream.
    LumerisRun failed = runLumeris({"render", "-", "-o", "-", "--wrap"}, home.path(),
                                   {input, home / "failed.png", {{"TESSDATA_PREFIX", "/none"}}});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("text recognition failed"), std::string::npos) << failed.err;
    EXPECT_EQ(std::filesystem::file_size(home / "failed.png"), 0U);
}

TEST_F(RenderCommandTest, WatermarkShowsTheYearOfItsDateVariable) {
    LoadedImage out = render(write(screenshot(400, 300)),
                             sets({"watermark-text=Made in {date:yyyy}", "background-id=custom",
                                   "bg-color.option=plain", "bg-color.plain=#202020"},
                                  {"--scale", "2"}));
    // The band under the picture, read back.
    const int top = (100 + 300) * 2;
    RgbaImage band(out.image.width, out.image.height - top);
    std::copy_n(out.image.at(0, top), band.pixels.size(), band.pixels.begin());
    TesseractRecognizer recognizer;
    const std::string text = recognizedText(recognizer, band);
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    EXPECT_NE(text.find("Made in " + std::to_string(1900 + local.tm_year)), std::string::npos)
        << text;
}

TEST_F(RenderCommandTest, BadInputsAreNamedAndTheRestStillRender) {
    std::ofstream(home / "notes.png") << "not a picture";
    const std::string good = write(screenshot(300, 200));
    std::filesystem::copy_file(good, home / "cut.png");
    std::filesystem::resize_file(home / "cut.png", std::filesystem::file_size(good) / 2);
    LumerisRun run = runLumeris({"render", "--set", "settings.auto-redact=false",
                                 (home / "missing.png").string(), (home / "notes.png").string(),
                                 (home / "cut.png").string(), good},
                                home.path());
    EXPECT_EQ(run.status, 1);
    for (const char* said : {"missing.png: no such file", "notes.png: not an image",
                             "cut.png: incomplete image", "[4/4]"}) {
        EXPECT_NE(run.err.find(said), std::string::npos) << said << " in " << run.err;
    }
    // The good one was written into the working folder, and its path printed.
    const std::filesystem::path written(run.out.substr(0, run.out.find('\n')));
    EXPECT_TRUE(std::filesystem::exists(written)) << written;
    EXPECT_EQ(written.parent_path(), home.path());
}

// Runs that cannot be done are refused by name (2: usage, 1: the run) and leave no output:
// unwritable folders, missing or false backgrounds, recognition that cannot vouch for the
// redaction, endless input, a setting out of range, canvases over the pixel bound.
TEST_F(RenderCommandTest, RefusalsAreNamedAndLeaveNothing) {
    const std::string good = write(screenshot(300, 200));
    std::ofstream(home / "notes.png") << "not a picture";
    std::ofstream(home / "passwd") << "root:x:0:0:root:/root:/bin/bash\n";
    const auto out = (home / "out.png").string();
    auto background = [&](const std::string& file) {
        return sets({"background-id=custom", "bg-color.option=file",
                     "custom-background-file-path=" + (home / file).string()},
                    {"render", good, "-o", out});
    };
    // A folder that cannot be made (a file stands in its path): the input is named, nothing left.
    LumerisRun blocked = runLumeris({"render", "--set", "settings.auto-redact=false", "-o",
                                     (home / "notes.png" / "out.png").string(), good},
                                    home.path());
    EXPECT_EQ(blocked.status, 1);
    EXPECT_NE(blocked.err.find("shot.png: cannot write"), std::string::npos) << blocked.err;
    EXPECT_EQ(std::ranges::count(blocked.err, '\n'), 1) << blocked.err;

    const struct {
        std::vector<std::string> arguments;
        LumerisRunExtras extras;
        int status;
        std::string said;
    } cases[] = {
        {background("gone.png"), {}, 1, "the custom background picture is missing"},
        {background("passwd"), {}, 1, "passwd: not an image"},
        {{"render", good, "-o", out},
         {{}, {}, {{"TESSDATA_PREFIX", "/nonexistent"}}},
         1,
         "shot.png: text recognition failed"},
        {{"render", "-", "-o", out},
         {"/dev/zero", home / "zero.out", {}},
         1,
         "-: more than 256 MB of data"},
        {{"render", good, "--scale", "4", "--set", "settings.ratio=1:10000"},
         {},
         1,
         "canvas too large"},
        // Which options and values are refused is RenderOptionsTest's and SettingKeysTest's.
        {{"render"}, {}, 2, "lumeris render: "},
        {{"render", good, "--set", "settings.padding=100000"}, {}, 2, "settings.padding"},
    };
    for (const auto& c : cases) {
        // Recognition only where the case is about it: the rest are refused without it.
        auto arguments = c.arguments;
        if (c.extras.environment.empty()) {
            arguments.insert(arguments.end(), {"--set", "settings.auto-redact=false"});
        }
        LumerisRun run = runLumeris(arguments, home.path(), c.extras);
        EXPECT_EQ(run.status, c.status) << c.said << "\n" << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.said;
        EXPECT_EQ(run.out, "") << c.said;
    }
    // Nothing of a run reaches the settings file.
    const auto settingsFile = home / "XDG_CONFIG_HOME" / "lumeris" / "settings.json";
    EXPECT_FALSE(std::filesystem::exists(settingsFile));

    // A settings file that does not parse: one line says so, the run uses the defaults.
    std::filesystem::create_directories(settingsFile.parent_path());
    std::ofstream(settingsFile) << "{\"settings.padding\": 4";
    LumerisRun corrupt =
        runLumeris({"render", good, "-o", out, "--set", "settings.auto-redact=false"}, home.path());
    EXPECT_EQ(corrupt.status, 0) << corrupt.err;
    EXPECT_EQ(std::ranges::count(corrupt.err, '\n'), 1) << corrupt.err;
    EXPECT_NE(corrupt.err.find(settingsFile.string() + " is not valid"), std::string::npos)
        << corrupt.err;
}

// SIGTERM mid-batch: what was written stays, and nothing else of the run is left: no private
// X server (orphans would be reparented to this process), no temporary, no renderer copy. A
// killed run's leftovers are cleaned by the next.
TEST_F(RenderCommandTest, SignalsEndTheBatchCleanly) {
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    const std::string good = write(screenshot(300, 200));
    RgbaImage green(16, 16);
    const std::string background = write(green, "green.png");
    const auto out = home / "out";
    std::filesystem::create_directories(out);
    const auto copies = home / "XDG_DATA_HOME" / "lumeris" / "data";
    std::filesystem::create_directories(copies);
    // A process id nobody uses any more.
    const pid_t gone = fork();
    if (gone == 0) {
        _exit(0);
    }
    waitpid(gone, nullptr, 0);
    const std::string id = std::to_string(gone);
    std::ofstream(out / (".Lumeris-x.png.lumeris-tmp-" + id + "-abcdef")) << "half";
    std::ofstream(copies / ("lumeris-custom-background-render-" + id + "-custom")) << "copy";

    auto arguments = sets({"auto-redact=false", "background-id=custom", "bg-color.option=file",
                           "custom-background-file-path=" + background},
                          {"render", "-d", out.string()});
    for (int i = 0; i < 20; ++i) {
        arguments.push_back(good);
    }
    LumerisRun run = runLumeris(arguments, home.path(), {}, [](const std::string& out) {
        return out.find('\n') != std::string::npos; // the first path written
    });
    EXPECT_EQ(run.status, 128 + SIGTERM) << run.err;
    EXPECT_NE(run.err.find("interrupted; "), std::string::npos) << run.err;
    int written = 0;
    for (const auto& entry : std::filesystem::directory_iterator(out)) {
        EXPECT_TRUE(entry.path().filename().string().starts_with("Lumeris-")) << entry.path();
        EXPECT_TRUE(ImageReader::read(entry.path())) << entry.path();
        ++written;
    }
    EXPECT_GE(written, 1);
    EXPECT_LT(written, 20);
    EXPECT_TRUE(std::filesystem::is_empty(copies));
    // The renderer's own processes end as their connection closes, a moment after the run.
    bool children = true;
    for (int wait = 0; wait < 100 && children; ++wait) {
        while (waitpid(-1, nullptr, WNOHANG) > 0) {
        }
        children = waitpid(-1, nullptr, WNOHANG) == 0;
        if (children) {
            usleep(100 * 1000);
        }
    }
    EXPECT_FALSE(children) << "a process of the run was left running";
}
