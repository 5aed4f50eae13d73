#include "cli/command_line.h"

#include "cli/utf8.h"
#include "convert/conversion.h"
#include "convert/messages.h"
#include "version.h"

#include <QCommandLineParser>
#include <QStringList>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <vector>

namespace rainbow {

namespace {

const std::string usage
    = "Usage: rainbowtext-cli [--mode gradient|rainbow] [--start RRGGBB] [--end RRGGBB]\n"
      "                       [--reverse] [--symmetric] [--format ubb|qzone|html] [--preview] [TEXT]\n"
      "\n"
      "Wraps every character of TEXT (or of standard input, one trailing line break removed)\n"
      "in a colour tag, as a gradient or a rainbow, and prints the markup.\n"
      "\n"
      "  --mode gradient|rainbow  gradient from the start to the end colour (default), or rainbow\n"
      "  --start RRGGBB           start colour of the gradient (default "
    + colorCode(defaultStartColor)
    + "; '#' allowed)\n"
      "  --end RRGGBB             end colour of the gradient (default "
    + colorCode(defaultEndColor)
    + ")\n"
      "  --reverse                rainbow colours run backward\n"
      "  --symmetric              rainbow mirrored about the middle (12 characters or more)\n"
      "  --format ubb|qzone|html  markup format (default ubb)\n"
      "  --preview                print the text in its colours instead of the markup\n"
      "  --help                   show this help\n"
      "  --version                show the version\n"
      "\n"
      "Exit status: 0 converted, 1 text too short for the rainbow, 2 bad usage or input.\n";

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

std::optional<RgbTriple> parseColor(QString text)
{
    if (text.startsWith(u'#'))
        text.remove(0, 1);
    if (text.size() != 6)
        return std::nullopt;
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    // Hex digits only: toUInt would also take a sign or spaces.
    for (QChar c : text) {
        if (!c.isDigit() && !QStringLiteral("abcdefABCDEF").contains(c))
            return std::nullopt;
    }
    return RgbTriple { int16_t(value >> 16), int16_t((value >> 8) & 0xFF), int16_t(value & 0xFF) };
}

RgbTriple colorOption(const QCommandLineParser &parser, const QString &name, const RgbTriple &fallback)
{
    if (!parser.isSet(name))
        return fallback;
    const QString value = parser.value(name);
    if (const auto color = parseColor(value))
        return *color;
    throw UsageError("--" + name.toStdString() + ": " + quoted(value)
        + " is not a colour of six hexadecimal digits (RRGGBB)");
}

void requireUtf8(std::string_view bytes, const std::string &where)
{
    if (const auto offset = firstInvalidUtf8(bytes))
        throw UsageError(where + " is not valid UTF-8 (byte offset " + std::to_string(*offset) + ")");
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
std::string readAll(int fd, TextSize &size)
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
            throw systemError("cannot read standard input");
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

struct Request {
    ConversionSettings settings;
    std::string text; // well-formed UTF-8
    bool preview = false;
};

/// Reads the arguments and the text; nullopt when help or version was printed.
std::optional<Request> parse(const std::vector<std::string> &arguments, int input, int output, TextSize &size)
{
    QStringList args;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        requireUtf8(arguments[i], i == 0 ? "the program name" : "argument " + std::to_string(i));
        args << QString::fromStdString(arguments[i]);
    }

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption mode("mode", "", "mode", "gradient");
    const QCommandLineOption start("start", "", "RRGGBB");
    const QCommandLineOption end("end", "", "RRGGBB");
    const QCommandLineOption reverse("reverse");
    const QCommandLineOption symmetric("symmetric");
    const QCommandLineOption format("format", "", "format", "ubb");
    const QCommandLineOption previewOption("preview");
    const QCommandLineOption help("help");
    const QCommandLineOption version("version");
    parser.addOptions({ mode, start, end, reverse, symmetric, format, previewOption, help, version });
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

    Request request;
    ConversionSettings &settings = request.settings;
    const QString modeName = parser.value(mode);
    if (modeName != u"gradient" && modeName != u"rainbow")
        throw UsageError("--mode: " + quoted(modeName) + " is neither gradient nor rainbow");
    settings.mode = modeName == u"gradient" ? ConversionMode::Gradient : ConversionMode::Rainbow;
    settings.startColor = colorOption(parser, "start", defaultStartColor);
    settings.endColor = colorOption(parser, "end", defaultEndColor);
    settings.reverse = parser.isSet(reverse);
    settings.symmetric = parser.isSet(symmetric);

    static const QStringList formatNames { "ubb", "qzone", "html" };
    const int formatIndex = int(formatNames.indexOf(parser.value(format)));
    if (formatIndex < 0)
        throw UsageError("--format: " + quoted(parser.value(format)) + " is not one of ubb, qzone, html");
    settings.markup = markupTemplate(allMarkupFormats[std::size_t(formatIndex)]);
    request.preview = parser.isSet(previewOption);

    const QStringList texts = parser.positionalArguments();
    if (texts.size() > 1)
        throw UsageError("more than one TEXT given (" + std::to_string(texts.size())
            + "); quote a text that holds spaces");
    if (texts.size() == 1) {
        request.text = texts.front().toStdString();
    } else {
        request.text = readAll(input, size);
        removeOneLineBreak(request.text);
        requireUtf8(request.text, "standard input");
        // Decoded as Qt decodes UTF-8 into the window's text: without a leading byte-order mark.
        if (request.text.compare(0, 3, "\xEF\xBB\xBF") == 0)
            request.text.erase(0, 3);
    }
    size = { request.text.size(), true };
    return request;
}

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

/// The trimmed text in 24-bit terminal colours, one escape per run of equal colour, written as
/// the conversion goes.
class TerminalPreview final : public ColorSpanSink<char> {
public:
    explicit TerminalPreview(ChunkedOutput &out)
        : m_out(out)
    {
    }

    void start(std::string_view trimmedText) override { m_text = trimmedText; }

    void colored(const RgbTriple &color, std::size_t first, std::size_t end) override
    {
        if (m_run && m_run->color == color && m_run->end == first) {
            m_run->end = end;
            return;
        }
        finish();
        m_run = Run { color, first, end };
    }

    /// Writes the last run.
    void finish()
    {
        if (!m_run)
            return;
        const RgbTriple &c = m_run->color;
        m_out.write("\x1b[38;2;" + std::to_string(c.red) + ';' + std::to_string(c.green) + ';'
            + std::to_string(c.blue) + 'm');
        m_out.write(m_text.substr(m_run->first, m_run->end - m_run->first));
        m_out.write("\x1b[0m");
        m_run.reset();
    }

private:
    struct Run {
        RgbTriple color;
        std::size_t first;
        std::size_t end;
    };

    ChunkedOutput &m_out;
    std::string_view m_text;
    std::optional<Run> m_run;
};

/// The exit status of an outcome; a refusal's message goes to err.
int exitStatus(ConversionOutcome outcome, std::ostream &err)
{
    if (outcome == ConversionOutcome::Converted)
        return 0;
    err << messages::forOutcome(outcome).toStdString() << '\n';
    return 1;
}

/// --preview: the trimmed text in the colours the markup gives it.
int printPreview(const Request &request, int output, std::ostream &err)
{
    ChunkedOutput out(output);
    DiscardedMarkup markup;
    TerminalPreview preview(out);
    const ConversionOutcome outcome = convertText(request.settings, request.text, markup, &preview);
    if (outcome == ConversionOutcome::Converted) {
        preview.finish();
        out.write("\n");
        out.flush();
    }
    return exitStatus(outcome, err);
}

/// The markup, converted from the UTF-8 text straight into chunks of standard output.
int printMarkup(const Request &request, int output, std::ostream &err)
{
    ChunkedOutput out(output);
    const ConversionOutcome outcome = convertText(request.settings, request.text, out);
    if (outcome == ConversionOutcome::Converted) {
        out.write("\n");
        out.flush();
    }
    return exitStatus(outcome, err);
}

} // namespace

int runCommandLine(const std::vector<std::string> &arguments, int input, int output, std::ostream &err)
{
    TextSize size;
    try {
        std::optional<Request> request = parse(arguments, input, output, size);
        if (!request)
            return 0;
        return request->preview ? printPreview(*request, output, err) : printMarkup(*request, output, err);
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
