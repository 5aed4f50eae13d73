#include "boundaries.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/ucpmap.h>
#include <unicode/utext.h>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace rainbow {

namespace {

void checkIcu(UErrorCode status, const char *what)
{
    if (U_FAILURE(status))
        throw std::runtime_error(std::string(what) + ": " + u_errorName(status));
}

int32_t graphemeClusterBreak(char32_t codePoint)
{
    return u_getIntPropertyValue(UChar32(codePoint), UCHAR_GRAPHEME_CLUSTER_BREAK);
}

/// An iterator over the character boundaries of the root locale, opened once and cloned, as
/// opening one reads and compiles its rules.
const UBreakIterator &prototypeIterator()
{
    static const UBreakIterator *const prototype = [] {
        UErrorCode status = U_ZERO_ERROR;
        UBreakIterator *iterator = ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status);
        checkIcu(status, "ubrk_open");
        return iterator;
    }();
    return *prototype;
}

} // namespace

StandaloneCodePoints::StandaloneCodePoints()
    : m_bits(0x110000 / 64)
{
    UErrorCode status = U_ZERO_ERROR;
    const UCPMap *classes = u_getIntPropertyMap(UCHAR_GRAPHEME_CLUSTER_BREAK, &status);
    checkIcu(status, "u_getIntPropertyMap");
    UChar32 end = 0;
    for (UChar32 start = 0; start < 0x110000; start = end + 1) {
        uint32_t value = 0;
        end = ucpmap_getRange(classes, start, UCPMAP_RANGE_NORMAL, 0, nullptr, nullptr, &value);
        switch (value) {
        case U_GCB_OTHER:
        case U_GCB_CONTROL:
        case U_GCB_LF:
        case U_GCB_LV:
        case U_GCB_LVT:
            for (auto codePoint = uint32_t(start); codePoint <= uint32_t(end); ++codePoint)
                m_bits[codePoint >> 6] |= uint64_t(1) << (codePoint & 63);
            break;
        default:
            break;
        }
    }
}

const StandaloneCodePoints &StandaloneCodePoints::table()
{
    static const StandaloneCodePoints table;
    return table;
}

bool joinsPrevious(char32_t codePoint)
{
    const int32_t kind = graphemeClusterBreak(codePoint);
    return kind == U_GCB_EXTEND || kind == U_GCB_ZWJ || kind == U_GCB_SPACING_MARK;
}

bool joinsNext(char32_t codePoint) { return graphemeClusterBreak(codePoint) == U_GCB_PREPEND; }

/// An ICU character break iterator over one stretch of text at a time.
class IcuCharacterBreaks {
public:
    IcuCharacterBreaks()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_iterator = ubrk_clone(&prototypeIterator(), &status);
        checkIcu(status, "ubrk_clone");
    }

    ~IcuCharacterBreaks()
    {
        ubrk_close(m_iterator);
        utext_close(&m_utf8);
    }

    IcuCharacterBreaks(const IcuCharacterBreaks &) = delete;
    IcuCharacterBreaks &operator=(const IcuCharacterBreaks &) = delete;

    void start(const char16_t *text, std::size_t length)
    {
        UErrorCode status = U_ZERO_ERROR;
        ubrk_setText(m_iterator, text, int32_t(length), &status);
        checkIcu(status, "ubrk_setText");
    }

    void start(const char *text, std::size_t length)
    {
        UErrorCode status = U_ZERO_ERROR;
        utext_openUTF8(&m_utf8, text, int64_t(length), &status);
        ubrk_setUText(m_iterator, &m_utf8, &status);
        checkIcu(status, "ubrk_setUText");
    }

    /// The next boundary, in code units from the stretch's start.
    std::size_t next() { return std::size_t(ubrk_next(m_iterator)); }

private:
    UBreakIterator *m_iterator = nullptr;
    UText m_utf8 = UTEXT_INITIALIZER;
};

template <typename CharT>
BoundaryScanner<CharT>::BoundaryScanner(
    const CharT *text, std::size_t size, std::size_t from, std::size_t icuWindow)
    : m_alone(StandaloneCodePoints::table())
    , m_text(text)
    , m_size(size)
    , m_at(from)
    , m_icuWindow(std::clamp<std::size_t>(icuWindow, 1, defaultIcuWindow))
{
    settleAt(from);
}

template <typename CharT> BoundaryScanner<CharT>::~BoundaryScanner() = default;

template <typename CharT> void BoundaryScanner<CharT>::settleAt(std::size_t at)
{
    m_at = at;
    if (at == m_size) {
        m_length = 0;
        m_standsAlone = false;
        return;
    }
    const DecodedCodePoint codePoint = decodeAt(m_text, m_size, at);
    m_length = codePoint.length;
    m_standsAlone = m_alone.contains(codePoint.value);
}

template <typename CharT> std::size_t BoundaryScanner<CharT>::skip(std::size_t count)
{
    std::size_t passed = 0;
    for (; passed < count && !atEnd(); ++passed)
        next();
    return passed;
}

template <typename CharT> std::size_t BoundaryScanner<CharT>::nextSlowly()
{
    if (!m_inIcu) {
        // Controls break on both sides, CR LF aside: no need to start ICU for them.
        if (m_text[m_at] == CharT('\r')) {
            const std::size_t after
                = m_at + 1 < m_size && m_text[m_at + 1] == CharT('\n') ? m_at + 2 : m_at + 1;
            settleAt(after);
            return after;
        }
        if (m_standsAlone && m_text[m_at + m_length] == CharT('\r')) {
            settleAt(m_at + m_length);
            return m_at;
        }
    }
    return icuNext();
}

template <typename CharT> std::size_t BoundaryScanner<CharT>::icuNext()
{
    if (!m_inIcu) {
        if (!m_icu)
            m_icu = std::make_unique<IcuCharacterBreaks>();
        m_icuStart = m_at;
        m_icuEnd = m_at + std::min(m_size - m_at, m_icuWindow);
        m_icu->start(m_text + m_at, m_icuEnd - m_icuStart);
        m_inIcu = true;
    }
    const std::size_t at = m_icuStart + m_icu->next();
    if (at == m_icuEnd && at < m_size && m_at > m_icuStart) {
        // The end of ICU's stretch need not be a boundary of the whole text: walk on from the
        // last boundary it gave in a stretch that reaches further.
        m_inIcu = false;
        return icuNext();
    }
    // A single character longer than the whole stretch is cut at its end.
    if (at == m_icuEnd)
        m_inIcu = false;
    settleAt(at);
    return at;
}

template class BoundaryScanner<char>;
template class BoundaryScanner<char16_t>;

} // namespace rainbow
