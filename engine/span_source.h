#pragma once

#include "engine/color.h"

#include <cstdint>

namespace rainbow {

/// Where the conversion takes its colours from, span by span: one interface for every way of
/// colouring, so the conversion has one path for all of them. Called once per span, never per
/// character.
class ColorSpanSource {
public:
    virtual ~ColorSpanSource() = default;

    /// The next span of characters of one colour; false once every character is covered.
    virtual bool next(ColorSpan &span) = 0;
};

/// The spans of a source with neighbours of one colour joined, so no two spans in a row share a
/// colour (one tag for each when consecutive characters of a colour share a tag).
class MergedSpans final : public ColorSpanSource {
public:
    /// The source must outlive this.
    explicit MergedSpans(ColorSpanSource &source);

    bool next(ColorSpan &span) override;

private:
    ColorSpanSource *m_source;
    ColorSpan m_ahead;
    bool m_hasAhead;
};

/// The characters of a source in groups of groupSize, one span a group, each in the colour of
/// its group's first character; the last group may be shorter. Neighbouring groups of one colour
/// stay apart: each gets its own tag (join them with MergedSpans).
class GroupedSpans final : public ColorSpanSource {
public:
    /// The source must outlive this. Throws std::invalid_argument when groupSize < 1.
    GroupedSpans(ColorSpanSource &source, int64_t groupSize);

    bool next(ColorSpan &span) override;

private:
    ColorSpanSource *m_source;
    int64_t m_groupSize;
    ColorSpan m_current; // of the source; m_current.count of its characters still to take
};

} // namespace rainbow
