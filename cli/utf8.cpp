#include "cli/utf8.h"

#include "engine/code_points.h"

namespace rainbow {

std::optional<std::size_t> firstInvalidUtf8(std::string_view bytes)
{
    for (std::size_t at = 0; at < bytes.size();) {
        const DecodedCodePoint codePoint = decodeAt(bytes.data(), bytes.size(), at);
        if (codePoint.value == invalidCodePoint)
            return at;
        at += codePoint.length;
    }
    return std::nullopt;
}

} // namespace rainbow
