#include "cli/image_files.h"

#include <QFile>
#include <QImage>
#include <QRgb>

#include <png.h>

#include <csetjmp>
#include <vector>

namespace rainbow::cli {

namespace {

struct Destination {
    QFile *file;
    bool failed = false;
};

void writeBytes(png_structp png, png_bytep data, png_size_t size)
{
    auto *destination = static_cast<Destination *>(png_get_io_ptr(png));
    if (!destination->failed
        && destination->file->write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        destination->failed = true; // the rest is not written; the caller reports the file's error
}

void flushNothing(png_structp) { }

/// Row y of a premultiplied image as RGBA bytes, each colour unpremultiplied.
void unpremultipliedRow(const QImage &image, int y, std::vector<png_byte> &row)
{
    const auto *pixels = reinterpret_cast<const QRgb *>(image.constScanLine(y));
    png_byte *out = row.data();
    const int width = image.width();
    for (int x = 0; x < width; ++x, out += 4) {
        const QRgb pixel = pixels[x];
        const QRgb plain = qAlpha(pixel) == 255 || qAlpha(pixel) == 0 ? pixel : qUnpremultiply(pixel);
        out[0] = png_byte(qRed(plain));
        out[1] = png_byte(qGreen(plain));
        out[2] = png_byte(qBlue(plain));
        out[3] = png_byte(qAlpha(pixel));
    }
}

/// libpng's part, apart so that its error jump passes over no object with a destructor.
bool encode(png_structp png, png_infop info, const QImage &image, std::vector<png_byte> &row)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8,
        PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Text on a plain ground compresses well without filters; libpng's search for the best filter
    // of each row and zlib's default level took two thirds of the time of a large picture.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    for (int y = 0; y < image.height(); ++y) {
        unpremultipliedRow(image, y, row);
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    return true;
}

} // namespace

bool writePngFile(const QImage &image, QFile &file)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    Destination destination { &file };
    png_set_write_fn(png, &destination, writeBytes, flushNothing);
    std::vector<png_byte> row(std::size_t(image.width()) * 4);
    const bool encoded = encode(png, info, image, row);
    png_destroy_write_struct(&png, &info);
    return encoded && !destination.failed;
}

} // namespace rainbow::cli
