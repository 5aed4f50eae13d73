#include "cli/option_table.h"
#include "cli/options.h"
#include "cli/translation.h"
#include "engine/color.h"

#include "engine/code_points.h"

#include <unicode/uchar.h>

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <utility>

namespace rainbow::cli {

namespace {

constexpr std::size_t widest = 100; // the help's lines, at most, however wide the terminal
constexpr std::size_t descriptionColumn = 31;
constexpr std::size_t narrowIndent = 8; // descriptions under their names, in a narrow terminal

/// The terminal's width: COLUMNS, else the size of the terminal on standard output, else 80.
std::size_t terminalWidth()
{
    if (const char *columns = std::getenv("COLUMNS")) {
        char *end = nullptr;
        const long value = std::strtol(columns, &end, 10);
        if (end != columns && *end == '\0' && value > 0)
            return std::size_t(value);
    }
    struct winsize size { };
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

/// Columns a character takes in a terminal: two for wide and full-width ones (CJK), else one.
std::size_t columnsOf(char32_t c)
{
    const int width = u_getIntPropertyValue(UChar32(c), UCHAR_EAST_ASIAN_WIDTH);
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH ? 2 : 1;
}

std::size_t columnsOf(std::string_view text)
{
    std::size_t columns = 0;
    for (std::size_t at = 0; at < text.size();) {
        const DecodedCodePoint c = decodeAt(text.data(), text.size(), at);
        columns += columnsOf(c.value);
        at += c.length;
    }
    return columns;
}

/// Whether a line may break between a and b inside a word: beside a wide character (Chinese has
/// no spaces), but not before closing punctuation nor after opening punctuation.
bool breaksBetween(char32_t a, char32_t b)
{
    if (columnsOf(a) < 2 && columnsOf(b) < 2)
        return false;
    const int after = u_getIntPropertyValue(UChar32(a), UCHAR_LINE_BREAK);
    const int before = u_getIntPropertyValue(UChar32(b), UCHAR_LINE_BREAK);
    if (after == U_LB_OPEN_PUNCTUATION || a == U'“' || a == U'‘')
        return false;
    return before != U_LB_CLOSE_PUNCTUATION && before != U_LB_CLOSE_PARENTHESIS && before != U_LB_EXCLAMATION
        && before != U_LB_INFIX_NUMERIC && before != U_LB_NONSTARTER && b != U'”' && b != U'’';
}

/// Appends text as lines of at most width columns, the first one after what out already holds on
/// its last line, the others indented by indent. Lines break at spaces, and in Chinese between
/// characters.
void wrap(std::string &out, std::string_view text, std::size_t indent, std::size_t width)
{
    std::size_t column = columnsOf(std::string_view(out).substr(out.rfind('\n') + 1));
    bool lineStart = true;
    const auto put = [&](std::string_view piece, std::string_view separator) {
        if (!lineStart && column + separator.size() + columnsOf(piece) > width) {
            out += '\n' + std::string(indent, ' ');
            column = indent;
            lineStart = true;
        }
        if (!lineStart) {
            out += separator;
            column += separator.size();
        }
        out += piece;
        column += columnsOf(piece);
        lineStart = false;
    };
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(' '), text.size());
        const std::string_view word = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        std::size_t pieceStart = 0;
        char32_t previous = invalidCodePoint;
        for (std::size_t at = 0; at < word.size();) {
            const DecodedCodePoint c = decodeAt(word.data(), word.size(), at);
            if (previous != invalidCodePoint && breaksBetween(previous, c.value)) {
                put(word.substr(pieceStart, at - pieceStart), pieceStart ? "" : " ");
                pieceStart = at;
            }
            previous = c.value;
            at += c.length;
        }
        put(word.substr(pieceStart), pieceStart ? "" : " ");
    }
    out += '\n';
}

std::string unicodeVersion()
{
    UVersionInfo version;
    u_getUnicodeVersion(version);
    char text[U_MAX_VERSION_STRING_LENGTH];
    u_versionToString(version, text);
    return text;
}

} // namespace

std::string Description::translated() const { return fill(translate("rainbowtext-cli", text), { argument }); }

std::string helpText()
{
    const std::size_t width = std::min(terminalWidth(), widest);
    // Names and descriptions side by side while the descriptions keep some room, else one below
    // the other.
    const bool sideBySide = width >= descriptionColumn + 30;
    std::string help
        = translate("rainbowtext-cli", "Usage: rainbowtext-cli [OPTION]... [--] [TEXT]") + "\n\n";
    wrap(help,
        fill(translate("rainbowtext-cli",
                 "Wraps every character of TEXT (or of the file, or of standard input, without one trailing "
                 "line break) in a colour tag, as a gradient or a rainbow, and prints the markup. A leading "
                 "byte-order mark is dropped and spaces (U+0020) around the text are trimmed. A character is "
                 "what a reader sees as one (an emoji, a flag, a letter with its marks) by the rules of "
                 "Unicode %1, the version of the system's ICU library; a character newer than that may be "
                 "split. In a gradient, character k of n takes the colour k/n of the way along the colours, "
                 "so the last takes the end colour and the first is one step past the start colour, as in "
                 "the desktop program. Colours are RRGGBB, #RRGGBB or #RGB."),
            { unicodeVersion() }),
        0, width);
    const char *const headings[] = {
        QT_TRANSLATE_NOOP("rainbowtext-cli", "Colours:"),
        QT_TRANSLATE_NOOP("rainbowtext-cli", "Shorter markup:"),
        QT_TRANSLATE_NOOP("rainbowtext-cli", "Markup:"),
        QT_TRANSLATE_NOOP("rainbowtext-cli", "Input and output:"),
        QT_TRANSLATE_NOOP("rainbowtext-cli", "Pictures:"),
    };
    const std::vector<OptionSpec> &table = optionTable();
    for (std::size_t section = 0; section < std::size(headings); ++section) {
        help += '\n' + translate("rainbowtext-cli", headings[section]) + '\n';
        for (const OptionSpec &option : table) {
            if (option.section != Section(section))
                continue;
            std::string names
                = option.names.size() > 1 ? "  -" + option.names.front() + ", " : std::string("      ");
            names += "--" + option.longName();
            if (option.takesValue())
                names += ' ' + option.valueName;
            if (sideBySide)
                names += std::string(
                    names.size() + 2 > descriptionColumn ? 2 : descriptionColumn - names.size(), ' ');
            else
                names += '\n' + std::string(narrowIndent, ' ');
            help += names;
            wrap(help, option.description.translated(), sideBySide ? descriptionColumn : narrowIndent, width);
        }
    }
    help += '\n';
    wrap(help,
        translate("rainbowtext-cli", "'--' ends the options: rainbowtext-cli -- -5 converts the text -5."), 0,
        width);
    // The idle options grouped by when they do nothing, in the order the table first names each case.
    //: Between the options listed in "An option that would do nothing is refused: %1; ..."
    const std::string separator = translate("rainbowtext-cli", ", ");
    std::vector<std::pair<const char *, std::string>> cases;
    for (const OptionSpec &option : table) {
        for (const IdleRule &rule : option.idle) {
            auto found = std::find_if(cases.begin(), cases.end(),
                [&](const auto &entry) { return std::string_view(entry.first) == rule.when; });
            if (found == cases.end())
                found = cases.insert(cases.end(), { rule.when, {} });
            if (!found->second.empty())
                found->second += separator;
            found->second += "--" + option.longName();
        }
    }
    //: Between the cases listed in "An option that would do nothing is refused: %1; ..."
    const std::string caseSeparator = translate("rainbowtext-cli", "; ");
    std::string idle;
    for (const auto &[when, options] : cases) {
        if (!idle.empty())
            idle += caseSeparator;
        //: Options, then when they do nothing: "--start, --end with --mode rainbow"
        idle += fill(translate("rainbowtext-cli", "%1 %2"), { options, translate("rainbowtext-cli", when) });
    }
    wrap(help,
        fill(translate("rainbowtext-cli",
                 "An option that would do nothing is refused: %1; and any other option or a TEXT with "
                 "--list-formats."),
            { idle }),
        0, width);
    wrap(help,
        translate("rainbowtext-cli",
            "Exit status: 0 converted; 1 text too short for the rainbow or too long for --fit; 2 bad usage "
            "(an unknown option or value, options that clash or do nothing, a bad template), input that is "
            "not UTF-8, a file that cannot be read or written, or not enough memory."),
        0, width);
    return help;
}

} // namespace rainbow::cli
