#include "base/GObjectPtr.h"
#include "fakes/RecordingWebViewDelegate.h"
#include "gui/RendererTestSupport.h"

#include <gio/gio.h>

using namespace lumeris;
using namespace lumeris::testing;

namespace {

const std::string RED_PAGE = editorLikeDocument("#FF0000", 80, 40, 0x00FF00);
// A document of the editor's shape with `extra` markup in its body.
std::string page(const std::string& extra) {
    return editorLikeDocument("#FF0000", 80, 40, 0x00FF00, extra);
}

class RendererHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(baseUri().empty()) << "viewer.html not found";
        window->view().setDelegate(delegate);
    }

    void load(const std::string& html) { ASSERT_EQ(loadDocument(*window, html), std::nullopt); }
    std::optional<std::string> evaluate(const std::string& script) {
        return lumeris::testing::evaluate(window->view(), script);
    }

    LogCapture log;
    std::unique_ptr<RenderWindow> window = std::make_unique<RenderWindow>(200, 120);
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
        return std::ranges::find(messages, text) - messages.begin();
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

// Leaving a tool is AnnotationToolsTest's.
TEST_F(RendererHostTest, LoadAndToolCommandsAreReported) {
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
}

TEST_F(RendererHostTest, ConsoleOutputAndUncaughtErrorsReachTheLog) {
    load(page("<script>console.log('hello', {a: 1}, undefined, 7); console.warn('careful');"
              "setTimeout(function () { undefinedFunction(); }, 0);</script>"));
    auto uncaught = [&] {
        for (const auto& line : log.messages()) {
            if (line.starts_with("\U0001F4A5 JS Uncaught: ")) {
                return line;
            }
        }
        return std::string();
    };
    ASSERT_TRUE(runUntil([&] { return !uncaught().empty(); }));
    EXPECT_EQ(log.count("\U0001F4D7 JS log: hello, {\"a\":1}, undefined, 7"), 1);
    EXPECT_EQ(log.count("\U0001F4D9 JS warning: careful"), 1);
    EXPECT_NE(uncaught().find("undefinedFunction"), std::string::npos);
    EXPECT_NE(uncaught().find(" at "), std::string::npos);
}

// Without windowload a request ends in an error, not a hang; a view that goes away ends its
// pending work without answering.
TEST_F(RendererHostTest, MissingWindowloadOrViewEndsPendingWork) {
    window->view().setTimeouts(
        {std::chrono::milliseconds(300), std::chrono::seconds(5), std::chrono::seconds(5)});
    auto shot = screenshot(window->view(), true);
    ASSERT_TRUE(shot.answered);
    EXPECT_FALSE(shot.image);
    EXPECT_TRUE(shot.error);

    bool answered = false;
    window->view().getScreenshot(true, [&](auto, auto) { answered = true; });
    window.reset();
    runUntil([] { return false; }, 0.3);
    EXPECT_FALSE(answered);
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
    const std::string url = "http://127.0.0.1:" + std::to_string(port);
    load(page("<img src='" + url + "/a.png'><script>window.marker = 1; fetch('" + url +
              "/b').catch(function () {});</script>"));
    evaluate("location.href = '" + url + "/away'; true");
    evaluate("location.href = 'file:///'; true");
    runUntil([] { return false; }, 0.5);
    EXPECT_EQ(evaluate("window.marker === 1"), "true");
    EXPECT_EQ(connections, 0);
    g_socket_service_stop(service.get());
}

} // namespace
