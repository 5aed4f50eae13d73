#pragma once

#include "engine/color.h"

#include <ostream>

namespace rainbow {

/// Lets GoogleTest show a colour as (r, g, b) in failure messages.
inline void PrintTo(const RgbTriple &color, std::ostream *out)
{
    *out << '(' << color.red << ", " << color.green << ", " << color.blue << ')';
}

} // namespace rainbow
