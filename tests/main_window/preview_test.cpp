#include "ui/main_window/preview.h"

#include "tests/main_window/preview_reader.h"
#include "ui/main_window/display_blocks.h"
#include "ui/main_window/qt_color.h"

#include <QTextDocument>

#include <gtest/gtest.h>

using namespace rainbow;
using rainbow::tests::shownText;

namespace {

constexpr PackedColor red = 0x0000FF;
constexpr PackedColor blue = 0xFF0000;

} // namespace

TEST(FillPreview, ReplacesTheTextAndColoursOnlyTheRuns)
{
    QTextDocument document;
    ui::fillPreview(document, QStringLiteral("abcdefg"), { { 1, 2, red }, { 4, 1, blue } });
    const auto shown = shownText(document);
    EXPECT_EQ(shown.text, QStringLiteral("abcdefg"));
    const std::vector<std::optional<QColor>> expected { std::nullopt, ui::toQColor(red), ui::toQColor(red),
        std::nullopt, ui::toQColor(blue), std::nullopt, std::nullopt };
    EXPECT_EQ(shown.colors, expected);
    EXPECT_FALSE(document.isUndoAvailable());

    ui::fillPreview(document, QStringLiteral("xyz"), {});
    EXPECT_EQ(shownText(document).text, QStringLiteral("xyz"));
    EXPECT_EQ(shownText(document).colors, std::vector<std::optional<QColor>>(3, std::nullopt))
        << "old colours gone";
}

// The conversion colours a "\r\n" pair as one character; the document holds it as one block
// break. Every other character must keep its colour wherever the breaks fall.
TEST(FillPreview, LineBreaksKeepEveryCharacterOnItsColour)
{
    struct Case {
        const char *name;
        QString text;
        QString shown; // what the box shows, a block break as "\n"
    };
    const Case cases[] = {
        { "CR LF inside", QStringLiteral("ab\r\ncd"), QStringLiteral("ab\ncd") },
        { "lone CR", QStringLiteral("ab\rcd"), QStringLiteral("ab\ncd") },
        { "LF", QStringLiteral("ab\ncd"), QStringLiteral("ab\ncd") },
        { "paragraph separator", QStringLiteral("ab\u2029cd"), QStringLiteral("ab\ncd") },
        { "two CR LF in a row and one at the end", QStringLiteral("a\r\n\r\nb\r\n"),
            QStringLiteral("a\n\nb\n") },
        { "CR LF at the start", QStringLiteral("\r\nxy"), QStringLiteral("\nxy") },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        // One run per character, a CR LF pair being one, each in a colour of its own.
        RichTextState state;
        state.setText(c.text);
        std::vector<PackedColor> unitColors;
        for (qsizetype at = 0; at < c.text.size();) {
            const qsizetype length = c.text.mid(at, 2) == QStringLiteral("\r\n") ? 2 : 1;
            const PackedColor color = PackedColor(0x10 * (at + 1));
            state.colorSelection(at, length, color);
            at += length;
        }
        QTextDocument document;
        ui::fillPreview(document, state.text, state.colorRuns);
        const auto shown = shownText(document);
        ASSERT_EQ(shown.text, c.shown);
        qsizetype unit = 0;
        for (qsizetype position = 0; position < shown.text.size(); ++position) {
            if (shown.text[position] != u'\n') {
                SCOPED_TRACE(position);
                EXPECT_EQ(shown.colors[size_t(position)], ui::toQColor(*state.colorAt(unit)));
            }
            unit += c.text.mid(unit, 2) == QStringLiteral("\r\n") ? 2 : 1;
        }
        EXPECT_EQ(unit, c.text.size());
    }
}

// A long line goes into display blocks; the runs that span their soft breaks keep every
// character in its colour, and the reader sees no break at all.
TEST(FillPreview, ALongLineKeepsEveryCharacterOnItsColourAcrossDisplayBlocks)
{
    QString text;
    for (int i = 0; text.size() < 3 * ui::displayBlockLength; ++i)
        text += i % 3 == 2 ? QStringLiteral("青") : QStringLiteral("ab ");
    RichTextState state;
    state.setText(text);
    // Runs of 7 units with a gap of 2 after each, so runs both span and end at soft breaks.
    for (qsizetype at = 0; at + 7 <= text.size(); at += 9)
        state.colorSelection(at, 7, PackedColor(at * 0x101));

    QTextDocument document;
    ui::fillPreview(document, text, state.colorRuns);
    EXPECT_GE(document.blockCount(), 3) << "the line is in display blocks";
    const auto shown = shownText(document);
    ASSERT_EQ(shown.text, text);
    for (qsizetype unit = 0; unit < text.size(); ++unit) {
        const std::optional<PackedColor> color = state.colorAt(unit);
        ASSERT_EQ(
            shown.colors[size_t(unit)], color ? std::optional<QColor>(ui::toQColor(*color)) : std::nullopt)
            << "unit " << unit;
    }
}

// The conversion selects by text offset; the box counts a CR LF pair as one position and a soft
// break as one more. Every character must map onto itself, and the end of the text onto the end.
TEST(PreviewPosition, EveryCharacterOfTheTextMapsOntoItselfInTheBox)
{
    QString longLine;
    while (longLine.size() < 2 * ui::displayBlockLength + 100)
        longLine += QStringLiteral("ab 青");
    const struct {
        const char *name;
        QString text;
    } cases[] = {
        { "no breaks", QStringLiteral("abcdef") },
        { "every kind of hard break", QStringLiteral("a\r\nb\rc\nd\u2029e") },
        { "breaks at both ends", QStringLiteral("\r\nab\n\r\r\n") },
        { "a long line between CR LF pairs", QStringLiteral("x\r\n") + longLine + QStringLiteral("\r\nyz") },
        { "empty", QString() },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument document;
        ui::fillPreview(document, c.text, {});
        ASSERT_EQ(ui::previewPosition(document, c.text, c.text.size()), document.characterCount() - 1);
        int previous = -1;
        for (qsizetype at = 0; at < c.text.size();) {
            const qsizetype length = c.text.mid(at, 2) == QStringLiteral("\r\n") ? 2 : 1;
            const int from = ui::previewPosition(document, c.text, at);
            const int to = ui::previewPosition(document, c.text, at + length);
            const QChar unit = c.text[at];
            const bool lineBreak = unit == u'\r' || unit == u'\n' || unit == QChar::ParagraphSeparator;
            ASSERT_EQ(ui::textBetween(document, from, to), lineBreak ? QStringLiteral("\n") : QString(unit))
                << "offset " << at;
            ASSERT_GT(from, previous);
            previous = from;
            at += length;
        }
    }
}
