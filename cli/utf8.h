#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace rainbow {

/// Byte offset of the first byte that does not belong to well-formed UTF-8 (overlong forms,
/// surrogates and values past U+10FFFF are ill-formed), or nullopt when all of it is well formed.
std::optional<std::size_t> firstInvalidUtf8(std::string_view bytes);

/// Length of the well-formed sequence that starts at byte at (< bytes.size()), 0 when none does.
std::size_t wellFormedSequenceLength(std::string_view bytes, std::size_t at);

} // namespace rainbow
