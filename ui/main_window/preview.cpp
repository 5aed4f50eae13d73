#include "ui/main_window/preview.h"

#include "ui/main_window/display_blocks.h"
#include "ui/main_window/qt_color.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace rainbow::ui {

void fillPreview(QTextDocument &document, const QString &text, const std::vector<ColorRun> &runs)
{
    document.setUndoRedoEnabled(false);
    document.clear();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    DisplayBlockWriter writer(cursor, text);
    const QTextCharFormat plain;
    QTextCharFormat colored;
    for (const ColorRun &run : runs) {
        writer.writeUntil(run.start, plain);
        colored.setForeground(toQColor(run.color));
        writer.writeUntil(run.start + run.length, colored);
    }
    writer.writeUntil(text.size(), plain);
    cursor.endEditBlock();
}

int previewPosition(const QTextDocument &document, QStringView text, qsizetype offset)
{
    // From the end backward, block by block: the conversions select near the end of the text.
    qsizetype blockEnd = text.size(); // the text offset where the current block ends
    for (QTextBlock block = document.lastBlock(); block.isValid(); block = block.previous()) {
        const qsizetype blockStart = blockEnd - (block.length() - 1);
        if (offset >= blockStart || block.position() == 0)
            return block.position() + int(std::max<qsizetype>(0, offset - blockStart));
        qsizetype separator = 0; // text units of the separator before the block
        if (!followsSoftBreak(block))
            separator
                = blockStart >= 2 && text[blockStart - 1] == u'\n' && text[blockStart - 2] == u'\r' ? 2 : 1;
        if (offset >= blockStart - separator)
            return block.position() - 1;
        blockEnd = blockStart - separator;
    }
    return 0;
}

} // namespace rainbow::ui
