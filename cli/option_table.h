#pragma once

#include "cli/options.h"
#include "cli/result.h"

#include <string>
#include <vector>

namespace rainbow::cli {

/// The help's headings, in the order the help shows them.
enum class Section { Colours, ShorterMarkup, Markup, InputOutput, Pictures };

/// An option's value as given, for the option's own reading of it.
struct OptionValue {
    std::string name; // the long name
    std::string text; // well-formed UTF-8, but for a path, which is bytes
};

/// An option's description: English, marked QT_TRANSLATE_NOOP("rainbowtext-cli", ...) where the
/// table gives it and translated when the help is made; %1 in it stands for argument. A new text
/// goes into cli/translations/rainbowtext-cli_zh_CN.ts with `cmake --build build --target
/// rainbowtext_cli_lupdate`, to be translated there (the tests fail until it is).
struct Description {
    Description(const char *text, std::string argument = {})
        : text(text)
        , argument(std::move(argument))
    {
    }

    const char *text;
    std::string argument;

    /// In the chosen language, argument filled in.
    std::string translated() const;
};

/// A case where an option would do nothing, so that giving it is refused.
struct IdleRule {
    const char *when; // in words, as the help and the refusal say it: "with --preview"
    bool (*applies)(const Request &request);
};

/// One option of rainbowtext-cli: the parser, the help and the request are all made from these,
/// so an option is added in one place.
struct OptionSpec {
    std::vector<std::string> names; // the short name first, if any, then the long one
    std::string valueName; // as the help shows it; empty for a switch; a PATH is bytes, any
                           // other value must be UTF-8
    Section section;
    Description description; // one paragraph, wrapped by the help
    /// What the option does to the request when given, or why its value is refused; null for the
    /// options that print and exit.
    Result<> (*apply)(Request &request, const OptionValue &value) = nullptr;
    /// Options that print instead of converting: the text they print.
    std::string (*inform)() = nullptr;
    /// When the option would do nothing and is refused, each in words ("with --preview") marked
    /// for translation as the description is; the first that applies is reported.
    std::vector<IdleRule> idle {};

    const std::string &longName() const { return names.back(); }
    bool takesValue() const { return !valueName.empty(); }
    bool takesPath() const { return valueName == "PATH"; }
};

/// Every option, in the help's order.
const std::vector<OptionSpec> &optionTable();

} // namespace rainbow::cli
