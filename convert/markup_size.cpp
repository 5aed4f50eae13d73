#include "convert/markup_size.h"

#include "engine/character_cursor.h"

#include <unicode/ucnv.h>
#include <unicode/utf16.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace rainbow {

namespace {

int64_t decimalReferenceSize(char32_t c) { return int64_t(std::to_string(uint32_t(c)).size()) + 3; }

} // namespace

struct MarkupSizer::Gbk {
    Gbk()
    {
        UErrorCode error = U_ZERO_ERROR;
        converter = ucnv_open("GBK", &error);
        if (U_FAILURE(error))
            throw std::runtime_error(std::string("no GBK converter: ") + u_errorName(error));
        // Stop at a character GBK lacks rather than substitute it: it is counted as a reference.
        ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
    }
    ~Gbk() { ucnv_close(converter); }
    Gbk(const Gbk &) = delete;
    Gbk &operator=(const Gbk &) = delete;

    int64_t convertedSize(char32_t c)
    {
        UChar units[2];
        int32_t length = 0;
        UBool unused = false;
        U16_APPEND(units, length, 2, UChar32(c), unused);
        static_cast<void>(unused);
        char bytes[16];
        UErrorCode error = U_ZERO_ERROR;
        const int32_t written = ucnv_fromUChars(converter, bytes, sizeof bytes, units, length, &error);
        // ICU drops default-ignorable code points it cannot map (U+200D, U+FE0F) without an error;
        // a browser sends them as references.
        if (U_FAILURE(error) || written == 0)
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
    int64_t total = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        const auto lead = uint8_t(utf8[at]);
        if (lead < 0x80) {
            ++total;
            ++at;
            continue;
        }
        const std::size_t length = utf8SequenceLength(char(lead));
        char32_t c = lead & (0x7F >> length);
        for (std::size_t i = 1; i < length && at + i < utf8.size(); ++i)
            c = (c << 6) | (uint8_t(utf8[at + i]) & 0x3F);
        total += codePointSize(c);
        at += length;
    }
    return total;
}

int64_t markupSize(std::string_view utf8, FitUnit unit) { return MarkupSizer(unit).size(utf8); }

} // namespace rainbow
