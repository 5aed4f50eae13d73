#include "convert/recolor.h"

#include <string>

namespace rainbow {

StripOptions stripOptionsFor(const ConversionSettings &settings)
{
    return { settings.markup, settings.escape };
}

ConversionOutcome recolorText(const ConversionSettings &settings, std::string_view marked,
    MarkupSink<char> &sink, const StripOptions &strip)
{
    const std::string text = stripColorMarkup(marked, strip);
    return convertText(settings, text, sink);
}

} // namespace rainbow
