#pragma once

#include <QFont>
#include <QIcon>

namespace rainbow::ui {

/// The colour-wheel ball that the windows and the desktop show, in all its sizes.
QIcon applicationIcon();

/// windowFontFamilies() at 宋体's 9 pt, set in pixels so the fixed layouts hold at any DPI.
QFont windowFont();

} // namespace rainbow::ui
