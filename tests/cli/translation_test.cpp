#include "cli/option_table.h"
#include "cli/options.h"
#include "cli/translation.h"

#include "tests/cli/cli_run.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

#include <cstdlib>

#include <gtest/gtest.h>

using namespace rainbow::cli;

namespace {

/// The tool's Chinese, in process, for as long as this lives.
struct ChineseInProcess {
    ChineseInProcess() { useChinese(true); }
    ~ChineseInProcess() { useChinese(false); }
};

bool holdsChinese(const QByteArray &text)
{
    for (const char32_t c : QString::fromUtf8(text).toUcs4()) {
        if (c >= 0x4E00 && c <= 0x9FFF)
            return true;
    }
    return false;
}

} // namespace

TEST(CommandLineLanguage, TheLocaleAsksForChineseAsGettextReadsIt)
{
    const struct {
        const char *name;
        LocaleVariables variables;
        bool chinese;
    } cases[] = {
        { "nothing set is the C locale", {}, false },
        { "a Chinese LANG, its codeset in any spelling", { nullptr, nullptr, nullptr, "zh_TW.utf8" }, true },
        { "a Chinese locale in GBK gets English", { "zh_CN", nullptr, nullptr, "zh_CN.GBK" }, false },
        { "LC_MESSAGES over LANG", { nullptr, nullptr, "en_GB.UTF-8", "zh_CN.UTF-8" }, false },
        { "LC_ALL over both", { nullptr, "en_US.UTF-8", "zh_CN.UTF-8", "zh_CN.UTF-8" }, false },
        { "an empty LC_ALL counts as unset", { nullptr, "", nullptr, "zh_CN.UTF-8" }, true },
        { "LANGUAGE's first entry with a translation, over the locale",
            { "fr:de_DE::zh_CN:en", nullptr, nullptr, "fr_FR.UTF-8" }, true },
        { "English, the source, counts as a translation", { "fr:en:zh_CN", nullptr, nullptr, "zh_CN.UTF-8" },
            false },
        { "LANGUAGE is ignored under C.UTF-8", { "zh_CN", "C.UTF-8", nullptr, "zh_CN.UTF-8" }, false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(asksForChinese(c.variables), c.chinese);
    }
}

TEST(CommandLineLanguage, ABadOptionIsToldInTheLocalesLanguage)
{
    const CliRun chinese = runCli({ "--bogus" }, {}, {}, 0, { "LANG=zh_CN.UTF-8" });
    EXPECT_EQ(chinese.exitCode, 2);
    EXPECT_TRUE(chinese.out.isEmpty());
    EXPECT_EQ(chinese.err, "rainbowtext-cli: 未知选项 'bogus'。请运行 'rainbowtext-cli --help' 查看用法。\n");
    const CliRun english = runCli({ "--bogus" }, {}, {}, 0, { "LANG=C.UTF-8" });
    EXPECT_EQ(english.exitCode, 2);
    EXPECT_EQ(english.err, "rainbowtext-cli: unknown option 'bogus'. Try 'rainbowtext-cli --help'.\n");

    // The variables as the process gets them, each in its place in the order.
    const struct {
        const char *name;
        QStringList environment;
        bool chinese;
    } cases[] = {
        { "LANGUAGE over an English LANG", { "LANGUAGE=zh_CN:en", "LANG=en_US.UTF-8" }, true },
        { "LANGUAGE ignored under LC_ALL=C", { "LANGUAGE=zh_CN", "LC_ALL=C", "LANG=zh_CN.UTF-8" }, false },
        { "LC_ALL over LANG", { "LC_ALL=zh_CN.UTF-8", "LANG=en_US.UTF-8" }, true },
        { "LC_MESSAGES over LANG", { "LC_MESSAGES=en_US.UTF-8", "LANG=zh_CN.UTF-8" }, false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = runCli({ "--bogus" }, {}, {}, 0, c.environment);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err == chinese.err, c.chinese) << run.err.constData();
        EXPECT_EQ(run.err == english.err, !c.chinese) << run.err.constData();
    }
}

/// The C library's reason for path as cat gives it in the best Chinese this system has: from the
/// zh_CN.UTF-8 locale where it was generated, else through LANGUAGE under C.UTF-8 (which glibc 2.41
/// ignores), else in English.
QByteArray systemReason(const char *path)
{
    QByteArray reason;
    for (const char *locale : { "zh_CN.UTF-8", "C.UTF-8" }) {
        QProcess cat;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("zh_CN"));
        environment.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
        cat.setProcessEnvironment(environment);
        cat.start(QStringLiteral("cat"), { QString::fromLatin1(path) });
        cat.waitForFinished();
        const QByteArray said = cat.readAllStandardError().trimmed();
        reason = said.mid(said.lastIndexOf(": ") + 2);
        if (holdsChinese(reason))
            break;
    }
    return reason;
}

TEST(CommandLineLanguage, EveryMessageHasItsChinese)
{
    const struct {
        const char *name;
        QList<QByteArray> arguments;
        QByteArray input;
        int exitCode;
        QByteArray err; // all of it, or for exit 2 what comes before the pointer to --help
    } cases[] = {
        { "a rainbow too short", { "-m", "rainbow", "abcde" }, {}, 1,
            "rainbowtext-cli: 内容少于6个字，无法生成彩虹色\n" },
        { "a symmetric one", { "-m", "rainbow", "-w", "-S", "abc def ghi kl" }, {}, 1,
            "rainbowtext-cli: 除空白外内容少于12个字，无法生成对称彩虹色\n" },
        { "too long to fit", { "--fit", "27", "a b c" }, {}, 1,
            "rainbowtext-cli: 代码无法控制在 --fit 27 以内：即使整段文字只用一个标签，也需要 28 个字符\n" },
        { "a bad colour", { "-s", "12345", "x" }, {}, 2,
            "rainbowtext-cli: --start：'12345' 不是颜色（应为 RRGGBB、#RRGGBB 或 #RGB）" },
        { "an idle option", { "-p", "-f", "html", "x" }, {}, 2,
            "rainbowtext-cli: --format 与 --preview 同用而没有 --fit 时不起作用，请去掉它" },
        { "a value missing", { "x", "--mode" }, {}, 2, "rainbowtext-cli: '--mode' 后缺少取值" },
        { "a value for a switch", { "--merge=1", "x" }, {}, 2,
            "rainbowtext-cli: --merge 不接受取值：'--merge=1'" },
        // The C library's reason too, in its Chinese (libc-l10n), with the Chinese colon.
        { "a file that cannot be opened", { "-F", "/nonexistent" }, {}, 2,
            "rainbowtext-cli: --file：无法打开 '/nonexistent'：" + systemReason("/nonexistent") },
        { "a directory", { "-F", "/" }, {}, 2, "rainbowtext-cli: 无法读取'/'：" + systemReason("/") + "\n" },
        { "no {hex}", { "-t", "<{text}>", "x" }, {}, 2,
            "rainbowtext-cli: --template：'<{text}>'：模板里没有 {hex} 占位符" },
        { "no {text}", { "-t", "<{hex}>", "x" }, {}, 2,
            "rainbowtext-cli: --template：'<{hex}>'：模板里没有 {text} 占位符" },
        { "{hex} twice", { "-t", "{hex}{hex}{text}", "x" }, {}, 2,
            "rainbowtext-cli: --template：'{hex}{hex}{text}'：模板里的 {hex} 或 {text} 出现了不止一次" },
        { "{text} first", { "-t", "{text}{hex}", "x" }, {}, 2,
            "rainbowtext-cli: --template：'{text}{hex}'：模板里的 {text} 在 {hex} 之前" },
        { "input that is not UTF-8", {}, "a\xFF", 2,
            "rainbowtext-cli: 内容不是有效的 UTF-8（标准输入，字节偏移 1）\n" },
        { "a line that is not UTF-8", { "-l" }, "a\xFF\n", 2,
            "rainbowtext-cli: 第 1 行（标准输入）不是有效的 UTF-8（字节偏移 1），已原样输出\n" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = runCli(c.arguments, c.input, {}, 0, { "LANG=zh_CN.UTF-8" });
        EXPECT_EQ(run.exitCode, c.exitCode);
        if (c.exitCode == 2 && !c.err.endsWith('\n'))
            EXPECT_EQ(run.err, c.err + "。请运行 'rainbowtext-cli --help' 查看用法。\n");
        else
            EXPECT_EQ(run.err, c.err);
    }
}

TEST(CommandLineLanguage, ChineseHelpDescribesEveryOptionInChinese)
{
    const CliRun run
        = runCli({ "--help" }, {}, {}, 0, { "LANGUAGE=zh_CN", "LANG=en_US.UTF-8", "COLUMNS=80" });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith("用法：rainbowtext-cli [选项]... [--] [TEXT]\n")) << run.out.constData();
    {
        const ChineseInProcess chinese;
        setenv("COLUMNS", "80", 1);
        EXPECT_EQ(run.out.toStdString(), helpText());
        for (const OptionSpec &option : optionTable()) {
            SCOPED_TRACE(option.longName());
            EXPECT_TRUE(run.out.contains(QByteArray::fromStdString("--" + option.longName() + ' ')))
                << run.out.constData();
            // A new option's description needs its Chinese in the .ts file.
            EXPECT_TRUE(holdsChinese(QByteArray::fromStdString(option.description.translated())));
            for (const IdleRule &rule : option.idle)
                EXPECT_TRUE(holdsChinese(QByteArray::fromStdString(translate("rainbowtext-cli", rule.when))));
        }
    }
    // Lines break between Chinese characters to stay within the terminal, a Chinese one taking two.
    for (const QByteArray &line : run.out.split('\n')) {
        int columns = 0;
        for (const char32_t c : QString::fromUtf8(line).toUcs4())
            columns += c >= 0x1100
                    && (c <= 0x115F || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xFF00 && c <= 0xFF60))
                ? 2
                : 1;
        EXPECT_LE(columns, 80) << line.constData();
    }
    // Out of process the help is English again.
    EXPECT_TRUE(QByteArray::fromStdString(helpText()).startsWith("Usage: rainbowtext-cli"));
}

TEST(CommandLineLanguage, FillReplacesEachNumberOnceInOnePass)
{
    const struct {
        const char *pattern;
        std::initializer_list<std::string_view> arguments;
        const char *expected;
    } cases[] = {
        { "--%1: %2 is bad", { "fit", "'x'" }, "--fit: 'x' is bad" },
        { "%2 before %1", { "a", "b" }, "b before a" }, // Chinese word order
        { "%1 stays", { "an argument's own %2", "no" }, "an argument's own %2 stays" },
        { "%1 then %2", { "'%2'", "b" }, "'%2' then b" },
        { "%3 without an argument and 100% stay", { "a" }, "%3 without an argument and 100% stay" },
        { "a trailing %", { "a" }, "a trailing %" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(fill(c.pattern, c.arguments), c.expected);
    }
}
