#pragma once

#include "ui/main_window/long_text.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>

#include <memory>

namespace rainbow::ui {

/// The input and output boxes: editable plain text boxes that hold a long text as display
/// blocks, so that only what shows is laid out, whether the text was set or pasted. Copying
/// leaves the soft breaks out; plainText() reads it so.
class LongTextBox : public QPlainTextEdit {
    Q_OBJECT

public:
    /// What setLongText puts into the document at once: far more than the box shows of any text.
    static constexpr qsizetype firstFill = qsizetype(1) << 16;

    /// What each later step puts in while the window waits: a few milliseconds of work, so that
    /// input that comes meanwhile waits no longer than that.
    static constexpr qsizetype laterFill = qsizetype(1) << 20;

    explicit LongTextBox(QWidget *parent = nullptr);

    /// Replaces the whole text as setPlainText does: the caret at the start, nothing to undo.
    /// Only the start of a long text goes into the document at once, enough to fill the box;
    /// the rest follows in pieces once the box has shown the start, while the window waits for
    /// input, and all of it before the user's first key, click, wheel turn or scroll bar move
    /// in the box.
    void setLongText(const QString &text);

    /// The whole text, as documentText reads it, also while the text set last is still going in.
    QString longText() const;

    /// Puts whatever of the text set last is still out into the document at once; what fails
    /// empties the box and is reported through failed().
    void finishFilling() noexcept;

signals:
    /// Something the box did on its own (taking in the rest of a text, a paste, a copy) ran out
    /// of memory or failed otherwise; message is the status line's words for it. The box is
    /// left usable: a text that did not all go in is taken out again.
    void failed(const QString &message);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    /// Puts the next `units` of the text set last into the document.
    void fillMore(qsizetype units);

    /// Forgets the rest of the text set last.
    void stopFilling();

    /// Before the user's input: the whole text in, and what the user types next a plain
    /// character, never a soft break. Returns where the input goes: the selection's start.
    int prepareForInput() noexcept;

    /// Runs body; what it throws is reported through failed().
    template <typename Body> bool guarded(Body &&body);

    // The text setLongText was given, while part of it is still out of the document: the
    // document then holds exactly what m_writer has written of it.
    QString m_filling;
    QTextCursor m_fillCursor;
    std::unique_ptr<DisplayBlockWriter> m_writer;
    bool m_writing = false; // while the box changes its document itself
    QTimer m_fillTimer;
    LongText *m_longText;
};

} // namespace rainbow::ui
