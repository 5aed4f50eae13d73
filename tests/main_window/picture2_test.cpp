#include "ui/main_window/picture2.h"

#include "ui/main_window/qt_color.h"

#include <gtest/gtest.h>

using rainbow::PackedColor;
using rainbow::ui::Picture2;
using rainbow::ui::toQColor;

namespace {

constexpr PackedColor red = 0x0000FF;
constexpr PackedColor green = 0x00FF00;

/// A box with a 215 × 20 client area, scaled as the main window scales it.
struct ScaledBox {
    ScaledBox()
    {
        box.setGeometry(0, 0, 217, 22);
        box.setScale(0, 0, 255, 10);
    }
    Picture2 box;
};

QPixmap solid(QColor color)
{
    QPixmap picture(215, 20);
    picture.fill(color);
    return picture;
}

} // namespace

TEST(Picture2, ALineCoversItsStartButNotItsEndPoint)
{
    ScaledBox scaled;
    scaled.box.setPicture(solid(Qt::white));
    scaled.box.line(3, 0, 3, 10, red); // pixel column 3, rows 0 to 20
    scaled.box.line(0, 5, 10, 5, green); // row 10, pixel columns 0 to 8
    const QImage image = scaled.box.image();
    for (int y = 0; y < 20; ++y) {
        if (y != 10) {
            EXPECT_EQ(image.pixelColor(3, y), toQColor(red)) << "row " << y;
        }
    }
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(image.pixelColor(x, 10), toQColor(green)) << "column " << x;
    EXPECT_EQ(image.pixelColor(8, 10), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(4, 0), QColor(Qt::white));
}

TEST(Picture2, ClearingKeepsThePictureAndANewPictureDropsTheDrawing)
{
    ScaledBox scaled;
    Picture2 &box = scaled.box;
    box.setPicture(solid(Qt::green));
    box.line(0, 0, 0, 10, red);
    box.cls();
    EXPECT_EQ(box.image(), solid(Qt::green).toImage().convertToFormat(QImage::Format_RGB32));

    box.line(100, 0, 100, 10, red);
    box.setPicture(solid(Qt::blue));
    EXPECT_EQ(box.image(), solid(Qt::blue).toImage().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(box.pixelColumn(128), 108) << "a new picture keeps the scale";
}

TEST(Picture2, TheDrawingSurvivesRepaints)
{
    ScaledBox scaled;
    Picture2 &box = scaled.box;
    box.setPicture(solid(Qt::white));
    box.line(128, 0, 128, 10, red);
    box.show();
    for (int paint = 0; paint < 2; ++paint) {
        const QImage painted = box.grab().toImage();
        EXPECT_EQ(painted.pixelColor(1 + 108, 1 + 5), toQColor(red));
        EXPECT_EQ(painted.pixelColor(1 + 50, 1 + 5), QColor(Qt::white));
        EXPECT_EQ(painted.pixelColor(0, 0), box.palette().color(QPalette::WindowText)) << "border";
    }
}
