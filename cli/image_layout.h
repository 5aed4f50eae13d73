#pragma once

#include "cli/image_job.h"

#include <QFont>
#include <QList>
#include <QTextLayout>

#include <vector>

namespace rainbow::cli {

/// One line of the picture: the code units [start, end) of the text, its line break characters
/// left out.
struct ImageLine {
    qsizetype start;
    qsizetype end;
    qreal width; // without the spaces at its end
    qreal ascent;
    qreal height;
};

struct ImageLayout {
    std::vector<ImageLine> lines;
    int width = 0; // the picture's, margins included
    int height = 0;
    bool tooLarge = false; // width and height then as far as the lines were measured
};

/// The text's lines in the font: one for each line of the text or, with a width, as many as fit
/// it, broken where Unicode lets a line break or, in a word too wide for a line of its own,
/// between characters (one at least). Stops as soon as the picture is over the limits.
ImageLayout layOutImage(const ImageJob &job, const QFont &font);

/// The characters [start, end) of the text laid out on one line, ready to draw with its colours.
void layOutLine(QTextLayout &layout, const ImageJob &job, qsizetype start, qsizetype end);

} // namespace rainbow::cli
