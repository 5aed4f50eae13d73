#pragma once

#include "engine/color.h"

#include <QColor>

namespace rainbow::ui {

/// The colour a control shows for a packed colour (red in the low byte).
inline QColor toQColor(PackedColor color)
{
    const RgbTriple rgb = unpackColor(color);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

/// The packed form of a colour's red, green and blue.
inline PackedColor toPackedColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return packColor({ int16_t(rgb.red()), int16_t(rgb.green()), int16_t(rgb.blue()) });
}

} // namespace rainbow::ui
