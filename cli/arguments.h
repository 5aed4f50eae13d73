#pragma once

#include <QString>
#include <QStringView>

#include <stdexcept>
#include <string>
#include <string_view>

namespace rainbow::cli {

/// A failure that ends the run with exit status 2, its message on standard error and a pointer to
/// --help.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// An argument's bytes as text: well-formed UTF-8 is decoded, and every other byte b is kept as
/// the lone surrogate U+DC00 + b, which no UTF-8 decodes to, so a path comes back byte for byte.
QString argumentText(std::string_view bytes);

/// The bytes that argumentText made text from.
std::string argumentBytes(QStringView text);

/// The value in single quotes for a message, cut after about 60 characters, with control
/// characters, backslashes, quotes and bytes that are not UTF-8 escaped: a value can neither break
/// the message's line nor reach the terminal as an escape sequence.
std::string quoted(QStringView value);

} // namespace rainbow::cli
