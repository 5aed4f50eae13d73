#include "ui/main_window/form1.h"
#include "ui/window_look.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rainbowtext"));
    // No display name: the toolkit would append it to every window title.
    QApplication::setDesktopFileName(QStringLiteral("io.github.rainbowtext"));
    QApplication::setWindowIcon(rainbow::ui::applicationIcon());

    // The program speaks Chinese only, so the toolkit's own dialogs do too.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitTexts);

    rainbow::ui::Form1 window;
    window.show();
    return app.exec();
}
