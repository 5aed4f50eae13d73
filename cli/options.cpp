#include "cli/options.h"

#include "cli/arguments.h"
#include "cli/image.h"
#include "cli/option_table.h"
#include "cli/translation.h"
#include "engine/color_syntax.h"
#include "engine/custom_markup.h"
#include "version.h"

#include <charconv>
#include <cstdlib>

namespace rainbow::cli {

namespace {

/// A switch's whole work.
Result<> set(bool &flag)
{
    flag = true;
    return {};
}

/// An option's value read into to, or why it could not be.
template <class T, class Read> Result<> store(T &to, const Result<Read> &read)
{
    if (!read.ok())
        return read.failure();
    to = T(read.value());
    return {};
}

/// A value of a closed set as parsed, or refused with message (marked for translation; %1 is the
/// value) when it is none of the set.
template <class T>
Result<> choose(T &to, const std::optional<T> &parsed, const char *message, const OptionValue &value)
{
    if (!parsed)
        return usageFailure(fill(translate("rainbowtext-cli", message), { quoted(value.text) }));
    to = *parsed;
    return {};
}

Result<RgbTriple> colorValue(const OptionValue &value)
{
    if (const auto color = parseHexColor(value.text))
        return *color;
    return usageFailure(
        fill(translate("rainbowtext-cli", "--%1: %2 is not a colour (RRGGBB, #RRGGBB or #RGB)"),
            { value.name, quoted(value.text) }));
}

Result<std::vector<RgbTriple>> stopsValue(const OptionValue &value)
{
    const std::string text = value.text;
    auto parsed = parseColorStops(text);
    if (auto *stops = std::get_if<std::vector<RgbTriple>>(&parsed))
        return std::move(*stops);
    const StopsError &error = std::get<StopsError>(parsed);
    if (error.kind == StopsError::Kind::Count)
        return usageFailure(fill(translate("rainbowtext-cli", "--stops takes %1 to %2 colours, not %3"),
            { std::to_string(minimumStops), std::to_string(maximumStops), std::to_string(error.count) }));
    return usageFailure(
        fill(translate("rainbowtext-cli", "--stops: entry %1 %2 is not a colour (RRGGBB, #RRGGBB or #RGB)"),
            { std::to_string(error.index + 1), quoted(error.entry) }));
}

/// A whole number from 1 to most.
Result<int64_t> positiveValue(const OptionValue &value, int64_t most = INT64_MAX)
{
    const std::string text = value.text;
    int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    const std::string name = value.name;
    const bool whole = !text.empty() && end == text.data() + text.size();
    if (whole && text[0] != '-'
        && (error == std::errc::result_out_of_range || (error == std::errc() && number > most)))
        return usageFailure(fill(translate("rainbowtext-cli", "--%1: %2 is too large (at most %3)"),
            { name, quoted(value.text), std::to_string(most) }));
    if (!whole || error != std::errc() || number < 1)
        return usageFailure(fill(translate("rainbowtext-cli", "--%1: %2 is not a whole number above 0"),
            { name, quoted(value.text) }));
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
// Without --fit the preview shows a colour per character whatever the markup; with it, the
// markup's sizes decide the groups it shows.
bool previewUnfitted(const Request &request) { return request.preview && !request.fitLimit; }
bool noPreview(const Request &request) { return !request.preview; }
bool noFit(const Request &request) { return !request.fitLimit; }
bool recolor(const Request &request) { return request.recolor; }
bool image(const Request &request) { return request.image.wanted(); }
bool noImage(const Request &request) { return !request.image.wanted(); }
// With --recolor as well, --strip is the idle one.
bool stripOnly(const Request &request) { return request.strip && !request.recolor; }
// Bare hex digits cannot be told from text, so --strip cannot find such a template's tags.
bool stripBareTemplate(const Request &request)
{
    const MarkupTemplate &markup = request.settings.markup;
    return stripOnly(request) && markup.OpenPrefix.empty() && markup.OpenSuffix.empty();
}

/// The options that shape colours or markup: --strip makes none.
const IdleRule withStrip { QT_TRANSLATE_NOOP("rainbowtext-cli", "with --strip"), stripOnly };
const IdleRule withUnfittedPreview { QT_TRANSLATE_NOOP("rainbowtext-cli", "with --preview but no --fit"),
    previewUnfitted };
/// The options of markup and of the terminal: a picture has neither.
const IdleRule withImage { QT_TRANSLATE_NOOP("rainbowtext-cli", "with --image"), image };
const IdleRule withoutImage { QT_TRANSLATE_NOOP("rainbowtext-cli", "without --image"), noImage };

/// The reason a template is refused, in words.
std::string describe(TemplateError error)
{
    switch (error) {
    case TemplateError::MissingHex:
        return translate("rainbowtext-cli", "the template has no {hex} placeholder");
    case TemplateError::MissingText:
        return translate("rainbowtext-cli", "the template has no {text} placeholder");
    case TemplateError::RepeatedPlaceholder:
        return translate("rainbowtext-cli", "the template has {hex} or {text} more than once");
    case TemplateError::TextBeforeHex:
        return translate("rainbowtext-cli", "the template has {text} before {hex}");
    }
    return {};
}

} // namespace

const std::vector<OptionSpec> &optionTable()
{
    using S = Section;
    using R = Request;
    using V = OptionValue;
    static const std::vector<OptionSpec> table {
        { { "m", "mode" }, "gradient|rainbow", S::Colours,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "a gradient from the start to the end colour (default), or a rainbow: character k takes "
                "position k of a hue wheel (red, yellow, green, cyan, blue, magenta, back to red) of n "
                "positions, n rounded down to a multiple of 6, so the characters past it start round again"),
            [](R &r, const V &v) {
                const auto mode = v.text == "gradient" ? std::optional(ConversionMode::Gradient)
                    : v.text == "rainbow"              ? std::optional(ConversionMode::Rainbow)
                                                       : std::nullopt;
                return choose(r.settings.mode, mode,
                    QT_TRANSLATE_NOOP("rainbowtext-cli", "--mode: %1 is neither gradient nor rainbow"), v);
            },
            nullptr, { withStrip } },
        { { "s", "start" }, "COLOUR", S::Colours,
            { QT_TRANSLATE_NOOP("rainbowtext-cli", "start colour of the gradient (default %1)"),
                colorCode(defaultStartColor) },
            [](R &r, const V &v) { return store(r.settings.startColor, colorValue(v)); }, nullptr,
            { { QT_TRANSLATE_NOOP("rainbowtext-cli", "with --mode rainbow"), rainbow }, withStrip } },
        { { "e", "end" }, "COLOUR", S::Colours,
            { QT_TRANSLATE_NOOP("rainbowtext-cli", "end colour of the gradient (default %1)"),
                colorCode(defaultEndColor) },
            [](R &r, const V &v) { return store(r.settings.endColor, colorValue(v)); }, nullptr,
            { { QT_TRANSLATE_NOOP("rainbowtext-cli", "with --mode rainbow"), rainbow }, withStrip } },
        { { "c", "stops" }, "C1,C2,...", S::Colours,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "a gradient through 2 to 16 colours, evenly spaced, instead of --start and --end; two stops "
                "give exactly the gradient of --start and --end"),
            [](R &r, const V &v) { return store(r.settings.stops, stopsValue(v)); }, nullptr,
            { { QT_TRANSLATE_NOOP("rainbowtext-cli", "with --mode rainbow"), rainbow }, withStrip } },
        { { "b", "blend" }, "rgb|hsv|oklab", S::Colours,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "how the gradient mixes colours (default rgb, as the desktop program does; hsv along the "
                "shorter hue arc, oklab in a perceptual colour space)"),
            [](R &r, const V &v) {
                return choose(r.settings.blend, parseBlend(v.text),
                    QT_TRANSLATE_NOOP("rainbowtext-cli", "--blend: %1 is not one of rgb, hsv, oklab"), v);
            },
            nullptr,
            { { QT_TRANSLATE_NOOP("rainbowtext-cli", "with --mode rainbow"), rainbow }, withStrip } },
        { { "r", "reverse" }, {}, S::Colours,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "colours run backward: the first character takes the colour the last would have"),
            [](R &r, const V &) { return set(r.settings.reverse); }, nullptr, { withStrip } },
        { { "S", "symmetric" }, {}, S::Colours,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "colours run forward and back: a gradient mirrors about the middle (the first and the last "
                "character share a colour, the second and the last but one, and so on); a rainbow runs "
                "forward over the first half (n/2 characters, rounded half to even) and backward over the "
                "rest, each half on a wheel of its own length, and needs 12 characters or more"),
            [](R &r, const V &) { return set(r.settings.symmetric); }, nullptr, { withStrip } },
        { { "M", "merge" }, {}, S::ShorterMarkup,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "neighbouring characters of one colour share a tag; in ubb, qzone and templates that open "
                "with '[', a tag that holds a '[' of the text ends after it (with --fit too), so that the "
                "text's brackets stay text"),
            [](R &r, const V &) { return set(r.settings.merge); }, nullptr,
            { withUnfittedPreview, withStrip, withImage } },
        { { "w", "skip-spaces" }, {}, S::ShorterMarkup,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "whitespace stays untagged and takes no colour step: every character Unicode calls "
                "White_Space, spaces of any width (U+0020, U+00A0, U+2003, U+3000 and others), tabs and line "
                "breaks, but not a space that carries a mark; the rainbow's 6 and 12 characters count the "
                "other characters"),
            [](R &r, const V &) { return set(r.settings.skipSpaces); }, nullptr, { withStrip } },
        { { "fit" }, "N", S::ShorterMarkup,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "the finest markup of at most N characters (code points, or as --fit-unit counts): each "
                "colour goes to a group of k neighbouring characters (in the colour of the first), with the "
                "smallest k whose markup fits (with --merge, merged); exit 1 if even the largest group does "
                "not fit"),
            [](R &r, const V &v) { return store(r.fitLimit, positiveValue(v)); }, nullptr, { withStrip } },
        { { "fit-unit" }, "chars|utf-8|gbk", S::ShorterMarkup,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "what --fit counts: chars, characters (code points; the default, as phpBB counts); utf-8, "
                "bytes of UTF-8; gbk, bytes of GBK, where a character GBK lacks counts as the reference a "
                "browser sends for it on a GBK page (&#128512; for U+1F600, 9 bytes), as Discuz! counts on a "
                "GBK board"),
            [](R &r, const V &v) {
                return choose(r.fitUnit, parseFitUnit(v.text),
                    QT_TRANSLATE_NOOP("rainbowtext-cli", "--fit-unit: %1 is not one of chars, utf-8, gbk"),
                    v);
            },
            nullptr, { { QT_TRANSLATE_NOOP("rainbowtext-cli", "without --fit"), noFit } } },
        { { "f", "format" }, "ubb|qzone|html|span", S::Markup,
            QT_TRANSLATE_NOOP("rainbowtext-cli", "markup format (default ubb)"),
            [](R &r, const V &v) -> Result<> {
                const std::string name = v.text;
                const auto markup = namedFormat(name);
                if (!markup)
                    return usageFailure(fill(
                        translate("rainbowtext-cli", "--format: %1 is not one of ubb, qzone, html, span"),
                        { quoted(v.text) }));
                r.settings.markup = *markup;
                r.htmlMarkup = name == "html" || name == "span";
                return {};
            },
            nullptr, { withUnfittedPreview, withStrip, withImage } },
        { { "t", "template" }, "PATTERN", S::Markup,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "a format of one's own: OPEN{hex}MID{text}CLOSE, where {hex} is the colour's six digits and "
                "{text} the characters, each once"),
            [](R &r, const V &v) -> Result<> {
                auto parsed = parseMarkupTemplate(v.text);
                if (const auto *error = std::get_if<TemplateError>(&parsed))
                    return usageFailure(fill(translate("rainbowtext-cli", "--template: %1: %2"),
                        { quoted(v.text), describe(*error) }));
                r.settings.markup = std::get<MarkupTemplate>(std::move(parsed));
                return {};
            },
            nullptr,
            { withUnfittedPreview,
                { QT_TRANSLATE_NOOP(
                      "rainbowtext-cli", "with --strip when the template has no text around {hex}"),
                    stripBareTemplate },
                withImage } },
        { { "escape" }, {}, S::Markup,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "write <, > and & as &lt; &gt; &amp; (on by itself for html and span when a tag may hold "
                "several characters: --merge, --fit); with ubb or qzone only for a board that shows HTML as "
                "it is: most boards escape it themselves and would then show &lt;"),
            [](R &r, const V &) { return set(r.settings.escape); }, nullptr,
            { withUnfittedPreview, withImage } },
        { { "strip" }, {}, S::Markup,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "print the text without its colour tags instead of converting it: UBB [color=...] and qzone "
                "[ftc=...] in any letter case, with a colour code or name; HTML <font color=...> and <span "
                "style=\"color: ...\"> in any quoting; the preview's colour sequences; the tags of "
                "--template. Other markup ([b], [url=...], <a href>) and the text stay as they are; the "
                "entities that --escape writes are decoded in HTML colour tags, and in every colour tag with "
                "--escape"),
            [](R &r, const V &) { return set(r.strip); }, nullptr,
            { { QT_TRANSLATE_NOOP("rainbowtext-cli", "with --recolor"), recolor } } },
        { { "recolor" }, {}, S::Markup,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "colour coloured text anew: its colour tags are removed as --strip removes them (with "
                "--template's tags and --escape's entities too), then what is left is converted with the "
                "other options, the same as converting the stripped text"),
            [](R &r, const V &) { return set(r.recolor); } },
        { { "list-formats" }, {}, S::Markup,
            QT_TRANSLATE_NOOP("rainbowtext-cli", "print each built-in format with a sample, then exit"),
            nullptr, formatList },
        { { "F", "file" }, "PATH", S::InputOutput,
            QT_TRANSLATE_NOOP("rainbowtext-cli", "read the text from PATH ('-' for standard input)"),
            [](R &r, const V &v) -> Result<> {
                r.path = v.text;
                if (r.path->empty())
                    return usageFailure(translate("rainbowtext-cli", "--file: the path is empty"));
                return {};
            } },
        { { "l", "lines" }, {}, S::InputOutput,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "convert each line on its own and print it before the next is read; a line too short for a "
                "rainbow or too long for --fit, or not UTF-8, is printed as it is, line ending included, and "
                "reported by its number; the exit status is then the whole text's (1, or 2 for a line that "
                "is not UTF-8)"),
            [](R &r, const V &) { return set(r.lines); }, nullptr, { withImage } },
        { { "p", "preview" }, {}, S::InputOutput,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "print the text in its colours instead of the markup; the text's own colour sequences (ESC [ "
                "... m) are dropped, and every other control character but tab and line breaks is shown as "
                "^X, or as <U+0080> to <U+009F>"),
            [](R &r, const V &) { return set(r.preview); }, nullptr, { withStrip, withImage } },
        { { "color-depth" }, "24|8", S::InputOutput,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "the preview's colours: 24-bit, or the nearest of 256 (default: 24 when COLORTERM is "
                "truecolor or 24bit, else 8)"),
            [](R &r, const V &v) {
                return choose(r.depth, parseColorDepth(v.text),
                    QT_TRANSLATE_NOOP("rainbowtext-cli", "--color-depth: %1 is neither 24 nor 8"), v);
            },
            nullptr, { { QT_TRANSLATE_NOOP("rainbowtext-cli", "without --preview"), noPreview } } },
        { { "i", "image" }, "FILE", S::Pictures,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "draw the text in its colours instead of printing markup, each character in the colour its "
                "tag would have and line breaks kept: FILE.png is a picture with a transparent background, "
                "FILE.svg keeps the text as text (one fill for each run of one colour); '-' writes PNG to "
                "standard output for a pipe. The file is written whole or not at all: an empty text, a "
                "folder that cannot be written and a picture over the limit of 32767 pixels on a side and "
                "50000000 in all end with exit status 2"),
            [](R &r, const V &v) -> Result<> {
                const std::string path = v.text;
                if (path.empty())
                    return usageFailure(translate("rainbowtext-cli", "--image: the path is empty"));
                const auto kind = imageKind(path);
                if (!kind)
                    return usageFailure(
                        fill(translate("rainbowtext-cli",
                                 "--image: %1 ends in neither .png nor .svg (or give - for PNG on standard "
                                 "output)"),
                            { quoted(v.text) }));
                r.image.path = path;
                r.image.kind = *kind;
                return {};
            },
            nullptr, { withStrip } },
        { { "font" }, "FAMILY", S::Pictures,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "the typeface of the picture (default: the desktop program's, SimSun or else the first "
                "installed of AR PL UMing CN, Noto Serif/Sans CJK SC, WenQuanYi Zen/Micro Hei and AR PL "
                "UKai CN); characters it lacks come from those, emoji from a colour emoji font where one is "
                "installed. A typeface that is not installed is warned about, and the one drawn with named"),
            [](R &r, const V &v) -> Result<> {
                r.image.font = QString::fromStdString(v.text);
                if (r.image.font.trimmed().isEmpty())
                    return usageFailure(translate("rainbowtext-cli", "--font: the name is empty"));
                return {};
            },
            nullptr, { withoutImage } },
        { { "font-size" }, "PX", S::Pictures,
            { QT_TRANSLATE_NOOP(
                  "rainbowtext-cli", "the size of the characters in pixels, 1 to 1000 (default %1)"),
                std::to_string(ImageOptions().fontSize) },
            [](R &r, const V &v) { return store(r.image.fontSize, positiveValue(v, maxFontSize)); }, nullptr,
            { withoutImage } },
        { { "background" }, "COLOUR|transparent", S::Pictures,
            QT_TRANSLATE_NOOP("rainbowtext-cli", "the picture's background (default transparent)"),
            [](R &r, const V &v) -> Result<> {
                if (v.text == "transparent")
                    r.image.background.reset();
                else if (const auto color = parseHexColor(v.text))
                    r.image.background = *color;
                else
                    return usageFailure(
                        fill(translate("rainbowtext-cli",
                                 "--background: %1 is neither a colour (RRGGBB, #RRGGBB or #RGB) nor "
                                 "transparent"),
                            { quoted(v.text) }));
                return {};
            },
            nullptr, { withoutImage } },
        { { "width" }, "PX", S::Pictures,
            QT_TRANSLATE_NOOP("rainbowtext-cli",
                "wrap the lines so that the picture is at most PX pixels wide, margins included: where a "
                "line may break by Unicode's rules (after a space, between Chinese characters), and in a "
                "word too long for a line between two characters, never inside one; a character wider than "
                "that stands alone on its line. Without it, lines break only at the text's own line breaks"),
            [](R &r, const V &v) { return store(r.image.width, positiveValue(v, maxImageSide)); }, nullptr,
            { withoutImage } },
        { { "h", "help" }, {}, S::InputOutput,
            QT_TRANSLATE_NOOP("rainbowtext-cli", "show this help, then exit"), nullptr, helpText },
        { { "V", "version" }, {}, S::InputOutput,
            QT_TRANSLATE_NOOP("rainbowtext-cli", "show the version, then exit"), nullptr,
            [] { return std::string("rainbowtext-cli " RAINBOWTEXT_VERSION "\n"); } },
    };
    return table;
}

} // namespace rainbow::cli
