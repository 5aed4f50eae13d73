#include "command_line.h"

#include "conversion.h"
#include "utf8.h"

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

constexpr char usage[]
    = "Usage: rainbowtext-cli [--mode gradient|rainbow] [--start RRGGBB] [--end RRGGBB]\n"
      "                       [--reverse] [--symmetric] [--format ubb|qzone|html] [--preview] [TEXT]\n"
      "\n"
      "Wraps every character of TEXT (or of standard input, one trailing line break removed)\n"
      "in a colour tag, as a gradient or a rainbow, and prints the markup.\n"
      "\n"
      "  --mode gradient|rainbow  gradient from the start to the end colour (default), or rainbow\n"
      "  --start RRGGBB           start colour of the gradient (default 00FFFF; '#' allowed)\n"
      "  --end RRGGBB             end colour of the gradient (default FF0080)\n"
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

RgbTriple colorOption(const QCommandLineParser &parser, const QString &name, const char *fallback)
{
    const QString value = parser.isSet(name) ? parser.value(name) : QString::fromLatin1(fallback);
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
        const std::size_t needed = units + FragmentWriter<char>::slack;
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

/// The preview as 24-bit terminal colours, one escape per run of equal colour.
std::string terminalPreview(const RichTextState &preview)
{
    std::string out;
    qsizetype at = 0;
    const auto plain = [&](qsizetype until) {
        if (until > at)
            out += QStringView(preview.text).mid(at, until - at).toUtf8().toStdString();
    };
    for (const ColorRun &run : preview.colorRuns) {
        plain(run.start);
        const RgbTriple c = unpackColor(run.color);
        out += "\x1b[38;2;" + std::to_string(c.red) + ';' + std::to_string(c.green) + ';'
            + std::to_string(c.blue) + 'm';
        out += QStringView(preview.text).mid(run.start, run.length).toUtf8().toStdString();
        out += "\x1b[0m";
        at = run.start + run.length;
    }
    plain(preview.text.size());
    return out;
}

struct Request {
    Form1State form; // everything but the text
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
        writeAll(output, "rainbowtext-cli 1.0.2\n");
        return std::nullopt;
    }

    Request request;
    Form1State &form = request.form;
    const QString modeName = parser.value(mode);
    if (modeName != u"gradient" && modeName != u"rainbow")
        throw UsageError("--mode: '" + modeName.toStdString() + "' is neither gradient nor rainbow");
    form.Option1 = modeName == u"gradient";
    form.Option2 = !form.Option1;
    form.StartColor = colorOption(parser, "start", "00FFFF");
    form.EndColor = colorOption(parser, "end", "FF0080");
    form.Check1 = parser.isSet(reverse) ? 1 : 0;
    form.Check2 = parser.isSet(symmetric) ? 1 : 0;

    static const QStringList formatNames { "ubb", "qzone", "html" };
    const int formatIndex = int(formatNames.indexOf(parser.value(format)));
    if (formatIndex < 0)
        throw UsageError(
            "--format: '" + parser.value(format).toStdString() + "' is not one of ubb, qzone, html");
    Combo1_Click(form, formatIndex);
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

/// --preview: the window's conversion, for its preview colours.
int printPreview(Request &request, int output, std::ostream &err)
{
    Form1State &form = request.form;
    form.Text1 = QString::fromStdString(request.text);
    Command3_Click(form);
    if (form.LblInfo != messages::converted) {
        err << form.LblInfo.toStdString() << '\n';
        return 1;
    }
    writeAll(output, terminalPreview(form.RichTextBox1) + '\n');
    return 0;
}

/// The markup, converted from the UTF-8 text straight into chunks of standard output.
int printMarkup(const Request &request, int output, std::ostream &err)
{
    ChunkedOutput out(output);
    const QString message = convertText(request.form, request.text, out);
    if (message != messages::converted) {
        err << message.toStdString() << '\n';
        return 1;
    }
    char *end = out.reserve(1);
    *end++ = '\n';
    out.commit(end);
    out.flush();
    return 0;
}

} // namespace

int runCommandLine(const std::vector<std::string> &arguments, int input, int output, std::ostream &err)
{
    try {
        std::optional<Request> request = parse(arguments, input, output);
        if (!request)
            return 0;
        return request->preview ? printPreview(*request, output, err) : printMarkup(*request, output, err);
    } catch (const UsageError &e) {
        err << "rainbowtext-cli: " << e.what() << '\n';
        return 2;
    } catch (const std::exception &e) {
        err << "rainbowtext-cli: " << e.what() << '\n';
        return 2;
    }
}

} // namespace rainbow
