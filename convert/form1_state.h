#pragma once

#include "color.h"
#include "messages.h"

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

    /// Selects units [start, start + length) and gives them the colour.
    void colorSelection(qsizetype start, qsizetype length, PackedColor color);

    /// The colour of one unit, nullopt for the default colour.
    std::optional<PackedColor> colorAt(qsizetype unit) const;
};

/// The state of the main window that the conversions read and write, under the names of its
/// controls. The window copies its controls into one, runs a handler on it and shows the result;
/// the command-line tool and the tests use it without a window. Initial values are those of the
/// window once loaded.
struct Form1State {
    QString Text1;
    QString Text3;
    std::array<QString, 3> Text2 { QStringLiteral("[color=#"), QStringLiteral("]"),
        QStringLiteral("[/color]") };
    RichTextState RichTextBox1;

    bool Option1 = true; // gradient mode
    bool Option2 = false; // rainbow mode
    bool Option1Enabled = true;
    bool Option2Enabled = true;
    int Check1 = 0; // reverse: 0 unticked, 1 ticked
    int Check2 = 0; // symmetric
    bool Check1Enabled = false;
    bool Check2Enabled = false;
    bool Command3Enabled = true;
    QString LblInfo = messages::welcome;

    RgbTriple StartColor { 0, 255, 255 };
    RgbTriple EndColor { 255, 0, 128 };
    RgbTriple RainbowColor { 0, 0, 0 };
};

} // namespace rainbow
