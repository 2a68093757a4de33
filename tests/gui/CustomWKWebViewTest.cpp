#include "base/GObjectPtr.h"
#include "base/ResourceLocator.h"
#include "fakes/RecordingWebViewDelegate.h"
#include "gui/RendererTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gio/gio.h>

using namespace lumeris;
using namespace lumeris::testing;

namespace {

constexpr int WIDTH = 200;
constexpr int HEIGHT = 120;
const std::string RED_PAGE = editorLikeDocument("#FF0000", 80, 40, 0x00FF00);

int screenScale() {
    const char* scale = std::getenv("GDK_SCALE");
    return scale != nullptr ? std::atoi(scale) : 1;
}

class RendererHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(baseUri().empty()) << "viewer.html not found";
        window->view().setDelegate(delegate);
    }

    void load(const std::string& html) {
        std::optional<std::optional<std::string>> error;
        window->load(html, baseUri(), [&](std::optional<std::string> e) { error = e; });
        ASSERT_TRUE(runUntil([&] { return error.has_value(); }));
        ASSERT_FALSE(*error) << **error;
    }

    std::optional<std::string> evaluate(const std::string& script) {
        std::optional<std::optional<std::string>> value;
        window->view().evaluate(script, [&](std::optional<std::string> v, auto) { value = v; });
        runUntil([&] { return value.has_value(); });
        return value.value_or(std::nullopt);
    }

    std::optional<bool> cancel() {
        std::optional<bool> consumed;
        window->view().handleCancelOperation([&](bool value) { consumed = value; });
        runUntil([&] { return consumed.has_value(); });
        return consumed;
    }

    LogCapture log;
    std::unique_ptr<RenderWindow> window = std::make_unique<RenderWindow>(WIDTH, HEIGHT);
    std::shared_ptr<RecordingWebViewDelegate> delegate =
        std::make_shared<RecordingWebViewDelegate>();
};

TEST_F(RendererHostTest, RequestBeforeWindowloadIsAnsweredAfterItWithAFreshSnapshot) {
    ShotResult early;
    window->view().getScreenshot(true, [&](auto image, auto error) {
        early = {image, error, true};
    });
    runUntil([] { return false; }, 0.3);
    EXPECT_FALSE(early.answered) << "nothing loaded yet: the request waits on the queue";
    window->view().loadDocument(RED_PAGE, baseUri());
    ASSERT_TRUE(runUntil([&] { return early.answered; }));
    ASSERT_TRUE(early.image) << early.error.value_or("");
    EXPECT_EQ(pixel(*early.image, 2, 2), 0xFF0000FFu);

    auto messages = log.messages();
    auto at = [&](const std::string& text) {
        return std::find(messages.begin(), messages.end(), text) - messages.begin();
    };
    EXPECT_LT(at("SYNC-CHECK: wait"), at("SYNC-CHECK: signal"));
    EXPECT_LT(at("SYNC-CHECK: signal"), at("SYNC-CHECK: fresh screenshot"));
}

TEST_F(RendererHostTest, CacheIsReusedUntilSomethingChangesOrTheWebProcessDies) {
    load(RED_PAGE);
    ASSERT_TRUE(screenshot(window->view(), false).image);
    EXPECT_FALSE(window->view().lastScreenshot()) << "saveCache false keeps nothing";

    auto first = screenshot(window->view(), true);
    ASSERT_TRUE(first.image);
    EXPECT_EQ(screenshot(window->view(), true).image, first.image);
    EXPECT_EQ(screenshot(window->view(), false).image, first.image);
    EXPECT_EQ(log.count("SYNC-CHECK: use cached screenshot"), 2);

    window->view().restyle("document.getElementById('target').style.background = '#0000FF'; "
                           "document.getElementById('target').getBoundingClientRect();");
    auto restyled = screenshot(window->view(), true);
    ASSERT_TRUE(restyled.image);
    EXPECT_EQ(log.count("SYNC-CHECK: use cached screenshot"), 2);
    EXPECT_EQ(pixel(*restyled.image, 2, 2), 0x0000FFFFu);

    // The web process dies: the document is loaded again as it was, and the cache is gone.
    webkit_web_view_terminate_web_process(window->view().webView());
    EXPECT_FALSE(window->view().lastScreenshot());
    auto reloaded = screenshot(window->view(), true);
    ASSERT_TRUE(reloaded.image) << reloaded.error.value_or("");
    EXPECT_EQ(pixel(*reloaded.image, 2, 2), 0xFF0000FFu);
}

TEST_F(RendererHostTest, ToolModesAreReportedAndEscapeLeavesThem) {
    load(RED_PAGE);
    ASSERT_FALSE(delegate->events.empty());
    EXPECT_EQ(delegate->events.back(),
              std::make_pair(std::string("windowload"), std::optional<nlohmann::json>()));
    delegate->events.clear();
    window->view().activateCommand("redactActivated");
    ASSERT_TRUE(runUntil([&] { return !delegate->events.empty(); }));
    EXPECT_EQ(delegate->events.back(),
              std::make_pair(std::string("CHANGE_MODE"), std::optional(nlohmann::json("redact"))));
    EXPECT_EQ(evaluate("document.body.classList.contains('redact-mode')"), "true");

    EXPECT_EQ(cancel(), true);
    EXPECT_EQ(delegate->events.back().second, nlohmann::json("free"));
    EXPECT_EQ(cancel(), false) << "no tool active: the editor may close";
}

TEST_F(RendererHostTest, ConsoleOutputAndUncaughtErrorsReachTheLog) {
    load(editorLikeDocument("#FF0000", 80, 40, 0x00FF00,
                            "<script>console.log('hello', {a: 1}, undefined, 7);"
                            "console.warn('careful');"
                            "setTimeout(function () { undefinedFunction(); }, 0);</script>"));
    auto uncaught = [&] {
        auto all = log.messages();
        auto line = std::find_if(all.begin(), all.end(), [](const std::string& text) {
            return text.rfind("\U0001F4A5 JS Uncaught: ", 0) == 0;
        });
        return line != all.end() ? *line : std::string();
    };
    ASSERT_TRUE(runUntil([&] { return !uncaught().empty(); }));
    EXPECT_EQ(log.count("\U0001F4D7 JS log: hello, {\"a\":1}, undefined, 7"), 1);
    EXPECT_EQ(log.count("\U0001F4D9 JS warning: careful"), 1);
    EXPECT_NE(uncaught().find("undefinedFunction"), std::string::npos);
    EXPECT_NE(uncaught().find(" at "), std::string::npos);
}

TEST_F(RendererHostTest, MissingWindowloadEndsInAnErrorNotAHang) {
    window->view().setTimeouts(
        {std::chrono::milliseconds(300), std::chrono::seconds(5), std::chrono::seconds(5)});
    auto shot = screenshot(window->view(), true);
    ASSERT_TRUE(shot.answered);
    EXPECT_FALSE(shot.image);
    EXPECT_TRUE(shot.error);
}

TEST_F(RendererHostTest, DocumentNeitherReachesTheNetworkNorNavigatesAway) {
    GObjectPtr<GSocketService> service(g_socket_service_new());
    guint16 port =
        g_socket_listener_add_any_inet_port(G_SOCKET_LISTENER(service.get()), nullptr, nullptr);
    ASSERT_NE(port, 0);
    int connections = 0;
    g_signal_connect(service.get(), "incoming",
                     G_CALLBACK(+[](GSocketService*, GSocketConnection*, GObject*, gpointer count) {
                         ++*static_cast<int*>(count);
                         return FALSE;
                     }),
                     &connections);
    g_socket_service_start(service.get());
    std::string url = "http://127.0.0.1:" + std::to_string(port);
    load(editorLikeDocument("#FF0000", 80, 40, 0x00FF00,
                            "<img src='" + url + "/a.png'><script>window.marker = 1; fetch('" +
                                url + "/b').catch(function () {});</script>"));
    evaluate("location.href = '" + url + "/away'; true");
    evaluate("location.href = 'file:///'; true");
    runUntil([] { return false; }, 0.5);
    EXPECT_EQ(evaluate("window.marker === 1"), "true");
    EXPECT_EQ(connections, 0);
    g_socket_service_stop(service.get());
}

TEST_F(RendererHostTest, ViewGoneEndsPendingWorkSilently) {
    bool answered = false;
    window->view().getScreenshot(true, [&](auto, auto) { answered = true; });
    window.reset();
    runUntil([] { return false; }, 0.3);
    EXPECT_FALSE(answered);
}

TEST_F(RendererHostTest, FilesInTheRendererDataFolderAreReadable) {
    auto folder = ResourceLocator::rendererDataFolder();
    std::filesystem::create_directories(folder);
    auto picture = folder / "lumeris-custom-background-test";
    GObjectPtr<GdkPixbuf> pixbuf(gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 8, 8));
    gdk_pixbuf_fill(pixbuf.get(), 0xFFFF00FF);
    ASSERT_TRUE(gdk_pixbuf_save(pixbuf.get(), picture.c_str(), "png", nullptr, nullptr));
    load(editorLikeDocument("url('" + picture.string() + "?cacheID=custom-1') 0 0 / cover", 80, 40,
                            0x00FF00));
    auto shot = screenshot(window->view(), false);
    std::filesystem::remove(picture);
    ASSERT_TRUE(shot.image);
    EXPECT_EQ(pixel(*shot.image, 2, 2), 0xFFFF00FFu);
}

TEST(RenderWindowTest, RenderOnceHasTheCanvasSizeAndKeepsTransparency) {
    std::string error;
    auto image = RenderWindow::renderOnce(editorLikeDocument("transparent", 20, 10, 0x336699),
                                          baseUri(), 64, 48, &error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->width, 64 * screenScale());
    EXPECT_EQ(image->height, 48 * screenScale());
    EXPECT_EQ(image->at(1, 1)[3], 0);
    EXPECT_EQ(pixel(*image, image->width / 2, image->height / 2), 0x336699FFu);
}

} // namespace
