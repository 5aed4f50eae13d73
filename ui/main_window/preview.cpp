#include "preview.h"

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
    const QTextCharFormat plain;
    QTextCharFormat colored;
    qsizetype at = 0;
    for (const ColorRun &run : runs) {
        if (run.start > at)
            cursor.insertText(text.mid(at, run.start - at), plain);
        colored.setForeground(toQColor(run.color));
        cursor.insertText(text.mid(run.start, run.length), colored);
        at = run.start + run.length;
    }
    if (at < text.size())
        cursor.insertText(text.mid(at), plain);
    cursor.endEditBlock();
}

} // namespace rainbow::ui
