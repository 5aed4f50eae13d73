#pragma once

#include <array>
#include <string_view>

namespace rainbow::ui {

// Plain C++ without the toolkit, so that anything drawing text as the window does (an image of the
// preview, say) takes the same faces.

/// The faces of the window's font, most wanted first: SimSun, then the Simplified Chinese faces
/// Debian ships, Song faces before the sans and Kai ones. Naming them all keeps the Simplified
/// letter forms whatever the locale, and the toolkit then takes Latin letters from the same face
/// as the Chinese, where for SimSun alone it takes both from fontconfig's guesses.
inline constexpr std::array<std::string_view, 7> windowFontFamilies { "SimSun", "AR PL UMing CN",
    "Noto Serif CJK SC", "Noto Sans CJK SC", "WenQuanYi Zen Hei", "WenQuanYi Micro Hei", "AR PL UKai CN" };

/// The window font's size in pixels: SimSun 9 pt at 96 dots per inch, 12 pixels a Chinese character.
inline constexpr int windowFontPixelSize = 12;

} // namespace rainbow::ui
