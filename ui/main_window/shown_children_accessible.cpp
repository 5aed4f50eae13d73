#include "ui/main_window/shown_children_accessible.h"

#include <QSet>
#include <QString>
#include <QWidget>

namespace rainbow::ui {

namespace {

QSet<QString> &classesShowingChildrenOnly()
{
    static QSet<QString> names;
    return names;
}

QAccessibleInterface *shownChildrenFactory(const QString &className, QObject *object)
{
    if (object && object->isWidgetType() && classesShowingChildrenOnly().contains(className))
        return new ShownChildrenAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

ShownChildrenAccessible::ShownChildrenAccessible(QWidget *window)
    : QAccessibleWidget(window)
{
}

QList<QWidget *> ShownChildrenAccessible::shownChildren() const
{
    // The same children as the toolkit's own interface gives, less the hidden ones. isHidden, not
    // isVisible: a child of a window that is not shown yet is still one it shows.
    QList<QWidget *> shown;
    for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
        QAccessibleInterface *candidate = QAccessibleWidget::child(i);
        auto *widget = candidate ? qobject_cast<QWidget *>(candidate->object()) : nullptr;
        if (widget && !widget->isHidden())
            shown.append(widget);
    }
    return shown;
}

int ShownChildrenAccessible::childCount() const { return int(shownChildren().size()); }

QAccessibleInterface *ShownChildrenAccessible::child(int index) const
{
    const QList<QWidget *> shown = shownChildren();
    return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown[index]) : nullptr;
}

int ShownChildrenAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    return int(shownChildren().indexOf(qobject_cast<QWidget *>(child->object())));
}

void ShownChildrenAccessible::installFor(const char *className)
{
    QSet<QString> &names = classesShowingChildrenOnly();
    if (names.isEmpty())
        QAccessible::installFactory(shownChildrenFactory);
    names.insert(QString::fromLatin1(className));
}

} // namespace rainbow::ui
