#include "engine/span_source.h"

#include <algorithm>
#include <stdexcept>

namespace rainbow {

MergedSpans::MergedSpans(ColorSpanSource &source)
    : m_source(&source)
{
    m_hasAhead = m_source->next(m_ahead);
}

bool MergedSpans::next(ColorSpan &span)
{
    if (!m_hasAhead)
        return false;
    span = m_ahead;
    while ((m_hasAhead = m_source->next(m_ahead)) && m_ahead.color == span.color)
        span.count += m_ahead.count;
    return true;
}

GroupedSpans::GroupedSpans(ColorSpanSource &source, int64_t groupSize)
    : m_source(&source)
    , m_groupSize(groupSize)
{
    if (groupSize < 1)
        throw std::invalid_argument("groups of fewer than one character");
}

bool GroupedSpans::next(ColorSpan &span)
{
    // Spans of no characters are skipped, so the group's colour is that of a real character.
    while (m_current.count == 0)
        if (!m_source->next(m_current))
            return false;
    span.color = m_current.color;
    span.count = 0;
    for (;;) {
        const int64_t take = std::min(m_groupSize - span.count, m_current.count);
        span.count += take;
        m_current.count -= take;
        if (span.count == m_groupSize || (m_current.count == 0 && !m_source->next(m_current)))
            return true;
    }
}

} // namespace rainbow
