#pragma once

#include "character_cursor.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace rainbow {

/// The text without its leading and trailing U+0020 spaces; tabs, line breaks and the
/// ideographic space stay.
QStringView trimSpaces(QStringView text);

/// The same for UTF-8 text.
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

/// Number of user-perceived characters (grapheme clusters).
qsizetype characterCount(QStringView text);

/// A text with its user-perceived characters located, so positions and lengths count what a
/// reader sees as one character: an emoji, a flag or a letter with its accents.
class CharacterText {
public:
    explicit CharacterText(QString text);

    const QString &text() const { return m_text; }

    /// Number of characters.
    qsizetype size() const
    {
        return m_starts.empty() ? m_text.size() - qsizetype(m_pairs.size()) : qsizetype(m_starts.size()) - 1;
    }

    /// UTF-16 offset of character index (0-based); index == size() gives the text's end.
    qsizetype unitStart(qsizetype index) const
    {
        return m_starts.empty() ? index + pairsBefore(m_pairs, index) : m_starts[index];
    }

    QStringView character(qsizetype index) const
    {
        return QStringView(m_text).mid(unitStart(index), unitStart(index + 1) - unitStart(index));
    }

    /// Calls visit with a cursor (character_cursor.h) at character index and returns its result.
    template <typename Visit> decltype(auto) visitFrom(qsizetype index, Visit &&visit) const
    {
        const auto *units = reinterpret_cast<const char16_t *>(m_text.utf16());
        if (!m_starts.empty())
            return visit(BoundaryCursor<char16_t, qsizetype>(units, m_starts.data(), std::size_t(index)));
        const qsizetype before = pairsBefore(m_pairs, index);
        const UnitCursor<char16_t> codePoints(units, std::size_t(index + before));
        if (m_pairs.empty())
            return visit(codePoints);
        return visit(PairCursor(
            codePoints, std::size_t(index), m_pairs.data() + before, m_pairs.data() + m_pairs.size()));
    }

private:
    QString m_text;
    std::vector<qsizetype> m_starts; // empty when no unit but CR can join a neighbour
    std::vector<qsizetype> m_pairs; // character indices of the CR LF pairs when m_starts is empty
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
        if (!m_starts.empty())
            return visit(BoundaryCursor<char, qsizetype>(m_text.data(), m_starts.data(), std::size_t(index)));
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
    std::vector<qsizetype> m_starts; // byte offsets; empty when no code point but CR can join
    std::vector<qsizetype> m_pairs; // character indices of the CR LF pairs when m_starts is empty
};

} // namespace rainbow
