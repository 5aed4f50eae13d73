#include "utf8.h"

#include <gtest/gtest.h>

using namespace rainbow;

TEST(FirstInvalidUtf8, FindsTheFirstBadByte)
{
    const struct {
        const char *name;
        std::string bytes;
        std::optional<std::size_t> expected;
    } cases[] = {
        { "empty", "", std::nullopt },
        { "ASCII", "abc", std::nullopt },
        { "CJK and emoji", "青柚😀", std::nullopt },
        { "stray continuation byte", "ab\x80", 2 },
        { "lead byte without its tail", "a\xE9\x9D", 1 },
        { "overlong slash", "\xC0\xAF", 0 },
        { "overlong three-byte form", "x\xE0\x80\xAF", 1 },
        { "UTF-16 surrogate", "\xED\xA0\x80", 0 },
        { "past U+10FFFF", "\xF4\x90\x80\x80", 0 },
        { "byte FF", "ok\xFF", 2 },
        { "bad byte after good multibyte", "青\xFE", 3 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(firstInvalidUtf8(c.bytes), c.expected);
    }
}
