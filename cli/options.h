#pragma once

#include "cli/image_job.h"
#include "cli/result.h"
#include "convert/conversion.h"
#include "engine/fit.h"
#include "engine/strip_colors.h"
#include "engine/terminal_color.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace rainbow::cli {

/// What a command line asks for.
struct Request {
    ConversionSettings settings;
    bool htmlMarkup = false; // --format html or span: text in a shared tag is escaped
    std::optional<int64_t> fitLimit; // --fit
    FitUnit fitUnit = FitUnit::CodePoints; // --fit-unit
    bool strip = false; // --strip: the text's colour markup removed, nothing converted
    bool recolor = false; // --recolor: the colour markup removed, then the rest converted
    StripOptions stripOptions; // what --strip and --recolor know of the markup they read
    std::optional<std::string> text; // the TEXT argument
    std::optional<std::string> path; // --file, as bytes; "-" is standard input
    bool lines = false;
    bool preview = false;
    ColorDepth depth = ColorDepth::TrueColor;
    ImageOptions image; // --image and the options of the picture
};

/// A text to print instead of converting: the help, the version or the list of formats.
struct Information {
    std::string text;
};

/// Whether an option that would do nothing is refused; Allowed lets a test see that it does nothing.
enum class IdleOptions { Refused, Allowed };

/// Reads the arguments (their raw bytes, the program name first) in one pass; a usage failure for
/// arguments it cannot take.
Result<std::variant<Request, Information>> parseArguments(
    const std::vector<std::string> &arguments, IdleOptions idle = IdleOptions::Refused);

/// --help, made from the option table.
std::string helpText();

} // namespace rainbow::cli
