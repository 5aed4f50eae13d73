#pragma once

#include "engine/code_points.h"
#include "engine/simd.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace rainbow {

// Cursors walk the characters of a text for FragmentWriter::writeFragments. Each offers:
// position() (code units from the text's start), unitsBound(count) (at most how many code units
// the next count characters take), fastCount(count) (how many of the next count characters
// copyFast may copy), copyFast(out) (may write a few units past the character; the fragment's
// close tag covers them) and copyExact(out).

/// A text in which every code unit is a character (UTF-16 without surrogates or joining marks).
template <typename CharT> class UnitCursor {
public:
    UnitCursor(const CharT *text, std::size_t index)
        : m_text(text)
        , m_at(text + index)
    {
    }

    std::size_t position() const { return std::size_t(m_at - m_text); }
    std::size_t unitsBound(std::size_t count) const { return count; }
    std::size_t fastCount(std::size_t count) const { return count; }
    CharT *copyFast(CharT *out) { return copyExact(out); }
    CharT *copyExact(CharT *out)
    {
        *out = *m_at++;
        return out + 1;
    }

private:
    const CharT *m_text;
    const CharT *m_at;
};

/// Well-formed UTF-8 in which every code point is a character (no joining marks, nothing outside
/// the Basic Multilingual Plane): characters of 1 to 3 bytes.
class Utf8CodePointCursor {
public:
    /// index counts code points; it is found a 64-byte window at a time.
    Utf8CodePointCursor(const char *text, std::size_t size, std::size_t index)
        : m_text(text)
        , m_end(text + size)
        , m_window(text)
    {
        for (;;) {
            m_leads = leadBits(m_window);
            const auto here = std::size_t(__builtin_popcountll(m_leads));
            if (index < here || m_end - m_window <= 64)
                break;
            index -= here;
            m_window += 64;
        }
        for (; index > 0 && m_leads != 0; --index)
            m_leads &= m_leads - 1;
    }

    std::size_t position() const { return std::size_t(next() - m_text); }
    std::size_t unitsBound(std::size_t count) const
    {
        return std::min(3 * count, std::size_t(m_end - m_window));
    }
    /// copyFast reads four bytes: it may run while those stay inside the text.
    std::size_t fastCount(std::size_t count) const
    {
        const auto room = std::size_t(m_end - next());
        return room >= 4 ? std::min(count, (room - 1) / 3) : 0;
    }
    char *copyFast(char *out)
    {
        // A fixed-size copy and a table look-up instead of a branch on the width: the widths of
        // mixed ASCII and CJK text follow no pattern a branch predictor could learn.
        const char *at = take();
        std::memcpy(out, at, 4);
        return out + utf8SequenceLength(*at);
    }
    char *copyExact(char *out)
    {
        const char *at = take();
        const std::size_t length = utf8SequenceLength(*at);
        std::memcpy(out, at, length);
        return out + length;
    }

private:
    /// Bit i set when byte i of the window (64 bytes or what is left) begins a code point.
    uint64_t leadBits(const char *window) const
    {
        const auto available = std::size_t(m_end - window);
        uint64_t bits = 0;
        if (available >= 64) {
            for (int i = 0; i < 4; ++i)
                bits |= uint64_t(simd::codePointStarts(window + 16 * i)) << (16 * i);
            return bits;
        }
        for (std::size_t i = 0; i < available; ++i)
            bits |= uint64_t((uint8_t(window[i]) & 0xC0) != 0x80) << i;
        return bits;
    }

    /// The next character's first byte.
    const char *next() const
    {
        if (m_leads != 0)
            return m_window + __builtin_ctzll(m_leads);
        const char *at = std::min(m_window + 64, m_end);
        while (at < m_end && (uint8_t(*at) & 0xC0) == 0x80)
            ++at;
        return at;
    }

    /// The next character's first byte, moving past it. Where each character begins comes from
    /// a bit mask rather than from the length of the one before, so reading a character's bytes
    /// does not hold up finding the next.
    const char *take()
    {
        if (m_leads == 0) {
            m_window += 64;
            m_leads = leadBits(m_window);
        }
        const char *at = m_window + __builtin_ctzll(m_leads);
        m_leads &= m_leads - 1;
        return at;
    }

    const char *m_text;
    const char *m_end;
    const char *m_window; // 64 bytes, or fewer at the end of the text
    uint64_t m_leads; // code points in the window not yet taken
};

/// A text of single-code-point characters but for some pairs of two code points (CR LF): the code
/// points come from a cursor of them (UnitCursor, Utf8CodePointCursor), the pairs from a sorted
/// list of their character indices.
template <typename CodePoints, typename Index> class PairCursor {
public:
    /// codePoints is at character index; nextPair is the first pair at or after it.
    PairCursor(CodePoints codePoints, std::size_t index, const Index *nextPair, const Index *pairsEnd)
        : m_codePoints(codePoints)
        , m_index(Index(index))
        , m_nextPair(nextPair)
        , m_pairsEnd(pairsEnd)
    {
    }

    std::size_t position() const { return m_codePoints.position(); }
    std::size_t unitsBound(std::size_t count) const
    {
        const Index *after = std::lower_bound(m_nextPair, m_pairsEnd, m_index + Index(count));
        return m_codePoints.unitsBound(count + std::size_t(after - m_nextPair));
    }
    /// Single code points up to the next pair, which copyExact takes.
    std::size_t fastCount(std::size_t count) const
    {
        const std::size_t fast = m_codePoints.fastCount(count);
        return m_nextPair == m_pairsEnd ? fast : std::min(fast, std::size_t(*m_nextPair - m_index));
    }
    template <typename CharT> CharT *copyFast(CharT *out)
    {
        ++m_index;
        return m_codePoints.copyFast(out);
    }
    template <typename CharT> CharT *copyExact(CharT *out)
    {
        if (m_nextPair != m_pairsEnd && *m_nextPair == m_index) {
            out = m_codePoints.copyExact(out);
            ++m_nextPair;
        }
        ++m_index;
        return m_codePoints.copyExact(out);
    }

private:
    CodePoints m_codePoints;
    Index m_index; // characters taken since the text's start
    const Index *m_nextPair;
    const Index *m_pairsEnd;
};

} // namespace rainbow
