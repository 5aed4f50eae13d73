#include "cli/utf8.h"

#include <QString>

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

// Every string of up to three bytes, and four-byte ones round every lead, must be judged as Qt
// judges it: well formed exactly when decoding and encoding again gives the same bytes.
TEST(FirstInvalidUtf8, AgreesWithQtOnShortSequences)
{
    const auto expectAgreement = [](const std::string &bytes) {
        // Qt drops a leading byte-order mark.
        const std::string kept = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(3) : bytes;
        const bool qtSaysValid
            = QString::fromUtf8(bytes.data(), qsizetype(bytes.size())).toStdString() == kept;
        ASSERT_EQ(!firstInvalidUtf8(bytes).has_value(), qtSaysValid) << testing::PrintToString(bytes);
    };
    std::string bytes;
    for (unsigned a = 0; a < 256; ++a) {
        expectAgreement(std::string(1, char(a)));
        for (unsigned b = 0; b < 256; ++b) {
            expectAgreement({ char(a), char(b) });
            if (a < 0xC0)
                continue; // a third byte after an ASCII or stray first byte changes nothing new
            for (unsigned c = 0; c < 256; ++c) {
                bytes = { char(a), char(b), char(c) };
                expectAgreement(bytes);
                if (a >= 0xF0 && (c == 0x7F || c == 0x80 || c == 0xBF || c == 0xC0))
                    for (unsigned d : { 0x7F, 0x80, 0xBF, 0xC0 })
                        expectAgreement(bytes + char(d));
            }
        }
    }
}
