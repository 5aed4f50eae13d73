#pragma once

#include "form1_state.h"

#include <vector>

class QTextDocument;

namespace rainbow::ui {

/// Replaces the document's text by text, each run in its colour and the rest in the default
/// colour, in one edit block without undo. Runs are UTF-16 offsets into text, in order and not
/// overlapping. The document turns each line break ("\r\n", "\r", "\n", U+2029) into one block
/// separator, so its positions count a "\r\n" pair as one; long paragraphs become display blocks
/// (display_blocks.h), so documentText rather than the document's own plain text reads it back.
void fillPreview(QTextDocument &document, const QString &text, const std::vector<ColorRun> &runs);

} // namespace rainbow::ui
