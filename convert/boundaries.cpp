#include "convert/boundaries.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/ucpmap.h>

#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>

namespace rainbow {

void checkIcu(int status, const char *what)
{
    if (status == U_MEMORY_ALLOCATION_ERROR)
        throw std::bad_alloc();
    if (U_FAILURE(UErrorCode(status)))
        throw std::runtime_error(std::string(what) + ": " + u_errorName(UErrorCode(status)));
}

namespace {

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
    , m_safeUnits(0x10000)
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
    const auto allStandAlone = [this](char32_t first, char32_t count) {
        for (char32_t codePoint = first; codePoint < first + count; ++codePoint) {
            if (!contains(codePoint))
                return false;
        }
        return true;
    };
    for (unsigned byte = 0; byte < 256; ++byte) {
        if (byte < 0x80)
            m_safeBytes[byte] = byte != '\r';
        else if (byte < 0xC0)
            m_safeBytes[byte] = true;
        else if (byte < 0xE0)
            m_safeBytes[byte] = allStandAlone((byte & 0x1F) << 6, 64);
        else if (byte < 0xF0)
            m_safeBytes[byte] = allStandAlone((byte & 0x0F) << 12, 4096);
    }
    for (char32_t unit = 0; unit < 0x10000; ++unit)
        m_safeUnits[unit] = contains(unit) && unit != '\r' && (unit < 0xD800 || unit > 0xDFFF);
    m_safeLeadRuns = { longestSafeRun(0xC0, 0xE0), longestSafeRun(0xE0, 0xF0) };
}

std::pair<signed char, signed char> StandaloneCodePoints::longestSafeRun(unsigned from, unsigned to) const
{
    std::pair<signed char, signed char> bounds { 0, 0 }; // nothing lies between: no lead matches
    unsigned longest = 0;
    for (unsigned first = from; first < to;) {
        unsigned end = first;
        while (end < to && m_safeBytes[end])
            ++end;
        if (end - first > longest) {
            longest = end - first;
            bounds = { static_cast<signed char>(first - 1), static_cast<signed char>(end) };
        }
        first = end + 1;
    }
    return bounds;
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

/// An ICU character break iterator over one stretch of text at a time. ICU walks UTF-16; a
/// stretch of UTF-8 is converted first (its stretches are short: where code points stand alone,
/// the scanner does without ICU). Handing ICU the UTF-8 through utext_openUTF8 cost the emoji
/// text 8 % more instructions in all.
class IcuCharacterBreaks {
public:
    IcuCharacterBreaks()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_iterator = ubrk_clone(&prototypeIterator(), &status);
        checkIcu(status, "ubrk_clone");
    }

    ~IcuCharacterBreaks() { ubrk_close(m_iterator); }

    IcuCharacterBreaks(const IcuCharacterBreaks &) = delete;
    IcuCharacterBreaks &operator=(const IcuCharacterBreaks &) = delete;

    void start(const char16_t *text, std::size_t length)
    {
        m_utf8Offsets.clear();
        setText(text, length);
    }

    void start(const char *text, std::size_t length)
    {
        m_utf16.clear();
        m_utf8Offsets.clear();
        for (std::size_t at = 0; at < length;) {
            const DecodedCodePoint codePoint = decodeAt(text, length, at);
            if (codePoint.value >= 0x10000) {
                m_utf16.push_back(U16_LEAD(codePoint.value));
                m_utf16.push_back(U16_TRAIL(codePoint.value));
                m_utf8Offsets.push_back(at);
            } else {
                m_utf16.push_back(char16_t(codePoint.value));
            }
            m_utf8Offsets.push_back(at);
            at += codePoint.length;
        }
        m_utf8Offsets.push_back(length);
        setText(m_utf16.data(), m_utf16.size());
    }

    /// The next boundary, in code units of the stretch from its start.
    std::size_t next()
    {
        const auto at = std::size_t(ubrk_next(m_iterator));
        return m_utf8Offsets.empty() ? at : m_utf8Offsets[at];
    }

private:
    void setText(const char16_t *text, std::size_t length)
    {
        UErrorCode status = U_ZERO_ERROR;
        ubrk_setText(m_iterator, text, int32_t(length), &status);
        checkIcu(status, "ubrk_setText");
    }

    UBreakIterator *m_iterator = nullptr;
    std::u16string m_utf16; // the UTF-8 stretch
    std::vector<std::size_t> m_utf8Offsets; // of each of its UTF-16 units, and of its end
};

template <typename CharT>
BoundaryScanner<CharT>::BoundaryScanner(
    const CharT *text, std::size_t size, std::size_t from, std::size_t icuWindow)
    : m_alone(StandaloneCodePoints::table())
    , m_text(text)
    , m_size(size)
    , m_at(from)
    , m_initialIcuWindow(std::clamp<std::size_t>(icuWindow, 1, maxIcuWindow))
    , m_icuWindow(m_initialIcuWindow)
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

template <typename CharT> void BoundaryScanner<CharT>::findStretchEnd(std::size_t limit)
{
    bool previousStandsAlone = false;
    std::size_t at = m_at;
    while (at < m_size) {
        const DecodedCodePoint codePoint = decodeAt(m_text, m_size, at);
        const bool alone = m_alone.contains(codePoint.value);
        if (at > m_at && previousStandsAlone && alone)
            break;
        if (at > m_at && at + codePoint.length > limit) {
            // Never inside a code point: half a surrogate pair would read as a control.
            m_icuEnd = at;
            m_icuEndIsBoundary = false;
            return;
        }
        previousStandsAlone = alone;
        at += codePoint.length;
    }
    m_icuEnd = at;
    m_icuEndIsBoundary = true;
}

template <typename CharT> std::size_t BoundaryScanner<CharT>::icuNext()
{
    if (!m_inIcu) {
        if (!m_icu)
            m_icu = std::make_unique<IcuCharacterBreaks>();
        // ICU needs the text only up to the next pair of code points that stand alone, where a
        // boundary is certain; beyond a limit, a stretch ends anywhere and is walked again from
        // its last boundary.
        const std::size_t limit = m_at + std::min(m_size - m_at, m_icuWindow);
        m_icuStart = m_at;
        findStretchEnd(limit);
        m_icu->start(m_text + m_at, m_icuEnd - m_icuStart);
        m_inIcu = true;
    }
    const std::size_t at = m_icuStart + m_icu->next();
    if (at == m_icuEnd) {
        m_inIcu = false;
        if (!m_icuEndIsBoundary) {
            // A character longer than the stretch needs a longer one.
            if (m_at == m_icuStart)
                m_icuWindow = std::min(2 * m_icuWindow, maxIcuWindow);
            return icuNext();
        }
        m_icuWindow = m_initialIcuWindow;
    }
    settleAt(at);
    return at;
}

template class BoundaryScanner<char>;
template class BoundaryScanner<char16_t>;

} // namespace rainbow
