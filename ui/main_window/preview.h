#pragma once

#include "convert/form1_state.h"

#include <QString>
#include <QStringView>

#include <vector>

class QTextDocument;

namespace rainbow::ui {

/// Replaces the document's text by text, each run in its colour and the rest in the default
/// colour, in one edit block without undo. Runs are UTF-16 offsets into text, in order and not
/// overlapping. The document turns each line break ("\r\n", "\r", "\n", U+2029) into one block
/// separator, so its positions count a "\r\n" pair as one; long paragraphs become display blocks
/// (display_blocks.h), so documentText rather than the document's own plain text reads it back.
void fillPreview(QTextDocument &document, const QString &text, const std::vector<ColorRun> &runs);

/// The position in a document that fillPreview filled with text of the text offset (0..size): a
/// "\r\n" pair is one block separator and a soft break one more position. An offset inside a
/// line break gives the separator's position. Takes time in the number of blocks after the offset.
int previewPosition(const QTextDocument &document, QStringView text, qsizetype offset);

} // namespace rainbow::ui
