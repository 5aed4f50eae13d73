#include "cli/option_table.h"
#include "cli/options.h"
#include "cli/translation.h"
#include "engine/color.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <string_view>
#include <utility>

namespace rainbow::cli {

namespace {

constexpr std::size_t width = 100; // the help's lines, at most
constexpr std::size_t descriptionColumn = 31;

/// Columns a character takes in a terminal: two for wide and full-width ones (CJK), else one.
std::size_t columnsOf(UChar32 c)
{
    const int width = u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH);
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH ? 2 : 1;
}

std::size_t columnsOf(std::string_view text)
{
    std::size_t columns = 0;
    for (int32_t at = 0; at < int32_t(text.size());) {
        UChar32 c;
        U8_NEXT(text.data(), at, int32_t(text.size()), c);
        columns += columnsOf(c);
    }
    return columns;
}

/// Whether a line may break between a and b inside a word: beside a wide character (Chinese has
/// no spaces), but not before closing punctuation nor after opening punctuation.
bool breaksBetween(UChar32 a, UChar32 b)
{
    if (columnsOf(a) < 2 && columnsOf(b) < 2)
        return false;
    const int after = u_getIntPropertyValue(a, UCHAR_LINE_BREAK);
    const int before = u_getIntPropertyValue(b, UCHAR_LINE_BREAK);
    if (after == U_LB_OPEN_PUNCTUATION || a == U'“' || a == U'‘')
        return false;
    return before != U_LB_CLOSE_PUNCTUATION && before != U_LB_CLOSE_PARENTHESIS && before != U_LB_EXCLAMATION
        && before != U_LB_INFIX_NUMERIC && before != U_LB_NONSTARTER && b != U'”' && b != U'’';
}

/// text as lines of at most width columns, the first one after what out already holds on its last
/// line, the others indented by indent. Lines break at spaces, and in Chinese between characters.
void wrap(std::string &out, std::string_view text, std::size_t indent)
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
        int32_t pieceStart = 0;
        UChar32 previous = U_SENTINEL;
        for (int32_t at = 0; at < int32_t(word.size());) {
            const int32_t start = at;
            UChar32 c;
            U8_NEXT(word.data(), at, int32_t(word.size()), c);
            if (previous != U_SENTINEL && breaksBetween(previous, c)) {
                put(word.substr(std::size_t(pieceStart), std::size_t(start - pieceStart)),
                    pieceStart ? "" : " ");
                pieceStart = start;
            }
            previous = c;
        }
        put(word.substr(std::size_t(pieceStart)), pieceStart ? "" : " ");
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
        0);
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
            std::string names = option.names.size() > 1 ? "  -" + option.names.front().toStdString() + ", "
                                                        : std::string("      ");
            names += "--" + option.longName().toStdString();
            if (!option.valueName.isEmpty())
                names += ' ' + option.valueName.toStdString();
            names += std::string(
                names.size() + 2 > descriptionColumn ? 2 : descriptionColumn - names.size(), ' ');
            help += names;
            wrap(help, option.description.translated(), descriptionColumn);
        }
    }
    help += '\n';
    wrap(help,
        translate("rainbowtext-cli", "'--' ends the options: rainbowtext-cli -- -5 converts the text -5."),
        0);
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
            found->second += "--" + option.longName().toStdString();
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
                 "An option that would do nothing is refused: %1; and a TEXT with --list-formats."),
            { idle }),
        0);
    wrap(help,
        translate("rainbowtext-cli",
            "Exit status: 0 converted; 1 text too short for the rainbow or too long for --fit; 2 bad usage "
            "(an unknown option or value, options that clash or do nothing, a bad template), input that is "
            "not UTF-8, a file that cannot be read or written, or not enough memory."),
        0);
    return help;
}

} // namespace rainbow::cli
