#pragma once

#include "engine/color.h"

#include <cstdint>
#include <optional>

namespace rainbow {

/// The six-sector rainbow of l positions (red, yellow, green, cyan, blue, magenta, back to red).
/// The requested size is cut down to a multiple of 6; the step is 1530 / l held in single
/// precision, which moves some half-way components by one.
class HueWheel {
public:
    /// Throws std::domain_error below 6 positions (a wheel of size 0 would divide by zero) and
    /// std::overflow_error when 5 × the reduced size leaves 32 bits.
    explicit HueWheel(int32_t requestedSize);

    int32_t size() const { return m_size; }

    /// Colour of wheel position c; nullopt when c lies on no sector (c < 0 or c > size).
    std::optional<RgbTriple> colorAt(int32_t c) const;

    /// Colour of the 1-based position i turned by offset: c = (offset + i) mod size, the
    /// remainder taking the sign of the dividend. Throws std::overflow_error when offset + i
    /// leaves 32 bits.
    std::optional<RgbTriple> colorOf(int32_t offset, int32_t i) const;

private:
    int32_t m_size;
    int32_t m_sector; // k = size / 6
    int32_t m_fourSectors; // 2 × size / 3
    int32_t m_fiveSectors; // 5 × size / 6
    double m_step; // the single-precision step, widened
};

/// The first half of a symmetric rainbow of n characters: n/2 rounded half to even (13 gives 6,
/// 15 gives 8); the second half takes the other n − h.
int64_t symmetricHalf(int64_t n);

/// The colours of a rainbow segment of length characters as spans of equal colour: character
/// j = 1..length takes wheel.colorOf(colorStart, position) with position j (in order) or
/// length − j + 1 (backward); a position on no sector repeats the colour before it, starting from
/// before. Throws std::overflow_error, before any span, when colorStart + length leaves 32 bits.
class RainbowSpans {
public:
    RainbowSpans(
        const HueWheel &wheel, int32_t length, bool inOrder, int32_t colorStart, const RgbTriple &before);

    /// The next span; false once all characters are covered.
    bool next(ColorSpan &span);

    /// The colour of the last character covered so far (before, while none is).
    const RgbTriple &last() const { return m_last; }

private:
    HueWheel m_wheel;
    int64_t m_sum; // colorStart + the next character's position
    int64_t m_direction; // +1 in order, -1 backward
    int64_t m_left;
    RgbTriple m_last;
};

} // namespace rainbow
