#pragma once

// The rules of one character's colour and fragment written out plainly, one character at a time:
// the answers the span-wise conversions are tested against.

#include "engine/color.h"
#include "engine/hue_wheel.h"
#include "engine/markup.h"

#include <string>
#include <string_view>

namespace rainbow::test {

/// OpenPrefix, the six-digit colour code, OpenSuffix, the character unchanged (no escaping), CloseTag.
inline std::string ColorFragment(
    std::string_view character, const RgbTriple &color, const MarkupTemplate &markup)
{
    return markup.OpenPrefix + colorCode(color) + markup.OpenSuffix + std::string(character)
        + markup.CloseTag;
}

/// The rainbow colour of 1-based position i on a wheel of l positions turned by iColor.
/// Writes the colour into rainbowColor as well; when no sector holds the position (a negative
/// iColor + i) rainbowColor keeps its value and its packed form is returned. Throws as HueWheel
/// does, before anything is written.
inline PackedColor GetIColor(int32_t iColor, int32_t i, int32_t l, RgbTriple &rainbowColor)
{
    if (const auto color = HueWheel(l).colorOf(iColor, i))
        rainbowColor = *color;
    return packColor(rainbowColor);
}

} // namespace rainbow::test
