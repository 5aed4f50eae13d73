#pragma once

#include <QStringView>

namespace rainbow {

/// Whether the input, without its leading and trailing spaces, holds enough characters (grapheme
/// clusters, inner spaces included) for the rainbow mode.
bool longEnoughForRainbow(QStringView input);

/// The style picture for the values of the check boxes "逆虹" (check1) and "对称" (check2):
/// 0 plain, 1 reverse, 2 symmetric with the reverse half first, 3 symmetric with the forward half
/// first. check2 counts as ticked for any non-zero value, check1 only for exactly 1.
int stylePictureIndex(int check1, int check2);

} // namespace rainbow
