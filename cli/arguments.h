#pragma once

#include "cli/result.h"

#include <string>
#include <string_view>

namespace rainbow::cli {

/// The bytes in single quotes for a message, cut after about 60 characters, with control
/// characters, backslashes, quotes and bytes that are not UTF-8 escaped: a value can neither break
/// the message's line nor reach the terminal as an escape sequence.
std::string quoted(std::string_view value);

} // namespace rainbow::cli
