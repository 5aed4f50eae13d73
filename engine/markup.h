#pragma once

#include "color.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace rainbow {

/// The index of an entry of the format list.
enum class MarkupFormat { Ubb = 0, QZone = 1, Html = 2 };

inline constexpr std::array<MarkupFormat, 3> allMarkupFormats { MarkupFormat::Ubb, MarkupFormat::QZone,
    MarkupFormat::Html };

/// The three strings every character is wrapped in.
struct MarkupTemplate {
    std::string OpenPrefix;
    std::string OpenSuffix;
    std::string CloseTag;
};

/// The template of a format (UTF-8; all three formats are ASCII).
MarkupTemplate markupTemplate(MarkupFormat format);

/// The text of the format's entry in the format list, in UTF-8, inner spaces included.
std::string_view listEntryText(MarkupFormat format);

/// OpenPrefix, the six-digit colour code, OpenSuffix, the character unchanged (no escaping), CloseTag.
std::string ColorFragment(std::string_view character, const RgbTriple &color, const MarkupTemplate &markup);

/// Writes colour fragments into a buffer sized in advance, in code units of CharT (char for
/// UTF-8, char16_t for UTF-16). Hot path of every conversion: no allocation per character.
template <typename CharT> class FragmentWriter {
public:
    using View = std::basic_string_view<CharT>;

    FragmentWriter(View openPrefix, View openSuffix, View closeTag)
        : m_head(openPrefix)
        , m_codeOffset(openPrefix.size())
        , m_close(closeTag)
    {
        m_head.append(6, CharT('0'));
        m_head.append(openSuffix);
    }

    /// Code units of one fragment without its character.
    std::size_t fixedSize() const { return m_head.size() + m_close.size(); }

    /// Writes one fragment at out and returns the end of what it wrote.
    CharT *write(CharT *out, const CharT *character, std::size_t length, const RgbTriple &color) const
    {
        out = copy(out, m_head.data(), m_head.size());
        CharT *code = out - (m_head.size() - m_codeOffset);
        writeHexPair(code, color.red);
        writeHexPair(code + 2, color.green);
        writeHexPair(code + 4, color.blue);
        out = copy(out, character, length);
        return copy(out, m_close.data(), m_close.size());
    }

private:
    static CharT *copy(CharT *out, const CharT *from, std::size_t count)
    {
        std::memcpy(out, from, count * sizeof(CharT));
        return out + count;
    }

    /// Callers pass components in 0..255 (the colour rules keep them there).
    static void writeHexPair(CharT *out, int16_t value)
    {
        static constexpr char digits[] = "0123456789ABCDEF";
        out[0] = CharT(digits[(value >> 4) & 15]);
        out[1] = CharT(digits[value & 15]);
    }

    std::basic_string<CharT> m_head; // OpenPrefix, a placeholder code, OpenSuffix
    std::size_t m_codeOffset;
    std::basic_string<CharT> m_close;
};

} // namespace rainbow
