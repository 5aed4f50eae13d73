#include "engine/fit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rainbow;

namespace {

/// A planner over ASCII text, one unit a character; spaces stand untagged when skipSpaces.
FitPlanner plannerFor(const std::string &text, int64_t fixedSize, bool skipSpaces)
{
    FitPlanner planner(fixedSize);
    for (const char c : text)
        planner.add(1, !(skipSpaces && c == ' '));
    return planner;
}

} // namespace

TEST(FitPlanner, SmallestGroupThatFits)
{
    // UBB: "[color=#RRGGBB]" and "[/color]" are 23 units around each tag's characters.
    const struct {
        const char *name;
        std::string text;
        bool skipSpaces;
        int64_t limit;
        int64_t groupSize;
        int64_t size;
    } cases[] = {
        { "every character keeps its tag", "ABCDEFGHIJ", false, 240, 1, 240 },
        { "one unit short: pairs", "ABCDEFGHIJ", false, 239, 2, 125 },
        { "pairs just fit", "ABCDEFGHIJ", false, 125, 2, 125 },
        { "threes: four tags, the last of one character", "ABCDEFGHIJ", false, 124, 3, 102 },
        { "one tag for all", "ABCDEFGHIJ", false, 33, 10, 33 },
        { "spaces are characters like any other", "AB CD", false, 5 + 23 * 3, 2, 74 },
        // Breaks after coloured characters 2, 4, 6, 8, 10: pairs end where the spaces are (6
        // tags, 155 units), threes split four of their tags (8 tags, 201), fours fit again (6),
        // fives do not (7). The smallest k is 2, where a bisection between 1 and 12 would answer 6.
        { "breaks make the count of tags jump", "AB CD EF GH IJ KL", true, 155, 2, 155 },
        { "the first k is taken even when a larger one is as short", "AB CD EF GH IJ KL", true, 180, 2, 155 },
        { "spaces at the ends split nothing", "  ABCD  ", true, 4 + 4 + 23, 4, 31 },
        { "a run of spaces is one break", "AB   CD", true, 7 + 23 * 2, 2, 53 },
        { "no coloured character", "   ", true, 3, 1, 3 },
        { "nothing at all", "", false, 0, 1, 0 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto plan = plannerFor(c.text, 23, c.skipSpaces).plan(c.limit);
        ASSERT_TRUE(std::holds_alternative<FitPlanner::Fit>(plan));
        EXPECT_EQ(std::get<FitPlanner::Fit>(plan).groupSize, c.groupSize);
        EXPECT_EQ(std::get<FitPlanner::Fit>(plan).size, c.size);
    }
}

TEST(FitPlanner, NamesTheSizeNeededWhenNothingFits)
{
    const struct {
        const char *name;
        std::string text;
        bool skipSpaces;
        int64_t limit;
        int64_t needed;
    } cases[] = {
        { "one tag is the least", "ABCDEFGHIJ", false, 32, 33 },
        { "each break keeps a tag of its own", "AB CD EF GH IJ KL", true, 154, 155 },
        { "untagged text alone too long", "   ", true, 2, 3 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto plan = plannerFor(c.text, 23, c.skipSpaces).plan(c.limit);
        ASSERT_TRUE(std::holds_alternative<FitPlanner::TooLong>(plan));
        EXPECT_EQ(std::get<FitPlanner::TooLong>(plan).needed, c.needed);
    }
}

TEST(FitPlanner, SizesCountEachCharactersOwnUnits)
{
    FitPlanner planner(10);
    planner.add(3, true); // a CJK character in UTF-8
    planner.add(4, true); // "&lt;" escaped
    planner.add(1, false);
    planner.add(1, true);
    EXPECT_EQ(planner.sizeFor(1), 9 + 3 * 10);
    EXPECT_EQ(planner.sizeFor(2), 9 + 2 * 10);
    EXPECT_EQ(planner.sizeFor(3), 9 + 2 * 10) << "the space splits the one group";
}

// A long text of single words: the search stays near-linear (no time is asserted, but a quadratic
// search would make this test crawl).
TEST(FitPlanner, ManyCharacters)
{
    FitPlanner planner(23);
    for (int i = 0; i < 1000000; ++i)
        planner.add(1, i % 7 != 6);
    const auto plan = planner.plan(1000000 + 23 * 200000);
    ASSERT_TRUE(std::holds_alternative<FitPlanner::Fit>(plan));
    const int64_t k = std::get<FitPlanner::Fit>(plan).groupSize;
    EXPECT_LE(planner.sizeFor(k), 1000000 + 23 * 200000);
    EXPECT_GT(planner.sizeFor(k - 1), 1000000 + 23 * 200000);
}

// Each group size counted against the tags written out one by one: a coloured character opens a tag
// where its group starts or where untagged characters stand before it. Texts with few and with many
// breaks take both ways of counting.
TEST(FitPlanner, SizesAgreeWithTheTagsWrittenOut)
{
    for (const int untaggedEvery : { 2, 3, 50 }) {
        SCOPED_TRACE(untaggedEvery);
        FitPlanner planner(10);
        std::vector<bool> breakBefore; // for each coloured character
        bool untaggedSince = false;
        for (int i = 0; i < 600; ++i) {
            const bool colored = i % untaggedEvery != 0 || i % 7 == 0;
            planner.add(1, colored);
            if (colored)
                breakBefore.push_back(untaggedSince && !breakBefore.empty());
            untaggedSince = !colored;
        }
        for (int64_t k = 1; k <= int64_t(breakBefore.size()); ++k) {
            int64_t tags = 0;
            for (std::size_t c = 0; c < breakBefore.size(); ++c)
                tags += c % std::size_t(k) == 0 || breakBefore[c] ? 1 : 0;
            ASSERT_EQ(planner.sizeFor(k), 600 + 10 * tags) << "k = " << k;
        }
    }
}

// Merged, neighbouring groups of one colour share a tag: the size counts the tags left, and a
// break inside a merged tag still splits it.
TEST(FitPlanner, MergedGroupsOfOneColourShareATag)
{
    const RgbTriple black { 0, 0, 0 }, blue { 0, 0, 1 };
    FitPlanner planner = plannerFor("abcdefghij", 23, false);
    planner.mergeColors({ { black, 5 }, { blue, 5 } });
    EXPECT_EQ(planner.sizeFor(1), 10 + 2 * 23);
    EXPECT_EQ(planner.sizeFor(2), 10 + 2 * 23); // a c e | g i: abcdef and ghij
    const auto plan = planner.plan(200);
    ASSERT_TRUE(std::holds_alternative<FitPlanner::Fit>(plan));
    EXPECT_EQ(std::get<FitPlanner::Fit>(plan).groupSize, 1);

    FitPlanner spaced = plannerFor("ab cd", 23, true);
    spaced.mergeColors({ { black, 4 } });
    EXPECT_EQ(spaced.sizeFor(1), 5 + 2 * 23);
}
