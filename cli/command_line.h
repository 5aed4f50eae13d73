#pragma once

#include "cli/options.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace rainbow {

/// rainbowtext-cli with the raw bytes of its arguments (the program name first). Reads the text
/// from the file descriptor input when no TEXT argument is given, writes to the file descriptor
/// output, and messages to err. Returns the exit status: 0 converted, 1 refused (too short for
/// the rainbow, too long for --fit), 2 bad usage, input that is not UTF-8 (with --lines, after the
/// last line), a failed read or write, or too little memory.
/// idle: whether an option that would do nothing is refused (only a test lets one through).
int runCommandLine(const std::vector<std::string> &arguments, int input, int output, std::ostream &err,
    cli::IdleOptions idle = cli::IdleOptions::Refused);

} // namespace rainbow
