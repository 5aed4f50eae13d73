#include "ui/main_window/long_text.h"

#include "convert/characters.h"
#include "ui/main_window/handler_guard.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <utility>

namespace rainbow::ui {

/// Gives the boxes of long text an accessible text without soft breaks, with offsets into it and
/// the visual lines as shown (text_box_accessible.cpp).
void installTextBoxAccessible();

namespace {

constexpr int softBreakProperty = QTextFormat::UserProperty + 0x5B;

// How far past a piece's limit its text is laid out, so that the last line before the limit sees
// what follows it.
constexpr qsizetype lookahead = 64;

// How far back from a piece's limit a line-break opportunity is looked for: the search runs the
// toolkit's text analysis, so it looks at a few dozen units only.
constexpr qsizetype lineBreakReach = 64;

/// The characters QTextCursor::insertText turns into block separators ("\r\n" makes one).
/// Without branches, so that a loop over many units can test several at once.
bool isHardBreak(char16_t unit)
{
    return (unit == u'\n') | (unit == u'\r') | (unit == 0x2029) | ((unit | 1) == 0xFDD1);
}

/// The first hard break in text [from, to), else to. Markup has a hard break every few thousand
/// units at most, so the units are tested a stride at a time, and one by one only in the stride
/// that holds one.
qsizetype findHardBreak(QStringView text, qsizetype from, qsizetype to)
{
    constexpr qsizetype stride = 32;
    const char16_t *units = text.utf16();
    qsizetype at = from;
    for (; at + stride <= to; at += stride) {
        bool any = false;
        for (qsizetype i = 0; i < stride; ++i)
            any |= isHardBreak(units[at + i]);
        if (any)
            break;
    }
    for (; at < to; ++at)
        if (isHardBreak(units[at]))
            return at;
    return to;
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

/// The format of a block separator that is a soft break.
const QTextCharFormat &softBreakFormat()
{
    static const QTextCharFormat softBreak = [] {
        QTextCharFormat marked;
        marked.setProperty(softBreakProperty, true);
        return marked;
    }();
    return softBreak;
}

} // namespace

LineWrap LineWrap::of(const QPlainTextEdit &box)
{
    const QTextDocument &document = *box.document();
    LineWrap wrap { document.defaultFont(), document.defaultTextOption(), 0 };
    // The width the box gives its document's layout, less the margins the layout keeps.
    qreal width = box.lineWrapMode() == QPlainTextEdit::WidgetWidth ? box.viewport()->width() : 0;
    // Only a text longer than a display block is cut, and it overflows any box: a scroll bar
    // shown when needed is shown by the time it is laid out.
    const QScrollBar &bar = *box.verticalScrollBar();
    if (box.verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded && !bar.isVisibleTo(&box))
        width -= bar.sizeHint().width();
    wrap.width = width > 0 ? width - 2 * document.documentMargin() : 0;
    return wrap;
}

qsizetype LineWrap::lastLineStart(QStringView text, qsizetype start, qsizetype limit) const
{
    if (width <= 0 || option.wrapMode() == QTextOption::NoWrap)
        return -1;
    const qsizetype end = std::min(text.size(), limit + lookahead);
    QTextLayout layout(text.mid(start, end - start).toString(), font);
    layout.setTextOption(option);
    layout.setCacheEnabled(false);
    qsizetype last = -1;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (line.textStart() > 0) {
            if (start + line.textStart() > limit)
                break;
            last = start + line.textStart();
        }
    }
    layout.endLayout();
    return last;
}

SoftBreakFinder::SoftBreakFinder(QStringView text, std::optional<LineWrap> wrap, qsizetype maxLength)
    : m_text(text)
    , m_maxLength(maxLength)
    , m_wrap(std::move(wrap))
{
}

bool SoftBreakFinder::wrapsCurrentParagraph()
{
    if (!m_wrap)
        return false;
    if (m_pieceStart > m_paragraphEnd) {
        // Looked for no further than the longest paragraph that wraps.
        const qsizetype reach = std::min(m_text.size(), m_pieceStart + wrappedParagraphLength + 1);
        m_paragraphEnd = findHardBreak(m_text, m_pieceStart, reach);
        m_paragraphWraps = m_paragraphEnd < reach || reach == m_text.size();
        if (!m_paragraphWraps)
            m_paragraphEnd = findHardBreak(m_text, reach, m_text.size());
    }
    return m_paragraphWraps;
}

qsizetype SoftBreakFinder::next(qsizetype before)
{
    const qsizetype size = m_text.size();
    // Only a paragraph longer than a piece is cut, so its end is looked for no further than that.
    while (m_pieceStart < before && m_pieceStart + m_maxLength < size) {
        const qsizetype limit = m_pieceStart + m_maxLength;
        const qsizetype hard = findHardBreak(m_text, m_pieceStart, limit + 1);
        if (hard <= limit) {
            m_pieceStart = hard + 1;
            continue;
        }
        const qsizetype wrapped
            = wrapsCurrentParagraph() ? m_wrap->lastLineStart(m_text, m_pieceStart, limit) : -1;
        const qsizetype cut = wrapped > m_pieceStart ? wrapped : cutPosition(m_text, m_pieceStart, limit);
        m_cutOffLines |= m_wrap && wrapped <= m_pieceStart;
        // One character longer than the piece may run to the paragraph's end.
        const qsizetype paragraphEnd
            = cut > limit ? findHardBreak(m_text, limit + 1, std::min(cut + 1, size)) : size;
        if (paragraphEnd <= cut) {
            m_pieceStart = paragraphEnd + 1;
            continue;
        }
        m_pieceStart = cut;
        return cut;
    }
    return size + 1;
}

qsizetype hardBreakLength(QStringView text, qsizetype at)
{
    if (!isHardBreak(text[at].unicode()))
        return 0;
    return text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n' ? 2 : 1;
}

QString withNewlineBreaks(const QString &text)
{
    const auto isOtherBreak = [](QChar unit) { return unit != u'\n' && isHardBreak(unit.unicode()); };
    if (std::none_of(text.begin(), text.end(), isOtherBreak))
        return text;
    QString read = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::replace_if(read.begin(), read.end(), isOtherBreak, QChar(u'\n'));
    return read;
}

bool followsSoftBreak(const QTextBlock &block)
{
    return block.position() > 0 && block.charFormat().boolProperty(softBreakProperty);
}

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

DisplayBlockWriter::DisplayBlockWriter(
    QTextCursor &cursor, const QString &text, std::optional<LineWrap> wrap, qsizetype maxLength)
    : m_cursor(cursor)
    , m_text(text)
    , m_breaks(text, std::move(wrap), maxLength)
{
}

void DisplayBlockWriter::writeUntil(qsizetype end, const QTextCharFormat &format)
{
    for (;;) {
        if (m_nextBreak < 0)
            m_nextBreak = m_breaks.next(end);
        if (m_nextBreak >= end)
            break;
        if (m_nextBreak > m_written)
            m_cursor.insertText(m_text.mid(m_written, m_nextBreak - m_written), format);
        m_cursor.insertBlock(m_cursor.blockFormat(), softBreakFormat());
        m_written = m_nextBreak;
        m_nextBreak = -1;
    }
    if (m_nextBreak > m_text.size())
        m_nextBreak = -1; // none before end: look further next time
    if (end > m_written)
        m_cursor.insertText(m_text.mid(m_written, end - m_written), format);
    m_written = std::max(m_written, end);
}

auto LongText::failing()
{
    return [this](const QString &message) {
        m_moving = false;
        stop();
        emit failed(message);
    };
}

LongText::LongText(QPlainTextEdit &box)
    : QObject(&box)
    , m_box(box)
{
    installTextBoxAccessible();
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this,
        [this] { runGuarded([this] { alignSome(std::numeric_limits<int>::max()); }, failing()); });
    // Any change but its own pauses the aligning, which the user's next edit resumes after its
    // own. Only the timer stops: the document may be going through its cursors as it reports it.
    connect(box.document(), &QTextDocument::contentsChanged, this, [this] {
        if (!m_moving)
            m_timer.stop();
    });
}

LongText *LongText::of(const QObject *box)
{
    return box ? box->findChild<LongText *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

int LongText::position(int offset) const
{
    int softBreaks = 0;
    for (QTextBlock block = m_box.document()->begin().next(); block.isValid(); block = block.next()) {
        // Up to the first soft break that sits past the offset in the text.
        if (followsSoftBreak(block) && block.position() - 1 - softBreaks > offset)
            break;
        softBreaks += followsSoftBreak(block);
    }
    return std::clamp(offset + softBreaks, 0, m_box.document()->characterCount() - 1);
}

int LongText::offset(int position) const
{
    int softBreaks = 0;
    for (QTextBlock block = m_box.document()->begin().next(); block.isValid() && block.position() <= position;
         block = block.next())
        softBreaks += followsSoftBreak(block);
    return position - softBreaks;
}

LongText::Line LongText::lineAt(int offset) const
{
    const QTextDocument &document = *m_box.document();
    const int at = position(offset);
    const QTextBlock block = document.findBlock(at);
    document.documentLayout()->blockBoundingRect(block);
    const QTextLayout *layout = block.layout();
    const QTextLine line = layout ? layout->lineForTextPosition(at - block.position()) : QTextLine();
    int first = 0;
    int next = block.length() - (block.next().isValid() ? 0 : 1); // past the separator
    if (line.isValid()) {
        first = line.textStart();
        if (line.lineNumber() + 1 < layout->lineCount())
            next = layout->lineAt(line.lineNumber() + 1).textStart();
    }
    return { this->offset(block.position() + first), this->offset(block.position() + next) };
}

void LongText::alignAfterEdit(int position) { alignAfterEdit(position, m_box.textCursor()); }

void LongText::alignAfterEdit(int position, const QTextCursor &end)
{
    runGuarded(
        [&] {
            QTextBlock block = m_box.document()->findBlock(position);
            if (!block.isValid())
                return;
            // What follows a soft break can move the line break before it.
            if (followsSoftBreak(block))
                block = block.previous();
            // A pass this edit interrupts goes on after it, from the first block it had not reached.
            if (!m_aligned.isNull() && (m_pending.isNull() || m_aligned < m_pending))
                m_pending = m_aligned;
            if (!m_alignEnd.isNull() && (m_pendingEnd.isNull() || m_pendingEnd < m_alignEnd))
                m_pendingEnd = m_alignEnd;
            m_aligned = QTextCursor(block);
            m_alignEnd = end;
            // The edited block and the one after it are those that show.
            alignSome(2);
        },
        failing());
}

void LongText::alignAll()
{
    m_pending = m_pendingEnd = QTextCursor();
    m_aligned = QTextCursor(m_box.document());
    m_alignEnd = QTextCursor(m_box.document()->lastBlock());
    m_timer.start();
}

void LongText::stop()
{
    m_timer.stop();
    m_aligned = m_alignEnd = m_pending = m_pendingEnd = QTextCursor();
}

void LongText::alignSome(int blocks)
{
    m_timer.stop();
    const QTextDocument &document = *m_box.document();
    const LineWrap wrap = LineWrap::of(m_box);
    // A few milliseconds a step, so that input that comes meanwhile waits no longer than that.
    constexpr qint64 stepMilliseconds = 8;
    QElapsedTimer spent;
    spent.start();
    for (int aligned = 0; aligned < blocks && !m_aligned.isNull() && spent.elapsed() < stepMilliseconds;) {
        if (document.availableRedoSteps() > 0)
            break;
        const QTextBlock after = m_aligned.block().next();
        QTextBlock next;
        if (after.isValid() && followsSoftBreak(after)) {
            next = alignNext(wrap);
            ++aligned;
        }
        // In its place, or no soft break: the blocks up to the end of the edit are looked at still.
        if (!next.isValid() && after.isValid() && after.position() <= m_alignEnd.position())
            next = m_aligned.block().next();
        // Made anew rather than moved: a cursor that moves looks up its place in the line,
        // which analyses the block's text.
        m_aligned = next.isValid() ? QTextCursor(next) : QTextCursor();
    }
    if (m_aligned.isNull()) {
        m_aligned = std::exchange(m_pending, QTextCursor());
        m_alignEnd = std::exchange(m_pendingEnd, QTextCursor());
    }
    if (!m_aligned.isNull() && document.availableRedoSteps() == 0)
        m_timer.start();
    else
        stop();
}

QTextBlock LongText::alignNext(const LineWrap &wrap)
{
    const QTextBlock block = m_aligned.block();
    const QTextBlock next = block.next();
    // Both blocks, and what follows them.
    QString joined = block.text() + next.text();
    const qsizetype both = joined.size();
    const QTextBlock after = next.next();
    const bool lastOfParagraph = !after.isValid() || !followsSoftBreak(after);
    if (!lastOfParagraph)
        joined += QStringView(after.text()).left(lookahead);
    // The end of a paragraph short enough for one block needs no soft break, as when written.
    const qsizetype lineStart = lastOfParagraph && both <= displayBlockLength
        ? both
        : wrap.lastLineStart(joined, 0, std::min(displayBlockLength, both));
    if (lineStart == block.length() - 1 || lineStart < 0)
        return {};
    const int start = block.position();
    const int number = block.blockNumber();
    {
        // Part of the user's last step, so that undoing it undoes this too.
        m_moving = true;
        const OwnEdit edit(m_aligned, true);
        // The colours and state of a block (the preview's) are those of its text before.
        for (QTextBlock changed : { block, next }) {
            changed.layout()->clearFormats();
            changed.setUserState(-1);
        }
        m_aligned.setPosition(next.position() - 1);
        m_aligned.deleteChar();
        if (lineStart < both) {
            m_aligned.setPosition(start + int(lineStart));
            m_aligned.insertBlock(m_aligned.blockFormat(), softBreakFormat());
        }
    }
    m_moving = false;
    emit softBreakMoved(number);
    if (lineStart < both)
        return m_aligned.block();
    // One block now: its end is the next to align.
    return lastOfParagraph ? QTextBlock() : m_box.document()->findBlock(start);
}

OwnEdit::OwnEdit(QTextCursor &cursor, bool join)
    : m_cursor(cursor)
    , m_undo(cursor.document()->isUndoRedoEnabled())
{
    if (join && cursor.document()->isUndoAvailable()) {
        m_cursor.joinPreviousEditBlock();
        return;
    }
    cursor.document()->setUndoRedoEnabled(false);
    m_cursor.beginEditBlock();
}

OwnEdit::~OwnEdit()
{
    m_cursor.endEditBlock();
    if (m_undo != m_cursor.document()->isUndoRedoEnabled())
        m_cursor.document()->setUndoRedoEnabled(m_undo);
}

} // namespace rainbow::ui
