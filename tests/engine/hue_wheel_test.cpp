#include "engine/hue_wheel.h"

#include "tests/support/reference_colors.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

using namespace rainbow;
using rainbow::test::GetIColor;

namespace {

RgbTriple wheel(int32_t iColor, int32_t i, int32_t l)
{
    RgbTriple rainbowColor { 1, 2, 3 };
    const PackedColor packed = GetIColor(iColor, i, l, rainbowColor);
    EXPECT_EQ(packed, packColor(rainbowColor)); // the result and the hand-over agree
    return rainbowColor;
}

struct WheelCase {
    const char *name;
    int32_t iColor, i, l;
    RgbTriple expected;
};

} // namespace

TEST(GetIColor, WheelsOfSixAndTwelve)
{
    const RgbTriple six[]
        = { { 255, 255, 0 }, { 0, 255, 0 }, { 0, 255, 255 }, { 0, 0, 255 }, { 255, 0, 255 }, { 255, 0, 0 } };
    for (int32_t i = 1; i <= 6; ++i)
        EXPECT_EQ(wheel(0, i, 6), six[i - 1]) << "l = 6, i = " << i;

    const RgbTriple twelve[] = { { 255, 128, 0 }, { 255, 255, 0 }, { 128, 255, 0 }, { 0, 255, 0 },
        { 0, 255, 128 }, { 0, 255, 255 }, { 0, 128, 255 }, { 0, 0, 255 }, { 128, 0, 255 }, { 255, 0, 255 },
        { 255, 0, 128 }, { 255, 0, 0 } };
    for (int32_t i = 1; i <= 12; ++i)
        EXPECT_EQ(wheel(0, i, 12), twelve[i - 1]) << "l = 12, i = " << i;
}

TEST(GetIColor, EdgeCases)
{
    const WheelCase cases[] = {
        { "7 behaves as 6: position 7 wraps to position 1", 0, 7, 7, { 255, 255, 0 } },
        { "13 behaves as 12: position 13 wraps to position 1", 0, 13, 13, { 255, 128, 0 } },
        { "l = 36, 42.5 rounds to even 42", 0, 1, 36, { 255, 42, 0 } },
        { "l = 36, position 5", 0, 5, 36, { 255, 212, 0 } },
        { "l = 36, position 7", 0, 7, 36, { 212, 255, 0 } },
        { "l = 84, single-precision step gives 127 not 128", 0, 7, 84, { 255, 127, 0 } },
        { "l = 84, position 35", 0, 35, 84, { 0, 255, 127 } },
        { "l = 108, single-precision step gives 43 not 42", 0, 3, 108, { 255, 43, 0 } },
        { "a bound belongs to the earlier sector", 0, 2, 12, { 255, 255, 0 } },
        { "an offset turns the wheel", 3, 1, 12, { 0, 255, 0 } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(wheel(c.iColor, c.i, c.l), c.expected);
    }
}

TEST(GetIColor, NegativeSumKeepsTheLastColour)
{
    RgbTriple rainbowColor { 10, 20, 30 };
    EXPECT_EQ(GetIColor(-5, 1, 12, rainbowColor), packColor({ 10, 20, 30 }));
    EXPECT_EQ(rainbowColor, (RgbTriple { 10, 20, 30 }));
}

TEST(GetIColor, ErrorsLeaveTheHandOverAlone)
{
    for (int32_t l : { 0, 1, 5, -6 }) {
        RgbTriple rainbowColor { 10, 20, 30 };
        EXPECT_THROW(GetIColor(0, 1, l, rainbowColor), std::domain_error) << l;
        EXPECT_EQ(rainbowColor, (RgbTriple { 10, 20, 30 }));
    }
    RgbTriple rainbowColor {};
    EXPECT_THROW(GetIColor(std::numeric_limits<int32_t>::max(), 1, 12, rainbowColor), std::overflow_error);
    EXPECT_THROW(GetIColor(0, 1, std::numeric_limits<int32_t>::max(), rainbowColor), std::overflow_error);
}

// Sizes are cut to a multiple of 6 before 5 × size is checked against 32 bits.
TEST(HueWheel, ChecksTheReducedSizeForOverflow)
{
    for (int32_t size : { 429'496'728, 429'496'730, 429'496'733 })
        EXPECT_EQ(HueWheel(size).size(), 429'496'728) << size;
    EXPECT_THROW(HueWheel(429'496'734), std::overflow_error);
}

// Every position of every wheel up to a few thousand stays a saturated colour: one component
// 255, one 0, the third in range.
TEST(HueWheel, EveryColourIsFullySaturated)
{
    for (int32_t l = 6; l < 3000; l += 7) {
        const HueWheel hues(l);
        for (int32_t c = 0; c <= hues.size(); ++c) {
            const RgbTriple color = *hues.colorAt(c);
            const int16_t parts[] = { color.red, color.green, color.blue };
            int full = 0, none = 0;
            for (int16_t part : parts) {
                ASSERT_GE(part, 0);
                ASSERT_LE(part, 255);
                full += part == 255;
                none += part == 0;
            }
            ASSERT_GE(full, 1) << l << " " << c;
            ASSERT_GE(none, 1) << l << " " << c;
        }
    }
}

// The spans must colour each character as GetIColor does, for either direction, any turn of the
// wheel (negative sums included, where the colour before carries on) and the wrap past the end.
TEST(RainbowSpans, AgreeWithTheWheelCharacterByCharacter)
{
    const RgbTriple before { 1, 2, 3 };
    for (int32_t length : { 6, 7, 11, 12, 13, 36, 84, 108, 1000, 1537, 20000 }) {
        const HueWheel wheel(length);
        for (int32_t colorStart : { 0, 5, -3, -length - 2, -3 * length, 100000 }) {
            for (bool inOrder : { true, false }) {
                SCOPED_TRACE(testing::Message() << "length " << length << " colorStart " << colorStart
                                                << (inOrder ? " in order" : " backward"));
                RainbowSpans spans(wheel, length, inOrder, colorStart, before);
                RgbTriple expected = before;
                int32_t j = 1;
                for (ColorSpan span; spans.next(span);) {
                    ASSERT_GE(span.count, 1);
                    for (int64_t i = 0; i < span.count; ++i, ++j) {
                        const int32_t position = inOrder ? j : length - j + 1;
                        GetIColor(colorStart, position, length, expected);
                        ASSERT_EQ(span.color, expected) << "character " << j;
                    }
                    EXPECT_EQ(spans.last(), expected);
                }
                EXPECT_EQ(j, length + 1);
            }
        }
    }
}

TEST(RainbowSpans, ALongSegmentTakesAboutOneSpanPerColour)
{
    const int32_t length = 10'000'000;
    RainbowSpans spans(HueWheel(length), length, false, 0, {});
    int spanCount = 0;
    for (ColorSpan span; spans.next(span);)
        ++spanCount;
    EXPECT_LE(spanCount, 6 * 256 + 6); // six sectors of 256 values, split at their bounds
}

TEST(RainbowSpans, OverflowIsRefusedBeforeTheFirstSpan)
{
    const int32_t max = std::numeric_limits<int32_t>::max();
    EXPECT_THROW(RainbowSpans(HueWheel(12), 12, true, max - 11, {}), std::overflow_error);
    EXPECT_NO_THROW(RainbowSpans(HueWheel(12), 12, false, max - 12, {}));
}
