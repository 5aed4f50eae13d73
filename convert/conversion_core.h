#pragma once

// The one conversion pipeline, for convertText and the command-line tool (conversion.cpp) and
// the window's convert button alike: settings and a text (CharacterText or Utf8CharacterText)
// become colour spans (ConversionColors) and markup (writeColored), and a ColorSpanSink learns
// where each colour went.

#include "convert/characters.h"
#include "convert/conversion.h"
#include "engine/custom_markup.h"
#include "engine/fragment_writer.h"
#include "engine/gradient_stops.h"
#include "engine/hue_wheel.h"
#include "engine/span_source.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace rainbow::core {

/// The text without its outer spaces, sharing the text's data when there are none.
inline QString trimmed(const QString &text)
{
    const QStringView inner = trimSpaces(text);
    return inner.size() == text.size() ? text : inner.toString();
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

/// How the general writer tags the characters.
struct TaggingRules {
    bool tagPerCharacter = true; // otherwise one tag per span (split by untagged whitespace)
    bool skipSpaces = false; // whitespace characters untagged, not counted by the spans
    bool escape = false; // <, > and & as HTML entities
    bool endTagsAfterBrackets = false; // a shared tag ends after each '[' of the text

    /// One tag per character and nothing to look at: writeSpans does it faster.
    bool plain() const { return tagPerCharacter && !skipSpaces && !escape; }
};

/// The first unit at or after from where a whitespace code point starts; text.size() if none.
std::size_t nextSpace(std::string_view text, std::size_t from);
std::size_t nextSpace(std::u16string_view text, std::size_t from);

/// Code points in the units [from, to) of text.
inline std::size_t codePointsIn(std::string_view text, std::size_t from, std::size_t to)
{
    return codePointCount(text.substr(from, to - from));
}
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
    constexpr std::size_t none = std::basic_string_view<CharT>::npos;
    std::size_t nextBracket = rules.endTagsAfterBrackets ? text.find(CharT('['), cursor.position()) : none;
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
            // A '[' of the text ends its tag: a stretch that could reach the next one goes up to it.
            std::size_t bracket = none;
            if (rules.endTagsAfterBrackets && !rules.tagPerCharacter) {
                const std::size_t at = cursor.position();
                if (nextBracket != none && nextBracket < at)
                    nextBracket = text.find(CharT('['), at);
                if (nextBracket != none && nextBracket - at < cursor.unitsBound(std::size_t(stretch))) {
                    bracket = nextBracket;
                    stretch = codePointCharacters
                        ? std::min(stretch, int64_t(codePointsIn(text, at, bracket + 1)))
                        : 1;
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
                if (bracket != none && cursor.position() > bracket) {
                    out = writer.writeClose(out);
                    open = false;
                }
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

/// The rainbow's segments one after another, each on a wheel of its own length; a position on no
/// sector repeats the colour before it (before, at first), across segments too.
class RainbowSegmentSpans final : public ColorSpanSource {
public:
    explicit RainbowSegmentSpans(std::vector<RainbowSegment> segments, const RgbTriple &before = {})
        : m_segments(std::move(segments))
        , m_last(before)
    {
    }

    bool next(ColorSpan &span) override;

    /// The colour of the last character covered so far.
    const RgbTriple &last() const { return m_spans ? m_spans->last() : m_last; }

private:
    std::vector<RainbowSegment> m_segments;
    std::size_t m_next = 0;
    std::optional<RainbowSpans> m_spans;
    RgbTriple m_last;
};

/// The ramp of the settings' gradient (the start and end colours, or the stops); nullopt for a
/// rainbow.
std::optional<ColorRamp> rampFor(const ConversionSettings &settings);

/// The colours the settings give n coloured characters, span by span: the gradient along the ramp
/// (rampFor) or the rainbow, then grouped and merged as asked.
class ConversionColors {
public:
    /// The ramp must outlive this: the gradient reads it as it goes.
    ConversionColors(const ConversionSettings &settings, const std::optional<ColorRamp> &ramp, int32_t n);
    ConversionColors(const ConversionSettings &, std::optional<ColorRamp> &&, int32_t) = delete;
    ConversionColors(const ConversionColors &) = delete;
    ConversionColors &operator=(const ConversionColors &) = delete;

    ColorSpanSource &spans() { return *m_outer; }

private:
    std::unique_ptr<ColorSpanSource> m_colors;
    std::optional<GroupedSpans> m_grouped;
    std::optional<MergedSpans> m_merged;
    ColorSpanSource *m_outer;
};

template <typename CharT> std::basic_string<CharT> templateUnits(const std::string &utf8);

/// What the settings decide, made once for any number of texts.
template <typename CharT> struct PreparedConversion {
    explicit PreparedConversion(ConversionSettings conversionSettings)
        : settings(std::move(conversionSettings))
        , writer(templateUnits<CharT>(settings.markup.OpenPrefix),
              templateUnits<CharT>(settings.markup.OpenSuffix),
              templateUnits<CharT>(settings.markup.CloseTag))
        , ramp(rampFor(settings))
    {
    }

    /// The open tags of a plain conversion of n characters, one after another and padded for
    /// the writer's reads: made once for each length, as the colours depend on nothing else.
    const std::vector<CharT> &headsFor(int32_t n)
    {
        constexpr std::size_t mostUnits = std::size_t(1) << 22; // then the lengths seen start anew
        if (const auto found = heads.find(n); found != heads.end())
            return found->second;
        if (headUnits > mostUnits) {
            heads.clear();
            headUnits = 0;
        }
        std::vector<CharT> &tags = heads[n];
        tags.reserve(std::size_t(n) * writer.head().size() + MarkupSink<CharT>::slack);
        ConversionColors colors(settings, ramp, n);
        ColorSpan span;
        while (colors.spans().next(span)) {
            writer.setColor(span.color);
            for (int64_t i = 0; i < span.count; ++i)
                tags.insert(tags.end(), writer.head().begin(), writer.head().end());
        }
        tags.resize(tags.size() + MarkupSink<CharT>::slack);
        headUnits += tags.size();
        return tags;
    }

    const ConversionSettings settings;
    FragmentWriter<CharT> writer;
    const std::optional<ColorRamp> ramp;
    std::unordered_map<int32_t, std::vector<CharT>> heads;
    std::size_t headUnits = 0;
};

template <typename CharT, typename Text> std::basic_string_view<CharT> textUnits(const Text &text)
{
    if constexpr (sizeof(CharT) == 1)
        return text.text();
    else
        return { reinterpret_cast<const char16_t *>(text.text().utf16()), std::size_t(text.text().size()) };
}

/// Writes count characters of text from character first on with the colours of spans, tagged as
/// rules say, into sink; tells colors, when given, where each colour went.
template <typename CharT, typename Text>
void writeColored(FragmentWriter<CharT> &writer, ColorSpanSource &spans, const Text &text, int64_t first,
    int32_t count, const TaggingRules &rules, MarkupSink<CharT> &sink, ColorSpanSink<CharT> *colors)
{
    const auto onSpan = [colors](const RgbTriple &color, std::size_t from, std::size_t end) {
        if (colors)
            colors->colored(color, from, end);
    };
    text.visitFrom(first, [&](auto cursor) {
        if (rules.plain())
            writeSpans(writer, spans, cursor, sink, onSpan);
        else
            writeTaggedSpans(writer, spans, cursor, textUnits<CharT>(text), text.codePointCharacters(), count,
                rules, sink, onSpan);
    });
}

/// Characters of the text (of at most maximumLength) that take a colour: all, or with skipSpaces
/// those not whitespace.
template <typename CharT, typename Text>
int32_t coloredCount(const ConversionSettings &settings, const Text &text)
{
    const auto n = int32_t(text.size());
    if (!settings.skipSpaces || n == 0)
        return n;
    int32_t colored = n;
    if (text.codePointCharacters()) {
        // Each whitespace code point is a character, but a CR LF pair is one.
        const std::basic_string_view<CharT> units = textUnits<CharT>(text);
        for (std::size_t at = nextSpace(units, 0); at < units.size(); at = nextSpace(units, at + 1)) {
            if (units[at] == '\r' && at + 1 < units.size() && units[at + 1] == '\n')
                ++at;
            --colored;
        }
        return colored;
    }
    colored = 0;
    text.visitFrom(0, [&](auto cursor) {
        forEachCharacter<CharT>(cursor, n, [&](std::basic_string_view<CharT> character) {
            colored += isWhitespaceCharacter(character) ? 0 : 1;
        });
    });
    return colored;
}

/// The convert command on a trimmed text: the check, then the whole markup into sink and the
/// place of each colour to colors.
template <typename CharT, typename Text>
ConversionOutcome convertCharacters(PreparedConversion<CharT> &prepared, const Text &text,
    MarkupSink<CharT> &sink, ColorSpanSink<CharT> *colors)
{
    const ConversionSettings &settings = prepared.settings;
    const std::basic_string_view<CharT> units = textUnits<CharT>(text);
    if (text.size() > maximumLength)
        return ConversionOutcome::TooManyCharacters;
    const auto n = int32_t(text.size());
    const int32_t colored = coloredCount<CharT>(settings, text);
    const ConversionOutcome outcome = checkLength(settings.mode, settings.symmetric, colored);
    if (outcome != ConversionOutcome::Converted)
        return outcome;
    if (colors)
        colors->start(units);
    FragmentWriter<CharT> &writer = prepared.writer;
    const TaggingRules rules { !settings.sharedTags(), settings.skipSpaces, settings.escape,
        settings.endsTagsAfterBrackets() };
    if (rules.plain()) {
        // One fragment per character: the markup's size is known now.
        sink.expect(std::size_t(n) * writer.fixedSize() + units.size());
    }
    if (n == 0)
        return outcome;
    if (rules.plain() && !colors && n <= shortTextLength) {
        const std::vector<CharT> &heads = prepared.headsFor(n);
        text.visitFrom(0, [&](auto cursor) {
            CharT *out
                = sink.reserve(std::size_t(n) * writer.fixedSize() + cursor.unitsBound(std::size_t(n)));
            sink.commit(writer.writeFragmentsWithHeads(out, cursor, heads.data(), std::size_t(n)));
        });
        return outcome;
    }
    ConversionColors spans(settings, prepared.ramp, colored);
    writeColored(writer, spans.spans(), text, 0, n, rules, sink, colors);
    return outcome;
}

} // namespace rainbow::core
