#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

namespace rainbow {

// The engine's throws (here and in hue_wheel, gradient_stops, fit, span_source, markup) guard
// preconditions that callers check first: no input of a user's reaches them.

/// A colour as red, green and blue; every component the program stores lies in 0..255.
struct RgbTriple {
    int16_t red = 0;
    int16_t green = 0;
    int16_t blue = 0;
};

inline bool operator==(const RgbTriple &a, const RgbTriple &b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}
inline bool operator!=(const RgbTriple &a, const RgbTriple &b) { return !(a == b); }

/// The gradient's colours until the user picks others: cyan to pink.
inline constexpr RgbTriple defaultStartColor { 0, 255, 255 };
inline constexpr RgbTriple defaultEndColor { 255, 0, 128 };

/// red + 256 × green + 65536 × blue: red in the low byte, as the window controls take colours.
using PackedColor = int32_t;

/// Packs components in 0..255; throws std::overflow_error when the sum leaves 32 bits.
PackedColor packColor(const RgbTriple &color);

/// (red, green, blue) by truncating division: the three low bytes for 0..FFFFFF, and parts that
/// keep the sign of a negative colour.
std::array<int32_t, 3> SplitPackedColor(int32_t color);

/// The components of a packed colour in 0..FFFFFF.
RgbTriple unpackColor(PackedColor color);

/// Nearest integer, exact ties to the even neighbour (2.5 gives 2, 3.5 gives 4); negative values
/// round the same way. The default rounding mode, which nothing here changes, does it; unlike
/// tricks with added constants this is exact whatever precision the hardware keeps.
inline double roundHalfEven(double x) { return std::nearbyint(x); }

/// Two uppercase hexadecimal digits of a component; throws std::out_of_range outside 0..255.
std::string HexByte(int value);

/// The six digits of a colour, RRGGBB, as the markup writes it.
std::string colorCode(const RgbTriple &color);

/// Component k/n of the way from start to end, rounded half to even: k = 0 gives start, k = n
/// gives end. Throws std::domain_error when n < 1 (division by zero).
int16_t GradientComponent(int16_t start, int16_t end, int32_t k, int32_t n);

/// Step k of n from start to end: GradientComponent of each component.
RgbTriple gradientColor(const RgbTriple &start, const RgbTriple &end, int32_t k, int32_t n);

/// Consecutive characters that take one colour.
struct ColorSpan {
    RgbTriple color;
    int64_t count = 0;
};

/// How many of steps 0, 1, ..., limit − 1 have the colour of step 0, for a colorAt(step) whose
/// every component is monotone over those steps (so the equal steps come first). Looks at
/// O(log count) steps, so a long run of one colour costs next to nothing. limit ≥ 1.
template <typename ColorAt> int64_t equalColorRun(ColorAt colorAt, int64_t limit)
{
    const RgbTriple first = colorAt(int64_t(0));
    int64_t equal = 0; // the last step known to have the first colour
    int64_t differs = limit; // a step known to differ, or the limit
    for (int64_t stride = 1; equal + stride < differs; stride *= 2) {
        if (colorAt(equal + stride) != first) {
            differs = equal + stride;
            break;
        }
        equal += stride;
    }
    while (differs - equal > 1) {
        const int64_t middle = equal + (differs - equal) / 2;
        if (colorAt(middle) == first)
            equal = middle;
        else
            differs = middle;
    }
    return equal + 1;
}

} // namespace rainbow
