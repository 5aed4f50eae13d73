#pragma once

#include "convert/boundaries.h"
#include "engine/character_cursor.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace rainbow {

/// The text without the U+0020 spaces at its ends that are characters of their own: tabs, line
/// breaks and the ideographic space stay, and so does a space that carries a combining mark (or
/// follows a prepended one).
QStringView trimSpaces(QStringView text);

/// The same for well-formed UTF-8 text.
std::string_view trimSpaces(std::string_view text);

/// When no code unit of the text but CR can join a neighbour into one user-perceived character
/// (combining marks, joiners, surrogates, Hangul jamo, ... can), the character indices of its
/// CR LF pairs, each one character; every other unit, a lone CR too, is a character of its own.
/// nullopt when some other unit can join.
std::optional<std::vector<qsizetype>> crLfPairs(QStringView text);

/// crLfPairs of the UTF-16 form of well-formed UTF-8 text; nullopt also when a code point lies
/// outside the Basic Multilingual Plane.
std::optional<std::vector<qsizetype>> utf8CrLfPairs(std::string_view text);

/// Number of CR LF pairs before character index, so that index plus it counts code points.
inline qsizetype pairsBefore(const std::vector<qsizetype> &pairs, qsizetype index)
{
    return qsizetype(std::lower_bound(pairs.begin(), pairs.end(), index) - pairs.begin());
}

/// Number of user-perceived characters (extended grapheme clusters).
qsizetype characterCount(QStringView text);

/// The ends of the characters of text from the boundary from on, up to and including the first
/// that reaches to or beyond.
std::vector<qsizetype> characterEnds(QStringView text, qsizetype from, qsizetype to);

/// Characters of any length whose starts are marked in a bit per code unit; a cursor for
/// FragmentWriter::writeFragments (character_cursor.h).
template <typename CharT> class StartBitsCursor {
public:
    /// at is the start of a character (or the text's size).
    StartBitsCursor(const CharT *text, std::size_t size, const uint64_t *starts, std::size_t at)
        : m_text(text)
        , m_size(size)
        , m_starts(starts)
        , m_words(size / 64 + 1)
        , m_at(at)
        , m_word(at / 64)
        , m_pending(m_word < m_words ? starts[m_word] & ~((uint64_t(2) << (at % 64)) - 1) : 0)
    {
    }

    std::size_t position() const { return m_at; }
    std::size_t unitsBound(std::size_t count) const { return endAfter(count) - m_at; }
    /// Characters whose fixed-size copy stays inside the text.
    std::size_t fastCount(std::size_t count) const
    {
        if (endAfter(count) + fastUnits <= m_size)
            return count;
        StartBitsCursor ahead = *this;
        std::size_t fast = 0;
        while (fast < count && ahead.m_at + fastUnits <= m_size) {
            ahead.m_at = ahead.nextStart();
            ++fast;
        }
        return fast;
    }
    CharT *copyFast(CharT *out)
    {
        const std::size_t start = m_at;
        m_at = nextStart();
        const std::size_t length = m_at - start;
        // A copy of a size the compiler sees for all but the rare character longer than it.
        if (length <= fastUnits)
            std::memcpy(out, m_text + start, fastUnits * sizeof(CharT));
        else
            std::memcpy(out, m_text + start, length * sizeof(CharT));
        return out + length;
    }
    CharT *copyExact(CharT *out)
    {
        const std::size_t start = m_at;
        m_at = nextStart();
        std::memcpy(out, m_text + start, (m_at - start) * sizeof(CharT));
        return out + (m_at - start);
    }

private:
    static constexpr std::size_t fastUnits = 16 / sizeof(CharT);

    /// The start of the character after the one at m_at (the text's size after the last).
    std::size_t nextStart()
    {
        while (m_pending == 0) {
            if (++m_word >= m_words)
                return m_size;
            m_pending = m_starts[m_word];
        }
        const std::size_t start = m_word * 64 + std::size_t(__builtin_ctzll(m_pending));
        m_pending &= m_pending - 1;
        return start;
    }

    /// The end of the count characters from m_at, or the text's size if fewer are left.
    std::size_t endAfter(std::size_t count) const
    {
        if (count == 0)
            return m_at;
        std::size_t word = m_word;
        uint64_t bits = m_pending;
        for (;;) {
            const auto here = std::size_t(__builtin_popcountll(bits));
            if (count <= here)
                break;
            count -= here;
            if (++word >= m_words)
                return m_size;
            bits = m_starts[word];
        }
        for (; count > 1; --count)
            bits &= bits - 1;
        return word * 64 + std::size_t(__builtin_ctzll(bits));
    }

    const CharT *m_text;
    std::size_t m_size;
    const uint64_t *m_starts;
    std::size_t m_words;
    std::size_t m_at; // the next character's start
    std::size_t m_word; // the word of m_starts that holds m_pending
    uint64_t m_pending; // starts in that word after m_at
};

/// The characters of a text in which some code unit can join a neighbour: where each begins, as
/// one bit per code unit (an eighth of UTF-8 text's size, a sixteenth of UTF-16's), marked in one
/// walk of the boundary scanner, with the count before every 4096th unit to find any character.
template <typename CharT> class ClusteredText {
public:
    ClusteredText(const CharT *text, std::size_t size);

    std::size_t size() const { return m_count; }

    /// Code units before character index; index == size() gives the text's size.
    std::size_t unitStart(std::size_t index) const;

    template <typename Visit> decltype(auto) visitFrom(std::size_t index, Visit &&visit) const
    {
        return visit(StartBitsCursor<CharT>(m_text, m_size, m_starts.data(), unitStart(index)));
    }

private:
    static constexpr std::size_t wordsPerRank = 64;

    const CharT *m_text;
    std::size_t m_size;
    std::size_t m_count = 0;
    std::vector<uint64_t> m_starts; // bit p set when a character starts at unit p
    std::vector<std::size_t> m_ranks; // characters before word wordsPerRank * i
};

extern template class ClusteredText<char>;
extern template class ClusteredText<char16_t>;

/// A text with its user-perceived characters located, so positions and lengths count what a
/// reader sees as one character: an emoji, a flag or a letter with its accents.
class CharacterText {
public:
    explicit CharacterText(QString text);

    const QString &text() const { return m_text; }

    /// Number of characters.
    qsizetype size() const
    {
        return m_clusters ? qsizetype(m_clusters->size()) : m_text.size() - qsizetype(m_pairs.size());
    }

    /// Whether every code unit is a character, CR LF pairs aside.
    bool codePointCharacters() const { return !m_clusters; }

    /// UTF-16 offset of character index (0-based); index == size() gives the text's end.
    qsizetype unitStart(qsizetype index) const
    {
        return m_clusters ? qsizetype(m_clusters->unitStart(std::size_t(index)))
                          : index + pairsBefore(m_pairs, index);
    }

    /// Calls visit with a cursor (character_cursor.h) at character index and returns its result.
    template <typename Visit> decltype(auto) visitFrom(qsizetype index, Visit &&visit) const
    {
        if (m_clusters)
            return m_clusters->visitFrom(std::size_t(index), visit);
        const auto *units = reinterpret_cast<const char16_t *>(m_text.utf16());
        const qsizetype before = pairsBefore(m_pairs, index);
        const UnitCursor<char16_t> codePoints(units, std::size_t(index + before));
        if (m_pairs.empty())
            return visit(codePoints);
        return visit(PairCursor(
            codePoints, std::size_t(index), m_pairs.data() + before, m_pairs.data() + m_pairs.size()));
    }

private:
    QString m_text;
    std::optional<ClusteredText<char16_t>> m_clusters; // when some unit but CR can join
    std::vector<qsizetype> m_pairs; // character indices of the CR LF pairs otherwise
};

/// The user-perceived characters of well-formed UTF-8 text, located as CharacterText locates
/// them in its UTF-16 form. Refers to the text, which must outlive it.
class Utf8CharacterText {
public:
    explicit Utf8CharacterText(std::string_view text);

    std::string_view text() const { return m_text; }

    /// Number of characters.
    qsizetype size() const { return m_size; }

    /// Whether every code point is a character, CR LF pairs aside.
    bool codePointCharacters() const { return !m_clusters; }

    /// Calls visit with a cursor (character_cursor.h) at character index and returns its result.
    template <typename Visit> decltype(auto) visitFrom(qsizetype index, Visit &&visit) const
    {
        if (m_clusters)
            return m_clusters->visitFrom(std::size_t(index), visit);
        const qsizetype before = pairsBefore(m_pairs, index);
        const Utf8CodePointCursor codePoints(m_text.data(), m_text.size(), std::size_t(index + before));
        if (m_pairs.empty())
            return visit(codePoints);
        return visit(PairCursor(
            codePoints, std::size_t(index), m_pairs.data() + before, m_pairs.data() + m_pairs.size()));
    }

private:
    std::string_view m_text;
    qsizetype m_size = 0;
    std::optional<ClusteredText<char>> m_clusters; // when some code point but CR can join
    std::vector<qsizetype> m_pairs; // character indices of the CR LF pairs otherwise
};

} // namespace rainbow
