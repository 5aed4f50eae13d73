#include "ui/main_window/text_boxes.h"

#include "ui/main_window/handler_guard.h"
#include "ui/main_window/long_text.h"
#include "ui/main_window/window_rules.h"

#include <QMimeData>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>
#include <iterator>

namespace rainbow::ui {

LongTextBox::LongTextBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    m_longText = new LongText(*this);
    connect(m_longText, &LongText::failed, this, &LongTextBox::failed);
    m_fillTimer.setInterval(0);
    connect(&m_fillTimer, &QTimer::timeout, this, [this] { guarded([this] { fillMore(laterFill); }); });
    // A change that is none of the box's own replaced the document (setPlainText, say): the
    // rest of the text no longer belongs after it.
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_writing && !m_longText->isMoving())
            stopFilling();
    });
    // The scroll bar's range must be that of the whole text before it moves.
    verticalScrollBar()->installEventFilter(this);
}

template <typename Body> bool LongTextBox::guarded(Body &&body)
{
    return runGuarded(body, [this](const QString &message) {
        // Part of a text shows nothing the user asked for.
        if (m_writer) {
            stopFilling();
            setPlainText(QString());
        }
        emit failed(message);
    });
}

void LongTextBox::setLongText(const QString &text)
{
    stopFilling();
    setPlainText(QString());
    try {
        m_filling = text;
        m_fillCursor = QTextCursor(document());
        m_writer = std::make_unique<DisplayBlockWriter>(m_fillCursor, m_filling, LineWrap::of(*this));
        fillMore(firstFill);
    } catch (...) {
        stopFilling();
        setPlainText(QString());
        throw;
    }
    moveCursor(QTextCursor::Start);
}

QString LongTextBox::longText() const
{
    return m_writer ? withNewlineBreaks(m_filling) : documentText(*document());
}

void LongTextBox::finishFilling() noexcept
{
    // Step by step still: each step copies what it puts in, and the markup can be 48 MB.
    guarded([this] {
        while (m_writer)
            fillMore(laterFill);
    });
}

void LongTextBox::fillMore(qsizetype units)
{
    if (!m_writer)
        return;
    // Read only: the text shares its units with the caller's.
    const QString &text = m_filling;
    qsizetype end = std::min(text.size(), m_writer->written() + units);
    // Each half of a surrogate pair or of "\r\n" would go in as a character or a break of its own.
    while (
        end < text.size() && (text[end].isLowSurrogate() || (text[end] == u'\n' && text[end - 1] == u'\r')))
        ++end;
    {
        const QScopedValueRollback<bool> writing(m_writing, true);
        const OwnEdit edit(m_fillCursor, false);
        m_writer->writeUntil(end, QTextCharFormat());
    }
    document()->setModified(false);
    if (end == text.size()) {
        const bool cutOffLines = m_writer->cutOffLines();
        stopFilling();
        // Soft breaks not yet where lines start: all of them are looked at while the window waits.
        if (cutOffLines)
            m_longText->alignAll();
    }
}

void LongTextBox::stopFilling()
{
    m_fillTimer.stop();
    m_writer.reset();
    m_fillCursor = QTextCursor();
    m_filling = QString();
}

void LongTextBox::paintEvent(QPaintEvent *event)
{
    QPlainTextEdit::paintEvent(event);
    if (m_writer && !m_fillTimer.isActive())
        m_fillTimer.start();
}

namespace {

/// Whether the user starts to do something with a box or its scroll bar.
bool isUserInput(const QEvent *event)
{
    constexpr QEvent::Type starts[] = { QEvent::MouseButtonPress, QEvent::MouseButtonDblClick, QEvent::Wheel,
        QEvent::ContextMenu, QEvent::KeyPress, QEvent::DragEnter, QEvent::Drop };
    return std::find(std::begin(starts), std::end(starts), event->type()) != std::end(starts);
}

} // namespace

bool LongTextBox::viewportEvent(QEvent *event)
{
    // Once the rest failed to go in, the event still goes to the box, which is then empty.
    if (isUserInput(event))
        finishFilling();
    return QPlainTextEdit::viewportEvent(event);
}

bool LongTextBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == verticalScrollBar() && isUserInput(event))
        finishFilling();
    return QPlainTextEdit::eventFilter(watched, event);
}

QMimeData *LongTextBox::createMimeDataFromSelection() const
{
    auto *copied = new QMimeData;
    // Reporting changes nothing that a copy reads.
    const_cast<LongTextBox *>(this)->guarded([&] {
        const QTextCursor selection = textCursor();
        const QString text = textBetween(*document(), selection.selectionStart(), selection.selectionEnd());
        checkRoom(clipboardBytes(text.size()));
        copied->setText(text);
    });
    return copied;
}

void LongTextBox::keyPressEvent(QKeyEvent *event)
{
    const int edited = prepareForInput();
    const int revision = document()->revision();
    QPlainTextEdit::keyPressEvent(event);
    // Undo and redo bring back the soft breaks of their state with its text.
    if (document()->revision() != revision && !event->matches(QKeySequence::Undo)
        && !event->matches(QKeySequence::Redo))
        m_longText->alignAfterEdit(std::min(edited, textCursor().position()));
}

void LongTextBox::inputMethodEvent(QInputMethodEvent *event)
{
    const int edited = prepareForInput();
    QPlainTextEdit::inputMethodEvent(event);
    m_longText->alignAfterEdit(edited);
}

void LongTextBox::insertFromMimeData(const QMimeData *source)
{
    const int edited = prepareForInput();
    if (!source->hasText())
        return;
    guarded([&] {
        // A paste comes in as display blocks, in one step to undo.
        const QString text = source->text();
        QTextCursor cursor = textCursor();
        cursor.beginEditBlock();
        try {
            cursor.removeSelectedText();
            DisplayBlockWriter(cursor, text, LineWrap::of(*this))
                .writeUntil(text.size(), withoutSoftBreakMark(cursor.charFormat()));
        } catch (...) {
            // A paste goes in whole or not at all: undoing the open step takes out what went in.
            cursor.endEditBlock();
            document()->undo(&cursor);
            throw;
        }
        cursor.endEditBlock();
        setTextCursor(cursor);
        ensureCursorVisible();
    });
    m_longText->alignAfterEdit(edited);
}

int LongTextBox::prepareForInput() noexcept
{
    finishFilling();
    // The caret at the start of an emptied display block takes the format of the soft break
    // before it; a line break typed there would be taken for another soft break.
    guarded([this] {
        const QTextCursor caret = textCursor();
        if (!caret.hasSelection())
            setCurrentCharFormat(withoutSoftBreakMark(caret.charFormat()));
    });
    return textCursor().selectionStart();
}

} // namespace rainbow::ui
