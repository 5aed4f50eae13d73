#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace rainbow {

/// Byte offset of the first byte that does not belong to well-formed UTF-8 (overlong forms,
/// surrogates and values past U+10FFFF are ill-formed), or nullopt when all of it is well formed.
std::optional<std::size_t> firstInvalidUtf8(std::string_view bytes);

} // namespace rainbow
