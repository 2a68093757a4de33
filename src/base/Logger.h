#pragma once

#include <filesystem>
#include <optional>
#include <spdlog/spdlog.h>
#include <string>

namespace lumeris {

// The program's one logger. Records carry the caller's file (without extension), function and
// line, captured by the LOG_* macros below. Console lines carry the date; file lines only the time.
class Logger {
public:
    // Console destination plus a file under `logDirectory` (no file when that is empty or cannot
    // be opened: logging to the console alone is never a reason to stop). Records below
    // `consoleLevel` stay off the console; the file gets every level (command-line tools print
    // their own messages).
    static void setUp(const std::optional<std::filesystem::path>& logDirectory,
                      spdlog::level::level_enum consoleLevel = spdlog::level::trace);

    // $XDG_CACHE_HOME/lumeris (or ~/.cache/lumeris).
    static std::filesystem::path defaultLogDirectory();

    // The open log file, if any.
    static std::optional<std::filesystem::path> logFile();

    // Formats one record the way the console (withDate) or the file destination writes it,
    // without colour markers. Exposed so the format can be tested.
    static std::string formatRecord(const spdlog::details::log_msg& msg, bool withDate);

    static void flush();
};

} // namespace lumeris

#define LUMERIS_LOG_AT(level, ...)                                                                 \
    ::spdlog::default_logger_raw()->log(::spdlog::source_loc{__FILE__, __LINE__, __func__}, level, \
                                        __VA_ARGS__)

#define LOG_VERBOSE(...) LUMERIS_LOG_AT(::spdlog::level::trace, __VA_ARGS__)
#define LOG_DEBUG(...) LUMERIS_LOG_AT(::spdlog::level::debug, __VA_ARGS__)
#define LOG_INFO(...) LUMERIS_LOG_AT(::spdlog::level::info, __VA_ARGS__)
#define LOG_WARNING(...) LUMERIS_LOG_AT(::spdlog::level::warn, __VA_ARGS__)
#define LOG_ERROR(...) LUMERIS_LOG_AT(::spdlog::level::err, __VA_ARGS__)
