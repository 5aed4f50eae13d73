#pragma once

#include "engine/markup.h"

#include <string>
#include <string_view>
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

/// The text with every '<', '>' and '&' replaced by its entity.
std::string escapeHtml(std::string_view text);

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
