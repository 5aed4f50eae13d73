#include "display_blocks.h"

#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <optional>

namespace rainbow::ui {

namespace {

constexpr int softBreakProperty = QTextFormat::UserProperty + 0x5B;

// How far back from a piece's limit each kind of cut point is looked for. The line-break and
// grapheme searches run the toolkit's text analysis, so they look at a few dozen units only.
constexpr qsizetype lineBreakReach = 64;
constexpr qsizetype graphemeReach = 32;

/// The characters QTextCursor::insertText turns into block separators ("\r\n" makes one).
bool isHardBreak(char16_t unit)
{
    return unit == u'\n' || unit == u'\r' || unit == 0x2029 || unit == 0xFDD0 || unit == 0xFDD1;
}

/// Whether the unit at begins a regional indicator (half of a flag).
bool isRegionalIndicator(QStringView text, qsizetype at)
{
    return at >= 0 && at + 1 < text.size() && text[at] == QChar(0xD83C) && text[at + 1] >= QChar(0xDDE6)
        && text[at + 1] <= QChar(0xDDFF);
}

/// The boundaries between user-perceived characters near a cut. The toolkit analyses a window
/// of the text that reaches back far enough for what a boundary depends on: to the start of a
/// run of regional indicators (they pair up from the first), and a few dozen units for an emoji
/// joined to the one before it.
class CharacterBoundaries {
public:
    /// For positions in [from, to]; start is a boundary at or before from.
    CharacterBoundaries(QStringView text, qsizetype start, qsizetype from, qsizetype to)
        : m_begin(std::max(start, from - contextReach))
    {
        while (m_begin - 2 >= start && isRegionalIndicator(text, m_begin - 2))
            m_begin -= 2;
        const qsizetype end = std::min(to + 4, text.size());
        m_finder = QTextBoundaryFinder(QTextBoundaryFinder::Grapheme, text.data() + m_begin, end - m_begin);
    }

    bool isBoundary(qsizetype at)
    {
        m_finder.setPosition(at - m_begin);
        return m_finder.isAtBoundary();
    }

    /// The last boundary in (from, to], or nullopt.
    std::optional<qsizetype> last(qsizetype from, qsizetype to)
    {
        m_finder.setPosition(to - m_begin + 1);
        for (qsizetype at = m_finder.toPreviousBoundary(); at > from - m_begin;
             at = m_finder.toPreviousBoundary())
            if (at <= to - m_begin)
                return m_begin + at;
        return std::nullopt;
    }

private:
    static constexpr qsizetype contextReach = 64;
    qsizetype m_begin;
    QTextBoundaryFinder m_finder;
};

/// The last line-break opportunity in (from, to] of text that is also a boundary between
/// characters (the line rules allow a break between a space and a combining mark), or nullopt.
std::optional<qsizetype> lastLineBreak(
    QStringView text, qsizetype from, qsizetype to, CharacterBoundaries &characters)
{
    const qsizetype windowEnd = std::min(to + 1, text.size());
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text.data() + from, windowEnd - from);
    finder.setPosition(to - from + 1);
    for (qsizetype at = finder.toPreviousBoundary(); at > 0; at = finder.toPreviousBoundary()) {
        if (at <= to - from && finder.boundaryReasons() & QTextBoundaryFinder::BreakOpportunity
            && characters.isBoundary(from + at))
            return from + at;
    }
    return std::nullopt;
}

/// Where the piece that starts at `start` and may run to `limit` (a unit inside its paragraph)
/// is cut: a position in (start, limit].
qsizetype cutPosition(QStringView text, qsizetype start, qsizetype limit)
{
    const qsizetype quarter = std::max<qsizetype>(1, (limit - start) / 4);
    CharacterBoundaries characters(text, start, limit - quarter, limit);
    for (qsizetype at = limit - 1; at >= limit - quarter; --at)
        if (text[at] == u' ' && characters.isBoundary(at + 1))
            return at + 1;
    const qsizetype lineFrom = std::max(start, limit - std::min(quarter, lineBreakReach));
    if (const auto cut = lastLineBreak(text, lineFrom, limit, characters))
        return *cut;
    const qsizetype graphemeFrom = std::max(start, limit - std::min(quarter, graphemeReach));
    if (const auto cut = characters.last(graphemeFrom, limit))
        return *cut;
    return text[limit].isLowSurrogate() && text[limit - 1].isHighSurrogate() && limit - 1 > start ? limit - 1
                                                                                                  : limit;
}

} // namespace

std::vector<qsizetype> softBreakPositions(QStringView text, qsizetype maxLength)
{
    std::vector<qsizetype> breaks;
    qsizetype paragraphStart = 0;
    for (qsizetype at = 0; at <= text.size(); ++at) {
        if (at < text.size() && !isHardBreak(text[at].unicode()))
            continue;
        for (qsizetype pieceStart = paragraphStart; at - pieceStart > maxLength;) {
            pieceStart = cutPosition(text, pieceStart, pieceStart + maxLength);
            breaks.push_back(pieceStart);
        }
        paragraphStart = at + 1;
    }
    return breaks;
}

bool followsSoftBreak(const QTextBlock &block)
{
    return block.position() > 0 && marksSoftBreak(block.charFormat());
}

bool marksSoftBreak(const QTextCharFormat &format) { return format.boolProperty(softBreakProperty); }

QTextCharFormat withoutSoftBreakMark(QTextCharFormat format)
{
    format.clearProperty(softBreakProperty);
    return format;
}

QString textBetween(const QTextDocument &document, int from, int to)
{
    QString text;
    text.reserve(std::max(0, to - from));
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        const int start = block.position();
        if (start - 1 >= from && start - 1 < to && !followsSoftBreak(block))
            text += u'\n';
        const int first = std::max(from, start);
        const int end = std::min(to, start + block.length() - 1);
        if (end > first)
            text += QStringView(block.text()).mid(first - start, end - first);
    }
    return text;
}

QString documentText(const QTextDocument &document)
{
    return textBetween(document, 0, document.characterCount() - 1);
}

DisplayBlockWriter::DisplayBlockWriter(QTextCursor &cursor, const QString &text, qsizetype maxLength)
    : m_cursor(cursor)
    , m_text(text)
    , m_breaks(softBreakPositions(text, maxLength))
{
}

void DisplayBlockWriter::writeUntil(qsizetype end, const QTextCharFormat &format)
{
    static const QTextCharFormat softBreak = [] {
        QTextCharFormat marked;
        marked.setProperty(softBreakProperty, true);
        return marked;
    }();
    for (; m_nextBreak < m_breaks.size() && m_breaks[m_nextBreak] < end; ++m_nextBreak) {
        const qsizetype cut = m_breaks[m_nextBreak];
        if (cut > m_written)
            m_cursor.insertText(m_text.mid(m_written, cut - m_written), format);
        m_cursor.insertBlock(m_cursor.blockFormat(), softBreak);
        m_written = cut;
    }
    if (end > m_written)
        m_cursor.insertText(m_text.mid(m_written, end - m_written), format);
    m_written = std::max(m_written, end);
}

} // namespace rainbow::ui
