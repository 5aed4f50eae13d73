#include "hue_wheel.h"

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
    if (requestedSize > std::numeric_limits<int32_t>::max() / 5)
        throw std::overflow_error("hue wheel too large for 32-bit bounds");
    m_size = requestedSize - requestedSize % 6;
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

PackedColor GetIColor(int32_t iColor, int32_t i, int32_t l, RgbTriple &rainbowColor)
{
    if (const auto color = HueWheel(l).colorOf(iColor, i))
        rainbowColor = *color;
    return packColor(rainbowColor);
}

} // namespace rainbow
