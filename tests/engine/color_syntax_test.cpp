#include "engine/color_syntax.h"

#include "tests/support/color_printer.h"

#include <gtest/gtest.h>

#include <string>

using namespace rainbow;

TEST(ParseHexColor, TakesTheThreeWrittenForms)
{
    const struct {
        const char *name;
        const char *text;
        RgbTriple expected;
    } cases[] = {
        { "six digits", "FF8000", { 255, 128, 0 } },
        { "six digits after '#'", "#00ff80", { 0, 255, 128 } },
        { "mixed case", "#aB12Cd", { 171, 18, 205 } },
        { "three digits after '#' double up", "#F80", { 255, 136, 0 } },
        { "short black", "#000", { 0, 0, 0 } },
        { "short white, lower case", "#fff", { 255, 255, 255 } },
        { "short digits stay in their component", "#1a9", { 17, 170, 153 } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseHexColor(c.text), c.expected);
    }
}

TEST(ParseHexColor, RefusesEverythingElse)
{
    const char *const refused[] = {
        "",
        "#",
        "F80",
        "FF800",
        "FF80000",
        "#FF80",
        "##FF8000",
        "+12345",
        "-12345",
        "0x1234",
        "0x123456",
        " 12345",
        "12345 ",
        "#FF 000",
        "GG0000",
        "#F8G",
        "12 345",
        "FF8000\n",
        ("\xef\xbc\x83" // a full-width '#'
         "FF8000"),
    };
    for (const char *text : refused) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parseHexColor(text), std::nullopt);
    }
    EXPECT_EQ(parseHexColor(std::string("FF80\0"
                                        "0",
                  6)),
        std::nullopt)
        << "an embedded NUL";
}

TEST(ParseColorStops, ListsTheColoursInOrder)
{
    const auto stops = parseColorStops("FF0000,#0f0,#0000FF");
    ASSERT_TRUE(std::holds_alternative<std::vector<RgbTriple>>(stops));
    EXPECT_EQ(std::get<std::vector<RgbTriple>>(stops),
        (std::vector<RgbTriple> { { 255, 0, 0 }, { 0, 255, 0 }, { 0, 0, 255 } }));

    std::string sixteen = "000000";
    for (int i = 1; i < 16; ++i)
        sixteen += ",#" + std::string(3, "0123456789ABCDEF"[i]);
    const auto most = parseColorStops(sixteen);
    ASSERT_TRUE(std::holds_alternative<std::vector<RgbTriple>>(most));
    EXPECT_EQ(std::get<std::vector<RgbTriple>>(most).size(), 16u);
    EXPECT_EQ(std::get<std::vector<RgbTriple>>(most).back(), (RgbTriple { 255, 255, 255 }));
}

TEST(ParseColorStops, NamesWhatIsWrong)
{
    using Kind = StopsError::Kind;
    std::string seventeen = "000000";
    for (int i = 0; i < 16; ++i)
        seventeen += ",000000";
    const struct {
        const char *name;
        std::string text;
        Kind kind;
        std::size_t count;
        std::size_t index;
        std::string entry;
    } cases[] = {
        { "one colour is too few", "FF0000", Kind::Count, 1, 0, "" },
        { "an empty list is one empty entry", "", Kind::Count, 1, 0, "" },
        { "seventeen are too many", seventeen, Kind::Count, 17, 0, "" },
        { "a bad second colour", "FF0000,red", Kind::Color, 2, 1, "red" },
        { "a trailing comma is an empty entry", "FF0000,00FF00,", Kind::Color, 3, 2, "" },
        { "a leading comma", ",FF0000", Kind::Color, 2, 0, "" },
        { "two commas", "FF0000,,00FF00", Kind::Color, 3, 1, "" },
        { "a space after the comma", "FF0000, 00FF00", Kind::Color, 2, 1, " 00FF00" },
        { "the first bad entry is named", "FF0000,x,y", Kind::Color, 3, 1, "x" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto stops = parseColorStops(c.text);
        ASSERT_TRUE(std::holds_alternative<StopsError>(stops));
        const auto &error = std::get<StopsError>(stops);
        EXPECT_EQ(error.kind, c.kind);
        EXPECT_EQ(error.count, c.count);
        EXPECT_EQ(error.index, c.index);
        EXPECT_EQ(std::string(error.entry), c.entry);
    }
}
