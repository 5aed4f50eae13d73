// The drawing module of rainbowtext-cli: the only part of it that links Qt's GUI library, loaded
// for --image alone, so that the tool starts without it otherwise.

#include "cli/image_files.h"
#include "cli/image_job.h"
#include "cli/image_layout.h"
#include "ui/window_font_families.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <new>

namespace rainbow::cli {

namespace {

/// Qt's own notes (about fonts, the platform) would only puzzle a user of a command-line tool.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "rainbowtext-cli: %s\n", message.toLocal8Bit().constData());
}

/// The typeface fontconfig prefers for emoji (a colour one where installed), which Qt would not
/// reach before a monochrome typeface with emoji (DejaVu Sans); none when it finds none.
QStringList emojiFamily()
{
    QStringList family;
    FcPattern *pattern = FcNameParse(reinterpret_cast<const FcChar8 *>("emoji"));
    if (!pattern)
        return family;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern *match = FcFontMatch(nullptr, pattern, &result)) {
        FcChar8 *name = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
            family << QString::fromUtf8(reinterpret_cast<const char *>(name));
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return family;
}

/// The window's typefaces.
QStringList windowFamilies()
{
    QStringList families;
    for (const std::string_view family : ui::windowFontFamilies)
        families += QString::fromLatin1(family.data(), qsizetype(family.size()));
    return families;
}

/// The typefaces asked for, the window's after them for the Chinese they lack.
QStringList textFamilies(const ImageOptions &options)
{
    const QStringList window = windowFamilies();
    return options.font.isEmpty() ? window : QStringList { options.font } + window;
}

/// The font of the picture, emoji last; when none of the typefaces asked for is installed, outcome
/// names them and the one drawn with instead.
QFont imageFont(const ImageOptions &options, ImageOutcome &outcome)
{
    QFont font;
    font.setFamilies(textFamilies(options) + emojiFamily());
    font.setPixelSize(options.fontSize);
    // Unhinted outlines are truer to the face at picture sizes, and the hinting programs of CJK
    // faces took a third of the time of a page of different characters.
    font.setHintingPreference(QFont::PreferNoHinting);
    const QStringList asked
        = options.font.isEmpty() ? windowFamilies() : QStringList { options.font };
    const QStringList installed = QFontDatabase::families();
    if (std::none_of(asked.begin(), asked.end(),
            [&](const QString &family) { return installed.contains(family, Qt::CaseInsensitive); })) {
        outcome.missingFont = asked.join(QStringLiteral(", "));
        outcome.usedFont = QFontInfo(font).family();
    }
    return font;
}

bool writePng(
    const ImageJob &job, const ImageLayout &layout, const QFont &font, QFile &file, ImageOutcome &outcome)
{
    QImage image(layout.width, layout.height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        outcome.status = ImageOutcome::Status::OutOfMemory;
        return false;
    }
    const auto &background = job.options.background;
    image.fill(
        background ? QColor(background->red, background->green, background->blue) : QColor(Qt::transparent));
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const qreal margin = imageMargin(job.options.fontSize);
        qreal y = margin;
        QTextLayout line(QString(), font);
        for (const ImageLine &box : layout.lines) {
            layOutLine(line, job, box.start, box.end);
            line.draw(&painter, QPointF(margin, y));
            y += box.height;
        }
    }
    return writePngFile(image, file);
}

} // namespace

} // namespace rainbow::cli

extern "C" void rainbowtext_cli_draw_image(
    const rainbow::cli::ImageJob *job, rainbow::cli::ImageOutcome *outcome)
{
    using namespace rainbow::cli;
    try {
        static char name[] = "rainbowtext-cli";
        static char platformOption[] = "-platform";
        static char platform[] = "offscreen"; // no display needed, nor used when there is one
        static char *argv[] = { name, platformOption, platform, nullptr };
        static int argc = 3;
        qInstallMessageHandler(quietMessages);
        // A desktop's theme plugin (GTK's, say) has nothing to give a picture and may want a display.
        qunsetenv("QT_QPA_PLATFORMTHEME");
        const QGuiApplication application(argc, argv);
        const QFont font = imageFont(job->options, *outcome);
        const ImageLayout layout = layOutImage(*job, font);
        outcome->width = layout.width;
        outcome->height = layout.height;
        if (layout.tooLarge) {
            outcome->status = ImageOutcome::Status::TooLarge;
            return;
        }
        QFile file;
        if (!file.open(job->fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
            outcome->status = ImageOutcome::Status::WriteFailed;
            outcome->errorNumber = errno;
            return;
        }
        const bool written = job->options.kind == ImageKind::Png
            ? writePng(*job, layout, font, file, *outcome)
            : writeSvg(*job, layout, textFamilies(job->options), file);
        if (outcome->status == ImageOutcome::Status::OutOfMemory)
            return;
        if (!written || !file.flush()) {
            outcome->status = ImageOutcome::Status::WriteFailed;
            outcome->errorNumber = errno;
        }
    } catch (const std::bad_alloc &) {
        outcome->status = ImageOutcome::Status::OutOfMemory;
    }
}
