#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace rainbow {

/// rainbowtext-cli with the raw bytes of its arguments (the program name first). Reads the text
/// from the file descriptor input when no TEXT argument is given, writes to the file descriptor
/// output, and messages to err. Returns the exit status: 0 converted, 1 refused (too short),
/// 2 bad usage or input that is not UTF-8.
int runCommandLine(const std::vector<std::string> &arguments, int input, int output, std::ostream &err);

} // namespace rainbow
