#include "cli/arguments.h"
#include "cli/option_table.h"
#include "cli/options.h"
#include "cli/translation.h"
#include "cli/utf8.h"
#include "engine/code_points.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace rainbow::cli {

namespace {

/// The options given, each with its last value, and the TEXTs, as read in one pass.
struct GivenArguments {
    std::map<const OptionSpec *, std::string> options;
    std::vector<std::string> texts;

    bool has(std::string_view longName) const
    {
        return std::any_of(options.begin(), options.end(),
            [&](const auto &given) { return given.first->longName() == longName; });
    }
};

const OptionSpec *findOption(std::string_view name)
{
    for (const OptionSpec &option : optionTable()) {
        if (std::find(option.names.begin(), option.names.end(), name) != option.names.end())
            return &option;
    }
    return nullptr;
}

/// Every argument but a path must be UTF-8: each is checked once, as it is read.
Result<> requireUtf8(const std::vector<std::string> &arguments, std::size_t index)
{
    if (const auto offset = firstInvalidUtf8(arguments[index]))
        return usageFailure(index == 0
                ? fill(translate("rainbowtext-cli", "the program name is not valid UTF-8 (byte offset %1)"),
                    { std::to_string(*offset) })
                : fill(translate("rainbowtext-cli", "argument %1 is not valid UTF-8 (byte offset %2)"),
                    { std::to_string(index), std::to_string(*offset) }));
    return {};
}

/// The options and TEXTs of the arguments, GNU style: "--name value", "--name=value", "-x value",
/// "-xvalue", switches bundled ("-rS"), TEXTs among the options, all TEXTs after "--".
Result<GivenArguments> readArguments(const std::vector<std::string> &arguments)
{
    GivenArguments given;
    if (auto checked = arguments.empty() ? Result<>() : requireUtf8(arguments, 0); !checked.ok())
        return checked.failure();
    const auto unknown = [](std::string_view name) {
        return usageFailure(fill(translate("rainbowtext-cli", "unknown option %1"), { quoted(name) }));
    };
    // The value of option, from index on: the rest of the argument, or else the next argument.
    std::size_t index = 1;
    const auto take = [&](const OptionSpec &option, std::string_view written,
                          std::optional<std::string_view> rest) -> Result<> {
        if (!rest) {
            if (index + 1 >= arguments.size())
                return usageFailure(
                    fill(translate("rainbowtext-cli", "missing value after %1"), { quoted(written) }));
            rest = arguments[++index];
        }
        if (auto checked = option.takesPath() ? Result<>() : requireUtf8(arguments, index); !checked.ok())
            return checked;
        given.options[&option] = std::string(*rest);
        return {};
    };
    for (bool optionsEnded = false; index < arguments.size(); ++index) {
        const std::string &argument = arguments[index];
        Result<> read;
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            read = requireUtf8(arguments, index);
            given.texts.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument[1] == '-') {
            const std::size_t equals = argument.find('=');
            const std::string_view name = std::string_view(argument).substr(2, equals - 2);
            const OptionSpec *option = findOption(name);
            if (!option || name.size() < 2)
                return unknown(name);
            if (equals == std::string::npos && option->takesValue()) {
                read = take(*option, argument, std::nullopt);
            } else if (equals != std::string::npos && !option->takesValue()) {
                return usageFailure(fill(
                    translate("rainbowtext-cli", "--%1 takes no value: %2"), { name, quoted(argument) }));
            } else {
                read = take(*option, argument,
                    equals == std::string::npos ? std::optional<std::string_view>("")
                                                : std::string_view(argument).substr(equals + 1));
            }
        } else {
            // A long option written with one dash ("-mode") would otherwise be read as short ones.
            const std::string_view word = std::string_view(argument).substr(1, argument.find('=') - 1);
            if (const OptionSpec *option = findOption(word); option && word.size() > 1)
                return usageFailure(
                    fill(translate("rainbowtext-cli", "%1 has one dash: long options take two (--%2)"),
                        { quoted(argument), word }));
            for (std::size_t at = 1; at < argument.size(); ++at) {
                const std::string_view name = std::string_view(argument).substr(
                    at, decodeAt(argument.data(), argument.size(), at).length);
                const OptionSpec *option = findOption(name);
                if (!option)
                    return unknown(name);
                if (!option->takesValue()) {
                    given.options[option];
                    continue;
                }
                const std::string written = "-" + std::string(name);
                read = take(*option, written,
                    at + 1 < argument.size() ? std::optional(std::string_view(argument).substr(at + 1))
                                             : std::nullopt);
                break;
            }
        }
        if (!read.ok())
            return read.failure();
    }
    return given;
}

/// The rules between options, once each option has done its part.
Result<> finish(const GivenArguments &given, Request &request, IdleOptions idle)
{
    if (given.has("stops") && (given.has("start") || given.has("end")))
        return usageFailure(
            translate("rainbowtext-cli", "--stops replaces --start and --end: give one or the other"));
    if (given.has("template") && given.has("format"))
        return usageFailure(
            translate("rainbowtext-cli", "--template replaces --format: give one or the other"));
    for (const auto &[option, value] : given.options) {
        for (const IdleRule &rule : option->idle) {
            if (idle == IdleOptions::Refused && rule.applies(request))
                return usageFailure(fill(translate("rainbowtext-cli", "--%1 does nothing %2: leave it out"),
                    { option->longName(), translate("rainbowtext-cli", rule.when) }));
        }
    }
    ConversionSettings &settings = request.settings;
    // Markup read back: a template's tags are colour tags too. Entities outside HTML tags are
    // decoded only for an --escape given: the escaping turned on below is HTML's, decoded anyway.
    if (given.has("template"))
        request.stripOptions.markup = settings.markup;
    request.stripOptions.entitiesInEveryFormat = settings.escape;
    settings.gradientLayout = true;
    // Where a tag holds several characters, a raw '<' among them could open a tag of its own.
    settings.escape = settings.escape || (request.htmlMarkup && (settings.merge || request.fitLimit));
    if (!given.has("color-depth"))
        request.depth = colorDepthFromColorterm(std::getenv("COLORTERM"));

    if (given.texts.size() > 1)
        return usageFailure(fill(
            translate("rainbowtext-cli", "more than one TEXT given (%1); quote a text that holds spaces"),
            { std::to_string(given.texts.size()) }));
    if (given.texts.size() == 1) {
        if (request.path)
            return usageFailure(
                translate("rainbowtext-cli", "both a TEXT and --file given: give one or the other"));
        request.text = given.texts.front();
        request.text->erase(0, byteOrderMark(*request.text)); // as from a file
    }
    return {};
}

} // namespace

Result<std::variant<Request, Information>> parseArguments(
    const std::vector<std::string> &arguments, IdleOptions idle)
{
    const Result<GivenArguments> read = readArguments(arguments);
    if (!read.ok())
        return read.failure();
    const GivenArguments &given = read.value();
    const std::vector<OptionSpec> &table = optionTable();
    // --help and --version, last in the table, win over --list-formats, which prints the same
    // whatever else is given.
    for (auto option = table.rbegin(); option != table.rend(); ++option) {
        if (!option->inform || !given.options.count(&*option))
            continue;
        if (option->longName() == "list-formats" && idle == IdleOptions::Refused) {
            for (const auto &[other, value] : given.options) {
                if (other != &*option)
                    return usageFailure(fill(
                        translate("rainbowtext-cli", "--%1 does nothing with --list-formats: leave it out"),
                        { other->longName() }));
            }
            if (!given.texts.empty())
                return usageFailure(
                    translate("rainbowtext-cli", "a TEXT does nothing with --list-formats: leave it out"));
        }
        return { Information { option->inform() } };
    }
    Request request;
    for (const OptionSpec &option : table) {
        const auto value = given.options.find(&option);
        if (!option.apply || value == given.options.end())
            continue;
        if (auto applied = option.apply(request, { option.longName(), value->second }); !applied.ok())
            return applied.failure();
    }
    if (auto finished = finish(given, request, idle); !finished.ok())
        return finished.failure();
    return { std::move(request) };
}

} // namespace rainbow::cli
