#include "ui/main_window/long_text.h"

#include "ui/main_window/preview.h"
#include "ui/main_window/qt_color.h"
#include "ui/main_window/text_boxes.h"

#include <QAccessibleWidget>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace rainbow::ui {

namespace {

/// What a screen reader's question gets when its answer has no room in memory: nothing, rather
/// than an exception inside the toolkit's accessibility call.
template <typename Answer> auto orNothing(Answer &&answer) noexcept -> decltype(answer())
{
    try {
        return answer();
    } catch (...) {
        return {};
    }
}

/// A text box as a screen reader meets it: the toolkit's editable text, less the soft breaks.
class TextBoxAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit TextBoxAccessible(QPlainTextEdit *box)
        : QAccessibleWidget(box, QAccessible::EditableText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface && !box()->isReadOnly())
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.multiLine = true;
        state.selectableText = true;
        state.readOnly = box()->isReadOnly();
        state.editable = !box()->isReadOnly();
        return state;
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return text(0, characterCount());
        return QAccessibleWidget::text(kind);
    }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        const QTextCursor cursor = box()->textCursor();
        if (selectionIndex != 0 || !cursor.hasSelection())
            return;
        *startOffset = longText().offset(cursor.selectionStart());
        *endOffset = longText().offset(cursor.selectionEnd());
    }

    int selectionCount() const override { return box()->textCursor().hasSelection() ? 1 : 0; }

    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }

    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            setCursorPosition(cursorPosition());
    }

    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            box()->setTextCursor(cursorOver(startOffset, endOffset));
    }

    int cursorPosition() const override { return longText().offset(box()->textCursor().position()); }

    void setCursorPosition(int offset) override { box()->setTextCursor(cursorOver(offset, offset)); }

    QString text(int startOffset, int endOffset) const override
    {
        // D-Bus strings end at a NUL: a pasted one is read as the symbol for it, in its place.
        return orNothing([&] {
            return textBetween(document(), longText().position(startOffset), longText().position(endOffset))
                .replace(QChar(0), QChar(0x2400));
        });
    }

    // Lines as the box shows them; the toolkit would split the text at its line breaks only.
    QString textAtOffset(
        int offset, QAccessible::TextBoundaryType type, int *startOffset, int *endOffset) const override
    {
        if (type != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textAtOffset(offset, type, startOffset, endOffset);
        return lineText(longText().lineAt(offset), startOffset, endOffset);
    }

    QString textBeforeOffset(
        int offset, QAccessible::TextBoundaryType type, int *startOffset, int *endOffset) const override
    {
        if (type != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textBeforeOffset(offset, type, startOffset, endOffset);
        const int start = longText().lineAt(offset).first;
        return lineText(start > 0 ? longText().lineAt(start - 1) : Line { -1, -1 }, startOffset, endOffset);
    }

    QString textAfterOffset(
        int offset, QAccessible::TextBoundaryType type, int *startOffset, int *endOffset) const override
    {
        if (type != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textAfterOffset(offset, type, startOffset, endOffset);
        const Line line = longText().lineAt(offset);
        const Line next = longText().lineAt(line.second);
        return lineText(next.first > line.first ? next : Line { -1, -1 }, startOffset, endOffset);
    }

    // The long text first: it finishes the document's filling.
    int characterCount() const override { return longText().offset(document().characterCount() - 1); }

    QRect characterRect(int offset) const override
    {
        QRect rect = box()->cursorRect(cursorOver(offset, offset));
        const QString character = text(offset, offset + 1);
        rect.setWidth(std::max(1, QFontMetrics(document().defaultFont()).horizontalAdvance(character)));
        return QRect(box()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }

    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint inside = box()->viewport()->mapFromGlobal(point);
        if (!box()->viewport()->rect().contains(inside))
            return -1;
        return longText().offset(box()->cursorForPosition(inside).position());
    }

    void scrollToSubstring(int startIndex, int endIndex) override
    {
        setSelection(0, startIndex, endIndex);
        box()->ensureCursorVisible();
    }

    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        return orNothing([&] {
            const int count = characterCount();
            if (offset < 0 || offset > count) {
                *startOffset = *endOffset = -1;
                return QString();
            }
            *startOffset = std::min(offset, std::max(0, count - 1));
            *endOffset = std::min(*startOffset + 1, count);
            // The format of the character after the position: a cursor gives the one before it.
            const int at = longText().position(*startOffset);
            QTextCursor cursor(box()->document());
            cursor.setPosition(std::min(at + 1, document().characterCount() - 1));
            const QFont font = cursor.charFormat().font().resolve(document().defaultFont());
            const QFontInfo shown(font);
            QColor ink = box()->palette().color(QPalette::Text);
            if (const auto *preview = qobject_cast<const ColoredPreview *>(box()))
                if (const std::optional<PackedColor> color = preview->colorAt(at))
                    ink = toQColor(*color);
            const auto rgb = [](const QColor &color) {
                return QStringLiteral("rgb(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue());
            };
            return QStringLiteral("font-family:\"%1\";font-size:%2pt;font-weight:%3;font-style:%4;"
                                  "text-underline-style:%5;color:%6;background-color:%7;")
                .arg(font.families().value(0, shown.family()))
                .arg(shown.pointSizeF())
                .arg(font.weight())
                .arg(font.italic() ? QStringLiteral("italic") : QStringLiteral("normal"))
                .arg(font.underline() ? QStringLiteral("solid") : QStringLiteral("none"))
                .arg(rgb(ink), rgb(box()->palette().color(QPalette::Base)));
        });
    }

    void deleteText(int startOffset, int endOffset) override
    {
        replaceText(startOffset, endOffset, QString());
    }

    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }

    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        QTextCursor cursor = cursorOver(startOffset, endOffset);
        const int edited = cursor.selectionStart();
        cursor.insertText(text, withoutSoftBreakMark(cursor.charFormat()));
        if (LongText *longText = LongText::of(box()))
            longText->alignAfterEdit(edited, cursor);
    }

private:
    using Line = LongText::Line;

    QString lineText(Line line, int *startOffset, int *endOffset) const
    {
        *startOffset = line.first;
        *endOffset = line.second;
        return line.first < 0 ? QString() : text(line.first, line.second);
    }

    QPlainTextEdit *box() const { return static_cast<QPlainTextEdit *>(widget()); }
    const QTextDocument &document() const { return *box()->document(); }

    /// The box's long text with all of it in the document: an output box may still be taking in
    /// the rest.
    const LongText &longText() const
    {
        if (auto *longBox = qobject_cast<LongTextBox *>(box()))
            longBox->finishFilling();
        return *LongText::of(box());
    }

    /// A cursor that selects the text offsets [start, end).
    QTextCursor cursorOver(int start, int end) const
    {
        QTextCursor cursor(box()->document());
        cursor.setPosition(longText().position(start));
        cursor.setPosition(longText().position(end), QTextCursor::KeepAnchor);
        return cursor;
    }
};

QAccessibleInterface *textBoxFactory(const QString &className, QObject *object)
{
    const bool longTextBox = className == QLatin1String(LongTextBox::staticMetaObject.className())
        || className == QLatin1String(ColoredPreview::staticMetaObject.className());
    return longTextBox ? new TextBoxAccessible(static_cast<QPlainTextEdit *>(object)) : nullptr;
}

} // namespace

// The toolkit installs a factory once, however often it is asked to.
void installTextBoxAccessible() { QAccessible::installFactory(textBoxFactory); }

} // namespace rainbow::ui
