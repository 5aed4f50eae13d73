#pragma once

#include <QString>
#include <QStringView>

#include <exception>

namespace rainbow {

/// Whether the input, without its leading and trailing spaces, holds enough characters (grapheme
/// clusters, inner spaces included) for the rainbow mode.
bool longEnoughForRainbow(QStringView input);

/// Most characters the window converts. The preview lays out every character it shows before
/// the window answers again, about a microsecond each: this keeps a conversion to a few seconds.
inline constexpr qsizetype windowCharacterLimit = 2000000;

/// The style picture for the values of the check boxes "逆虹" (check1) and "对称" (check2):
/// 0 plain, 1 reverse, 2 symmetric with the reverse half first, 3 symmetric with the forward half
/// first. check2 counts as ticked for any non-zero value, check1 only for exactly 1.
int stylePictureIndex(int check1, int check2);

/// The status message for an error that ended a handler: memory ran out (std::bad_alloc), a
/// count went past its limit (std::overflow_error, std::length_error), or anything else.
const QString &failureMessage(const std::exception_ptr &error);

} // namespace rainbow
