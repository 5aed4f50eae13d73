#pragma once

#include <QFont>
#include <QObject>
#include <QString>
#include <QStringView>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextOption>
#include <QTimer>

#include <limits>
#include <optional>
#include <utility>
#include <vector>

class QPlainTextEdit;

namespace rainbow::ui {

// The toolkit lays out a whole paragraph at once, however little of it shows: a line of a million
// characters takes seconds. So the boxes hold a long paragraph as display blocks of at most
// displayBlockLength units, joined by soft breaks: block separators marked in their character
// format, no part of the text, left out by everything that reads or copies a box.

/// The longest paragraph a box holds as one block.
inline constexpr qsizetype displayBlockLength = 4096;

/// The longest paragraph cut at once where the box wraps its lines: finding those places lays it
/// out once more (about a microsecond a unit). A longer one is cut without the wrap, and its soft
/// breaks move to line starts while the window waits (LongText::alignAll).
inline constexpr qsizetype wrappedParagraphLength = qsizetype(1) << 19;

/// How a box wraps its lines: its font, text option and the width its lines take.
struct LineWrap {
    QFont font;
    QTextOption option;
    qreal width = 0;

    /// The wrap of a box as its document's layout lays it out; a box without a width wraps nowhere.
    static LineWrap of(const QPlainTextEdit &box);

    /// The start of the last line in (start, limit] of text laid out from start (which starts a
    /// line) a little past limit; -1 when no line starts there.
    qsizetype lastLineStart(QStringView text, qsizetype start, qsizetype limit) const;
};

/// The offsets in a text before which a soft break goes, in order, each found when asked for, so
/// that a text written in pieces is read only as far as it has been written. Hard breaks are
/// "\r\n", "\r", "\n" and U+2029. A paragraph longer than maxLength is cut into pieces of at most
/// maxLength units: with a line wrap and up to wrappedParagraphLength units, where the wrap starts
/// a line; else after the last space in its final quarter, else at the last line-break
/// opportunity close before its end, else at the last boundary between user-perceived characters.
/// Never inside a character: one longer than a piece makes its piece longer.
class SoftBreakFinder {
public:
    explicit SoftBreakFinder(QStringView text, std::optional<LineWrap> wrap = std::nullopt,
        qsizetype maxLength = displayBlockLength);

    /// The next soft break, looked for only in display blocks that start before `before` (it may
    /// lie after that); text.size() + 1 when there is none there, and a later call with a larger
    /// `before` looks on from there.
    qsizetype next(qsizetype before = std::numeric_limits<qsizetype>::max());

    /// Whether a soft break found with a line wrap may not be where the box starts a line.
    bool cutOffLines() const { return m_cutOffLines; }

private:
    /// Whether the paragraph that holds the current piece is cut where the box wraps.
    bool wrapsCurrentParagraph();

    QStringView m_text;
    qsizetype m_maxLength;
    std::optional<LineWrap> m_wrap;
    qsizetype m_pieceStart = 0; // where the current display block starts
    qsizetype m_paragraphEnd = -1; // the end of the paragraph last looked at, -1 before
    bool m_paragraphWraps = false;
    bool m_cutOffLines = false;
};

/// The units of the hard break at text[at]: 2 for "\r\n", 1 for another, 0 for no hard break.
qsizetype hardBreakLength(QStringView text, qsizetype at);

/// The text as documentText reads it back once written: each hard break one "\n". Shares the
/// text when it has no other hard break.
QString withNewlineBreaks(const QString &text);

/// Whether the block separator just before block is a soft break (never so for the first block).
bool followsSoftBreak(const QTextBlock &block);

/// The format without the mark of a soft break, which only separators should carry: text typed
/// into a block the user emptied takes the format of the separator before it.
QTextCharFormat withoutSoftBreakMark(QTextCharFormat format);

/// The text of the document positions [from, to): hard breaks as "\n", soft breaks left out, every
/// other character (no-break spaces too) as it is.
QString textBetween(const QTextDocument &document, int from, int to);

/// The whole text of the document, as textBetween gives it.
QString documentText(const QTextDocument &document);

/// Writes a text at a cursor in consecutive pieces, each in a format of its own, with soft breaks
/// where SoftBreakFinder puts them and hard breaks as QTextCursor::insertText makes them.
class DisplayBlockWriter {
public:
    DisplayBlockWriter(QTextCursor &cursor, const QString &text, std::optional<LineWrap> wrap = std::nullopt,
        qsizetype maxLength = displayBlockLength);

    /// Writes the text from where the last call stopped up to end (exclusive) in format.
    void writeUntil(qsizetype end, const QTextCharFormat &format);

    /// The units of the text written so far.
    qsizetype written() const { return m_written; }

    /// SoftBreakFinder::cutOffLines of what was written so far.
    bool cutOffLines() const { return m_breaks.cutOffLines(); }

private:
    QTextCursor &m_cursor;
    const QString &m_text;
    SoftBreakFinder m_breaks;
    qsizetype m_nextBreak = -1; // the next soft break once found, -1 before
    qsizetype m_written = 0;
};

/// A box's text held as display blocks, as the box and its screen reader use it: offsets and
/// visual lines, and the soft breaks, which it moves to where the box starts its lines while the
/// window waits. Each box of long text owns one, as its child.
class LongText : public QObject {
    Q_OBJECT

public:
    /// A visual line: its first text offset and the first of the next line.
    using Line = std::pair<int, int>;

    explicit LongText(QPlainTextEdit &box);

    /// The one a box owns; nullptr for another object.
    static LongText *of(const QObject *box);

    /// The document position of a text offset (0..text length): a soft break adds a position, so
    /// an offset where one sits gives the start of the block after it.
    int position(int offset) const;

    /// The text offset of a document position: the soft breaks before it are no part of the text.
    int offset(int position) const;

    /// The visual line that holds the text offset (the last one for the text's end), with the line
    /// break that ends it. Lays its block out if it has not shown yet.
    Line lineAt(int offset) const;

    /// After the user changed the text from position to the caret: moves the soft breaks from
    /// there to where the box starts its lines, at once those that show and the rest while the
    /// window waits, up to the first in its place after the edit; then goes on with the pass the
    /// edit came into, if any.
    void alignAfterEdit(int position);

    /// The same for an edit that ended at end rather than at the caret (a screen reader's).
    void alignAfterEdit(int position, const QTextCursor &end);

    /// Moves every soft break to where the box starts its lines while the window waits.
    void alignAll();

    /// Whether a soft break is moving: any other change of the document pauses the aligning.
    bool isMoving() const { return m_moving; }

signals:
    /// The soft break after the block numbered `number` moved or went (its blocks joined).
    void softBreakMoved(int number);

    /// Aligning ran out of memory or failed otherwise; message is the status line's words for it.
    void failed(const QString &message);

private:
    /// Aligns the soft breaks from m_aligned on, at most `blocks` of them and for a few
    /// milliseconds; stops before an edit that would take the user's redo away.
    void alignSome(int blocks);

    /// Moves the soft break after m_aligned's block to where the box starts its last line within
    /// displayBlockLength units. Returns the block after it, whose own soft break may need moving
    /// in turn; an invalid block when it was in its place.
    QTextBlock alignNext(const LineWrap &wrap);

    void stop();

    /// What a failed alignment does: stops it and reports it.
    auto failing();

    QPlainTextEdit &m_box;
    QTextCursor m_aligned; // in the block whose soft break is the next to align, while aligning
    QTextCursor m_alignEnd; // where the edit being aligned after ended
    QTextCursor m_pending, m_pendingEnd; // what an edit left of the pass it interrupted
    QTimer m_timer;
    bool m_moving = false;
};

/// An edit a box makes on its own, the document's notices held to its end: part of the user's last
/// step to undo when join is set and there is one, else out of the undo history.
class OwnEdit {
public:
    OwnEdit(QTextCursor &cursor, bool join);
    ~OwnEdit();
    OwnEdit(const OwnEdit &) = delete;
    OwnEdit &operator=(const OwnEdit &) = delete;

private:
    QTextCursor &m_cursor;
    bool m_undo;
};

} // namespace rainbow::ui
