#include "ui/main_window/preview.h"

#include "tests/main_window/preview_reader.h"
#include "ui/main_window/long_text.h"
#include "ui/main_window/qt_color.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace rainbow;
using rainbow::tests::shownText;

namespace {

constexpr PackedColor red = 0x0000FF;
constexpr PackedColor blue = 0xFF0000;

std::optional<QColor> shownColor(std::optional<PackedColor> color)
{
    return color ? std::optional<QColor>(ui::toQColor(*color)) : std::nullopt;
}

/// The preview at its size in the window, shown.
struct ShownPreview {
    ShownPreview()
    {
        box.resize(481, 89);
        box.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&box));
    }

    ui::ColoredPreview box;
};

/// A text with runs that both span display blocks and end at their soft breaks: runs of 7 units
/// with a gap of 2 after each.
RichTextState longLine(qsizetype length)
{
    QString text;
    for (int i = 0; text.size() < length; ++i)
        text += i % 3 == 2 ? QStringLiteral("青") : QStringLiteral("ab ");
    RichTextState state;
    state.setText(text);
    for (qsizetype at = 0; at + 7 <= text.size(); at += 9)
        state.colorSelection(at, 7, PackedColor(at * 0x101));
    return state;
}

/// Selects document positions [from, to) and copies them with Ctrl+C.
const QMimeData *copy(ui::ColoredPreview &box, int from, int to)
{
    QTextCursor selection(box.document());
    selection.setPosition(from);
    selection.setPosition(to, QTextCursor::KeepAnchor);
    box.setTextCursor(selection);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    return QGuiApplication::clipboard()->mimeData();
}

} // namespace

TEST(ColoredPreview, ReplacesTheTextAndColoursOnlyTheRuns)
{
    ui::ColoredPreview box;
    box.fill(QStringLiteral("abcdefg"), { { 1, 2, red }, { 4, 1, blue } });
    const auto shown = shownText(box);
    EXPECT_EQ(shown.text, QStringLiteral("abcdefg"));
    const std::vector<std::optional<QColor>> expected { std::nullopt, ui::toQColor(red), ui::toQColor(red),
        std::nullopt, ui::toQColor(blue), std::nullopt, std::nullopt };
    EXPECT_EQ(shown.colors, expected);
    EXPECT_FALSE(box.document()->isUndoAvailable());
    EXPECT_EQ(box.textCursor().position(), 0);

    box.fill(QStringLiteral("xyz"), {});
    EXPECT_EQ(shownText(box).text, QStringLiteral("xyz"));
    EXPECT_EQ(shownText(box).colors, std::vector<std::optional<QColor>>(3, std::nullopt))
        << "old colours gone";
}

// The conversion colours a "\r\n" pair as one character; the document holds it as one block
// break. Every other character must keep its colour wherever the breaks fall.
TEST(ColoredPreview, LineBreaksKeepEveryCharacterOnItsColour)
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
    ui::ColoredPreview box;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        // One run per character, a CR LF pair being one, each in a colour of its own.
        RichTextState state;
        state.setText(c.text);
        for (qsizetype at = 0; at < c.text.size();) {
            const qsizetype length = c.text.mid(at, 2) == QStringLiteral("\r\n") ? 2 : 1;
            state.colorSelection(at, length, PackedColor(0x10 * (at + 1)));
            at += length;
        }
        box.fill(state.text, state.colorRuns);
        const auto shown = shownText(box);
        ASSERT_EQ(shown.text, c.shown);
        qsizetype unit = 0;
        for (int position = 0; position < shown.text.size(); ++position) {
            SCOPED_TRACE(position);
            if (shown.text[position] != u'\n') {
                EXPECT_EQ(shown.colors[size_t(position)], shownColor(state.colorAt(unit)));
                EXPECT_EQ(box.colorAt(position), state.colorAt(unit));
            } else {
                EXPECT_EQ(box.colorAt(position), std::nullopt);
            }
            unit += c.text.mid(unit, 2) == QStringLiteral("\r\n") ? 2 : 1;
        }
        EXPECT_EQ(unit, c.text.size());
    }
}

// A long line goes into display blocks; the runs that span their soft breaks keep every
// character in its colour, and the reader sees no break at all.
TEST(ColoredPreview, ALongLineKeepsEveryCharacterOnItsColourAcrossDisplayBlocks)
{
    const RichTextState state = longLine(3 * ui::displayBlockLength);
    ui::ColoredPreview box;
    box.fill(state.text, state.colorRuns);
    EXPECT_GE(box.document()->blockCount(), 3) << "the line is in display blocks";
    const auto shown = shownText(box);
    ASSERT_EQ(shown.text, state.text);
    for (qsizetype unit = 0; unit < state.text.size(); ++unit)
        ASSERT_EQ(shown.colors[size_t(unit)], shownColor(state.colorAt(unit))) << "unit " << unit;
}

// Only the blocks that show are laid out and coloured; the others are when the view gets to them.
TEST(ColoredPreview, LaysOutAndColoursOnlyWhatShows)
{
    ShownPreview preview;
    QString text;
    for (int line = 0; line < 2000; ++line)
        text += QStringLiteral("line %1\n").arg(line);
    preview.box.fill(text, { { 0, text.size(), red } });
    preview.box.repaint();
    const QTextDocument *document = preview.box.document();
    const auto laidOut = [document](int blockNumber) {
        return document->findBlockByNumber(blockNumber).layout()->lineCount() > 0;
    };
    const auto colored = [document](int blockNumber) {
        return !document->findBlockByNumber(blockNumber).layout()->formats().isEmpty();
    };
    EXPECT_TRUE(laidOut(0) && colored(0));
    EXPECT_FALSE(laidOut(1000) || colored(1000));

    preview.box.verticalScrollBar()->setValue(1000);
    preview.box.repaint();
    EXPECT_TRUE(laidOut(1000) && colored(1000)) << "shown once scrolled to";
    EXPECT_FALSE(laidOut(500) || colored(500));
}

// A line too long to cut where the preview wraps it at once: while the window waits, its soft
// breaks move to where the preview starts its lines, and each character keeps its colour.
TEST(ColoredPreview, ALineTooLongToCutExactlyAtOnceBreaksWhereItWrapsOnceTheWindowHasWaited)
{
    ShownPreview preview;
    const RichTextState state = longLine(ui::wrappedParagraphLength + 50000);
    preview.box.fill(state.text, state.colorRuns);
    tests::waitWhileChanging(preview.box);
    EXPECT_TRUE(tests::shownLineStarts(preview.box) == tests::unsplitLineStarts(preview.box, state.text))
        << "the lines start where the preview wraps the line";
    const tests::ShownText shown = shownText(preview.box);
    ASSERT_TRUE(shown.text == state.text);
    for (qsizetype unit = 0; unit < state.text.size(); ++unit)
        ASSERT_EQ(shown.colors[size_t(unit)], shownColor(state.colorAt(unit))) << "unit " << unit;
    EXPECT_EQ(preview.box.position(state.text.size()), preview.box.document()->characterCount() - 1);
}

// What the user sees: each character in its colour, a new text without the old colours, the
// selection in the highlight's colours.
TEST(ColoredPreview, PaintsEachCharacterInItsColour)
{
    ShownPreview preview;
    // Pixels inked at least half way from the paper to the colour: a thin face, smoothed, may
    // cover no pixel whole.
    const auto count = [&preview](const QColor &ink) {
        const QColor paper = preview.box.palette().color(QPalette::Base);
        const QImage image = preview.box.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto inked = [&](const QColor &pixel) {
            double coverage = 1;
            for (const auto channel : { &QColor::red, &QColor::green, &QColor::blue }) {
                const int from = (paper.*channel)(), to = (ink.*channel)(), got = (pixel.*channel)();
                if (from == to) {
                    if (std::abs(got - to) > 24)
                        return false;
                    continue;
                }
                const double t = double(got - from) / (to - from);
                if (t < -0.1 || t > 1.1)
                    return false;
                coverage = std::min(coverage, t);
            }
            return coverage >= 0.5;
        };
        int pixels = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                pixels += inked(image.pixelColor(x, y));
        return pixels;
    };
    preview.box.fill(QStringLiteral("青柚彩虹\n文字在线"), { { 0, 4, red }, { 5, 4, blue } });
    EXPECT_GT(count(ui::toQColor(red)), 10);
    EXPECT_GT(count(ui::toQColor(blue)), 10);

    preview.box.fill(QStringLiteral("青柚彩虹\n文字在线"), { { 5, 4, blue } });
    EXPECT_EQ(count(ui::toQColor(red)), 0) << "the old colours are gone";
    EXPECT_GT(count(ui::toQColor(blue)), 10);

    preview.box.selectAll();
    EXPECT_EQ(count(ui::toQColor(blue)), 0) << "selected text shows in the highlight's colours";
}

// Ctrl+C gives the selected text as plain text and as HTML with each character's colour: a
// selection that starts inside a run, crosses a soft break or a CR LF pair, or holds an empty
// line or characters special to HTML.
TEST(ColoredPreview, CopiesTheSelectionAsPlainTextAndWithItsColours)
{
    struct Case {
        const char *name;
        RichTextState state;
        qsizetype from; // units of the text
        qsizetype to;
    };
    const auto colored = [](const QString &text, std::vector<ColorRun> runs) {
        RichTextState state;
        state.setText(text);
        state.colorRuns = std::move(runs);
        return state;
    };
    const RichTextState line = longLine(2 * ui::displayBlockLength);
    const Case cases[] = {
        { "inside a run", colored(QStringLiteral("abcdefgh"), { { 1, 5, red } }), 3, 7 },
        { "across a soft break", line, ui::displayBlockLength - 20, ui::displayBlockLength + 20 },
        { "the whole long line", line, 0, line.text.size() },
        { "CR LF and an empty line", colored(QStringLiteral("ab\r\n\r\ncd\ne"), { { 0, 9, blue } }), 1, 10 },
        { "HTML's own characters and spaces",
            colored(QStringLiteral("<b>&amp;  x</b>"), { { 0, 3, red }, { 3, 5, blue } }), 0, 15 },
    };
    ShownPreview preview;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        preview.box.fill(c.state.text, c.state.colorRuns);
        // Walk the text and the document side by side for the document positions of the units:
        // a CR LF pair is one break, and a soft break is a position of no unit.
        int from = -1, to = -1;
        qsizetype unit = 0;
        int position = 0;
        while (unit < c.state.text.size()) {
            if (unit == c.from)
                from = position;
            if (unit == c.to)
                to = position;
            const QTextBlock block = preview.box.document()->findBlock(position);
            if (position == block.position() + block.length() - 1 && block.next().isValid()
                && ui::followsSoftBreak(block.next())) {
                ++position; // a soft break, no unit
                continue;
            }
            unit += ui::hardBreakLength(c.state.text, unit) == 2 ? 2 : 1;
            ++position;
        }
        if (to < 0)
            to = position;
        ASSERT_GE(from, 0);

        const QMimeData *copied = copy(preview.box, from, to);
        ASSERT_NE(copied, nullptr);
        QString expectedText = c.state.text.mid(c.from, c.to - c.from);
        expectedText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(copied->text(), expectedText);

        QTextDocument pasted;
        pasted.setHtml(copied->html());
        const auto shownPasted = shownText(pasted);
        ASSERT_EQ(shownPasted.text, expectedText);
        qsizetype at = c.from;
        for (qsizetype i = 0; i < shownPasted.text.size(); ++i) {
            if (shownPasted.text[i] != u'\n') {
                ASSERT_EQ(shownPasted.colors[size_t(i)], shownColor(c.state.colorAt(at))) << "unit " << at;
            }
            at += ui::hardBreakLength(c.state.text, at) == 2 ? 2 : 1;
        }
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
        ui::ColoredPreview box;
        box.fill(c.text, {});
        const QTextDocument &document = *box.document();
        ASSERT_EQ(box.position(c.text.size()), document.characterCount() - 1);
        int previous = -1;
        for (qsizetype at = 0; at < c.text.size();) {
            const qsizetype length = c.text.mid(at, 2) == QStringLiteral("\r\n") ? 2 : 1;
            const int from = box.position(at);
            const int to = box.position(at + length);
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

// The copy's HTML writes a colour and escapes a character as the HTML markup does.
TEST(ColoredHtml, WritesColoursAndEntitiesAsTheMarkupDoes)
{
    constexpr PackedColor pink = 0x8000FF; // #FF0080
    const QString html = ui::coloredHtml(u"<a&b>", 0, 5, { { 0, 5, pink } });
    EXPECT_TRUE(html.contains(QStringLiteral("<span style=\"color:#FF0080\">&lt;a&amp;b&gt;</span>")))
        << html.toStdString();
}
