#include "ui/main_window/long_text.h"

#include "convert/characters.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>

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

/// Every soft break the finder puts into text, in order.
std::vector<qsizetype> softBreaks(
    const QString &text, qsizetype maxLength = ui::displayBlockLength, std::optional<ui::LineWrap> wrap = {})
{
    ui::SoftBreakFinder finder(text, std::move(wrap), maxLength);
    std::vector<qsizetype> breaks;
    for (qsizetype at = finder.next(); at < text.size(); at = finder.next())
        breaks.push_back(at);
    return breaks;
}

QString repeated(const QString &piece, int times)
{
    QString text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

} // namespace

TEST(SoftBreakFinder, CutLongParagraphsAtTheBestPlaceNearTheLimit)
{
    struct Case {
        const char *name;
        QString text;
        qsizetype maxLength;
        std::vector<qsizetype> breaks;
        bool placesGiven = true; // false: only what must hold whatever the places is checked
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
        { "a character longer than a piece makes a piece of its own",
            QStringLiteral("ab") + QStringLiteral("e") + repeated(QStringLiteral("\u0301"), 20)
                + QStringLiteral("cd"),
            8, { 2, 23 } },
        { "never after a space that carries a mark", QString::fromUtf16(u"aaaa bbbb \u0301ccc dddd"), 12, {},
            false },
        { "Devanagari words", repeated(QString::fromUtf16(u"नमस्ते "), 9), 10, {}, false },
        { "Thai without spaces", repeated(QString::fromUtf16(u"ไทยกำ"), 9), 7, {}, false },
        { "Myanmar and emoji with modifiers", repeated(QString::fromUtf16(u"မြန်👍🏽❤️"), 9),
            9, {}, false },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<qsizetype> breaks = softBreaks(c.text, c.maxLength);
        if (c.placesGiven) {
            EXPECT_EQ(breaks, c.breaks);
        }
        // Whatever the places: every break falls between two characters, pieces fit unless they
        // are one character, and no break touches a hard one or the ends.
        const CharacterText characters(c.text);
        std::vector<qsizetype> boundaries;
        for (qsizetype i = 0; i <= characters.size(); ++i)
            boundaries.push_back(characters.unitStart(i));
        qsizetype pieceStart = 0;
        size_t next = 0;
        for (qsizetype at = 0; at <= c.text.size(); ++at) {
            const bool hard = at == c.text.size() || isHardBreak(c.text[at]);
            const bool soft = next < breaks.size() && breaks[next] == at;
            if (!hard && !soft)
                continue;
            const auto first = std::upper_bound(boundaries.begin(), boundaries.end(), pieceStart);
            if (first != boundaries.end() && *first < at) {
                EXPECT_LE(at - pieceStart, c.maxLength) << "piece ending at " << at;
            }
            if (soft) {
                EXPECT_TRUE(std::binary_search(boundaries.begin(), boundaries.end(), at))
                    << "break inside a character at " << at;
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
        ui::DisplayBlockWriter writer(cursor, c.text, std::nullopt, maxLength);
        QTextCharFormat red;
        red.setForeground(Qt::red);
        // Pieces of 3 units in turns of two formats: piece ends fall on and beside the breaks.
        for (qsizetype end = 3; end < c.text.size(); end += 3)
            writer.writeUntil(end, end % 2 ? red : QTextCharFormat());
        writer.writeUntil(c.text.size(), QTextCharFormat());

        const QString expected = withOneBreakEach(c.text);
        const QString read = ui::documentText(document);
        EXPECT_EQ(read, expected);
        const qsizetype breaks = qsizetype(softBreaks(c.text, maxLength).size());
        EXPECT_EQ(document.blockCount(), expected.count(u'\n') + breaks + 1);
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            EXPECT_LE(block.length() - 1, maxLength);

        const int end = document.characterCount() - 1;
        for (int split = 0; split <= end; ++split)
            ASSERT_EQ(ui::textBetween(document, 0, split) + ui::textBetween(document, split, end), read)
                << "split at " << split;
    }
}

namespace {

/// Where the lines of text start when it is laid out as one paragraph with wrap.
std::vector<qsizetype> lineStarts(const QString &text, const ui::LineWrap &wrap)
{
    QTextLayout layout(text, wrap.font);
    layout.setTextOption(wrap.option);
    std::vector<qsizetype> starts;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(wrap.width);
        starts.push_back(line.textStart());
    }
    layout.endLayout();
    return starts;
}

} // namespace

// With a box's wrap, a paragraph is cut at the start of one of its own lines, the last that fits the
// piece; a paragraph too long to lay out again keeps the cuts without the wrap.
TEST(SoftBreakFinder, WithTheBoxesWrapCutWhereALineStarts)
{
    QFont font;
    font.setPixelSize(12);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const ui::LineWrap wrap { font, option, 150 };
    const struct {
        const char *name;
        QString text;
    } cases[] = {
        { "ideographs", repeated(QStringLiteral("青柚彩虹文字在线生成工具"), 60) },
        { "words and spaces", repeated(QStringLiteral("rainbow text, gradient colours "), 40) },
        { "one long word", repeated(QStringLiteral("abcdefghij"), 90) },
        { "mixed, with a hard break",
            repeated(QStringLiteral("青柚 rainbow 彩虹文字 text "), 30) + u'\n'
                + repeated(QStringLiteral("渐变色 ABC "), 60) },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const qsizetype maxLength = 300;
        const std::vector<qsizetype> cuts = softBreaks(c.text, maxLength, wrap);
        ASSERT_FALSE(cuts.empty());
        const qsizetype hard = c.text.indexOf(u'\n');
        qsizetype pieceStart = 0;
        for (const qsizetype cut : cuts) {
            if (hard >= 0 && pieceStart <= hard && cut > hard)
                pieceStart = hard + 1; // a hard break starts a new count
            EXPECT_GT(cut, pieceStart);
            EXPECT_LE(cut - pieceStart, maxLength);
            // The lines of the paragraph the cut lies in, counted from that paragraph's start.
            const qsizetype paragraph = hard >= 0 && cut > hard ? hard + 1 : 0;
            const qsizetype paragraphEnd = hard >= 0 && cut < hard ? hard : c.text.size();
            const std::vector<qsizetype> starts
                = lineStarts(c.text.mid(paragraph, paragraphEnd - paragraph), wrap);
            EXPECT_TRUE(std::binary_search(starts.begin(), starts.end(), cut - paragraph)) << "cut " << cut;
            pieceStart = cut;
        }
    }

    const QString huge
        = repeated(QStringLiteral("青柚 rainbow 彩虹文字 text "), int(ui::wrappedParagraphLength / 20) + 1);
    ASSERT_GT(huge.size(), ui::wrappedParagraphLength);
    ui::SoftBreakFinder withWrap(huge, wrap);
    const std::vector<qsizetype> without = softBreaks(huge);
    for (size_t i = 0; i < std::min<size_t>(without.size(), 8); ++i)
        EXPECT_EQ(withWrap.next(), without[i]) << "a paragraph too long to lay out again";
}
