#pragma once

#include <cstddef>
#include <string>

namespace rainbow::bench {

/// The benchmark text in UTF-8: the given number of characters, about a third of them CJK
/// ideographs at pseudo-random places and the rest printable ASCII, every 80th a line break.
/// The same for the same count. No character joins a neighbour, so no boundary finder runs.
/// withEmoji puts an emoji in the middle of every line instead, in turn a plain one, one with a
/// skin tone, one with a variation selector, a flag and a family joined by ZWJ: characters of
/// several code points that send the conversion through the boundary scanner.
std::string benchText(std::size_t characters, bool withEmoji = false);

} // namespace rainbow::bench
