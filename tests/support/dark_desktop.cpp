// The main window on a desktop with a dark colour scheme, for looking at both windows by hand:
// run it on a real display (for example under xvfb-run) and click "V1.0.2" for the notes.
#include "tests/support/dark_palette.h"
#include "ui/main_window/form1.h"
#include "ui/window_look.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rainbowtext"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.rainbowtext"));
    QApplication::setWindowIcon(rainbow::ui::applicationIcon());
    QApplication::setPalette(rainbow::tests::darkPalette());

    rainbow::ui::Form1 window;
    window.show();
    return app.exec();
}
