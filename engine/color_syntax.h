#pragma once

#include "engine/color.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

namespace rainbow {

/// The value of a hexadecimal digit in either case; -1 for any other character.
int hexDigitValue(char c);

/// A colour written RRGGBB, #RRGGBB or #RGB (#F80 is FF8800), digits in either case; nullopt for
/// anything else: a sign, 0x, spaces, RGB without '#', another length.
std::optional<RgbTriple> parseHexColor(std::string_view text);

/// Fewest and most colours a list of stops may hold.
inline constexpr std::size_t minimumStops = 2;
inline constexpr std::size_t maximumStops = 16;

/// Why a list of stops was refused: its number of entries, or the first entry that is no colour.
struct StopsError {
    enum class Kind { Count, Color };
    Kind kind = Kind::Count;
    std::size_t count = 0; // entries in the list (both kinds)
    std::size_t index = 0; // 0-based, of the entry that is no colour (Kind::Color)
    std::string_view entry; // that entry, a view into the parsed text
};

/// Colours separated by commas, each as parseHexColor takes it, minimumStops..maximumStops of them.
/// An empty entry (",,", a comma at either end) is no colour; the count is checked first.
std::variant<std::vector<RgbTriple>, StopsError> parseColorStops(std::string_view text);

} // namespace rainbow
