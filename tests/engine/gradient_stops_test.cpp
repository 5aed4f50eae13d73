#include "engine/gradient_stops.h"
#include "engine/hue_wheel.h"

#include "tests/support/color_printer.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

using namespace rainbow;

namespace {

std::vector<RgbTriple> allColors(ColorSpanSource &spans)
{
    std::vector<RgbTriple> colors;
    for (ColorSpan span; spans.next(span);) {
        EXPECT_GE(span.count, 1);
        colors.insert(colors.end(), std::size_t(span.count), span.color);
    }
    return colors;
}

std::vector<std::string> hexCodes(const std::vector<RgbTriple> &colors)
{
    std::vector<std::string> codes;
    for (const RgbTriple &c : colors)
        codes.push_back(HexByte(c.red) + HexByte(c.green) + HexByte(c.blue));
    return codes;
}

RgbTriple randomColor(std::mt19937 &random)
{
    std::uniform_int_distribution<int> component(0, 255);
    return { int16_t(component(random)), int16_t(component(random)), int16_t(component(random)) };
}

} // namespace

TEST(ColorRamp, RefusesBadStops)
{
    const RgbTriple red { 255, 0, 0 };
    EXPECT_THROW(ColorRamp({ red }, Blend::Rgb), std::invalid_argument);
    EXPECT_THROW(ColorRamp(std::vector<RgbTriple>(17, red), Blend::Rgb), std::invalid_argument);
    EXPECT_THROW(ColorRamp({ red, { 0, 256, 0 } }, Blend::Oklab), std::invalid_argument);
    EXPECT_NO_THROW(ColorRamp(std::vector<RgbTriple>(16, red), Blend::Hsv));
    const ColorRamp ramp({ red, red }, Blend::Rgb);
    EXPECT_THROW(ramp.colorAt(0, 0), std::domain_error);
    EXPECT_THROW(ramp.colorAt(3, 2), std::domain_error);
}

TEST(ColorRamp, HandCheckedColours)
{
    const RgbTriple black { 0, 0, 0 }, white { 255, 255, 255 }, red { 255, 0, 0 }, green { 0, 255, 0 },
        blue { 0, 0, 255 }, cyan { 0, 255, 255 };
    const struct {
        const char *name;
        std::vector<RgbTriple> stops;
        Blend blend;
        int64_t n;
        std::vector<std::string> expected;
    } cases[] = {
        { "three stops share four characters: the second lands on the middle stop", { red, green, blue },
            Blend::Rgb, 4, { "808000", "00FF00", "008080", "0000FF" } },
        { "fewer characters than segments skip stops", { black, red, green, blue, white }, Blend::Rgb, 2,
            { "00FF00", "FFFFFF" } },
        { "one character takes the last stop", { red, green, blue }, Blend::Oklab, 1, { "0000FF" } },
        { "rgb mixes red and cyan to grey", { red, cyan }, Blend::Rgb, 2, { "808080", "00FFFF" } },
        { "hsv: opposite hues turn counter-clockwise, through yellow and green", { red, cyan }, Blend::Hsv, 2,
            { "80FF00", "00FFFF" } },
        { "hsv: red to blue takes the shorter way, through magenta", { red, blue }, Blend::Hsv, 2,
            { "FF00FF", "0000FF" } },
        { "hsv: a grey takes its neighbour's hue", { white, red }, Blend::Hsv, 2, { "FF8080", "FF0000" } },
        { "oklab: the middle of black and white is lightness 0.5", { black, white }, Blend::Oklab, 2,
            { "636363", "FFFFFF" } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ColorRamp ramp(c.stops, c.blend);
        RampSpans spans(ramp, c.n, true);
        EXPECT_EQ(hexCodes(allColors(spans)), c.expected);
    }
}

// Two RGB stops are the window's gradient: every character gets GradientComponent's colour, ties
// included, in spans as long as they can be (a shorter span would still colour correctly but cost
// a search per character). Short texts take the stepping path, long ones the search for runs.
TEST(StopGradientSpans, TwoRgbStopsGiveTheWindowsColoursInMaximalSpans)
{
    std::mt19937 random(7);
    std::vector<std::tuple<RgbTriple, RgbTriple, int32_t>> cases {
        { { 0, 255, 255 }, { 255, 0, 128 }, 2 }, // 127.5 and 191.5: ties
        { { 255, 0, 1 }, { 0, 255, 0 }, 510 },
    };
    for (const int32_t n : { 1, 2, 3, 4, 5, 50, 254, 255, 256, 510, 1000, 4096, 4097, 65537 })
        for (int trial = 0; trial < 20; ++trial) {
            const RgbTriple start = randomColor(random);
            cases.emplace_back(start, trial == 0 ? start : randomColor(random), n);
        }
    for (int i = 0; i < 300; ++i)
        cases.emplace_back(randomColor(random), randomColor(random),
            std::uniform_int_distribution<int32_t>(1, 5000)(random));
    for (const auto &[start, end, n] : cases) {
        SCOPED_TRACE(testing::Message() << "n " << n << " from " << testing::PrintToString(start) << " to "
                                        << testing::PrintToString(end));
        const ColorRamp ramp({ start, end }, Blend::Rgb);
        StopGradientSpans spans(ramp, n, false, false);
        int32_t k = 1;
        std::optional<RgbTriple> previous;
        for (ColorSpan span; spans.next(span);) {
            ASSERT_GE(span.count, 1);
            ASSERT_NE(span.color, previous) << "k " << k;
            previous = span.color;
            for (int64_t i = 0; i < span.count; ++i, ++k) {
                ASSERT_EQ(span.color,
                    (RgbTriple { GradientComponent(start.red, end.red, k, n),
                        GradientComponent(start.green, end.green, k, n),
                        GradientComponent(start.blue, end.blue, k, n) }))
                    << "k " << k;
            }
        }
        EXPECT_EQ(k, n + 1);
    }
}

TEST(StopGradientSpans, TheLongestTextTakesOneSpanPerColour)
{
    const ColorRamp ramp({ { 0, 0, 0 }, { 255, 0, 0 } }, Blend::Rgb);
    StopGradientSpans spans(ramp, std::numeric_limits<int32_t>::max(), false, false);
    int64_t characters = 0;
    int spanCount = 0;
    for (ColorSpan span; spans.next(span); ++spanCount)
        characters += span.count;
    EXPECT_EQ(characters, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(spanCount, 256);
}

// The spans must give every character exactly the ramp's colour of its position, through every
// turn of a blend, and stay few: a long text costs a few evaluations per colour, not per character.
TEST(RampSpans, GiveEveryCharacterItsColourInFewSpans)
{
    std::mt19937 random(5);
    std::uniform_int_distribution<int> stopCount(2, 5);
    for (const Blend blend : { Blend::Rgb, Blend::Hsv, Blend::Oklab }) {
        for (const int64_t n : { 1, 2, 5, 17, 100, 999, 20000 }) {
            for (int trial = 0; trial < 12; ++trial) {
                std::vector<RgbTriple> stops(std::size_t(stopCount(random)));
                for (RgbTriple &stop : stops)
                    stop = randomColor(random);
                const bool inOrder = trial % 2 == 0;
                SCOPED_TRACE(testing::Message() << blendName(blend) << " n " << n << " trial " << trial);
                const ColorRamp ramp(stops, blend);
                RampSpans spans(ramp, n, inOrder);
                int64_t i = 1, spanCount = 0;
                for (ColorSpan span; spans.next(span); ++spanCount) {
                    ASSERT_GE(span.count, 1);
                    for (int64_t j = 0; j < span.count; ++j, ++i)
                        ASSERT_EQ(span.color, ramp.colorAt(inOrder ? i : n - i + 1, n)) << "character " << i;
                }
                EXPECT_EQ(i, n + 1);
                // Each component can take each of its 256 values at most once per monotone piece.
                EXPECT_LE(spanCount, int64_t(stops.size() - 1) * 3 * 256 * 8);
            }
        }
    }
}

// Along this OKLab line green goes from 3B up to 3C and back while red falls: spans that did not
// stop where green turns would take some 3C characters for 3B ones.
TEST(RampSpans, StopWhereAComponentTurns)
{
    const ColorRamp ramp({ { 0xF2, 0x3B, 0x5C }, { 0xB7, 0x3C, 0x5C } }, Blend::Oklab);
    for (int64_t n = 300; n <= 440; ++n) {
        RampSpans spans(ramp, n, true);
        int64_t k = 1;
        for (ColorSpan span; spans.next(span);)
            for (int64_t j = 0; j < span.count; ++j, ++k)
                ASSERT_EQ(span.color, ramp.colorAt(k, n)) << "n " << n << " character " << k;
    }
}

TEST(RampSpans, AMillionCharactersTakeFewSpans)
{
    const ColorRamp ramp({ { 255, 0, 0 }, { 0, 0, 255 } }, Blend::Oklab);
    RampSpans spans(ramp, 1000000, true);
    int64_t count = 0, characters = 0;
    for (ColorSpan span; spans.next(span); ++count)
        characters += span.count;
    EXPECT_EQ(characters, 1000000);
    EXPECT_LT(count, 3 * 256);
}

TEST(SymmetricHalf, RoundsHalfToEven)
{
    const std::pair<int64_t, int64_t> cases[]
        = { { 0, 0 }, { 1, 0 }, { 2, 1 }, { 3, 2 }, { 12, 6 }, { 13, 6 }, { 14, 7 }, { 15, 8 } };
    for (const auto &[n, h] : cases)
        EXPECT_EQ(symmetricHalf(n), h) << n;
}

TEST(StopGradientSpans, LayoutsOfTheCheckBoxes)
{
    // Red from 0 to 60: each character's red component shows its place on the ramp.
    const ColorRamp ramp({ { 0, 0, 0 }, { 60, 0, 0 } }, Blend::Rgb);
    const struct {
        const char *name;
        int64_t n;
        bool reverse, symmetric;
        std::vector<int> reds;
    } cases[] = {
        { "plain", 6, false, false, { 10, 20, 30, 40, 50, 60 } },
        { "reverse mirrors the colours", 6, true, false, { 60, 50, 40, 30, 20, 10 } },
        { "symmetric: there and back", 12, false, true, { 10, 20, 30, 40, 50, 60, 60, 50, 40, 30, 20, 10 } },
        { "symmetric, 13: mirrored about the middle character", 13, false, true,
            { 9, 17, 26, 34, 43, 51, 60, 51, 43, 34, 26, 17, 9 } },
        { "symmetric and reversed", 12, true, true, { 60, 50, 40, 30, 20, 10, 10, 20, 30, 40, 50, 60 } },
        { "symmetric, 1: the middle alone", 1, false, true, { 60 } },
        { "symmetric, 3: the middle takes the end", 3, false, true, { 30, 60, 30 } },
        { "symmetric and reversed, 5: the middle takes the first step", 5, true, true,
            { 60, 40, 20, 40, 60 } },
        { "no characters", 0, true, true, {} },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        StopGradientSpans spans(ramp, c.n, c.reverse, c.symmetric);
        std::vector<int> reds;
        for (const RgbTriple &color : allColors(spans))
            reds.push_back(color.red);
        EXPECT_EQ(reds, c.reds);
    }
}
