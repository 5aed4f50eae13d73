#include "color.h"

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

GradientWalk::GradientWalk(int16_t start, int16_t end, int32_t n)
    : m_quotient(start)
    , m_delta(int64_t(end) - start)
    , m_n(n)
{
    if (n < 1)
        throw std::domain_error("gradient over zero steps (division by zero)");
}

void GradientWalk::normalise()
{
    // Floor division keeps the remainder in 0..n-1 whichever way the gradient runs.
    int64_t carry = m_remainder / m_n;
    if (m_remainder % m_n < 0)
        --carry;
    m_quotient += carry;
    m_remainder -= carry * m_n;
}

} // namespace rainbow
