#include "base/ResourceLocator.h"
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

int screenScale() {
    const char* scale = std::getenv("GDK_SCALE");
    return scale != nullptr ? std::atoi(scale) : 1;
}

class RecordingDelegate : public CustomWKWebViewDelegate {
public:
    void onWebViewUserEvents(const std::string& name,
                             const std::optional<nlohmann::json>& payload) override {
        events.emplace_back(name, payload);
    }
    std::vector<std::pair<std::string, std::optional<nlohmann::json>>> events;
};

class RendererHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(baseUri().empty()) << "viewer.html not found";
        window = std::make_unique<RenderWindow>(WIDTH, HEIGHT);
        delegate = std::make_shared<RecordingDelegate>();
        window->view().setDelegate(delegate);
    }

    void load(const std::string& html) {
        bool done = false;
        std::optional<std::string> error;
        window->load(html, baseUri(), [&](std::optional<std::string> e) {
            error = e;
            done = true;
        });
        ASSERT_TRUE(runUntil([&] { return done; }));
        ASSERT_FALSE(error) << *error;
    }

    std::optional<std::string> evaluate(const std::string& script) {
        bool done = false;
        std::optional<std::string> value;
        window->view().evaluate(script, [&](std::optional<std::string> v, auto) {
            value = v;
            done = true;
        });
        runUntil([&] { return done; });
        return value;
    }

    LogCapture log;
    std::unique_ptr<RenderWindow> window;
    std::shared_ptr<RecordingDelegate> delegate;
};

TEST_F(RendererHostTest, SnapshotHasTheCanvasSizeAndTheDocumentsColours) {
    load(editorLikeDocument("#FF0000", 80, 40, 0x00FF00));
    EXPECT_TRUE(log.contains("user events message: windowload"));
    ASSERT_FALSE(delegate->events.empty());
    EXPECT_EQ(delegate->events.back().first, "windowload");
    EXPECT_FALSE(delegate->events.back().second) << "windowload carries no payload";

    auto shot = screenshot(window->view(), true);
    ASSERT_TRUE(shot.image) << shot.error.value_or("");
    int scale = screenScale();
    EXPECT_EQ(shot.image->width, WIDTH * scale);
    EXPECT_EQ(shot.image->height, HEIGHT * scale);
    EXPECT_EQ(pixel(*shot.image, 2, 2), 0xFF0000FFu);
    EXPECT_EQ(pixel(*shot.image, shot.image->width / 2, shot.image->height / 2), 0x00FF00FFu);
}

TEST_F(RendererHostTest, TransparentBackgroundStaysTransparent) {
    load(editorLikeDocument("transparent", 80, 40, 0x0000FF));
    auto shot = screenshot(window->view(), false);
    ASSERT_TRUE(shot.image) << shot.error.value_or("");
    EXPECT_EQ(shot.image->at(1, 1)[3], 0);
    EXPECT_EQ(pixel(*shot.image, shot.image->width / 2, shot.image->height / 2), 0x0000FFFFu);
}

TEST_F(RendererHostTest, RequestBeforeWindowloadIsAnsweredAfterItWithAFreshSnapshot) {
    ShotResult early;
    window->view().getScreenshot(true, [&](CustomWKWebView::Image image, auto error) {
        early = {image, error, true};
    });
    // Nothing loaded yet: the request waits on the queue.
    runUntil([] { return false; }, 0.3);
    EXPECT_FALSE(early.answered);
    window->view().loadDocument(editorLikeDocument("#FF0000", 80, 40, 0x00FF00), baseUri());
    ASSERT_TRUE(runUntil([&] { return early.answered; }));
    ASSERT_TRUE(early.image) << early.error.value_or("");

    auto messages = log.messages();
    auto at = [&](const std::string& text) {
        return std::find(messages.begin(), messages.end(), text) - messages.begin();
    };
    EXPECT_LT(at("SYNC-CHECK: wait"), at("SYNC-CHECK: signal"));
    EXPECT_LT(at("SYNC-CHECK: signal"), at("SYNC-CHECK: fresh screenshot"));
    EXPECT_EQ(log.count("SYNC-CHECK: use cached screenshot"), 0);
}

TEST_F(RendererHostTest, CacheIsReusedUntilSomethingChanges) {
    load(editorLikeDocument("#FF0000", 80, 40, 0x00FF00));

    // saveCache false with nothing cached: fresh, and the cache stays empty.
    auto uncached = screenshot(window->view(), false);
    ASSERT_TRUE(uncached.image);
    EXPECT_FALSE(window->view().lastScreenshot());

    auto first = screenshot(window->view(), true);
    auto second = screenshot(window->view(), true);
    ASSERT_TRUE(first.image && second.image);
    EXPECT_EQ(first.image, second.image);
    EXPECT_EQ(log.count("SYNC-CHECK: use cached screenshot"), 1);

    // saveCache false after a cached one returns the cached image.
    auto third = screenshot(window->view(), false);
    EXPECT_EQ(third.image, first.image);
    EXPECT_EQ(log.count("SYNC-CHECK: use cached screenshot"), 2);

    // A restyle forces a fresh snapshot, which shows the new style.
    window->view().restyle("document.getElementById('target').style.background = '#0000FF'; "
                           "document.getElementById('target').getBoundingClientRect();");
    auto restyled = screenshot(window->view(), true);
    ASSERT_TRUE(restyled.image);
    EXPECT_NE(restyled.image, first.image);
    EXPECT_EQ(log.count("SYNC-CHECK: use cached screenshot"), 2);
    EXPECT_EQ(pixel(*restyled.image, 2, 2), 0x0000FFFFu);
}

TEST_F(RendererHostTest, EventsOfTheWrongShapeAreDroppedAndPayloadsPassThrough) {
    load(editorLikeDocument("#FF0000", 80, 40, 0x00FF00));
    delegate->events.clear();
    evaluate("var h = window.webkit.messageHandlers.events;"
             "h.postMessage({name: 5}); h.postMessage('windowload'); h.postMessage({payload: 1});"
             "h.postMessage({name: 'custom', payload: {a: [1, 'b']}}); true");
    ASSERT_TRUE(runUntil([&] { return !delegate->events.empty(); }));
    runUntil([] { return false; }, 0.2);
    ASSERT_EQ(delegate->events.size(), 1u);
    EXPECT_EQ(delegate->events[0].first, "custom");
    EXPECT_EQ(delegate->events[0].second, nlohmann::json::parse(R"({"a":[1,"b"]})"));
}

TEST_F(RendererHostTest, EscapeWithoutAHandlerIsNotConsumed) {
    load("<html><body style='background:#fff'>plain</body></html>");
    std::optional<bool> consumed;
    window->view().handleCancelOperation([&](bool value) { consumed = value; });
    ASSERT_TRUE(runUntil([&] { return consumed.has_value(); }));
    EXPECT_FALSE(*consumed);
}

TEST_F(RendererHostTest, ToolModesAreReportedAndEscapeLeavesThem) {
    load(editorLikeDocument("#FF0000", 80, 40, 0x00FF00));
    delegate->events.clear();
    window->view().activateCommand("redactActivated");
    ASSERT_TRUE(runUntil([&] { return !delegate->events.empty(); }));
    EXPECT_EQ(delegate->events.back().first, "CHANGE_MODE");
    EXPECT_EQ(delegate->events.back().second, nlohmann::json("redact"));
    EXPECT_EQ(evaluate("document.body.classList.contains('redact-mode')"), "true");

    std::optional<bool> consumed;
    window->view().handleCancelOperation([&](bool value) { consumed = value; });
    ASSERT_TRUE(runUntil([&] { return consumed.has_value(); }));
    EXPECT_TRUE(*consumed);
    EXPECT_EQ(delegate->events.back().second, nlohmann::json("free"));

    consumed.reset();
    window->view().handleCancelOperation([&](bool value) { consumed = value; });
    ASSERT_TRUE(runUntil([&] { return consumed.has_value(); }));
    EXPECT_FALSE(*consumed) << "no tool active: the editor may close";
}

TEST_F(RendererHostTest, ClickingATextRectangleTogglesItsRedaction) {
    std::string rect = "<svg style='position:absolute;left:0;top:0' width='200' height='120'>"
                       "<rect id='r' class='text-rects ' "
                       "onclick=\"this.classList.toggle('redacted')\" fill='black' "
                       "fill-opacity='0' x='0' y='0' width='50' height='50'/></svg>";
    load(editorLikeDocument("#FF0000", 80, 40, 0x00FF00, rect));
    auto before = screenshot(window->view(), false);
    ASSERT_TRUE(before.image);
    EXPECT_EQ(pixel(*before.image, 5, 5), 0xFF0000FFu);
    evaluate("document.getElementById('r').dispatchEvent(new MouseEvent('click')); true");
    auto after = screenshot(window->view(), false);
    ASSERT_TRUE(after.image);
    EXPECT_EQ(pixel(*after.image, 5, 5), 0x000000FFu);
}

TEST_F(RendererHostTest, ConsoleOutputAndUncaughtErrorsReachTheLog) {
    load(editorLikeDocument("#FF0000", 80, 40, 0x00FF00,
                            "<script>console.log('hello', {a: 1}, undefined, 7);"
                            "console.warn('careful');"
                            "setTimeout(function () { undefinedFunction(); }, 0);</script>"));
    ASSERT_TRUE(runUntil([&] {
        for (const auto& line : log.messages()) {
            if (line.rfind("\U0001F4A5 JS Uncaught: ", 0) == 0) {
                return true;
            }
        }
        return false;
    }));
    EXPECT_TRUE(log.contains("\U0001F4D7 JS log: hello, {\"a\":1}, undefined, 7"));
    EXPECT_TRUE(log.contains("\U0001F4D9 JS warning: careful"));
    bool located = false;
    for (const auto& line : log.messages()) {
        if (line.rfind("\U0001F4A5 JS Uncaught: ", 0) == 0) {
            located = line.find("undefinedFunction") != std::string::npos &&
                      line.find(" at ") != std::string::npos;
        }
    }
    EXPECT_TRUE(located);
}

TEST_F(RendererHostTest, MissingWindowloadEndsInAnErrorNotAHang) {
    window->view().setTimeouts(
        {std::chrono::milliseconds(300), std::chrono::seconds(5), std::chrono::seconds(5)});
    auto shot = screenshot(window->view(), true);
    ASSERT_TRUE(shot.answered);
    EXPECT_FALSE(shot.image);
    EXPECT_TRUE(shot.error);
}

TEST_F(RendererHostTest, DocumentIsLoadedAgainWhenTheWebProcessDies) {
    load(editorLikeDocument("#FF0000", 80, 40, 0x00FF00));
    ASSERT_TRUE(screenshot(window->view(), true).image);
    webkit_web_view_terminate_web_process(window->view().webView());
    EXPECT_FALSE(window->view().lastScreenshot());
    auto shot = screenshot(window->view(), true);
    ASSERT_TRUE(shot.image) << shot.error.value_or("");
    EXPECT_EQ(pixel(*shot.image, 2, 2), 0xFF0000FFu);
}

TEST_F(RendererHostTest, DocumentNeitherReachesTheNetworkNorNavigatesAway) {
    GError* error = nullptr;
    GSocketService* service = g_socket_service_new();
    guint16 port = g_socket_listener_add_any_inet_port(G_SOCKET_LISTENER(service), nullptr, &error);
    ASSERT_NE(port, 0);
    int connections = 0;
    g_signal_connect(service, "incoming",
                     G_CALLBACK(+[](GSocketService*, GSocketConnection*, GObject*, gpointer count) {
                         ++*static_cast<int*>(count);
                         return FALSE;
                     }),
                     &connections);
    g_socket_service_start(service);
    std::string url = "http://127.0.0.1:" + std::to_string(port);
    load(editorLikeDocument("#FF0000", 80, 40, 0x00FF00,
                            "<img src='" + url +
                                "/a.png'><script>window.marker = 1;"
                                "fetch('" +
                                url + "/b').catch(function () {});</script>"));
    evaluate("location.href = '" + url + "/away'; true");
    evaluate("location.href = 'file:///'; true");
    runUntil([] { return false; }, 0.5);
    EXPECT_EQ(evaluate("window.marker === 1"), "true");
    EXPECT_EQ(connections, 0);
    g_socket_service_stop(service);
    g_object_unref(service);
}

TEST_F(RendererHostTest, ViewGoneEndsPendingWorkSilently) {
    bool answered = false;
    window->view().getScreenshot(true, [&](auto, auto) { answered = true; });
    window.reset();
    runUntil([] { return false; }, 0.3);
    EXPECT_FALSE(answered);
}

TEST(RenderWindowTest, RenderOnceAndDoubleScale) {
    std::string error;
    auto image = RenderWindow::renderOnce(editorLikeDocument("#336699", 20, 10, 0xFFFFFF),
                                          baseUri(), 64, 48, &error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->width, 64 * screenScale());
    EXPECT_EQ(image->height, 48 * screenScale());
    EXPECT_EQ(pixel(*image, 0, 0), 0x336699FFu);

    if (screenScale() != 1) {
        return;
    }
    // The same render in a child process at scale 2.
    gchar* self = g_file_read_link("/proc/self/exe", nullptr);
    std::string filter = "--gtest_filter=RenderWindowTest.RenderOnceAndDoubleScale";
    gchar* argv[] = {self, filter.data(), nullptr};
    gchar** env = g_environ_setenv(g_get_environ(), "GDK_SCALE", "2", TRUE);
    gint status = -1;
    GError* spawnError = nullptr;
    ASSERT_TRUE(g_spawn_sync(nullptr, argv, env, G_SPAWN_DEFAULT, nullptr, nullptr, nullptr,
                             nullptr, &status, &spawnError));
    EXPECT_TRUE(g_spawn_check_wait_status(status, nullptr)) << "scale 2 run failed";
    g_strfreev(env);
    g_free(self);
}

} // namespace

namespace {

TEST_F(RendererHostTest, FilesInTheRendererDataFolderAreReadable) {
    auto folder = ResourceLocator::rendererDataFolder();
    std::filesystem::create_directories(folder);
    auto picture = folder / "lumeris-custom-background-test";
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 8, 8);
    gdk_pixbuf_fill(pixbuf, 0xFFFF00FF);
    ASSERT_TRUE(gdk_pixbuf_save(pixbuf, picture.c_str(), "png", nullptr, nullptr));
    g_object_unref(pixbuf);
    load(editorLikeDocument("url('" + picture.string() + "?cacheID=custom-1') 0 0 / cover", 80, 40,
                            0x00FF00));
    auto shot = screenshot(window->view(), false);
    std::filesystem::remove(picture);
    ASSERT_TRUE(shot.image);
    EXPECT_EQ(pixel(*shot.image, 2, 2), 0xFFFF00FFu);
}

} // namespace
