#include "window_rules.h"

#include "characters.h"
#include "conversion.h"

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

} // namespace rainbow
