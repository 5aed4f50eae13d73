#include "convert/conversion.h"

#include "convert/conversion_core.h"

#include <QString>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <memory>
#include <optional>
#include <unordered_map>

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

bool isWhitespaceCodePoint(char32_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680
        || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F
        || c == 0x3000;
}

} // namespace

ConversionOutcome checkLength(ConversionMode mode, bool symmetric, int64_t n)
{
    if (mode == ConversionMode::Gradient)
        return ConversionOutcome::Converted;
    if (n < minimumRainbowLength)
        return ConversionOutcome::TooShortForRainbow;
    if (symmetric && n < 2 * minimumRainbowLength)
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
    return core::convertCharacters(*m_prepared, Utf8CharacterText(trimSpaces(text)), sink, colors);
}

ConversionOutcome convertText(const ConversionSettings &settings, const QString &text,
    MarkupSink<char16_t> &sink, ColorSpanSink<char16_t> *colors)
{
    core::PreparedConversion<char16_t> prepared(settings);
    return core::convertCharacters(prepared, CharacterText(core::trimmed(text)), sink, colors);
}

bool isWhitespaceCharacter(std::u16string_view character)
{
    return !character.empty() && std::all_of(character.begin(), character.end(), [](char16_t unit) {
        return isWhitespaceCodePoint(unit);
    });
}

bool isWhitespaceCharacter(std::string_view character)
{
    if (character.empty())
        return false;
    for (std::size_t at = 0; at < character.size();) {
        if (!core::startsWithSpace(character, at))
            return false;
        at += utf8SequenceLength(character[at]);
    }
    return true;
}

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
    // (U+2000 ..), E3 (U+3000); sixteen bytes at a time look for one.
#ifdef __SSE2__
    const __m128i space = _mm_set1_epi8(0x20);
    const __m128i c2 = _mm_set1_epi8(char(0xC2));
    const __m128i e1 = _mm_set1_epi8(char(0xE1));
    const __m128i two = _mm_set1_epi8(2);
    while (from + 16 <= text.size()) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text.data() + from));
        const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(bytes, space), bytes);
        const __m128i fromE1 = _mm_sub_epi8(bytes, e1);
        const __m128i e1ToE3 = _mm_cmpeq_epi8(_mm_min_epu8(fromE1, two), fromE1);
        auto mask
            = unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(low, _mm_cmpeq_epi8(bytes, c2)), e1ToE3)));
        for (; mask != 0; mask &= mask - 1) {
            const std::size_t at = from + std::size_t(__builtin_ctz(mask));
            if (startsWithSpace(text, at))
                return at;
        }
        from += 16;
    }
#endif
    for (; from < text.size(); ++from) {
        const auto byte = uint8_t(text[from]);
        if ((byte <= 0x20 || byte == 0xC2 || (byte >= 0xE1 && byte <= 0xE3)) && startsWithSpace(text, from))
            return from;
    }
    return text.size();
}

std::size_t core::codePointsIn(std::string_view text, std::size_t from, std::size_t to)
{
    std::size_t count = 0;
#ifdef __SSE2__
    for (; from + 16 <= to; from += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text.data() + from));
        // Continuation bytes 0x80..0xBF are -128..-65 as signed bytes.
        count += std::size_t(
            __builtin_popcount(unsigned(_mm_movemask_epi8(_mm_cmpgt_epi8(bytes, _mm_set1_epi8(-65))))));
    }
#endif
    for (; from < to; ++from)
        count += (uint8_t(text[from]) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

bool core::startsWithSpace(std::u16string_view text, std::size_t at)
{
    return isWhitespaceCodePoint(text[at]);
}

bool core::startsWithSpace(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return at + i < text.size() ? uint8_t(text[at + i]) : 0u; };
    const unsigned lead = byte(0);
    if (lead < 0x80)
        return isWhitespaceCodePoint(lead);
    if (lead == 0xC2)
        return isWhitespaceCodePoint(((lead & 0x1F) << 6) | (byte(1) & 0x3F));
    if (lead >= 0xE1 && lead <= 0xE3)
        return isWhitespaceCodePoint(((lead & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F));
    return false;
}

std::variant<FitPlanner::Fit, FitPlanner::TooLong> fitGroupSize(
    const ConversionSettings &settings, std::string_view text, int64_t limit)
{
    const auto codePoints = [](std::string_view units) {
        return int64_t(
            std::count_if(units.begin(), units.end(), [](char c) { return (uint8_t(c) & 0xC0) != 0x80; }));
    };
    const MarkupTemplate &markup = settings.markup;
    FitPlanner planner(
        codePoints(markup.OpenPrefix) + 6 + codePoints(markup.OpenSuffix) + codePoints(markup.CloseTag));
    const std::string_view inner = trimSpaces(text);
    const Utf8CharacterText characters(inner);
    const int32_t n = core::checkedCount(characters.size());
    int32_t coloredCount = 0;
    if (n > 0) {
        characters.visitFrom(0, [&](auto cursor) {
            core::forEachCharacter<char>(cursor, n, [&](std::string_view character) {
                int64_t size = codePoints(character);
                if (settings.escape) {
                    for (const char unit : character) {
                        if (const std::size_t entity = htmlEntity(char32_t(uint8_t(unit))).size())
                            size += int64_t(entity) - 1;
                    }
                }
                const bool colored = !(settings.skipSpaces && isWhitespaceCharacter(character));
                planner.add(size, colored);
                coloredCount += colored ? 1 : 0;
            });
        });
    }
    if (settings.merge && coloredCount > 0
        && checkLength(settings.mode, settings.symmetric, coloredCount) == ConversionOutcome::Converted) {
        // Merged, the size depends on which neighbouring groups share a colour.
        ConversionSettings ungrouped = settings;
        ungrouped.groupSize = 1;
        ungrouped.merge = false;
        core::ConversionColors colors(ungrouped, core::rampFor(ungrouped), coloredCount);
        std::vector<ColorSpan> spans;
        for (ColorSpan span; colors.spans().next(span);)
            spans.push_back(span);
        planner.mergeColors(std::move(spans));
    }
    return planner.plan(limit);
}

} // namespace rainbow
