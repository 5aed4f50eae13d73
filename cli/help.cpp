#include "cli/option_table.h"
#include "cli/options.h"
#include "engine/color.h"

#include <unicode/uchar.h>

#include <string_view>

namespace rainbow::cli {

namespace {

constexpr std::size_t width = 100; // the help's lines, at most
constexpr std::size_t descriptionColumn = 31;

/// text's words as lines of at most width columns, the first one after what out already holds on
/// its last line, the others indented by indent; columns counted in code points.
void wrap(std::string &out, std::string_view text, std::size_t indent)
{
    const auto columns = [](std::string_view s) {
        std::size_t n = 0;
        for (const char c : s)
            n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return n;
    };
    std::size_t column = columns(std::string_view(out).substr(out.rfind('\n') + 1));
    bool lineStart = true;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(' '), text.size());
        const std::string_view word = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!lineStart && column + 1 + columns(word) > width) {
            out += '\n' + std::string(indent, ' ');
            column = indent;
            lineStart = true;
        }
        if (!lineStart) {
            out += ' ';
            ++column;
        }
        out += word;
        column += columns(word);
        lineStart = false;
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

std::string helpText()
{
    std::string help = "Usage: rainbowtext-cli [OPTION]... [--] [TEXT]\n\n";
    wrap(help,
        "Wraps every character of TEXT (or of the file, or of standard input, without one trailing line "
        "break) "
        "in a colour tag, as a gradient or a rainbow, and prints the markup. A leading byte-order mark is "
        "dropped and spaces (U+0020) around the text are trimmed. A character is what a reader sees as one "
        "(an emoji, a flag, a letter with its marks) by the rules of Unicode "
            + unicodeVersion()
            + ", the version of the system's ICU library; a character newer than that may be split. In a "
              "gradient, character k of n takes the colour k/n of the way along the colours, so the last "
              "takes the end colour and the first is one step past the start colour, as in the desktop "
              "program. Colours are RRGGBB, #RRGGBB or #RGB.",
        0);
    const char *const headings[] = { "Colours:", "Shorter markup:", "Markup:", "Input and output:" };
    const std::vector<OptionSpec> &table = optionTable();
    for (std::size_t section = 0; section < std::size(headings); ++section) {
        help += '\n' + std::string(headings[section]) + '\n';
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
            wrap(help, option.description, descriptionColumn);
        }
    }
    help += '\n';
    wrap(help, "'--' ends the options: rainbowtext-cli -- -5 converts the text -5.", 0);
    std::string idle = "An option that would do nothing is refused:";
    for (const OptionSpec &option : table) {
        if (option.idle)
            idle += " --" + option.longName().toStdString() + ' ' + option.idleWhen + ',';
    }
    wrap(help, idle + " and a TEXT with --list-formats.", 0);
    wrap(help,
        "Exit status: 0 converted; 1 text too short for the rainbow or too long for --fit; 2 bad usage (an "
        "unknown option or value, options that clash or do nothing, a bad template), input that is not "
        "UTF-8, "
        "a file that cannot be read or written, or not enough memory.",
        0);
    return help;
}

} // namespace rainbow::cli
