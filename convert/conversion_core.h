#pragma once

// The conversions proper, for the convert command on a text (conversion.cpp) and for the
// window's handlers (form1_state.cpp) alike; Text is CharacterText or Utf8CharacterText, and
// onSpan(color, firstUnit, endUnit) learns where each colour goes in the text.

#include "convert/characters.h"
#include "convert/conversion.h"
#include "engine/fragment_writer.h"
#include "engine/hue_wheel.h"

#include <limits>
#include <stdexcept>

namespace rainbow::core {

/// A count of characters as the 32-bit count the conversions use.
inline int32_t checkedCount(int64_t n)
{
    if (n > std::numeric_limits<int32_t>::max())
        throw std::overflow_error("text of more than 2^31 - 1 characters");
    return int32_t(n);
}

/// The text without its outer spaces, sharing the text's data when there are none.
inline QString trimmed(const QString &text)
{
    const QStringView inner = trimSpaces(text);
    return inner.size() == text.size() ? text : inner.toString();
}

/// Character k of n gets the colour k/n of the way from start to end: the last one has end.
template <typename CharT, typename Text, typename OnSpan>
void writeGradient(const Text &text, const RgbTriple &start, const RgbTriple &end,
    FragmentWriter<CharT> &writer, MarkupSink<CharT> &sink, OnSpan &&onSpan)
{
    const int32_t n = checkedCount(text.size());
    if (n == 0)
        return;
    GradientSpans spans(start, end, n);
    text.visitFrom(0, [&](auto cursor) { writeSpans(writer, spans, cursor, sink, onSpan); });
}

/// One rainbow segment inside the text, on a wheel of the segment's length; before is the colour
/// a position on no sector repeats. Returns the colour of the segment's last character.
template <typename CharT, typename Text, typename OnSpan>
RgbTriple writeRainbow(const Text &text, const HueWheel &wheel, const RainbowSegment &segment,
    const RgbTriple &before, FragmentWriter<CharT> &writer, MarkupSink<CharT> &sink, OnSpan &&onSpan)
{
    RainbowSpans spans(wheel, segment.Length, segment.InOrder, segment.ColorStart, before);
    text.visitFrom(segment.Start - 1, [&](auto cursor) { writeSpans(writer, spans, cursor, sink, onSpan); });
    return spans.last();
}

} // namespace rainbow::core
