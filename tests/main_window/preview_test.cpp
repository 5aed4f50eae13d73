#include "preview.h"

#include "preview_reader.h"
#include "qt_color.h"

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
