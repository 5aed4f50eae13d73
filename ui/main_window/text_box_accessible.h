#pragma once

class QTextDocument;

namespace rainbow::ui {

/// Gives the input box, the output box and the preview an accessible text without the soft breaks
/// of their display blocks: a screen reader reads, and edits, the text the user entered or the
/// conversion wrote, with offsets into that text. Install before the first interface of such a
/// box is asked for; installing again does nothing.
void installTextBoxAccessible();

/// The document position of a text offset (0..text length) of a document with soft breaks: a
/// soft break adds a position, so an offset where one sits gives the start of the block after it.
int documentPosition(const QTextDocument &document, int offset);

/// The text offset of a document position: the soft breaks before it are no part of the text.
int textOffset(const QTextDocument &document, int position);

} // namespace rainbow::ui
