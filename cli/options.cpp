#include "cli/options.h"

#include "cli/arguments.h"
#include "cli/option_table.h"
#include "cli/utf8.h"
#include "engine/color_syntax.h"
#include "engine/custom_markup.h"
#include "version.h"

#include <QCommandLineParser>

#include <charconv>
#include <cstdlib>

namespace rainbow::cli {

namespace {

const char *const colorForms = "(RRGGBB, #RRGGBB or #RGB)";

RgbTriple colorValue(const OptionValue &value)
{
    if (const auto color = parseHexColor(value.utf8()))
        return *color;
    throw UsageError(
        "--" + value.name.toStdString() + ": " + quoted(value.text) + " is not a colour " + colorForms);
}

std::vector<RgbTriple> stopsValue(const OptionValue &value)
{
    const std::string text = value.utf8();
    auto parsed = parseColorStops(text);
    if (auto *stops = std::get_if<std::vector<RgbTriple>>(&parsed))
        return std::move(*stops);
    const StopsError &error = std::get<StopsError>(parsed);
    if (error.kind == StopsError::Kind::Count)
        throw UsageError("--stops takes " + std::to_string(minimumStops) + " to "
            + std::to_string(maximumStops) + " colours, not " + std::to_string(error.count));
    throw UsageError("--stops: entry " + std::to_string(error.index + 1) + " "
        + quoted(QString::fromStdString(std::string(error.entry))) + " is not a colour " + colorForms);
}

/// A whole number from 1 to 2^63 − 1.
int64_t positiveValue(const OptionValue &value)
{
    const std::string text = value.utf8();
    int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    const std::string start = "--" + value.name.toStdString() + ": " + quoted(value.text);
    if (error == std::errc::result_out_of_range && end == text.data() + text.size() && text[0] != '-')
        throw UsageError(start + " is too large (at most " + std::to_string(INT64_MAX) + ")");
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || number < 1)
        throw UsageError(start + " is not a whole number above 0");
    return number;
}

/// The built-in formats by name: the window's three, then HTML5's span.
const char *const formatNames[] = { "ubb", "qzone", "html", "span" };

std::optional<MarkupTemplate> namedFormat(std::string_view name)
{
    if (name == "span")
        return spanTemplate();
    for (std::size_t i = 0; i < allMarkupFormats.size(); ++i) {
        if (name == formatNames[i])
            return markupTemplate(allMarkupFormats[i]);
    }
    return std::nullopt;
}

std::string formatList()
{
    std::string list;
    for (const std::string name : formatNames) {
        const MarkupTemplate markup = *namedFormat(name);
        list += name + std::string(8 - name.size(), ' ') + markup.OpenPrefix + colorCode(defaultEndColor)
            + markup.OpenSuffix + "x" + markup.CloseTag + '\n';
    }
    return list;
}

bool rainbow(const Request &request) { return request.settings.mode == ConversionMode::Rainbow; }
bool preview(const Request &request) { return request.preview; }
bool noPreview(const Request &request) { return !request.preview; }

} // namespace

std::string OptionValue::utf8() const
{
    const std::string bytes = argumentBytes(text);
    if (firstInvalidUtf8(bytes))
        throw UsageError("--" + name.toStdString() + ": " + quoted(text) + " is not valid UTF-8");
    return bytes;
}

const std::vector<OptionSpec> &optionTable()
{
    using S = Section;
    using R = Request;
    using V = OptionValue;
    static const std::vector<OptionSpec> table {
        { { "m", "mode" }, "gradient|rainbow", S::Colours,
            "a gradient from the start to the end colour (default), or a rainbow: character k takes position "
            "k of a hue wheel (red, yellow, green, cyan, blue, magenta, back to red) of n positions, n "
            "rounded "
            "down to a multiple of 6, so the characters past it start round again",
            [](R &r, const V &v) {
                const std::string mode = v.utf8();
                if (mode != "gradient" && mode != "rainbow")
                    throw UsageError("--mode: " + quoted(v.text) + " is neither gradient nor rainbow");
                r.settings.mode = mode == "gradient" ? ConversionMode::Gradient : ConversionMode::Rainbow;
            } },
        { { "s", "start" }, "COLOUR", S::Colours,
            "start colour of the gradient (default " + colorCode(defaultStartColor) + ")",
            [](R &r, const V &v) { r.settings.startColor = colorValue(v); }, nullptr, "with --mode rainbow",
            rainbow },
        { { "e", "end" }, "COLOUR", S::Colours,
            "end colour of the gradient (default " + colorCode(defaultEndColor) + ")",
            [](R &r, const V &v) { r.settings.endColor = colorValue(v); }, nullptr, "with --mode rainbow",
            rainbow },
        { { "c", "stops" }, "C1,C2,...", S::Colours,
            "a gradient through 2 to 16 colours, evenly spaced, instead of --start and --end; two stops give "
            "exactly the gradient of --start and --end",
            [](R &r, const V &v) { r.settings.stops = stopsValue(v); }, nullptr, "with --mode rainbow",
            rainbow },
        { { "b", "blend" }, "rgb|hsv|oklab", S::Colours,
            "how the gradient mixes colours (default rgb, as the desktop program does; hsv along the shorter "
            "hue arc, oklab in a perceptual colour space)",
            [](R &r, const V &v) {
                const auto blend = parseBlend(v.utf8());
                if (!blend)
                    throw UsageError("--blend: " + quoted(v.text) + " is not one of rgb, hsv, oklab");
                r.settings.blend = *blend;
            },
            nullptr, "with --mode rainbow", rainbow },
        { { "r", "reverse" }, {}, S::Colours,
            "colours run backward: the first character takes the colour the last would have",
            [](R &r, const V &) { r.settings.reverse = true; } },
        { { "S", "symmetric" }, {}, S::Colours,
            "colours run forward and back: a gradient mirrors about the middle (the first and the last "
            "character share a colour, the second and the last but one, and so on); a rainbow runs forward "
            "over the first half (n/2 characters, rounded half to even) and backward over the rest, each "
            "half "
            "on a wheel of its own length, and needs 12 characters or more",
            [](R &r, const V &) { r.settings.symmetric = true; } },
        { { "M", "merge" }, {}, S::ShorterMarkup, "neighbouring characters of one colour share a tag",
            [](R &r, const V &) { r.settings.merge = true; } },
        { { "w", "skip-spaces" }, {}, S::ShorterMarkup,
            "whitespace stays untagged and takes no colour step: every character Unicode calls White_Space, "
            "spaces of any width (U+0020, U+00A0, U+2003, U+3000 and others), tabs and line breaks, but not "
            "a space that carries a mark; the rainbow's 6 and 12 characters count the other characters",
            [](R &r, const V &) { r.settings.skipSpaces = true; } },
        { { "fit" }, "N", S::ShorterMarkup,
            "the finest markup of at most N characters (code points): each colour goes to a group of k "
            "neighbouring characters (in the colour of the first), with the smallest k whose markup fits "
            "(with --merge, merged); exit 1 if even the largest group does not fit",
            [](R &r, const V &v) { r.fitLimit = positiveValue(v); } },
        { { "f", "format" }, "ubb|qzone|html|span", S::Markup, "markup format (default ubb)",
            [](R &r, const V &v) {
                const std::string name = v.utf8();
                const auto markup = namedFormat(name);
                if (!markup)
                    throw UsageError("--format: " + quoted(v.text) + " is not one of ubb, qzone, html, span");
                r.settings.markup = *markup;
                r.htmlMarkup = name == "html" || name == "span";
            },
            nullptr, "with --preview", preview },
        { { "t", "template" }, "PATTERN", S::Markup,
            "a format of one's own: OPEN{hex}MID{text}CLOSE, where {hex} is the colour's six digits and "
            "{text} the characters, each once",
            [](R &r, const V &v) {
                auto parsed = parseMarkupTemplate(v.utf8());
                if (const auto *error = std::get_if<TemplateError>(&parsed))
                    throw UsageError("--template: " + quoted(v.text) + ": " + std::string(describe(*error)));
                r.settings.markup = std::get<MarkupTemplate>(std::move(parsed));
            },
            nullptr, "with --preview", preview },
        { { "escape" }, {}, S::Markup,
            "write <, > and & as &lt; &gt; &amp; (on by itself for html and span when a tag may hold several "
            "characters: --merge, --fit)",
            [](R &r, const V &) { r.settings.escape = true; }, nullptr, "with --preview", preview },
        { { "list-formats" }, {}, S::Markup, "print each built-in format with a sample, then exit", nullptr,
            formatList },
        { { "F", "file" }, "PATH", S::InputOutput, "read the text from PATH ('-' for standard input)",
            [](R &r, const V &v) {
                r.path = argumentBytes(v.text);
                if (r.path->empty())
                    throw UsageError("--file: the path is empty");
            } },
        { { "l", "lines" }, {}, S::InputOutput,
            "convert each line on its own and print it before the next is read; a line too short for a "
            "rainbow or too long for --fit is printed uncoloured, and a line that is not UTF-8 is printed as "
            "it is and reported (exit 2 after the last line)",
            [](R &r, const V &) { r.lines = true; } },
        { { "p", "preview" }, {}, S::InputOutput,
            "print the text in its colours instead of the markup; the text's own colour sequences (ESC [ ... "
            "m) "
            "are dropped, and every other control character but tab and line breaks is shown as ^X, or as "
            "<U+0080> to <U+009F>",
            [](R &r, const V &) { r.preview = true; } },
        { { "color-depth" }, "24|8", S::InputOutput,
            "the preview's colours: 24-bit, or the nearest of 256 (default: 24 when COLORTERM is truecolor "
            "or "
            "24bit, else 8)",
            [](R &r, const V &v) {
                const auto depth = parseColorDepth(v.utf8());
                if (!depth)
                    throw UsageError("--color-depth: " + quoted(v.text) + " is neither 24 nor 8");
                r.depth = *depth;
            },
            nullptr, "without --preview", noPreview },
        { { "h", "help" }, {}, S::InputOutput, "show this help, then exit", nullptr, helpText },
        { { "V", "version" }, {}, S::InputOutput, "show the version, then exit", nullptr,
            [] { return std::string("rainbowtext-cli " RAINBOWTEXT_VERSION "\n"); } },
    };
    return table;
}

} // namespace rainbow::cli
