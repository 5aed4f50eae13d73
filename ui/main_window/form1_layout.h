#pragma once

#include <QRect>

#include <algorithm>
#include <array>
#include <string_view>

namespace rainbow::ui {

/// Twips (1/1440 inch) to pixels at 96 dots per inch, rounded to the nearest pixel.
constexpr int twipsToPixels(int twips) { return twips >= 0 ? (twips + 7) / 15 : -((-twips + 7) / 15); }

/// Where a control of the main window sits, in twips from the top-left corner of the client area.
struct ControlPlace {
    std::string_view name;
    int left;
    int top;
    int width;
    int height;

    QRect pixels() const
    {
        return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
    }
};

/// The client area of the main window: 513 × 489 pixels.
inline constexpr int form1WidthTwips = 7695;
inline constexpr int form1HeightTwips = 7335;

/// Every control of the main window. Lines are given by their end points, which the window turns
/// into one-pixel strips; labels are as wide as their first caption.
inline constexpr std::array<ControlPlace, 32> form1Places { {
    { "Label2", 240, 1200, 2340, 180 },
    { "Text1", 240, 1440, 3015, 4095 },
    { "Option1", 3480, 1560, 975, 255 },
    { "Option2", 3480, 2040, 975, 255 },
    { "Check1", 4800, 1560, 855, 255 },
    { "Check2", 4800, 2040, 855, 255 },
    { "Command1(0)", 6120, 1560, 615, 735 },
    { "Command1(1)", 6840, 1560, 615, 735 },
    { "Label1(0)", 3480, 2490, 540, 180 },
    { "Picture2", 4200, 2415, 3255, 330 },
    { "Combo1", 3480, 2865, 3975, 300 },
    { "Label1(4)", 3480, 3285, 720, 180 },
    { "Text3", 3480, 3585, 3975, 1455 },
    { "Command2(2)", 3480, 5160, 1215, 375 },
    { "Command3", 4800, 5160, 855, 375 },
    { "Command2(1)", 5760, 5160, 1695, 375 },
    { "RichTextBox1", 240, 5760, 7215, 1335 },
    { "LblInfo", 3480, 1200, 2880, 180 },
    { "Label4", 3840, 600, 630, 180 },
    { "Label6", 4800, 600, 630, 180 },
    { "Label3", 5640, 600, 720, 180 },
    { "Label5", 6600, 600, 720, 180 },
    { "Image2", 240, 247, 3480, 600 },
    { "Shape1", 120, 120, 7455, 855 },
    { "Shape2", 120, 1080, 7455, 6135 },
    { "Text2(0)", 1920, 9240, 1095, 270 },
    { "Text2(1)", 3120, 9240, 375, 270 },
    { "Text2(2)", 3600, 9240, 855, 270 },
    { "Image1(0)", 1920, 9600, 3225, 300 },
    { "Image1(1)", 1920, 9960, 3225, 300 },
    { "Image1(2)", 1920, 10680, 3225, 300 },
    { "Image1(3)", 1920, 10320, 3225, 300 },
} };

/// A line of the main window from (x1, y1) to (x2, y2) in twips, horizontal or vertical.
struct LinePlace {
    std::string_view name;
    int x1;
    int y1;
    int x2;
    int y2;

    /// The pixels the line covers: from its start up to, not including, its end point.
    QRect pixels() const
    {
        const QPoint from(twipsToPixels(x1), twipsToPixels(y1));
        const QPoint to(twipsToPixels(x2), twipsToPixels(y2));
        return QRect(from, QSize(std::max(1, to.x() - from.x()), std::max(1, to.y() - from.y())));
    }
};

inline constexpr std::array<LinePlace, 3> form1Lines { {
    { "Line1", 3360, 1080, 3360, 5640 },
    { "Line2", 3360, 1440, 7560, 1440 },
    { "Line3", 120, 5640, 7560, 5640 },
} };

/// The tab order, first position first.
inline constexpr std::array<std::string_view, 25> form1TabOrder { "Text2(2)", "Text2(1)", "Text2(0)",
    "Command3", "Check2", "Check1", "Option2", "Option1", "Text1", "Command2(2)", "Command2(1)", "Text3",
    "Combo1", "Command1(1)", "Command1(0)", "Picture2", "Label1(0)", "Label1(4)", "Label2", "LblInfo",
    "RichTextBox1", "Label3", "Label4", "Label5", "Label6" };

} // namespace rainbow::ui
