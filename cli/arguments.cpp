#include "cli/arguments.h"

#include "cli/translation.h"
#include "engine/code_points.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace rainbow::cli {

Failure usageFailure(std::string message)
{
    if (!message.empty() && message.back() == '.')
        message.pop_back();
    return { fill(translate("rainbowtext-cli", "%1. Try 'rainbowtext-cli --help'."), { message }) };
}

Failure systemFailure(const std::string &what)
{
    const int error = errno;
    //: What failed, then the system's reason: "cannot read 'a.txt': Is a directory"
    return { fill(translate("rainbowtext-cli", "%1: %2"), { what, std::strerror(error) }) };
}

std::string quoted(std::string_view value)
{
    constexpr int longest = 60;
    const auto hex = [](const char *form, unsigned c) {
        char escape[8];
        std::snprintf(escape, sizeof escape, form, c);
        return std::string(escape);
    };
    std::string out = "'";
    int shown = 0;
    for (std::size_t at = 0; at < value.size();) {
        const DecodedCodePoint decoded = decodeAt(value.data(), value.size(), at);
        if (shown++ == longest) {
            int characters = shown - 1;
            for (; at < value.size(); ++characters)
                at += decodeAt(value.data(), value.size(), at).length;
            return out + "'... (" + std::to_string(characters) + " characters)";
        }
        const char32_t c = decoded.value;
        if (c == invalidCodePoint) // each byte of it on its own
            out += hex("\\x%02X", unsigned(uint8_t(value[at])));
        else if (c == '\\' || c == '\'')
            out += { '\\', char(c) };
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c < 0x20 || c == 0x7F) // C0 controls, DEL
            out += hex("\\x%02X", unsigned(c));
        else if ((c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029) // C1 (CSI too), line breaks
            out += hex("\\u%04X", unsigned(c));
        else
            out.append(value, at, decoded.length);
        at += c == invalidCodePoint ? 1 : decoded.length;
    }
    return out + "'";
}

} // namespace rainbow::cli
