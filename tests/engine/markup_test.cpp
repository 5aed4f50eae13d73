#include "engine/markup.h"

#include "engine/character_cursor.h"
#include "engine/fragment_writer.h"

#include "tests/support/boundary_cursor.h"
#include "tests/support/reference_colors.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <numeric>
#include <string>
#include <vector>

using namespace rainbow;
using rainbow::test::ColorFragment;

TEST(MarkupFormat, ListEntriesAndTemplates)
{
    const struct {
        MarkupFormat format;
        const char *entry, *prefix, *suffix, *close, *redA;
    } cases[] = {
        { MarkupFormat::Ubb, "UBB(论坛)  [color=#FFFFFF]", "[color=#", "]", "[/color]",
            "[color=#FF0000]A[/color]" },
        { MarkupFormat::QZone, "QQ空间     [ftc=#FFFFFF]", "[ftc=#", "]", "[/ft]", "[ftc=#FF0000]A[/ft]" },
        { MarkupFormat::Html, "Html(网页) <font color=#FFFFFF>", "<font color=#", ">", "</font>",
            "<font color=#FF0000>A</font>" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(listEntryText(c.format), c.entry);
        const MarkupTemplate markup = markupTemplate(c.format);
        EXPECT_EQ(markup.OpenPrefix, c.prefix);
        EXPECT_EQ(markup.OpenSuffix, c.suffix);
        EXPECT_EQ(markup.CloseTag, c.close);
        EXPECT_EQ(ColorFragment("A", { 255, 0, 0 }, markup), c.redA);
    }
}

TEST(ColorFragment, CharactersGoInUnescaped)
{
    EXPECT_EQ(
        ColorFragment("<", { 0, 0, 0 }, markupTemplate(MarkupFormat::Html)), "<font color=#000000><</font>");
    EXPECT_EQ(
        ColorFragment(" ", { 255, 0, 0 }, markupTemplate(MarkupFormat::Ubb)), "[color=#FF0000] [/color]");
    EXPECT_EQ(
        ColorFragment("]", { 15, 240, 247 }, markupTemplate(MarkupFormat::Ubb)), "[color=#0FF0F7]][/color]");
}

namespace {

template <typename CharT> std::basic_string<CharT> widen(std::string_view ascii)
{
    return { ascii.begin(), ascii.end() };
}

/// Writes the characters (the first two in one colour, the rest in another) through a cursor
/// from makeCursor and compares with ColorFragment; nothing may be written past the slack.
template <typename CharT, typename MakeCursor>
void expectFragments(const std::vector<std::basic_string<CharT>> &characters, MakeCursor makeCursor)
{
    const MarkupTemplate templates[] = { markupTemplate(MarkupFormat::Ubb),
        markupTemplate(MarkupFormat::QZone), markupTemplate(MarkupFormat::Html), { "<<", "", "|" },
        { std::string(70, 'p'), "]", "[/long]" }, { "[", "]", std::string(40, 'c') } };
    const RgbTriple colors[] = { { 171, 0, 15 }, { 1, 254, 128 } };
    for (const MarkupTemplate &markup : templates) {
        SCOPED_TRACE(markup.OpenPrefix + "|" + markup.CloseTag);
        std::basic_string<CharT> expected;
        for (std::size_t i = 0; i < characters.size(); ++i) {
            const std::string frame = ColorFragment("", colors[i < 2 ? 0 : 1], markup);
            const std::size_t headSize = markup.OpenPrefix.size() + 6 + markup.OpenSuffix.size();
            expected += widen<CharT>(frame.substr(0, headSize)) + characters[i]
                + widen<CharT>(frame.substr(headSize));
        }
        FragmentWriter<CharT> writer(
            widen<CharT>(markup.OpenPrefix), widen<CharT>(markup.OpenSuffix), widen<CharT>(markup.CloseTag));
        const auto slack = FragmentWriter<CharT>::slack;
        std::basic_string<CharT> out(expected.size() + slack + 16, CharT('?'));
        auto cursor = makeCursor();
        writer.setColor(colors[0]);
        CharT *end = writer.writeFragments(out.data(), cursor, 2);
        writer.setColor(colors[1]);
        end = writer.writeFragments(end, cursor, characters.size() - 2);
        ASSERT_EQ(std::size_t(end - out.data()), expected.size());
        EXPECT_EQ(out.substr(0, expected.size()), expected);
        EXPECT_EQ(out.substr(expected.size() + slack), std::basic_string<CharT>(16, CharT('?')));
    }
}

} // namespace

// The fast copies may overshoot each piece; the fragments must still come out exactly, through
// every cursor, for short templates (fixed-size copies) and long ones (exact copies alike).
TEST(FragmentWriter, MatchesColorFragmentThroughEveryCursor)
{
    {
        SCOPED_TRACE("UTF-8, one code point per character, ending in a three-byte one");
        const std::vector<std::string> all { "x", "y", "a", "青", "é", "\n", "]", "<", "字" };
        const std::string text = "xy" + std::accumulate(all.begin() + 2, all.end(), std::string());
        expectFragments<char>(
            { all.begin() + 2, all.end() }, [&] { return Utf8CodePointCursor(text.data(), text.size(), 2); });
    }
    {
        SCOPED_TRACE("UTF-8 clusters");
        const std::string text = "e\xCC\x81😀🇨🇳x";
        const std::vector<std::size_t> starts { 0, 3, 7, 15, 16 };
        expectFragments<char>({ "e\xCC\x81", "😀", "🇨🇳", "x" },
            [&] { return test::BoundaryCursor<char, std::size_t>(text.data(), starts.data(), 0); });
    }
    {
        SCOPED_TRACE("UTF-16, one unit per character");
        const std::u16string text = u"a青]<\n";
        expectFragments<char16_t>(
            { u"a", u"青", u"]", u"<", u"\n" }, [&] { return UnitCursor<char16_t>(text.data(), 0); });
    }
    {
        SCOPED_TRACE("UTF-16 clusters");
        const std::u16string text = u"e\u0301😀x";
        const std::vector<int> starts { 0, 2, 4, 5 };
        expectFragments<char16_t>({ u"e\u0301", u"😀", u"x" },
            [&] { return test::BoundaryCursor<char16_t, int>(text.data(), starts.data(), 0); });
    }
}

// Fixed-size reads must stop at the end of the text: place it right before a page that may not
// be read, so a read past its end faults.
TEST(Utf8CodePointCursor, NeverReadsPastTheEndOfTheText)
{
    const auto page = std::size_t(sysconf(_SC_PAGESIZE));
    void *pages = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(pages, MAP_FAILED);
    ASSERT_EQ(mprotect(static_cast<char *>(pages) + page, page, PROT_NONE), 0);
    for (const std::string ending : { "a", "é", "青" }) {
        for (std::size_t length : { 1, 5, 63, 64, 65, 200 }) {
            std::string text;
            while (text.size() < length)
                text += text.size() % 3 == 0 ? "字" : "b";
            text += ending;
            SCOPED_TRACE(text);
            char *at = static_cast<char *>(pages) + page - text.size();
            std::memcpy(at, text.data(), text.size());
            std::size_t count = 0;
            for (char byte : text)
                count += (uint8_t(byte) & 0xC0) != 0x80;
            FragmentWriter<char> writer("<", ">", "/");
            std::string out(count * (writer.fixedSize() + 3) + FragmentWriter<char>::slack, '?');
            Utf8CodePointCursor cursor(at, text.size(), 0);
            const char *end = writer.writeFragments(out.data(), cursor, count);
            EXPECT_EQ(std::string(end - 1 - ending.size(), end), ending + "/");
            EXPECT_EQ(cursor.position(), text.size());
            for (std::size_t skip = 0; skip <= count; ++skip)
                EXPECT_LE(Utf8CodePointCursor(at, text.size(), skip).position(), text.size());
        }
    }
    munmap(pages, 2 * page);
}
