#include "engine/custom_markup.h"

namespace rainbow {

namespace {

constexpr std::string_view hexPlaceholder = "{hex}";
constexpr std::string_view textPlaceholder = "{text}";

} // namespace

MarkupTemplate spanTemplate() { return { "<span style=\"color:#", "\">", "</span>" }; }

std::variant<MarkupTemplate, TemplateError> parseMarkupTemplate(std::string_view pattern)
{
    const std::size_t hex = pattern.find(hexPlaceholder);
    const std::size_t text = pattern.find(textPlaceholder);
    if (hex == std::string_view::npos)
        return TemplateError::MissingHex;
    if (text == std::string_view::npos)
        return TemplateError::MissingText;
    if (pattern.find(hexPlaceholder, hex + 1) != std::string_view::npos
        || pattern.find(textPlaceholder, text + 1) != std::string_view::npos)
        return TemplateError::RepeatedPlaceholder;
    if (text < hex)
        return TemplateError::TextBeforeHex;
    const std::size_t middle = hex + hexPlaceholder.size();
    return MarkupTemplate { std::string(pattern.substr(0, hex)),
        std::string(pattern.substr(middle, text - middle)),
        std::string(pattern.substr(text + textPlaceholder.size())) };
}

} // namespace rainbow
