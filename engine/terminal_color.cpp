#include "engine/terminal_color.h"

#include <array>
#include <cstring>
#include <stdexcept>

namespace rainbow {

namespace {

constexpr std::array<int, 6> cubeLevels { 0, 95, 135, 175, 215, 255 };
constexpr int greyCount = 24;

int greyLevel(int i) { return 8 + 10 * i; }

int squared(int x) { return x * x; }

char *writeNumber(char *out, int value)
{
    if (value >= 100)
        *out++ = char('0' + value / 100);
    if (value >= 10)
        *out++ = char('0' + value / 10 % 10);
    *out++ = char('0' + value % 10);
    return out;
}

} // namespace

std::optional<ColorDepth> parseColorDepth(std::string_view bits)
{
    if (bits == "24")
        return ColorDepth::TrueColor;
    if (bits == "8")
        return ColorDepth::Palette256;
    return std::nullopt;
}

ColorDepth colorDepthFromColorterm(const char *colorterm)
{
    const std::string_view value = colorterm ? colorterm : "";
    return value == "truecolor" || value == "24bit" ? ColorDepth::TrueColor : ColorDepth::Palette256;
}

RgbTriple xterm256Color(int index)
{
    if (index < 16 || index > 255)
        throw std::out_of_range("xterm palette index outside 16..255");
    if (index >= 232) {
        const auto level = int16_t(greyLevel(index - 232));
        return { level, level, level };
    }
    const int cube = index - 16;
    return { int16_t(cubeLevels[cube / 36]), int16_t(cubeLevels[cube / 6 % 6]),
        int16_t(cubeLevels[cube % 6]) };
}

int nearestXterm256(const RgbTriple &color)
{
    // The cube's distance is a sum over the components, so each takes its own nearest level.
    int cubeIndex = 0, cubeDistance = 0;
    for (const int16_t component : { color.red, color.green, color.blue }) {
        int best = 0;
        for (int i = 1; i < 6; ++i)
            if (squared(component - cubeLevels[i]) < squared(component - cubeLevels[best]))
                best = i;
        cubeIndex = cubeIndex * 6 + best;
        cubeDistance += squared(component - cubeLevels[best]);
    }
    int grey = 0, greyDistance = 0;
    for (int i = 0; i < greyCount; ++i) {
        const int level = greyLevel(i);
        const int distance
            = squared(color.red - level) + squared(color.green - level) + squared(color.blue - level);
        if (i == 0 || distance < greyDistance) {
            grey = i;
            greyDistance = distance;
        }
    }
    return greyDistance < cubeDistance ? 232 + grey : 16 + cubeIndex;
}

char *writeForegroundSgr(char *out, const RgbTriple &color, ColorDepth depth)
{
    if (depth == ColorDepth::Palette256) {
        std::memcpy(out, "\x1b[38;5;", 7);
        out = writeNumber(out + 7, nearestXterm256(color));
    } else {
        std::memcpy(out, "\x1b[38;2;", 7);
        out = writeNumber(out + 7, color.red);
        *out++ = ';';
        out = writeNumber(out, color.green);
        *out++ = ';';
        out = writeNumber(out, color.blue);
    }
    *out++ = 'm';
    return out;
}

std::string foregroundSgr(const RgbTriple &color, ColorDepth depth)
{
    char buffer[maxForegroundSgrSize];
    return std::string(buffer, writeForegroundSgr(buffer, color, depth));
}

std::size_t sgrLength(std::string_view text, std::size_t at)
{
    if (at + 2 >= text.size() || text[at] != '\x1b' || text[at + 1] != '[')
        return 0;
    std::size_t end = at + 2;
    while (end < text.size() && text[end] >= 0x30 && text[end] <= 0x3F)
        ++end;
    return end < text.size() && text[end] == 'm' ? end + 1 - at : 0;
}

} // namespace rainbow
