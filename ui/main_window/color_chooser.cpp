#include "ui/main_window/color_chooser.h"

#include "ui/main_window/qt_color.h"

#include <QColorDialog>

namespace rainbow::ui {

std::optional<PackedColor> ColorDialogChooser::chooseColor(QWidget *owner)
{
    // The toolkit keeps custom colours for the whole process: forget those of the last opening.
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, Qt::black);
    QColorDialog dialog(Qt::black, owner);
    // The platform's own dialog would not honour the custom colours.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return toPackedColor(dialog.selectedColor());
}

} // namespace rainbow::ui
