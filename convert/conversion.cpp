#include "convert/conversion.h"

#include "convert/conversion_core.h"

#include <QString>

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

/// After the trimming: the check, then the whole markup into sink.
template <typename CharT, typename Text>
ConversionOutcome convertCharacters(const ConversionSettings &settings, const Text &text,
    std::basic_string_view<CharT> trimmedText, MarkupSink<CharT> &sink, ColorSpanSink<CharT> *colors)
{
    const int32_t n = core::checkedCount(text.size());
    const ConversionOutcome outcome = checkLength(settings.mode, settings.symmetric, n);
    if (outcome != ConversionOutcome::Converted)
        return outcome;
    if (colors)
        colors->start(trimmedText);
    const auto onSpan = [colors](const RgbTriple &color, std::size_t first, std::size_t end) {
        if (colors)
            colors->colored(color, first, end);
    };
    const TemplateUnits<CharT> markup(settings.markup);
    FragmentWriter<CharT> writer = markup.writer();
    // Every mode gives each character one fragment: the markup's size is known now.
    sink.expect(std::size_t(n) * writer.fixedSize() + trimmedText.size());
    if (settings.mode == ConversionMode::Gradient) {
        core::writeGradient(text, settings.startColor, settings.endColor, writer, sink, onSpan);
    } else {
        RgbTriple last;
        for (const RainbowSegment &segment : rainbowSegments(settings.reverse, settings.symmetric, n))
            last = core::writeRainbow(text, HueWheel(segment.Length), segment, last, writer, sink, onSpan);
    }
    return ConversionOutcome::Converted;
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
    const std::string_view inner = trimSpaces(text);
    return convertCharacters(settings, Utf8CharacterText(inner), inner, sink, colors);
}

ConversionOutcome convertText(const ConversionSettings &settings, const QString &text,
    MarkupSink<char16_t> &sink, ColorSpanSink<char16_t> *colors)
{
    const CharacterText characters(core::trimmed(text));
    const std::u16string_view units(
        reinterpret_cast<const char16_t *>(characters.text().utf16()), std::size_t(characters.text().size()));
    return convertCharacters(settings, characters, units, sink, colors);
}

} // namespace rainbow
