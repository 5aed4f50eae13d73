#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace rainbow::cli {

/// A failure that ends the run with exit status 2, its message on standard error and a pointer to
/// --help.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// The bytes in single quotes for a message, cut after about 60 characters, with control
/// characters, backslashes, quotes and bytes that are not UTF-8 escaped: a value can neither break
/// the message's line nor reach the terminal as an escape sequence.
std::string quoted(std::string_view value);

} // namespace rainbow::cli
