#pragma once

#include "engine/fit.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace rainbow {

/// Sizes of well-formed UTF-8 text in a FitUnit. In GBK, as a browser sends a form of a GBK page:
/// the Encoding Standard's gbk encoder (ICU's gb18030 but for a few characters) decides which
/// characters GBK has; a character it lacks counts as its decimal character reference, "&#N;".
class MarkupSizer {
public:
    /// Throws std::runtime_error when ICU offers no GB18030 converter.
    explicit MarkupSizer(FitUnit unit);
    ~MarkupSizer();
    MarkupSizer(const MarkupSizer &) = delete;
    MarkupSizer &operator=(const MarkupSizer &) = delete;

    /// The size of the text; not const, as GBK sizes are kept once looked up.
    int64_t size(std::string_view utf8);

    /// The size of one code point (not a surrogate).
    int64_t codePointSize(char32_t c);

private:
    struct Gbk;
    FitUnit m_unit;
    std::unique_ptr<Gbk> m_gbk;
};

/// The size of well-formed UTF-8 text in the unit, for one text (a MarkupSizer for many).
int64_t markupSize(std::string_view utf8, FitUnit unit);

} // namespace rainbow
