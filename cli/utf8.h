#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace rainbow {

/// Byte offset of the first byte that does not belong to well-formed UTF-8 (overlong forms,
/// surrogates and values past U+10FFFF are ill-formed), or nullopt when all of it is well formed.
std::optional<std::size_t> firstInvalidUtf8(std::string_view bytes);

/// The bytes of a byte-order mark at the start of text: 3, or 0 when it has none.
inline std::size_t byteOrderMark(std::string_view text)
{
    return text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

} // namespace rainbow
