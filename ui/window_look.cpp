#include "ui/window_look.h"

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
    font.setFamilies({ QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN") });
    font.setPixelSize(12);
    return font;
}

} // namespace rainbow::ui
