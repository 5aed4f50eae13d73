#pragma once

#include <QAccessibleWidget>

#include <QList>

namespace rainbow::ui {

/// What a screen reader sees of a window: the window and the children it shows. Children hidden
/// on purpose (holders of data the window only keeps) are left out of its accessible tree.
class ShownChildrenAccessible : public QAccessibleWidget {
public:
    explicit ShownChildrenAccessible(QWidget *window);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

    /// Gives every object of the class named className this interface. Install once, before the
    /// first interface of such an object is asked for.
    static void installFor(const char *className);

private:
    QList<QWidget *> shownChildren() const;
};

} // namespace rainbow::ui
