#include "window_rules.h"

#include "characters.h"
#include "messages.h"

#include <new>
#include <stdexcept>

namespace rainbow {

bool longEnoughForRainbow(QStringView input)
{
    return characterCount(trimSpaces(input)) >= minimumRainbowLength;
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
