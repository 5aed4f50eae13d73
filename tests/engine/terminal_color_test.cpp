#include "engine/terminal_color.h"

#include "tests/support/color_printer.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace rainbow;

TEST(ColorDepth, FromTheOptionAndTheEnvironment)
{
    EXPECT_EQ(parseColorDepth("24"), ColorDepth::TrueColor);
    EXPECT_EQ(parseColorDepth("8"), ColorDepth::Palette256);
    for (const char *bad : { "", "16", "256", "24bit", " 8" })
        EXPECT_EQ(parseColorDepth(bad), std::nullopt) << bad;

    const struct {
        const char *colorterm;
        ColorDepth expected;
    } cases[] = { { "truecolor", ColorDepth::TrueColor }, { "24bit", ColorDepth::TrueColor },
        { nullptr, ColorDepth::Palette256 }, { "", ColorDepth::Palette256 },
        { "TRUECOLOR", ColorDepth::Palette256 }, { "yes", ColorDepth::Palette256 } };
    for (const auto &c : cases)
        EXPECT_EQ(colorDepthFromColorterm(c.colorterm), c.expected) << (c.colorterm ? c.colorterm : "unset");
}

TEST(Xterm256, NearestEntries)
{
    const struct {
        const char *name;
        RgbTriple color;
        int expected;
    } cases[] = {
        { "black is the cube's first", { 0, 0, 0 }, 16 },
        { "white is the cube's last", { 255, 255, 255 }, 231 },
        { "pure red", { 255, 0, 0 }, 196 },
        { "a cube colour exactly", { 95, 135, 175 }, 67 },
        { "components snap to their own levels", { 0, 128, 255 }, 33 },
        { "a grey exactly", { 128, 128, 128 }, 244 },
        { "near black is the darkest grey", { 10, 10, 10 }, 232 },
        { "the lightest grey", { 238, 238, 238 }, 255 },
        { "near white is the cube's white", { 250, 250, 250 }, 231 },
        { "a level tie goes down, then the grey is nearer", { 115, 115, 115 }, 243 },
        { "a level tie goes to the lower level", { 115, 0, 0 }, 52 },
        { "a cube-or-grey tie goes to the cube", { 4, 4, 4 }, 16 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(nearestXterm256(c.color), c.expected);
    }
}

// Against every palette entry, over a grid of colours with the level ties on it.
TEST(Xterm256, NoEntryIsNearer)
{
    const auto distance = [](const RgbTriple &a, const RgbTriple &b) {
        return (a.red - b.red) * (a.red - b.red) + (a.green - b.green) * (a.green - b.green)
            + (a.blue - b.blue) * (a.blue - b.blue);
    };
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5) {
                const RgbTriple color { int16_t(r), int16_t(g), int16_t(b) };
                int expected = 16;
                for (int i = 17; i < 256; ++i)
                    if (distance(color, xterm256Color(i)) < distance(color, xterm256Color(expected)))
                        expected = i;
                ASSERT_EQ(nearestXterm256(color), expected) << r << ' ' << g << ' ' << b;
            }
}

TEST(Xterm256, PaletteEntries)
{
    EXPECT_EQ(xterm256Color(16), (RgbTriple { 0, 0, 0 }));
    EXPECT_EQ(xterm256Color(67), (RgbTriple { 95, 135, 175 }));
    EXPECT_EQ(xterm256Color(231), (RgbTriple { 255, 255, 255 }));
    EXPECT_EQ(xterm256Color(232), (RgbTriple { 8, 8, 8 }));
    EXPECT_EQ(xterm256Color(255), (RgbTriple { 238, 238, 238 }));
    EXPECT_THROW(xterm256Color(15), std::out_of_range);
    EXPECT_THROW(xterm256Color(256), std::out_of_range);
}

TEST(ForegroundSgr, BothDepths)
{
    const struct {
        RgbTriple color;
        ColorDepth depth;
        const char *expected;
    } cases[] = {
        { { 255, 255, 255 }, ColorDepth::TrueColor, "\x1b[38;2;255;255;255m" },
        { { 0, 9, 10 }, ColorDepth::TrueColor, "\x1b[38;2;0;9;10m" },
        { { 100, 200, 7 }, ColorDepth::TrueColor, "\x1b[38;2;100;200;7m" },
        { { 255, 0, 0 }, ColorDepth::Palette256, "\x1b[38;5;196m" },
        { { 0, 0, 0 }, ColorDepth::Palette256, "\x1b[38;5;16m" },
        { { 128, 128, 128 }, ColorDepth::Palette256, "\x1b[38;5;244m" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected + 1);
        EXPECT_EQ(foregroundSgr(c.color, c.depth), c.expected);
    }
    EXPECT_EQ(foregroundSgr({ 255, 255, 255 }, ColorDepth::TrueColor).size(), maxForegroundSgrSize);
}
