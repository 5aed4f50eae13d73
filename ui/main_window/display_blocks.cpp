#include "ui/main_window/display_blocks.h"

#include "convert/characters.h"

#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace rainbow::ui {

namespace {

constexpr int softBreakProperty = QTextFormat::UserProperty + 0x5B;

// How far back from a piece's limit a line-break opportunity is looked for: the search runs the
// toolkit's text analysis, so it looks at a few dozen units only.
constexpr qsizetype lineBreakReach = 64;

/// The characters QTextCursor::insertText turns into block separators ("\r\n" makes one).
bool isHardBreak(char16_t unit)
{
    return unit == u'\n' || unit == u'\r' || unit == 0x2029 || unit == 0xFDD0 || unit == 0xFDD1;
}

/// The line-break opportunities in (from, to] of text, last first. The unit after `to`, when
/// there is one, is analysed too, so that an opportunity at `to` is a real one.
std::vector<qsizetype> lineBreaksBackward(QStringView text, qsizetype from, qsizetype to)
{
    std::vector<qsizetype> breaks;
    const qsizetype windowEnd = std::min(to + 1, text.size());
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text.data() + from, windowEnd - from);
    finder.setPosition(to - from + 1);
    for (qsizetype at = finder.toPreviousBoundary(); at > 0; at = finder.toPreviousBoundary()) {
        if (at <= to - from && finder.boundaryReasons() & QTextBoundaryFinder::BreakOpportunity)
            breaks.push_back(from + at);
    }
    return breaks;
}

/// Where the piece that starts at `start` (a character boundary) and may run to `limit` (a unit
/// inside its paragraph) is cut: after the last space in its final quarter, else at the last
/// line-break opportunity close before the limit, else at the last character boundary; always
/// at a character boundary, after the limit only when one character is longer than the piece.
qsizetype cutPosition(QStringView text, qsizetype start, qsizetype limit)
{
    const std::vector<qsizetype> ends = characterEnds(text, start, limit);
    const auto isBoundary
        = [&ends](qsizetype at) { return std::binary_search(ends.begin(), ends.end(), at); };
    const qsizetype quarter = std::max<qsizetype>(1, (limit - start) / 4);
    for (qsizetype at = limit - 1; at >= limit - quarter; --at)
        if (text[at] == u' ' && isBoundary(at + 1))
            return at + 1;
    const qsizetype lineFrom = std::max(start, limit - std::min(quarter, lineBreakReach));
    for (const qsizetype at : lineBreaksBackward(text, lineFrom, limit))
        if (isBoundary(at))
            return at;
    const auto last = std::upper_bound(ends.begin(), ends.end(), limit);
    return last != ends.begin() ? *std::prev(last) : ends.front();
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
            if (pieceStart >= at)
                break; // one character runs to the paragraph's end
            breaks.push_back(pieceStart);
        }
        paragraphStart = at + 1;
    }
    return breaks;
}

qsizetype hardBreakLength(QStringView text, qsizetype at)
{
    if (!isHardBreak(text[at].unicode()))
        return 0;
    return text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n' ? 2 : 1;
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

void keepLongBlockLayouts(QTextDocument &document)
{
    // Reported before the layout sees the change, so the block is laid out with its cache on; a
    // document reports changes only once it has a layout.
    document.documentLayout();
    QObject::connect(
        &document, &QTextDocument::contentsChange, &document, [&document](int from, int, int charsAdded) {
            for (QTextBlock block = document.findBlock(from);
                 block.isValid() && block.position() <= from + charsAdded; block = block.next())
                if (block.length() > displayBlockLength)
                    block.layout()->setCacheEnabled(true);
        });
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
