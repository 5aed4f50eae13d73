#include "ui/main_window/text_boxes.h"

#include "convert/window_rules.h"
#include "ui/main_window/display_blocks.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextDocumentFragment>

#include <vector>

namespace rainbow::ui {

namespace {

const QString plainType = QStringLiteral("text/plain");
const QString htmlType = QStringLiteral("text/html");

/// The HTML of a copied stretch of the preview, its display blocks joined again.
QString joinedHtml(const QTextDocumentFragment &fragment)
{
    QTextDocument joined;
    QTextCursor cursor(&joined);
    cursor.insertFragment(fragment);
    std::vector<int> softBreaks;
    for (QTextBlock block = joined.begin(); block.isValid(); block = block.next())
        if (followsSoftBreak(block))
            softBreaks.push_back(block.position() - 1);
    for (auto at = softBreaks.rbegin(); at != softBreaks.rend(); ++at) {
        cursor.setPosition(*at);
        cursor.deleteChar();
    }
    return QTextDocumentFragment(&joined).toHtml();
}

/// A copy of the preview: its plain text at once, its HTML when a reader asks for it.
class PreviewMimeData : public QMimeData {
public:
    PreviewMimeData(const QTextCursor &selection, const QString &text)
        : m_fragment(selection)
    {
        setText(text);
    }

    QStringList formats() const override { return { plainType, htmlType }; }
    bool hasFormat(const QString &type) const override { return type == plainType || type == htmlType; }

protected:
    QVariant retrieveData(const QString &type, QMetaType preferredType) const override
    {
        if (type == htmlType && !m_fragment.isEmpty()) {
            auto *self = const_cast<PreviewMimeData *>(this);
            self->setHtml(joinedHtml(m_fragment));
            self->m_fragment = QTextDocumentFragment();
        }
        return QMimeData::retrieveData(type, preferredType);
    }

private:
    QTextDocumentFragment m_fragment;
};

} // namespace

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

PreviewBox::PreviewBox(QWidget *parent)
    : QTextEdit(parent)
{
}

QMimeData *PreviewBox::createMimeDataFromSelection() const
{
    const QTextCursor selection = textCursor();
    return new PreviewMimeData(
        selection, textBetween(*document(), selection.selectionStart(), selection.selectionEnd()));
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
