#pragma once

#include "engine/color.h"
#include "engine/fit.h"
#include "engine/gradient_stops.h"
#include "engine/markup.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <variant>
#include <vector>

namespace rainbow {

class Utf8CharacterText;

enum class ConversionMode { Gradient, Rainbow };

/// Everything but the text that decides a conversion's markup.
struct ConversionSettings {
    ConversionMode mode = ConversionMode::Gradient;
    bool reverse = false; // rainbow colours run backward
    bool symmetric = false; // rainbow mirrored about the middle
    MarkupTemplate markup = markupTemplate(defaultMarkupFormat);
    RgbTriple startColor = defaultStartColor; // of the gradient
    RgbTriple endColor = defaultEndColor;

    // The command-line tool's further options; their defaults give the window's markup.
    std::vector<RgbTriple> stops; // 2 to 16: the gradient runs through them instead
    Blend blend = Blend::Rgb; // how the gradient mixes neighbouring stops
    bool gradientLayout = false; // reverse and symmetric lay out the gradient too
    bool skipSpaces = false; // whitespace characters untagged, taking no colour step
    bool merge = false; // neighbouring characters of one colour share a tag
    int64_t groupSize = 1; // characters a colour goes to (each group in its first one's colour)
    bool escape = false; // <, > and & of the text written as HTML entities

    /// Whether a tag may hold more than one character.
    bool sharedTags() const { return merge || groupSize > 1; }
    /// BBCode (UBB, QQ空间, a template of its kind): a tag that holds a '[' of the text ends right
    /// after it, as a tag of one character does, so that no text can open or close a tag.
    bool endsTagsAfterBrackets() const
    {
        return !markup.OpenPrefix.empty() && markup.OpenPrefix.front() == '[';
    }
};

/// Converted, or refused with nothing written.
enum class ConversionOutcome { Converted, TooShortForRainbow, TooShortForSymmetric, TooManyCharacters };

/// Most characters of trimmed input a conversion takes: it counts them in 32 bits.
inline constexpr int64_t maximumLength = INT32_MAX;

/// Fewest characters of trimmed input that a rainbow can be made of.
inline constexpr int minimumRainbowLength = 6;

/// Fewest characters a rainbow takes: a symmetric one twice as many, so each half has a wheel of
/// its own.
constexpr int64_t minimumRainbowLengthFor(bool symmetric)
{
    return (symmetric ? 2 : 1) * int64_t(minimumRainbowLength);
}

/// Whether n characters of trimmed text are enough for the mode (a gradient takes any).
ConversionOutcome checkLength(ConversionMode mode, bool symmetric, int64_t n);

/// One rainbow over the characters Start .. Start + Length − 1 (1-based) on a wheel of Length
/// positions, turned by ColorStart; its colours run backward unless InOrder.
struct RainbowSegment {
    int32_t Start;
    int32_t Length;
    bool InOrder;
    int32_t ColorStart;
};

/// The rainbows that make up a rainbow of n characters, in order: one, or for the symmetric
/// rainbow one per half (the first of n / 2 rounded half to even), in opposite directions.
std::vector<RainbowSegment> rainbowSegments(bool reverse, bool symmetric, int32_t n);

/// Told where each colour of a conversion went: the code units [first, end) of the trimmed text
/// (given once, before the first span) took color. Spans come in text order.
template <typename CharT> class ColorSpanSink {
public:
    virtual ~ColorSpanSink() = default;
    virtual void start(std::basic_string_view<CharT> trimmedText) { static_cast<void>(trimmedText); }
    virtual void colored(const RgbTriple &color, std::size_t first, std::size_t end) = 0;
};

/// The convert command on a text: trims its outer spaces, refuses a rainbow that is too short,
/// otherwise writes one colour fragment per character into sink (announcing the whole size
/// first) and tells colors, when given, where each colour went. The UTF-8 text must be well
/// formed. A text of more than maximumLength characters is refused.
ConversionOutcome convertText(const ConversionSettings &settings, std::string_view text,
    MarkupSink<char> &sink, ColorSpanSink<char> *colors = nullptr);
ConversionOutcome convertText(const ConversionSettings &settings, const QString &text,
    MarkupSink<char16_t> &sink, ColorSpanSink<char16_t> *colors = nullptr);

/// convertText of UTF-8 texts, one after another with the same settings, which are prepared once
/// (for a stream of lines).
class Utf8Converter {
public:
    explicit Utf8Converter(ConversionSettings settings);
    ~Utf8Converter();
    Utf8Converter(const Utf8Converter &) = delete;
    Utf8Converter &operator=(const Utf8Converter &) = delete;

    ConversionOutcome convert(
        std::string_view text, MarkupSink<char> &sink, ColorSpanSink<char> *colors = nullptr);
    /// The same for a text already trimmed and split into characters.
    ConversionOutcome convert(
        const Utf8CharacterText &trimmed, MarkupSink<char> &sink, ColorSpanSink<char> *colors = nullptr);

private:
    struct Prepared;
    std::unique_ptr<Prepared> m_prepared;
};

/// Whether a character of text (its code units) is whitespace through and through: tab, line
/// breaks, spaces of any width, U+3000; a space that carries a combining mark is not.
bool isWhitespaceCharacter(std::string_view character);
bool isWhitespaceCharacter(std::u16string_view character);

/// The smallest groupSize for which the markup of text, converted with settings (groupSize
/// aside; merged when they merge), takes at most limit units (code points by default); or the
/// size of the markup in one group when even that is longer. For more than maximumLength
/// characters, which convertText refuses, a merged markup is sized as if unmerged.
std::variant<FitPlanner::Fit, FitPlanner::TooLong> fitGroupSize(const ConversionSettings &settings,
    std::string_view text, int64_t limit, FitUnit unit = FitUnit::CodePoints);
/// The same for a text already trimmed and split into characters, which the conversion can take
/// next (Utf8Converter), so the text is read into characters once.
std::variant<FitPlanner::Fit, FitPlanner::TooLong> fitGroupSize(const ConversionSettings &settings,
    const Utf8CharacterText &trimmed, int64_t limit, FitUnit unit = FitUnit::CodePoints);

} // namespace rainbow
