#pragma once

#include "settings/SettingKeys.h"

#include <array>
#include <string>
#include <vector>

namespace lumeris {

class SettingsStore;

// The four kinds of sensitive text that auto-redaction looks for, each switched by a setting.
struct RedactionRule {
    SettingKey setting;
    // ICU syntax, compiled case-insensitive.
    const char* pattern;
    // What the pattern's text may look like once misread: characters the engine confuses with
    // digits, "@" read as a sign, separators read as others. A line that holds the shape but no
    // match is read a second time.
    const char* shape;
    // A shape match counts with at least this many digits and characters other than spaces.
    int shapeDigits;
    int shapeLength;
};

class RedactionRules {
public:
    static constexpr RedactionRule EMAILS{SettingKeys::AUTO_REDACT_EMAILS,
                                          "[A-Z0-9a-z._%+-]+@[A-Za-z0-9.-]+\\.[A-Za-z]{2,6}",
                                          "[^\\s@©®]+ ?[@©®] ?[^\\s@]+[.,][^\\s@]{2,}", 0, 0};
    static constexpr RedactionRule CREDIT_CARDS{SettingKeys::AUTO_REDACT_CREDIT_CARDS,
                                                "([0-9]{3,6}[- ]){3}([0-9]{3,6})?",
                                                "\\b[0-9OIlSBZ](?:[- ]?[0-9OIlSBZ]){11,}\\b", 9, 0};
    static constexpr RedactionRule IP_ADDRESSES{
        SettingKeys::AUTO_REDACT_IP_ADDRESSES,
        "([0-9]{1,3}\\.[0-9]{1,3}\\.[0-9]{1,3}\\.[0-9]{1,3})|(([a-f0-9:]+:+)+[a-f0-9]+)",
        "\\b[0-9OIl]{1,3}(?:[.,:;] ?[0-9OIl]{1,3}){3}\\b", 4, 0};
    // A key may be read with a bracket or a bar for a letter, or split by a space: runs of key
    // characters holding a digit each, joined by single spaces.
    static constexpr RedactionRule API_KEYS{SettingKeys::AUTO_REDACT_API_KEYS,
                                            "[A-Za-z0-9-_/]{32,}",
                                            "(?=\\S*[0-9])[A-Za-z0-9_/|.\\[\\]!(){}-]{4,}(?: "
                                            "(?=\\S*[0-9])[A-Za-z0-9_/|.\\[\\]!(){}-]{4,})*",
                                            2, 26};

    // In the order their rectangles are listed.
    static constexpr std::array<RedactionRule, 4> ALL{EMAILS, CREDIT_CARDS, IP_ADDRESSES, API_KEYS};

    // The patterns of the switched-on rules, in order. A rule whose setting is missing counts as
    // on.
    static std::vector<std::string> activePatterns(const SettingsStore& settings);

    // The rule a pattern belongs to, or none for other patterns.
    static const RedactionRule* ruleOf(const std::string& pattern);
};

} // namespace lumeris
