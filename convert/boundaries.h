#pragma once

#include "engine/code_points.h"
#include "engine/simd.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace rainbow {

// Character boundaries are Unicode's extended grapheme clusters, as ICU finds them. Most text has
// long stretches in which no code point can join a neighbour; those are walked with a table look-
// up per code point, and ICU's break iterator runs only from just before a code point that can.

/// The code points that can never join a neighbour that can never join either: the grapheme
/// cluster break classes Other, Control, LF, LV and LVT of ICU's property data. CR is left out, as
/// it joins a following LF. Between two such code points there is always a boundary.
class StandaloneCodePoints {
public:
    static const StandaloneCodePoints &table();

    bool contains(char32_t codePoint) const
    {
        return codePoint < 0x110000 && (m_bits[codePoint >> 6] >> (codePoint & 63) & 1) != 0;
    }

    /// Whether every code point of UTF-8 that has this byte stands alone: ASCII but CR,
    /// continuation bytes (their lead decides) and leads whose whole range does.
    bool safeByte(unsigned char byte) const { return m_safeBytes[byte]; }

    /// Whether the UTF-16 code unit is a code point that stands alone (no surrogate, no CR).
    bool safeUnit(char16_t unit) const { return m_safeUnits[unit]; }

    /// The longest runs of consecutive safe leads of two-byte code points and of three-byte ones
    /// (CJK ideographs), for a check of many bytes at once: the byte just below a run and the
    /// byte just above it, as signed bytes; none of either matches a lead when there is no run.
    const std::array<std::pair<signed char, signed char>, 2> &safeLeadRuns() const { return m_safeLeadRuns; }

private:
    StandaloneCodePoints();
    /// The byte below and the byte above the longest run of safe leads in [from, to).
    std::pair<signed char, signed char> longestSafeRun(unsigned from, unsigned to) const;

    std::vector<uint64_t> m_bits;
    std::array<bool, 256> m_safeBytes {};
    std::vector<bool> m_safeUnits;
    std::array<std::pair<signed char, signed char>, 2> m_safeLeadRuns {};
};

/// Throws for an ICU failure status: std::bad_alloc for memory, else std::runtime_error naming what.
void checkIcu(int status, const char *what);

/// Whether the code point joins the one before it (extending and spacing marks, the joiner).
bool joinsPrevious(char32_t codePoint);

/// Whether the code point joins the one after it (prepended concatenation marks).
bool joinsNext(char32_t codePoint);

class IcuCharacterBreaks;

/// Walks the character boundaries of a text (char: well-formed UTF-8; char16_t: UTF-16) from a
/// boundary on. Restarting at any boundary gives the boundaries that follow it in the whole text:
/// no rule looks back past the start of the character it is in.
template <typename CharT> class BoundaryScanner {
public:
    /// ICU walks at most this many code units from where it starts, more only for a character
    /// longer than that.
    static constexpr std::size_t defaultIcuWindow = 1024;
    static constexpr std::size_t maxIcuWindow = std::size_t(1) << 30; // ICU's offsets are 32-bit

    /// from must be a character boundary of the text (0 always is).
    BoundaryScanner(
        const CharT *text, std::size_t size, std::size_t from = 0, std::size_t icuWindow = defaultIcuWindow);
    ~BoundaryScanner();
    BoundaryScanner(const BoundaryScanner &) = delete;
    BoundaryScanner &operator=(const BoundaryScanner &) = delete;

    std::size_t position() const { return m_at; }
    bool atEnd() const { return m_at == m_size; }

    /// Moves to the end of the character at position() and returns it; only before the end.
    std::size_t next()
    {
        if (m_standsAlone) {
            const std::size_t after = m_at + m_length;
            if (after == m_size)
                return moveTo(after, DecodedCodePoint { 0, 0 }, false);
            const DecodedCodePoint following = decodeAt(m_text, m_size, after);
            if (m_alone.contains(following.value))
                return moveTo(after, following, true);
        }
        return nextSlowly();
    }

    /// Sets bit p of starts (one bit per code unit of the text) for the start p of every
    /// character after the one at position(), to the text's end. Where no code unit can join,
    /// up to a block of them is marked at once.
    void markStarts(uint64_t *starts)
    {
        while (m_at < m_size) {
            if (m_standsAlone) {
                const std::size_t block = m_at + m_length;
                const unsigned safe = m_size - block >= blockUnits ? safePrefix(block) : 0;
                if (safe > 0) {
                    // Every code point that starts in the safe units stands alone, and so do
                    // the one before and the one they end at: each is a character.
                    const uint32_t blockStarts = codePointStarts(block) & uint32_t((uint64_t(1) << safe) - 1);
                    const std::size_t word = block / 64;
                    const unsigned shift = block % 64;
                    starts[word] |= uint64_t(blockStarts) << shift;
                    if (shift > 64 - blockUnits)
                        starts[word + 1] |= uint64_t(blockStarts) >> (64 - shift);
                    const std::size_t last = block + std::size_t(31 - __builtin_clz(blockStarts));
                    moveTo(last, DecodedCodePoint { 0, codePointLength(last) }, true);
                    continue;
                }
            }
            const std::size_t end = next();
            if (end < m_size)
                starts[end / 64] |= uint64_t(1) << (end % 64);
        }
    }

private:
    static constexpr std::size_t blockUnits = 16;

    /// How many of the blockUnits units at `at` come before the first unit of a code point that
    /// may not stand alone.
    unsigned safePrefix(std::size_t at) const
    {
        if constexpr (sizeof(CharT) == 1) {
            // Only CR and the leads of multi-byte code points (-64..-1 as signed bytes) can be
            // unsafe; leads outside the longest safe runs (CJK ideographs' among them) need the
            // table: none in ASCII and CJK text.
            const char *bytes = m_text + at;
            uint32_t unsafe = simd::equal(bytes, '\r');
            uint32_t leads = simd::greater(bytes, -65) & simd::less(bytes, 0);
            for (const auto &[below, above] : m_alone.safeLeadRuns())
                leads &= ~(simd::greater(bytes, below) & simd::less(bytes, above));
            for (; leads != 0; leads &= leads - 1) {
                const auto i = unsigned(__builtin_ctz(leads));
                if (!m_alone.safeByte(static_cast<unsigned char>(bytes[i]))) {
                    unsafe |= 1u << i;
                    break;
                }
            }
            return unsafe == 0 ? unsigned(blockUnits) : unsigned(__builtin_ctz(unsafe));
        } else {
            unsigned safe = 0;
            while (safe < blockUnits && m_alone.safeUnit(m_text[at + safe]))
                ++safe;
            return safe;
        }
    }

    /// Bit i set when unit i of the block begins a code point (bit 0 always).
    uint32_t codePointStarts(std::size_t block) const
    {
        if constexpr (sizeof(CharT) == 2)
            return (uint32_t(1) << blockUnits) - 1;
        else
            return simd::codePointStarts(m_text + block) | 1;
    }

    std::size_t codePointLength(std::size_t at) const
    {
        if constexpr (sizeof(CharT) == 2)
            return 1;
        else
            return decodeAt(m_text, m_size, at).length;
    }

    std::size_t moveTo(std::size_t at, DecodedCodePoint codePoint, bool alone)
    {
        m_at = at;
        m_length = codePoint.length;
        m_standsAlone = alone;
        m_inIcu = false;
        return at;
    }

    std::size_t nextSlowly();
    /// The boundary after m_at from ICU, which starts from m_at unless it is already walking.
    std::size_t icuNext();
    /// Where ICU's stretch from m_at ends: before the first code point that stands alone after
    /// one that does too, a certain boundary, or at the last code point that ends by limit.
    void findStretchEnd(std::size_t limit);
    void settleAt(std::size_t at);

    const StandaloneCodePoints &m_alone;
    const CharT *m_text;
    std::size_t m_size;
    std::size_t m_at;
    std::size_t m_length = 0; // of the code point at m_at
    bool m_standsAlone = false; // the code point at m_at stands alone
    bool m_inIcu = false; // ICU's iterator stands at m_at
    std::size_t m_icuStart = 0; // where ICU's text begins
    std::size_t m_icuEnd = 0; // and ends
    bool m_icuEndIsBoundary = false;
    std::size_t m_initialIcuWindow;
    std::size_t m_icuWindow;
    std::unique_ptr<IcuCharacterBreaks> m_icu;
};

extern template class BoundaryScanner<char>;
extern template class BoundaryScanner<char16_t>;

} // namespace rainbow
