#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace rainbow {

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

/// red + 256 × green + 65536 × blue: red in the low byte, as the window controls take colours.
using PackedColor = int32_t;

/// Packs components in 0..255; throws std::overflow_error when the sum leaves 32 bits.
PackedColor packColor(const RgbTriple &color);

/// (red, green, blue) by truncating division: the three low bytes for 0..FFFFFF, and parts that
/// keep the sign of a negative colour.
std::array<int32_t, 3> SplitPackedColor(int32_t color);

/// The components of a packed colour in 0..FFFFFF.
RgbTriple unpackColor(PackedColor color);

/// Nearest integer, exact ties to the even neighbour (2.5 gives 2, 3.5 gives 4).
/// Relies on the default round-to-nearest mode of the floating-point unit, which nothing here
/// changes; valid for |x| < 2^51; negative values round the same way.
inline double roundHalfEven(double x)
{
    // Adding 1.5 × 2^52 leaves no bits for a fraction, so the hardware rounds, ties to even.
    constexpr double shifter = 6755399441055744.0;
    // Exact IEEE arithmetic keeps the compiler from folding this away (never build with
    // -ffast-math).
    return (x + shifter) - shifter;
}

/// Two uppercase hexadecimal digits of a component; throws std::out_of_range outside 0..255.
std::string HexByte(int value);

/// Component k/n of the way from start to end, rounded half to even: k = 0 gives start, k = n
/// gives end. Throws std::domain_error when n < 1 (division by zero).
int16_t GradientComponent(int16_t start, int16_t end, int32_t k, int32_t n);

/// GradientComponent(start, end, k, n) for k = 0, 1, 2, ... in turn, with integer steps only, so
/// a long text costs no division per character. Same preconditions as GradientComponent.
class GradientWalk {
public:
    GradientWalk(int16_t start, int16_t end, int32_t n);

    /// The component at the current k.
    int16_t value() const
    {
        const int64_t twice = 2 * m_remainder;
        const bool up = twice > m_n || (twice == m_n && (m_quotient & 1) != 0);
        return static_cast<int16_t>(m_quotient + (up ? 1 : 0));
    }

    /// Moves on to k + 1.
    void advance()
    {
        m_remainder += m_delta;
        if (m_remainder >= m_n || m_remainder < 0)
            normalise();
    }

private:
    void normalise();

    // The exact value is (start × n + (end − start) × k) / n = m_quotient + m_remainder / m_n.
    int64_t m_quotient;
    int64_t m_remainder = 0;
    int64_t m_delta;
    int64_t m_n;
};

} // namespace rainbow
