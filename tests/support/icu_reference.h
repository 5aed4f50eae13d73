#pragma once

#include <QString>

#include <unicode/ubrk.h>

#include <memory>
#include <vector>

namespace rainbow::test {

/// The start of every character of the text and its end, by ICU's character break iterator run
/// over the whole text at once: the reference the boundary scanner is held to.
inline std::vector<qsizetype> icuCharacterStarts(const QString &text)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UBreakIterator, decltype(&ubrk_close)> iterator(
        ubrk_open(
            UBRK_CHARACTER, "", reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()), &status),
        &ubrk_close);
    std::vector<qsizetype> starts { 0 };
    if (U_FAILURE(status))
        return starts;
    for (int32_t at = ubrk_next(iterator.get()); at != UBRK_DONE; at = ubrk_next(iterator.get()))
        starts.push_back(at);
    return starts;
}

} // namespace rainbow::test
