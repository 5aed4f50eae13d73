#pragma once

#include "cli/image_job.h"
#include "cli/image_layout.h"

class QFile;
class QImage;

namespace rainbow::cli {

/// A premultiplied ARGB32 image as an RGBA PNG into the file; false when libpng fails or the file
/// cannot be written (its errorString() then says why, if it was the file).
bool writePngFile(const QImage &image, QFile &file);

/// The picture as SVG: a text element for each line, a tspan with its fill for each run of one
/// colour, so that the text stays text (selectable and searchable) in the typefaces named.
bool writeSvg(const ImageJob &job, const ImageLayout &layout, const QStringList &families, QFile &file);

} // namespace rainbow::cli
