#include "command_line.h"

#include "conversion.h"
#include "messages.h"
#include "utf8.h"
#include "version.h"

#include <QCommandLineParser>
#include <QStringList>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
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
    throw UsageError("--" + name.toStdString() + ": '" + value.toStdString()
        + "' is not a colour of six hexadecimal digits (RRGGBB)");
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

/// All bytes of a file descriptor; a regular file takes one read() into a buffer of its size.
std::string readAll(int fd)
{
    std::size_t expected = 0;
    struct stat info { };
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        const off_t at = lseek(fd, 0, SEEK_CUR);
        if (at >= 0 && info.st_size > at)
            expected = std::size_t(info.st_size - at);
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

/// The trimmed text in its colours, as 24-bit terminal colours: one escape per run of equal colour.
class TerminalPreview final : public ColorSpanSink<char> {
public:
    void start(std::string_view trimmedText) override { m_text = trimmedText; }

    void colored(const RgbTriple &color, std::size_t first, std::size_t end) override
    {
        if (m_end > m_first && color == m_color && first == m_end) {
            m_end = end;
            return;
        }
        flush();
        m_color = color;
        m_first = first;
        m_end = end;
    }

    /// The whole text, its last run closed.
    std::string finish()
    {
        flush();
        m_out.append(m_text.substr(m_written));
        return std::move(m_out);
    }

private:
    void flush()
    {
        if (m_end == m_first)
            return;
        m_out.append(m_text.substr(m_written, m_first - m_written));
        m_out += "\x1b[38;2;" + std::to_string(m_color.red) + ';' + std::to_string(m_color.green) + ';'
            + std::to_string(m_color.blue) + 'm';
        m_out.append(m_text.substr(m_first, m_end - m_first));
        m_out += "\x1b[0m";
        m_written = m_end;
        m_first = m_end;
    }

    std::string_view m_text;
    std::string m_out;
    std::size_t m_written = 0;
    RgbTriple m_color;
    std::size_t m_first = 0;
    std::size_t m_end = 0;
};

/// Markup that nobody reads: one buffer, written over batch by batch.
class DiscardMarkup final : public MarkupSink<char> {
public:
    char *reserve(std::size_t units) override
    {
        if (m_buffer.size() < units + slack)
            m_buffer.resize(units + slack);
        return m_buffer.data();
    }

    void commit(char *) override { }

private:
    std::vector<char> m_buffer;
};

struct Request {
    ConversionSettings settings;
    std::string text; // well-formed UTF-8
    bool preview = false;
};

/// Reads the arguments and the text; nullopt when help or version was printed.
std::optional<Request> parse(const std::vector<std::string> &arguments, int input, int output)
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
    if (!parser.parse(args))
        throw UsageError(parser.errorText().toStdString());
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
        throw UsageError("--mode: '" + modeName.toStdString() + "' is neither gradient nor rainbow");
    settings.mode = modeName == u"gradient" ? ConversionMode::Gradient : ConversionMode::Rainbow;
    settings.startColor = colorOption(parser, "start", defaultStartColor);
    settings.endColor = colorOption(parser, "end", defaultEndColor);
    settings.reverse = parser.isSet(reverse);
    settings.symmetric = parser.isSet(symmetric);

    static const QStringList formatNames { "ubb", "qzone", "html" };
    const int formatIndex = int(formatNames.indexOf(parser.value(format)));
    if (formatIndex < 0)
        throw UsageError(
            "--format: '" + parser.value(format).toStdString() + "' is not one of ubb, qzone, html");
    settings.markup = markupTemplate(allMarkupFormats[std::size_t(formatIndex)]);
    request.preview = parser.isSet(previewOption);

    const QStringList texts = parser.positionalArguments();
    if (texts.size() > 1)
        throw UsageError("more than one TEXT given (" + std::to_string(texts.size())
            + "); quote a text that holds spaces");
    if (texts.size() == 1) {
        request.text = texts.front().toStdString();
    } else {
        request.text = readAll(input);
        removeOneLineBreak(request.text);
        requireUtf8(request.text, "standard input");
        // Decoded as Qt decodes UTF-8 into the window's text: without a leading byte-order mark.
        if (request.text.compare(0, 3, "\xEF\xBB\xBF") == 0)
            request.text.erase(0, 3);
    }
    return request;
}

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
    DiscardMarkup markup;
    TerminalPreview preview;
    const ConversionOutcome outcome = convertText(request.settings, request.text, markup, &preview);
    if (outcome == ConversionOutcome::Converted)
        writeAll(output, preview.finish() + '\n');
    return exitStatus(outcome, err);
}

/// The markup, converted from the UTF-8 text straight into chunks of standard output.
int printMarkup(const Request &request, int output, std::ostream &err)
{
    ChunkedOutput out(output);
    const ConversionOutcome outcome = convertText(request.settings, request.text, out);
    if (outcome == ConversionOutcome::Converted) {
        char *end = out.reserve(1);
        *end++ = '\n';
        out.commit(end);
        out.flush();
    }
    return exitStatus(outcome, err);
}

} // namespace

int runCommandLine(const std::vector<std::string> &arguments, int input, int output, std::ostream &err)
{
    try {
        std::optional<Request> request = parse(arguments, input, output);
        if (!request)
            return 0;
        return request->preview ? printPreview(*request, output, err) : printMarkup(*request, output, err);
    } catch (const std::exception &e) {
        err << "rainbowtext-cli: " << e.what() << '\n';
        return 2;
    }
}

} // namespace rainbow
