#pragma once

#include "convert/conversion.h"
#include "engine/strip_colors.h"

#include <string_view>

namespace rainbow {

/// What stripping needs to know of markup written with settings: its template, and whether its
/// text was escaped.
StripOptions stripOptionsFor(const ConversionSettings &settings);

/// Coloured UTF-8 text in new colours: its colour markup stripped (stripColorMarkup with strip),
/// then converted with settings; the markup and outcome of convertText on the stripped text.
ConversionOutcome recolorText(const ConversionSettings &settings, std::string_view marked,
    MarkupSink<char> &sink, const StripOptions &strip = {});

} // namespace rainbow
