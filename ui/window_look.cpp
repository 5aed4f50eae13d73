#include "ui/window_look.h"

#include "ui/font_families.h"

namespace rainbow::ui {

QIcon applicationIcon()
{
    QIcon icon;
    for (const int size : { 16, 24, 32, 48, 256 })
        icon.addFile(QStringLiteral(":/assets/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

QFont windowFont()
{
    QFont font;
    font.setFamilies(windowFontFamilies());
    font.setPixelSize(12);
    return font;
}

} // namespace rainbow::ui
