#include "engine/strip_colors.h"
#include "engine/terminal_color.h"

#include <gtest/gtest.h>

#include <string>

using namespace rainbow;

// Markup from other tools and hands, as found in posts.
TEST(StripColorMarkup, MarkupFromElsewhere)
{
    const struct {
        const char *name;
        std::string marked;
        std::string plain;
    } cases[] = {
        { "UBB with #", "[color=#FF0000]红[/color]", "红" },
        { "UBB tags in capitals", "[COLOR=#ff0000]A[/COLOR][Color=#00ff00]B[/cOLOR]", "AB" },
        { "UBB named colour", "[color=red]r[/color][color=DarkBlue]b[/color]", "rb" },
        { "UBB without #", "[color=FF0000]x[/color]", "x" },
        { "UBB quoted value", "[color=\"#f00\"]x[/color][color='red']y[/color]", "xy" },
        { "UBB #RGB, a name in any case", "[color=#F00]x[/color][color=DarkSlateGrey]y[/color]", "xy" },
        { "nested [b] stays", "[b][color=red]粗[/color][/b]", "[b]粗[/b]" },
        { "colour inside colour", "[color=red]a[color=blue]b[/color]c[/color]", "abc" },
        { "[url=…] stays", "[url=http://x.cn/?a=1][color=#00FF00]link[/color][/url]",
            "[url=http://x.cn/?a=1]link[/url]" },
        { "a stray close stays", "a[/color]b[/ft]c</font>d</span>", "a[/color]b[/ft]c</font>d</span>" },
        { "an unclosed colour goes: it colours the rest", "[color=red]rest", "rest" },
        { "not colour values", "[color=]x [color=<b>]y [colour=red]z[/colour]",
            "[color=]x [color=<b>]y [colour=red]z[/colour]" },
        { "values no forum takes for a colour",
            "see [color=my favourite] here [color=1, 2, 3]a [color=100%]b [color=a.b]c [color=F00]d "
            "[ftc=#12345]e [color=rgb(255, 0, 0)]f [color=reddish]g",
            "see [color=my favourite] here [color=1, 2, 3]a [color=100%]b [color=a.b]c [color=F00]d "
            "[ftc=#12345]e [color=rgb(255, 0, 0)]f [color=reddish]g" },
        { "QQ空间", "[ftc=#FF0000]A[/ft][FTC=#00ff00]B[/FT]", "AB" },
        { "QQ空间 size inside colour stays", "[ftc=#FF0000][fts=5]大[/ft][/ft]", "[fts=5]大[/ft]" },
        { "QQ空间 colour inside size", "[fts=5][ftc=#FF0000]大[/ft][/ft]", "[fts=5]大[/ft]" },
        { "QQ空间 font name", "[ftf=宋体][ftc=#0000FF]字[/ft][/ft]", "[ftf=宋体]字[/ft]" },
        { "font unquoted", "<font color=#FF0000>A</font>", "A" },
        { "font double quotes", "<font color=\"red\">A</font>", "A" },
        { "font single quotes, capitals", "<FONT COLOR='Red'>A</FONT>", "A" },
        { "font spaces around =", "<font color = \"#0f0\" >A</font >", "A" },
        { "font keeps its size", "<font color=red size=5>A</font>", "<font size=5>A</font>" },
        { "font keeps its face", "<font face=\"黑体\" color=\"red\">A</font>",
            "<font face=\"黑体\">A</font>" },
        { "font without colour stays", "<font size=2>A</font>", "<font size=2>A</font>" },
        { "span double quotes", "<span style=\"color:#FF0000\">A</span>", "A" },
        { "span single quotes and a space", "<span style='color: red'>A</span>", "A" },
        { "span unquoted, capitals", "<SPAN STYLE=COLOR:red>A</SPAN>", "A" },
        { "span keeps other declarations", "<span style=\"font-weight:bold; color:red\">A</span>",
            "<span style=\"font-weight:bold\">A</span>" },
        { "span colour first", "<span style=\"color:red;font-size:12px;\">A</span>",
            "<span style=\"font-size:12px;\">A</span>" },
        { "background-color is no text colour", "<span style=\"background-color:yellow\">A</span>",
            "<span style=\"background-color:yellow\">A</span>" },
        { "span keeps its class", "<span class=\"x\" style=\"color:red\">A</span>",
            "<span class=\"x\">A</span>" },
        { "a plain span closes before the colour",
            "<span style=\"color:red\">a<span class=\"x\">b</span>c</span>", "a<span class=\"x\">b</span>c" },
        { "font style", "<font style=\"color:red\">A</font>", "A" },
        { "a href stays", "<a href=\"http://x.cn\"><font color=red>A</font></a>",
            "<a href=\"http://x.cn\">A</a>" },
        { "mixed formats", "[color=red]<font color=blue>A</font>[/color]", "A" },
        { "entities inside HTML colour", "<font color=#000000>&lt;&amp;&gt;&quot;</font>", "<&>\"" },
        { "numeric references", "<font color=red>&#128512;&#x4E2D;&#X56FD;</font>", "😀中国" },
        { "entities outside colour stay", "&lt;<font color=red>&lt;</font>&amp;", "&lt;<&amp;" },
        { "entities in UBB stay", "[color=red]&lt;[/color]", "&lt;" },
        { "a control character stays a reference", "<font color=red>&#27;&#0;&#xD800;</font>",
            "&#27;&#0;&#xD800;" },
        { "not an entity", "<font color=red>&lt &unknown; &#;</font>", "&lt &unknown; &#;" },
        { "a raw < in HTML", "<font color=#000000><</font><font color=#000000>></font>", "<>" },
        { "look-alikes stay", "[b] [ftc] [color] <font> <fontx color=red> <span",
            "[b] [ftc] [color] <font> <fontx color=red> <span" },
        { "an unfinished tag is text", "<font color=red", "<font color=red" },
        { "SGR 24-bit", "\x1b[38;2;255;0;0mA\x1b[0m", "A" },
        { "SGR 256 colours", "\x1b[38;5;196mA\x1b[0m B", "A B" },
        { "SGR basic colour, 39 resets", "\x1b[31mA\x1b[39m\x1b[91mB\x1b[m", "AB" },
        { "SGR background", "\x1b[48;5;21mA\x1b[49m", "A" },
        { "SGR colon form", "\x1b[38:2::255:0:0mA\x1b[0m", "A" },
        { "SGR bold stays with its reset", "\x1b[1;38;5;196mA\x1b[0m", "\x1b[1mA\x1b[0m" },
        { "SGR bold alone stays", "\x1b[1mB\x1b[22m", "\x1b[1mB\x1b[22m" },
        { "other escape sequences stay", "\x1b[2Jx\x1b]0;t\x07", "\x1b[2Jx\x1b]0;t\x07" },
        { "an HTML tag that UBB colours split is text",
            "[color=#FF0000]<font size[/color][color=#00FF00]=2>[/color]", "<font size=2>" },
        { "so is one split inside its quotes",
            "[color=#FF0000]<span class=\"[/color][color=#00FF00]x\">[/color]", "<span class=\"x\">" },
        { "a QQ空间 size that HTML colours split is text",
            "<font color=#FF0000>[fts=</font><font color=#00FF00>5]</font>", "[fts=5]" },
        { "an HTML tag that SGR colours split is text", "\x1b[31m<font color\x1b[0m\x1b[32m=red>\x1b[0m",
            "<font color=red>" },
        { "nothing", "", "" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(stripColorMarkup(c.marked), c.plain);
    }
}

TEST(StripColorMarkup, TemplatesOfOnesOwn)
{
    const struct {
        const char *name;
        MarkupTemplate markup;
        std::string marked;
        std::string plain;
    } cases[] = {
        { "bracket template", { "[c=#", "]", "[/c]" }, "[c=#12ab34]x[/c][c=#FFFFFF]y[/c]", "xy" },
        { "HTML-like template", { "<b style=\"color:#", "\">", "</b>" }, "<b style=\"color:#FF0000\">x</b>",
            "x" },
        { "no close tag", { "{#", "}", "" }, "{#FF0000}a{#00FF00}b", "ab" },
        { "empty prefix", { "", "|", "|/" }, "FF0000|a|/00ff00|b|/", "ab" },
        { "a close with no open stays", { "[c=#", "]", "[/c]" }, "a[/c]", "a[/c]" },
        { "not six digits", { "[c=#", "]", "[/c]" }, "[c=#12345]x[/c]", "[c=#12345]x[/c]" },
        { "no text around {hex}: ignored", { "", "", "" }, "FF0000a", "FF0000a" },
        { "an HTML tag that the template's tags split is text", { "<i class=\"c", "\">", "</i>" },
            "<i class=\"cFF0000\"><span class=\"</i><i class=\"c00FF00\">x\"></i>", "<span class=\"x\">" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(stripColorMarkup(c.marked, { c.markup, false }), c.plain);
    }
}

TEST(StripColorMarkup, EntitiesInEveryFormatWhenAsked)
{
    EXPECT_EQ(stripColorMarkup("[color=red]&lt;&amp;[/color]&lt;", { std::nullopt, true }), "<&&lt;");
    EXPECT_EQ(stripColorMarkup("[ftc=#000000]&gt;[/ft]", { std::nullopt, true }), ">");
}

// One pass: a long run of would-be tags costs no more than its length.
TEST(StripColorMarkup, UnfinishedTagsStayLinear)
{
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "<font color='";
    EXPECT_EQ(stripColorMarkup(text), text);
    std::string quoted;
    for (int i = 0; i < 100000; ++i)
        quoted += "<font a='>'";
    EXPECT_EQ(stripColorMarkup(quoted), quoted);
    std::string brackets(1000000, '[');
    EXPECT_EQ(stripColorMarkup(brackets), brackets);
}

// One reading of SGR for the preview and stripping: every sequence the preview drops as the
// text's own, stripping rids of its colours, whatever its length; what is no SGR, both keep.
TEST(StripColorMarkup, SgrSequencesAsThePreviewReadsThem)
{
    const std::string attributes = "1;3;4;5;7;9;21;22;23;24;25;27;28;29;53;55;1;3;4;5;7;9;21;22";
    const struct {
        const char *name;
        std::string sequence;
        bool sgr; // the preview drops it
        std::string stripped; // of sequence + "X"
    } cases[] = {
        { "77 bytes: the colour goes, the attributes stay", "\x1b[38;2;255;0;0;" + attributes + "m", true,
            "\x1b[" + attributes + "mX" },
        { "a hundred colours",
            "\x1b[" +
                [] {
                    std::string many;
                    for (int i = 0; i < 100; ++i)
                        many += "31;";
                    return many;
                }()
                + "0m",
            true, "X" },
        { "a reset alone", "\x1b[m", true, "X" },
        { "colon form", "\x1b[58:2::1:2:3m", true, "X" },
        { "a private marker is no colour", "\x1b[>4;2m", true, "\x1b[>4;2mX" },
        { "an intermediate byte ends the parameters", "\x1b[31 m", false, "\x1b[31 mX" },
        { "another final byte", "\x1b[31;1H", false, "\x1b[31;1HX" },
        { "unfinished", "\x1b[38;2;1", false, "\x1b[38;2;1X" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sgrLength(c.sequence + "X", 0), c.sgr ? c.sequence.size() : 0);
        EXPECT_EQ(stripColorMarkup(c.sequence + "X"), c.stripped);
    }
}
