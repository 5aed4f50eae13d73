#include "ui/window_look.h"

#include "ui/window_font_families.h"

#include <QStringList>

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
    QStringList families;
    for (const std::string_view family : windowFontFamilies)
        families += QString::fromLatin1(family.data(), qsizetype(family.size()));
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(windowFontPixelSize);
    return font;
}

} // namespace rainbow::ui
