#pragma once

#include "cli/image_job.h"
#include "cli/options.h"
#include "cli/result.h"

#include <iosfwd>
#include <string_view>

namespace rainbow::cli {

/// The kind of picture a --image name asks for by its ending (.png or .svg in any letter case;
/// "-" is PNG); nullopt for any other.
std::optional<ImageKind> imageKind(std::string_view path);

/// Draws the text in its colours into the file request.image names, written whole or not at all
/// (through a temporary file beside it), or as PNG to output for "-". Refused as the markup would
/// be (too short for the rainbow, too long for --fit), and for an empty text, a folder that cannot
/// be written, a picture too large. A font that is not installed is a warning on err.
Result<> drawImage(const Request &request, std::string_view text, int output, std::ostream &err);

/// The bytes [first, end) of a text in one colour.
struct ByteRun {
    std::size_t first;
    std::size_t end;
    RgbTriple color;
};

/// The picture's text as UTF-16 with its colour runs and break opportunities: the trimmed UTF-8
/// text and its runs as the conversion gave them. Throws std::bad_alloc for more than 2^31 − 1
/// code units.
ImageJob imageJob(std::string_view trimmed, const std::vector<ByteRun> &byteRuns);

} // namespace rainbow::cli
