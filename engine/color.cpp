#include "engine/color.h"

#include <cstdlib>
#include <stdexcept>

namespace rainbow {

PackedColor packColor(const RgbTriple &color)
{
    const int64_t packed = int64_t(color.red) + 256 * int64_t(color.green) + 65536 * int64_t(color.blue);
    if (packed < INT32_MIN || packed > INT32_MAX)
        throw std::overflow_error("packed colour does not fit in 32 bits");
    return static_cast<PackedColor>(packed);
}

std::array<int32_t, 3> SplitPackedColor(int32_t color)
{
    const int32_t blue = color / 65536;
    const int32_t green = (color - blue * 65536) / 256;
    const int32_t red = color - blue * 65536 - green * 256;
    return { red, green, blue };
}

RgbTriple unpackColor(PackedColor color)
{
    const auto parts = SplitPackedColor(color);
    return { int16_t(parts[0]), int16_t(parts[1]), int16_t(parts[2]) };
}

std::string HexByte(int value)
{
    if (value < 0 || value > 255)
        throw std::out_of_range("colour component outside 0..255: " + std::to_string(value));
    static constexpr char digits[] = "0123456789ABCDEF";
    return { digits[value / 16], digits[value % 16] };
}

std::string colorCode(const RgbTriple &color)
{
    return HexByte(color.red) + HexByte(color.green) + HexByte(color.blue);
}

int16_t GradientComponent(int16_t start, int16_t end, int32_t k, int32_t n)
{
    if (n < 1)
        throw std::domain_error("gradient over zero steps (division by zero)");
    const int distance = std::abs(int(start) - int(end));
    const int sign = start >= end ? -1 : 1;
    // The product is formed exactly (it can pass 32 bits); the division is made in double.
    const int64_t product = int64_t(sign) * distance * k;
    const double x = double(start) + double(product) / double(n);
    const double rounded = roundHalfEven(x);
    if (rounded < INT16_MIN || rounded > INT16_MAX)
        throw std::overflow_error("gradient component does not fit in 16 bits");
    return static_cast<int16_t>(rounded);
}

RgbTriple gradientColor(const RgbTriple &start, const RgbTriple &end, int32_t k, int32_t n)
{
    return { GradientComponent(start.red, end.red, k, n), GradientComponent(start.green, end.green, k, n),
        GradientComponent(start.blue, end.blue, k, n) };
}

} // namespace rainbow
