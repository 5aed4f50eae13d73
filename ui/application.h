#pragma once

#include <QApplication>

namespace rainbow::ui {

/// The application object of the window program. An exception that escapes an event handler
/// (memory running out on a huge text, a count past its limit) ends neither the program nor the
/// window: the window it happened in (or every main window) reports it on its status line and
/// stays usable, its input kept.
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace rainbow::ui
