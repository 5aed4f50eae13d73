#pragma once

#include <QFont>
#include <QString>
#include <QStringView>
#include <QTextCharFormat>
#include <QTextOption>

#include <limits>
#include <optional>
#include <vector>

class QPlainTextEdit;
class QTextBlock;
class QTextCursor;
class QTextDocument;

namespace rainbow::ui {

// The toolkit lays out a whole paragraph at once, however little of it shows: a line of a
// million characters takes seconds. So the output box and the preview hold a long paragraph as
// display blocks of at most displayBlockLength units, joined by soft breaks. A soft break is a
// block separator marked in its character format; it is no part of the text, and everything that
// reads or copies a box leaves it out.

/// The longest paragraph a box holds as one block.
inline constexpr qsizetype displayBlockLength = 4096;

/// The longest paragraph whose display blocks end where the box wraps its lines. Finding those
/// places lays the paragraph out once more (about a microsecond a unit), so a longer one is cut
/// at the places softBreakPositions gives at first, and its soft breaks are moved where lines
/// start (alignSoftBreakAfter) while the window waits.
inline constexpr qsizetype wrappedParagraphLength = qsizetype(1) << 19;

/// How a box wraps its lines: its font, text option and the width its lines take.
struct LineWrap {
    QFont font;
    QTextOption option;
    qreal width = 0;

    /// The wrap of a box as its document's layout lays it out; a box without a width wraps nowhere.
    static LineWrap of(const QPlainTextEdit &box);

    /// Where a display block that starts a line at `start` is best cut before or at limit: the start
    /// of the last line the box begins there, laying out the text from start a little past limit;
    /// -1 when no line begins in (start, limit].
    qsizetype lastLineStart(QStringView text, qsizetype start, qsizetype limit) const;
};

/// The offsets in text before which a soft break goes, in order. Hard breaks are "\r\n", "\r",
/// "\n" and U+2029. A paragraph longer than maxLength is cut into pieces of at most maxLength
/// units, each cut after the last space in the final quarter of its piece, else at the last
/// line-break opportunity close before it, else at the last boundary between user-perceived
/// characters. Never inside a character: one longer than a piece makes its piece longer.
std::vector<qsizetype> softBreakPositions(QStringView text, qsizetype maxLength = displayBlockLength);

/// softBreakPositions one at a time, each found when asked for: a text written in pieces is read
/// only as far as it has been written.
class SoftBreakFinder {
public:
    explicit SoftBreakFinder(QStringView text, qsizetype maxLength = displayBlockLength);

    /// Cuts paragraphs of up to wrappedParagraphLength units where wrap wraps them instead, so
    /// that the blocks show the paragraph's lines: each block then starts a line.
    SoftBreakFinder(QStringView text, const LineWrap &wrap, qsizetype maxLength = displayBlockLength);

    /// The next soft break, looked for only in display blocks that start before `before` (it may
    /// lie after that); past the text's end (text.size() + 1) when there is none there, and a
    /// later call with a larger `before` looks on from there.
    qsizetype next(qsizetype before = std::numeric_limits<qsizetype>::max());

    /// Whether a soft break found with a line wrap may not be where the box starts a line (in a
    /// paragraph longer than wrappedParagraphLength): alignSoftBreakAfter puts it there later.
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

/// The units of the hard break that starts at text[at]: 2 for "\r\n", 1 for any other (a lone
/// "\r", "\n", U+2029), 0 for a character that is no hard break.
qsizetype hardBreakLength(QStringView text, qsizetype at);

/// The text as documentText reads it back from a document it was written into: each hard break
/// one "\n". Shares the text when it has no other hard break.
QString withNewlineBreaks(const QString &text);

/// Whether the block separator just before block is a soft break (never so for the first block).
bool followsSoftBreak(const QTextBlock &block);

/// Whether a character format carries the mark of a soft break. Only separators should: text
/// typed into a block the user emptied takes the format of the separator before it.
bool marksSoftBreak(const QTextCharFormat &format);

/// The format without the mark of a soft break.
QTextCharFormat withoutSoftBreakMark(QTextCharFormat format);

/// The text of the document positions [from, to): hard breaks as "\n", soft breaks left out, every
/// other character (no-break spaces too) as it is.
QString textBetween(const QTextDocument &document, int from, int to);

/// The whole text of the document, as textBetween gives it.
QString documentText(const QTextDocument &document);

/// Moves the soft break after block, if there is one, to where the box wrapping block starts its
/// last line within displayBlockLength units (after an edit, say). Returns the block after the moved
/// soft break, whose own soft break may need moving in turn; an invalid block when the soft break
/// was in its place already, or block has none. An edit of the document at cursor.
QTextBlock alignSoftBreakAfter(QTextCursor &cursor, const QTextBlock &block, const LineWrap &wrap);

/// Writes a text at a cursor in consecutive pieces, each in a format of its own, and puts soft
/// breaks where softBreakPositions says. Hard breaks become block separators as with
/// QTextCursor::insertText.
class DisplayBlockWriter {
public:
    DisplayBlockWriter(QTextCursor &cursor, const QString &text, qsizetype maxLength = displayBlockLength);

    /// Cuts as SoftBreakFinder with a line wrap does: the text is written where a line starts.
    DisplayBlockWriter(QTextCursor &cursor, const QString &text, const LineWrap &wrap);

    /// Writes the text from where the last call stopped up to end (exclusive) in format.
    void writeUntil(qsizetype end, const QTextCharFormat &format);

    /// The text offset of the first character of each block written so far (the first block's
    /// too), read from the text and the soft breaks written rather than from the document.
    std::vector<qsizetype> blockStarts() const;

    /// SoftBreakFinder::cutOffLines of what was written so far.
    bool cutOffLines() const { return m_breaks.cutOffLines(); }

private:
    QTextCursor &m_cursor;
    const QString &m_text;
    SoftBreakFinder m_breaks;
    qsizetype m_nextBreak = -1; // the next soft break once found, -1 before
    qsizetype m_written = 0;
    std::vector<qsizetype> m_softBreaks; // those written
};

} // namespace rainbow::ui
