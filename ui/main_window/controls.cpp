#include "ui/main_window/controls.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QKeyEvent>
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

bool KeyRepeatFilter::isFreshPress(const QKeyEvent &event)
{
    if (event.type() == QEvent::KeyRelease) {
        m_lastRelease = event.timestamp();
        m_lastReleasedKey = event.key();
        return false;
    }
    if (event.type() != QEvent::KeyPress || event.isAutoRepeat())
        return false;
    return event.timestamp() == 0 || event.timestamp() != m_lastRelease || event.key() != m_lastReleasedKey;
}

void fitToCaption(QLabel &label, const QRect &place)
{
    label.setGeometry(QRect(place.topLeft(), place.size().expandedTo(label.sizeHint())));
}

namespace {

/// Installs, once, a factory that gives each widget of class Widget the accessible Interface.
template <typename Widget, typename Interface> void installAccessible()
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString &className, QObject *object) -> QAccessibleInterface * {
            if (className == QLatin1String(Widget::staticMetaObject.className()) && object
                && object->isWidgetType())
                return new Interface(static_cast<Widget *>(object));
            return nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
}

/// A link label as screen readers meet it: the link role, the caption as its name, the tip as its
/// description, and a press action that opens it.
class LinkLabelAccessible : public QAccessibleWidget {
public:
    explicit LinkLabelAccessible(LinkLabel *label)
        : QAccessibleWidget(label, QAccessible::Link)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        const auto *label = static_cast<const QLabel *>(widget());
        if (kind == QAccessible::Name && label->accessibleName().isEmpty())
            return label->text();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        // Queued: the version window is modal, and a screen reader's call must return meanwhile.
        if (actionName == pressAction())
            QMetaObject::invokeMethod(
                static_cast<LinkLabel *>(widget()), &LinkLabel::activated, Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(actionName);
    }
};

} // namespace

LinkLabel::LinkLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    installAccessible<LinkLabel, LinkLabelAccessible>();
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    const bool opens
        = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space;
    // Held down, the key opens once.
    const bool fresh = m_repeats.isFreshPress(*event);
    if (!opens || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QLabel::keyPressEvent(event);
        return;
    }
    if (fresh)
        emit activated();
}

void LinkLabel::keyReleaseEvent(QKeyEvent *event)
{
    m_repeats.isFreshPress(*event);
    QLabel::keyReleaseEvent(event);
}

void LinkLabel::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    update();
}

void LinkLabel::focusOutEvent(QFocusEvent *event)
{
    QLabel::focusOutEvent(event);
    update();
}

void LinkLabel::paintEvent(QPaintEvent *)
{
    // The caption as QLabel paints plain text, but without the font's underline: where a face puts
    // it inside the label, it would show beside the one line drawn below.
    QPainter painter(this);
    QFont caption = font();
    caption.setUnderline(false);
    painter.setFont(caption);
    style()->drawItemText(&painter, contentsRect(), QStyle::visualAlignment(layoutDirection(), alignment()),
        palette(), isEnabled(), text(), foregroundRole());
    // The focus shows as the underline: the label has no room for a frame.
    if (!font().underline() && !hasFocus())
        return;
    painter.setPen(palette().color(QPalette::WindowText));
    const int right = std::min(fontMetrics().horizontalAdvance(text()), width()) - 1;
    painter.drawLine(0, height() - 1, right, height() - 1);
}

namespace {

/// A drop-down list as screen readers meet it: the toolkit names a list on Linux by its current
/// entry, which says nothing of what is chosen there; this one names it by its accessible name.
/// The entries are its one child, as with the toolkit's own.
class DropDownListAccessible : public QAccessibleWidget {
public:
    explicit DropDownListAccessible(QComboBox *list)
        : QAccessibleWidget(list, QAccessible::ComboBox)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value || (kind == QAccessible::Name && list()->accessibleName().isEmpty()))
            return list()->currentText();
        return QAccessibleWidget::text(kind);
    }

    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && child->object() == list()->view() ? 0 : -1;
    }

    QStringList actionNames() const override { return { showMenuAction(), pressAction() }; }
    void doAction(const QString &actionName) override
    {
        if (actionName == showMenuAction() || actionName == pressAction())
            list()->showPopup();
    }

private:
    QComboBox *list() const { return static_cast<QComboBox *>(widget()); }
};

} // namespace

DropDownList::DropDownList(QWidget *parent)
    : QComboBox(parent)
{
    installAccessible<DropDownList, DropDownListAccessible>();
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
