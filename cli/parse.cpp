#include "cli/arguments.h"
#include "cli/option_table.h"
#include "cli/options.h"
#include "cli/translation.h"
#include "cli/utf8.h"

#include <QCommandLineParser>

#include <cstdlib>

namespace rainbow::cli {

namespace {

/// A long option written with one dash ("-mode") would otherwise be read as short options.
void refuseSingleDashLongOptions(const QStringList &args, const std::vector<OptionSpec> &table)
{
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == u"--")
            return;
        if (arg.size() < 3 || arg[0] != u'-' || arg[1] == u'-')
            continue;
        const QString name = arg.mid(1).section(u'=', 0, 0);
        for (const OptionSpec &option : table) {
            if (option.names.contains(name) && name.size() > 1)
                throw UsageError(
                    fill(translate("rainbowtext-cli", "%1 has one dash: long options take two (--%2)"),
                        { quoted(arg), name.toStdString() }));
        }
    }
}

/// A path is bytes: only --file's value may hold bytes that are not UTF-8. The argument that gave
/// it ends with those bytes ("-F PATH", "--file=PATH", "-FPATH"); any other is refused.
void refuseBytesOutsidePaths(const std::vector<std::string> &arguments, const QCommandLineParser &parser)
{
    const std::string path = parser.isSet("file") ? argumentBytes(parser.value("file")) : std::string();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        const auto offset = firstInvalidUtf8(argument);
        if (!offset)
            continue;
        const bool endsWithPath = i > 0 && !path.empty() && argument.size() >= path.size()
            && argument.compare(argument.size() - path.size(), path.size(), path) == 0
            && *offset >= argument.size() - path.size();
        // The path alone follows -F or --file; joined, it follows them in the same argument.
        const std::string &before = i > 1 ? arguments[i - 1] : std::string();
        const bool afterOption = before == "--file"
            || (before.size() > 1 && before[0] == '-' && before[1] != '-' && before.back() == 'F');
        const bool holdsPath
            = endsWithPath && (argument.size() == path.size() ? afterOption : argument[0] == '-');
        if (!holdsPath)
            throw UsageError(i == 0
                    ? fill(
                        translate("rainbowtext-cli", "the program name is not valid UTF-8 (byte offset %1)"),
                        { std::to_string(*offset) })
                    : fill(translate("rainbowtext-cli", "argument %1 is not valid UTF-8 (byte offset %2)"),
                        { std::to_string(i), std::to_string(*offset) }));
    }
}

/// The parser's other message, about a value missing or given to a switch, in the chosen language:
/// the parser says it in English (no application translates it), so it is said again.
std::string parserError(const QString &error)
{
    static const char *const messages[] = {
        QT_TRANSLATE_NOOP("rainbowtext-cli", "Missing value after '%1'."),
        QT_TRANSLATE_NOOP("rainbowtext-cli", "Unexpected value after '%1'."),
    };
    for (const char *message : messages) {
        const QString pattern = QString::fromUtf8(message);
        const qsizetype hole = pattern.indexOf(u"%1");
        const QStringView before = QStringView(pattern).left(hole);
        const QStringView after = QStringView(pattern).mid(hole + 2);
        if (error.size() >= pattern.size() - 2 && error.startsWith(before) && error.endsWith(after)) {
            const QString argument = error.mid(before.size(), error.size() - before.size() - after.size());
            return fill(translate("rainbowtext-cli", message), { argument.toStdString() });
        }
    }
    return error.toStdString();
}

/// The rules between options, once each option has done its part.
void finish(const QCommandLineParser &parser, Request &request)
{
    if (parser.isSet("stops") && (parser.isSet("start") || parser.isSet("end")))
        throw UsageError(
            translate("rainbowtext-cli", "--stops replaces --start and --end: give one or the other"));
    if (parser.isSet("template") && parser.isSet("format"))
        throw UsageError(translate("rainbowtext-cli", "--template replaces --format: give one or the other"));
    for (const OptionSpec &option : optionTable()) {
        if (!parser.isSet(option.longName()))
            continue;
        for (const IdleRule &rule : option.idle) {
            if (rule.applies(request))
                throw UsageError(fill(translate("rainbowtext-cli", "--%1 does nothing %2: leave it out"),
                    { option.longName().toStdString(), translate("rainbowtext-cli", rule.when) }));
        }
    }
    ConversionSettings &settings = request.settings;
    // Markup read back: a template's tags are colour tags too. Entities outside HTML tags are
    // decoded only for an --escape given: the escaping turned on below is HTML's, decoded anyway.
    if (parser.isSet("template"))
        request.stripOptions.markup = settings.markup;
    request.stripOptions.entitiesInEveryFormat = settings.escape;
    settings.gradientLayout = true;
    // Where a tag holds several characters, a raw '<' among them could open a tag of its own.
    settings.escape = settings.escape || (request.htmlMarkup && (settings.merge || request.fitLimit));
    if (!parser.isSet("color-depth"))
        request.depth = colorDepthFromColorterm(std::getenv("COLORTERM"));

    const QStringList texts = parser.positionalArguments();
    if (texts.size() > 1)
        throw UsageError(fill(
            translate("rainbowtext-cli", "more than one TEXT given (%1); quote a text that holds spaces"),
            { std::to_string(texts.size()) }));
    if (texts.size() == 1) {
        if (request.path)
            throw UsageError(
                translate("rainbowtext-cli", "both a TEXT and --file given: give one or the other"));
        request.text = argumentBytes(texts.front());
        if (request.text->compare(0, 3, "\xEF\xBB\xBF") == 0) // as from a file
            request.text->erase(0, 3);
    }
}

} // namespace

std::variant<Request, Information> parseArguments(const std::vector<std::string> &arguments)
{
    QStringList args;
    for (const std::string &argument : arguments)
        args << argumentText(argument);
    const std::vector<OptionSpec> &table = optionTable();
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    for (const OptionSpec &option : table)
        parser.addOption({ option.names, QString::fromUtf8(option.description.text), option.valueName });
    refuseSingleDashLongOptions(args, table);
    if (!parser.parse(args)) {
        // The parser's own message would echo an unknown option raw.
        const QStringList unknown = parser.unknownOptionNames();
        throw UsageError(unknown.isEmpty()
                ? parserError(parser.errorText())
                : fill(translate("rainbowtext-cli", "unknown option %1"), { quoted(unknown.front()) }));
    }
    refuseBytesOutsidePaths(arguments, parser);

    // --help and --version, last in the table, win over --list-formats.
    for (auto option = table.rbegin(); option != table.rend(); ++option) {
        if (!option->inform || !parser.isSet(option->longName()))
            continue;
        if (option->longName() == u"list-formats" && !parser.positionalArguments().isEmpty())
            throw UsageError(
                translate("rainbowtext-cli", "a TEXT does nothing with --list-formats: leave it out"));
        return Information { option->inform() };
    }
    Request request;
    for (const OptionSpec &option : table) {
        if (!option.apply || !parser.isSet(option.longName()))
            continue;
        // Asked for the value of a switch, Qt 6.8's parser warns on standard error.
        const QString value = option.valueName.isEmpty() ? QString() : parser.value(option.longName());
        option.apply(request, { option.longName(), value });
    }
    finish(parser, request);
    return request;
}

} // namespace rainbow::cli
