#include "convert/conversion.h"

#include "convert/conversion_core.h"
#include "convert/markup_size.h"

#include <QString>

#include "engine/simd.h"

#include <unicode/uchar.h>

#include <memory>
#include <optional>

namespace rainbow {

template <> std::string core::templateUnits(const std::string &utf8) { return utf8; }

template <> std::u16string core::templateUnits(const std::string &utf8)
{
    const QString text = QString::fromStdString(utf8);
    return { reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size()) };
}

bool core::RainbowSegmentSpans::next(ColorSpan &span)
{
    for (;;) {
        if (m_spans && m_spans->next(span))
            return true;
        if (m_spans)
            m_last = m_spans->last();
        if (m_next == m_segments.size())
            return false;
        const RainbowSegment &segment = m_segments[m_next++];
        m_spans.emplace(
            HueWheel(segment.Length), segment.Length, segment.InOrder, segment.ColorStart, m_last);
    }
}

std::optional<ColorRamp> core::rampFor(const ConversionSettings &settings)
{
    if (settings.mode != ConversionMode::Gradient)
        return std::nullopt;
    return ColorRamp(
        settings.stops.empty() ? std::vector { settings.startColor, settings.endColor } : settings.stops,
        settings.blend);
}

core::ConversionColors::ConversionColors(
    const ConversionSettings &settings, const std::optional<ColorRamp> &ramp, int32_t n)
{
    if (ramp) {
        const bool layout = settings.gradientLayout;
        m_colors = std::make_unique<StopGradientSpans>(
            *ramp, n, layout && settings.reverse, layout && settings.symmetric);
    } else {
        m_colors
            = std::make_unique<RainbowSegmentSpans>(rainbowSegments(settings.reverse, settings.symmetric, n));
    }
    m_outer = m_colors.get();
    if (settings.groupSize > 1)
        m_outer = &m_grouped.emplace(*m_outer, settings.groupSize);
    if (settings.merge)
        m_outer = &m_merged.emplace(*m_outer);
}

namespace {

/// Unicode's White_Space: tab to CR, space, U+0085, no-break space, U+1680, U+2000..U+200A, the
/// line and paragraph separators, U+202F, U+205F and the ideographic space.
bool isWhitespaceCodePoint(char32_t c) { return (c <= 0x20 || c >= 0x85) && u_isUWhiteSpace(UChar32(c)); }

template <typename CharT> bool spaceAt(std::basic_string_view<CharT> text, std::size_t at)
{
    return isWhitespaceCodePoint(decodeAt(text.data(), text.size(), at).value);
}

/// Whether every code point of a character is whitespace.
template <typename CharT> bool whitespaceThroughout(std::basic_string_view<CharT> character)
{
    for (std::size_t at = 0; at < character.size();
         at += decodeAt(character.data(), character.size(), at).length) {
        if (!spaceAt(character, at))
            return false;
    }
    return !character.empty();
}

} // namespace

ConversionOutcome checkLength(ConversionMode mode, bool symmetric, int64_t n)
{
    if (mode == ConversionMode::Gradient)
        return ConversionOutcome::Converted;
    if (n < minimumRainbowLengthFor(false))
        return ConversionOutcome::TooShortForRainbow;
    if (n < minimumRainbowLengthFor(symmetric))
        return ConversionOutcome::TooShortForSymmetric;
    return ConversionOutcome::Converted;
}

std::vector<RainbowSegment> rainbowSegments(bool reverse, bool symmetric, int32_t n)
{
    if (!symmetric)
        return { { 1, n, !reverse, 0 } };
    const auto h = int32_t(symmetricHalf(n));
    return { { 1, h, !reverse, 0 }, { h + 1, n - h, reverse, 0 } };
}

ConversionOutcome convertText(const ConversionSettings &settings, std::string_view text,
    MarkupSink<char> &sink, ColorSpanSink<char> *colors)
{
    return Utf8Converter(settings).convert(text, sink, colors);
}

struct Utf8Converter::Prepared : core::PreparedConversion<char> {
    using PreparedConversion::PreparedConversion;
};

Utf8Converter::Utf8Converter(ConversionSettings settings)
    : m_prepared(std::make_unique<Prepared>(std::move(settings)))
{
}

Utf8Converter::~Utf8Converter() = default;

ConversionOutcome Utf8Converter::convert(
    std::string_view text, MarkupSink<char> &sink, ColorSpanSink<char> *colors)
{
    return convert(Utf8CharacterText(trimSpaces(text)), sink, colors);
}

ConversionOutcome Utf8Converter::convert(
    const Utf8CharacterText &trimmed, MarkupSink<char> &sink, ColorSpanSink<char> *colors)
{
    return core::convertCharacters(*m_prepared, trimmed, sink, colors);
}

ConversionOutcome convertText(const ConversionSettings &settings, const QString &text,
    MarkupSink<char16_t> &sink, ColorSpanSink<char16_t> *colors)
{
    core::PreparedConversion<char16_t> prepared(settings);
    return core::convertCharacters(prepared, CharacterText(core::trimmed(text)), sink, colors);
}

bool isWhitespaceCharacter(std::u16string_view character) { return whitespaceThroughout(character); }

bool isWhitespaceCharacter(std::string_view character) { return whitespaceThroughout(character); }

std::size_t core::nextSpace(std::u16string_view text, std::size_t from)
{
    for (; from < text.size(); ++from) {
        if (isWhitespaceCodePoint(text[from]))
            return from;
    }
    return text.size();
}

std::size_t core::nextSpace(std::string_view text, std::size_t from)
{
    // Lead bytes of whitespace: ASCII up to the space, C2 (U+0085, U+00A0), E1 (U+1680), E2
    // (U+2000 ..), E3 (U+3000); sixteen bytes at a time look for one. A test runs every code
    // point through both loops against isWhitespaceCharacter.
    for (; from + 16 <= text.size(); from += 16) {
        const char *bytes = text.data() + from;
        uint32_t mask = simd::atMost(bytes, 0x20) | simd::equal(bytes, char(0xC2))
            | (simd::greater(bytes, char(0xE0)) & simd::less(bytes, char(0xE4)));
        for (; mask != 0; mask &= mask - 1) {
            const std::size_t at = from + std::size_t(__builtin_ctz(mask));
            if (startsWithSpace(text, at))
                return at;
        }
    }
    for (; from < text.size(); ++from) {
        const auto byte = uint8_t(text[from]);
        if ((byte <= 0x20 || byte == 0xC2 || (byte >= 0xE1 && byte <= 0xE3)) && startsWithSpace(text, from))
            return from;
    }
    return text.size();
}

bool core::startsWithSpace(std::u16string_view text, std::size_t at) { return spaceAt(text, at); }

bool core::startsWithSpace(std::string_view text, std::size_t at) { return spaceAt(text, at); }

std::variant<FitPlanner::Fit, FitPlanner::TooLong> fitGroupSize(
    const ConversionSettings &settings, std::string_view text, int64_t limit, FitUnit unit)
{
    return fitGroupSize(settings, Utf8CharacterText(trimSpaces(text)), limit, unit);
}

std::variant<FitPlanner::Fit, FitPlanner::TooLong> fitGroupSize(
    const ConversionSettings &settings, const Utf8CharacterText &characters, int64_t limit, FitUnit unit)
{
    MarkupSizer sizer(unit);
    const auto templateSize = [&sizer](std::string_view units) { return sizer.size(units); };
    const auto sizeOf = [&](std::string_view units) {
        return sizer.size(units)
            + (settings.escape ? int64_t(escapeGrowth(units.data(), units.data() + units.size())) : 0);
    };
    FitPlanner planner(fragmentOverhead(settings.markup, templateSize));
    const std::string_view inner = characters.text();
    const int64_t n = characters.size();
    int64_t coloredCount = 0;
    if (characters.codePointCharacters()) {
        // Every code point a character (a CR LF pair one): a run of coloured characters at a time,
        // up to the next untagged whitespace or just past the next '[' that ends a tag.
        const bool brackets = settings.endsTagsAfterBrackets();
        std::size_t bracket = brackets ? inner.find('[') : std::string_view::npos;
        std::size_t at = 0;
        while (at < inner.size()) {
            if (bracket < at)
                bracket = inner.find('[', at);
            const std::size_t space = settings.skipSpaces ? core::nextSpace(inner, at) : inner.size();
            const bool endsTag = bracket < space;
            const std::size_t runEnd = endsTag ? bracket + 1 : space;
            const std::string_view run = inner.substr(at, runEnd - at);
            int64_t runCharacters = int64_t(codePointCount(run));
            for (std::size_t pair = run.find("\r\n"); pair != run.npos; pair = run.find("\r\n", pair + 2))
                --runCharacters;
            planner.addColored(runCharacters, sizeOf(run), endsTag);
            coloredCount += runCharacters;
            at = runEnd;
            if (endsTag || at == inner.size())
                continue;
            const bool crLf = inner.compare(space, 2, "\r\n") == 0;
            const std::size_t spaceEnd
                = crLf ? space + 2 : space + decodeAt(inner.data(), inner.size(), space).length;
            planner.add(sizeOf(inner.substr(space, spaceEnd - space)), false);
            at = spaceEnd;
        }
    } else if (n > 0) {
        characters.visitFrom(0, [&](auto cursor) {
            core::forEachCharacter<char>(cursor, n, [&](std::string_view character) {
                const bool colored = !(settings.skipSpaces && isWhitespaceCharacter(character));
                planner.add(sizeOf(character), colored,
                    settings.endsTagsAfterBrackets() && character.find('[') != std::string_view::npos);
                coloredCount += colored ? 1 : 0;
            });
        });
    }
    if (settings.merge && coloredCount > 0 && n <= maximumLength
        && checkLength(settings.mode, settings.symmetric, coloredCount) == ConversionOutcome::Converted) {
        // Merged, the size depends on which neighbouring groups share a colour.
        ConversionSettings ungrouped = settings;
        ungrouped.groupSize = 1;
        ungrouped.merge = false;
        const std::optional<ColorRamp> ramp = core::rampFor(ungrouped);
        core::ConversionColors colors(ungrouped, ramp, int32_t(coloredCount));
        std::vector<ColorSpan> spans;
        for (ColorSpan span; colors.spans().next(span);)
            spans.push_back(span);
        planner.mergeColors(std::move(spans));
    }
    return planner.plan(limit);
}

} // namespace rainbow
