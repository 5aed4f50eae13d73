#pragma once

#include "convert/conversion.h"
#include "ui/main_window/messages.h"
#include "engine/color.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace rainbow {

/// Consecutive UTF-16 units of the preview that carry one colour.
struct ColorRun {
    qsizetype start;
    qsizetype length;
    PackedColor color;
};

inline bool operator==(const ColorRun &a, const ColorRun &b)
{
    return a.start == b.start && a.length == b.length && a.color == b.color;
}

/// The preview box: its text, the colours given to its characters, and its selection.
struct RichTextState {
    QString text;
    std::vector<ColorRun> colorRuns; // in text order, never overlapping
    qsizetype selStart = 0;
    qsizetype selLength = 0;
    int textRevision = 0; // counts setText calls, so a window knows when to show a new text

    /// Replaces the whole text; it shows in the default colour.
    void setText(QString newText);

    /// Selects units [start, start + length) and gives them the colour. Colours go in text order:
    /// throws std::invalid_argument for a range that begins before the end of one coloured earlier.
    void colorSelection(qsizetype start, qsizetype length, PackedColor color);

    /// The colour of one unit, nullopt for the default colour.
    std::optional<PackedColor> colorAt(qsizetype unit) const;
};

/// Text2(0..2) holding a template.
std::array<QString, 3> templateBoxes(const MarkupTemplate &markup);

/// The state of the main window that the conversions read and write, under the names of its
/// controls. The window copies its controls into one, runs a handler on it and shows the result;
/// tests use it without a window. Initial values are those of the window once loaded.
struct Form1State {
    QString Text1;
    QString Text3;
    std::array<QString, 3> Text2 = templateBoxes(markupTemplate(defaultMarkupFormat));
    RichTextState RichTextBox1;

    bool Option1 = true; // gradient mode; rainbow mode (Option2) when not
    bool Option1Enabled = true;
    bool Option2Enabled = true;
    int Check1 = 0; // reverse: 0 unticked, 1 ticked
    int Check2 = 0; // symmetric
    bool Command3Enabled = true;
    QString LblInfo = messages::welcome;

    RgbTriple StartColor = defaultStartColor;
    RgbTriple EndColor = defaultEndColor;
    RgbTriple RainbowColor { 0, 0, 0 };
};

/// What the convert command reads of the state besides the text: the mode, the ticks (each
/// counting when exactly 1), the template in Text2(0..2) and the gradient's colours.
ConversionSettings conversionSettings(const Form1State &form);

// The handlers and operations of the window that convert, on its state, through the same
// pipeline as convertText (conversion_core.h). Command3_Click converts the whole text at once: a
// gradient as BuildGradientText does, a rainbow as DrawCHText does for each of its segments.

/// Writes the template of list entry index into Text2(0..2); other indexes change nothing.
void Combo1_Click(Form1State &form, int listIndex);

/// Gradient of the trimmed Text1 from StartColor to EndColor: character k of n gets the colour
/// k/n of the way, so the last one has EndColor. Replaces Text3 and colours the preview, whose
/// text must be the trimmed input.
void BuildGradientText(Form1State &form);

/// Rainbow of the Length characters of the trimmed Text1 from the 1-based Start, on a wheel of
/// Length positions turned by ColorStart, colours running backward unless InOrder. Appends to
/// Text3, colours the preview and leaves the last colour in RainbowColor.
/// Throws std::domain_error for Length < 6 and std::out_of_range for a segment outside the text.
void DrawCHText(Form1State &form, int32_t Start, int32_t Length, bool InOrder, int32_t ColorStart);

/// The convert button: refuses rainbows shorter than 6 (symmetric: 12) characters, and texts of
/// more than windowCharacterLimit characters, with a status message; otherwise fills Text3 and
/// the preview.
void Command3_Click(Form1State &form);

} // namespace rainbow
