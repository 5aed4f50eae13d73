#pragma once

#include "boundaries.h"
#include "character_cursor.h"

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

/// Characters of any length taken from a BoundaryScanner, whose boundaries are found a block at
/// a time as they are needed; a cursor for FragmentWriter::writeFragments (character_cursor.h).
template <typename CharT> class ClusterCursor {
public:
    /// Takes the characters from the scanner's position on; buffer keeps their starts.
    ClusterCursor(BoundaryScanner<CharT> &scanner, const CharT *text, std::size_t size,
        std::vector<std::size_t> &buffer)
        : m_scanner(&scanner)
        , m_text(text)
        , m_size(size)
        , m_buffer(&buffer)
    {
        m_buffer->assign(1, scanner.position());
        m_start = m_fastEnd = m_filled = m_buffer->data();
    }

    std::size_t position() const { return *m_start; }
    std::size_t unitsBound(std::size_t count)
    {
        fill(count);
        return m_start[std::min(count, std::size_t(m_filled - m_start))] - m_start[0];
    }
    /// Characters short enough for a fixed-size copy that stays inside the text.
    std::size_t fastCount(std::size_t count) const
    {
        return std::min(count, std::size_t(m_fastEnd - m_start));
    }
    CharT *copyFast(CharT *out)
    {
        std::memcpy(out, m_text + m_start[0], fastUnits * sizeof(CharT));
        const std::size_t length = m_start[1] - m_start[0];
        ++m_start;
        return out + length;
    }
    CharT *copyExact(CharT *out)
    {
        fill(1);
        const std::size_t length = m_start[1] - m_start[0];
        std::memcpy(out, m_text + m_start[0], length * sizeof(CharT));
        ++m_start;
        findFastEnd();
        return out + length;
    }

private:
    static constexpr std::size_t fastUnits = 16 / sizeof(CharT);
    static constexpr std::size_t blockCharacters = 8192;

    /// Makes at least count characters ready, unless the text ends before.
    void fill(std::size_t count)
    {
        if (std::size_t(m_filled - m_start) >= count || m_scanner->atEnd())
            return;
        const std::size_t ready = std::size_t(m_filled - m_start);
        const std::size_t fastReady = std::size_t(m_fastEnd - m_start);
        const std::size_t wanted = std::max(count, blockCharacters);
        std::vector<std::size_t> &starts = *m_buffer;
        std::memmove(starts.data(), m_start, (ready + 1) * sizeof(std::size_t));
        starts.resize(wanted + 1);
        std::size_t *out = starts.data() + ready;
        std::size_t *const last = starts.data() + wanted;
        while (out < last && !m_scanner->atEnd())
            *++out = m_scanner->next();
        m_start = starts.data();
        m_filled = out;
        m_fastEnd = m_start + fastReady;
        findFastEnd();
    }

    void findFastEnd()
    {
        std::size_t *at = std::max(m_fastEnd, m_start);
        while (at < m_filled && at[1] - at[0] <= fastUnits && at[0] + fastUnits <= m_size)
            ++at;
        m_fastEnd = at;
    }

    BoundaryScanner<CharT> *m_scanner;
    const CharT *m_text;
    std::size_t m_size;
    std::vector<std::size_t> *m_buffer;
    std::size_t *m_start; // the next character's start; then the others ready, up to m_filled
    std::size_t *m_fastEnd; // the first character copyFast cannot take
    std::size_t *m_filled; // the end of the last character ready
};

/// The characters of a text in which some code unit can join a neighbour: its length, found in
/// one walk over its boundaries, and where every checkpointSpacing-th character starts, so that
/// a walk can begin near any character without holding every boundary.
template <typename CharT> class ClusteredText {
public:
    ClusteredText(const CharT *text, std::size_t size);

    std::size_t size() const { return m_count; }

    /// Code units before character index; index == size() gives the text's size.
    std::size_t unitStart(std::size_t index) const
    {
        return walkFrom(index, [](BoundaryScanner<CharT> &scanner) { return scanner.position(); });
    }

    template <typename Visit> decltype(auto) visitFrom(std::size_t index, Visit &&visit) const
    {
        return walkFrom(index, [&](BoundaryScanner<CharT> &scanner) {
            std::vector<std::size_t> buffer;
            return visit(ClusterCursor<CharT>(scanner, m_text, m_size, buffer));
        });
    }

private:
    static constexpr std::size_t checkpointSpacing = 4096;

    template <typename Walk> decltype(auto) walkFrom(std::size_t index, Walk &&walk) const
    {
        const std::size_t checkpoint = std::min(index / checkpointSpacing, m_checkpoints.size() - 1);
        BoundaryScanner<CharT> scanner(m_text, m_size, m_checkpoints[checkpoint]);
        scanner.skip(index - checkpoint * checkpointSpacing);
        return walk(scanner);
    }

    const CharT *m_text;
    std::size_t m_size;
    std::size_t m_count = 0;
    std::vector<std::size_t> m_checkpoints; // start of character i * checkpointSpacing
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

    /// UTF-16 offset of character index (0-based); index == size() gives the text's end.
    qsizetype unitStart(qsizetype index) const
    {
        return m_clusters ? qsizetype(m_clusters->unitStart(std::size_t(index)))
                          : index + pairsBefore(m_pairs, index);
    }

    QStringView character(qsizetype index) const
    {
        return QStringView(m_text).mid(unitStart(index), unitStart(index + 1) - unitStart(index));
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
