// Every pair of options: a pair that is taken changes the output of some text beyond what either
// option gives alone, and a pair that is refused as doing nothing does nothing.

#include "cli/command_line.h"
#include "cli/option_table.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

using rainbow::cli::IdleOptions;

struct Outcome {
    std::string out;
    std::string err;
    int status;

    bool operator==(const Outcome &other) const { return out == other.out && status == other.status; }
};

Outcome run(std::vector<std::string> arguments, const std::string &text, IdleOptions idle)
{
    arguments.insert(arguments.begin(), "rainbowtext-cli");
    arguments.insert(arguments.end(), { "--", text });
    const int fd = memfd_create("out", 0);
    std::ostringstream err;
    const int status = rainbow::runCommandLine(arguments, -1, fd, err, idle);
    std::string out(std::size_t(lseek(fd, 0, SEEK_END)), '\0');
    static_cast<void>(pread(fd, out.data(), out.size(), 0));
    close(fd);
    return { out, err.str(), status };
}

/// A value that differs from the option's default, so that giving it changes something.
std::vector<std::string> given(const rainbow::cli::OptionSpec &option)
{
    const std::string name = "--" + option.longName();
    static const std::vector<std::pair<std::string, std::string>> values { { "mode", "rainbow" },
        { "start", "00FF00" }, { "end", "0000FF" }, { "stops", "#F00,#0F0,#00F" }, { "blend", "oklab" },
        { "fit", "9000" }, { "fit-unit", "gbk" }, { "format", "html" }, { "template", "<c={hex}>{text}</c>" },
        { "color-depth", "24" } };
    for (const auto &[option_, value] : values) {
        if (option_ == option.longName())
            return { name, value };
    }
    return { name };
}

} // namespace

TEST(CommandLineOptionPairs, EachTakenPairDoesSomethingAndEachRefusedOneWouldNot)
{
    unsetenv("COLORTERM");
    const std::string texts[] = {
        "Hello, world <b>&amp; [color=red]x[/color] 青柚彩虹 😀 e\xCC\x81 [b]",
        "one [color=#00FF00]abcdefgh\nijklmnop[/color] two\r\nabcdefghijkl",
        "[color=red]&lt;[/color] <c=00FF00>abcdefghijkl</c> <font color=red>x</font>",
        std::string(1000, 'a') + " " + std::string(1000, 'b'),
        [] { // 1000 CJK characters: groups of 3 fit 9000 characters, not 9000 bytes of GBK
            std::string cjk;
            for (int i = 0; i < 200; ++i)
                cjk += "青柚彩虹字";
            return cjk;
        }(),
    };
    std::vector<const rainbow::cli::OptionSpec *> options;
    for (const auto &option : rainbow::cli::optionTable()) {
        // Where the text comes from, and what prints instead of converting, are no pair's matter;
        // the picture options draw rather than print, and the picture tests take their pairs.
        if (option.longName() != "file" && option.longName() != "help" && option.longName() != "version"
            && option.section != rainbow::cli::Section::Pictures)
            options.push_back(&option);
    }
    const auto outcomes = [&](const std::vector<std::string> &arguments, IdleOptions idle) {
        std::vector<Outcome> all;
        for (const std::string &text : texts)
            all.push_back(run(arguments, text, idle));
        return all;
    };
    const auto changes = [](const std::vector<Outcome> &a, const std::vector<Outcome> &b) { return a != b; };
    for (std::size_t i = 0; i < options.size(); ++i) {
        for (std::size_t j = i + 1; j < options.size(); ++j) {
            const std::vector<std::string> first = given(*options[i]);
            const std::vector<std::string> second = given(*options[j]);
            std::vector<std::string> both = first;
            both.insert(both.end(), second.begin(), second.end());
            SCOPED_TRACE(first.front() + " " + second.front());
            const Outcome checked = run(both, texts[0], IdleOptions::Refused);
            const std::vector<Outcome> pair = outcomes(both, IdleOptions::Allowed);
            const std::vector<Outcome> firstAlone = outcomes(first, IdleOptions::Allowed);
            const std::vector<Outcome> secondAlone = outcomes(second, IdleOptions::Allowed);
            if (checked.status != 2 || checked.err.find(" does nothing ") == std::string::npos) {
                if (checked.status == 2) { // two options that replace each other
                    EXPECT_NE(checked.err.find("give one or the other"), std::string::npos) << checked.err;
                    continue;
                }
                EXPECT_TRUE(changes(pair, firstAlone)) << second.front() << " does nothing here";
                EXPECT_TRUE(changes(pair, secondAlone)) << first.front() << " does nothing here";
                continue;
            }
            // The message names the option that does nothing: without it the output is the same.
            const bool firstIdle = checked.err.find(first.front() + " does nothing") != std::string::npos;
            EXPECT_TRUE(firstIdle || checked.err.find(second.front() + " does nothing") != std::string::npos)
                << checked.err;
            EXPECT_FALSE(changes(pair, firstIdle ? secondAlone : firstAlone)) << checked.err;
        }
    }
}
