#pragma once

#include "ui/main_window/long_text.h"
#include "ui/main_window/preview.h"

#include <QColor>
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

} // namespace rainbow::tests
