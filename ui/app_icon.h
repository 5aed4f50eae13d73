#pragma once

#include <QIcon>

namespace rainbow::ui {

/// The colour-wheel ball that the windows and the desktop show, in all its sizes.
QIcon applicationIcon();

} // namespace rainbow::ui
