#pragma once

#include "cli/io.h"
#include "cli/options.h"
#include "convert/conversion.h"

#include <string>
#include <string_view>

namespace rainbow::cli {

/// Writes texts to the output as the request asks, each followed by a line break.
class TextWriter {
public:
    /// With colors, the colours of a conversion go there and nothing is written (for --image).
    TextWriter(const Request &request, ChunkedOutput &out, ColorSpanSink<char> *colors = nullptr);

    /// The text converted: its markup, or its preview; with --recolor, its colour markup removed
    /// first; with --strip, only that. A refusal (status 1: too short for the rainbow, too long
    /// for --fit; 2: too many characters) writes nothing.
    Result<> convert(std::string_view text);

    /// After convert(text) refused it: the text to print uncoloured, without the colour markup
    /// that --recolor removed.
    std::string_view refused(std::string_view text) const { return m_request.recolor ? m_stripped : text; }

    /// The text uncoloured, then ending: as it is, or for the preview with its controls shown
    /// (and bytes that are not UTF-8 as U+FFFD).
    void writePlain(std::string_view text, std::string_view ending = "\n");

private:
    const Request &m_request;
    ChunkedOutput &m_out;
    ColorSpanSink<char> *m_colors;
    Utf8Converter m_converter;
    std::string m_withoutSgr;
    std::string m_stripped; // --recolor's text, which the preview reads as it is converted
};

} // namespace rainbow::cli
