#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace rainbow::ui {

/// A push button whose caption breaks onto more lines when one line is too wide for it; its
/// text stays the caption as given.
class WrappingButton : public QPushButton {
    Q_OBJECT

public:
    explicit WrappingButton(const QString &text, QWidget *parent = nullptr);

    /// The caption as painted: the text, broken by characters into lines that fit.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

/// Sizes a label to its caption in the font it is drawn with, keeping the left and top of place:
/// never smaller than place, which fits the caption in the window's font.
void fitToCaption(QLabel &label, const QRect &place);

/// Tells the press of a key from the repeats of a key held down. X11 delivers each repeat as a
/// release and a press with the same timestamp, and the toolkit marks many of those presses as no
/// repeat; a press with the timestamp of the release just before it is one all the same.
class KeyRepeatFilter {
public:
    /// Whether event is a key press that a person made; notes the time of every release it sees.
    /// Events without a timestamp (0) are taken as they are marked.
    bool isFreshPress(const QKeyEvent &event);

private:
    quint64 m_lastRelease = 0;
    int m_lastReleasedKey = 0;
};

/// A link: a label whose font underline shows as one line in its own bottom row, whatever the face
/// (a 12-pixel Song face puts the toolkit's underline one pixel below a box that just fits the
/// caption, others put it inside). The keyboard reaches it
/// with Tab, never the mouse; while it has the focus it shows the underline, and Enter, Return or
/// Space activate it. Screen readers meet it as a link, with a press action.
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

signals:
    /// Asked to open by the keyboard or a screen reader; a mouse click is the window's to see.
    void activated();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    KeyRepeatFilter m_repeats;
};

/// A drop-down list that shows its entry on the window-background colour, as a list does, where the
/// style would paint a push button's face.
class DropDownList : public QComboBox {
    Q_OBJECT

public:
    explicit DropDownList(QWidget *parent = nullptr);

protected:
    void initStyleOption(QStyleOptionComboBox *option) const override;
};

/// A decoration: a rectangle outline or a line, one pixel wide in the window-text colour,
/// transparent inside and to the pointer.
class Decoration : public QWidget {
    Q_OBJECT

public:
    enum class Kind { Rectangle, Line };

    explicit Decoration(Kind kind, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Kind m_kind;
};

} // namespace rainbow::ui
