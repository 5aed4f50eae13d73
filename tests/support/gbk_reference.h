#pragma once

// glibc's GBK through iconv, apart from the ICU converter the tool counts with; it agrees with
// what a browser sends on the characters the tests give it.

#include "engine/code_points.h"

#include <iconv.h>

#include <cstdint>
#include <string>

namespace rainbow::test {

/// The bytes of a UTF-8 text in GBK, each character GBK lacks counted as the "&#N;" a browser
/// sends for it on a GBK page. -1 when this system's iconv has no GBK.
inline int64_t gbkSize(std::string text)
{
    const iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == iconv_t(-1))
        return -1;
    int64_t total = 0;
    char *inAt = text.data();
    std::size_t inLeft = text.size();
    std::string out(4 * text.size() + 16, '\0');
    while (inLeft > 0) {
        char *outAt = out.data();
        std::size_t outLeft = out.size();
        if (iconv(cd, &inAt, &inLeft, &outAt, &outLeft) == std::size_t(-1)) {
            const DecodedCodePoint c = decodeAt(inAt, inLeft, 0);
            total += int64_t(("&#" + std::to_string(uint32_t(c.value)) + ";").size());
            inAt += c.length;
            inLeft -= c.length;
        }
        total += int64_t(out.size() - outLeft);
    }
    iconv_close(cd);
    return total;
}

} // namespace rainbow::test
