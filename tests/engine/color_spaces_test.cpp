#include "engine/color_spaces.h"

#include "tests/support/color_printer.h"

#include <gtest/gtest.h>

using namespace rainbow;

namespace {

/// The colour #RGB of a three-digit code 0x000..0xFFF.
RgbTriple shortHexColor(int code)
{
    return { int16_t((code >> 8) * 17), int16_t(((code >> 4) & 15) * 17), int16_t((code & 15) * 17) };
}

} // namespace

// Björn Ottosson's published OKLab coordinates of the sRGB primaries and white, to three places.
TEST(Oklab, MatchesThePublishedValues)
{
    const struct {
        const char *name;
        RgbTriple color;
        Oklab expected;
    } cases[] = {
        { "white", { 255, 255, 255 }, { 1.000, 0.000, 0.000 } },
        { "red", { 255, 0, 0 }, { 0.628, 0.225, 0.126 } },
        { "green", { 0, 255, 0 }, { 0.866, -0.234, 0.179 } },
        { "blue", { 0, 0, 255 }, { 0.452, -0.032, -0.312 } },
        { "black", { 0, 0, 0 }, { 0.000, 0.000, 0.000 } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Oklab lab = toOklab(c.color);
        EXPECT_NEAR(lab.L, c.expected.L, 5e-4);
        EXPECT_NEAR(lab.a, c.expected.a, 5e-4);
        EXPECT_NEAR(lab.b, c.expected.b, 5e-4);
        EXPECT_EQ(fromOklab(lab), c.color);
    }
}

TEST(Oklab, RoundTripKeepsEveryShortHexColour)
{
    for (int code = 0; code < 4096; ++code)
        ASSERT_EQ(fromOklab(toOklab(shortHexColor(code))), shortHexColor(code)) << "#" << std::hex << code;
}

TEST(Oklab, OutOfGamutColoursAreClamped)
{
    const struct {
        const char *name;
        Oklab lab;
        RgbTriple expected;
    } cases[] = {
        { "lighter than white", { 1.5, 0, 0 }, { 255, 255, 255 } },
        { "darker than black", { -0.2, 0, 0 }, { 0, 0, 0 } },
        // Half-way lightness is linear light 1/8, encoded 0.3886: 99.09 of 255.
        { "half-way lightness", { 0.5, 0, 0 }, { 99, 99, 99 } },
        { "redder than red", { 0.63, 0.4, 0.126 }, { 255, 0, 0 } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fromOklab(c.lab), c.expected);
    }
}

TEST(SrgbCurve, IsContinuousAndInverts)
{
    EXPECT_EQ(srgbToLinear(0), 0);
    EXPECT_DOUBLE_EQ(srgbToLinear(1), 1);
    EXPECT_NEAR(srgbToLinear(0.5), 0.214041, 1e-6);
    // The straight piece and the power piece meet at the knee.
    EXPECT_NEAR(0.04045 / 12.92, std::pow((0.04045 + 0.055) / 1.055, 2.4), 1e-7);
    for (double x = 0; x <= 1; x += 1.0 / 64)
        EXPECT_NEAR(linearToSrgb(srgbToLinear(x)), x, 1e-12) << x;
}

TEST(Hsv, OfNamedColours)
{
    const struct {
        const char *name;
        RgbTriple color;
        Hsv expected;
    } cases[] = {
        { "red", { 255, 0, 0 }, { 0, 1, 1 } },
        { "yellow", { 255, 255, 0 }, { 60, 1, 1 } },
        { "cyan", { 0, 255, 255 }, { 180, 1, 1 } },
        { "magenta", { 255, 0, 255 }, { 300, 1, 1 } },
        { "pink just short of red", { 255, 0, 51 }, { 348, 1, 1 } },
        { "dark half-saturated blue", { 51, 51, 102 }, { 240, 0.5, 0.4 } },
        { "grey has no hue", { 128, 128, 128 }, { 0, 0, 128 / 255.0 } },
        { "black", { 0, 0, 0 }, { 0, 0, 0 } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Hsv hsv = toHsv(c.color);
        EXPECT_NEAR(hsv.hue, c.expected.hue, 1e-9);
        EXPECT_NEAR(hsv.saturation, c.expected.saturation, 1e-9);
        EXPECT_NEAR(hsv.value, c.expected.value, 1e-9);
    }
}

TEST(Hsv, BackToRgb)
{
    const struct {
        const char *name;
        Hsv hsv;
        RgbTriple expected;
    } cases[] = {
        { "orange: the half-way 127.5 goes to 128", { 30, 1, 1 }, { 255, 128, 0 } },
        { "chartreuse", { 90, 1, 1 }, { 128, 255, 0 } },
        { "a full turn is red again", { 360, 1, 1 }, { 255, 0, 0 } },
        { "a negative hue turns back", { -60, 1, 1 }, { 255, 0, 255 } },
        { "hue beyond two turns", { 720 + 240, 1, 1 }, { 0, 0, 255 } },
        { "no saturation is grey", { 200, 0, 0.5 }, { 128, 128, 128 } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fromHsv(c.hsv), c.expected);
    }
}

TEST(Hsv, RoundTripKeepsEveryShortHexColour)
{
    for (int code = 0; code < 4096; ++code)
        ASSERT_EQ(fromHsv(toHsv(shortHexColor(code))), shortHexColor(code)) << "#" << std::hex << code;
}
