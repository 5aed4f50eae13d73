#include "engine/markup.h"

#include <stdexcept>

namespace rainbow {

namespace {

struct FormatRow {
    std::string_view listEntry;
    std::string_view openPrefix;
    std::string_view openSuffix;
    std::string_view closeTag;
};

// The runs of spaces inside the entry texts line the example tags up in the list.
constexpr std::array<FormatRow, 3> formatTable { {
    { "UBB(论坛)  [color=#FFFFFF]", "[color=#", "]", "[/color]" },
    { "QQ空间     [ftc=#FFFFFF]", "[ftc=#", "]", "[/ft]" },
    { "Html(网页) <font color=#FFFFFF>", "<font color=#", ">", "</font>" },
} };

const FormatRow &row(MarkupFormat format)
{
    const auto index = static_cast<std::size_t>(format);
    if (index >= formatTable.size())
        throw std::out_of_range("unknown markup format");
    return formatTable[index];
}

} // namespace

MarkupTemplate markupTemplate(MarkupFormat format)
{
    const FormatRow &r = row(format);
    return { std::string(r.openPrefix), std::string(r.openSuffix), std::string(r.closeTag) };
}

std::string_view listEntryText(MarkupFormat format) { return row(format).listEntry; }

} // namespace rainbow
