#include "analysis/TokenRepair.h"

#include "analysis/TextRangeGeometry.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace lumeris;

namespace {

// A line from row 10 to 30 (20 high) on a white 200 × 40 page. At that height a rule is at most
// 2 rows thick and at least 4 columns long, and a sliver of a gap is under 2.4 columns.
constexpr int TOP = 10;
constexpr int BOTTOM = 30;

struct Page {
    GreyImage ink{200, 40, std::vector<std::uint8_t>(200 * 40, 255)};

    void fill(int left, int top, int right, int bottom) {
        for (int y = top; y < bottom; ++y) {
            std::fill_n(ink.pixels.begin() + y * ink.width + left, right - left, 0);
        }
    }
    // Letters: ink up to the middle of the line.
    void letters(int left, int right) { fill(left, TOP + 2, right, BOTTOM); }
    // A rule just under the line, as an underscore is drawn.
    void rule(int left, int right) { fill(left, BOTTOM, right, BOTTOM + 2); }
};

RecognisedLine::Word word(const std::string& text, int left, int right) {
    RecognisedLine::Word word;
    const int step = (right - left) / static_cast<int>(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int from = left + static_cast<int>(i) * step;
        const int to = i + 1 == text.size() ? right : from + step;
        word.symbols.push_back({std::string(1, text[i]), from, TOP, to, BOTTOM});
    }
    return word;
}

// Words drawn as letter blocks at their boxes.
RecognisedLine lineOf(Page& page, std::vector<RecognisedLine::Word> words) {
    RecognisedLine line{TOP, BOTTOM, std::move(words)};
    for (const auto& w : line.words) {
        page.letters(w.left(), w.right());
    }
    return line;
}

} // namespace

TEST(TokenRepairTest, SplitTokensAreJoinedAndWordBreaksKept) {
    const struct {
        const char* name;
        std::vector<RecognisedLine::Word> words;
        std::vector<std::pair<int, int>> rules;
        std::string expected;
    } cases[] = {
        {"a word space stays", {word("ab", 20, 40), word("cd", 52, 72)}, {}, "ab cd"},
        {"a sliver of a gap joins", {word("ab", 20, 40), word("cd", 42, 62)}, {}, "abcd"},
        {"a dropped underscore is put back",
         {word("ab", 20, 40), word("cd", 48, 68)},
         {{39, 49}},
         "ab_cd"},
        {"an underscore the engine read joins",
         {word("a_", 20, 40), word("cd", 52, 72)},
         {},
         "a_cd"},
        {"a foot beside the gap is no underscore",
         {word("a1", 20, 40), word("cd", 52, 72)},
         {{40, 44}},
         "a1 cd"},
        {"a gap well under the usual one joins",
         {word("ab", 20, 40), word("cd", 52, 72), word("ef", 84, 104), word("gh", 110, 130)},
         {},
         "ab cd efgh"},
    };
    for (const auto& c : cases) {
        Page page;
        RecognisedLine line = lineOf(page, c.words);
        for (const auto& [left, right] : c.rules) {
            page.rule(left, right);
        }
        TokenRepair::joinSplitTokens(page.ink, line);
        EXPECT_EQ(TextRangeGeometry::candidate(line, 200, 40).string(), c.expected) << c.name;
    }
}

TEST(TokenRepairTest, UnderscoresReachTheRuleBelowTheLine) {
    // Put back between words: the new symbol spans the gap, down past the rule.
    Page page;
    RecognisedLine between = lineOf(page, {word("ab", 20, 40), word("cd", 48, 68)});
    page.rule(39, 49);
    TokenRepair::joinSplitTokens(page.ink, between);
    const auto& inserted = between.words[1].symbols.front();
    EXPECT_EQ(std::tuple(inserted.left, inserted.top, inserted.right, inserted.bottom),
              std::tuple(40, TOP, 48, BOTTOM + 5));

    // Dropped inside one word: every symbol of the word reaches down over it, not the next word.
    Page inside;
    RecognisedLine line{TOP, BOTTOM, {word("abcd", 40, 80), word("ef", 100, 120)}};
    inside.letters(40, 50);
    inside.letters(70, 80);
    inside.rule(50, 70);
    inside.letters(100, 120);
    TokenRepair::joinSplitTokens(inside.ink, line);
    for (const auto& symbol : line.words[0].symbols) {
        EXPECT_EQ(symbol.bottom, BOTTOM + 5) << symbol.text;
    }
    EXPECT_EQ(line.words[1].symbols.front().bottom, BOTTOM);
}

TEST(TokenRepairTest, WordsStretchOverTheirInkButNotIntoTheNextWord) {
    const struct {
        const char* name;
        int inkLeft, inkRight;                  // as the engine measured the word
        std::vector<std::pair<int, int>> extra; // more ink columns
        int left, right;                        // the outer glyph edges after
    } cases[] = {
        {"boxes that fit stay", -1, -1, {}, 50, 80},
        {"the measured ink widens", 48, 83, {}, 48, 83},
        {"ink across letter gaps is followed", -1, -1, {{44, 47}, {83, 86}, {89, 90}}, 44, 90},
        {"a word space ends the reach", -1, -1, {{41, 45}, {85, 89}}, 50, 80},
    };
    for (const auto& c : cases) {
        Page page;
        RecognisedLine line = lineOf(page, {word("abc", 50, 80)});
        line.words[0].inkLeft = c.inkLeft;
        line.words[0].inkRight = c.inkRight;
        for (const auto& [left, right] : c.extra) {
            page.letters(left, right);
        }
        if (c.inkRight > c.inkLeft) {
            page.letters(c.inkLeft, c.inkRight);
        }
        TokenRepair::stretchWordsToInk(page.ink, line);
        EXPECT_EQ(std::pair(line.words[0].left(), line.words[0].right()),
                  std::pair(c.left, c.right))
            << c.name;
    }
}
