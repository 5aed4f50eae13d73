#include "ui/main_window/controls.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>

namespace rainbow::ui {

WrappingButton::WrappingButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
}

QString WrappingButton::shownText() const
{
    const int margin = style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, this);
    const int available = width() - 2 * margin;
    const QFontMetrics metrics = fontMetrics();
    QString shown;
    QString line;
    for (const QChar character : text()) {
        // Never between the two halves of a surrogate pair.
        if (!line.isEmpty() && !character.isLowSurrogate()
            && metrics.horizontalAdvance(line + character) > available) {
            shown += line + u'\n';
            line.clear();
        }
        line += character;
    }
    return shown + line;
}

void WrappingButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text = shownText();
    painter.drawControl(QStyle::CE_PushButton, option);
}

LinkLabel::LinkLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
}

void LinkLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!font().underline())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const int right = std::min(fontMetrics().horizontalAdvance(text()), width()) - 1;
    painter.drawLine(0, height() - 1, right, height() - 1);
}

DropDownList::DropDownList(QWidget *parent)
    : QComboBox(parent)
{
}

void DropDownList::initStyleOption(QStyleOptionComboBox *option) const
{
    QComboBox::initStyleOption(option);
    // Styles paint a list that cannot be typed into with the button colours; the base colours are
    // the window background of the text boxes, whatever the palette.
    for (const auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        option->palette.setBrush(group, QPalette::Button, option->palette.brush(group, QPalette::Base));
        option->palette.setBrush(group, QPalette::ButtonText, option->palette.brush(group, QPalette::Text));
    }
}

Decoration::Decoration(Kind kind, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void Decoration::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor ink = palette().color(QPalette::WindowText);
    if (m_kind == Kind::Line) {
        painter.fillRect(rect(), ink);
        return;
    }
    painter.setPen(ink);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace rainbow::ui
