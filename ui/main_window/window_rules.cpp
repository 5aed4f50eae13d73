#include "ui/main_window/window_rules.h"

#include "convert/characters.h"
#include "convert/conversion.h"
#include "ui/main_window/messages.h"

#include <new>
#include <stdexcept>

namespace rainbow {

bool longEnoughForRainbow(QStringView input)
{
    // Runs at every keystroke: a long text is judged by its start. Boundaries inside a prefix
    // are those of the whole text but for the prefix's last one, so a prefix with one character
    // more than needed holds enough whole characters.
    constexpr qsizetype prefix = 256;
    const QStringView trimmed = trimSpaces(input);
    if (trimmed.size() > prefix && characterCount(trimmed.left(prefix)) > minimumRainbowLength)
        return true;
    return characterCount(trimmed) >= minimumRainbowLength;
}

int stylePictureIndex(int check1, int check2)
{
    const bool reverse = check1 == 1;
    if (check2 == 0)
        return reverse ? 1 : 0;
    return reverse ? 2 : 3;
}

const QString &failureMessage(const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc &) {
        return messages::outOfMemory;
    } catch (const std::overflow_error &) {
        return messages::tooLong;
    } catch (const std::length_error &) {
        return messages::tooLong;
    } catch (...) {
        return messages::unexpectedError;
    }
}

} // namespace rainbow
