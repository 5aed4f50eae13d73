#pragma once

#include <QString>
#include <QStringList>

namespace rainbow::ui {

/// The window's typefaces in order: 宋体 (SimSun), then AR PL UMing, a Song face with the same
/// 12-pixel metrics for systems without it. rainbowtext-cli draws its pictures in them too, so
/// this header needs only Qt's strings.
inline QStringList windowFontFamilies()
{
    return { QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN") };
}

} // namespace rainbow::ui
