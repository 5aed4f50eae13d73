#include "ui/application.h"

#include "convert/window_rules.h"
#include "ui/main_window/form1.h"

#include <QWidget>

#include <exception>

namespace rainbow::ui {

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const QString &message = failureMessage(std::current_exception());
        const auto *widget = qobject_cast<QWidget *>(receiver);
        if (auto *form = widget ? qobject_cast<Form1 *>(widget->window()) : nullptr) {
            form->showFailure(message);
        } else {
            for (QWidget *window : topLevelWidgets())
                if (auto *other = qobject_cast<Form1 *>(window))
                    other->showFailure(message);
        }
        return true;
    }
}

} // namespace rainbow::ui
