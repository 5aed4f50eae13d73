#pragma once

#include "form1_state.h"
#include "markup.h"

#include <cstddef>
#include <functional>
#include <string_view>

namespace rainbow {

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
/// the preview. Throws std::overflow_error for a text of more
/// than 2^31 − 1 characters.
void Command3_Click(Form1State &form);

/// The convert command on text instead of Text1, for a front end without a window: mode,
/// colours, check boxes and template come from settings; the markup goes to sink in batches
/// instead of into Text3, and no preview is coloured. Returns the message Command3_Click would
/// leave in LblInfo (converted, or a refusal with nothing written). The UTF-8 text must be well
/// formed.
QString convertText(const Form1State &settings, std::string_view text, MarkupSink<char> &sink);
QString convertText(const Form1State &settings, const QString &text, MarkupSink<char16_t> &sink);

/// Told where each colour of a conversion goes: the code units [first, end) of the text without
/// its leading and trailing spaces.
using SpanListener = std::function<void(const RgbTriple &color, std::size_t first, std::size_t end)>;

/// convertText that also tells onSpan, span by span as the markup is written, where each colour
/// goes: a preview that streams instead of holding the coloured text.
QString convertText(
    const Form1State &settings, std::string_view text, MarkupSink<char> &sink, const SpanListener &onSpan);

} // namespace rainbow
