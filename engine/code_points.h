#pragma once

// The one way the program reads code points: ICU's UTF-8 and UTF-16 macros.

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rainbow {

/// A code point and how many code units it takes.
struct DecodedCodePoint {
    char32_t value; ///< above U+10FFFF (invalidCodePoint) where UTF-8 is ill-formed
    std::size_t length;
};

inline constexpr char32_t invalidCodePoint = char32_t(-1);

/// The code point that starts at text[at] (at < size) of UTF-8 (char; ill-formed: the length of
/// its longest well-formed start, at least 1) or UTF-16 (char16_t; a lone surrogate stands alone).
template <typename CharT> inline DecodedCodePoint decodeAt(const CharT *text, std::size_t size, std::size_t at)
{
    std::size_t end = at;
    UChar32 c;
    if constexpr (sizeof(CharT) == 1)
        U8_NEXT(reinterpret_cast<const uint8_t *>(text), end, size, c);
    else
        U16_NEXT(text, end, size, c);
    return { char32_t(c), end - at };
}

/// The code point that ends just before text[end] (end > 0) of well-formed UTF-8, or of UTF-16.
template <typename CharT> DecodedCodePoint decodeBefore(const CharT *text, std::size_t end)
{
    std::size_t start = end;
    if constexpr (sizeof(CharT) == 1)
        U8_BACK_1_UNSAFE(reinterpret_cast<const uint8_t *>(text), start);
    else
        U16_BACK_1(text, 0, start);
    return decodeAt(text, end, start);
}

/// Bytes of the well-formed UTF-8 sequence that lead begins (U8_FWD_1_UNSAFE's count): a look-up
/// by the high nibble, as the widths of mixed ASCII and CJK text follow no pattern a branch
/// predictor could learn, and comparisons cost a third more instructions per character in the
/// markup's hot loop (bench/README.md).
inline std::size_t utf8SequenceLength(char lead)
{
    static constexpr uint8_t lengthByHighNibble[16] = { 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 3, 4 };
    return lengthByHighNibble[uint8_t(lead) >> 4];
}

/// Code points in UTF-8 text: the bytes that are no continuation byte.
inline std::size_t codePointCount(std::string_view text)
{
    return std::size_t(
        std::count_if(text.begin(), text.end(), [](char c) { return (uint8_t(c) & 0xC0) != 0x80; }));
}

/// UTF-16 code units of well-formed UTF-8 text: one for each code point, two for those past U+FFFF
/// (the four-byte sequences).
inline std::size_t utf16Length(std::string_view text)
{
    std::size_t units = 0;
    for (const char c : text)
        units += std::size_t((uint8_t(c) & 0xC0) != 0x80) + std::size_t(uint8_t(c) >= 0xF0);
    return units;
}

} // namespace rainbow
