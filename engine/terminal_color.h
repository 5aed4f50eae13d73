#pragma once

#include "engine/color.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rainbow {

/// How many colours a terminal shows: 24-bit colour, or the xterm palette of 256.
enum class ColorDepth { TrueColor, Palette256 };

/// "24" or "8" (bits, as --color-depth takes them); nullopt otherwise.
std::optional<ColorDepth> parseColorDepth(std::string_view bits);

/// TrueColor when COLORTERM is "truecolor" or "24bit", the palette otherwise (colorterm may be
/// null: the variable is unset).
ColorDepth colorDepthFromColorterm(const char *colorterm);

/// The colour of xterm palette entry 16..231 (the 6 × 6 × 6 cube of levels 0, 95, 135, 175, 215,
/// 255) or 232..255 (the greys 8, 18, ..., 238). Throws std::out_of_range for other indexes: 0..15
/// are the terminal's own.
RgbTriple xterm256Color(int index);

/// The palette entry 16..255 nearest to the colour (least squared distance in RGB); ties go to the
/// lower index, so the cube before the greys.
int nearestXterm256(const RgbTriple &color);

/// Longest foreground sequence: ESC "[38;2;255;255;255m".
inline constexpr std::size_t maxForegroundSgrSize = 19;

/// Writes the SGR sequence that sets the foreground to the colour, ESC "[38;2;R;G;Bm" or
/// ESC "[38;5;Nm" with N = nearestXterm256; at most maxForegroundSgrSize bytes; returns the end.
char *writeForegroundSgr(char *out, const RgbTriple &color, ColorDepth depth);
std::string foregroundSgr(const RgbTriple &color, ColorDepth depth);

/// The one reading of a terminal's SGR sequence (Select Graphic Rendition: ESC '[', parameter
/// bytes 0x30..0x3F, 'm'), of any length: the bytes it takes from text[at] on, 0 when none starts
/// there. The parameters are text[at + 2, at + length − 1).
std::size_t sgrLength(std::string_view text, std::size_t at);

/// Back to the terminal's own colours.
inline constexpr std::string_view resetSgr = "\x1b[0m";

} // namespace rainbow
