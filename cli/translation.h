#pragma once

#include <QtGlobal> // QT_TRANSLATE_NOOP

#include <initializer_list>
#include <string>
#include <string_view>

namespace rainbow::cli {

/// The variables that choose the language of messages, each null when unset.
struct LocaleVariables {
    const char *language = nullptr; // LANGUAGE
    const char *lcAll = nullptr; // LC_ALL
    const char *lcMessages = nullptr; // LC_MESSAGES
    const char *lang = nullptr; // LANG

    /// The process's own.
    static LocaleVariables fromEnvironment();
};

/// Whether these variables ask for Chinese messages rather than English.
bool asksForChinese(const LocaleVariables &variables);

/// From now on, translate() gives Chinese when chinese is true, English otherwise. Called once
/// by the program before it prints anything; without it every text stays English.
void useChinese(bool chinese);

/// The text in the chosen language. source is the English, written at the call as
/// translate("rainbowtext-cli", "...") or, in a table, QT_TRANSLATE_NOOP("rainbowtext-cli", "...")
/// so that lupdate finds it for cli/translations/rainbowtext-cli_zh_CN.ts.
std::string translate(const char *context, const char *source);

/// pattern with %1 to %9 replaced by the arguments, in one pass (an argument's own "%2" stays).
std::string fill(std::string_view pattern, std::initializer_list<std::string_view> arguments);

} // namespace rainbow::cli
