#include "cli/lines.h"

#include "cli/text_writer.h"
#include "cli/translation.h"
#include "cli/utf8.h"

#include <algorithm>
#include <ostream>

namespace rainbow::cli {

Result<int> convertLines(const Request &request, int input, int output, std::ostream &err, TextSize &size)
{
    ChunkedOutput out(output);
    TextWriter writer(request, out);
    int status = 0;
    std::size_t number = 0;
    // A line written through keeps its CR LF; the last line, when nothing ends it, gets an LF as
    // every line of the output does.
    const auto line = [&](std::string_view text, const std::string &name) {
        const bool crlf = !text.empty() && text.back() == '\r';
        if (crlf)
            text.remove_suffix(1);
        const std::string_view ending = crlf ? "\r\n" : "\n";
        size = { text.size(), true, ++number };
        const auto report = [&](const std::string &message, int lineStatus) {
            if (out.flush().ok()) // the line is out before the message about it
                err << "rainbowtext-cli: " << message << '\n';
            status = std::max(status, lineStatus);
        };
        if (const auto offset = firstInvalidUtf8(text)) {
            writer.writePlain(text, ending);
            report(fill(translate("rainbowtext-cli",
                            "line %1 of %2 is not valid UTF-8 (byte offset %3), printed as it is"),
                       { std::to_string(number), name, std::to_string(*offset) }),
                2);
            return;
        }
        const std::size_t mark = number == 1 ? byteOrderMark(text) : 0;
        if (const auto converted = writer.convert(text.substr(mark)); !converted.ok()) {
            writer.writePlain(writer.refused(text), ending);
            report(fill(translate("rainbowtext-cli", "line %1 of %2: %3; printed uncoloured"),
                       { std::to_string(number), name, converted.failure().message }),
                converted.failure().status);
        }
    };

    if (request.text) {
        std::string_view text = *request.text;
        for (std::size_t at; (at = text.find('\n')) != std::string_view::npos; text.remove_prefix(at + 1))
            line(text.substr(0, at), "TEXT");
        if (!text.empty())
            line(text, "TEXT");
        return out.flush().withValue(status);
    }
    InputFile file(input);
    if (auto opened = file.open(request.path); !opened.ok())
        return opened.failure();
    std::string buffer;
    std::size_t used = 0; // bytes in buffer, all of them after the last line break
    for (;;) {
        // Everything converted so far is out before waiting for more.
        if (auto flushed = out.flush(); !flushed.ok())
            return flushed.failure();
        size = { used, false, number + 1 };
        const Result<std::size_t> got = readSome(file, buffer, used);
        if (!got.ok())
            return got.failure();
        if (got.value() == 0)
            break;
        const char *data = buffer.data();
        const std::size_t scanned = used;
        used += got.value();
        std::size_t begin = 0;
        for (std::size_t at = scanned;; ++at) {
            at = std::size_t(std::find(data + at, data + used, '\n') - data);
            if (at == used)
                break;
            line({ data + begin, at - begin }, file.name());
            begin = at + 1;
        }
        buffer.erase(0, begin);
        used -= begin;
    }
    if (used > 0)
        line({ buffer.data(), used }, file.name());
    return out.flush().withValue(status);
}

} // namespace rainbow::cli
