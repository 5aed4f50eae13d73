// --strip, --recolor and --fit-unit through the real tool: the options that wrote markup read it
// back, recolouring equals converting the stripped text, and a limit in bytes is checked against
// glibc's own encoding.

#include "tests/cli/cli_run.h"
#include "tests/support/gbk_reference.h"

#include <gtest/gtest.h>

#include <string>

// The options --strip and --recolor read the markup with: what the tool wrote with them comes off
// (stripping itself is tested in the engine and the round trips), and --recolor gives what
// converting the stripped text gives.
TEST(CommandLineStrip, TheOptionsThatWroteTheMarkupReadItBack)
{
    const QByteArray text = "[b]彩虹 <a&b> 😀[/b] e\xCC\x81\nline two";
    const QByteArray bracket = "[c=#{hex}]{text}[/c]";
    const struct {
        const char *name;
        QList<QByteArray> convert;
        QList<QByteArray> strip; // what --strip needs to know of the markup
    } combinations[] = {
        { "ubb escaped and merged", { "--escape", "-M", "-c", "#F00,#F00,#00F" }, { "--escape" } },
        { "bracket template fitted in bytes of GBK", { "-t", bracket, "--fit", "900", "--fit-unit", "gbk" },
            { "-t", bracket } },
        { "html merged, escaped by itself", { "-f", "html", "-M" }, {} },
        { "the preview", { "-p", "--color-depth", "24", "-w" }, {} },
        { "lines", { "-l", "-f", "qzone", "-m", "rainbow" }, { "-l" } },
    };
    for (const auto &c : combinations) {
        SCOPED_TRACE(c.name);
        const CliRun converted = runCli(c.convert + QList<QByteArray> { "-F", "-" }, text + '\n');
        ASSERT_EQ(converted.exitCode, 0) << converted.err.constData();
        const CliRun stripped = runCli(c.strip + QList<QByteArray> { "--strip", "-F", "-" }, converted.out);
        ASSERT_EQ(stripped.exitCode, 0) << stripped.err.constData();
        EXPECT_EQ(stripped.out, text + '\n') << converted.out.constData();

        const QList<QByteArray> anew = c.convert + QList<QByteArray> { "-r", "-F", "-" };
        const CliRun recolored = runCli(QList<QByteArray> { "--recolor" } + anew, converted.out);
        EXPECT_EQ(recolored.exitCode, 0);
        EXPECT_EQ(recolored.out, runCli(anew, stripped.out).out);
    }
    EXPECT_EQ(runCli({ "--strip", "--", "[color=#FF0000]&lt;[/color]" }).out, "&lt;\n");
    EXPECT_EQ(runCli({ "--strip", "-l", "-F", "-" }, "[color=red]a\nb[/color]\n").out, "a\nb[/color]\n");
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
                    EXPECT_TRUE(run.err.contains("--fit " + QByteArray::number(limit) + ": "))
                        << run.err.constData();
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
