#include "base/Logger.h"

#include "TemporaryFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>

using lumeris::Logger;

TEST(Logger, RecordsCarryLevelFileFunctionAndLine) {
    spdlog::details::log_msg msg(spdlog::source_loc{"/src/capture/Editor.cpp", 42, "activate"},
                                 "lumeris", spdlog::level::warn, "capture failed");
    EXPECT_TRUE(std::regex_match(
        Logger::formatRecord(msg, true),
        std::regex(
            R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} WARNING Editor\.activate:42 - capture failed\n)")));
    for (auto [level, name] : {std::pair{spdlog::level::trace, "VERBOSE"},
                               {spdlog::level::debug, "DEBUG"},
                               {spdlog::level::info, "INFO"},
                               {spdlog::level::err, "ERROR"}}) {
        spdlog::details::log_msg record(spdlog::source_loc{"a/b.c.h", 1, "f"}, "lumeris", level,
                                        "m");
        EXPECT_NE(Logger::formatRecord(record, false).find(std::string(" ") + name + " b.f:1 - m"),
                  std::string::npos);
    }
}

TEST(Logger, EveryLevelReachesTheFileAndAnUnopenableFileIsNotFatal) {
    TemporaryFolder folder;
    Logger::setUp(folder.path());
    ASSERT_EQ(Logger::logFile(), folder / "lumeris.log");
    const int verboseLine = __LINE__ + 1;
    LOG_VERBOSE("first {}", 1);
    Logger::flush();
    const std::string text = fileText(folder / "lumeris.log");
    for (const std::string& part :
         {std::string("INFO Logger.setUp:"), std::string("App version: "),
          "VERBOSE LoggerTest.TestBody:" + std::to_string(verboseLine) + " - first 1"}) {
        EXPECT_NE(text.find(part), std::string::npos) << part;
    }
    // A file standing where the log folder should be: console only.
    std::ofstream(folder / "blocked") << "x";
    Logger::setUp(folder / "blocked");
    EXPECT_EQ(Logger::logFile(), std::nullopt);
    LOG_INFO("still logging");
}
