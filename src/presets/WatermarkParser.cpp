#include "presets/WatermarkParser.h"

#include "base/Logger.h"

#include <memory>
#include <mutex>
#include <unicode/regex.h>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>
#include <vector>

namespace lumeris {

namespace {

std::vector<icu::UnicodeString> splitDroppingEmpty(const icu::UnicodeString& text) {
    std::vector<icu::UnicodeString> pieces;
    int32_t start = 0;
    while (start <= text.length()) {
        int32_t end = text.indexOf(u':', start);
        if (end < 0) {
            end = text.length();
        }
        if (end > start) {
            pieces.emplace_back(text, start, end - start);
        }
        start = end + 1;
    }
    return pieces;
}

// One formatter for the process (current locale and time zone), made on first use.
class SharedDateFormatter {
public:
    static icu::UnicodeString format(const icu::UnicodeString& pattern, UDate date) {
        static SharedDateFormatter shared;
        std::lock_guard lock(shared.mutex_);
        if (!shared.formatter_) {
            return pattern;
        }
        shared.formatter_->applyPattern(pattern);
        icu::UnicodeString result;
        shared.formatter_->format(date, result);
        return result;
    }

private:
    SharedDateFormatter() {
        UErrorCode status = U_ZERO_ERROR;
        formatter_ = std::make_unique<icu::SimpleDateFormat>(status);
        if (U_FAILURE(status)) {
            LOG_ERROR("Cannot create a date formatter: {}", u_errorName(status));
            formatter_.reset();
        }
    }
    std::mutex mutex_;
    std::unique_ptr<icu::SimpleDateFormat> formatter_;
};

bool isDateKind(const icu::UnicodeString& kind) {
    return kind == u"date" || kind == u"time" || kind == u"datetime";
}

} // namespace

std::string WatermarkParser::parse(const std::string& text,
                                   std::chrono::system_clock::time_point date) {
    static const icu::UnicodeString expression(u"(?<=\\{)(.*?)(?=\\})");
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexPattern> pattern(icu::RegexPattern::compile(expression, 0, status));
    if (U_FAILURE(status)) {
        return text;
    }
    icu::UnicodeString input = icu::UnicodeString::fromUTF8(text);
    std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(input, status));
    if (U_FAILURE(status)) {
        return text;
    }

    UDate when = static_cast<UDate>(
        std::chrono::duration_cast<std::chrono::milliseconds>(date.time_since_epoch()).count());
    icu::UnicodeString result = input;
    bool matched = false;
    while (matcher->find(status) && U_SUCCESS(status)) {
        matched = true;
        icu::UnicodeString content = matcher->group(1, status);
        auto pieces = splitDroppingEmpty(content);
        if (pieces.size() < 2 || !isDateKind(pieces[0])) {
            continue;
        }
        icu::UnicodeString format = pieces[1];
        for (size_t index = 2; index < pieces.size(); ++index) {
            format += u':';
            format += pieces[index];
        }
        icu::UnicodeString variable = icu::UnicodeString(u"{") + content + u"}";
        result.findAndReplace(variable, SharedDateFormatter::format(format, when));
    }
    if (!matched) {
        return text;
    }
    std::string expanded;
    result.toUTF8String(expanded);
    return expanded;
}

} // namespace lumeris
