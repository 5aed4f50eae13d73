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

SteppedGradientSpans::SteppedGradientSpans(const RgbTriple &start, const RgbTriple &end, int32_t n)
    : m_n(n)
    , m_left(n)
{
    if (n < 1)
        throw std::domain_error("gradient over zero steps (division by zero)");
    const int16_t from[] = { start.red, start.green, start.blue };
    const int16_t to[] = { end.red, end.green, end.blue };
    for (std::size_t i = 0; i < 3; ++i) {
        const int64_t value = int64_t(from[i]) * (n - 1) + int64_t(to[i]); // step 1
        // The step end − start as stepQuotient·n + stepRemainder, 0 ≤ stepRemainder < n.
        const int64_t delta = int64_t(to[i]) - from[i];
        const int64_t stepRemainder = ((delta % n) + n) % n;
        m_components[i] = { value / n, value % n, (delta - stepRemainder) / n, stepRemainder };
    }
    m_color = current();
}

RgbTriple SteppedGradientSpans::current() const
{
    // The quotient rounded half to even, as GradientComponent rounds the same value.
    const auto rounded = [this](const Component &c) {
        const int64_t twice = 2 * c.remainder;
        return int16_t(c.quotient + (twice > m_n || (twice == m_n && (c.quotient & 1)) ? 1 : 0));
    };
    return { rounded(m_components[0]), rounded(m_components[1]), rounded(m_components[2]) };
}

void SteppedGradientSpans::step()
{
    for (Component &c : m_components) {
        c.quotient += c.stepQuotient;
        c.remainder += c.stepRemainder;
        const bool carry = c.remainder >= m_n;
        c.quotient += carry ? 1 : 0;
        c.remainder -= carry ? m_n : 0;
    }
    m_color = current();
}

bool SteppedGradientSpans::next(ColorSpan &span)
{
    if (m_left == 0)
        return false;
    span.color = m_color;
    span.count = 0;
    do {
        ++span.count;
        --m_left;
        step();
    } while (m_left > 0 && m_color == span.color);
    return true;
}

} // namespace rainbow
