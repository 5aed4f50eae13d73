#pragma once

#include "cli/io.h"
#include "convert/conversion.h"
#include "engine/terminal_color.h"

#include <optional>
#include <string>
#include <string_view>

namespace rainbow::cli {

/// The text without its own colour sequences (SGR: ESC '[', parameters, 'm'), which the preview
/// replaces with its colours; the text itself when it holds none, else a copy in storage.
std::string_view withoutSgr(std::string_view text, std::string &storage);

/// Writes the code units [first, end) of well-formed UTF-8 text so that no control character
/// reaches the terminal: tab, LF and CR LF go as they are, C0 controls and DEL as ^@ .. ^_ and ^?,
/// C1 controls as <U+0080> .. <U+009F>. The text around the range decides whether a CR is a CR LF.
void writeVisible(ChunkedOutput &out, std::string_view text, std::size_t first, std::size_t end);

/// The trimmed text in terminal colours, one escape per run of equal colour, written as the
/// conversion goes; characters without a colour (untagged whitespace) stay plain.
class TerminalPreview final : public ColorSpanSink<char> {
public:
    TerminalPreview(ChunkedOutput &out, ColorDepth depth);

    void start(std::string_view trimmedText) override;
    void colored(const RgbTriple &color, std::size_t first, std::size_t end) override;

    /// Writes the last run and what follows it.
    void finish();

private:
    void finishRun();

    struct Run {
        RgbTriple color;
        std::size_t first;
        std::size_t end;
    };

    ChunkedOutput &m_out;
    ColorDepth m_depth;
    std::string_view m_text;
    std::size_t m_done = 0; // text written so far
    std::optional<Run> m_run;
};

} // namespace rainbow::cli
