#include "engine/hue_wheel.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace rainbow {

namespace {

int16_t rounded(double x) { return static_cast<int16_t>(roundHalfEven(x)); }

} // namespace

HueWheel::HueWheel(int32_t requestedSize)
{
    if (requestedSize < 6)
        throw std::domain_error("hue wheel of fewer than 6 positions (division by zero)");
    m_size = requestedSize - requestedSize % 6;
    if (m_size > std::numeric_limits<int32_t>::max() / 5)
        throw std::overflow_error("hue wheel too large for 32-bit bounds");
    m_sector = m_size / 6;
    m_fourSectors = 2 * m_size / 3;
    m_fiveSectors = 5 * m_size / 6;
    m_step = static_cast<float>(1530.0 / m_size);
}

std::optional<RgbTriple> HueWheel::colorAt(int32_t c) const
{
    const int32_t k = m_sector;
    // Both ends of every range belong to it; on a shared bound the earlier sector decides.
    if (c >= 0 && c <= k)
        return RgbTriple { 255, rounded(m_step * c), 0 };
    if (c >= k && c <= 2 * k)
        return RgbTriple { rounded(255 - m_step * (c - k)), 255, 0 };
    if (c >= 2 * k && c <= 3 * k)
        return RgbTriple { 0, 255, rounded(m_step * (c - 2 * k)) };
    if (c >= 3 * k && c <= m_fourSectors)
        return RgbTriple { 0, rounded(255 - m_step * (c - 3 * k)), 255 };
    if (c >= m_fourSectors && c <= m_fiveSectors)
        return RgbTriple { rounded(m_step * (c - m_fourSectors)), 0, 255 };
    if (c >= m_fiveSectors && c <= m_size)
        return RgbTriple { 255, 0, rounded(255 - m_step * (c - m_fiveSectors)) };
    return std::nullopt;
}

std::optional<RgbTriple> HueWheel::colorOf(int32_t offset, int32_t i) const
{
    int32_t sum = 0;
    if (__builtin_add_overflow(offset, i, &sum))
        throw std::overflow_error("hue offset plus position leaves 32 bits");
    return colorAt(sum % m_size);
}

RainbowSpans::RainbowSpans(
    const HueWheel &wheel, int32_t length, bool inOrder, int32_t colorStart, const RgbTriple &before)
    : m_wheel(wheel)
    , m_direction(inOrder ? 1 : -1)
    , m_left(std::max(length, 0))
    , m_last(before)
{
    // Positions run over 1..length, so colorStart + length is the only sum that can overflow.
    int32_t sum = 0;
    if (m_left > 0 && __builtin_add_overflow(colorStart, length, &sum))
        throw std::overflow_error("hue offset plus position leaves 32 bits");
    m_sum = int64_t(colorStart) + (inOrder ? 1 : length);
}

bool RainbowSpans::next(ColorSpan &span)
{
    if (m_left == 0)
        return false;
    const int64_t size = m_wheel.size();
    const int64_t c = m_sum % size; // the sign of the sum, as colorOf takes it
    // A piece of the walk on which colorAt(c) is defined the same way throughout (one sector,
    // no wrap round the wheel), so each component is monotone on it; or on which no sector
    // holds c.
    int64_t piece = 1;
    if (c < 0) {
        piece = m_direction > 0 ? -c : c + size;
        span.color = m_last;
        span.count = std::min(piece, m_left);
    } else {
        if (m_sum >= 0) {
            const int64_t k = size / 6;
            const int64_t sector = c == 0 ? 0 : (c - 1) / k; // a shared bound goes to the earlier sector
            const int64_t low = sector == 0 ? 0 : sector * k + 1;
            const int64_t high = std::min((sector + 1) * k, size - 1);
            piece = m_direction > 0 ? high - c + 1 : c - low + 1;
        } // else c = 0 on a negative sum: its neighbours lie on no sector
        const auto colorAt = [&](int64_t step) { return *m_wheel.colorAt(int32_t(c + m_direction * step)); };
        span.color = colorAt(0);
        span.count = equalColorRun(colorAt, std::min(piece, m_left));
    }
    m_last = span.color;
    m_sum += m_direction * span.count;
    m_left -= span.count;
    return true;
}

int64_t symmetricHalf(int64_t n)
{
    const int64_t floor = n / 2;
    return n % 2 != 0 && floor % 2 != 0 ? floor + 1 : floor;
}

} // namespace rainbow
