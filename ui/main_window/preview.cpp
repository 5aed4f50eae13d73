#include "preview.h"

#include "display_blocks.h"
#include "qt_color.h"

#include <QTextCursor>
#include <QTextDocument>

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

} // namespace rainbow::ui
