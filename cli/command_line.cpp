#include "cli/command_line.h"

#include "cli/arguments.h"
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
std::string readText(const Request &request, int input, TextSize &size)
{
    const InputFile file(request.path ? &*request.path : nullptr, input);
    std::string text = readAll(file, size);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    else if (!text.empty() && text.back() == '\n')
        text.pop_back();
    if (const auto offset = firstInvalidUtf8(text))
        throw std::runtime_error(fill(translate("rainbowtext-cli", "%1 is not valid UTF-8 (byte offset %2)"),
            { file.name(), std::to_string(*offset) }));
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    return text;
}

/// The whole text at once: converted, or refused with nothing on standard output and 1.
int convertWhole(const Request &request, int input, int output, TextSize &size, std::ostream &err)
{
    const std::string text = request.text ? *request.text : readText(request, input, size);
    size = { text.size(), true };
    if (request.image.wanted())
        return drawImage(request, text, output, err);
    ChunkedOutput out(output);
    TextWriter writer(request, out);
    if (const auto refusal = writer.convert(text)) {
        err << "rainbowtext-cli: " << refusal->reason() << '\n';
        return 1;
    }
    out.flush();
    return 0;
}

} // namespace

int runCommandLine(
    const std::vector<std::string> &arguments, int input, int output, std::ostream &err, IdleOptions idle)
{
    TextSize size;
    try {
        try {
            const auto parsed = parseArguments(arguments, idle);
            if (const auto *information = std::get_if<Information>(&parsed)) {
                writeAll(output, information->text);
                return 0;
            }
            const Request &request = std::get<Request>(parsed);
            return request.lines ? convertLines(request, input, output, err, size)
                                 : convertWhole(request, input, output, size, err);
        } catch (const UsageError &e) {
            std::string message = e.what();
            if (!message.empty() && message.back() == '.')
                message.pop_back();
            err << "rainbowtext-cli: "
                << fill(translate("rainbowtext-cli", "%1. Try 'rainbowtext-cli --help'."), { message })
                << '\n';
            return 2;
        }
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
    } catch (const std::exception &e) {
        err << "rainbowtext-cli: " << e.what() << '\n';
        return 2;
    }
}

} // namespace rainbow
