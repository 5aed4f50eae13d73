#pragma once

#include <cstddef>
#include <string>

namespace rainbow::bench {

/// The benchmark text in UTF-8: the given number of characters, about a third of them CJK
/// ideographs at pseudo-random places and the rest printable ASCII, every 80th a line break.
/// The same for the same count. No character joins a neighbour, so no boundary finder runs.
std::string benchText(std::size_t characters);

} // namespace rainbow::bench
