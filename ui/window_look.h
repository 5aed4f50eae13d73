#pragma once

#include <QFont>
#include <QIcon>

namespace rainbow::ui {

/// The colour-wheel ball that the windows and the desktop show, in all its sizes.
QIcon applicationIcon();

/// 宋体 9 pt, set in pixels so the fixed layouts hold at any DPI; without SimSun, the first installed
/// face of windowFontFamilies (AR PL UMing is a Song face with the same 12-pixel metrics).
QFont windowFont();

} // namespace rainbow::ui
