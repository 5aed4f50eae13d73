#include "convert/conversion.h"
#include "convert/markup_size.h"

#include "tests/support/gbk_reference.h"
#include "tests/support/string_sink.h"

#include <gtest/gtest.h>

#include <iconv.h>
#include <unicode/utf8.h>

#include <fstream>
#include <sstream>
#include <string>

using namespace rainbow;

namespace {

std::string utf8(char32_t c)
{
    char bytes[U8_MAX_LENGTH];
    std::size_t length = 0;
    U8_APPEND_UNSAFE(bytes, length, UChar32(c));
    return std::string(bytes, length);
}

/// glibc's GBK, apart from ICU: the bytes of a code point, or its "&#N;" where GBK lacks it.
class IconvGbk {
public:
    IconvGbk()
        : m_cd(iconv_open("GBK", "UTF-8"))
    {
    }
    ~IconvGbk()
    {
        if (usable())
            iconv_close(m_cd);
    }
    IconvGbk(const IconvGbk &) = delete;
    IconvGbk &operator=(const IconvGbk &) = delete;

    bool usable() const { return m_cd != iconv_t(-1); }

    int64_t size(char32_t c)
    {
        std::string in = utf8(c);
        char *inAt = in.data();
        std::size_t inLeft = in.size();
        char out[16];
        char *outAt = out;
        std::size_t outLeft = sizeof out;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(m_cd, &inAt, &inLeft, &outAt, &outLeft) == std::size_t(-1))
            return int64_t(("&#" + std::to_string(uint32_t(c)) + ";").size());
        return int64_t(sizeof out - outLeft);
    }

    /// The bytes of a whole UTF-8 text in GBK, each character GBK lacks as its reference.
    int64_t textSize(std::string text) { return test::gbkSize(std::move(text)); }

private:
    iconv_t m_cd;
};

std::string converted(ConversionSettings settings, std::string_view text, int64_t groupSize)
{
    settings.groupSize = groupSize;
    test::StringSink sink;
    EXPECT_EQ(convertText(settings, text, sink), ConversionOutcome::Converted);
    return sink.text;
}

} // namespace

TEST(MarkupSize, NamedCharactersInEveryUnit)
{
    const struct {
        const char *name;
        std::string text;
        int64_t codePoints, utf8Bytes, gbkBytes;
    } cases[] = {
        { "ASCII is one unit everywhere", "[color=#FF0000]", 15, 15, 15 },
        { "CJK: three bytes of UTF-8, two of GBK", "中文", 2, 6, 4 },
        { "the euro sign is the single byte 0x80 in GBK", "€", 1, 3, 1 },
        { "an emoji GBK lacks is sent as &#128512;", "😀", 1, 4, 9 },
        { "a CJK Extension B character is sent as &#131072;", "\U00020000", 1, 4, 9 },
        { "U+00A0 is outside GBK: &#160;", "\u00A0", 1, 2, 6 },
        { "the ideographic space is in GBK", "\u3000", 1, 3, 2 },
        { "a joiner is sent, not dropped: &#8205;", "\u200D", 1, 3, 7 },
        { "a variation selector too: &#65039;", "\uFE0F", 1, 3, 8 },
        { "a family: three emoji and two joiners", "👨\u200D👩\u200D👧", 5, 18, 3 * 9 + 2 * 7 },
        { "nothing", "", 0, 0, 0 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(markupSize(c.text, FitUnit::CodePoints), c.codePoints);
        EXPECT_EQ(markupSize(c.text, FitUnit::Utf8Bytes), c.utf8Bytes);
        EXPECT_EQ(markupSize(c.text, FitUnit::GbkBytes), c.gbkBytes);
    }
}

// Every BMP character against what Chromium sends in a form of a GBK page
// (scripts/record-gbk-sizes recorded the table); beyond the BMP every character is a reference.
TEST(MarkupSize, GbkCountsWhatABrowserSendsForEveryCharacter)
{
    std::ifstream table(RAINBOWTEXT_GBK_SIZES);
    ASSERT_TRUE(table) << RAINBOWTEXT_GBK_SIZES;
    MarkupSizer sizer(FitUnit::GbkBytes);
    int checked = 0;
    int disagreements = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream range(line);
        uint32_t first = 0, last = 0;
        int64_t bytes = 0;
        range >> std::hex >> first >> last >> std::dec >> bytes;
        for (char32_t c = first; c <= last; ++c, ++checked) {
            if (sizer.size(utf8(c)) != bytes && ++disagreements <= 10)
                ADD_FAILURE() << "U+" << std::hex << uint32_t(c) << ": " << std::dec << sizer.size(utf8(c))
                              << " bytes, the browser sends " << bytes;
        }
    }
    EXPECT_EQ(checked, 63326);
    EXPECT_EQ(disagreements, 0);
    for (char32_t c = 0x10000; c < 0x110000; c += 97)
        EXPECT_EQ(sizer.codePointSize(c), int64_t(std::to_string(uint32_t(c)).size()) + 3);
}

// The group size fitted in bytes of GBK, checked on the markup itself encoded by glibc: it
// fits, and one character fewer a group would not.
TEST(FitGroupSize, CountsTheMarkupsBytesOfGbk)
{
    IconvGbk reference;
    ASSERT_TRUE(reference.usable());
    const std::string text = "彩虹字 rainbow 😀€ <b>&amp; 𠀀\u00A0x 👨\u200D👩\u200D👧 末尾";
    for (const bool escape : { false, true }) {
        ConversionSettings settings;
        settings.markup = MarkupTemplate { "<font color=\"#", "\">", "</font>" };
        settings.escape = escape;
        const int64_t whole = reference.textSize(converted(settings, text, 1));
        const auto tooLong = fitGroupSize(settings, text, 0, FitUnit::GbkBytes);
        ASSERT_TRUE(std::holds_alternative<FitPlanner::TooLong>(tooLong));
        const int64_t shortest = std::get<FitPlanner::TooLong>(tooLong).needed;
        EXPECT_TRUE(std::holds_alternative<FitPlanner::TooLong>(
            fitGroupSize(settings, text, shortest - 1, FitUnit::GbkBytes)));
        for (const int64_t limit : { whole, whole - 1, whole / 2, whole / 4, shortest }) {
            SCOPED_TRACE("limit " + std::to_string(limit) + (escape ? ", escaped" : ""));
            const auto fit = fitGroupSize(settings, text, limit, FitUnit::GbkBytes);
            ASSERT_TRUE(std::holds_alternative<FitPlanner::Fit>(fit));
            const FitPlanner::Fit &chosen = std::get<FitPlanner::Fit>(fit);
            EXPECT_EQ(reference.textSize(converted(settings, text, chosen.groupSize)), chosen.size);
            EXPECT_LE(chosen.size, limit);
            if (chosen.groupSize > 1) {
                EXPECT_GT(reference.textSize(converted(settings, text, chosen.groupSize - 1)), limit);
            }
        }
    }
}

TEST(FitGroupSize, CountsBytesOfUtf8)
{
    const std::string text = "中文 and 😀 <&>";
    ConversionSettings settings;
    settings.escape = true;
    const auto fit = fitGroupSize(settings, text, 200, FitUnit::Utf8Bytes);
    ASSERT_TRUE(std::holds_alternative<FitPlanner::Fit>(fit));
    const FitPlanner::Fit &chosen = std::get<FitPlanner::Fit>(fit);
    const std::string markup = converted(settings, text, chosen.groupSize);
    EXPECT_EQ(int64_t(markup.size()), chosen.size);
    EXPECT_GT(int64_t(converted(settings, text, chosen.groupSize - 1).size()), 200);
}

// A text whose code points are its characters is sized a run between whitespace at a time; one
// with joined characters, character by character: both must size the markup exactly as written.
TEST(FitGroupSize, SizesTheMarkupAsWrittenForEveryGroupSize)
{
    const std::string spaces = " a\tb\r\nc\rd\u3000e\u00A0f\u2028g\u0085h  i<&>j";
    const struct {
        const char *name;
        std::string text;
    } texts[] = { { "code points", spaces }, { "joined characters", spaces + "e\u0301\U0001F468\u200D\U0001F469" } };
    for (const auto &t : texts) {
        for (const bool skipSpaces : { false, true }) {
            for (const bool escape : { false, true }) {
                for (const FitUnit unit : { FitUnit::CodePoints, FitUnit::Utf8Bytes }) {
                    ConversionSettings settings;
                    settings.skipSpaces = skipSpaces;
                    settings.escape = escape;
                    const auto sizeOf = [unit](const std::string &markup) { return markupSize(markup, unit); };
                    for (int64_t groupSize = 1; groupSize <= 30; ++groupSize) {
                        SCOPED_TRACE(std::string(t.name) + (skipSpaces ? ", spaces skipped" : "")
                            + (escape ? ", escaped" : "") + ", unit " + std::to_string(int(unit))
                            + ", groups of " + std::to_string(groupSize));
                        const int64_t limit = sizeOf(converted(settings, t.text, groupSize));
                        const auto fit = fitGroupSize(settings, t.text, limit, unit);
                        ASSERT_TRUE(std::holds_alternative<FitPlanner::Fit>(fit));
                        const FitPlanner::Fit &chosen = std::get<FitPlanner::Fit>(fit);
                        EXPECT_LE(chosen.groupSize, groupSize);
                        EXPECT_EQ(chosen.size, sizeOf(converted(settings, t.text, chosen.groupSize)));
                    }
                }
            }
        }
    }
}
