#include "cli/arguments.h"

#include "cli/utf8.h"
#include "engine/code_points.h"

#include <QStringDecoder>

#include <cstdio>

namespace rainbow::cli {

namespace {

constexpr char16_t escapedByteBase = 0xDC00;

/// Well-formed UTF-8 as text, a leading byte-order mark kept (QString::fromUtf8 drops it).
QString decodeUtf8(const char *bytes, std::size_t size)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(bytes, qsizetype(size)));
}

/// The byte that a lone low surrogate of argumentText stands for; -1 for any other unit.
int escapedByte(QStringView text, qsizetype at)
{
    const char16_t unit = text[at].unicode();
    if (unit < escapedByteBase + 0x80 || unit > escapedByteBase + 0xFF)
        return -1;
    return at > 0 && text[at - 1].isHighSurrogate() ? -1 : int(unit - escapedByteBase);
}

} // namespace

QString argumentText(std::string_view bytes)
{
    if (!firstInvalidUtf8(bytes))
        return decodeUtf8(bytes.data(), bytes.size());
    QString text;
    std::size_t run = 0; // start of the well-formed bytes not yet decoded
    for (std::size_t at = 0; at < bytes.size();) {
        if (const DecodedCodePoint codePoint = decodeAt(bytes.data(), bytes.size(), at);
            codePoint.value != invalidCodePoint) {
            at += codePoint.length;
            continue;
        }
        text += decodeUtf8(bytes.data() + run, at - run);
        text += QChar(char16_t(escapedByteBase + uint8_t(bytes[at])));
        run = ++at;
    }
    return text + decodeUtf8(bytes.data() + run, bytes.size() - run);
}

std::string argumentBytes(QStringView text)
{
    std::string bytes;
    qsizetype run = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const int byte = escapedByte(text, at);
        if (byte < 0)
            continue;
        bytes += text.mid(run, at - run).toUtf8().toStdString();
        bytes += char(byte);
        run = at + 1;
    }
    return bytes + text.mid(run).toUtf8().toStdString();
}

std::string quoted(QStringView value)
{
    constexpr int longest = 60;
    const auto hex = [](const char *form, char32_t c) {
        char escape[8];
        std::snprintf(escape, sizeof escape, form, unsigned(c));
        return std::string(escape);
    };
    std::string out = "'";
    int shown = 0;
    for (qsizetype at = 0; at < value.size(); ++at) {
        if (shown++ == longest) {
            int characters = shown - 1;
            for (; at < value.size(); ++at, ++characters) {
                if (value[at].isHighSurrogate() && at + 1 < value.size() && value[at + 1].isLowSurrogate())
                    ++at;
            }
            return out + "'... (" + std::to_string(characters) + " characters)";
        }
        if (const int byte = escapedByte(value, at); byte >= 0) {
            out += hex("\\x%02X", char32_t(byte));
            continue;
        }
        char32_t c = value[at].unicode();
        if (value[at].isHighSurrogate() && at + 1 < value.size() && value[at + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(value[at], value[at + 1]);
            ++at;
        }
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

} // namespace rainbow::cli
