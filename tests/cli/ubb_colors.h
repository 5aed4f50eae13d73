#pragma once

// The colours rainbowtext-cli gives each UTF-16 unit of a text, read from its UBB markup: the
// reference other outputs of the same conversion are held to.

#include "tests/cli/cli_run.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

/// The colours of the UBB markup of the conversion, as #RRGGBB; empty for untagged units. The
/// units themselves, the text as converted, go to converted when given.
QStringList expectedColors(
    const QList<QByteArray> &coloring, const QByteArray &text, QString *converted = nullptr)
{
    static const QRegularExpression tag(
        QStringLiteral("\\[color=#([0-9A-F]{6})\\](.*?)\\[/color\\]|([^\\[]+)"),
        QRegularExpression::DotMatchesEverythingOption);
    const CliRun run = runCli(coloring + QList<QByteArray> { "--", text });
    QStringList colors;
    for (auto it = tag.globalMatch(QString::fromUtf8(run.out.chopped(1))); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString characters = match.captured(2) + match.captured(3);
        for (qsizetype i = 0; i < characters.size(); ++i)
            colors << (match.captured(1).isEmpty() ? QString() : "#" + match.captured(1));
        if (converted)
            *converted += characters;
    }
    return colors;
}

} // namespace
