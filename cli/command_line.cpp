#include "cli/command_line.h"

#include "cli/utf8.h"
#include "convert/conversion.h"
#include "convert/messages.h"
#include "engine/color_syntax.h"
#include "engine/custom_markup.h"
#include "engine/terminal_color.h"
#include "version.h"

#include <QCommandLineParser>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <variant>
#include <vector>

namespace rainbow {

namespace {

const std::string usage
    = "Usage: rainbowtext-cli [OPTION]... [--] [TEXT]\n"
      "\n"
      "Wraps every character of TEXT (or of the file, or of standard input, one trailing line break\n"
      "removed) in a colour tag, as a gradient or a rainbow, and prints the markup.\n"
      "Colours are RRGGBB, #RRGGBB or #RGB.\n"
      "\n"
      "Colours:\n"
      "  -m, --mode gradient|rainbow  gradient from the start to the end colour (default), or rainbow\n"
      "  -s, --start COLOUR           start colour of the gradient (default "
    + colorCode(defaultStartColor)
    + ")\n"
      "  -e, --end COLOUR             end colour of the gradient (default "
    + colorCode(defaultEndColor)
    + ")\n"
      "  -c, --stops C1,C2,...        gradient through 2 to 16 colours instead of --start and --end\n"
      "  -b, --blend rgb|hsv|oklab    how the gradient mixes colours (default rgb; hsv along the\n"
      "                               shorter hue arc, oklab in a perceptual colour space)\n"
      "  -r, --reverse                colours run backward\n"
      "  -S, --symmetric              from the start to the end and back, mirrored about the middle\n"
      "                               (a rainbow needs 12 characters or more)\n"
      "Shorter markup:\n"
      "  -M, --merge                  neighbouring characters of one colour share a tag\n"
      "  -w, --skip-spaces            whitespace stays untagged and takes no colour step (the\n"
      "                               rainbow's 6 and 12 characters count coloured characters)\n"
      "      --fit N                  the markup in at most N characters: each colour goes to\n"
      "                               groups of the fewest characters that fit (exit 1 if none do)\n"
      "Markup:\n"
      "  -f, --format ubb|qzone|html|span  markup format (default ubb)\n"
      "  -t, --template PATTERN       a format of one's own: OPEN{hex}MID{text}CLOSE, where {hex}\n"
      "                               is the colour's six digits and {text} the characters\n"
      "      --escape                 write <, > and & as &lt; &gt; &amp; (on by itself for html\n"
      "                               and span when a tag holds several characters: --merge, --fit)\n"
      "      --list-formats           print each built-in format with a sample, then exit\n"
      "Input and output:\n"
      "  -F, --file PATH              read the text from PATH ('-' for standard input)\n"
      "  -l, --lines                  convert each line on its own and print it as soon as it is\n"
      "                               read; a line too short for a rainbow is printed uncoloured\n"
      "  -p, --preview                print the text in its colours instead of the markup\n"
      "      --color-depth 24|8       the preview's colours: 24-bit, or the nearest of 256 (default:\n"
      "                               24 when COLORTERM is truecolor or 24bit, else 8)\n"
      "  -h, --help                   show this help, then exit\n"
      "  -V, --version                show the version, then exit\n"
      "\n"
      "'--' ends the options: rainbowtext-cli -- -5 converts the text -5.\n"
      "Exit status: 0 converted, 1 text too short for the rainbow or too long for --fit,\n"
      "2 bad usage or input.\n";

/// A failure that ends the run with exit status 2 and its message on standard error.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// The value in single quotes for a message, cut after about 60 characters, with control
/// characters, backslashes and quotes escaped: a value can neither break the message's line nor
/// reach the terminal as an escape sequence.
std::string quoted(QStringView value)
{
    constexpr int longest = 60;
    const auto hex = [](const char *form, char32_t c) {
        char escape[8];
        std::snprintf(escape, sizeof escape, form, unsigned(c));
        return std::string(escape);
    };
    const QList<uint> characters = value.toUcs4();
    std::string out = "'";
    int shown = 0;
    for (const char32_t c : characters) {
        if (shown++ == longest)
            return out + "'... (" + std::to_string(characters.size()) + " characters)";
        if (c == '\\' || c == '\'')
            out += { '\\', char(c) };
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c < 0x20 || c == 0x7F) // C0 controls, DEL
            out += hex("\\x%02X", c);
        else if ((c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029) // C1 (CSI too), line breaks
            out += hex("\\u%04X", c);
        else
            out += QString::fromUcs4(&c, 1).toStdString();
    }
    return out + "'";
}

const char *const colorForms = "(RRGGBB, #RRGGBB or #RGB)";

RgbTriple colorOption(const QCommandLineParser &parser, const QString &name, const RgbTriple &fallback)
{
    if (!parser.isSet(name))
        return fallback;
    const QString value = parser.value(name);
    if (const auto color = parseHexColor(value.toStdString()))
        return *color;
    throw UsageError("--" + name.toStdString() + ": " + quoted(value) + " is not a colour " + colorForms);
}

std::vector<RgbTriple> stopsOption(const QString &value)
{
    const std::string text = value.toStdString();
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
int64_t positiveOption(const QString &name, const QString &value)
{
    const std::string text = value.toStdString();
    int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || number < 1)
        throw UsageError("--" + name.toStdString() + ": " + quoted(value) + " is not a whole number above 0");
    return number;
}

/// Throws Error unless bytes are well-formed UTF-8.
template <typename Error = std::runtime_error>
void requireUtf8(std::string_view bytes, const std::string &where)
{
    if (const auto offset = firstInvalidUtf8(bytes))
        throw Error(where + " is not valid UTF-8 (byte offset " + std::to_string(*offset) + ")");
}

std::runtime_error systemError(const char *what)
{
    return std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

/// How far the text got, for the message when memory runs out.
struct TextSize {
    std::size_t bytes = 0;
    bool whole = false; // false while standard input is still being read
};

/// All bytes of a file descriptor; a regular file takes one read() into a buffer of its size.
/// size follows the bytes read.
std::string readAll(int fd, const std::string &name, TextSize &size)
{
    std::size_t expected = 0;
    struct stat info { };
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        const off_t at = lseek(fd, 0, SEEK_CUR);
        if (at >= 0 && info.st_size > at)
            expected = std::size_t(info.st_size - at);
        size = { expected, true };
    }
    // One byte more than the file holds lets the second read() report its end.
    std::string bytes(std::max<std::size_t>(expected + 1, 1 << 16), '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(2 * bytes.size());
        const ssize_t got = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw systemError(("cannot read " + name).c_str());
        }
        used += std::size_t(got);
        if (used > size.bytes)
            size = { used, false };
    }
    bytes.resize(used);
    return bytes;
}

void writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throw systemError("cannot write standard output");
        }
        data += written;
        size -= std::size_t(written);
    }
}

void writeAll(int fd, std::string_view text) { writeAll(fd, text.data(), text.size()); }

/// Markup in chunks of about a mebibyte, each handed to one write(): the markup of a long text
/// never stands in memory whole.
class ChunkedOutput final : public MarkupSink<char> {
public:
    explicit ChunkedOutput(int fd)
        : m_fd(fd)
        , m_buffer(std::size_t(1) << 20)
    {
    }

    char *reserve(std::size_t units) override
    {
        const std::size_t needed = units + slack;
        if (m_buffer.size() - m_used < needed) {
            flush();
            if (m_buffer.size() < needed)
                m_buffer.resize(needed);
        }
        return m_buffer.data() + m_used;
    }

    void commit(char *end) override { m_used = std::size_t(end - m_buffer.data()); }

    void write(std::string_view bytes)
    {
        if (bytes.size() > m_buffer.size()) {
            flush();
            writeAll(m_fd, bytes);
            return;
        }
        char *at = reserve(bytes.size());
        std::memcpy(at, bytes.data(), bytes.size());
        commit(at + bytes.size());
    }

    void flush()
    {
        writeAll(m_fd, m_buffer.data(), m_used);
        m_used = 0;
    }

private:
    int m_fd;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
};

void removeOneLineBreak(std::string &text)
{
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    else if (!text.empty() && text.back() == '\n')
        text.pop_back();
}

/// Where the text comes from.
struct Input {
    std::optional<std::string> text; // the TEXT argument
    std::string path; // --file; empty or "-" for standard input
};

struct Request {
    ConversionSettings settings;
    std::optional<int64_t> fitLimit; // --fit
    Input input;
    bool lines = false;
    bool preview = false;
    ColorDepth depth = ColorDepth::TrueColor;
};

/// The built-in formats by name: the window's three, then HTML5's span.
std::optional<MarkupTemplate> namedFormat(const QString &name)
{
    static const QStringList names { "ubb", "qzone", "html" };
    if (name == u"span")
        return spanTemplate();
    const auto index = names.indexOf(name);
    if (index < 0)
        return std::nullopt;
    return markupTemplate(allMarkupFormats[std::size_t(index)]);
}

std::string formatList()
{
    std::string list;
    for (const char *name : { "ubb", "qzone", "html", "span" }) {
        const MarkupTemplate markup = *namedFormat(QString::fromLatin1(name));
        list += std::string(name) + std::string(8 - std::strlen(name), ' ') + markup.OpenPrefix
            + colorCode(defaultEndColor) + markup.OpenSuffix + "x" + markup.CloseTag + '\n';
    }
    return list;
}

/// A long option written with one dash ("-mode") would otherwise be read as short options.
void refuseSingleDashLongOptions(const QStringList &args, const QList<QCommandLineOption> &options)
{
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == u"--")
            return;
        if (arg.size() < 3 || arg[0] != u'-' || arg[1] == u'-')
            continue;
        const QString name = arg.mid(1).section(u'=', 0, 0);
        for (const QCommandLineOption &option : options) {
            if (option.names().contains(name) && name.size() > 1)
                throw UsageError(
                    quoted(arg) + " has one dash: long options take two (--" + name.toStdString() + ")");
        }
    }
}

/// Reads the arguments; nullopt when help, version or the format list was printed.
std::optional<Request> parse(const std::vector<std::string> &arguments, int output)
{
    QStringList args;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        requireUtf8<UsageError>(arguments[i], i == 0 ? "the program name" : "argument " + std::to_string(i));
        args << QString::fromStdString(arguments[i]);
    }

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const QCommandLineOption mode({ "m", "mode" }, "", "mode", "gradient");
    const QCommandLineOption start({ "s", "start" }, "", "colour");
    const QCommandLineOption end({ "e", "end" }, "", "colour");
    const QCommandLineOption stops({ "c", "stops" }, "", "colours");
    const QCommandLineOption blend({ "b", "blend" }, "", "blend", "rgb");
    const QCommandLineOption reverse(QStringList { "r", "reverse" });
    const QCommandLineOption symmetric(QStringList { "S", "symmetric" });
    const QCommandLineOption merge(QStringList { "M", "merge" });
    const QCommandLineOption skipSpaces(QStringList { "w", "skip-spaces" });
    const QCommandLineOption fit("fit", "", "N");
    const QCommandLineOption format({ "f", "format" }, "", "format", "ubb");
    const QCommandLineOption templateOption({ "t", "template" }, "", "pattern");
    const QCommandLineOption escape("escape");
    const QCommandLineOption listFormats("list-formats");
    const QCommandLineOption file({ "F", "file" }, "", "path");
    const QCommandLineOption lines(QStringList { "l", "lines" });
    const QCommandLineOption previewOption(QStringList { "p", "preview" });
    const QCommandLineOption colorDepth("color-depth", "", "bits");
    const QCommandLineOption help(QStringList { "h", "help" });
    const QCommandLineOption version(QStringList { "V", "version" });
    const QList<QCommandLineOption> options { mode, start, end, stops, blend, reverse, symmetric, merge,
        skipSpaces, fit, format, templateOption, escape, listFormats, file, lines, previewOption, colorDepth,
        help, version };
    parser.addOptions(options);
    refuseSingleDashLongOptions(args, options);
    if (!parser.parse(args)) {
        // The parser's own message would echo an unknown option raw.
        const QStringList unknown = parser.unknownOptionNames();
        throw UsageError(unknown.isEmpty() ? parser.errorText().toStdString()
                                           : "unknown option " + quoted(unknown.front()));
    }
    if (parser.isSet(help)) {
        writeAll(output, usage);
        return std::nullopt;
    }
    if (parser.isSet(version)) {
        writeAll(output, "rainbowtext-cli " RAINBOWTEXT_VERSION "\n");
        return std::nullopt;
    }
    if (parser.isSet(listFormats)) {
        writeAll(output, formatList());
        return std::nullopt;
    }

    Request request;
    ConversionSettings &settings = request.settings;
    const QString modeName = parser.value(mode);
    if (modeName != u"gradient" && modeName != u"rainbow")
        throw UsageError("--mode: " + quoted(modeName) + " is neither gradient nor rainbow");
    settings.mode = modeName == u"gradient" ? ConversionMode::Gradient : ConversionMode::Rainbow;
    if (parser.isSet(stops) && (parser.isSet(start) || parser.isSet(end)))
        throw UsageError("--stops replaces --start and --end: give one or the other");
    settings.startColor = colorOption(parser, "start", defaultStartColor);
    settings.endColor = colorOption(parser, "end", defaultEndColor);
    if (parser.isSet(stops))
        settings.stops = stopsOption(parser.value(stops));
    const auto blendValue = parseBlend(parser.value(blend).toStdString());
    if (!blendValue)
        throw UsageError("--blend: " + quoted(parser.value(blend)) + " is not one of rgb, hsv, oklab");
    settings.blend = *blendValue;
    settings.reverse = parser.isSet(reverse);
    settings.symmetric = parser.isSet(symmetric);
    settings.gradientLayout = true;

    settings.merge = parser.isSet(merge);
    settings.skipSpaces = parser.isSet(skipSpaces);
    if (parser.isSet(fit))
        request.fitLimit = positiveOption("fit", parser.value(fit));

    bool html = false;
    if (parser.isSet(templateOption)) {
        if (parser.isSet(format))
            throw UsageError("--template replaces --format: give one or the other");
        auto parsed = parseMarkupTemplate(parser.value(templateOption).toStdString());
        if (const auto *error = std::get_if<TemplateError>(&parsed))
            throw UsageError(
                "--template: " + quoted(parser.value(templateOption)) + ": " + std::string(describe(*error)));
        settings.markup = std::get<MarkupTemplate>(std::move(parsed));
    } else {
        const auto markup = namedFormat(parser.value(format));
        if (!markup)
            throw UsageError(
                "--format: " + quoted(parser.value(format)) + " is not one of ubb, qzone, html, span");
        settings.markup = *markup;
        html = parser.value(format) == u"html" || parser.value(format) == u"span";
    }
    // Where a tag holds several characters, a raw '<' among them could open a tag of its own.
    settings.escape = parser.isSet(escape) || (html && (settings.merge || request.fitLimit));

    request.preview = parser.isSet(previewOption);
    request.lines = parser.isSet(lines);
    if (parser.isSet(colorDepth)) {
        const auto depth = parseColorDepth(parser.value(colorDepth).toStdString());
        if (!depth)
            throw UsageError("--color-depth: " + quoted(parser.value(colorDepth)) + " is neither 24 nor 8");
        request.depth = *depth;
    } else {
        request.depth = colorDepthFromColorterm(std::getenv("COLORTERM"));
    }

    const QStringList texts = parser.positionalArguments();
    if (texts.size() > 1)
        throw UsageError("more than one TEXT given (" + std::to_string(texts.size())
            + "); quote a text that holds spaces");
    if (parser.isSet(file)) {
        if (!texts.isEmpty())
            throw UsageError("both a TEXT and --file given: give one or the other");
        request.input.path = parser.value(file).toStdString();
    }
    if (texts.size() == 1)
        request.input.text = texts.front().toStdString();
    return request;
}

/// The text with one line break removed, checked and without a leading byte-order mark, as Qt
/// decodes UTF-8 into the window's text.
void prepareText(std::string &text, const std::string &name)
{
    removeOneLineBreak(text);
    requireUtf8(text, name);
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
}

/// The file descriptor of --file (standard input for none or '-'), closed with this.
class InputFile {
public:
    InputFile(const std::string &path, int standardInput)
        : m_fd(standardInput)
        , m_name("standard input")
    {
        if (path.empty() || path == "-")
            return;
        m_name = quoted(QString::fromStdString(path));
        m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (m_fd < 0)
            throw UsageError("--file: cannot open " + m_name + ": " + std::strerror(errno));
        m_owned = true;
    }
    ~InputFile()
    {
        if (m_owned)
            ::close(m_fd);
    }
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    int fd() const { return m_fd; }
    const std::string &name() const { return m_name; }

private:
    int m_fd;
    std::string m_name;
    bool m_owned = false;
};

/// Markup that nobody reads: one batch of room, used again and again.
class DiscardedMarkup final : public MarkupSink<char> {
public:
    char *reserve(std::size_t units) override
    {
        m_room.resize(std::max(m_room.size(), units + slack));
        return m_room.data();
    }

    void commit(char *) override { }

private:
    std::vector<char> m_room;
};

/// The trimmed text in terminal colours, one escape per run of equal colour, written as the
/// conversion goes; characters without a colour (untagged whitespace) stay plain.
class TerminalPreview final : public ColorSpanSink<char> {
public:
    TerminalPreview(ChunkedOutput &out, ColorDepth depth)
        : m_out(out)
        , m_depth(depth)
    {
    }

    void start(std::string_view trimmedText) override
    {
        m_text = trimmedText;
        m_done = 0;
    }

    void colored(const RgbTriple &color, std::size_t first, std::size_t end) override
    {
        if (m_run && m_run->color == color && m_run->end == first) {
            m_run->end = end;
            return;
        }
        finishRun();
        m_out.write(m_text.substr(m_done, first - m_done));
        m_run = Run { color, first, end };
    }

    /// Writes the last run and what follows it.
    void finish()
    {
        finishRun();
        m_out.write(m_text.substr(m_done));
    }

private:
    void finishRun()
    {
        if (!m_run)
            return;
        char sgr[maxForegroundSgrSize];
        m_out.write({ sgr, std::size_t(writeForegroundSgr(sgr, m_run->color, m_depth) - sgr) });
        m_out.write(m_text.substr(m_run->first, m_run->end - m_run->first));
        m_out.write(resetSgr);
        m_done = m_run->end;
        m_run.reset();
    }

    struct Run {
        RgbTriple color;
        std::size_t first;
        std::size_t end;
    };

    ChunkedOutput &m_out;
    ColorDepth m_depth;
    std::string_view m_text;
    std::size_t m_done = 0; // text written so far
    std::optional<Run> m_run;
};

/// A refusal: its message, and 1 as the exit status.
struct Refusal {
    std::string message;
};

/// Converts one text into out with the request's converter (the markup or the preview, then a
/// line break); a refusal writes nothing.
std::optional<Refusal> convertInto(
    const Request &request, Utf8Converter &converter, std::string_view text, ChunkedOutput &out)
{
    std::optional<Utf8Converter> fitted;
    if (request.fitLimit) {
        const auto fit = fitGroupSize(request.settings, text, *request.fitLimit);
        if (const auto *tooLong = std::get_if<FitPlanner::TooLong>(&fit))
            return Refusal { "rainbowtext-cli: the markup does not fit in "
                + std::to_string(*request.fitLimit) + " characters: even one tag for the whole text needs "
                + std::to_string(tooLong->needed) };
        ConversionSettings settings = request.settings;
        settings.groupSize = std::get<FitPlanner::Fit>(fit).groupSize;
        fitted.emplace(std::move(settings));
    }
    Utf8Converter &use = fitted ? *fitted : converter;
    ConversionOutcome outcome;
    if (request.preview) {
        DiscardedMarkup markup;
        TerminalPreview preview(out, request.depth);
        outcome = use.convert(text, markup, &preview);
        if (outcome == ConversionOutcome::Converted)
            preview.finish();
    } else {
        outcome = use.convert(text, out);
    }
    if (outcome != ConversionOutcome::Converted)
        return Refusal { messages::forOutcome(outcome).toStdString() };
    out.write("\n");
    return std::nullopt;
}

int convertWhole(const Request &request, int input, int output, TextSize &size, std::ostream &err)
{
    std::string text;
    if (request.input.text) {
        text = *request.input.text;
    } else {
        const InputFile file(request.input.path, input);
        text = readAll(file.fd(), file.name(), size);
        prepareText(text, file.name());
    }
    size = { text.size(), true };
    ChunkedOutput out(output);
    Utf8Converter converter(request.settings);
    if (const auto refusal = convertInto(request, converter, text, out)) {
        err << refusal->message << '\n';
        return 1;
    }
    out.flush();
    return 0;
}

/// --lines: each line converted on its own and written before the next is read; a line that is
/// refused is written as it is.
int convertLines(const Request &request, int input, int output)
{
    ChunkedOutput out(output);
    Utf8Converter converter(request.settings);
    std::size_t number = 0;
    const auto line = [&](std::string_view text, const std::string &name) {
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        ++number;
        if (firstInvalidUtf8(text)) // the message is made only when it is needed
            requireUtf8(text, "line " + std::to_string(number) + " of " + name);
        if (number == 1 && text.compare(0, 3, "\xEF\xBB\xBF") == 0)
            text.remove_prefix(3);
        if (convertInto(request, converter, text, out)) {
            out.write(text);
            out.write("\n");
        }
    };
    if (request.input.text) {
        std::string_view text = *request.input.text;
        for (std::size_t at; (at = text.find('\n')) != std::string_view::npos; text.remove_prefix(at + 1))
            line(text.substr(0, at), "TEXT");
        if (!text.empty())
            line(text, "TEXT");
        out.flush();
        return 0;
    }
    const InputFile file(request.input.path, input);
    std::string buffer;
    std::size_t used = 0;
    for (;;) {
        if (buffer.size() - used < (1 << 16))
            buffer.resize(std::max<std::size_t>(2 * buffer.size(), used + (1 << 16)));
        out.flush(); // everything converted so far is out before waiting for more
        const ssize_t got = ::read(file.fd(), buffer.data() + used, buffer.size() - used);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw systemError(("cannot read " + file.name()).c_str());
        }
        if (got == 0)
            break;
        const std::size_t scanned = used;
        used += std::size_t(got);
        std::size_t begin = 0;
        for (std::size_t at = scanned; at < used; ++at) {
            at = std::size_t(std::find(buffer.data() + at, buffer.data() + used, '\n') - buffer.data());
            if (at == used)
                break;
            line({ buffer.data() + begin, at - begin }, file.name());
            begin = at + 1;
        }
        buffer.erase(0, begin);
        used -= begin;
    }
    if (used > 0)
        line({ buffer.data(), used }, file.name());
    out.flush();
    return 0;
}

} // namespace

int runCommandLine(const std::vector<std::string> &arguments, int input, int output, std::ostream &err)
{
    TextSize size;
    try {
        try {
            const std::optional<Request> request = parse(arguments, output);
            if (!request)
                return 0;
            return request->lines ? convertLines(*request, input, output)
                                  : convertWhole(*request, input, output, size, err);
        } catch (const UsageError &e) {
            std::string message = e.what();
            if (!message.empty() && message.back() == '.')
                message.pop_back();
            err << "rainbowtext-cli: " << message << ". Try 'rainbowtext-cli --help'.\n";
            return 2;
        }
    } catch (const std::bad_alloc &) {
        err << "rainbowtext-cli: not enough memory for a text of " << (size.whole ? "" : "more than ")
            << size.bytes << " bytes\n";
        return 2;
    } catch (const std::exception &e) {
        err << "rainbowtext-cli: " << e.what() << '\n';
        return 2;
    }
}

} // namespace rainbow
