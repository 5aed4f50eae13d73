#include "ui/main_window/form1_state.h"

#include "tests/cli/cli_run.h"
#include "tests/support/mixed_text.h"

#include <QProcess>
#include <QString>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace {

const QByteArray ab = "[color=#8080C0]A[/color][color=#FF0080]B[/color]\n";

} // namespace

TEST(CommandLine, Contract)
{
    const struct {
        const char *name;
        QList<QByteArray> arguments;
        QByteArray input;
        int exitCode;
        QByteArray out; // exact standard output
        QByteArray errPart; // expected inside standard error; empty: standard error stays empty
    } cases[] = {
        { "text argument", { "AB" }, "", 0, ab, "" },
        { "standard input loses one LF", {}, "AB\n", 0, ab, "" },
        { "standard input loses one CR LF", {}, "AB\r\n", 0, ab, "" },
        { "spaces are trimmed", { "  AB  " }, "", 0, ab, "" },
        { "colours with # and either case", { "--start", "#ff0000", "--end", "0000Ff", "x" }, "", 0,
            "[color=#0000FF]x[/color]\n", "" },
        { "html format", { "--format", "html", "x" }, "", 0, "<font color=#FF0080>x</font>\n", "" },
        { "qzone format", { "--format", "qzone", "x" }, "", 0, "[ftc=#FF0080]x[/ft]\n", "" },
        { "rainbow too short", { "--mode", "rainbow", "abcde" }, "", 1, "",
            "rainbowtext-cli: a rainbow needs at least 6 characters\n" },
        { "symmetric too short", { "--mode", "rainbow", "--symmetric", "abcdefg" }, "", 1, "",
            "rainbowtext-cli: a symmetric rainbow needs at least 12 characters\n" },
        { "unknown option", { "--sparkle", "x" }, "", 2, "", "sparkle" },
        { "bad colour", { "--end", "12345", "x" }, "", 2, "", "--end" },
        { "a sign is no hex digit", { "--end", "+12345", "x" }, "", 2, "", "--end" },
        { "a space is no hex digit", { "--start", " 12345", "x" }, "", 2, "", "--start" },
        { "a 0x prefix is no hex digit", { "--end", "0x1234", "x" }, "", 2, "", "--end" },
        { "the preview refuses a short rainbow", { "--preview", "--mode", "rainbow", "abcde" }, "", 1, "",
            "rainbowtext-cli: a rainbow needs at least 6 characters\n" },
        { "unknown format", { "--format", "bbcode", "x" }, "", 2, "", "bbcode" },
        { "unknown mode", { "--mode", "plaid", "x" }, "", 2, "", "plaid" },
        { "two texts", { "a", "b" }, "", 2, "", "more than one TEXT" },
        { "invalid UTF-8 argument", { "ab\xC3(x" }, "", 2, "",
            "argument 1 is not valid UTF-8 (byte offset 2)" },
        { "invalid UTF-8 input", {}, "abc\xFF\n", 2, "",
            "standard input is not valid UTF-8 (byte offset 3)" },
        { "empty gradient converts to an empty line", {}, "", 0, "\n", "" },
        { "a leading byte-order mark is dropped, a second one kept", {},
            "\xEF\xBB\xBF\xEF\xBB\xBF"
            "AB\n",
            0, "[color=#55AAD5]\xEF\xBB\xBF[/color][color=#AA55AA]A[/color][color=#FF0080]B[/color]\n", "" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = runCli(c.arguments, c.input);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.out, c.out);
        if (c.errPart.isEmpty()) {
            EXPECT_TRUE(run.err.isEmpty()) << run.err.constData();
        } else {
            EXPECT_TRUE(run.err.contains(c.errPart)) << run.err.constData();
        }
        if (c.exitCode != 0) {
            EXPECT_TRUE(run.err.endsWith('\n') && run.err.count('\n') == 1) << "one line on standard error";
            EXPECT_TRUE(run.err.startsWith("rainbowtext-cli: ")) << run.err.constData();
        }
    }
}

TEST(CommandLine, RainbowMatchesTheWindowsConversion)
{
    const CliRun run
        = runCli({ "--mode", "rainbow", "--reverse", "--symmetric", "青柚彩虹文字青柚彩虹文字" });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith("[color=#FF0000]青[/color][color=#FF00FF]柚[/color]"))
        << run.out.constData();
}

TEST(CommandLine, PreviewPrintsTerminalColours)
{
    const CliRun run = runCli({ "--preview", "--color-depth", "24", "AB" });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "\x1b[38;2;128;128;192mA\x1b[0m\x1b[38;2;255;0;128mB\x1b[0m\n");
}

TEST(CommandLine, AWriteFailureIsAnErrorOfItsOwnToldOnce)
{
    // Whatever was still to be written or reported after it, the failure is the one message.
    const struct {
        const char *name;
        const char *command;
    } cases[] = {
        { "a short text", "exec \"$0\" AB > /dev/full" },
        { "a text of more than one chunk of output",
            "head -c 3000000 /dev/zero | tr '\\0' a | \"$0\" > /dev/full" },
        { "lines, some refused", "printf 'abc\\nabcdefgh\\nab\\n' | \"$0\" -l -m rainbow > /dev/full" },
        { "the help", "exec \"$0\" --help > /dev/full" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QProcess process;
        process.start(QStringLiteral("/bin/sh"),
            { QStringLiteral("-c"), QString::fromLatin1(c.command), QStringLiteral(RAINBOWTEXT_CLI_PATH) });
        process.closeWriteChannel();
        process.waitForFinished(60000);
        EXPECT_EQ(process.exitCode(), 2);
        const QByteArray err = process.readAllStandardError();
        EXPECT_TRUE(err.startsWith("rainbowtext-cli: cannot write standard output: ")) << err.constData();
        EXPECT_EQ(err.count("rainbowtext-cli"), 1) << err.constData();
    }
}

TEST(CommandLine, HelpAndVersion)
{
    const CliRun help = runCli({ "--help" });
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: rainbowtext-cli"));
    // The help fits the terminal's width (COLUMNS; 80 in a pipe), 100 columns at most, and
    // breaks no word.
    for (const auto &[columns, widest] :
        { std::pair { "", 80 }, { "80", 80 }, { "64", 64 }, { "300", 100 } }) {
        SCOPED_TRACE(columns);
        const CliRun sized = runCli({ "--help" }, {}, {}, 0, { QStringLiteral("COLUMNS=") + columns });
        int longest = 0;
        for (const QByteArray &line : sized.out.split('\n'))
            longest = std::max(longest, int(line.size()));
        EXPECT_LE(longest, widest);
        EXPECT_GT(longest, widest - 10);
        EXPECT_TRUE(sized.out.contains("leading")) << sized.out.constData();
    }
    const CliRun version = runCli({ "--version" });
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "rainbowtext-cli 1.0.2\n");
}

TEST(CommandLine, EmojiStayWholeInTheMarkup)
{
    const CliRun run = runCli({ "--format", "html", "🇨🇳e\xCC\x81" });
    EXPECT_EQ(run.out, "<font color=#8080C0>🇨🇳</font><font color=#FF0080>e\xCC\x81</font>\n");
}

// Scripts whose characters are several code points each: the command line counts and cuts them
// as the window does, and its UTF-8 markup is the window's UTF-16 markup byte for byte.
TEST(CommandLine, EveryScriptConvertsAsTheWindowDoes)
{
    const struct {
        const char *name;
        QList<QByteArray> arguments;
        int exitCode;
    } cases[] = {
        { "Devanagari before an emoji", { "क😀" }, 0 },
        { "five characters are too few for a rainbow", { "--mode", "rainbow", "नमस्ते 😀" }, 1 },
        { "Thai and a skin tone are five characters", { "--mode", "rainbow", "ไทย 👍🏽" }, 1 },
        { "variation selector", { "क ❤️" }, 0 },
        { "keycap", { "क 1️⃣" }, 0 },
        { "Myanmar", { "--mode", "rainbow", "--format", "html", "မြန်မာမြန်မာ" }, 0 },
        { "a space that carries an accent",
            { "  \xCC\x81"
              "ab  " },
            0 },
        { "Khmer, Tamil and a family",
            { "--mode", "rainbow", "--symmetric", "ស្រីதமிழ்👨‍👩‍👧abcdefghij" },
            0 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.constData();
        if (c.exitCode != 0) {
            EXPECT_TRUE(run.out.isEmpty());
            continue;
        }
        rainbow::Form1State form;
        form.Option1 = !c.arguments.contains("rainbow");
        form.Check2 = c.arguments.contains("--symmetric") ? 1 : 0;
        rainbow::Combo1_Click(form, c.arguments.contains("html") ? 2 : 0);
        form.Text1 = QString::fromUtf8(c.arguments.last());
        rainbow::Command3_Click(form);
        EXPECT_EQ(run.out, form.Text3.toUtf8() + '\n');
    }
    EXPECT_EQ(runCli({ "क😀" }).out, "[color=#8080C0]क[/color][color=#FF0080]😀[/color]\n");
}

// Long texts stream through several chunks of standard output: every byte must still be the
// window's Text3, whether standard input is a pipe or a regular file.
TEST(CommandLine, LongTextsPrintWhatTheWindowsConversionGives)
{
    const struct {
        const char *name;
        QString text;
    } texts[] = {
        { "ASCII and CJK", rainbow::test::mixedText(150000) },
        { "with emoji, flags, accents and CR LF",
            rainbow::test::mixedText(150000, 41, rainbow::test::clusters()) },
    };
    const QList<QByteArray> modes[] = { {}, { "--mode", "rainbow", "--symmetric", "--format", "html" } };
    for (const auto &text : texts) {
        for (const QList<QByteArray> &arguments : modes) {
            SCOPED_TRACE(testing::Message() << text.name << ", " << arguments.join(' ').constData());
            rainbow::Form1State form;
            form.Option1 = arguments.isEmpty();
            form.Check2 = form.Option1 ? 0 : 1;
            rainbow::Combo1_Click(form, form.Option1 ? 0 : 2);
            form.Text1 = text.text;
            rainbow::Command3_Click(form);
            const QByteArray expected = form.Text3.toUtf8() + '\n';
            ASSERT_GT(expected.size(), 3 << 20) << "several chunks";

            const QByteArray input = text.text.toUtf8() + "\r\n";
            const CliRun piped = runCli(arguments, input);
            EXPECT_EQ(piped.exitCode, 0);
            EXPECT_TRUE(piped.out == expected)
                << "pipe: " << piped.out.size() << " bytes, " << expected.size() << " expected";

            QTemporaryFile file;
            ASSERT_TRUE(file.open());
            file.write(input);
            file.close();
            const CliRun fromFile = runCli(arguments, {}, file.fileName());
            EXPECT_EQ(fromFile.exitCode, 0);
            EXPECT_TRUE(fromFile.out == expected) << "file: " << fromFile.out.size() << " bytes";
        }
    }
}

// A bad value comes back quoted on one line: its control characters escaped, cut after 60
// characters, so neither the message's line nor the terminal can be broken by it.
TEST(CommandLine, ExitTwoMessagesQuoteBadValuesOnOneShortLine)
{
    const QByteArray longValue(20000, 'x'); // as long as one argument to sh can carry in octal
    const struct {
        const char *name;
        QList<QByteArray> arguments;
        QByteArray errPart;
    } cases[] = {
        { "line break in a mode", { "--mode", "x\ny", "a" }, "--mode: 'x\\ny' is neither" },
        { "escape sequence in a format", { "--format", "\x1b[31mred", "a" }, "'\\x1B[31mred'" },
        { "C1 control sequence introducer",
            { "--mode",
                "\xC2\x9B"
                "2J",
                "a" },
            "'\\u009B2J'" },
        { "quote and backslash", { "--end", "a'b\\", "a" }, "'a\\'b\\\\'" },
        { "a long colour is cut", { "--start=" + longValue, "a" },
            "'" + QByteArray(60, 'x') + "'... (20000 characters) is not a colour" },
        { "unknown option with an escape", { "--\x1b]0;title\x07", "a" },
            "unknown option '\\x1B]0;title\\x07'" },
        { "unknown option with a line break", { "--a\nb", "a" }, "unknown option 'a\\nb'" },
        { "a value missing", { "a", "-m" }, "rainbowtext-cli: missing value after '-m'. Try" },
        { "a value for a switch", { "--escape=x\x1b", "a" },
            "rainbowtext-cli: --escape takes no value: '--escape=x\\x1B'. Try" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(c.errPart)) << run.err.constData();
        EXPECT_LT(run.err.size(), 200);
        EXPECT_TRUE(run.err.endsWith('\n'));
        for (const char byte : run.err.chopped(1))
            EXPECT_TRUE(uchar(byte) >= 0x20 && byte != 0x7F) << "control byte " << int(byte);
    }
}

// Under a cap on the address space (which AddressSanitizer's shadow memory cannot live with): a
// text takes little more than itself, in either output, and a text too big for memory is told in
// words.
TEST(CommandLine, MemoryStaysNearTheTextsSizeAndRunningOutIsToldInWords)
{
#ifdef RAINBOWTEXT_ADDRESS_SANITIZER
    GTEST_SKIP() << "address space caps and AddressSanitizer do not mix";
#endif
    // What the program takes for --version, in steps of 4 MiB.
    long base = 16 << 10;
    while (runCli({ "--version" }, {}, {}, base).exitCode != 0) {
        base += 4 << 10;
        ASSERT_LT(base, 1L << 20);
    }
    constexpr long mib = 1024;
    constexpr int size = 24 << 20;
    const QByteArray text(size, 'a');
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write(text);
    file.close();

    // Twice the text for the text and its character index, and room for the chunks.
    for (const QList<QByteArray> &arguments : { QList<QByteArray> { "--preview" }, QList<QByteArray> {} }) {
        SCOPED_TRACE(arguments.join(' ').constData());
        const CliRun run = runCli(arguments, {}, file.fileName(), base + 2 * (size >> 10) + 16 * mib);
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_GT(run.out.size(), size);
    }

    const CliRun fromFile = runCli({}, {}, file.fileName(), base + 8 * mib);
    EXPECT_EQ(fromFile.exitCode, 2);
    EXPECT_EQ(fromFile.err,
        "rainbowtext-cli: not enough memory for a text of " + QByteArray::number(size) + " bytes\n");
    const CliRun inChinese = runCli({}, {}, file.fileName(), base + 8 * mib, { "LANG=zh_CN.UTF-8" });
    EXPECT_EQ(inChinese.exitCode, 2);
    EXPECT_EQ(
        inChinese.err, "rainbowtext-cli: 内存不足，无法处理 " + QByteArray::number(size) + " 字节的内容\n");
    // With --lines: the lines before are out, and the message names the long line and its size so far.
    const CliRun lines = runCli({ "--lines" }, "ab\ncd\nef\n" + text, {}, base + 8 * mib);
    EXPECT_EQ(lines.exitCode, 2);
    EXPECT_EQ(lines.out, runCli({ "-l", "ab\ncd\nef" }).out);
    EXPECT_TRUE(lines.err.startsWith("rainbowtext-cli: not enough memory for a text of more than "))
        << lines.err.constData();
    EXPECT_TRUE(lines.err.endsWith(" bytes (line 4)\n")) << lines.err.constData();
    EXPECT_FALSE(lines.err.contains("more than 0 bytes")) << lines.err.constData();
    const CliRun fromPipe = runCli({}, text, {}, base + 8 * mib);
    EXPECT_EQ(fromPipe.exitCode, 2);
    EXPECT_TRUE(fromPipe.err.startsWith("rainbowtext-cli: not enough memory for a text of more than "))
        << fromPipe.err.constData();
}
