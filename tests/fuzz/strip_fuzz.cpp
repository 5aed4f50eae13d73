// Stripping colour markup: any bytes go through whole, and the markup of any text in any built-in
// format strips back to the text: always where each character has a tag of its own, and where
// tags hold several characters unless the text itself holds markup ('[', '<', ESC).
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/string_sink.h"

#include "convert/characters.h"
#include "convert/conversion.h"
#include "engine/custom_markup.h"
#include "engine/strip_colors.h"

#include <QString>

#include <string>

using namespace rainbow;
using rainbow::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    fuzz::FuzzInput input(data, size);
    const uint8_t choice = input.byte();
    const std::string bytes = input.restBytes();
    const std::string stripped = stripColorMarkup(bytes, { std::nullopt, bool(choice & 1) });
    check(stripped.size() <= bytes.size() + bytes.size() / 2, "stripping adds next to nothing");

    // Bytes that are not UTF-8 become replacement characters.
    const std::string text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size())).toStdString();
    ConversionSettings settings;
    const int format = (choice >> 1) % 4;
    settings.markup = format == 3 ? spanTemplate() : markupTemplate(allMarkupFormats[std::size_t(format)]);
    settings.skipSpaces = (choice >> 3) & 1;
    settings.merge = (choice >> 4) & 1;
    settings.groupSize = (choice >> 5) & 1 ? 3 : 1;
    settings.escape = (choice >> 6) & 1 || (format >= 2 && settings.sharedTags());
    settings.mode = (choice >> 7) & 1 ? ConversionMode::Rainbow : ConversionMode::Gradient;
    if (settings.sharedTags() && text.find_first_of("[<\x1b") != std::string::npos)
        return 0;
    test::StringSink markup;
    if (convertText(settings, text, markup) != ConversionOutcome::Converted)
        return 0;
    check(stripColorMarkup(markup.text, StripOptions { settings.markup, settings.escape }) == trimSpaces(std::string_view(text)),
        "stripping the markup gives back the converted text");
    return 0;
}
