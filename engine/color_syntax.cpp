#include "engine/color_syntax.h"

namespace rainbow {

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<RgbTriple> parseHexColor(std::string_view text)
{
    const bool hash = !text.empty() && text.front() == '#';
    if (hash)
        text.remove_prefix(1);
    // #RGB needs its '#': three bare digits are more likely a typing slip than a colour.
    const bool shortForm = hash && text.size() == 3;
    if (text.size() != 6 && !shortForm)
        return std::nullopt;
    int digits[6] = {};
    for (std::size_t i = 0; i < text.size(); ++i) {
        digits[i] = hexDigitValue(text[i]);
        if (digits[i] < 0)
            return std::nullopt;
    }
    const auto component = [&](int i) {
        return shortForm ? int16_t(digits[i] * 17) : int16_t(digits[2 * i] * 16 + digits[2 * i + 1]);
    };
    return RgbTriple { component(0), component(1), component(2) };
}

std::variant<std::vector<RgbTriple>, StopsError> parseColorStops(std::string_view text)
{
    std::size_t count = 1;
    for (const char c : text)
        count += c == ',' ? 1 : 0;
    if (count < minimumStops || count > maximumStops)
        return StopsError { StopsError::Kind::Count, count, 0, {} };
    std::vector<RgbTriple> stops;
    stops.reserve(count);
    for (std::size_t index = 0; index < count; ++index) {
        const std::size_t comma = text.find(',');
        const std::string_view entry = text.substr(0, comma);
        const auto color = parseHexColor(entry);
        if (!color)
            return StopsError { StopsError::Kind::Color, count, index, entry };
        stops.push_back(*color);
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
    }
    return stops;
}

} // namespace rainbow
