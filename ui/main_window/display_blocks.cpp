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

/// The last boundary of the given kind in (from, to] of text, or nullopt. The unit after `to`,
/// when there is one, is analysed too, so that a boundary at `to` is a real one.
std::optional<qsizetype> lastBoundary(
    QTextBoundaryFinder::BoundaryType type, QStringView text, qsizetype from, qsizetype to)
{
    const qsizetype windowEnd = std::min(to + 1, text.size());
    QTextBoundaryFinder finder(type, text.data() + from, windowEnd - from);
    finder.setPosition(to - from + 1);
    for (qsizetype at = finder.toPreviousBoundary(); at > 0; at = finder.toPreviousBoundary()) {
        if (at <= to - from
            && (type != QTextBoundaryFinder::Line
                || finder.boundaryReasons() & QTextBoundaryFinder::BreakOpportunity))
            return from + at;
    }
    return std::nullopt;
}

/// Where the piece that starts at `start` and may run to `limit` (a unit inside its paragraph)
/// is cut: a position in (start, limit].
qsizetype cutPosition(QStringView text, qsizetype start, qsizetype limit)
{
    const qsizetype quarter = std::max<qsizetype>(1, (limit - start) / 4);
    for (qsizetype at = limit - 1; at >= limit - quarter; --at)
        if (text[at] == u' ')
            return at + 1;
    const qsizetype lineFrom = std::max(start, limit - std::min(quarter, lineBreakReach));
    if (const auto cut = lastBoundary(QTextBoundaryFinder::Line, text, lineFrom, limit))
        return *cut;
    const qsizetype graphemeFrom = std::max(start, limit - std::min(quarter, graphemeReach));
    if (const auto cut = lastBoundary(QTextBoundaryFinder::Grapheme, text, graphemeFrom, limit))
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
