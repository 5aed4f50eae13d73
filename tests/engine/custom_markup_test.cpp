#include "engine/custom_markup.h"

#include "tests/support/reference_colors.h"

#include <gtest/gtest.h>

using namespace rainbow;

template <typename Text> Text escaped(Text text)
{
    const std::size_t size = text.size();
    text.resize(size + escapeGrowth(text.data(), text.data() + size));
    text.resize(std::size_t(escapeInPlace(text.data(), text.data() + size) - text.data()));
    return text;
}

TEST(EscapeHtml, ReplacesOnlyTheThreeMarkupCharactersInUtf8AndUtf16)
{
    const struct {
        std::string text;
        std::string expected;
        std::u16string text16;
        std::u16string expected16;
    } cases[] = {
        { "", "", u"", u"" },
        { "<b>&amp;</b>", "&lt;b&gt;&amp;amp;&lt;/b&gt;", u"<b>&amp;</b>", u"&lt;b&gt;&amp;amp;&lt;/b&gt;" },
        { "彩虹<字>", "彩虹&lt;字&gt;", u"彩虹<字>", u"彩虹&lt;字&gt;" },
        // U+3C00 and U+013C hold the byte of "<" in UTF-16 but are other characters.
        { "\"'＜\u3c00\u013c", "\"'＜\u3c00\u013c", u"\"'＜\u3c00\u013c", u"\"'＜\u3c00\u013c" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(escaped(c.text), c.expected);
        EXPECT_TRUE(escaped(c.text16) == c.expected16);
    }
}

TEST(SpanTemplate, WrapsACharacterAsHtml5)
{
    EXPECT_EQ(
        test::ColorFragment("x", { 255, 0, 128 }, spanTemplate()), "<span style=\"color:#FF0080\">x</span>");
}

TEST(ParseMarkupTemplate, SplitsAtThePlaceholders)
{
    const struct {
        const char *name;
        const char *pattern;
        MarkupTemplate expected;
    } cases[] = {
        { "a BBCode of another forum", "[colour=#{hex}]{text}[/colour]", { "[colour=#", "]", "[/colour]" } },
        { "HTML with quotes", "<b style=\"color:#{hex}\">{text}</b>",
            { "<b style=\"color:#", "\">", "</b>" } },
        { "nothing around them", "{hex}{text}", { "", "", "" } },
        { "other braces are text", "{{hex}}{text}{x}", { "{", "}", "{x}" } },
        { "UTF-8 around them", "「{hex}」{text}。", { "「", "」", "。" } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto parsed = parseMarkupTemplate(c.pattern);
        ASSERT_TRUE(std::holds_alternative<MarkupTemplate>(parsed));
        const auto &markup = std::get<MarkupTemplate>(parsed);
        EXPECT_EQ(markup.OpenPrefix, c.expected.OpenPrefix);
        EXPECT_EQ(markup.OpenSuffix, c.expected.OpenSuffix);
        EXPECT_EQ(markup.CloseTag, c.expected.CloseTag);
    }
}

TEST(ParseMarkupTemplate, RefusesTemplatesWithoutBothPlaceholders)
{
    const struct {
        const char *pattern;
        TemplateError expected;
    } cases[] = {
        { "", TemplateError::MissingHex },
        { "[color={text}]", TemplateError::MissingHex },
        { "[color=#{hex}]", TemplateError::MissingText },
        { "{HEX}{text}", TemplateError::MissingHex },
        { "{hex }{text}", TemplateError::MissingHex },
        { "{hex}{Text}", TemplateError::MissingText },
        { "{hex}{text}{hex}", TemplateError::RepeatedPlaceholder },
        { "{hex}{text}{text}", TemplateError::RepeatedPlaceholder },
        { "{text}{hex}", TemplateError::TextBeforeHex },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pattern);
        const auto parsed = parseMarkupTemplate(c.pattern);
        ASSERT_TRUE(std::holds_alternative<TemplateError>(parsed));
        EXPECT_EQ(std::get<TemplateError>(parsed), c.expected);
    }
}
