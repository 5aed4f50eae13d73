#pragma once

#include "engine/color.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

namespace rainbow {

/// What a length limit counts: code points, bytes of UTF-8, or bytes of GBK where a character GBK
/// lacks counts as the decimal character reference a browser sends for it on a GBK page
/// ("&#128512;" for U+1F600).
enum class FitUnit { CodePoints, Utf8Bytes, GbkBytes };

/// "chars", "utf-8" or "gbk"; nullopt for anything else.
std::optional<FitUnit> parseFitUnit(std::string_view name);

/// The unit in words, plural, for a message: "characters", "bytes of UTF-8", "bytes of GBK".
std::string_view describe(FitUnit unit);

/// The group size that makes markup fit a length limit: groups of k consecutive coloured
/// characters share one tag, the group taking its first character's colour. Characters that stand
/// outside every tag (whitespace left untagged) split a group's tag in two where they fall inside
/// it, so the number of tags need not fall as k grows; the search looks at every k in turn, in
/// O(c log c) for c coloured characters (merged: O(c log² c)). Sizes are in whatever unit the limit counts
/// (bytes of UTF-8, UTF-16 units), the characters' sizes as written (escaped where escaping applies).
class FitPlanner {
public:
    /// fixedSize: one tag's size without its characters (prefix, colour code, suffix, close tag).
    explicit FitPlanner(int64_t fixedSize);

    /// The next character of the text: its size, whether it takes a colour (false: it stands
    /// untagged and takes no colour step), and whether a tag that holds it ends right after it.
    void add(int64_t units, bool colored, bool endsTag = false);

    /// The next count characters, all coloured, units in all; endsTag as for the last of them.
    void addColored(int64_t count, int64_t units, bool endsTag = false);

    /// For markup in which neighbouring groups of one colour share a tag (merged): the colours of
    /// the coloured characters in order, as spans.
    void mergeColors(std::vector<ColorSpan> colors);

    struct Fit {
        int64_t groupSize; ///< the smallest k that fits, 1 when every character can keep its tag
        int64_t size; ///< the markup's size with it
    };
    struct TooLong {
        int64_t needed; ///< the shortest the markup can be: every coloured run in one tag
    };

    /// The smallest group size whose markup is at most limit long.
    std::variant<Fit, TooLong> plan(int64_t limit) const;

    /// The markup's size with groups of groupSize (≥ 1).
    int64_t sizeFor(int64_t groupSize) const;

private:
    int64_t tagsFor(int64_t groupSize) const;
    int64_t mergedTagsFor(int64_t groupSize) const;

    int64_t m_fixedSize;
    int64_t m_textSize = 0;
    int64_t m_colored = 0;
    bool m_breakAhead = false; // the tag ends before the next coloured character
    // breaks[g]: untagged characters stand between coloured characters g and g + 1 (1-based).
    std::vector<bool> m_breaks;
    int64_t m_breakCount = 0;
    std::vector<int64_t> m_breakAt; // the g of each break, ascending
    std::vector<ColorSpan> m_colors; // when merged
    std::vector<int64_t> m_colorStarts; // the first coloured character (0-based) of each
};

} // namespace rainbow
