#pragma once

#include "ui/main_window/long_text.h"
#include "ui/main_window/preview.h"

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QPlainTextEdit>
#include <QTest>
#include <QString>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <optional>
#include <vector>

namespace rainbow::tests {

/// What a rich-text box shows: its text with "\n" between blocks (none at a soft break), and the
/// colour of each character of it (nullopt for the default colour; a block break has no colour of
/// its own).
struct ShownText {
    QString text;
    std::vector<std::optional<QColor>> colors;
};

inline ShownText shownText(const QTextDocument &document)
{
    ShownText shown;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin() && !ui::followsSoftBreak(block)) {
            shown.text += u'\n';
            shown.colors.push_back(std::nullopt);
        }
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            const std::optional<QColor> color = format.hasProperty(QTextFormat::ForegroundBrush)
                ? std::optional<QColor>(format.foreground().color())
                : std::nullopt;
            const QString text = fragment.fragment().text();
            shown.text += text;
            shown.colors.insert(shown.colors.end(), size_t(text.size()), color);
        }
    }
    return shown;
}

/// What the preview shows, each block laid out as scrolling to it would: the colours are those
/// its layout paints with.
inline ShownText shownText(const ui::ColoredPreview &preview)
{
    ShownText shown;
    const QTextDocument &document = *preview.document();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin() && !ui::followsSoftBreak(block)) {
            shown.text += u'\n';
            shown.colors.push_back(std::nullopt);
        }
        document.documentLayout()->blockBoundingRect(block);
        const size_t first = shown.colors.size();
        shown.text += block.text();
        shown.colors.resize(first + size_t(block.length() - 1));
        for (const QTextLayout::FormatRange &range : block.layout()->formats())
            std::fill_n(shown.colors.begin() + qsizetype(first) + range.start, range.length,
                range.format.foreground().color());
    }
    return shown;
}

/// Where the visual lines of a box start, as offsets into its text: every block laid out as the
/// box lays it out.
inline std::vector<int> shownLineStarts(const QPlainTextEdit &box)
{
    std::vector<int> starts;
    const QTextDocument &document = *box.document();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        document.documentLayout()->blockBoundingRect(block);
        const int blockStart = ui::LongText::of(&box)->offset(block.position());
        for (int i = 0; i < block.layout()->lineCount(); ++i)
            starts.push_back(blockStart + block.layout()->lineAt(i).textStart());
    }
    return starts;
}

/// Lets the window wait for as long as the box's document changes: soft breaks move meanwhile.
inline void waitWhileChanging(const QPlainTextEdit &box)
{
    int changes = 1;
    const QMetaObject::Connection counting
        = QObject::connect(box.document(), &QTextDocument::contentsChanged, [&changes] { ++changes; });
    while (changes > 0) {
        changes = 0;
        QTest::qWait(100);
    }
    QObject::disconnect(counting);
}

/// Where the lines start that the box's own layout gives a text held as one paragraph.
inline std::vector<int> unsplitLineStarts(const QPlainTextEdit &box, const QString &line)
{
    const ui::LineWrap wrap = ui::LineWrap::of(box);
    QTextLayout layout(line, wrap.font);
    layout.setTextOption(wrap.option);
    layout.beginLayout();
    std::vector<int> starts;
    for (QTextLine shown = layout.createLine(); shown.isValid(); shown = layout.createLine()) {
        shown.setLineWidth(wrap.width);
        starts.push_back(shown.textStart());
    }
    layout.endLayout();
    return starts;
}

} // namespace rainbow::tests
