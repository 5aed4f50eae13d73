#include "convert/conversion.h"

#include "convert/conversion_core.h"
#include "convert/markup_size.h"

#include <QString>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <memory>
#include <optional>
#include <unordered_map>

namespace rainbow {

namespace {

template <typename CharT> std::basic_string<CharT> units(const std::string &utf8);

template <> std::string units(const std::string &utf8) { return utf8; }

template <> std::u16string units(const std::string &utf8)
{
    const QString text = QString::fromStdString(utf8);
    return { reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size()) };
}

/// The template's three strings in code units of CharT, for as long as a writer uses them.
template <typename CharT> struct TemplateUnits {
    explicit TemplateUnits(const MarkupTemplate &markup)
        : openPrefix(units<CharT>(markup.OpenPrefix))
        , openSuffix(units<CharT>(markup.OpenSuffix))
        , closeTag(units<CharT>(markup.CloseTag))
    {
    }

    FragmentWriter<CharT> writer() const { return { openPrefix, openSuffix, closeTag }; }

    std::basic_string<CharT> openPrefix;
    std::basic_string<CharT> openSuffix;
    std::basic_string<CharT> closeTag;
};

/// A text without coloured characters.
class NoSpans final : public ColorSpanSource {
public:
    bool next(ColorSpan &) override { return false; }
};

/// The rainbow's segments one after another, each on a wheel of its own length; a position on no
/// sector repeats the colour before it, across segments too.
class RainbowSegmentSpans final : public ColorSpanSource {
public:
    RainbowSegmentSpans(bool reverse, bool symmetric, int32_t n)
        : m_segments(rainbowSegments(reverse, symmetric, n))
    {
    }

    bool next(ColorSpan &span) override
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

private:
    std::vector<RainbowSegment> m_segments;
    std::size_t m_next = 0;
    std::optional<RainbowSpans> m_spans;
    RgbTriple m_last;
};

/// The colours the settings give n coloured characters, span by span: the window's gradient or
/// rainbow, or a gradient along stops, then grouped and merged as asked.
class ConversionColors {
public:
    /// ramp: the settings' ramp (rampFor), when they need one.
    ConversionColors(const ConversionSettings &settings, const ColorRamp *ramp, int32_t n)
    {
        const bool reverse = settings.gradientLayout && settings.reverse;
        const bool symmetric = settings.gradientLayout && settings.symmetric;
        if (n == 0) {
            m_colors = std::make_unique<NoSpans>();
        } else if (settings.mode == ConversionMode::Rainbow) {
            m_colors = std::make_unique<RainbowSegmentSpans>(settings.reverse, settings.symmetric, n);
        } else if (!ramp) {
            // Where colours change every few characters, stepping beats looking for the ends of runs.
            constexpr int32_t shortText = 4096;
            if (n <= shortText)
                m_colors = std::make_unique<SteppedGradientSpans>(settings.startColor, settings.endColor, n);
            else
                m_colors = std::make_unique<SpanSourceOf<GradientSpans>>(
                    GradientSpans(settings.startColor, settings.endColor, n));
        } else {
            m_colors = std::make_unique<StopGradientSpans>(*ramp, n, reverse, symmetric);
        }
        m_outer = m_colors.get();
        if (settings.groupSize > 1)
            m_outer = &m_grouped.emplace(*m_outer, settings.groupSize);
        if (settings.merge)
            m_outer = &m_merged.emplace(*m_outer);
    }

    ConversionColors(const ConversionColors &) = delete;
    ConversionColors &operator=(const ConversionColors &) = delete;

    ColorSpanSource &spans() { return *m_outer; }

private:
    std::unique_ptr<ColorSpanSource> m_colors;
    std::optional<GroupedSpans> m_grouped;
    std::optional<MergedSpans> m_merged;
    ColorSpanSource *m_outer;
};

template <typename CharT, typename Text> std::basic_string_view<CharT> textUnits(const Text &text);

template <> std::string_view textUnits<char>(const Utf8CharacterText &text) { return text.text(); }

template <> std::u16string_view textUnits<char16_t>(const CharacterText &text)
{
    return { reinterpret_cast<const char16_t *>(text.text().utf16()), std::size_t(text.text().size()) };
}

/// The ramp a gradient needs for stops, a blend or a layout; nullopt for the window's gradient.
std::optional<ColorRamp> rampFor(const ConversionSettings &settings)
{
    const bool layout = settings.gradientLayout && (settings.reverse || settings.symmetric);
    if (settings.mode != ConversionMode::Gradient
        || (settings.stops.empty() && settings.blend == Blend::Rgb && !layout))
        return std::nullopt;
    return ColorRamp(
        settings.stops.empty() ? std::vector { settings.startColor, settings.endColor } : settings.stops,
        settings.blend);
}

/// What the settings decide, made once for any number of texts.
template <typename CharT> struct PreparedConversion {
    explicit PreparedConversion(ConversionSettings conversionSettings)
        : settings(std::move(conversionSettings))
        , writer(TemplateUnits<CharT>(settings.markup).writer())
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
        ConversionColors colors(settings, ramp ? &*ramp : nullptr, n);
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

/// Characters of the text that take a colour: all, or with skipSpaces those not whitespace.
template <typename CharT, typename Text>
int32_t coloredCount(const ConversionSettings &settings, const Text &text)
{
    const int32_t n = core::checkedCount(text.size());
    if (!settings.skipSpaces || n == 0)
        return n;
    int32_t colored = n;
    if (text.codePointCharacters()) {
        // Each whitespace code point is a character, but a CR LF pair is one.
        const std::basic_string_view<CharT> units = textUnits<CharT>(text);
        for (std::size_t at = core::nextSpace(units, 0); at < units.size();
             at = core::nextSpace(units, at + 1)) {
            if (units[at] == '\r' && at + 1 < units.size() && units[at + 1] == '\n')
                ++at;
            --colored;
        }
        return colored;
    }
    colored = 0;
    text.visitFrom(0, [&](auto cursor) {
        core::forEachCharacter<CharT>(cursor, n, [&](std::basic_string_view<CharT> character) {
            colored += isWhitespaceCharacter(character) ? 0 : 1;
        });
    });
    return colored;
}

/// After the trimming: the check, then the whole markup into sink.
template <typename CharT, typename Text>
ConversionOutcome convertCharacters(PreparedConversion<CharT> &prepared, const Text &text,
    std::basic_string_view<CharT> trimmedText, MarkupSink<CharT> &sink, ColorSpanSink<CharT> *colors)
{
    const ConversionSettings &settings = prepared.settings;
    const int32_t n = core::checkedCount(text.size());
    const int32_t colored = coloredCount<CharT>(settings, text);
    const ConversionOutcome outcome = checkLength(settings.mode, settings.symmetric, colored);
    if (outcome != ConversionOutcome::Converted)
        return outcome;
    if (colors)
        colors->start(trimmedText);
    const auto onSpan = [colors](const RgbTriple &color, std::size_t first, std::size_t end) {
        if (colors)
            colors->colored(color, first, end);
    };
    FragmentWriter<CharT> &writer = prepared.writer;
    const core::TaggingRules rules { !settings.sharedTags(), settings.skipSpaces, settings.escape };
    if (rules.plain()) {
        // One fragment per character: the markup's size is known now.
        sink.expect(std::size_t(n) * writer.fixedSize() + trimmedText.size());
    }
    if (n == 0)
        return outcome;
    // Short texts change colour every few characters, and a stream of lines brings the same
    // lengths again and again: their tags are made once.
    constexpr int32_t shortText = 4096;
    if (rules.plain() && !colors && n <= shortText) {
        const std::vector<CharT> &heads = prepared.headsFor(n);
        text.visitFrom(0, [&](auto cursor) {
            CharT *out
                = sink.reserve(std::size_t(n) * writer.fixedSize() + cursor.unitsBound(std::size_t(n)));
            sink.commit(writer.writeFragmentsWithHeads(out, cursor, heads.data(), std::size_t(n)));
        });
        return outcome;
    }
    ConversionColors spans(settings, prepared.ramp ? &*prepared.ramp : nullptr, colored);
    text.visitFrom(0, [&](auto cursor) {
        if (rules.plain())
            writeSpans(writer, spans.spans(), cursor, sink, onSpan);
        else
            core::writeTaggedSpans(writer, spans.spans(), cursor, trimmedText, text.codePointCharacters(), n,
                rules, sink, onSpan);
    });
    return outcome;
}

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
    const int32_t h = int32_t(roundHalfEven(n / 2.0));
    return { { 1, h, !reverse, 0 }, { h + 1, n - h, reverse, 0 } };
}

ConversionOutcome convertText(const ConversionSettings &settings, std::string_view text,
    MarkupSink<char> &sink, ColorSpanSink<char> *colors)
{
    return Utf8Converter(settings).convert(text, sink, colors);
}

struct Utf8Converter::Prepared : PreparedConversion<char> {
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
    const std::string_view inner = trimSpaces(text);
    return convertCharacters<char>(*m_prepared, Utf8CharacterText(inner), inner, sink, colors);
}

ConversionOutcome convertText(const ConversionSettings &settings, const QString &text,
    MarkupSink<char16_t> &sink, ColorSpanSink<char16_t> *colors)
{
    const CharacterText characters(core::trimmed(text));
    const std::u16string_view units(
        reinterpret_cast<const char16_t *>(characters.text().utf16()), std::size_t(characters.text().size()));
    PreparedConversion<char16_t> prepared(settings);
    return convertCharacters(prepared, characters, units, sink, colors);
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
    const ConversionSettings &settings, std::string_view text, int64_t limit, FitUnit unit)
{
    MarkupSizer sizer(unit);
    const auto sizeOf = [&sizer](std::string_view units) { return sizer.size(units); };
    const MarkupTemplate &markup = settings.markup;
    FitPlanner planner(sizeOf(markup.OpenPrefix) + 6 + sizeOf(markup.OpenSuffix) + sizeOf(markup.CloseTag));
    const std::string_view inner = trimSpaces(text);
    const Utf8CharacterText characters(inner);
    const int32_t n = core::checkedCount(characters.size());
    if (n > 0) {
        characters.visitFrom(0, [&](auto cursor) {
            core::forEachCharacter<char>(cursor, n, [&](std::string_view character) {
                int64_t size = sizeOf(character);
                if (settings.escape) {
                    for (const char unit : character) {
                        if (const std::size_t entity = htmlEntity(char32_t(uint8_t(unit))).size())
                            size += int64_t(entity) - 1;
                    }
                }
                planner.add(size, !(settings.skipSpaces && isWhitespaceCharacter(character)));
            });
        });
    }
    return planner.plan(limit);
}

} // namespace rainbow
