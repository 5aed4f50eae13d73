#pragma once

#include "cli/io.h"
#include "cli/options.h"

#include <iosfwd>

namespace rainbow::cli {

/// --lines: each line of the text converted on its own and written before the next is read; a
/// line that is refused is written as it is. A line that is not UTF-8 is written as it is too and
/// reported on err, and the run goes on to end with 2. size follows the line at hand. Returns the
/// exit status.
int convertLines(const Request &request, int input, int output, std::ostream &err, TextSize &size);

} // namespace rainbow::cli
