#pragma once

// The conversions proper, for the convert command on a text (conversion.cpp) and for the
// window's handlers (form1_state.cpp) alike; Text is CharacterText or Utf8CharacterText, and
// onSpan(color, firstUnit, endUnit) learns where each colour goes in the text.

#include "convert/characters.h"
#include "convert/conversion.h"
#include "engine/custom_markup.h"
#include "engine/fragment_writer.h"
#include "engine/hue_wheel.h"
#include "engine/span_source.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <stdexcept>
#include <vector>

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

/// Whether the character that starts at unit at of text may be whitespace: its first code point is.
bool startsWithSpace(std::string_view text, std::size_t at);
bool startsWithSpace(std::u16string_view text, std::size_t at);

/// Calls visit(units) with the code units of each of the next count characters of a cursor.
template <typename CharT, typename Cursor, typename Visit>
void forEachCharacter(Cursor cursor, int64_t count, Visit &&visit)
{
    std::vector<CharT> scratch;
    for (; count > 0; --count) {
        const std::size_t room = cursor.unitsBound(1) + MarkupSink<CharT>::slack;
        if (scratch.size() < room)
            scratch.resize(room);
        const CharT *end = cursor.copyExact(scratch.data());
        visit(std::basic_string_view<CharT>(scratch.data(), std::size_t(end - scratch.data())));
    }
}

/// Writes &lt;, &gt; and &amp; for the <, > and & among the units [begin, end), in place (there
/// must be room for four more units per unit after end); returns the new end.
template <typename CharT> CharT *escapeInPlace(CharT *begin, CharT *end)
{
    const auto entityOf = [](CharT unit) { return htmlEntity(char32_t(std::make_unsigned_t<CharT>(unit))); };
    std::size_t extra = 0;
    for (const CharT *p = begin; p != end; ++p) {
        if (const std::size_t size = entityOf(*p).size())
            extra += size - 1;
    }
    CharT *const newEnd = end + extra;
    for (CharT *to = newEnd; to != end;) {
        const CharT unit = *--end;
        const std::string_view entity = entityOf(unit);
        if (entity.empty()) {
            *--to = unit;
        } else {
            to -= entity.size();
            std::copy(entity.begin(), entity.end(), to);
        }
    }
    return newEnd;
}

/// How the general writer tags the characters.
struct TaggingRules {
    bool tagPerCharacter = true; // otherwise one tag per span (split by untagged whitespace)
    bool skipSpaces = false; // whitespace characters untagged, not counted by the spans
    bool escape = false; // <, > and & as HTML entities

    /// One tag per character and nothing to look at: writeSpans does it faster.
    bool plain() const { return tagPerCharacter && !skipSpaces && !escape; }
};

/// The first unit at or after from where a whitespace code point starts; text.size() if none.
std::size_t nextSpace(std::string_view text, std::size_t from);
std::size_t nextSpace(std::u16string_view text, std::size_t from);

/// Code points in the units [from, to) of text.
std::size_t codePointsIn(std::string_view text, std::size_t from, std::size_t to);
inline std::size_t codePointsIn(std::u16string_view, std::size_t from, std::size_t to) { return to - from; }

/// Copies count characters from the cursor to out; returns the end.
template <typename CharT, typename Cursor>
CharT *copyCharacters(CharT *out, Cursor &cursor, std::size_t count)
{
    while (count > 0) {
        const std::size_t fast = cursor.fastCount(count);
        for (std::size_t i = 0; i < fast; ++i)
            out = cursor.copyFast(out);
        count -= fast;
        if (count > 0) {
            out = cursor.copyExact(out);
            --count;
        }
    }
    return out;
}

/// Writes the characters of a text (count of them from the cursor on, whitespace included) with
/// the colours of spans, which cover the coloured characters only when rules.skipSpaces; tells
/// onSpan(color, firstUnit, endUnit) where each run of coloured characters lies in text. When
/// codePointCharacters, every code point of the text is a character (CR LF aside), so the
/// coloured characters before the next whitespace are counted from the units.
template <typename CharT, typename Cursor, typename OnSpan>
void writeTaggedSpans(FragmentWriter<CharT> &writer, ColorSpanSource &spans, Cursor cursor,
    std::basic_string_view<CharT> text, bool codePointCharacters, int64_t count, const TaggingRules &rules,
    MarkupSink<CharT> &sink, OnSpan &&onSpan)
{
    constexpr int64_t batch = 4096; // characters between two requests for room, at most
    const std::size_t growth = rules.escape ? 5 : 1; // "&amp;" for "&"
    CharT *out = nullptr;
    int64_t room = 0; // characters that still fit in the room asked for
    // Room for the next characters (at most batch of them).
    const auto makeRoom = [&](int64_t characters) {
        if (room < characters) {
            if (out)
                sink.commit(out);
            room = std::min(batch, count);
            const auto units = std::size_t(room);
            out = sink.reserve(units * writer.fixedSize() + cursor.unitsBound(units) * growth);
        }
        room -= characters;
        count -= characters;
    };

    // The whitespace character at the cursor, when there is one, copied to scratch.
    std::vector<CharT> scratch;
    const CharT *spaceEnd = nullptr;
    std::optional<Cursor> afterSpace;
    const auto spaceAhead = [&] {
        if (count == 0 || !startsWithSpace(text, cursor.position()))
            return false;
        const std::size_t needed = cursor.unitsBound(1) + MarkupSink<CharT>::slack;
        if (scratch.size() < needed)
            scratch.resize(needed);
        afterSpace.emplace(cursor);
        spaceEnd = afterSpace->copyExact(scratch.data());
        return isWhitespaceCharacter(
            std::basic_string_view<CharT>(scratch.data(), std::size_t(spaceEnd - scratch.data())));
    };
    const auto writeSpace = [&] {
        makeRoom(1);
        out = std::copy(static_cast<const CharT *>(scratch.data()), spaceEnd, out);
        cursor = *afterSpace;
    };

    bool open = false;
    constexpr std::size_t noRun = std::numeric_limits<std::size_t>::max();
    std::size_t runFirst = noRun; // of the coloured characters since the last whitespace
    ColorSpan span;
    const auto endRun = [&](std::size_t at) {
        if (open)
            out = writer.writeClose(out);
        open = false;
        if (runFirst != noRun)
            onSpan(span.color, runFirst, at);
        runFirst = noRun;
    };
    while (spans.next(span)) {
        writer.setColor(span.color);
        for (int64_t left = span.count; left > 0;) {
            // A stretch of coloured characters: up to the next whitespace when it is skipped.
            int64_t stretch = std::min(left, batch);
            if (rules.skipSpaces) {
                while (spaceAhead()) {
                    endRun(cursor.position());
                    writeSpace();
                }
                if (codePointCharacters) {
                    const std::size_t at = cursor.position();
                    stretch = std::min(stretch, int64_t(codePointsIn(text, at, nextSpace(text, at))));
                } else {
                    stretch = 1;
                }
            }
            makeRoom(stretch);
            if (runFirst == noRun)
                runFirst = cursor.position();
            if (rules.tagPerCharacter && !rules.escape) {
                out = writer.writeFragments(out, cursor, std::size_t(stretch));
            } else if (rules.tagPerCharacter) {
                for (int64_t i = 0; i < stretch; ++i) {
                    CharT *const textStart = writer.writeOpen(out);
                    out = writer.writeClose(escapeInPlace(textStart, cursor.copyExact(textStart)));
                }
            } else {
                if (!open)
                    out = writer.writeOpen(out);
                open = true;
                CharT *const textStart = out;
                out = copyCharacters(out, cursor, std::size_t(stretch));
                if (rules.escape)
                    out = escapeInPlace(textStart, out);
            }
            left -= stretch;
        }
        endRun(cursor.position());
    }
    // Whitespace after the last coloured character.
    while (count > 0) {
        if (spaceAhead()) {
            writeSpace();
        } else {
            makeRoom(1);
            out = cursor.copyExact(out);
        }
    }
    if (out)
        sink.commit(out);
}

} // namespace rainbow::core
