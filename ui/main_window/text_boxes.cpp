#include "ui/main_window/text_boxes.h"

#include "convert/window_rules.h"
#include "ui/main_window/display_blocks.h"

#include <QMimeData>
#include <QTextBlock>

#include <vector>

namespace rainbow::ui {

LongTextBox::LongTextBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
}

void LongTextBox::setLongText(const QString &text)
{
    setPlainText(QString());
    QTextDocument *shown = document();
    const bool undo = shown->isUndoRedoEnabled();
    shown->setUndoRedoEnabled(false);
    QTextCursor cursor(shown);
    cursor.beginEditBlock();
    DisplayBlockWriter(cursor, text).writeUntil(text.size(), QTextCharFormat());
    cursor.endEditBlock();
    shown->setUndoRedoEnabled(undo);
    shown->setModified(false);
    moveCursor(QTextCursor::Start);
}

QMimeData *LongTextBox::createMimeDataFromSelection() const
{
    const QTextCursor selection = textCursor();
    auto *copied = new QMimeData;
    copied->setText(textBetween(*document(), selection.selectionStart(), selection.selectionEnd()));
    return copied;
}

void LongTextBox::keyPressEvent(QKeyEvent *event)
{
    typePlainCharacters();
    QPlainTextEdit::keyPressEvent(event);
}

void LongTextBox::inputMethodEvent(QInputMethodEvent *event)
{
    typePlainCharacters();
    QPlainTextEdit::inputMethodEvent(event);
}

void LongTextBox::insertFromMimeData(const QMimeData *source)
{
    typePlainCharacters();
    if (!source->hasText() || source->text().size() <= displayBlockLength) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    // A long paste comes in as display blocks, in one step to undo.
    const QString text = source->text();
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    DisplayBlockWriter(cursor, text).writeUntil(text.size(), withoutSoftBreakMark(cursor.charFormat()));
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

void LongTextBox::typePlainCharacters()
{
    // The caret at the start of an emptied display block takes the format of the soft break
    // before it; a line break typed there would be taken for another soft break.
    const QTextCursor caret = textCursor();
    if (!caret.hasSelection() && marksSoftBreak(caret.charFormat()))
        setCurrentCharFormat(withoutSoftBreakMark(caret.charFormat()));
}

bool longEnoughForRainbow(const QPlainTextEdit &box)
{
    // Whatever follows a start with enough characters only adds to them.
    constexpr int start = 1024;
    const QTextDocument &document = *box.document();
    if (document.characterCount() - 1 > start
        && rainbow::longEnoughForRainbow(textBetween(document, 0, start)))
        return true;
    return rainbow::longEnoughForRainbow(documentText(document));
}

} // namespace rainbow::ui
