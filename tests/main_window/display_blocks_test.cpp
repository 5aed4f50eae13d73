#include "display_blocks.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace rainbow;

namespace {

bool isHardBreak(QChar c) { return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator; }

/// The text as a box shows it: each hard break, "\r\n" included, one "\n".
QString withOneBreakEach(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

QString repeated(const QString &piece, int times)
{
    QString text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

} // namespace

TEST(SoftBreakPositions, CutLongParagraphsAtTheBestPlaceNearTheLimit)
{
    struct Case {
        const char *name;
        QString text;
        qsizetype maxLength;
        std::vector<qsizetype> breaks;
    };
    const QString markup = QStringLiteral("[color=#FF0000]a[/color][color=#00FF00]b[/color]");
    const Case cases[] = {
        { "a paragraph that fits stays whole", QStringLiteral("abcdefgh"), 8, {} },
        { "after the last space of the final quarter", QStringLiteral("aaaa bbbb cccc dddd"), 12, { 10 } },
        { "a space early in the piece is too far back", QStringLiteral("a bbbbbbbbbbbbbbbbbbb"), 12, { 12 } },
        { "every hard break starts a new count",
            QStringLiteral("abcdef\nabcdef\r\nabcdef\rabcdef\u2029abcdef"), 6, {} },
        { "between ideographs, where a line may break", QStringLiteral("青柚彩虹文字在线生成工具"), 5,
            { 5, 10 } },
        { "markup between two fragments", markup, 26, { 24 } },
        { "never inside a letter with its accents",
            repeated(QStringLiteral("a"), 14) + QStringLiteral("e\u0301\u0302")
                + repeated(QStringLiteral("b"), 10),
            16, { 14 } },
        { "never between the halves of a surrogate pair", repeated(QStringLiteral("😀"), 10), 7,
            { 6, 12, 18 } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<qsizetype> breaks = ui::softBreakPositions(c.text, c.maxLength);
        EXPECT_EQ(breaks, c.breaks);
        // Whatever the places: pieces fit, and no break touches a hard one or the ends.
        qsizetype pieceStart = 0;
        size_t next = 0;
        for (qsizetype at = 0; at <= c.text.size(); ++at) {
            const bool hard = at == c.text.size() || isHardBreak(c.text[at]);
            const bool soft = next < breaks.size() && breaks[next] == at;
            if (!hard && !soft)
                continue;
            EXPECT_LE(at - pieceStart, c.maxLength) << "piece ending at " << at;
            if (soft) {
                EXPECT_GT(at, pieceStart) << "empty piece before " << at;
                EXPECT_FALSE(hard) << "soft break at a hard one, " << at;
                ++next;
            }
            pieceStart = hard ? at + 1 : at;
        }
        EXPECT_EQ(next, breaks.size()) << "breaks out of order or outside the text";
    }
}

// Whatever the pieces and their formats, reading the document back gives the text, and reading
// any two consecutive stretches gives what reading both at once gives.
TEST(DisplayBlockWriter, TheDocumentReadsBackAsTheTextWithoutSoftBreaks)
{
    struct Case {
        const char *name;
        QString text;
    };
    const Case cases[] = {
        { "one long line of words",
            QStringLiteral("The quick brown fox jumps over the lazy dog, twice over.") },
        { "long lines between hard breaks of every kind",
            QStringLiteral(
                "青柚彩虹文字在线生成工具\r\n渐变色彩虹色对称逆虹\rabcdefghijklmnop\u2029qrstuvwxyz\n") },
        { "no-break spaces and line separators stay",
            QStringLiteral("a\u00a0b\u00a0c\u2028d\u00a0efghijklmnopq") },
        { "emoji and accents", QStringLiteral("😀😀😀😀😀😀e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301") },
        { "empty", QString() },
    };
    constexpr qsizetype maxLength = 8;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument document;
        QTextCursor cursor(&document);
        ui::DisplayBlockWriter writer(cursor, c.text, maxLength);
        QTextCharFormat red;
        red.setForeground(Qt::red);
        // Pieces of 3 units in turns of two formats: piece ends fall on and beside the breaks.
        for (qsizetype end = 3; end < c.text.size(); end += 3)
            writer.writeUntil(end, end % 2 ? red : QTextCharFormat());
        writer.writeUntil(c.text.size(), QTextCharFormat());

        const QString expected = withOneBreakEach(c.text);
        const QString read = ui::documentText(document);
        EXPECT_EQ(read, expected);
        const qsizetype softBreaks = qsizetype(ui::softBreakPositions(c.text, maxLength).size());
        EXPECT_EQ(document.blockCount(), expected.count(u'\n') + softBreaks + 1);
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            EXPECT_LE(block.length() - 1, maxLength);

        const int end = document.characterCount() - 1;
        for (int split = 0; split <= end; ++split)
            ASSERT_EQ(ui::textBetween(document, 0, split) + ui::textBetween(document, split, end), read)
                << "split at " << split;
    }
}
