#pragma once

#include "cli/io.h"
#include "cli/options.h"

#include <iosfwd>

namespace rainbow::cli {

/// --lines: each line of the text converted on its own and written before the next is read. A
/// line that is refused or not UTF-8 is written as it is, its CR LF kept, and reported on err by
/// its number; the run goes on to end with the status the whole text would give (1 refused, 2 not
/// UTF-8). size follows the line at hand. Returns that status, or the failed read or write that
/// ended the run.
Result<int> convertLines(const Request &request, int input, int output, std::ostream &err, TextSize &size);

} // namespace rainbow::cli
