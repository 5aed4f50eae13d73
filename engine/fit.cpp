#include "engine/fit.h"

#include <algorithm>
#include <stdexcept>

namespace rainbow {

std::optional<FitUnit> parseFitUnit(std::string_view name)
{
    if (name == "chars")
        return FitUnit::CodePoints;
    if (name == "utf-8")
        return FitUnit::Utf8Bytes;
    if (name == "gbk")
        return FitUnit::GbkBytes;
    return std::nullopt;
}

std::string_view describe(FitUnit unit)
{
    switch (unit) {
    case FitUnit::CodePoints:
        return "characters";
    case FitUnit::Utf8Bytes:
        return "bytes of UTF-8";
    case FitUnit::GbkBytes:
        return "bytes of GBK";
    }
    return {};
}

FitPlanner::FitPlanner(int64_t fixedSize)
    : m_fixedSize(fixedSize)
{
    if (fixedSize < 0)
        throw std::invalid_argument("a tag of negative size");
}

void FitPlanner::add(int64_t units, bool colored, bool endsTag)
{
    if (colored) {
        addColored(1, units, endsTag);
        return;
    }
    m_textSize += units;
    m_breakAhead = m_colored > 0; // untagged characters stand between
}

void FitPlanner::addColored(int64_t count, int64_t units, bool endsTag)
{
    m_textSize += units;
    if (count <= 0)
        return;
    if (m_breakAhead) {
        if (m_breaks.size() <= std::size_t(m_colored))
            m_breaks.resize(std::size_t(m_colored) + 1);
        m_breaks[std::size_t(m_colored)] = true;
        m_breakAt.push_back(m_colored);
        ++m_breakCount;
        m_breakAhead = false;
    }
    m_colored += count;
    m_breakAhead = endsTag;
}

void FitPlanner::mergeColors(std::vector<ColorSpan> colors)
{
    m_colors = std::move(colors);
    m_colorStarts.clear();
    int64_t start = 0;
    for (const ColorSpan &span : m_colors) {
        m_colorStarts.push_back(start);
        start += span.count;
    }
}

int64_t FitPlanner::mergedTagsFor(int64_t groupSize) const
{
    // Groups of one colour in a row share a tag, which each break inside it splits once more.
    const auto colorOf = [this](int64_t character) {
        const auto after = std::upper_bound(m_colorStarts.begin(), m_colorStarts.end(), character);
        return m_colors[std::size_t(after - m_colorStarts.begin() - 1)].color;
    };
    const auto breaksInside = [this](int64_t first, int64_t end) { // coloured characters [first, end)
        return int64_t(std::lower_bound(m_breakAt.begin(), m_breakAt.end(), end)
            - std::upper_bound(m_breakAt.begin(), m_breakAt.end(), first));
    };
    int64_t tags = 0;
    int64_t runStart = 0;
    RgbTriple runColor = colorOf(0);
    for (int64_t group = groupSize; group < m_colored; group += groupSize) {
        const RgbTriple color = colorOf(group);
        if (color != runColor) {
            tags += 1 + breaksInside(runStart, group);
            runStart = group;
            runColor = color;
        }
    }
    return tags + 1 + breaksInside(runStart, m_colored);
}

int64_t FitPlanner::tagsFor(int64_t groupSize) const
{
    if (!m_colors.empty() && m_colored > 0)
        return mergedTagsFor(groupSize);
    // One tag a group, and one more for each break that falls inside a group rather than
    // between two: the breaks after coloured characters g that are not multiples of k. Counted
    // over the breaks or over the groups, whichever are fewer, so that all k take c log c.
    const int64_t groups = (m_colored + groupSize - 1) / groupSize;
    int64_t betweenGroups = 0;
    if (m_breakCount < groups) {
        for (const int64_t g : m_breakAt)
            betweenGroups += g % groupSize == 0 ? 1 : 0;
    } else {
        for (int64_t g = groupSize; g < int64_t(m_breaks.size()); g += groupSize)
            betweenGroups += m_breaks[std::size_t(g)] ? 1 : 0;
    }
    return groups + m_breakCount - betweenGroups;
}

int64_t FitPlanner::sizeFor(int64_t groupSize) const
{
    if (groupSize < 1)
        throw std::invalid_argument("groups of fewer than one character");
    return m_textSize + m_fixedSize * tagsFor(groupSize);
}

std::variant<FitPlanner::Fit, FitPlanner::TooLong> FitPlanner::plan(int64_t limit) const
{
    // One group for all coloured characters gives the fewest tags: every break inside it.
    const int64_t shortest = m_colored == 0 ? m_textSize : sizeFor(m_colored);
    if (shortest > limit)
        return TooLong { shortest };
    // Each k costs c / k steps: c log c for all of them, and the search stops at the first fit.
    for (int64_t k = 1; k < m_colored; ++k) {
        const int64_t size = sizeFor(k);
        if (size <= limit)
            return Fit { k, size };
    }
    return Fit { std::max<int64_t>(m_colored, 1), shortest };
}

} // namespace rainbow
