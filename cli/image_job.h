#pragma once

// What rainbowtext-cli hands its drawing module, and what the module hands back. The tool (Qt's
// core alone) converts the text and finds where lines may break; the module, which alone links
// Qt's GUI library and is loaded only for --image, lays the lines out and draws them.

#include "engine/color.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rainbow::cli {

enum class ImageKind { Png, Svg };

/// --image and the options that shape the picture.
struct ImageOptions {
    std::string path; // empty: no picture; "-": PNG to standard output
    ImageKind kind = ImageKind::Png;
    QString font; // --font; empty: the window's typefaces
    int fontSize = 32; // pixels
    std::optional<RgbTriple> background; // none: transparent
    std::optional<int> width; // --width: lines wrap to fit the picture in it

    bool wanted() const { return !path.empty(); }
};

/// The largest picture drawn: each side at most maxImageSide pixels, and at most maxImagePixels in
/// all (200 MB of 32-bit pixels), whatever the format.
inline constexpr int maxImageSide = 32767;
inline constexpr int64_t maxImagePixels = 50'000'000;
inline constexpr int maxFontSize = 1000;

/// The margin around the text: a quarter of the font size, rounded up, for glyphs that reach past
/// their advance.
inline int imageMargin(int fontSize) { return (fontSize + 3) / 4; }

/// The code units [start, end) of the text in one colour; units between runs have none.
struct ImageRun {
    int32_t start;
    int32_t end;
    RgbTriple color;
};

/// What may happen at a code-unit offset of the text, one byte of these bits per offset.
enum ImageBreak : uint8_t {
    CharacterStart = 1, // a character (grapheme cluster) boundary
    LineBreak = 2, // a line may break here (Unicode's line breaking)
    HardBreak = 4, // a line must break here: the line break characters before it end a line
};

struct ImageJob {
    QString text; // trimmed, as converted
    std::vector<ImageRun> runs; // in text order
    std::vector<uint8_t> breaks; // text.size() + 1 offsets
    ImageOptions options;
    int fd = -1; // the picture goes there
};

struct ImageOutcome {
    enum class Status { Drawn, TooLarge, OutOfMemory, WriteFailed };
    Status status = Status::Drawn;
    int64_t width = 0; // the picture's size; when too large, as far as it was measured
    int64_t height = 0;
    QString missingFont; // the typeface asked for when none of it is installed
    QString usedFont; // the typeface drawn with instead
    int errorNumber = 0; // errno, for WriteFailed
};

/// The module's one function, found by this name.
inline constexpr const char *drawImageSymbol = "rainbowtext_cli_draw_image";
using DrawImageFunction = void (*)(const ImageJob *job, ImageOutcome *outcome);

} // namespace rainbow::cli
