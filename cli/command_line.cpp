#include "cli/command_line.h"

#include "cli/image.h"
#include "cli/io.h"
#include "cli/lines.h"
#include "cli/options.h"
#include "cli/text_writer.h"
#include "cli/translation.h"
#include "cli/utf8.h"

#include <new>
#include <ostream>
#include <stdexcept>

namespace rainbow {

namespace {

using namespace cli;

/// The text of a file or standard input as the window would take it: one line break removed, then
/// checked, then without a leading byte-order mark.
Result<std::string> readText(const Request &request, int input, TextSize &size)
{
    InputFile file(input);
    if (auto opened = file.open(request.path); !opened.ok())
        return opened.failure();
    Result<std::string> read = readAll(file, size);
    if (!read.ok())
        return read;
    std::string &text = read.value();
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    else if (!text.empty() && text.back() == '\n')
        text.pop_back();
    if (const auto offset = firstInvalidUtf8(text))
        return Failure { fill(translate("rainbowtext-cli", "%1 is not valid UTF-8 (byte offset %2)"),
            { file.name(), std::to_string(*offset) }) };
    text.erase(0, byteOrderMark(text));
    return read;
}

/// The whole text at once: converted, or refused with nothing on standard output.
Result<> convertWhole(const Request &request, int input, int output, TextSize &size, std::ostream &err)
{
    Result<std::string> read = request.text ? *request.text : readText(request, input, size);
    if (!read.ok())
        return read.failure();
    const std::string &text = read.value();
    size = { text.size(), true };
    if (request.image.wanted())
        return drawImage(request, text, output, err);
    ChunkedOutput out(output);
    TextWriter writer(request, out);
    if (auto converted = writer.convert(text); !converted.ok())
        return converted;
    return out.flush();
}

/// The exit status of a run whose failure has not been reported yet.
Result<int> run(const std::vector<std::string> &arguments, int input, int output, std::ostream &err,
    IdleOptions idle, TextSize &size)
{
    const auto parsed = parseArguments(arguments, idle);
    if (!parsed.ok())
        return parsed.failure();
    if (const auto *information = std::get_if<Information>(&parsed.value()))
        return writeAll(output, information->text).withValue(0);
    const Request &request = std::get<Request>(parsed.value());
    if (request.lines)
        return convertLines(request, input, output, err, size);
    return convertWhole(request, input, output, size, err).withValue(0);
}

} // namespace

int runCommandLine(
    const std::vector<std::string> &arguments, int input, int output, std::ostream &err, IdleOptions idle)
{
    TextSize size;
    try {
        const Result<int> status = run(arguments, input, output, err, idle, size);
        if (status.ok())
            return status.value();
        err << "rainbowtext-cli: " << status.failure().message << '\n';
        return status.failure().status;
    } catch (const std::bad_alloc &) {
        const char *const messages[2][2] = {
            { QT_TRANSLATE_NOOP("rainbowtext-cli", "not enough memory for a text of more than %1 bytes"),
                QT_TRANSLATE_NOOP(
                    "rainbowtext-cli", "not enough memory for a text of more than %1 bytes (line %2)") },
            { QT_TRANSLATE_NOOP("rainbowtext-cli", "not enough memory for a text of %1 bytes"),
                QT_TRANSLATE_NOOP("rainbowtext-cli", "not enough memory for a text of %1 bytes (line %2)") },
        };
        err << "rainbowtext-cli: "
            << fill(translate("rainbowtext-cli", messages[size.whole][size.line > 0]),
                   { std::to_string(size.bytes), std::to_string(size.line) })
            << '\n';
        return 2;
    } catch (const std::exception &e) { // a fault of ICU's or of ours, not of the input
        err << "rainbowtext-cli: " << e.what() << '\n';
        return 2;
    }
}

} // namespace rainbow
