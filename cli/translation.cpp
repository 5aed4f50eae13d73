#include "cli/translation.h"

#include <QString>
#include <QTranslator>

#include <clocale>
#include <cstring>
#include <cstdlib>

namespace rainbow::cli {

namespace {

bool isSet(const char *value) { return value && *value; }

/// The language of a locale name: "zh" of "zh_CN.UTF-8".
std::string_view languageOf(std::string_view name) { return name.substr(0, name.find_first_of("_.@")); }

/// Whether a locale name's character set, when it names one, is UTF-8 ("zh_CN.utf8", "zh_CN").
bool utf8Locale(std::string_view name)
{
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos)
        return true;
    std::string codeset;
    for (const char c : name.substr(dot + 1, name.find('@', dot) - dot - 1)) {
        if (c != '-')
            codeset += char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    return codeset == "utf8";
}

/// The Chinese messages, once loaded; null while the tool speaks English.
const QTranslator *chinese = nullptr;

} // namespace

LocaleVariables LocaleVariables::fromEnvironment()
{
    return { std::getenv("LANGUAGE"), std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
        std::getenv("LANG") };
}

bool asksForChinese(const LocaleVariables &variables)
{
    // The messages' locale is the first of LC_ALL, LC_MESSAGES and LANG that is set. As with
    // gettext, LANGUAGE (languages by preference) counts only when that locale is not C or POSIX,
    // and here C.UTF-8 is C too: scripts set it for the plain output. Its first entry that is
    // Chinese or English decides (the others have no translation); any Chinese gets Simplified.
    // The messages are UTF-8: a locale of another character set (zh_CN.GBK) gets English.
    const char *locale = isSet(variables.lcAll) ? variables.lcAll
        : isSet(variables.lcMessages)           ? variables.lcMessages
        : isSet(variables.lang)                 ? variables.lang
                                                : "C";
    const std::string_view localeLanguage = languageOf(locale);
    if (localeLanguage == "C" || localeLanguage == "POSIX" || !utf8Locale(locale))
        return false;
    if (isSet(variables.language)) {
        std::string_view list = variables.language;
        while (!list.empty()) {
            const std::size_t end = std::min(list.find(':'), list.size());
            const std::string_view language = languageOf(list.substr(0, end));
            if (language == "zh" || language == "en")
                return language == "zh";
            list.remove_prefix(std::min(end + 1, list.size()));
        }
    }
    return localeLanguage == "zh";
}

void useChinese(bool use)
{
    static QTranslator translator; // the messages are built in, so no installed path can be wrong
    static const bool loaded = translator.load(QStringLiteral(":/translations/rainbowtext-cli_zh_CN.qm"));
    chinese = use && loaded ? &translator : nullptr;
    // The C library's texts (strerror) in the same language: its Simplified Chinese catalogue,
    // whichever Chinese locale asked, in UTF-8. gettext reads LANGUAGE in any locale but C, and
    // since glibc 2.41 also not in C.UTF-8: so zh_CN.UTF-8 where it was generated, else the
    // user's own locale, else C.UTF-8 (built in, and enough for older C libraries).
    if (chinese) {
        setenv("LANGUAGE", "zh_CN", 1);
        std::setlocale(LC_CTYPE, "C.UTF-8");
        if (!std::setlocale(LC_MESSAGES, "zh_CN.UTF-8")) {
            const char *own = std::setlocale(LC_MESSAGES, "");
            if (!own || own[0] == 'C' || std::strcmp(own, "POSIX") == 0)
                std::setlocale(LC_MESSAGES, "C.UTF-8");
        }
    } else {
        std::setlocale(LC_MESSAGES, "C");
    }
}

std::string translate(const char *context, const char *source)
{
    if (chinese) {
        const QString text = chinese->translate(context, source);
        if (!text.isEmpty())
            return text.toStdString();
    }
    return source;
}

std::string fill(std::string_view pattern, std::initializer_list<std::string_view> arguments)
{
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        const std::size_t index = at + 1 < pattern.size() ? std::size_t(pattern[at + 1] - '1') : 9;
        if (pattern[at] == '%' && index < arguments.size()) {
            text += arguments.begin()[index];
            ++at;
        } else {
            text += pattern[at];
        }
    }
    return text;
}

} // namespace rainbow::cli
