// HTML from the command-line tool, read back by Qt's HTML parser: the text comes back exactly and
// every character has the colour of the plain conversion, whatever <, > and & it holds.

#include "tests/cli/ubb_colors.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

/// The colour of every UTF-16 unit of a document's text, as #RRGGBB; empty where none is set.
QStringList documentColors(const QTextDocument &document)
{
    QStringList colors;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QString color = format.hasProperty(QTextFormat::ForegroundBrush)
                ? format.foreground().color().name().toUpper()
                : "";
            for (qsizetype i = 0; i < fragment.length(); ++i)
                colors << color;
        }
    }
    return colors;
}

} // namespace

TEST(CommandLineHtml, EscapedMarkupParsesBackWithEveryColour)
{
    const QByteArray text = "a<b>c & <i>not italic</i> &amp; x<y 青柚";
    const QList<QByteArray> colorings[] = {
        { "--stops", "#F00,#F00,#00F" }, // long runs of red: merged tags hold many characters
        { "--mode", "rainbow" },
    };
    const struct {
        const char *name;
        QList<QByteArray> options;
        bool shared; // a tag may hold several characters
    } outputs[] = {
        { "span, escaped", { "-f", "span", "--escape" }, false },
        { "html, merged (escaped by itself)", { "-f", "html", "--merge" }, true },
        { "span, fitted (escaped by itself)", { "-f", "span", "--fit", "700" }, true },
        { "span, merged, whitespace untagged", { "-f", "span", "-M", "-w" }, true },
        { "template, escaped", { "-t", "<b style=\"color:#{hex}\">{text}</b>", "--escape", "-M" }, true },
    };
    for (const QList<QByteArray> &coloring : colorings) {
        for (const auto &output : outputs) {
            SCOPED_TRACE((coloring.join(' ') + ", " + output.name).constData());
            const CliRun run = runCli(coloring + output.options + QList<QByteArray> { text });
            ASSERT_EQ(run.exitCode, 0) << run.err.constData();
            QTextDocument document;
            document.setHtml(QString::fromUtf8(run.out));
            EXPECT_EQ(document.toPlainText().trimmed(), QString::fromUtf8(text));
            QList<QByteArray> plain = coloring;
            if (output.options.contains("-w"))
                plain << "-w";
            if (output.options.contains("--fit"))
                continue; // groups change the colours; their count is checked on UBB
            QStringList colors = documentColors(document);
            colors.resize(text.size() > 0 ? QString::fromUtf8(text).size() : 0);
            EXPECT_EQ(colors, expectedColors(plain, text));
        }
    }
}
