#pragma once

#include "engine/color.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace rainbow {

/// The index of an entry of the format list.
enum class MarkupFormat { Ubb = 0, QZone = 1, Html = 2 };

inline constexpr std::array<MarkupFormat, 3> allMarkupFormats { MarkupFormat::Ubb, MarkupFormat::QZone,
    MarkupFormat::Html };

/// The format chosen when the window loads, and the command-line tool's default.
inline constexpr MarkupFormat defaultMarkupFormat = MarkupFormat::Ubb;

/// The three strings every character is wrapped in.
struct MarkupTemplate {
    std::string OpenPrefix;
    std::string OpenSuffix;
    std::string CloseTag;
};

/// Hex digits of the colour code between OpenPrefix and OpenSuffix.
inline constexpr std::size_t colorCodeLength = 6;

/// The size of one colour fragment without its character, each template string measured by sizeOf
/// (in code units, bytes or characters: the colour code is ASCII either way).
template <typename SizeOf> auto fragmentOverhead(const MarkupTemplate &markup, SizeOf &&sizeOf)
{
    using Size = decltype(sizeOf(markup.OpenPrefix));
    return sizeOf(markup.OpenPrefix) + Size(colorCodeLength) + sizeOf(markup.OpenSuffix) + sizeOf(markup.CloseTag);
}

/// The template of a format (UTF-8; all three formats are ASCII).
MarkupTemplate markupTemplate(MarkupFormat format);

/// The text of the format's entry in the format list, in UTF-8, inner spaces included.
std::string_view listEntryText(MarkupFormat format);

/// Where a conversion's markup goes, batch by batch: the conversion asks for room, fills it and
/// hands back the end of what it wrote.
template <typename CharT> class MarkupSink {
public:
    /// Code units after the end the conversion hands back that it may have overwritten.
    static constexpr std::size_t slack = 64 / sizeof(CharT);

    virtual ~MarkupSink() = default;

    /// Told once, before anything is written, the size of the whole markup in code units.
    virtual void expect(std::size_t units) { static_cast<void>(units); }

    /// Room for units code units and slack more, valid until commit.
    virtual CharT *reserve(std::size_t units) = 0;

    /// The markup now ends at end, inside the room the last reserve gave.
    virtual void commit(CharT *end) = 0;
};

} // namespace rainbow
