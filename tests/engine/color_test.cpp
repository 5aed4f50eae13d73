#include "engine/color.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <random>
#include <stdexcept>

using namespace rainbow;

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour)
{
    const struct {
        double x;
        double expected;
    } cases[] = { { 2.5, 2 }, { 3.5, 4 }, { 14.5, 14 }, { 15.5, 16 }, { 127.5, 128 }, { 191.5, 192 },
        { 15.3, 15 }, { 239.7, 240 }, { 0.5, 0 }, { -0.5, -0 }, { -1.5, -2 }, { -2.5, -2 }, { 254.49, 254 },
        { 2.7, 3 }, { -2.7, -3 }, { 1e20, 1e20 }, { 4503599627370497.0, 4503599627370497.0 } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(roundHalfEven(c.x), c.expected);
    }
}

TEST(HexByte, IsTwoUppercaseDigits)
{
    const struct {
        int value;
        const char *expected;
    } cases[] = { { 0, "00" }, { 10, "0A" }, { 15, "0F" }, { 16, "10" }, { 171, "AB" }, { 255, "FF" } };
    for (const auto &c : cases)
        EXPECT_EQ(HexByte(c.value), c.expected) << c.value;
}

TEST(HexByte, RefusesValuesOutsideAComponent)
{
    EXPECT_THROW(HexByte(-1), std::out_of_range);
    EXPECT_THROW(HexByte(256), std::out_of_range);
}

TEST(GradientComponent, WorkedValues)
{
    const struct {
        const char *name;
        int16_t start, end;
        int32_t k, n;
        int16_t expected;
    } cases[] = {
        { "tie 2.5 goes down to even", 0, 5, 1, 2, 2 },
        { "tie 3.5 goes up to even", 0, 7, 1, 2, 4 },
        { "falling tie 127.5 goes to 128", 255, 0, 1, 2, 128 },
        { "15 1/3 rounds down", 0, 46, 1, 3, 15 },
        { "15.5 rounds to 16", 0, 31, 1, 2, 16 },
        { "k = 0 is the start", 17, 200, 0, 9, 17 },
        { "k = n is the end", 17, 200, 9, 9, 200 },
        { "bar column 128, red", 0, 255, 128, 255, 128 },
        { "bar column 128, green", 255, 0, 128, 255, 127 },
        { "bar column 128, blue", 255, 128, 128, 255, 191 },
        { "product past 32 bits", 0, 255, 2000000000, 2100000000, 243 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GradientComponent(c.start, c.end, c.k, c.n), c.expected);
    }
}

TEST(GradientComponent, EqualEndsGiveThatComponentEverywhere)
{
    for (int32_t n : { 1, 2, 7, 255 })
        for (int32_t k = 0; k <= n; ++k)
            EXPECT_EQ(GradientComponent(77, 77, k, n), 77);
}

TEST(GradientComponent, DefaultColoursOverFourCharacters)
{
    const RgbTriple start { 0, 255, 255 }, end { 255, 0, 128 };
    const RgbTriple expected[] = { { 64, 191, 223 }, { 128, 128, 192 }, { 191, 64, 160 }, { 255, 0, 128 } };
    for (int32_t k = 1; k <= 4; ++k) {
        const RgbTriple got { GradientComponent(start.red, end.red, k, 4),
            GradientComponent(start.green, end.green, k, 4), GradientComponent(start.blue, end.blue, k, 4) };
        EXPECT_EQ(got, expected[k - 1]) << "k = " << k;
    }
}

TEST(GradientComponent, ZeroStepsIsADivisionByZero)
{
    EXPECT_THROW(GradientComponent(0, 255, 0, 0), std::domain_error);
}

TEST(PackedColor, SplitsAndPacks)
{
    EXPECT_EQ(SplitPackedColor(0), (std::array<int32_t, 3> { 0, 0, 0 }));
    EXPECT_EQ(SplitPackedColor(16777215), (std::array<int32_t, 3> { 255, 255, 255 }));
    EXPECT_EQ(SplitPackedColor(33023), (std::array<int32_t, 3> { 255, 128, 0 }));
    EXPECT_EQ(packColor({ 255, 128, 0 }), 33023);
    // Truncating division keeps the sign of a negative colour in every part.
    for (int32_t part : SplitPackedColor(-70000))
        EXPECT_LE(part, 0);
}

TEST(PackedColor, PackAndSplitAreInverse)
{
    for (int red = 0; red < 256; red += 15)
        for (int green = 0; green < 256; green += 17)
            for (int blue = 0; blue < 256; blue += 5) {
                const RgbTriple color { int16_t(red), int16_t(green), int16_t(blue) };
                ASSERT_EQ(unpackColor(packColor(color)), color);
            }
}
