#include "base/Logger.h"

#include "base/BuildInfo.h"

#include <chrono>
#include <ctime>
#include <mutex>
#include <spdlog/sinks/basic_file_sink.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <vector>

namespace lumeris {

namespace {

std::mutex logFileMutex;
std::optional<std::filesystem::path> openLogFile;

std::string_view levelName(spdlog::level::level_enum level) {
    switch (level) {
    case spdlog::level::trace:
        return "VERBOSE";
    case spdlog::level::debug:
        return "DEBUG";
    case spdlog::level::info:
        return "INFO";
    case spdlog::level::warn:
        return "WARNING";
    case spdlog::level::err:
    case spdlog::level::critical:
        return "ERROR";
    default:
        return "";
    }
}

std::string_view fileStem(const char* path) {
    if (path == nullptr) {
        return {};
    }
    std::string_view name(path);
    if (auto slash = name.find_last_of('/'); slash != std::string_view::npos) {
        name.remove_prefix(slash + 1);
    }
    if (auto dot = name.find('.'); dot != std::string_view::npos) {
        name = name.substr(0, dot);
    }
    return name;
}

// Writes "[date ]time LEVEL File.function:line - message" and marks the level for colouring.
class RecordFormatter final : public spdlog::formatter {
public:
    explicit RecordFormatter(bool withDate) : withDate_(withDate) {}

    void format(const spdlog::details::log_msg& msg, spdlog::memory_buf_t& dest) override {
        auto time = spdlog::log_clock::to_time_t(msg.time);
        std::tm local{};
        localtime_r(&time, &local);
        auto millis =
            std::chrono::duration_cast<std::chrono::milliseconds>(msg.time.time_since_epoch())
                .count() %
            1000;
        char stamp[40];
        size_t length = std::strftime(stamp, sizeof stamp,
                                      withDate_ ? "%Y-%m-%d %H:%M:%S" : "%H:%M:%S", &local);
        fmt::format_to(std::back_inserter(dest), "{}.{:03} ", std::string_view(stamp, length),
                       millis);
        msg.color_range_start = dest.size();
        auto level = levelName(msg.level);
        dest.append(level.data(), level.data() + level.size());
        msg.color_range_end = dest.size();
        fmt::format_to(std::back_inserter(dest), " {}.{}:{} - ", fileStem(msg.source.filename),
                       msg.source.funcname ? msg.source.funcname : "", msg.source.line);
        dest.append(msg.payload.data(), msg.payload.data() + msg.payload.size());
        dest.push_back('\n');
    }

    std::unique_ptr<spdlog::formatter> clone() const override {
        return std::make_unique<RecordFormatter>(withDate_);
    }

private:
    bool withDate_;
};

} // namespace

void Logger::setUp(const std::optional<std::filesystem::path>& logDirectory,
                   spdlog::level::level_enum consoleLevel) {
    std::vector<spdlog::sink_ptr> sinks;
    // Colour markers appear only when stderr is a terminal.
    auto console =
        std::make_shared<spdlog::sinks::stderr_color_sink_mt>(spdlog::color_mode::automatic);
    console->set_formatter(std::make_unique<RecordFormatter>(true));
    console->set_color(spdlog::level::trace, console->white);
    console->set_level(consoleLevel);
    sinks.push_back(console);

    std::optional<std::filesystem::path> file;
    if (logDirectory && !logDirectory->empty()) {
        try {
            std::filesystem::create_directories(*logDirectory);
            auto path = *logDirectory / "lumeris.log";
            auto sink = std::make_shared<spdlog::sinks::basic_file_sink_mt>(path.string());
            sink->set_formatter(std::make_unique<RecordFormatter>(false));
            sinks.push_back(sink);
            file = path;
        } catch (const std::exception& error) {
            fmt::print(stderr, "lumeris: cannot open the log file in {}: {}\n",
                       logDirectory->string(), error.what());
        }
    }

    auto logger = std::make_shared<spdlog::logger>("lumeris", sinks.begin(), sinks.end());
    logger->set_level(spdlog::level::trace);
    logger->flush_on(spdlog::level::warn);
    spdlog::set_default_logger(logger);
    {
        std::lock_guard lock(logFileMutex);
        openLogFile = file;
    }

    LOG_INFO("Debug log is enabled, log file is at: {}", file ? file->string() : "(empty)");
    LOG_INFO("App version: {} ({})", build::VERSION, build::BUILD_NUMBER);
}

std::filesystem::path Logger::defaultLogDirectory() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && *cache == '/') {
        return std::filesystem::path(cache) / "lumeris";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "/tmp") / ".cache" / "lumeris";
}

std::optional<std::filesystem::path> Logger::logFile() {
    std::lock_guard lock(logFileMutex);
    return openLogFile;
}

std::string Logger::formatRecord(const spdlog::details::log_msg& msg, bool withDate) {
    spdlog::memory_buf_t buffer;
    RecordFormatter(withDate).format(msg, buffer);
    return fmt::to_string(buffer);
}

void Logger::flush() {
    spdlog::default_logger_raw()->flush();
}

} // namespace lumeris
