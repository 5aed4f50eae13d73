#include "cli/text_writer.h"

#include "cli/preview.h"
#include "cli/translation.h"
#include "cli/utf8.h"
#include "convert/characters.h"
#include "engine/strip_colors.h"

#include <QString>

namespace rainbow::cli {

namespace {

Failure refusal(const ConversionSettings &settings, ConversionOutcome outcome)
{
    if (outcome == ConversionOutcome::TooManyCharacters)
        return { translate("rainbowtext-cli", "text of more than 2^31 - 1 characters") };
    const bool symmetric = outcome == ConversionOutcome::TooShortForSymmetric;
    const char *const messages[2][2] = {
        { QT_TRANSLATE_NOOP("rainbowtext-cli", "a rainbow needs at least %1 characters"),
            QT_TRANSLATE_NOOP(
                "rainbowtext-cli", "a rainbow needs at least %1 characters besides whitespace") },
        { QT_TRANSLATE_NOOP("rainbowtext-cli", "a symmetric rainbow needs at least %1 characters"),
            QT_TRANSLATE_NOOP(
                "rainbowtext-cli", "a symmetric rainbow needs at least %1 characters besides whitespace") },
    };
    return { fill(translate("rainbowtext-cli", messages[symmetric][settings.skipSpaces]),
                 { std::to_string(minimumRainbowLengthFor(symmetric)) }),
        1 };
}

/// Why the markup cannot be made short enough, in the unit the limit counts.
Failure fitRefusal(const Request &request, int64_t needed)
{
    // Untagged whitespace splits a tag: the fewest tags are one for each stretch between.
    // The figure needed is always more than one: a tag alone is longer.
    const char *const messages[3][2] = {
        { QT_TRANSLATE_NOOP("rainbowtext-cli",
              "the markup does not fit --fit %1: even one tag for the whole text needs %2 characters"),
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "the markup does not fit --fit %1: even one tag for each stretch between untagged whitespace "
                "needs %2 characters") },
        { QT_TRANSLATE_NOOP("rainbowtext-cli",
              "the markup does not fit --fit %1: even one tag for the whole text needs %2 bytes of UTF-8"),
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "the markup does not fit --fit %1: even one tag for each stretch between untagged whitespace "
                "needs %2 bytes of UTF-8") },
        { QT_TRANSLATE_NOOP("rainbowtext-cli",
              "the markup does not fit --fit %1: even one tag for the whole text needs %2 bytes of GBK"),
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "the markup does not fit --fit %1: even one tag for each stretch between untagged whitespace "
                "needs %2 bytes of GBK") },
    };
    const std::size_t unit = request.fitUnit == FitUnit::CodePoints ? 0
        : request.fitUnit == FitUnit::Utf8Bytes                     ? 1
                                                                    : 2;
    return { fill(translate("rainbowtext-cli", messages[unit][request.settings.skipSpaces]),
                 { std::to_string(*request.fitLimit), std::to_string(needed) }),
        1 };
}

} // namespace

TextWriter::TextWriter(const Request &request, ChunkedOutput &out, ColorSpanSink<char> *colors)
    : m_request(request)
    , m_out(out)
    , m_colors(colors)
    , m_converter(request.settings)
{
}

Result<> TextWriter::convert(std::string_view text)
{
    if (m_request.strip && !m_request.recolor) { // --recolor strips as well
        m_out.write(stripColorMarkup(text, m_request.stripOptions));
        m_out.write("\n");
        return {};
    }
    if (m_request.recolor) {
        m_stripped = stripColorMarkup(text, m_request.stripOptions);
        text = m_stripped;
    }
    if (m_request.preview)
        text = withoutSgr(text, m_withoutSgr); // the preview colours the text anew
    // The text is trimmed and split into characters once, for the fit and the conversion.
    const Utf8CharacterText characters(trimSpaces(text));
    std::optional<Utf8Converter> fitted;
    if (m_request.fitLimit) {
        const auto fit = fitGroupSize(m_request.settings, characters, *m_request.fitLimit, m_request.fitUnit);
        if (const auto *tooLong = std::get_if<FitPlanner::TooLong>(&fit))
            return fitRefusal(m_request, tooLong->needed);
        ConversionSettings settings = m_request.settings;
        settings.groupSize = std::get<FitPlanner::Fit>(fit).groupSize;
        fitted.emplace(std::move(settings));
    }
    Utf8Converter &converter = fitted ? *fitted : m_converter;
    ConversionOutcome outcome;
    if (m_colors) {
        DiscardedMarkup markup;
        outcome = converter.convert(text, markup, m_colors);
        return outcome == ConversionOutcome::Converted ? Result<>() : refusal(m_request.settings, outcome);
    }
    if (m_request.preview) {
        DiscardedMarkup markup;
        TerminalPreview preview(m_out, m_request.depth);
        outcome = converter.convert(characters, markup, &preview);
        if (outcome == ConversionOutcome::Converted)
            preview.finish();
    } else {
        outcome = converter.convert(characters, m_out);
    }
    if (outcome != ConversionOutcome::Converted)
        return refusal(m_request.settings, outcome);
    m_out.write("\n");
    return {};
}

void TextWriter::writePlain(std::string_view text, std::string_view ending)
{
    if (m_request.preview) {
        std::string repaired;
        if (firstInvalidUtf8(text)) {
            repaired = QString::fromUtf8(text.data(), qsizetype(text.size())).toStdString();
            text = repaired;
        }
        text = withoutSgr(text, m_withoutSgr);
        writeVisible(m_out, text, 0, text.size());
    } else {
        m_out.write(text);
    }
    m_out.write(ending);
}

} // namespace rainbow::cli
