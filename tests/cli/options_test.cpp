// The command-line tool's options beyond the window's: colour stops and blends, layouts, shorter
// markup, formats, line streaming, terminal colours and the option conventions. The markup is
// read back and checked character by character.

#include "ui/main_window/form1_state.h"

#include "tests/cli/cli_run.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    EXPECT_TRUE(tooLong.err.contains("does not fit --fit 48")) << tooLong.err.constData();
    EXPECT_TRUE(tooLong.err.contains("needs 49 characters")) << tooLong.err.constData();
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

// Where a tag holds several characters, each '[' of the text ends its tag, so that the text's
// brackets read back as text: a BBCode reader that takes the first close tag gets the text back.
// --fit counts those tags: its markup fits, and a larger limit never gives coarser markup.
TEST(CommandLineShorterMarkup, GroupedBbcodeKeepsTheTextsBracketsText)
{
    static const QRegularExpression tag(
        QStringLiteral("\\[(color|ftc)=#[0-9A-F]{6}\\](.*?)\\[/(color|ft)\\]"),
        QRegularExpression::DotMatchesEverythingOption);
    const QByteArray texts[]
        = { "a[/color]b [b]hi[/b] ab [color=red]x [i]y [[ z[ [ftc=#FF0000]q[/ft]", "e\xCC\x81[\xCC\x81]😀[" };
    const QList<QByteArray> optionSets[] = { { "-M", "-s", "336699", "-e", "336699" },
        { "-M", "-w", "-f", "qzone", "-s", "336699", "-e", "336699" }, { "--fit" },
        { "-M", "-f", "qzone", "--fit" }, { "-w", "--fit" } };
    for (const QByteArray &text : texts) {
        for (const QList<QByteArray> &options : optionSets) {
            SCOPED_TRACE((options.join(' ') + " " + text).constData());
            qsizetype previous = 0;
            for (int limit = 40; limit <= 1300; limit += options.last() == "--fit" ? 90 : 10000) {
                const QList<QByteArray> limited = options.last() == "--fit"
                    ? options + QList<QByteArray> { QByteArray::number(limit) }
                    : options;
                const CliRun run = runCli(limited + QList<QByteArray> { "--", text });
                if (run.exitCode == 1)
                    continue;
                ASSERT_EQ(run.exitCode, 0) << run.err.constData();
                const QString markup = QString::fromUtf8(run.out.chopped(1));
                QString readBack = markup;
                readBack.replace(tag, QStringLiteral("\\2"));
                EXPECT_EQ(readBack, QString::fromUtf8(text)) << run.out.constData();
                if (options.last() == "--fit") {
                    EXPECT_LE(markup.toUcs4().size(), limit);
                    EXPECT_GE(markup.size(), previous);
                    previous = markup.size();
                }
            }
        }
    }
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

    // Each line on its own; lines too short for a rainbow stay as they are, each named, and the
    // run ends as the whole text's would.
    const CliRun lines = runCli({ "--lines", "-m", "rainbow", "-F", name });
    EXPECT_EQ(lines.exitCode, 1);
    EXPECT_EQ(lines.out,
        runCli({ "-m", "rainbow", "abcdefg" }).out + "xy\n\n" + runCli({ "-m", "rainbow", "12345678" }).out);
    EXPECT_EQ(lines.err.toStdString(),
        "rainbowtext-cli: line 2 of '" + name.toStdString()
            + "': a rainbow needs at least 6 characters; printed uncoloured\nrainbowtext-cli: line 3 of '"
            + name.toStdString() + "': a rainbow needs at least 6 characters; printed uncoloured\n");
    const CliRun tooLong = runCli({ "-l", "--fit", "30" }, "abc\r\nabcdefghijklmnopqrstuvwxyz\r\n");
    EXPECT_EQ(tooLong.exitCode, 1);
    EXPECT_EQ(tooLong.out, runCli({ "--fit", "30", "abc" }).out + "abcdefghijklmnopqrstuvwxyz\r\n");
    EXPECT_TRUE(tooLong.err.startsWith("rainbowtext-cli: line 2 of standard input: the markup does not fit"))
        << tooLong.err.constData();
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

// An option that would change nothing is refused, naming both options, instead of being ignored.
TEST(CommandLineConventions, OptionsThatWouldDoNothingAreRefused)
{
    const struct {
        QList<QByteArray> arguments;
        QByteArray errPart;
    } cases[] = {
        { { "-m", "rainbow", "--stops", "#F00,#00F" }, "--stops does nothing with --mode rainbow" },
        { { "-m", "rainbow", "--blend", "oklab" }, "--blend does nothing with --mode rainbow" },
        { { "-m", "rainbow", "--start", "#F00" }, "--start does nothing with --mode rainbow" },
        { { "--end", "#F00", "--mode", "rainbow" }, "--end does nothing with --mode rainbow" },
        { { "-p", "--format", "html" }, "--format does nothing with --preview but no --fit" },
        { { "-p", "--template", "<{hex}>{text}" }, "--template does nothing with --preview but no --fit" },
        { { "--escape", "-p" }, "--escape does nothing with --preview but no --fit" },
        { { "-p", "-M" }, "--merge does nothing with --preview but no --fit" },
        { { "--strip", "-t", "{hex}{text}" },
            "--template does nothing with --strip when the template has no text around {hex}" },
        { { "--color-depth", "24" }, "--color-depth does nothing without --preview" },
        { { "--list-formats" }, "a TEXT does nothing with --list-formats" },
        { { "--list-formats", "-m", "rainbow", "-e", "00FF00", "--strip", "-F", "/etc/passwd" },
            "--mode does nothing with --list-formats" },
        { { "--strip", "-m", "rainbow" }, "--mode does nothing with --strip" },
        { { "--strip", "-s", "#F00" }, "--start does nothing with --strip" },
        { { "-c", "#F00,#0F0", "--strip" }, "--stops does nothing with --strip" },
        { { "--strip", "-S" }, "--symmetric does nothing with --strip" },
        { { "--strip", "-M" }, "--merge does nothing with --strip" },
        { { "--strip", "-w" }, "--skip-spaces does nothing with --strip" },
        { { "--strip", "--fit", "99" }, "--fit does nothing with --strip" },
        { { "--strip", "-f", "html" }, "--format does nothing with --strip" },
        { { "--strip", "-p" }, "--preview does nothing with --strip" },
        { { "--strip", "--recolor" }, "--strip does nothing with --recolor" },
        { { "--strip", "--recolor", "-M" }, "--strip does nothing with --recolor" },
        { { "--fit-unit", "gbk" }, "--fit-unit does nothing without --fit" },
        { { "--strip", "--fit-unit", "gbk" }, "--fit-unit does nothing without --fit" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').constData());
        const CliRun run = runCli(c.arguments + QList<QByteArray> { "abcdefgh" });
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("rainbowtext-cli: " + c.errPart)) << run.err.constData();
    }
    // What still does something is taken.
    EXPECT_EQ(runCli({ "-m", "gradient", "--blend", "oklab", "-p", "--color-depth", "8", "ab" }).exitCode, 0);
    EXPECT_EQ(
        runCli({ "-m", "rainbow", "-r", "-S", "-M", "-w", "--fit", "9999", "abcdefghijkl" }).exitCode, 0);
    // --strip reads what --template and --escape wrote; --recolor takes every option.
    EXPECT_EQ(runCli({ "--strip", "-t", "<{hex}>{text}", "--escape", "-l", "ab" }).exitCode, 0);
    // With --fit the preview shows the groups that the format and the escaping decide.
    EXPECT_EQ(runCli({ "--recolor", "-m", "rainbow", "-r", "-S", "-M", "-w", "--fit", "9999", "--fit-unit",
                         "gbk", "-f", "html", "--escape", "-l", "-p", "abcdefghijkl" })
                  .exitCode,
        0);
    const QList<QByteArray> fitPreview { "-p", "--color-depth", "24", "--fit", "500", "--",
        "abcdefghijklmnopqrstuvwxyz" };
    EXPECT_NE(runCli(fitPreview + QList<QByteArray> { "-f", "html" }).out, runCli(fitPreview).out);
    EXPECT_EQ(runCli({ "--recolor", "-m", "rainbow", "-r", "-S", "-M", "-w", "--fit", "9999", "--fit-unit",
                         "gbk", "-t", "<{hex}>{text}", "--escape", "-l", "abcdefghijkl" })
                  .exitCode,
        0);
}

// The preview: the text's own colour sequences go, every other control character is shown, never
// sent, also inside a run of one colour. The markup keeps the text as it is.
TEST(CommandLinePreview, ControlCharactersAreShownNotSent)
{
    const QByteArray grey = "\x1b[38;2;128;128;128m";
    const QList<QByteArray> oneColour { "-p", "--color-depth", "24", "-s", "808080", "-e", "808080" };
    const struct {
        const char *name;
        QList<QByteArray> options;
        QByteArray input;
        QByteArray out;
        int exitCode;
    } cases[] = {
        { "title, clipboard and clear screen", oneColour, "X\x1b]0;PWNED\aY\x1b]52;c;aGVsbG8=\aZ\x1b[2J",
            grey + "X^[]0;PWNED^GY^[]52;c;aGVsbG8=^GZ^[[2J\x1b[0m\n", 0 },
        { "the text's colours are dropped", oneColour, "a\x1b[01;31mb\x1b[0m\x1b[m", grey + "ab\x1b[0m\n",
            0 },
        { "backspace, a lone CR and DEL", oneColour, "a\bb\rc\x7f", grey + "a^Hb^Mc^?\x1b[0m\n", 0 },
        { "C1 controls", oneColour,
            "a\xC2\x9B"
            "2Jb\xC2\x85\xC2\xA0",
            grey + "a<U+009B>2Jb<U+0085>\xC2\xA0\x1b[0m\n", 0 },
        { "tab and CR LF stay", oneColour, "a\tb\r\nc", grey + "a\tb\r\nc\x1b[0m\n", 0 },
        { "untagged whitespace", oneColour + QList<QByteArray> { "-w" }, "a\x0B\x0C\xC2\x85z",
            grey + "a\x1b[0m^K^L<U+0085>" + grey + "z\x1b[0m\n", 0 },
        { "a line too short for a rainbow", { "-l", "-p", "-m", "rainbow" }, "a\x1b[1mb\x1b[0m\a\n", "ab^G\n",
            1 },
        { "a line that is not UTF-8", { "-l", "-p" }, "\xFF\x1b[2J\n", "\xEF\xBF\xBD^[[2J\n", 2 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = runCli(c.options, c.input);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.constData();
        EXPECT_EQ(run.out, c.out);
    }

    // Every C0 control but tab and LF, DEL and every C1 control, each between two letters and all in
    // one colour: nothing but the preview's own escapes and the line break reaches the terminal.
    QByteArray controls;
    for (int c = 0; c < 0x20; ++c) {
        if (c != '\t' && c != '\n')
            controls += "x" + QByteArray(1, char(c));
    }
    controls += "x\x7F";
    for (int c = 0x80; c < 0xA0; ++c)
        controls += "x" + QString(QChar(c)).toUtf8();
    for (const QList<QByteArray> &options : { oneColour, QList<QByteArray> { "-p", "--color-depth", "8" } }) {
        const CliRun run = runCli(options, controls + "y");
        EXPECT_EQ(run.exitCode, 0);
        const QByteArray shown
            = QString::fromUtf8(run.out).remove(QRegularExpression("\x1b\\[[0-9;]*m")).toUtf8();
        for (qsizetype i = 0; i + 1 < shown.size(); ++i)
            EXPECT_FALSE(uchar(shown[i]) < 0x20 || shown[i] == 0x7F) << "byte " << i << ": " << int(shown[i]);
        EXPECT_FALSE(QString::fromUtf8(shown).contains(QRegularExpression("[\\x{80}-\\x{9F}]")));
        EXPECT_TRUE(shown.contains("x^@x^Ax^Bx^Cx^D")) << shown.constData();
        EXPECT_TRUE(shown.contains("x^?x<U+0080>x<U+0081>")) << shown.constData();
        EXPECT_TRUE(shown.endsWith("x<U+009F>y\n")) << shown.constData();
    }
    // The markup is not the preview: the text goes in as it is.
    EXPECT_EQ(runCli({ "-M", "-s", "808080", "-e", "808080" }, "X\x1b]0;T\aY").out,
        "[color=#808080]X\x1b]0;T\aY[/color]\n");
}

// --lines never loses a line: one that is not UTF-8 goes out as it is, is reported with its
// number, and the lines after it are converted; the run ends with 2. Pipe and file alike.
TEST(CommandLineInput, LinesNeverLoseALine)
{
    const QByteArray ok = runCli({ "ok" }).out;
    const QByteArray fine = runCli({ "fine" }).out;
    QByteArray manyLines;
    for (int i = 0; i < 100000; ++i)
        manyLines += "x\n";
    const struct {
        const char *name;
        QList<QByteArray> arguments;
        QByteArray input;
        QByteArray out;
        QByteArray err;
    } cases[] = {
        { "a bad line between good ones, its CR LF kept", { "-l" }, "ok\n\xFF\r\nfine\n",
            ok + "\xFF\r\n" + fine,
            "rainbowtext-cli: line 2 of standard input is not valid UTF-8 (byte offset 0), printed as it "
            "is\n" },
        { "a bad last line without a break", { "-l" }, "ok\r\nfine\r\nab\xC3(", ok + fine + "ab\xC3(\n",
            "rainbowtext-cli: line 3 of standard input is not valid UTF-8 (byte offset 2), printed as it "
            "is\n" },
        { "two bad lines", { "-l", "-m", "rainbow" }, "\xFE\nok\n\xED\xA0\x80x\n",
            "\xFE\nok\n\xED\xA0\x80x\n",
            "rainbowtext-cli: line 1 of standard input is not valid UTF-8 (byte offset 0), printed as it is\n"
            "rainbowtext-cli: line 2 of standard input: a rainbow needs at least 6 characters; printed "
            "uncoloured\n"
            "rainbowtext-cli: line 3 of standard input is not valid UTF-8 (byte offset 0), printed as it "
            "is\n" },
        { "100,000 good lines before a bad one", { "-l" }, manyLines + "\xFF",
            QByteArray("[color=#FF0080]x[/color]\n").repeated(100000) + "\xFF\n",
            "rainbowtext-cli: line 100001 of standard input is not valid UTF-8 (byte offset 0), printed as "
            "it "
            "is\n" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun piped = runCli(c.arguments, c.input);
        EXPECT_EQ(piped.exitCode, 2);
        EXPECT_TRUE(piped.out == c.out) << piped.out.left(200).constData();
        EXPECT_EQ(piped.err, c.err);

        QTemporaryFile file;
        ASSERT_TRUE(file.open());
        file.write(c.input);
        file.close();
        const CliRun fromFile = runCli(c.arguments, {}, file.fileName());
        EXPECT_EQ(fromFile.exitCode, 2);
        EXPECT_TRUE(fromFile.out == c.out);
    }
    // Without --lines the text is one: nothing is printed.
    const CliRun whole = runCli({}, "ok\n\xFF\nfine\n");
    EXPECT_EQ(whole.exitCode, 2);
    EXPECT_TRUE(whole.out.isEmpty());
}

// As tail -f uses it: each line, also a bad one and the one after it, is out before the next comes.
TEST(CommandLineInput, LinesAroundABadOneAreWrittenBeforeTheNextIsRead)
{
    QProcess process;
    process.start(QStringLiteral(RAINBOWTEXT_CLI_PATH), { "--lines" });
    ASSERT_TRUE(process.waitForStarted());
    QByteArray out;
    const auto lineOut = [&](const QByteArray &line, const QByteArray &expected) {
        process.write(line + "\n");
        const qsizetype before = out.size();
        while (out.count('\n') == QByteArray(out).left(before).count('\n') && process.waitForReadyRead(20000))
            out += process.readAllStandardOutput();
        EXPECT_EQ(out.mid(before), expected);
    };
    lineOut("ab", runCli({ "ab" }).out);
    lineOut("a\xFF", "a\xFF\n");
    lineOut("cd", runCli({ "cd" }).out);
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 2);
}

TEST(CommandLineInput, APathIsBytes)
{
    const QByteArray directory
        = QDir::tempPath().toUtf8() + "/rainbowtext-cli-test-" + QByteArray::number(getpid());
    ASSERT_EQ(mkdir(directory.constData(), 0700), 0);
    const QByteArray path = directory + "/n\xFF.txt";
    {
        const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, "Hi\n", 3), 3);
        close(fd);
    }
    const QByteArray hi = runCli({ "Hi" }).out;
    for (const QList<QByteArray> &arguments :
        { QList<QByteArray> { "-F", path }, { "--file=" + path }, { "-F" + path }, { "-lF", path } }) {
        SCOPED_TRACE(arguments.join(' ').toHex().constData());
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_EQ(run.out, hi);
    }
    const QByteArray byteOrderMark = directory + "/\xEF\xBB\xBFn.txt"; // QString::fromUtf8 drops the mark
    {
        const int fd = open(byteOrderMark.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, "Hi", 2), 2);
        close(fd);
    }
    EXPECT_EQ(runCli({ "--file", byteOrderMark }).out, hi);
    unlink(byteOrderMark.constData());
    const CliRun missing = runCli({ "-F", directory + "/m\xFE.txt" });
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("cannot open '" + directory + "/m\\xFE.txt'"))
        << missing.err.constData();
    // Only the path: other values and the TEXT must still be UTF-8.
    EXPECT_TRUE(runCli({ "-F", path, "--end", "\xFF" }).err.contains("argument 4 is not valid UTF-8"));
    EXPECT_TRUE(runCli({ "-s", "\xFF", "x" }).err.contains("argument 2 is not valid UTF-8"));
    // A TEXT that merely ends with the path's bytes is no path, --help or not.
    EXPECT_TRUE(runCli({ "-h", "@" + path, "-F" + path }).err.contains("argument 2 is not valid UTF-8"));
    unlink(path.constData());
    rmdir(directory.constData());

    const CliRun empty = runCli({ "-F", "" }, "AB\n");
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_TRUE(empty.out.isEmpty());
    EXPECT_TRUE(empty.err.startsWith("rainbowtext-cli: --file: the path is empty")) << empty.err.constData();
}

TEST(CommandLineMessages, EveryMessageIsTheToolsOwn)
{
    const struct {
        const char *name;
        QList<QByteArray> arguments;
        int exitCode;
        QByteArray err;
    } cases[] = {
        { "a rainbow too short", { "-m", "rainbow", "abcde" }, 1,
            "rainbowtext-cli: a rainbow needs at least 6 characters\n" },
        { "whitespace does not count", { "-m", "rainbow", "-w", "-S", "abc def ghi kl" }, 1,
            "rainbowtext-cli: a symmetric rainbow needs at least 12 characters besides whitespace\n" },
        { "a number too large", { "--fit", "99999999999999999999", "x" }, 2,
            "rainbowtext-cli: --fit: '99999999999999999999' is too large (at most 9223372036854775807). Try "
            "'rainbowtext-cli --help'.\n" },
        { "a negative number", { "--fit", "-99999999999999999999", "x" }, 2,
            "rainbowtext-cli: --fit: '-99999999999999999999' is not a whole number above 0. Try "
            "'rainbowtext-cli --help'.\n" },
        // 5 letters and 3 tags of 23: whitespace left out of the tags splits them.
        { "the fewest tags with skipped spaces", { "-w", "--fit", "73", "a b c" }, 1,
            "rainbowtext-cli: the markup does not fit --fit 73: even one tag for each stretch between "
            "untagged whitespace needs 74 characters\n" },
        { "the fewest tags", { "--fit", "27", "a b c" }, 1,
            "rainbowtext-cli: the markup does not fit --fit 27: even one tag for the whole text needs 28 "
            "characters\n" },
        { "a limit of one", { "--fit", "1", "x" }, 1,
            "rainbowtext-cli: the markup does not fit --fit 1: even one tag for the whole text needs 24 "
            "characters\n" },
        { "a limit in bytes of GBK", { "--fit", "27", "--fit-unit", "gbk", "彩 b c" }, 1,
            "rainbowtext-cli: the markup does not fit --fit 27: even one tag for the whole text needs 29 "
            "bytes of GBK\n" },
        { "a limit in bytes of UTF-8", { "-w", "--fit", "27", "--fit-unit", "utf-8", "彩 b c" }, 1,
            "rainbowtext-cli: the markup does not fit --fit 27: even one tag for each stretch between "
            "untagged whitespace needs 76 bytes of UTF-8\n" },
        { "an unknown unit", { "--fit", "27", "--fit-unit", "GBK\x1b", "x" }, 2,
            "rainbowtext-cli: --fit-unit: 'GBK\\x1B' is not one of chars, utf-8, gbk. Try 'rainbowtext-cli "
            "--help'.\n" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.err, c.err);
    }
    // The figure is what the markup takes when it fits.
    EXPECT_EQ(runCli({ "-w", "--fit", "74", "a b c" }).out.size(), 74 + 1);
}
