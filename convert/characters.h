#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace rainbow {

/// The text without its leading and trailing U+0020 spaces; tabs, line breaks and the
/// ideographic space stay.
QStringView trimSpaces(QStringView text);

/// True when no code unit of the text can join a neighbour into one user-perceived character
/// (no combining mark, joiner, surrogate, Hangul jamo, CR, ...), so every unit is a character.
bool everyUnitIsACharacter(QStringView text);

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

private:
    QString m_text;
    std::vector<qsizetype> m_starts; // empty when every code unit is a character
};

} // namespace rainbow
