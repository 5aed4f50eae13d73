#include "ui/main_window/color_chooser.h"

#include <QApplication>
#include <QColorDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using rainbow::PackedColor;
using rainbow::ui::ColorDialogChooser;

namespace {

/// Runs answer on the colour dialog as soon as it shows (closing it if answer leaves it open).
void whenTheDialogShows(std::function<void(QColorDialog &)> answer)
{
    QTimer::singleShot(0, [answer] {
        QColorDialog *dialog = nullptr;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *found = qobject_cast<QColorDialog *>(window); found && found->isVisible())
                dialog = found;
        }
        if (!dialog) {
            ADD_FAILURE() << "no colour dialog showed";
            return;
        }
        answer(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

} // namespace

TEST(ColorDialogChooser, OpensOnBlackWithBlackCustomColoursModalToTheWindow)
{
    QWidget owner;
    owner.show();
    QColorDialog::setCustomColor(3, Qt::red); // as if chosen at an earlier opening
    bool answered = false;
    whenTheDialogShows([&](QColorDialog &dialog) {
        answered = true;
        EXPECT_EQ(dialog.currentColor(), QColor(Qt::black));
        EXPECT_EQ(dialog.parentWidget(), &owner);
        EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
        EXPECT_TRUE(dialog.testOption(QColorDialog::DontUseNativeDialog));
        for (int i = 0; i < QColorDialog::customCount(); ++i)
            EXPECT_EQ(QColorDialog::customColor(i), QColor(Qt::black)) << "custom colour " << i;
        dialog.setCurrentColor(QColor(10, 20, 30));
        dialog.accept();
    });
    EXPECT_EQ(ColorDialogChooser().chooseColor(&owner), PackedColor(10 + 256 * 20 + 65536 * 30));
    EXPECT_TRUE(answered);
}

TEST(ColorDialogChooser, CancelGivesNoColourAndTheNextOpeningStartsAfresh)
{
    QWidget owner;
    owner.show();
    whenTheDialogShows([](QColorDialog &dialog) {
        QColorDialog::setCustomColor(0, Qt::yellow);
        dialog.setCurrentColor(Qt::yellow);
        dialog.reject();
    });
    EXPECT_EQ(ColorDialogChooser().chooseColor(&owner), std::nullopt);

    whenTheDialogShows([](QColorDialog &dialog) {
        EXPECT_EQ(dialog.currentColor(), QColor(Qt::black)) << "never the colour of an earlier opening";
        EXPECT_EQ(QColorDialog::customColor(0), QColor(Qt::black));
        dialog.accept();
    });
    EXPECT_EQ(ColorDialogChooser().chooseColor(&owner), PackedColor(0)) << "black is a colour like any other";
}
