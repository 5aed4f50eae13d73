#pragma once

#include "engine/markup.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace rainbow {

/// The entity that stands for a code unit in HTML text: "&lt;", "&gt;", "&amp;"; empty for any
/// other unit, which goes in as it is. The three are ASCII, so a unit of UTF-8 or UTF-16 text can
/// be looked at alone.
constexpr std::string_view htmlEntity(char32_t unit)
{
    switch (unit) {
    case U'<':
        return "&lt;";
    case U'>':
        return "&gt;";
    case U'&':
        return "&amp;";
    default:
        return {};
    }
}

/// How many code units longer [begin, end) becomes with its '<', '>' and '&' as entities.
template <typename CharT> std::size_t escapeGrowth(const CharT *begin, const CharT *end)
{
    std::size_t extra = 0;
    for (; begin != end; ++begin) {
        if (const std::size_t size = htmlEntity(char32_t(std::make_unsigned_t<CharT>(*begin))).size())
            extra += size - 1;
    }
    return extra;
}

/// Writes the entities for the '<', '>' and '&' among the units [begin, end), in place (there must
/// be room for escapeGrowth more units after end); returns the new end.
template <typename CharT> CharT *escapeInPlace(CharT *begin, CharT *end)
{
    CharT *const newEnd = end + escapeGrowth<CharT>(begin, end);
    for (CharT *to = newEnd; to != end;) {
        const CharT unit = *--end;
        const std::string_view entity = htmlEntity(char32_t(std::make_unsigned_t<CharT>(unit)));
        if (entity.empty()) {
            *--to = unit;
        } else {
            to -= entity.size();
            std::copy(entity.begin(), entity.end(), to);
        }
    }
    return newEnd;
}

/// HTML5's own colour tag: <span style="color:#RRGGBB">x</span>.
MarkupTemplate spanTemplate();

/// Why a template for --template was refused.
enum class TemplateError {
    MissingHex, ///< no {hex}
    MissingText, ///< no {text}
    RepeatedPlaceholder, ///< {hex} or {text} more than once
    TextBeforeHex, ///< the colour must come before the character
};

/// 'OPEN{hex}MID{text}CLOSE' as the template (OPEN, MID, CLOSE): {hex} stands for the six digits
/// RRGGBB (no '#': write it in OPEN), {text} for the character or characters. Only these two exact
/// placeholders are special; every other brace is text.
std::variant<MarkupTemplate, TemplateError> parseMarkupTemplate(std::string_view pattern);

} // namespace rainbow
