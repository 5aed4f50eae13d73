#pragma once

#include "character_cursor.h"

#include <QString>
#include <QStringView>

#include <string_view>
#include <vector>

namespace rainbow {

/// The text without its leading and trailing U+0020 spaces; tabs, line breaks and the
/// ideographic space stay.
QStringView trimSpaces(QStringView text);

/// The same for UTF-8 text.
std::string_view trimSpaces(std::string_view text);

/// True when no code unit of the text can join a neighbour into one user-perceived character
/// (no combining mark, joiner, surrogate, Hangul jamo, CR, ...), so every unit is a character.
bool everyUnitIsACharacter(QStringView text);

/// True when every code point of the well-formed UTF-8 text is a character: none can join a
/// neighbour and none lies outside the Basic Multilingual Plane (everyUnitIsACharacter of its
/// UTF-16 form).
bool everyCodePointIsACharacter(std::string_view text);

/// Number of user-perceived characters (grapheme clusters).
qsizetype characterCount(QStringView text);

/// A text with its user-perceived characters located, so positions and lengths count what a
/// reader sees as one character: an emoji, a flag or a letter with its accents.
class CharacterText {
public:
    explicit CharacterText(QString text);

    const QString &text() const { return m_text; }

    /// Number of characters.
    qsizetype size() const { return m_starts.empty() ? m_text.size() : qsizetype(m_starts.size()) - 1; }

    /// UTF-16 offset of character index (0-based); index == size() gives the text's end.
    qsizetype unitStart(qsizetype index) const { return m_starts.empty() ? index : m_starts[index]; }

    QStringView character(qsizetype index) const
    {
        return QStringView(m_text).mid(unitStart(index), unitStart(index + 1) - unitStart(index));
    }

    /// Calls visit with a cursor (character_cursor.h) at character index and returns its result.
    template <typename Visit> decltype(auto) visitFrom(qsizetype index, Visit &&visit) const
    {
        const auto *units = reinterpret_cast<const char16_t *>(m_text.utf16());
        if (m_starts.empty())
            return visit(UnitCursor<char16_t>(units, std::size_t(index)));
        return visit(BoundaryCursor<char16_t, qsizetype>(units, m_starts.data(), std::size_t(index)));
    }

private:
    QString m_text;
    std::vector<qsizetype> m_starts; // empty when every code unit is a character
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
        if (m_starts.empty())
            return visit(Utf8CodePointCursor(m_text.data(), m_text.size(), std::size_t(index)));
        return visit(BoundaryCursor<char, qsizetype>(m_text.data(), m_starts.data(), std::size_t(index)));
    }

private:
    std::string_view m_text;
    qsizetype m_size = 0;
    std::vector<qsizetype> m_starts; // byte offsets; empty when every code point is a character
};

} // namespace rainbow
