#include "convert/characters.h"
#include "convert/conversion.h"
#include "engine/custom_markup.h"
#include "engine/strip_colors.h"
#include "engine/terminal_color.h"

#include "tests/support/string_sink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace rainbow;
using test::StringSink;

namespace {

// Pieces of text: CJK, emoji and other clusters, spaces of several kinds, <>&, entities, and
// brackets that look like tags without being colour tags.
const std::vector<std::string> ordinaryPieces {
    "a",
    "Z",
    "7",
    "彩",
    "虹",
    "字",
    "中文",
    "😀",
    "👨\u200D👩\u200D👧",
    "🇨🇳",
    "e\u0301",
    " ",
    "  ",
    "\t",
    "\u3000",
    "\n",
    "\r\n",
    "<",
    ">",
    "&",
    "&amp;",
    "&lt;",
    "lt;",
    "&#65;",
    "\"",
    "'",
    "[",
    "]",
    "[b]",
    "[/b]",
    "[url=http://x.cn]",
    "[/url]",
    "[color]",
    "[colour=red]",
    "[ft]",
    "<b>",
    "<a href=\"x\">",
    "</a>",
    "<span class=\"x\">",
    "<font size=2>",
    "=#12]",
    "{hex}",
    "\x1b",
};

// Colour tags of every format and template below: in a tag of its own a character cannot form
// one, but where a tag holds several characters such text is markup however it got there.
const std::vector<std::string> colorTagPieces {
    "[color=red]",
    "[/color]",
    "[ftc=#123456]",
    "[/ft]",
    "<font color=red>",
    "</font>",
    "<span style='color:red'>",
    "</span>",
    "[c=#00FF00]",
    "[/c]",
    "</i>",
    "{#ABCDEF}",
};

std::string randomText(std::mt19937 &random, bool withColorTags)
{
    std::uniform_int_distribution<std::size_t> length(0, 40);
    std::uniform_int_distribution<std::size_t> ordinary(0, ordinaryPieces.size() - 1);
    std::uniform_int_distribution<std::size_t> colorTag(0, colorTagPieces.size() - 1);
    std::uniform_int_distribution<int> percent(0, 99);
    std::string text = percent(random) < 20 ? "  " : "";
    for (std::size_t n = length(random); n > 0; --n) {
        if (withColorTags && percent(random) < 15)
            text += colorTagPieces[colorTag(random)];
        else if (percent(random) < 50)
            text += ordinaryPieces[ordinary(random)];
        else
            text += "abcdefghij彩虹字"[percent(random) % 10];
    }
    if (percent(random) < 20)
        text += " ";
    return text;
}

struct Format {
    const char *name;
    MarkupTemplate markup;
    bool html; // the tool escapes it by itself where a tag holds several characters
};

std::vector<Format> formats()
{
    const auto templateOf
        = [](std::string_view pattern) { return std::get<MarkupTemplate>(parseMarkupTemplate(pattern)); };
    return {
        { "ubb", markupTemplate(MarkupFormat::Ubb), false },
        { "qzone", markupTemplate(MarkupFormat::QZone), false },
        { "html", markupTemplate(MarkupFormat::Html), true },
        { "span", spanTemplate(), true },
        { "bracket template", templateOf("[c=#{hex}]{text}[/c]"), false },
        { "tag template", templateOf("<i class=\"c{hex}\">{text}</i>"), false },
        { "template without a close tag", templateOf("{#{hex}}{text}"), false },
        // Templates that write HTML colour tags: not escaped unless asked.
        { "font template", templateOf("<font color=\"#{hex}\">{text}</font>"), false },
        { "span template", templateOf("<span style='color: #{hex}'>{text}</span>"), false },
    };
}

std::string converted(const ConversionSettings &settings, std::string_view text, ConversionOutcome &outcome)
{
    StringSink sink;
    outcome = convertText(settings, text, sink);
    return sink.text;
}

/// The preview's SGR: a run of one colour in its sequence, then the reset.
class SgrPreview final : public ColorSpanSink<char> {
public:
    std::string out;

    void start(std::string_view trimmedText) override { m_text = trimmedText; }
    void colored(const RgbTriple &color, std::size_t first, std::size_t end) override
    {
        out += m_text.substr(m_done, first - m_done);
        out += foregroundSgr(color, m_depth);
        out += m_text.substr(first, end - first);
        out += resetSgr;
        m_done = end;
        m_depth = m_depth == ColorDepth::TrueColor ? ColorDepth::Palette256 : ColorDepth::TrueColor;
    }
    void finish() { out += m_text.substr(m_done); }

private:
    std::string_view m_text;
    std::size_t m_done = 0;
    ColorDepth m_depth = ColorDepth::TrueColor;
};

} // namespace

// For every format, option and group size: stripping the markup gives back the converted (trimmed)
// text, and recolouring the markup gives the markup of the text in the new settings.
TEST(RoundTrip, StripAfterConvertGivesTheConvertedText)
{
    std::mt19937 random(19);
    int checked = 0;
    for (const Format &format : formats()) {
        for (int options = 0; options < 32; ++options) {
            ConversionSettings settings;
            settings.markup = format.markup;
            settings.escape = options & 1;
            settings.merge = options & 2;
            settings.skipSpaces = options & 4;
            const bool fit = options & 8;
            settings.mode = options & 16 ? ConversionMode::Rainbow : ConversionMode::Gradient;
            settings.gradientLayout = true;
            if (options & 16)
                settings.symmetric = true;
            else
                settings.stops
                    = { { 255, 0, 0 }, { 255, 0, 0 }, { 0, 0, 255 } }; // runs of one colour to merge
            for (int i = 0; i < 40; ++i) {
                ConversionSettings use = settings;
                const bool sharedTags = use.merge || fit;
                const std::string text = randomText(random, !sharedTags);
                if (fit) {
                    const auto plan = fitGroupSize(use, text, int64_t(text.size()) * 12);
                    if (const auto *chosen = std::get_if<FitPlanner::Fit>(&plan))
                        use.groupSize = chosen->groupSize;
                }
                use.escape = use.escape || (format.html && use.sharedTags());
                SCOPED_TRACE(std::string(format.name) + ", options " + std::to_string(options) + ", group "
                    + std::to_string(use.groupSize) + ", text '" + text + "'");
                ConversionOutcome outcome;
                const std::string markup = converted(use, text, outcome);
                if (outcome != ConversionOutcome::Converted)
                    continue;
                ++checked;
                const std::string_view trimmed = trimSpaces(std::string_view(text));
                // Recoloured, it is then the text's own conversion: the conversion trims it anyway.
                ASSERT_EQ(stripColorMarkup(markup, StripOptions { use.markup, use.escape }), trimmed) << markup;
            }
        }
    }
    EXPECT_GT(checked, 9 * 32 * 40 / 2);
}

// The preview's colours come off the same way; its runs hold several characters, so the text
// holds no colour tags.
TEST(RoundTrip, StripAfterPreviewGivesTheConvertedText)
{
    std::mt19937 random(1919);
    for (int i = 0; i < 300; ++i) {
        ConversionSettings settings;
        settings.skipSpaces = i % 2;
        settings.mode = i % 3 == 0 ? ConversionMode::Rainbow : ConversionMode::Gradient;
        std::string text = randomText(random, false);
        text.erase(std::remove(text.begin(), text.end(), '\x1b'), text.end());
        SCOPED_TRACE("text '" + text + "'");
        StringSink markup;
        SgrPreview preview;
        if (convertText(settings, text, markup, &preview) != ConversionOutcome::Converted)
            continue;
        preview.finish();
        EXPECT_EQ(stripColorMarkup(preview.out), trimSpaces(std::string_view(text)));
    }
}
