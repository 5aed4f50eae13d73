// The command-line tool's options beyond the window's: colour stops and blends, layouts, shorter
// markup, formats, line streaming, terminal colours and the option conventions. The markup is
// read back and checked character by character.

#include "convert/form1_state.h"

#include "tests/cli/cli_run.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

/// A run of UBB markup read back: its characters and its colour (empty for untagged text).
struct Piece {
    QString text;
    QString color;
};

std::vector<Piece> readUbb(const QByteArray &markup)
{
    static const QRegularExpression tag(QStringLiteral("\\[color=#([0-9A-F]{6})\\](.*?)\\[/color\\]"),
        QRegularExpression::DotMatchesEverythingOption);
    const QString text = QString::fromUtf8(markup.endsWith('\n') ? markup.chopped(1) : markup);
    std::vector<Piece> pieces;
    qsizetype at = 0;
    for (auto it = tag.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.capturedStart() > at)
            pieces.push_back({ text.mid(at, match.capturedStart() - at), {} });
        pieces.push_back({ match.captured(2), match.captured(1) });
        at = match.capturedEnd();
    }
    if (at < text.size())
        pieces.push_back({ text.mid(at), {} });
    return pieces;
}

/// One entry per UTF-16 unit of the text (the tests' texts are BMP): the colour it was given.
struct Colored {
    QString text;
    QStringList colors;
};

Colored colorsOf(const std::vector<Piece> &pieces)
{
    Colored result;
    for (const Piece &piece : pieces) {
        result.text += piece.text;
        for (qsizetype i = 0; i < piece.text.size(); ++i)
            result.colors << piece.color;
    }
    return result;
}

/// The colours of the plain conversion (one tag per character) of text with options.
QStringList plainColors(const QList<QByteArray> &options, const QString &text)
{
    const CliRun run = runCli(options + QList<QByteArray> { "--", text.toUtf8() });
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    return colorsOf(readUbb(run.out)).colors;
}

bool isWhitespace(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

QString withoutWhitespace(const QString &text)
{
    QString kept;
    for (const QChar c : text) {
        if (!c.isSpace())
            kept += c;
    }
    return kept;
}

const QString sample = QStringLiteral("Hello,  wide\tworld 青柚\u3000彩虹 of text");

/// Colourings to try each shortening with: subtle gradients repeat colours, the rainbow does not.
const QList<QList<QByteArray>> colorings {
    {},
    { "--start", "102030", "--end", "102038" },
    { "--stops", "#F00,00FF00,#00F,#FFF", "--blend", "oklab" },
    { "--stops", "112233,112235,112233", "--blend", "hsv", "--symmetric" },
    { "--mode", "rainbow", "--reverse" },
};

} // namespace

TEST(CommandLineColors, TwoStopsGiveTheWindowsGradient)
{
    QRandomGenerator random(12);
    const auto hex
        = [&] { return QByteArray::number(random.bounded(1 << 24), 16).rightJustified(6, '0').toUpper(); };
    for (int round = 0; round < 6; ++round) {
        const QByteArray start = hex();
        const QByteArray end = hex();
        QString text;
        for (int i = random.bounded(1, 700); i > 0; --i)
            text += QChar(u'a' + random.bounded(26));
        SCOPED_TRACE((start + " " + end + " " + QByteArray::number(text.size())).constData());
        const CliRun stops = runCli({ "--stops", start + "," + end, text.toUtf8() });
        const CliRun startEnd = runCli({ "--start", start, "--end", "#" + end, text.toUtf8() });
        rainbow::Form1State form;
        const auto color = [](const QByteArray &code) {
            const uint value = code.toUInt(nullptr, 16);
            return rainbow::RgbTriple { int16_t(value >> 16), int16_t((value >> 8) & 0xFF),
                int16_t(value & 0xFF) };
        };
        form.StartColor = color(start);
        form.EndColor = color(end);
        form.Text1 = text;
        rainbow::Command3_Click(form);
        EXPECT_EQ(stops.exitCode, 0);
        EXPECT_TRUE(stops.out == startEnd.out);
        EXPECT_TRUE(stops.out == form.Text3.toUtf8() + '\n');
    }
}

TEST(CommandLineColors, ColoursTakeThreeFormsAndNothingElse)
{
    EXPECT_EQ(runCli({ "--start", "#F08", "--end", "#0f0", "ab" }).out,
        runCli({ "--start", "FF0088", "--end", "00FF00", "ab" }).out);
    const struct {
        QList<QByteArray> arguments;
        QByteArray errPart;
    } refusals[] = {
        { { "--start", "F08", "x" }, "--start: 'F08' is not a colour (RRGGBB, #RRGGBB or #RGB)" },
        { { "--end", "##FF0088", "x" }, "--end: '##FF0088' is not a colour" },
        { { "--stops", "FF0000", "x" }, "--stops takes 2 to 16 colours, not 1" },
        { { "--stops", "FF0000,red,00F", "x" }, "--stops: entry 2 'red' is not a colour" },
        { { "--stops", QByteArray("F00,").repeated(17) + "F00", "x" }, "not 18" },
        { { "--stops", "#F00,#00F", "--start", "#0F0", "x" }, "--stops replaces --start and --end" },
        { { "--blend", "lab", "x" }, "--blend: 'lab' is not one of rgb, hsv, oklab" },
    };
    for (const auto &refusal : refusals) {
        const CliRun run = runCli(refusal.arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(refusal.errPart)) << run.err.constData();
    }
}

// Reverse mirrors the colours; symmetric runs a gradient over the first half (the middle
// character with it) and mirrors it about the middle.
TEST(CommandLineColors, ReverseAndSymmetricLayOutTheGradient)
{
    const QString text = QStringLiteral("abcdefghijklm"); // 13: 7 there, 6 back
    for (const QList<QByteArray> &colors :
        { QList<QByteArray> {}, QList<QByteArray> { "--stops", "#F00,#0F0,#00F", "--blend", "hsv" },
            QList<QByteArray> { "--stops", "#000,#FFF", "--blend", "oklab" } }) {
        SCOPED_TRACE(colors.join(' ').constData());
        const QStringList plain = plainColors(colors, text);
        QStringList mirrored = plain;
        std::reverse(mirrored.begin(), mirrored.end());
        EXPECT_EQ(plainColors(colors + QList<QByteArray> { "--reverse" }, text), mirrored);

        const QStringList firstHalf = plainColors(colors, text.left(7));
        QStringList secondHalf = firstHalf.mid(0, 6);
        std::reverse(secondHalf.begin(), secondHalf.end());
        EXPECT_EQ(plainColors(colors + QList<QByteArray> { "-S" }, text), firstHalf + secondHalf);
    }
    EXPECT_EQ(plainColors({ "--stops", "#F00,#0F0,#00F" }, "abcd"),
        QStringList({ "808000", "00FF00", "008080", "0000FF" }));
}

// Characters i and n − 1 − i share a colour for every length, odd ones too.
TEST(CommandLineColors, ASymmetricGradientMirrorsAboutTheMiddle)
{
    EXPECT_EQ(plainColors({ "-s", "FF0000", "-e", "0000FF", "-S" }, "abc"),
        QStringList({ "800080", "0000FF", "800080" }));
    for (const QList<QByteArray> &layout : { QList<QByteArray> { "-S" }, QList<QByteArray> { "-S", "-r" } }) {
        for (int n = 1; n <= 16; ++n) {
            SCOPED_TRACE(testing::Message() << layout.join(' ').constData() << ", " << n << " characters");
            const QStringList colors = plainColors(layout, QString(n, u'x'));
            QStringList mirrored = colors;
            std::reverse(mirrored.begin(), mirrored.end());
            EXPECT_EQ(colors, mirrored);
        }
    }
}

TEST(CommandLineShorterMarkup, MergeKeepsEveryColourWithFewerTags)
{
    for (const QList<QByteArray> &coloring : colorings) {
        SCOPED_TRACE(coloring.join(' ').constData());
        const CliRun run = runCli(coloring + QList<QByteArray> { "--merge", sample.toUtf8() });
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        const std::vector<Piece> pieces = readUbb(run.out);
        const Colored read = colorsOf(pieces);
        EXPECT_EQ(read.text, sample.trimmed());
        EXPECT_EQ(read.colors, plainColors(coloring, sample));
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_FALSE(pieces[i].color.isEmpty()) << "everything tagged";
            if (i > 0) {
                EXPECT_NE(pieces[i].color, pieces[i - 1].color) << "neighbouring tags of one colour";
            }
        }
        if (coloring.contains("102038")) {
            EXPECT_LE(pieces.size(), 9U);
        }
    }
}

TEST(CommandLineShorterMarkup, SkipSpacesLeavesWhitespaceUntaggedAndUncounted)
{
    for (const QList<QByteArray> &coloring : colorings) {
        for (const bool merge : { false, true }) {
            SCOPED_TRACE((coloring.join(' ') + (merge ? " --merge" : "")).constData());
            QList<QByteArray> arguments = coloring + QList<QByteArray> { "-w", sample.toUtf8() };
            if (merge)
                arguments.prepend("-M");
            const CliRun run = runCli(arguments);
            ASSERT_EQ(run.exitCode, 0) << run.err.constData();
            const std::vector<Piece> pieces = readUbb(run.out);
            const Colored read = colorsOf(pieces);
            EXPECT_EQ(read.text, sample.trimmed());
            QStringList colored;
            for (qsizetype i = 0; i < read.text.size(); ++i) {
                EXPECT_EQ(read.colors[i].isEmpty(), read.text[i].isSpace()) << "character " << i;
                if (!read.colors[i].isEmpty())
                    colored << read.colors[i];
            }
            // Whitespace takes no colour step: the colours of the text without it.
            EXPECT_EQ(colored, plainColors(coloring, withoutWhitespace(sample)));
            for (std::size_t i = 1; i < pieces.size(); ++i) {
                if (pieces[i].color.isEmpty()) {
                    EXPECT_TRUE(isWhitespace(pieces[i].text));
                } else if (merge) {
                    EXPECT_NE(pieces[i].color, pieces[i - 1].color);
                }
            }
        }
    }
    // The rainbow's six characters count coloured ones.
    EXPECT_EQ(runCli({ "-m", "rainbow", "--skip-spaces", "a b c d e" }).exitCode, 1);
    EXPECT_EQ(runCli({ "-m", "rainbow", "--skip-spaces", "a b c d e f" }).exitCode, 0);
    EXPECT_EQ(runCli({ "-m", "rainbow", "-S", "-w", "abc def ghi kl" }).exitCode, 1);
}

// 26 letters in UBB: a tag costs 23 characters, so groups of k take 26 + 23 × ⌈26 / k⌉.
TEST(CommandLineShorterMarkup, FitTakesTheSmallestGroupThatFits)
{
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    const QStringList plain = plainColors({}, letters);
    const struct {
        int limit;
        int groupSize;
    } cases[] = { { 624, 1 }, { 623, 2 }, { 200, 4 }, { 187, 4 }, { 186, 5 }, { 49, 26 } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.limit);
        const CliRun run = runCli({ "--fit", QByteArray::number(c.limit), letters.toUtf8() });
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_LE(run.out.size() - 1, c.limit);
        const std::vector<Piece> pieces = readUbb(run.out);
        const Colored read = colorsOf(pieces);
        EXPECT_EQ(read.text, letters);
        ASSERT_EQ(pieces.size(), std::size_t((26 + c.groupSize - 1) / c.groupSize));
        for (std::size_t g = 0; g < pieces.size(); ++g) {
            EXPECT_EQ(pieces[g].text, letters.mid(qsizetype(g) * c.groupSize, c.groupSize));
            EXPECT_EQ(pieces[g].color, plain[qsizetype(g) * c.groupSize]);
        }
    }
    const CliRun tooLong = runCli({ "--fit", "48", letters.toUtf8() });
    EXPECT_EQ(tooLong.exitCode, 1);
    EXPECT_TRUE(tooLong.out.isEmpty());
    EXPECT_TRUE(tooLong.err.contains("does not fit in 48 characters")) << tooLong.err.constData();
    EXPECT_TRUE(tooLong.err.contains("needs 49")) << tooLong.err.constData();
    // Characters, not bytes: 26 CJK characters fit where 26 letters do.
    EXPECT_EQ(runCli({ "--fit", "49", QString(26, QChar(0x9752)).toUtf8() }).exitCode, 0);
    EXPECT_EQ(runCli({ "--fit", "0", "x" }).exitCode, 2);
}

// With --merge the size that must fit is the merged markup's: the finest grouping whose merged
// markup fits, so the markup never gets shorter as the limit grows.
TEST(CommandLineShorterMarkup, FitWithMergeTakesTheFinestMergedMarkupThatFits)
{
    const QList<QByteArray> blackToAlmostBlack { "-M", "-s", "000000", "-e", "000001" };
    EXPECT_EQ(runCli(blackToAlmostBlack + QList<QByteArray> { "--fit", "200", "abcdefghij" }).out,
        "[color=#000000]abcde[/color][color=#000001]fghij[/color]\n");
    const QByteArray letters = "abcdefghijklmnopqrstuvwxyz";
    qsizetype previous = 0;
    for (int limit = 49; limit <= 650; limit += 7) {
        SCOPED_TRACE(limit);
        const CliRun run = runCli({ "-M", "-m", "rainbow", "--fit", QByteArray::number(limit), letters });
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_LE(run.out.size() - 1, limit);
        EXPECT_GE(run.out.size(), previous);
        previous = run.out.size();
    }
    EXPECT_EQ(previous - 1, runCli({ "-M", "-m", "rainbow", letters }).out.size() - 1);
}

TEST(CommandLineMarkup, FormatsTemplatesAndEscaping)
{
    const struct {
        const char *name;
        QList<QByteArray> arguments;
        int exitCode;
        QByteArray out;
        QByteArray errPart;
    } cases[] = {
        { "span", { "-f", "span", "a<" }, 0,
            "<span style=\"color:#8080C0\">a</span><span style=\"color:#FF0080\"><</span>\n", "" },
        { "escape", { "-f", "span", "--escape", "a<" }, 0,
            "<span style=\"color:#8080C0\">a</span><span style=\"color:#FF0080\">&lt;</span>\n", "" },
        { "merge escapes html by itself", { "-f", "html", "-M", "-c", "#F00,#F00", "<&>" }, 0,
            "<font color=#FF0000>&lt;&amp;&gt;</font>\n", "" },
        { "but not ubb", { "-M", "-c", "#F00,#F00", "<&>" }, 0, "[color=#FF0000]<&>[/color]\n", "" },
        { "template", { "-t", "{{#{hex}|{text}}}", "ab" }, 0, "{{#8080C0|a}}{{#FF0080|b}}\n", "" },
        { "template without text", { "--template", "<{hex}>" }, 2, "", "no {text}" },
        { "template without hex", { "--template", "<{text}>", "x" }, 2, "", "--template: '<{text}>'" },
        { "template and format", { "-t", "{hex}{text}", "-f", "html", "x" }, 2, "", "give one or the other" },
        { "list", { "--list-formats" }, 0,
            "ubb     [color=#FF0080]x[/color]\nqzone   [ftc=#FF0080]x[/ft]\nhtml    <font "
            "color=#FF0080>x</font>\nspan    <span style=\"color:#FF0080\">x</span>\n",
            "" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.out, c.out);
        EXPECT_TRUE(run.err.contains(c.errPart)) << run.err.constData();
    }
}

TEST(CommandLineInput, FileAndLines)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write("abcdefg\r\nxy\n\n12345678");
    file.close();
    const QByteArray name = file.fileName().toUtf8();
    EXPECT_EQ(runCli({ "--file", name }).out, runCli({}, "abcdefg\r\nxy\n\n12345678").out);
    EXPECT_EQ(runCli({ "-F", "-" }, "AB\n").out, runCli({ "AB" }).out);
    EXPECT_EQ(runCli({ "--file", name, "x" }).exitCode, 2);
    const CliRun missing = runCli({ "--file", "/nonexistent/x" });
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("cannot open '/nonexistent/x'")) << missing.err.constData();

    // Each line on its own; lines too short for a rainbow stay as they are.
    const CliRun lines = runCli({ "--lines", "-m", "rainbow", "-F", name });
    EXPECT_EQ(lines.exitCode, 0) << lines.err.constData();
    EXPECT_EQ(lines.out,
        runCli({ "-m", "rainbow", "abcdefg" }).out + "xy\n\n" + runCli({ "-m", "rainbow", "12345678" }).out);
    EXPECT_EQ(runCli({ "-l" }, "ab\ncd\n").out, runCli({ "ab" }).out + runCli({ "cd" }).out);
    EXPECT_EQ(runCli({ "-l", "ab\ncd" }).out, runCli({ "ab" }).out + runCli({ "cd" }).out);
    // Lines of one length share their tags: each still gets its own characters and colours.
    const QByteArray mixed[] = { "a😀b", "xyz", "e\xCC\x81<>", "青柚彩虹文字", "a😀b", "xyz" };
    QByteArray expected;
    for (const QByteArray &line : mixed)
        expected += runCli({ "-f", "html", line }).out;
    EXPECT_EQ(
        runCli({ "-l", "-f", "html" }, QByteArrayList(std::begin(mixed), std::end(mixed)).join('\n')).out,
        expected);
    const CliRun invalid = runCli({ "-l" }, "ab\ncd\xFF\n");
    EXPECT_EQ(invalid.exitCode, 2);
    EXPECT_TRUE(invalid.err.contains("line 2 of standard input is not valid UTF-8"))
        << invalid.err.constData();
}

// Like lolcat in a pipe: a line comes out while the writer still holds the pipe open.
TEST(CommandLineInput, LinesAreWrittenBeforeTheNextIsRead)
{
    QProcess process;
    process.start(QStringLiteral(RAINBOWTEXT_CLI_PATH), { "--lines", "--preview", "--color-depth", "24" });
    ASSERT_TRUE(process.waitForStarted());
    process.write("first line\n");
    QByteArray out;
    while (!out.contains('\n') && process.waitForReadyRead(20000))
        out += process.readAllStandardOutput();
    EXPECT_TRUE(out.startsWith("\x1b[38;2;")) << out.constData();
    EXPECT_TRUE(out.endsWith("\x1b[0m\n")) << "one whole line";
    process.write("second line\n");
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(20000));
    out += process.readAllStandardOutput();
    EXPECT_EQ(out.count('\n'), 2);
    EXPECT_EQ(process.exitCode(), 0);
}

TEST(CommandLinePreview, ColourDepthFollowsColortermUnlessForced)
{
    const QByteArray trueColor = "\x1b[38;2;128;128;192mA\x1b[0m\x1b[38;2;255;0;128mB\x1b[0m\n";
    // 8080C0 is nearest to 103 (#8787AF... ) in the cube; FF0080 to 198 (#FF0087).
    const QByteArray palette = "\x1b[38;5;103mA\x1b[0m\x1b[38;5;198mB\x1b[0m\n";
    EXPECT_EQ(runCli({ "-p", "AB" }, {}, {}, 0, { "COLORTERM=truecolor" }).out, trueColor);
    EXPECT_EQ(runCli({ "-p", "AB" }, {}, {}, 0, { "COLORTERM=24bit" }).out, trueColor);
    EXPECT_EQ(runCli({ "-p", "AB" }, {}, {}, 0, { "COLORTERM=" }).out, palette);
    EXPECT_EQ(
        runCli({ "-p", "--color-depth", "8", "AB" }, {}, {}, 0, { "COLORTERM=truecolor" }).out, palette);
    EXPECT_EQ(runCli({ "-p", "--color-depth", "24", "AB" }, {}, {}, 0, { "COLORTERM=" }).out, trueColor);
    EXPECT_EQ(runCli({ "-p", "--color-depth", "16", "AB" }).exitCode, 2);
    // Untagged whitespace stays plain in the preview too.
    EXPECT_EQ(runCli({ "-p", "--color-depth", "24", "-w", "A B" }).out,
        "\x1b[38;2;128;128;192mA\x1b[0m \x1b[38;2;255;0;128mB\x1b[0m\n");
}

TEST(CommandLineConventions, ShortFormsHelpAndUsageErrors)
{
    EXPECT_EQ(runCli({ "-h" }).out, runCli({ "--help" }).out);
    EXPECT_TRUE(runCli({ "--help" }).out.contains("'--' ends the options"));
    EXPECT_EQ(runCli({ "-V" }).out, runCli({ "--version" }).out);
    const QByteArray text = "青柚彩虹文字青柚彩虹文字";
    EXPECT_EQ(runCli({ "-m", "rainbow", "-rS", "-f", "html", text }).out,
        runCli({ "--mode", "rainbow", "--reverse", "--symmetric", "--format", "html", text }).out);
    EXPECT_EQ(runCli({ "-s", "#000", "-e", "#FFF", "-b", "oklab", "-Mwp", text }).out,
        runCli({ "--start", "#000", "--end", "#FFF", "--blend", "oklab", "--merge", "--skip-spaces",
                   "--preview", text })
            .out);
    EXPECT_EQ(runCli({ "--", "-5" }).out, "[color=#8080C0]-[/color][color=#FF0080]5[/color]\n");

    const QList<QByteArray> usageErrors[] = {
        { "-5" },
        { "-mode", "rainbow", "abcdef" },
        { "-reverse", "abc" },
        { "--sparkle" },
        { "--start" },
        { "--end", "12345", "x" },
        { "--fit", "many", "x" },
        { "--template", "{text}{hex}", "x" },
        { "a", "b" },
    };
    for (const QList<QByteArray> &arguments : usageErrors) {
        SCOPED_TRACE(arguments.join(' ').constData());
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.startsWith("rainbowtext-cli: ")) << run.err.constData();
        EXPECT_TRUE(run.err.endsWith(". Try 'rainbowtext-cli --help'.\n")) << run.err.constData();
        EXPECT_EQ(run.err.count('\n'), 1);
    }
    EXPECT_TRUE(runCli({ "-mode", "x" }).err.contains("'-mode' has one dash"));
}
