#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace rainbow {

/// rainbowtext-cli with the raw bytes of its arguments (the program name first). Reads the text
/// from in when no TEXT argument is given. Returns the exit status: 0 converted, 1 refused
/// (too short), 2 bad usage or input that is not UTF-8.
int runCommandLine(
    const std::vector<std::string> &arguments, std::istream &in, std::ostream &out, std::ostream &err);

} // namespace rainbow
