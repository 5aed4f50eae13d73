// --strip, --recolor and --fit-unit through the real tool: stripping its own output in every
// format gives back the text, recolouring equals converting the stripped text, markup written by
// others comes off, and a limit in bytes is checked against glibc's own encoding.

#include "tests/cli/cli_run.h"
#include "tests/support/gbk_reference.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Text that looks like markup without holding a colour tag, CJK, clusters and whitespace.
const std::vector<QByteArray> pieces { "a", "Z", "7", "彩", "虹", "中文", "😀", "🇨🇳", "e\xCC\x81", " ", "  ",
    "\t", "\xE3\x80\x80", "<", ">", "&", "&amp;", "&lt;", "&#65;", "\"", "'", "[", "]", "[b]", "[/b]",
    "[url=http://x.cn]", "[/url]", "<b>", "<a href=\"x\">", "</a>", "{hex}", "\n" };

/// A text with at least one letter, sometimes with spaces around it (which conversion trims).
QByteArray randomText(std::mt19937 &random)
{
    std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(1, 24);
    QByteArray text = random() % 4 == 0 ? "  " : "";
    for (int n = length(random); n > 0; --n)
        text += random() % 2 ? pieces[piece(random)] : QByteArray(1, "abcdefgh"[random() % 8]);
    text += random() % 4 == 0 ? "x " : "x";
    return text;
}

/// The text as conversion takes it: spaces (U+0020) around it trimmed, each line's with --lines.
QByteArray trimmed(const QByteArray &text, bool lines)
{
    const auto trim = [](QByteArray part) {
        while (part.startsWith(' '))
            part.remove(0, 1);
        while (part.endsWith(' '))
            part.chop(1);
        return part;
    };
    if (!lines)
        return trim(text);
    QList<QByteArray> parts = text.split('\n');
    for (QByteArray &part : parts)
        part = trim(part);
    return parts.join('\n');
}

} // namespace

// For formats, templates, escaping, merging, skipped spaces, --fit in each unit, the preview and
// --lines: the tool's output stripped is the converted text, and --recolor of that output is the
// stripped text converted.
TEST(CommandLineStrip, RoundTripsOverGeneratedTexts)
{
    const QByteArray bracket = "[c=#{hex}]{text}[/c]";
    const QByteArray font = "<font color=\"#{hex}\">{text}</font>";
    const struct {
        const char *name;
        QList<QByteArray> convert;
        QList<QByteArray> strip; // what --strip needs to know of the markup
    } combinations[] = {
        { "ubb", {}, {} },
        { "qzone, merged", { "-f", "qzone", "-M" }, {} },
        { "html", { "-f", "html" }, {} },
        { "html merged, escaped by itself", { "-f", "html", "-M" }, {} },
        { "span escaped, spaces skipped", { "-f", "span", "--escape", "-w" }, {} },
        { "ubb escaped and merged", { "--escape", "-M", "-c", "#F00,#F00,#00F" }, { "--escape" } },
        { "symmetric rainbow, spaces skipped", { "-m", "rainbow", "-S", "-w" }, {} },
        { "bracket template fitted", { "-t", bracket, "--fit", "300" }, { "-t", bracket } },
        { "font template merged", { "-t", font, "-M", "-c", "#F00,#F00,#00F" }, { "-t", font } },
        { "html fitted in bytes of GBK", { "-f", "html", "--fit", "400", "--fit-unit", "gbk" }, {} },
        { "qzone fitted in bytes of UTF-8", { "-f", "qzone", "--fit", "300", "--fit-unit", "utf-8" }, {} },
        { "preview in 24-bit colour", { "-p", "--color-depth", "24" }, {} },
        { "rainbow preview in 256 colours", { "-p", "--color-depth", "8", "-m", "rainbow" }, {} },
        { "lines", { "-l", "-f", "qzone" }, { "-l" } },
    };
    std::mt19937 random(19);
    int checked = 0;
    for (const auto &c : combinations) {
        const bool lines = c.convert.contains("-l");
        for (int i = 0; i < 6; ++i) {
            const QByteArray text = randomText(random);
            SCOPED_TRACE(std::string(c.name) + ", text '" + text.toStdString() + "'");
            const CliRun converted = runCli(c.convert + QList<QByteArray> { "-F", "-" }, text + '\n');
            if (converted.exitCode == 1) // too short for the rainbow, too long for --fit
                continue;
            ASSERT_EQ(converted.exitCode, 0) << converted.err.constData();
            const CliRun stripped
                = runCli(c.strip + QList<QByteArray> { "--strip", "-F", "-" }, converted.out);
            ASSERT_EQ(stripped.exitCode, 0) << stripped.err.constData();
            EXPECT_EQ(stripped.out, trimmed(text, lines) + '\n') << converted.out.constData();

            const QList<QByteArray> anew = c.convert + QList<QByteArray> { "-r", "-F", "-" };
            const CliRun recolored = runCli(QList<QByteArray> { "--recolor" } + anew, converted.out);
            const CliRun expected = runCli(anew, stripped.out);
            EXPECT_EQ(recolored.exitCode, expected.exitCode);
            EXPECT_EQ(recolored.out, expected.out);
            EXPECT_EQ(recolored.err, expected.err);
            ++checked;
        }
    }
    EXPECT_GT(checked, 14 * 6 / 2);
}

// Colour markup as other tools and people write it; everything else stays byte for byte.
TEST(CommandLineStrip, MarkupFromElsewhere)
{
    const struct {
        const char *name;
        QList<QByteArray> options;
        QByteArray in;
        QByteArray out;
    } cases[] = {
        { "upper-case tags and a named colour", {}, "[COLOR=Red]红[/COLOR]", "红" },
        { "a quoted code", {}, "[color=\"#00FF00\"]q[/color]", "q" },
        { "bold inside colour", {}, "[color=#FF0000][b]粗[/b][/color]", "[b]粗[/b]" },
        { "colour inside bold and a link", {}, "[url=http://x.cn][b][color=blue]l[/color][/b][/url]",
            "[url=http://x.cn][b]l[/b][/url]" },
        { "qzone without # and a close tag in capitals", {}, "[ftc=00FF00]绿[/FT]", "绿" },
        { "a span in single quotes", {}, "<span style='color: red'>x</span>", "x" },
        { "font in capitals", {}, "<FONT COLOR=\"#00ff00\">y</FONT>", "y" },
        { "other declarations stay", {}, "<span style=\"color:#123;font-weight:bold\">z</span>",
            "<span style=\"font-weight:bold\">z</span>" },
        { "other attributes stay", {}, "<font color=red size=2>s</font>", "<font size=2>s</font>" },
        { "an rgb() colour inside a link", {},
            "<a href=\"x\"><span style=\"color: rgb(1, 2, 3)\">链接</span></a>", "<a href=\"x\">链接</a>" },
        { "HTML's entities decoded", {}, "<font color=red>&lt;b&gt; &amp;</font>", "<b> &" },
        { "UBB's entities kept", {}, "[color=#FF0000]&lt;[/color]", "&lt;" },
        { "UBB's entities decoded with --escape", { "--escape" }, "[color=#FF0000]&lt;[/color]", "<" },
        { "a stray close tag stays", {}, "abc[/color]", "abc[/color]" },
        { "an unclosed tag goes", {}, "[color=red]abc", "abc" },
        { "terminal colours", {}, "\x1b[31mred\x1b[0m \x1b[38;5;208mx\x1b[0m", "red x" },
        { "a template's tags", { "-t", "<c #{hex}>{text}</c>" }, "<c #ABCDEF>a</c><c #abcdef>b</c>", "ab" },
        { "no colour at all", {}, "  [b]plain[/b] <a href=\"x\">text</a>  ",
            "  [b]plain[/b] <a href=\"x\">text</a>  " },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = runCli(c.options + QList<QByteArray> { "--strip", "--", c.in });
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_EQ(run.out, c.out + '\n');
    }
    // Line by line, each line's tags come off.
    EXPECT_EQ(runCli({ "--strip", "-l", "-F", "-" }, "[color=red]a[/color]\n[COLOR=blue]b[/COLOR]\n").out,
        "a\nb\n");
}

// Recolouring another tool's post: its colours go, its other markup stays, and the rest takes the
// tool's colours.
TEST(CommandLineStrip, RecolorTakesOtherToolsMarkup)
{
    const CliRun run
        = runCli({ "--recolor", "-f", "qzone", "[b][COLOR=red]彩[/COLOR][color=#00f]虹[/color][/b]" });
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, runCli({ "-f", "qzone", "[b]彩虹[/b]" }).out);
    // A post too short for a rainbow once stripped is refused as that text would be.
    const CliRun tooShort = runCli({ "--recolor", "-m", "rainbow", "[color=red]abc[/color]" });
    EXPECT_EQ(tooShort.exitCode, 1);
    EXPECT_EQ(tooShort.err, "rainbowtext-cli: a rainbow needs at least 6 characters\n");
    // With --lines a refused line is printed uncoloured: stripped, not as it came.
    EXPECT_EQ(
        runCli({ "--recolor", "-l", "-m", "rainbow", "-F", "-" }, "[color=red]abc[/color]\n").out, "abc\n");
}

// --fit-unit: the markup fits the limit as glibc counts it, and the limit it just fits picks the
// same markup, so the tool counts neither more nor less than the encoding does.
TEST(CommandLineFitUnit, MarkupFitsByTheForumsCount)
{
    ASSERT_GE(rainbow::test::gbkSize("x"), 0) << "no GBK in this system's iconv";
    // CJK (two bytes of GBK), an emoji and U+00A0 outside GBK (&#128512;, &#160;), the euro sign (one byte).
    const QByteArray text = "青柚彩虹文字 rainbow 😀\xC2\xA0€ <b>&amp; 𠀀 末尾";
    const struct {
        const char *unit;
        QByteArray words; // in the refusal
        int64_t (*size)(const QByteArray &);
    } units[] = {
        { "gbk", "bytes of GBK",
            [](const QByteArray &markup) { return rainbow::test::gbkSize(markup.toStdString()); } },
        { "utf-8", "bytes of UTF-8", [](const QByteArray &markup) { return int64_t(markup.size()); } },
        { "chars", "characters",
            [](const QByteArray &markup) { return int64_t(QString::fromUtf8(markup).toUcs4().size()); } },
    };
    for (const auto &unit : units) {
        for (const QList<QByteArray> &options : QList<QList<QByteArray>> { {}, { "-f", "html", "-w" } }) {
            SCOPED_TRACE(std::string(unit.unit) + " " + options.join(' ').toStdString());
            int fitted = 0;
            for (int limit = 60; limit <= 900; limit += 60) {
                SCOPED_TRACE(limit);
                const QList<QByteArray> fit
                    = options + QList<QByteArray> { "--fit-unit", unit.unit, "--fit" };
                const CliRun run = runCli(fit + QList<QByteArray> { QByteArray::number(limit), "--", text });
                if (run.exitCode == 1) {
                    // The size it names is the shortest markup, which fits exactly.
                    EXPECT_TRUE(run.err.contains("--fit " + QByteArray::number(limit) + ": ")) << run.err.constData();
                    EXPECT_TRUE(run.err.endsWith(" " + unit.words + "\n")) << run.err.constData();
                    QByteArray needed = run.err.mid(run.err.lastIndexOf("needs ") + 6);
                    needed.truncate(needed.indexOf(' '));
                    const CliRun shortest = runCli(fit + QList<QByteArray> { needed, "--", text });
                    ASSERT_EQ(shortest.exitCode, 0) << shortest.err.constData();
                    EXPECT_EQ(unit.size(shortest.out.chopped(1)), needed.toLongLong());
                    continue;
                }
                ASSERT_EQ(run.exitCode, 0) << run.err.constData();
                ++fitted;
                const int64_t size = unit.size(run.out.chopped(1));
                EXPECT_LE(size, limit);
                EXPECT_EQ(
                    runCli(fit + QList<QByteArray> { QByteArray::number(size), "--", text }).out, run.out);
            }
            EXPECT_GT(fitted, 5);
        }
    }
    // Characters are the default.
    EXPECT_EQ(runCli({ "--fit", "60", "--", text }).out,
        runCli({ "--fit", "60", "--fit-unit", "chars", "--", text }).out);
}
