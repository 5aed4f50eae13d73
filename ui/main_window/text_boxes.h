#pragma once

#include <QPlainTextEdit>

namespace rainbow::ui {

/// The input and output boxes: editable plain text boxes that hold a long text as display
/// blocks, so that only what shows is laid out, whether the text was set or pasted. Copying
/// leaves the soft breaks out; plainText() reads it so.
class LongTextBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit LongTextBox(QWidget *parent = nullptr);

    /// Replaces the whole text as setPlainText does: the caret at the start, nothing to undo.
    void setLongText(const QString &text);

protected:
    QMimeData *createMimeDataFromSelection() const override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    /// Makes what the user types next a plain character, never a soft break.
    void typePlainCharacters();
};

/// longEnoughForRainbow of the box's text, reading only its start when that settles it: it runs
/// at every keystroke, and reading a text of many lines costs time per line.
bool longEnoughForRainbow(const QPlainTextEdit &box);

} // namespace rainbow::ui
