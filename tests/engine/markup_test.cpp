#include "markup.h"

#include <gtest/gtest.h>

using namespace rainbow;

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

// The fast writer and the plain fragment must produce the same text for any template.
TEST(FragmentWriter, MatchesColorFragment)
{
    const MarkupTemplate odd { "<<", "", "|" };
    for (const MarkupTemplate &markup :
        { markupTemplate(MarkupFormat::Ubb), markupTemplate(MarkupFormat::Html), odd }) {
        const FragmentWriter<char> writer(markup.OpenPrefix, markup.OpenSuffix, markup.CloseTag);
        const std::string character = "青";
        std::string out(writer.fixedSize() + character.size(), '?');
        char *end = writer.write(out.data(), character.data(), character.size(), { 171, 0, 15 });
        EXPECT_EQ(end, out.data() + out.size());
        EXPECT_EQ(out, ColorFragment(character, { 171, 0, 15 }, markup));
    }
}
