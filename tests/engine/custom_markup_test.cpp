#include "engine/custom_markup.h"

#include "tests/support/reference_colors.h"

#include <gtest/gtest.h>

using namespace rainbow;

TEST(HtmlEntity, OnlyTheThreeMarkupCharacters)
{
    EXPECT_EQ(htmlEntity(U'<'), "&lt;");
    EXPECT_EQ(htmlEntity(U'>'), "&gt;");
    EXPECT_EQ(htmlEntity(U'&'), "&amp;");
    for (const char32_t unit :
        { U'"', U'\'', U' ', U'a', U'\n', U'\uff1c', char32_t(0x3c00), char32_t(0xbc) })
        EXPECT_TRUE(htmlEntity(unit).empty()) << unsigned(unit);
}

TEST(EscapeHtml, ReplacesEachMarkupCharacter)
{
    const struct {
        const char *text;
        const char *expected;
    } cases[] = {
        { "", "" },
        { "plain", "plain" },
        { "<b>&amp;</b>", "&lt;b&gt;&amp;amp;&lt;/b&gt;" },
        { "彩虹<字>", "彩虹&lt;字&gt;" },
        { "\"quotes\" stay", "\"quotes\" stay" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(escapeHtml(c.text), c.expected) << c.text;
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
