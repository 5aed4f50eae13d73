#pragma once

#include "ui/main_window/form1_state.h"
#include "ui/main_window/long_text.h"

#include <QPlainTextEdit>
#include <QStringView>

#include <optional>
#include <vector>

class QTextBlock;

namespace rainbow::ui {

/// The preview: a read-only box that shows a text with its colour runs. A text of a million
/// characters shows at once, because the box lays out only the blocks that show and colours each
/// block as it is laid out. It holds a long paragraph as display blocks (long_text.h); its
/// copy, as plain text and as HTML with the colours, leaves their soft breaks out.
class ColoredPreview : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit ColoredPreview(QWidget *parent = nullptr);

    /// Replaces the text by text, each run in its colour and the rest in the default colour,
    /// with the caret at the start and nothing to undo. Runs are UTF-16 offsets into text, in
    /// order and not overlapping. Each line break ("\r\n", "\r", "\n", U+2029) becomes one block
    /// separator, so document positions count a "\r\n" pair as one.
    void fill(const QString &text, const std::vector<ColorRun> &runs);

    /// The document position of a text offset (0..size); an offset inside a line break gives the
    /// separator's position.
    int position(qsizetype offset) const;

    /// The colour of the character at a document position, nullopt for the default colour and
    /// for a block separator.
    std::optional<PackedColor> colorAt(int position) const;

signals:
    /// A copy of the selection ran out of memory or failed otherwise; message is the status
    /// line's words for it.
    void failed(const QString &message);

protected:
    QMimeData *createMimeDataFromSelection() const override;

private:
    friend class ColoringLayout;

    /// Gives the block's layout the colours of its characters, once for each text. Runs inside the
    /// toolkit's layout, so throws nothing.
    void colorBlock(QTextBlock block) const noexcept;

    /// The offset in the text of a document position.
    qsizetype offsetOf(int position) const;

    /// Keeps the block starts right when a soft break moved.
    void followSoftBreak(int number);

    QString m_text;
    std::vector<ColorRun> m_runs;
    std::vector<qsizetype> m_blockStarts; // the text offset of each block's first character
    LongText *m_longText = nullptr;
};

/// The HTML of text [from, to) with its colour runs: a paragraph for each line, a span for each
/// coloured stretch, spaces kept as they are.
QString coloredHtml(QStringView text, qsizetype from, qsizetype to, const std::vector<ColorRun> &runs);

} // namespace rainbow::ui
