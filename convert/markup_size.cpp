#include "convert/markup_size.h"

#include "engine/code_points.h"

#include <unicode/ucnv.h>
#include <unicode/utf16.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace rainbow {

namespace {

int64_t decimalReferenceSize(char32_t c) { return int64_t(std::to_string(uint32_t(c)).size()) + 3; }

/// Where a browser's gbk encoder (the Encoding Standard's, GB18030-2022 included) sends other
/// than ICU's gb18030 with its four-byte sequences sent as references: the euro sign's single
/// byte, two private-use code points sent as references, and characters that GB18030-2022 moved
/// from four bytes (or the private use area) to two.
std::optional<int64_t> browserGbkSize(char32_t c)
{
    if (c == 0x20AC)
        return 1;
    if (c == 0xE5E5 || c == 0xE7C7)
        return decimalReferenceSize(c);
    if (c == 0x1E3F || (c >= 0x9FB4 && c <= 0x9FBB) || (c >= 0xFE10 && c <= 0xFE19))
        return 2;
    return std::nullopt;
}

} // namespace

struct MarkupSizer::Gbk {
    Gbk()
    {
        UErrorCode error = U_ZERO_ERROR;
        // GB18030 holds every code point: what GBK lacks takes four bytes, which a browser sends
        // as a reference instead.
        converter = ucnv_open("gb18030", &error);
        if (U_FAILURE(error))
            throw std::runtime_error(std::string("no GB18030 converter: ") + u_errorName(error));
    }
    ~Gbk() { ucnv_close(converter); }
    Gbk(const Gbk &) = delete;
    Gbk &operator=(const Gbk &) = delete;

    int64_t convertedSize(char32_t c)
    {
        if (const auto size = browserGbkSize(c))
            return *size;
        UChar units[2];
        int32_t length = 0;
        UBool unused = false;
        U16_APPEND(units, length, 2, UChar32(c), unused);
        static_cast<void>(unused);
        char bytes[16];
        UErrorCode error = U_ZERO_ERROR;
        const int32_t written = ucnv_fromUChars(converter, bytes, sizeof bytes, units, length, &error);
        if (U_FAILURE(error) || written == 0 || written == 4)
            return decimalReferenceSize(c);
        return written;
    }

    int64_t size(char32_t c)
    {
        if (c >= bmp.size())
            return convertedSize(c);
        uint8_t &known = bmp[c];
        if (known == 0)
            known = uint8_t(convertedSize(c));
        return known;
    }

    UConverter *converter = nullptr;
    std::vector<uint8_t> bmp = std::vector<uint8_t>(0x10000, 0); // 0: not looked up yet
};

MarkupSizer::MarkupSizer(FitUnit unit)
    : m_unit(unit)
{
    if (unit == FitUnit::GbkBytes)
        m_gbk = std::make_unique<Gbk>();
}

MarkupSizer::~MarkupSizer() = default;

int64_t MarkupSizer::codePointSize(char32_t c)
{
    switch (m_unit) {
    case FitUnit::CodePoints:
        return 1;
    case FitUnit::Utf8Bytes:
        return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    case FitUnit::GbkBytes:
        return c < 0x80 ? 1 : m_gbk->size(c);
    }
    return 0;
}

int64_t MarkupSizer::size(std::string_view utf8)
{
    if (m_unit == FitUnit::Utf8Bytes)
        return int64_t(utf8.size());
    if (m_unit == FitUnit::CodePoints)
        return int64_t(codePointCount(utf8));
    int64_t total = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        if (uint8_t(utf8[at]) < 0x80) {
            ++total;
            ++at;
            continue;
        }
        const DecodedCodePoint c = decodeAt(utf8.data(), utf8.size(), at);
        total += codePointSize(c.value);
        at += c.length;
    }
    return total;
}

int64_t markupSize(std::string_view utf8, FitUnit unit) { return MarkupSizer(unit).size(utf8); }

} // namespace rainbow
